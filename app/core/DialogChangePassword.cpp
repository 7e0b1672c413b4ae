// Sets, changes or removes the start-up password.
#include "DialogChangePassword.h"
#include "ui_DialogChangePassword.h"

#include "ZyDialogs.h"

DialogChangePassword::DialogChangePassword(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DialogChangePassword)
{
    ui->setupUi(this);
}

DialogChangePassword::~DialogChangePassword()
{
    delete ui;
}

void DialogChangePassword::on_buttonBox_accepted()
{
    const QString current = ui->txtCurrentPassword->text();
    const QString newPassword = ui->txtNewPassword->text();
    if (newPassword != ui->txtConfirmNewPassword->text()) {
        ZyDialogs::information(this, tr("You must enter the same password twice."));
        return;
    }
    if (m_settings.changePassword(current, newPassword)) {
        accept();
        return;
    }
    // The right password with a refused change means the store did not take the new one.
    if (m_settings.checkPassword(current))
        ZyDialogs::warning(this, tr("The new password could not be stored: the machine-wide settings "
                                    "cannot be written."));
    else
        ZyDialogs::information(this, tr("Wrong password."));
}

void DialogChangePassword::on_buttonBox_rejected()
{
    reject();
}
