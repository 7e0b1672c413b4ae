// The 802.1X dialog: the current method and certificate, the method chooser and its request.
#include "DialogSecurity8021X.h"

#include "SecurityFile.h"
#include "ui_DialogSecurity8021X.h"

using Path = AppSettings::SecurityPath;

namespace {

const char *const kEapTls = "eap-tls";

} // namespace

DialogSecurity8021X::DialogSecurity8021X(QWidget *parent)
    : DialogSecurityBase(parent, Path::Dot1xLastSavedFile), ui(std::make_unique<Ui::DialogSecurity8021X>())
{
    ui->setupUi(this);
    ui->widget3->hide();
    docPath = QStringList{QStringLiteral("setSecurity"), QStringLiteral("IEEE8021X")};
    // The sensor's current method is shown above, not preselected.
    ui->cboAuthentication->fill(docPath, QStringLiteral("authentication"));
    const AppSettings settings;
    ui->edtPFX->setText(settings.securityPath(Path::Dot1xLastPFXUsed));
    ui->edtCert->setText(settings.securityPath(Path::Dot1xLastCertFileUsed));
    ui->edtPrivate->setText(settings.securityPath(Path::Dot1xLastPrivateFileUsed));
    ui->edtAuthority->setText(settings.securityPath(Path::Dot1xLastAuthorityFileUsed));
    showCurrent();
}

DialogSecurity8021X::~DialogSecurity8021X() = default;

void DialogSecurity8021X::showCurrent()
{
    PXRMsgElement *dot1x = PXRMsgElementFirstChild(securityInfo(), "IEEE8021X");
    if (dot1x == nullptr)
        return;
    const char *method = PXRMsgElementAttributeValue(dot1x, "authentication");
    if (method == nullptr || PXRMsgStringEqual(method, "none"))
        ui->labelAuthMethod->setText(tr("None (disabled)"));
    else
        showPlainText(ui->labelAuthMethod, method);
    showCertificate(dot1x, {ui->labelCertCommonName, ui->labelCertOrganizationName, ui->labelCertFrom, ui->labelCertTo});
}

std::optional<ConfigRequest> DialogSecurity8021X::buildRequest()
{
    ConfigRequest request("setSecurity");
    const ConfigElement dot1x = request.path({{"IEEE8021X"}});
    const QByteArray method = ui->cboAuthentication->currentValue();
    dot1x.set("authentication", method.constData());
    if (method != kEapTls)
        return request;
    if (!addFiles(dot1x.get()))
        return std::nullopt;
    if (!ui->edtPassword->text().isEmpty())
        dot1x.set("certificatePassword", ui->edtPassword->text());
    dot1x.set("identity", ui->edtIdentity->text());
    return request;
}

bool DialogSecurity8021X::addFiles(PXRMsgElement *dot1x)
{
    if (ui->radioPFX->isChecked())
        return addFile(dot1x, "PFX", ui->edtPFX, tr("Unable to open PFX file"));
    // Here the authority is required: the sensor checks the network's server with it.
    return addFile(dot1x, "certificate", ui->edtCert, tr("Unable to open Certifcate file"))
           && addFile(dot1x, "privateKey", ui->edtPrivate, tr("Unable to open Private key file"))
           && addFile(dot1x, "certificateAuthority", ui->edtAuthority, tr("Unable to open Certificate authority file"));
}

void DialogSecurity8021X::on_cboAuthentication_currentIndexChanged(int)
{
    ui->widgetEAPTPS->hide();
    if (ui->cboAuthentication->currentValue() == kEapTls)
        ui->widgetEAPTPS->show();
}

void DialogSecurity8021X::on_radioPFX_toggled(bool checked)
{
    ui->widgetPFX->setVisible(checked);
    ui->widget3->setVisible(!checked);
}

void DialogSecurity8021X::on_btnPFX_clicked()
{
    SecurityFile::pick(this, ui->edtPFX, Path::Dot1xLastPFXUsed, ui->edtPFX->text(), SecurityFile::pfxFilter());
}

void DialogSecurity8021X::on_btnCert_clicked()
{
    SecurityFile::pick(this, ui->edtCert, Path::Dot1xLastCertFileUsed, ui->edtCert->text(),
                       SecurityFile::anyFileFilter());
}

void DialogSecurity8021X::on_btnPrivate_clicked()
{
    SecurityFile::pick(this, ui->edtPrivate, Path::Dot1xLastPrivateFileUsed, ui->edtPrivate->text(),
                       SecurityFile::anyFileFilter());
}

void DialogSecurity8021X::on_btnAuthority_clicked()
{
    SecurityFile::pick(this, ui->edtAuthority, Path::Dot1xLastAuthorityFileUsed, ui->edtAuthority->text(),
                       SecurityFile::anyFileFilter());
}
