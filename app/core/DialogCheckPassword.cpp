// Asks for the start-up password before the main window exists.
#include "DialogCheckPassword.h"
#include "ui_DialogCheckPassword.h"

#include "ZyDialogs.h"

DialogCheckPassword::DialogCheckPassword(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DialogCheckPassword)
{
    ui->setupUi(this);
}

DialogCheckPassword::~DialogCheckPassword()
{
    delete ui;
}

void DialogCheckPassword::on_btnOKCancel_accepted()
{
    if (m_settings.checkPassword(ui->txtPassword->text())) {
        accept();
        return;
    }
    ZyDialogs::information(this, tr("Wrong password."));
}

void DialogCheckPassword::on_btnOKCancel_rejected()
{
    reject();
}
