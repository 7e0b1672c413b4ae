// Asks for the password that locks the sensor, showing the hint the sensor publishes.
#include "DialogLockPassword.h"
#include "ui_DialogLockPassword.h"

#include "Model.h"
#include "ZyModalRunner.h"

DialogLockPassword::DialogLockPassword(QWidget *parent) : QDialog(parent), ui(new Ui::DialogLockPassword)
{
    ui->setupUi(this);
}

DialogLockPassword::~DialogLockPassword()
{
    delete ui;
}

int DialogLockPassword::exec(QString *password)
{
    m_password = password;
    ui->labelHint->setText(hint());
    return ZyModalRunner::exec(this);
}

QString DialogLockPassword::hint()
{
    PXRMsg *infos = Model::instance()->infos();
    PXRMsgElement *root = infos != nullptr ? PXRMsgChild(infos) : nullptr;
    PXRMsgElement *security = root != nullptr ? PXRMsgElementFirstChild(root, "security") : nullptr;
    const char *text = security != nullptr ? PXRMsgElementAttributeValue(security, "lockPasswordHint") : nullptr;
    if (text == nullptr)
        return QString();
    return tr("Hint : %1").arg(QString::fromUtf8(text));
}

void DialogLockPassword::on_buttonBox_accepted()
{
    if (m_password != nullptr)
        *m_password = ui->edtPassword->text();
    accept();
}

void DialogLockPassword::on_buttonBox_rejected()
{
    reject();
}
