// The editor of a short list of server texts in place: one line edit per entry, each entry
// taken back as typed on OK. The DNS, NTP and unicast-client editors are its forms.
#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QLineEdit;

class ServerListEditor : public QDialog
{
    Q_OBJECT

public:
    using QDialog::exec;
    // Shows the list (edits beyond its end are disabled), runs the dialog through the modal seam
    // and returns its result; the list changes only on OK.
    int exec(QStringList *list);

protected:
    explicit ServerListEditor(QWidget *parent);
    // The form's edits, in list order; set by the derived constructor.
    void setEdits(const QList<QLineEdit *> &edits) { m_edits = edits; }

protected slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    QList<QLineEdit *> m_edits;
    QStringList *m_list = nullptr;
};
