// Shows one message (usually a sensor's answer) read-only, with an optional comment, and saves
// it as a message file.
#include "DlgMsg.h"
#include "ui_DlgMsg.h"

#include "PXRQt.h"
#include "ZyDialogs.h"
#include "ZyModalRunner.h"

#include <QFile>
#include <QMessageBox>

DlgMsg::DlgMsg(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DlgMsg)
{
    ui->setupUi(this);
}

DlgMsg::~DlgMsg()
{
    delete ui;
}

int DlgMsg::exec(PXRMsg *message, const QString &comment)
{
    m_message = message;
    ui->labelComment->setText(comment);
    ui->labelComment->setVisible(!comment.isEmpty());
    ui->treeWidget->setMessage(message, false);
    return ZyModalRunner::exec(this);
}

void DlgMsg::on_btnSave_clicked()
{
    saveMessage(this, m_message, "PXRMsg (*.pxrmsg)", QString());
}

void DlgMsg::saveMessage(QWidget *parent, PXRMsg *message, const QString &filter, const QString &proposedName)
{
    const QString path = ZyDialogs::getSaveFileName(parent, "Msg", tr("Select file"), filter, proposedName);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        errorBox(parent, tr("Unable to open file"));
        return;
    }
    // A full disk must not pass for a saved message.
    const QByteArray bytes = pxrMsgToByteArray(message);
    if (bytes.isEmpty() || file.write(bytes) != bytes.size() || !file.flush())
        errorBox(parent, tr("Unable to write file"));
}

void DlgMsg::errorBox(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, tr("Error"), text, QMessageBox::Ok, parent);
    ZyModalRunner::exec(&box);
}
