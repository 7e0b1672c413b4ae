// The editor of one HTTP push server.
#include "WidgetHttpPushServerSettings.h"
#include "ui_WidgetHttpPushServerSettings.h"

#include "DecimalPrefix.h"
#include "DialogHttpPushFilter.h"
#include "UrlRules.h"
#include "ZyDialogs.h"
#include "ZyModalRunner.h"

#include <QFile>

#include <algorithm>

namespace {

// The largest certificate the sensor takes.
constexpr qint64 kMaxCertificateBytes = 8192;

// The certificate file's bytes, or the reason they cannot be taken. The size the file system
// reports is not trusted: special files report none.
struct CertificateFile
{
    QByteArray bytes;
    QString error;
};

CertificateFile readCertificateFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, WidgetHttpPushServerSettings::tr("Can't open file")};
    QByteArray bytes(kMaxCertificateBytes + 1, Qt::Uninitialized);
    qint64 total = 0;
    while (total < bytes.size()) {
        const qint64 read = file.read(bytes.data() + total, bytes.size() - total);
        if (read < 0)
            return {{}, WidgetHttpPushServerSettings::tr("Can't open file")};
        if (read == 0)
            break;
        total += read;
    }
    if (total > kMaxCertificateBytes)
        return {{}, WidgetHttpPushServerSettings::tr("File size limit exceeded")};
    bytes.truncate(total);
    return {bytes, QString()};
}

} // namespace

WidgetHttpPushServerSettings::WidgetHttpPushServerSettings(quint32 id, QWidget *parent)
    : QWidget(parent), ui(new Ui::WidgetHttpPushServerSettings), m_id(id)
{
    ui->setupUi(this);
    ui->groupBox->setTitle(tr("Server #%1").arg(id));
}

WidgetHttpPushServerSettings::~WidgetHttpPushServerSettings() = default;

void WidgetHttpPushServerSettings::readConfig(PXRMsgElement *server)
{
    // Filled while checked: unchecking at the end greys out every field and lets checking bring
    // back those the sensor has.
    ui->groupBox->setChecked(true);
    if (const char *url = PXRMsgElementAttributeValue(server, "url")) {
        ui->lineEditURL->setEnabled(true);
        ui->lineEditURL->setText(QString::fromUtf8(url));
        m_hasUrl = true;
    }
    PXRMsgElement *certificate = PXRMsgElementFirstChild(server, "certificate");
    ui->plainTextEditCertificate->setPlainText(QString::fromUtf8(
        static_cast<const char *>(PXRMsgElementContent(certificate)), int(PXRMsgElementContentSize(certificate))));
    ui->plainTextEditCertificate->setEnabled(true);
    ui->toolButtonCertificate->setEnabled(true);
    m_hasCertificate = true;
    if (const char *filter = PXRMsgElementAttributeValue(server, "filter")) {
        ui->lineEditFilter->setEnabled(true);
        ui->toolButtonFilter->setEnabled(true);
        ui->lineEditFilter->setText(QString::fromUtf8(filter));
        m_hasFilter = true;
    }
    if (const char *timeout = PXRMsgElementAttributeValue(server, "timeout")) {
        m_storedTimeout = decimalPrefix(timeout).value_or(0);
        ui->spinBoxTimeout->setEnabled(true);
        ui->spinBoxTimeout->setValue(int(std::clamp<qint64>(m_storedTimeout, ui->spinBoxTimeout->minimum(),
                                                            ui->spinBoxTimeout->maximum())));
        m_shownTimeout = ui->spinBoxTimeout->value();
        m_hasTimeout = true;
    }
    const char *enable = PXRMsgElementAttributeValue(server, "enable");
    m_hasEnable = enable != nullptr;
    ui->groupBox->setEnabled(m_hasEnable);
    ui->groupBox->setChecked(m_hasEnable && PXRMsgStrToBool(enable) != 0);
}

void WidgetHttpPushServerSettings::writeConfig(PXRMsgElement *server) const
{
    PXRMsgElementSetAttributeUInt(server, "id", m_id);
    if (m_hasEnable)
        PXRMsgElementSetAttributeBool(server, "enable", ui->groupBox->isChecked() ? 1 : 0);
    if (m_hasUrl)
        PXRMsgElementSetAttribute(server, "url", ui->lineEditURL->text().toUtf8().constData());
    if (m_hasFilter)
        PXRMsgElementSetAttribute(server, "filter", ui->lineEditFilter->text().toUtf8().constData());
    if (m_hasTimeout) {
        const int shown = ui->spinBoxTimeout->value();
        PXRMsgElementSetAttributeInt64(server, "timeout", shown == m_shownTimeout ? m_storedTimeout : shown);
    }
    const QByteArray pem = ui->plainTextEditCertificate->toPlainText().toUtf8();
    PXRMsgElement *certificate = PXRMsgElementCreate("certificate");
    if (certificate == nullptr)
        return;
    PXRMsgElementSetContentBinary(certificate, pem.constData(), uint32_t(pem.size()));
    if (!PXRMsgElementAddChild(server, certificate))
        PXRMsgElementDestroy(certificate);
}

QString WidgetHttpPushServerSettings::serverText(const QString &text) const
{
    return tr("Server #%1<br/><br/>%2").arg(m_id).arg(text);
}

bool WidgetHttpPushServerSettings::validate()
{
    const QString scheme = UrlRules::urlScheme(ui->lineEditURL->text());
    if (!ui->groupBox->isEnabled() || !ui->groupBox->isChecked())
        return true;
    if (scheme.isEmpty()) {
        ZyDialogs::critical(this, tr("HttpPush"), serverText(tr("URL is invalid")));
        return false;
    }
    if (ui->plainTextEditCertificate->toPlainText().isEmpty() || scheme == QLatin1String("https"))
        return true;
    const QString question =
        tr("Server is not using an HTTPS connection despite a certificate is provided.<br/>Continue anyway?");
    return ZyDialogs::question(window(), QMessageBox::Question, serverText(question)) == QMessageBox::Yes;
}

void WidgetHttpPushServerSettings::on_toolButtonCertificate_clicked()
{
    const QString path = ZyDialogs::getOpenFileName(this, tr("Open a public certificate"), QString(),
                                                    tr("Certificates (*.pem *.PEM *.crt *.CRT);;All files (*)"));
    if (path.isEmpty())
        return;
    const CertificateFile file = readCertificateFile(path);
    if (!file.error.isEmpty()) {
        ZyDialogs::critical(this, tr("File error"), file.error);
        return;
    }
    ui->plainTextEditCertificate->setPlainText(QString::fromUtf8(file.bytes));
}

void WidgetHttpPushServerSettings::on_toolButtonFilter_clicked()
{
    DialogHttpPushFilter dialog(this);
    dialog.setFilter(ui->lineEditFilter->text());
    if (ZyModalRunner::exec(&dialog) == QDialog::Accepted)
        ui->lineEditFilter->setText(dialog.getFilter());
}
