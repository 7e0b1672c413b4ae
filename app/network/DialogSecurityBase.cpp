// The security dialogs' shared state display, request sending and saving.
#include "DialogSecurityBase.h"

#include "Model.h"
#include "PXRQt.h"
#include "SecurityFile.h"
#include "ZyDialogs.h"

#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>

namespace {

// A date of the information as the operator reads it; empty when it is not a date.
QDate showDate(QLabel *label, const char *text)
{
    const QDate date = text != nullptr ? QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd"))
                                       : QDate();
    label->setTextFormat(Qt::PlainText);
    label->setText(date.isValid() ? date.toString(DialogSecurityBase::tr("dd/MM/yyyy")) : QString());
    label->setStyleSheet(QString());
    return date;
}

void markRed(QLabel *label, bool red)
{
    if (red)
        label->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
}

} // namespace

DialogSecurityBase::DialogSecurityBase(QWidget *parent, AppSettings::SecurityPath savedFileKey)
    : Dialog_Settings(parent), m_savedFileKey(savedFileKey)
{
}

DialogSecurityBase::~DialogSecurityBase() = default;

PXRMsgElement *DialogSecurityBase::securityInfo() const
{
    return PXRMsgElementFirstChild(PXRMsgChild(model->infos()), "security");
}

void DialogSecurityBase::showPlainText(QLabel *label, const char *utf8)
{
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromUtf8(utf8));
}

void DialogSecurityBase::showCertificate(PXRMsgElement *certificate, const CertificateLabels &labels)
{
    if (certificate == nullptr)
        return;
    showPlainText(labels.commonName, PXRMsgElementAttributeValue(certificate, "commonName"));
    showPlainText(labels.organizationName, PXRMsgElementAttributeValue(certificate, "organizationName"));
    const QDate today = QDate::currentDate();
    const QDate from = showDate(labels.from, PXRMsgElementAttributeValue(certificate, "validityFrom"));
    markRed(labels.from, from.isValid() && from > today);
    const QDate to = showDate(labels.to, PXRMsgElementAttributeValue(certificate, "validityTo"));
    markRed(labels.to, to.isValid() && to < today);
}

std::optional<QByteArray> DialogSecurityBase::readField(const QLineEdit *field, const QString &error)
{
    return SecurityFile::read(this, field->text(), error);
}

void DialogSecurityBase::addContent(PXRMsgElement *parent, const char *child, const QByteArray &bytes)
{
    PXRMsgElement *element = PXRMsgElementCreate(child);
    PXRMsgElementSetContentBinary(element, bytes.constData(), uint32_t(bytes.size()));
    PXRMsgElementAddChild(parent, element);
}

bool DialogSecurityBase::addFile(PXRMsgElement *parent, const char *child, const QLineEdit *field,
                                 const QString &error)
{
    const std::optional<QByteArray> bytes = readField(field, error);
    if (bytes)
        addContent(parent, child, *bytes);
    return bytes.has_value();
}

void DialogSecurityBase::on_btnSet_clicked()
{
    if (const std::optional<ConfigRequest> request = buildRequest())
        sendRequest(*request, tr("Security"));
}

void DialogSecurityBase::on_labelSave_linkActivated(const QString &)
{
    const std::optional<ConfigRequest> request = buildRequest();
    if (!request)
        return;
    AppSettings settings;
    QString path = ZyDialogs::getSaveFileName(this, QStringLiteral("Security"), tr("Save"), tr("PXRMsg (*.pxrmsg)"),
                                              settings.securityPath(m_savedFileKey));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pxrmsg");
    // Remembered before the write, so that a name that then fails is offered again.
    settings.setSecurityPath(m_savedFileKey, path);
    saveRequest(*request, path);
}

bool DialogSecurityBase::saveRequest(const ConfigRequest &request, const QString &path)
{
    // The file holds passwords and keys: for its owner only, and whole or not at all.
    const QByteArray bytes = pxrMsgToByteArray(request.message());
    QSaveFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly)
        || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) || file.write(bytes) != bytes.size()
        || !file.commit()) {
        ZyDialogs::critical(this, tr("Error"), tr("Unable to open file"));
        return false;
    }
    return true;
}

void DialogSecurityBase::on_buttonBox_rejected()
{
    reject();
}
