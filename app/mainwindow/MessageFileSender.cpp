// The main window's send actions: a message file sent to the master sensor as a request, as an
// asynchronous message, or as an application package to install.
#include "MessageFileSender.h"

#include "DlgMsg.h"
#include "MsgManager.h"
#include "PXRQt.h"
#include "ZyDialogs.h"

#include <QFile>
#include <QSettings>

void MessageFileSender::sendSynchronous()
{
    if (PXRMsg *message = readMessageFile("LastSynchronousMessage", QStringLiteral("*.pxrmsg"), kMessageLimit))
        sendRequest(message);
}

void MessageFileSender::sendAsynchronous(PXR *handle)
{
    PXRMsg *message = readMessageFile("LastAsynchronousMessage", QStringLiteral("*.pxrmsg"), kMessageLimit);
    if (message == nullptr)
        return;
    // A message that never left must not vanish silently.
    if (PXRSendAsynchronousMessage(handle, message) != 1)
        errorBox(tr("Unable to send the message"),
                 handle != nullptr ? QString::fromUtf8(PXRGetLastError(handle)) : tr("Not connected"));
    PXRMsgDestroy(message);
}

void MessageFileSender::installApplication()
{
    if (PXRMsg *message = readMessageFile("LastUpdateAppMessage", QStringLiteral("*.aup"), kPackageLimit))
        sendRequest(message);
}

PXRMsg *MessageFileSender::readMessageFile(const char *key, const QString &filter, qint64 limit) const
{
    QSettings settings;
    const QString path = ZyDialogs::getOpenFileName(m_window, tr("Select file"), settings.value(key).toString(), filter);
    if (path.isEmpty())
        return nullptr;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errorBox(tr("Unable to open file"));
        return nullptr;
    }
    if (file.size() > limit) {
        errorBox(tr("File is too big"));
        return nullptr;
    }
    PXRMsg *message = pxrMsgFromByteArray(file.readAll());
    if (message == nullptr) {
        errorBox(tr("Invalid file"));
        return nullptr;
    }
    settings.setValue(key, path);
    return message;
}

void MessageFileSender::sendRequest(PXRMsg *message) const
{
    PXRMsg *answer = MsgManager::sendRequest(message);
    if (answer != nullptr)
        DlgMsg(m_window).exec(answer, QString());
    else
        errorBox(tr("No answer received"));
    PXRMsgDestroy(answer);
    PXRMsgDestroy(message);
}

void MessageFileSender::errorBox(const QString &text, const QString &details) const
{
    ZyDialogs::critical(m_window, tr("Error"), text, details);
}
