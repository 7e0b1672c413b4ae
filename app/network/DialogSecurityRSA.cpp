// The plate encryption dialog: the sensor's current state and the request of its public key.
#include "DialogSecurityRSA.h"

#include "DialogRSAPrivateKey.h"
#include "SecurityFile.h"
#include "ZyModalRunner.h"
#include "ui_DialogSecurityRSA.h"

using Path = AppSettings::SecurityPath;

DialogSecurityRSA::DialogSecurityRSA(QWidget *parent)
    : DialogSecurityBase(parent, Path::LastSavedFile), ui(std::make_unique<Ui::DialogSecurityRSA>())
{
    ui->setupUi(this);
    docPath = QStringList{QStringLiteral("setSecurity")};
    if (PXRMsgElement *security = securityInfo()) {
        ui->labelCurrentPassword->setText(PXRMsgStrToBool(PXRMsgElementAttributeValue(security, "rsaCrypted"))
                                              ? tr("Plates are encrypted")
                                              : tr("Plates are not encrypted"));
        showPlainText(ui->labelCurrentHint, PXRMsgElementAttributeValue(security, "rsaHint"));
    }
}

DialogSecurityRSA::~DialogSecurityRSA() = default;

std::optional<ConfigRequest> DialogSecurityRSA::buildRequest()
{
    ConfigRequest request("setSecurity");
    // An empty path asks the sensor for no encryption: the key element goes without content.
    if (ui->edtRSAFile->text().isEmpty())
        request.path({{"rsaPublicKey"}});
    else if (!addFile(request.root().get(), "rsaPublicKey", ui->edtRSAFile, tr("Unable to open RSA key file")))
        return std::nullopt;
    request.root().set("rsaPublicKeyPassword", ui->edtPassword->text());
    if (!ui->edtIndicator->text().isEmpty())
        request.root().set("rsaHint", ui->edtIndicator->text());
    return request;
}

void DialogSecurityRSA::on_btnRSAFile_clicked()
{
    SecurityFile::pick(this, ui->edtRSAFile, Path::LastRSAKeyPath, AppSettings().securityPath(Path::LastRSAKeyPath),
                       SecurityFile::anyFileFilter());
}

void DialogSecurityRSA::on_labelPrivateKey_linkActivated(const QString &)
{
    DialogRSAPrivateKey dialog(this);
    ZyModalRunner::exec(&dialog);
}
