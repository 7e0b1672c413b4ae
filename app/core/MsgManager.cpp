// The synchronous request road of the application: requests sent to the master sensor on a
// worker thread, the sensor's status answers judged, and the time stamps of messages read.
#include "MsgManager.h"

#include "MainWindowInterface.h"
#include "MsgManagerNotifier.h"
#include "PXRPrivateToolBox.h"
#include "PXRQt.h"
#include "SA_Core.h"
#include "Sensor.h"
#include "ThreadSendRequest.h"
#include "ZyDialogs.h"

#include <QObject>
#include <QPointer>

namespace {

QPointer<Sensor> g_masterSensor;

QString utf8Attribute(PXRMsgElement *element, const char *name)
{
    return QString::fromUtf8(PXRMsgElementAttributeValue(element, name));
}

// The dump goes to the application unit only, like the lines around it.
void dump(const QString &heading, PXRMsg *message)
{
    MainWindowInterface::logApp(7, heading);
    if (ZyLogsUnit *unit = MainWindowInterface::appLog())
        pxrMsgLog(message, unit);
}

} // namespace

PXRMsg *MsgManager::sendRequest(PXRMsg *request)
{
    dump("Sending request:", request);
    PXRMsgSetReadOnly(request, 1);
    PXRMsg *answer = ThreadSendRequest::sendRequest(request);
    dump("Answer:", answer);
    return answer;
}

bool MsgManager::checkAnswer(QWidget *parent, const QString &title, PXRMsg *answer)
{
    if (answer == nullptr) {
        ZyDialogs::critical(parent, title, QObject::tr("Error : no answer from equipment"),
                            QString::fromUtf8(PXRGetLastError(masterHandle())));
        return false;
    }
    PXRMsgElement *root = PXRMsgChild(answer);
    if (!PXRPToolIsAnswer(answer))
        return unexpectedAnswer(parent, title, root);
    const char *status = PXRMsgElementAttributeValue(root, "status");
    if (PXRMsgStringEqual(status, "ok"))
        return true;
    if (PXRMsgStringEqual(status, "failed")) {
        const char *errorText = PXRPToolAnswerError(answer);
        ZyDialogs::critical(parent, title, QObject::tr("Error : action failed"),
                            QString::fromUtf8(errorText != nullptr ? errorText : ""));
        return false;
    }
    if (PXRMsgStringEqual(status, "warning")) {
        ZyDialogs::warning(parent, title, QObject::tr("Warning : some parts of the message have failed"),
                           warningDetails(root));
        return true;
    }
    return unexpectedAnswer(parent, title, root);
}

// A message that is not a status answer, or a status nobody knows, is no proof of success.
bool MsgManager::unexpectedAnswer(QWidget *parent, const QString &title, PXRMsgElement *root)
{
    SA_Assert(0, "FALSE", __FILE__, "MsgManager::checkAnswer", uint32_t(__LINE__), nullptr);
    const QString name = root != nullptr ? QString::fromUtf8(PXRMsgElementName(root)) : QString();
    const char *status = root != nullptr ? PXRMsgElementAttributeValue(root, "status") : nullptr;
    const QString details = status != nullptr
                                ? QObject::tr("Root element \"%1\", status \"%2\"").arg(name, QString::fromUtf8(status))
                                : QObject::tr("Root element \"%1\", no status").arg(name);
    ZyDialogs::critical(parent, title, QObject::tr("Unexpected answer"), details);
    return false;
}

QString MsgManager::warningDetails(PXRMsgElement *root)
{
    QString details;
    for (PXRMsgElement *warning = PXRMsgElementFirstChild(root, "warning"); warning != nullptr;
         warning = PXRMsgElementNextChild(root, warning, "warning")) {
        if (!details.isEmpty())
            details += '\n';
        details += utf8Attribute(warning, "text");
        if (PXRMsgElementAttributeValue(warning, "configPath") != nullptr)
            details += QObject::tr(" in ") + utf8Attribute(warning, "configPath");
        if (PXRMsgElementAttributeValue(warning, "sourceLocation") != nullptr)
            details += " (" + utf8Attribute(warning, "sourceLocation") + ")";
    }
    return details;
}

QDateTime MsgManager::getDate(PXRMsg *message)
{
    PXRMsgElement *root = message != nullptr ? PXRMsgChild(message) : nullptr;
    const char *date = root != nullptr ? PXRMsgElementAttributeValue(root, "date") : nullptr;
    bool isNumber = false;
    if (date != nullptr)
        QString::fromLatin1(date).toLongLong(&isNumber, 10);
    return isNumber ? pxrDateToDateTime(date) : QDateTime();
}

void MsgManager::setMasterSensor(Sensor *sensor)
{
    g_masterSensor = sensor;
}

Sensor *MsgManager::masterSensor()
{
    return g_masterSensor.data();
}

PXR *MsgManager::masterHandle()
{
    Sensor *sensor = g_masterSensor.data();
    return sensor != nullptr ? sensor->handle() : nullptr;
}

int MsgManager::runningRequests()
{
    return MsgManagerNotifier::instance()->runningRequests();
}
