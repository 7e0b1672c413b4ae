// The lock password dialog: the sensor's current state and the request of the new password.
#include "DialogSecurityLock.h"

#include "ZyDialogs.h"
#include "ui_DialogSecurityLock.h"

DialogSecurityLock::DialogSecurityLock(QWidget *parent)
    : DialogSecurityBase(parent, AppSettings::SecurityPath::LastSavedFile),
      ui(std::make_unique<Ui::DialogSecurityLock>())
{
    ui->setupUi(this);
    docPath = QStringList{QStringLiteral("setSecurity")};
    if (PXRMsgElement *security = securityInfo()) {
        ui->labelCurrentPassword->setText(PXRMsgStrToBool(PXRMsgElementAttributeValue(security, "lockPasswordNeeded"))
                                              ? tr("A password is set")
                                              : tr("There is no password set"));
        showPlainText(ui->labelCurrentHint, PXRMsgElementAttributeValue(security, "lockPasswordHint"));
    }
}

DialogSecurityLock::~DialogSecurityLock() = default;

std::optional<ConfigRequest> DialogSecurityLock::buildRequest()
{
    if (ui->edtNewPassword1->text() != ui->edtNewPassword2->text()) {
        ZyDialogs::critical(this, tr("Error"), tr("New passwords are not the same"));
        return std::nullopt;
    }
    ConfigRequest request("setSecurity");
    if (!ui->edtCurrentPassword->text().isEmpty())
        request.root().set("currentLockPassword", ui->edtCurrentPassword->text());
    request.root().set("newLockPassword", ui->edtNewPassword1->text());
    request.root().set("lockPasswordHint", ui->edtPasswordIndicator->text());
    return request;
}
