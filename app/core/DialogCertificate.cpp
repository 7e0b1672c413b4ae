// Chooses the client certificate and private key that secured connections present.
#include "DialogCertificate.h"
#include "ui_DialogCertificate.h"

#include "ZyModalRunner.h"

#include <QFileDialog>

namespace {
const char *const kUseCertificate = "GUI/useCertificateConnect";
const char *const kCertificate = "GUI/certificateConnect";
const char *const kKey = "GUI/keyConnect";
} // namespace

DialogCertificate::DialogCertificate(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DialogCertificate)
{
    ui->setupUi(this);
    ui->groupSetNew->setChecked(m_settings.value(kUseCertificate, false).toBool());
    ui->edtCert->setText(m_settings.value(kCertificate).toString());
    ui->edtPrivate->setText(m_settings.value(kKey).toString());
}

DialogCertificate::~DialogCertificate()
{
    delete ui;
}

void DialogCertificate::chooseFile(const QString &caption, QLineEdit *field)
{
    // Certificate and key files often carry no extension, so every file is offered.
    QFileDialog dialog(this, caption, field->text(), tr("All files (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (ZyModalRunner::exec(&dialog) != QDialog::Accepted)
        return;
    const QString chosen = dialog.selectedFiles().value(0);
    if (!chosen.isEmpty())
        field->setText(chosen);
}

void DialogCertificate::on_btnCert_clicked()
{
    chooseFile(tr("Certificate"), ui->edtCert);
}

void DialogCertificate::on_btnPrivate_clicked()
{
    chooseFile(tr("Private key"), ui->edtPrivate);
}

void DialogCertificate::on_buttonBox_accepted()
{
    m_settings.setValue(kUseCertificate, ui->groupSetNew->isChecked());
    m_settings.setValue(kCertificate, ui->edtCert->text());
    m_settings.setValue(kKey, ui->edtPrivate->text());
    accept();
}

void DialogCertificate::on_buttonBox_rejected()
{
    reject();
}
