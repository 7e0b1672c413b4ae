// One request of the main window's file actions and the sensor's answer to it, which this
// object owns; it tells a data answer from a refusal or a missing answer.
#include "SensorAnswer.h"

#include "MsgManager.h"
#include "PXRPrivateToolBox.h"
#include "ZyDialogs.h"

SensorAnswer::SensorAnswer(const char *requestRoot, const QString &file)
{
    PXRMsg *request = PXRMsgCreate();
    PXRMsgElement *root = PXRMsgElementCreate(requestRoot);
    if (!file.isEmpty())
        PXRMsgElementSetAttribute(root, "file", file.toUtf8().constData());
    PXRMsgSetChild(request, root);
    m_answer = MsgManager::sendRequest(request);
    PXRMsgDestroy(request);
}

SensorAnswer::~SensorAnswer()
{
    PXRMsgDestroy(m_answer);
}

bool SensorAnswer::carriesData(QWidget *window, const QString &text) const
{
    if (m_answer == nullptr) {
        ZyDialogs::critical(window, tr("Error"), text, QStringLiteral("NULL answer"));
        return false;
    }
    if (PXRPToolIsAnswer(m_answer)) {
        const char *errorText = PXRPToolAnswerError(m_answer);
        ZyDialogs::critical(window, tr("Error"), text, QString::fromUtf8(errorText != nullptr ? errorText : ""));
        return false;
    }
    return true;
}

PXRMsgElement *SensorAnswer::root() const
{
    return m_answer != nullptr ? PXRMsgChild(m_answer) : nullptr;
}

QByteArray SensorAnswer::childContent(const char *name) const
{
    PXRMsgElement *child = root() != nullptr ? PXRMsgElementFirstChild(root(), name) : nullptr;
    if (child == nullptr)
        return QByteArray();
    return QByteArray(static_cast<const char *>(PXRMsgElementContent(child)), int(PXRMsgElementContentSize(child)));
}

bool SensorAnswer::hasChild(const char *name) const
{
    return root() != nullptr && PXRMsgElementFirstChild(root(), name) != nullptr;
}
