// The menu commands that send one request to the master sensor and deal with its answer.
#include "SensorCommands.h"

#include "DialogLockPassword.h"
#include "DlgMsg.h"
#include "Model.h"
#include "MsgManager.h"
#include "ZyDialogs.h"
#include "ZyInputs.h"

#include <QDateTime>
#include <QSettings>

namespace {

constexpr const char *kTestNtpAddress = "TestNTPAddress";
constexpr const char *kFirmwareUrl = "FirmwareUrl";
constexpr const char *kLastTriggerCamera = "LastTriggerCamera";
constexpr const char *kLastTriggerTimeout = "LastTriggerTimeout";
constexpr unsigned kDefaultTriggerTimeout = 2000;
constexpr int kLargestTriggerTimeout = 2000000;

} // namespace

SensorCommands::SensorCommands(QWidget *window) : m_window(window), m_model(Model::instance()) {}

bool SensorCommands::sendChecked(const PXRMessage &request, const QString &title)
{
    const PXRMessage answer(MsgManager::sendRequest(request.get()));
    return MsgManager::checkAnswer(m_window, title, answer.get());
}

void SensorCommands::errorBox(const QString &text)
{
    ZyDialogs::critical(m_window, tr("Error"), text);
}

void SensorCommands::show(const char *requestRoot)
{
    const PXRMessage msg = pxrMsgWithRoot(requestRoot);
    showAnswer(PXRMessage(MsgManager::sendRequest(msg.get())));
}

void SensorCommands::showAnswer(const PXRMessage &answer)
{
    if (!answer) {
        errorBox(tr("No answer received"));
        return;
    }
    DlgMsg viewer(m_window);
    viewer.exec(answer.get(), QString());
}

void SensorCommands::resetCounters()
{
    sendChecked(pxrMsgWithRoot("resetCounters"), tr("Reset counters"));
}

void SensorCommands::reboot()
{
    if (ZyDialogs::question(m_window, QMessageBox::Information, tr("Do you want to reboot this sensor ?"))
        != QMessageBox::Yes)
        return;
    if (!sendChecked(pxrMsgWithRoot("reboot"), tr("Reboot")))
        errorBox(tr("Unable to reboot"));
}

void SensorCommands::forbidSetConfig()
{
    const bool forbidden = m_model->configForbidden();
    if (forbidden
        && ZyDialogs::question(
               m_window, QMessageBox::Warning,
               tr("Configuration modications are forbidden. Are you sure you want to allow them ?"))
               == QMessageBox::No)
        return;
    if (!sendChecked(pxrMsgWithRoot(forbidden ? "allowSetConfig" : "forbidSetConfig"), tr("Config modifications")))
        errorBox(tr("Unable to change config modifications status"));
}

QString SensorCommands::askRemembered(const QString &title, const QString &label, const char *key)
{
    QSettings settings;
    const QString text =
        ZyInputs::getText(m_window, title, label, settings.value(key).toString()).value_or(QString());
    if (!text.isEmpty())
        settings.setValue(key, text);
    return text;
}

void SensorCommands::testNtp()
{
    const QString host =
        askRemembered(tr("NTP Server"), tr("Enter a NTP server address to test if the sensor is able to connect to it"),
                      kTestNtpAddress);
    if (host.isEmpty())
        return;
    const PXRMessage msg = pxrMsgWithRoot("testNTP");
    PXRMsgElementSetAttribute(root(msg), "host", host.toUtf8().constData());
    if (sendChecked(msg, tr("Test NTP")))
        ZyDialogs::information(m_window, tr("Success"), tr("The sensor is able to connect to this NTP server"));
}

void SensorCommands::updateFirmwareFromUrl()
{
    const QString url =
        askRemembered(tr("Firmware URL"), tr("Enter the URL where the FUP3 can be downloaded"), kFirmwareUrl);
    if (url.isEmpty())
        return;
    const PXRMessage msg = pxrMsgWithRoot("updateWebFirmware");
    PXRMsgElementSetAttribute(root(msg), "url", url.toUtf8().constData());
    showAnswer(PXRMessage(MsgManager::sendRequest(msg.get())));
}

bool SensorCommands::lockOrUnlock()
{
    return m_model->masterSensor().isLocked() ? unlock() : lock();
}

bool SensorCommands::unlock()
{
    if (sendChecked(pxrMsgWithRoot("unlock"), tr("Lock")))
        m_model->masterSensor().setLocked(false);
    else
        errorBox(tr("Unable to unlock"));
    return true;
}

bool SensorCommands::lock()
{
    const PXRMessage msg = pxrMsgWithRoot("lock");
    if (m_model->lockPasswordNeeded()) {
        // The password must not travel in clear.
        if (PXRGetSSL(MsgManager::masterHandle()) != 1) {
            ZyDialogs::critical(m_window, tr("Lock"),
                                tr("It is not possible to lock a password-protected sensor in unsecured connection."));
            return false;
        }
        QString password;
        DialogLockPassword dialog(m_window);
        if (dialog.exec(&password) != QDialog::Accepted)
            return false;
        PXRMsgElementSetAttribute(root(msg), "password", password.toUtf8().constData());
    }
    if (sendChecked(msg, tr("Lock")))
        m_model->masterSensor().setLocked(true);
    return true;
}

void SensorCommands::triggerOn()
{
    trigger(pxrMsgWithRoot("triggerOn"));
}

void SensorCommands::triggerOff()
{
    trigger(pxrMsgWithRoot("triggerOff"));
}

void SensorCommands::triggerTimeout()
{
    const unsigned last = QSettings().value(kLastTriggerTimeout, kDefaultTriggerTimeout).toUInt();
    const std::optional<int> timeout = ZyInputs::getInt(m_window, tr("Timeout"), tr("Enter timeout in ms"),
                                                        int(last), 0, kLargestTriggerTimeout);
    if (!timeout)
        return;
    const PXRMessage msg = pxrMsgWithRoot("triggerOn");
    PXRMsgElementSetAttributeInt(root(msg), "timeout", *timeout);
    trigger(msg, timeout);
}

void SensorCommands::triggerAdvanced()
{
    const PXRMessage msg = pxrMsgWithRoot("triggerOn");
    if (!chooseCamera(msg))
        return;
    const std::optional<QString> id =
        ZyInputs::getText(m_window, tr("Force triggerID"), tr("Enter triggerId"), QString());
    if (!id)
        return;
    if (!id->isEmpty())
        PXRMsgElementSetAttribute(root(msg), "forceTriggerId", id->toUtf8().constData());
    trigger(msg);
}

bool SensorCommands::chooseCamera(const PXRMessage &request)
{
    const int count = m_model->cameraCount();
    if (count < 2 || !m_model->schemaDoc().hasAttribute({QStringLiteral("triggerOn")}, QStringLiteral("cameraId")))
        return true;
    QStringList labels;
    for (int i = 0; i < count; ++i)
        labels << m_model->cameraLabel(m_model->cameraId(i));
    QSettings settings;
    const std::optional<QString> chosen =
        ZyInputs::getItem(m_window, tr("triggerOn"), tr("Select camera for triggerOn"), labels,
                          int(settings.value(kLastTriggerCamera, 0u).toUInt()));
    if (!chosen)
        return false;
    for (int i = 0; i < count; ++i) {
        if (labels.at(i) != *chosen)
            continue;
        settings.setValue(kLastTriggerCamera, unsigned(i));
        PXRMsgElementSetAttribute(root(request), "cameraId", m_model->cameraId(i).toLatin1().constData());
    }
    return true;
}

void SensorCommands::trigger(const PXRMessage &request, std::optional<int> timeout)
{
    const PXRMessage answer(MsgManager::sendRequest(request.get()));
    if (!answer) {
        errorBox(tr("No answer received"));
        return;
    }
    PXRMsgElement *answerRoot = root(answer);
    const char *status = answerRoot != nullptr ? PXRMsgElementAttributeValue(answerRoot, "status") : nullptr;
    if (answerRoot == nullptr || !PXRMsgStringEqual(PXRMsgElementName(answerRoot), "triggerAnswer")
        || status == nullptr || !PXRMsgStringEqual(status, "ok")) {
        showAnswer(answer);
        return;
    }
    if (timeout) {
        PXRMsgSetReadOnly(answer.get(), 0);
        PXRMsgElementSetAttributeInt(answerRoot, "timeout", *timeout);
        PXRMsgSetReadOnly(answer.get(), 1);
    }
    m_model->masterRecognitions().onMessage(answer.get(), QDateTime::currentDateTime());
}

void SensorCommands::setSimPin()
{
    setSimConfig(tr("Enter PIN code"), tr("PIN (leave empty to remove current PIN)"), true, "pin");
}

void SensorCommands::setSimApn()
{
    setSimConfig(tr("Enter APN"), tr("APN (leave empty to remove current APN)"), false, "apn");
}

void SensorCommands::setSimConfig(const QString &title, const QString &label, bool hidden, const char *attribute)
{
    const std::optional<QString> value =
        ZyInputs::getText(m_window, title, label, QString(), hidden ? QLineEdit::Password : QLineEdit::Normal);
    if (!value)
        return;
    // An empty value is sent too: it is how the sensor is told to remove it.
    const PXRMessage msg = pxrMsgWithRoot("setSimConfig");
    PXRMsgElementSetAttribute(root(msg), attribute, value->toUtf8().constData());
    sendChecked(msg, tr("Set SIM configuration"));
}
