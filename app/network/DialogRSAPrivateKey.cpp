// The private key dialog: a key file handed to the decryptor and, when asked, remembered.
#include "DialogRSAPrivateKey.h"

#include "AppSettings.h"
#include "SecurityFile.h"
#include "ZyDialogs.h"
#include "ui_DialogRSAPrivateKey.h"

#include <QDir>
#include <QFileInfo>

using Path = AppSettings::SecurityPath;

DialogRSAPrivateKey::DialogRSAPrivateKey(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogRSAPrivateKey>())
{
    ui->setupUi(this);
    const AppSettings settings;
    ui->labelConfiguredKey->setVisible(settings.hasPrivateKey());
    ui->edtRSAFile->setText(settings.securityPath(Path::LastRSAPrivateKeyPath));
    const QString folder = QFileInfo(settings.privateKeyFilePath()).absolutePath();
    ui->label_2->setText(ui->label_2->text().arg(QDir::toNativeSeparators(folder)));
}

DialogRSAPrivateKey::~DialogRSAPrivateKey() = default;

void DialogRSAPrivateKey::on_btnRSAFile_clicked()
{
    SecurityFile::pick(this, ui->edtRSAFile, Path::LastRSAPrivateKeyPath,
                       AppSettings().securityPath(Path::LastRSAPrivateKeyPath), SecurityFile::anyFileFilter());
}

void DialogRSAPrivateKey::on_labelConfiguredKey_linkActivated(const QString &)
{
    AppSettings().erasePrivateKey();
    ui->labelConfiguredKey->hide();
    accept();
}

void DialogRSAPrivateKey::on_buttonBox_accepted()
{
    const std::optional<QByteArray> key =
        SecurityFile::read(this, ui->edtRSAFile->text(), tr("Unable to open RSA key file"));
    if (!key)
        return;
    bool inForce = false;
    if (AppSettings().setPrivateKey(*key, ui->edtPassword->text(), ui->checkRemember->isChecked(), &inForce)) {
        accept();
        return;
    }
    if (inForce)
        ZyDialogs::critical(this, tr("Error"),
                            tr("The private key is in use until the program ends, but it could not be remembered "
                               "for the next start."));
    else
        ZyDialogs::critical(this, tr("Error"), tr("Unable to load private key"));
}

void DialogRSAPrivateKey::on_buttonBox_rejected()
{
    reject();
}
