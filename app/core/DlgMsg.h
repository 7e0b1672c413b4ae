// Shows one message (usually a sensor's answer) read-only, with an optional comment, and saves
// it as a message file.
#pragma once

#include <QDialog>

#include "PXR.h"

namespace Ui {
class DlgMsg;
}

class DlgMsg : public QDialog
{
    Q_OBJECT

public:
    explicit DlgMsg(QWidget *parent = nullptr);
    ~DlgMsg() override;

    // Runs the dialog on the message, which stays the caller's; an empty comment hides its line.
    int exec(PXRMsg *message, const QString &comment);

    // Asks where to save the message (proposing the name, if any) and writes it there; a
    // failure is told in an error box on the parent.
    static void saveMessage(QWidget *parent, PXRMsg *message, const QString &filter, const QString &proposedName);
    // A critical box titled "Error" with one OK button.
    static void errorBox(QWidget *parent, const QString &text);

private slots:
    void on_btnSave_clicked();

private:
    using QDialog::exec;

    Ui::DlgMsg *ui;
    PXRMsg *m_message = nullptr;
};
