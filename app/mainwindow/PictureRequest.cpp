// Asks the sensor for one picture and shows it with its timing.
#include "PictureRequest.h"

#include "DlgGetImage.h"
#include "DlgMsg.h"
#include "ZyDialogs.h"
#include "MsgManager.h"

namespace {

const char *rootDate(PXRMsg *msg)
{
    PXRMsgElement *root = msg != nullptr ? PXRMsgChild(msg) : nullptr;
    return root != nullptr ? PXRMsgElementAttributeValue(root, "date") : nullptr;
}

QString clockTime(const QDateTime &time)
{
    return time.toString(QStringLiteral("hh:mm:ss.zzz"));
}

QString epochTime(qint64 ms)
{
    return clockTime(QDateTime::fromMSecsSinceEpoch(ms));
}

} // namespace

void PictureRequest::run(QWidget *window)
{
    PXRMsg *request = PXRMsgCreate();
    PXRMsgSetChild(request, PXRMsgElementCreate("getImage"));
    DlgGetImage dialog(window);
    if (dialog.exec(request) == QDialog::Accepted) {
        const QDateTime requestedAt = QDateTime::currentDateTime();
        PXRMsg *answer = MsgManager::sendRequest(request);
        if (answer == nullptr) {
            ZyDialogs::critical(window, tr("Error"), tr("No answer received"));
        } else {
            DlgMsg viewer(window);
            viewer.exec(answer, timingComment(requestedAt, request, answer));
            PXRMsgDestroy(answer);
        }
    }
    PXRMsgDestroy(request);
}

QString PictureRequest::timingComment(const QDateTime &requestedAt, PXRMsg *request, PXRMsg *answer)
{
    QString comment = tr("Request done at %1").arg(clockTime(requestedAt));
    const char *asked = rootDate(request);
    const char *taken = rootDate(answer);
    if (taken == nullptr)
        return comment;
    const qint64 askedMs = asked != nullptr ? QByteArray(asked).toLongLong() : 0;
    const qint64 takenMs = QByteArray(taken).toLongLong();
    if (asked != nullptr)
        comment += tr("\nImage requested at epoch time %1 (%2)").arg(QString::fromLatin1(asked), epochTime(askedMs));
    comment += tr("\nImage received at epoch time %1 (%2)").arg(QString::fromLatin1(taken), epochTime(takenMs));
    if (asked != nullptr)
        comment += tr("\nDifference : %1 ms").arg(takenMs - askedMs);
    return comment;
}
