// The editor of a short list of server texts in place.
#include "ServerListEditor.h"

#include "ZyModalRunner.h"

#include <QLineEdit>

ServerListEditor::ServerListEditor(QWidget *parent) : QDialog(parent) {}

int ServerListEditor::exec(QStringList *list)
{
    m_list = list;
    for (qsizetype i = 0; i < m_edits.size(); ++i) {
        QLineEdit *edit = m_edits.at(i);
        const bool held = i < list->size();
        edit->setEnabled(held);
        edit->setText(held ? list->at(i) : QString());
    }
    return ZyModalRunner::exec(this);
}

void ServerListEditor::on_buttonBox_accepted()
{
    if (m_list != nullptr) {
        m_list->clear();
        for (QLineEdit *edit : m_edits)
            if (edit->isEnabled())
                m_list->append(edit->text());
    }
    accept();
}

void ServerListEditor::on_buttonBox_rejected()
{
    reject();
}
