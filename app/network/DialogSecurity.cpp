// The certificate dialog: its summary, its file rows and its request.
#include "DialogSecurity.h"

#include "SecurityFile.h"
#include "ui_DialogSecurity.h"

using Path = AppSettings::SecurityPath;

DialogSecurity::DialogSecurity(QWidget *parent)
    : DialogSecurityBase(parent, Path::LastSavedFile), ui(std::make_unique<Ui::DialogSecurity>())
{
    ui->setupUi(this);
    docPath = QStringList{QStringLiteral("setSecurity")};
    ui->widget3->hide();
    const AppSettings settings;
    ui->edtPFX->setText(settings.securityPath(Path::LastPFXUsed));
    ui->edtCert->setText(settings.securityPath(Path::LastCertFileUsed));
    ui->edtPrivate->setText(settings.securityPath(Path::LastPrivateFileUsed));
    ui->edtAuthority->setText(settings.securityPath(Path::LastAuthorityFileUsed));
    showCertificate(PXRMsgElementFirstChild(securityInfo(), "certificate"),
                    {ui->labelCertCommonName, ui->labelCertOrganizationName, ui->labelCertFrom, ui->labelCertTo});
}

DialogSecurity::~DialogSecurity() = default;

std::optional<ConfigRequest> DialogSecurity::buildRequest()
{
    ConfigRequest request("setSecurity");
    PXRMsgElement *root = request.root().get();
    if (!ui->radioSetNew->isChecked()) {
        request.root().set("sslCertificateReset", "1");
        return request;
    }
    if (!addFiles(root))
        return std::nullopt;
    if (!ui->edtPassword->text().isEmpty())
        request.root().set("sslCertificatePassword", ui->edtPassword->text());
    return request;
}

bool DialogSecurity::addFiles(PXRMsgElement *root)
{
    if (ui->radioPFX->isChecked())
        return addFile(root, "sslPFX", ui->edtPFX, tr("Unable to open PFX file"));
    // The authority is read last but travels first.
    const std::optional<QByteArray> certificate = readField(ui->edtCert, tr("Unable to open Certifcate file"));
    const std::optional<QByteArray> key =
        certificate ? readField(ui->edtPrivate, tr("Unable to open Private key file")) : std::nullopt;
    if (!key)
        return false;
    if (!ui->edtAuthority->text().isEmpty()) {
        const std::optional<QByteArray> authority =
            readField(ui->edtAuthority, tr("Unable to open Certificate authority file"));
        if (!authority)
            return false;
        addContent(root, "sslCertificateAuthority", *authority);
    }
    addContent(root, "sslCertificate", *certificate);
    addContent(root, "sslPrivateKey", *key);
    return true;
}

void DialogSecurity::on_radioPFX_toggled(bool checked)
{
    ui->widgetPFX->setVisible(checked);
    ui->widget3->setVisible(!checked);
}

void DialogSecurity::on_radioSetNew_toggled(bool)
{
    ui->groupSetNew->setVisible(ui->radioSetNew->isChecked());
}

void DialogSecurity::on_btnPFX_clicked()
{
    SecurityFile::pick(this, ui->edtPFX, Path::LastPFXUsed, ui->edtPFX->text(), SecurityFile::pfxFilter());
}

void DialogSecurity::on_btnCert_clicked()
{
    SecurityFile::pick(this, ui->edtCert, Path::LastCertFileUsed, ui->edtCert->text(), SecurityFile::anyFileFilter());
}

void DialogSecurity::on_btnPrivate_clicked()
{
    SecurityFile::pick(this, ui->edtPrivate, Path::LastPrivateFileUsed, ui->edtPrivate->text(),
                       SecurityFile::anyFileFilter());
}

void DialogSecurity::on_btnAuthority_clicked()
{
    SecurityFile::pick(this, ui->edtAuthority, Path::LastAuthorityFileUsed, ui->edtAuthority->text(),
                       SecurityFile::anyFileFilter());
}
