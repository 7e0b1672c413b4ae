// One buffered video message of the sensor with what the player needs to replay it: its time of
// reception, whether decoding can start there, and a cache of its decoded picture.
#include "VideoPacket.h"

#include "MsgManager.h"
#include "PXRPrivateToolBox.h"

#include <algorithm>
#include <climits>

namespace {

const char *rootAttribute(PXRMsg *message, const char *name)
{
    return message ? PXRMsgElementAttributeValue(PXRMsgChild(message), name) : nullptr;
}

} // namespace

VideoPacket::VideoPacket(PXRMsg *message, const QDateTime &receiveTime)
    : receiveTime(receiveTime), keyFrame(isKeyFrame(message)), m_message(message)
{
}

void VideoPacket::clearCache()
{
    decoded = QByteArray();
    decodedWidth = 0;
    decodedHeight = 0;
}

QDateTime VideoPacket::sensorTimeOf(PXRMsg *message)
{
    return MsgManager::getDate(message);
}

int VideoPacket::cameraNumberOf(PXRMsg *message)
{
    return cameraNumber(rootAttribute(message, "cameraId"));
}

int VideoPacket::cameraNumber(const char *id)
{
    long long number = 0;
    for (; id && *id >= '0' && *id <= '9'; ++id) {
        number = number * 10 + (*id - '0');
        if (number > INT_MAX)
            return -1;
    }
    return int(number);
}

QString VideoPacket::cameraTextOf(PXRMsg *message)
{
    return QString::fromUtf8(rootAttribute(message, "cameraId"));
}

bool VideoPacket::autoEnslavedOf(PXRMsg *message)
{
    return PXRMsgStrToBool(rootAttribute(message, "autoEnslaved"));
}

int VideoPacket::enslaveStepOf(PXRMsg *message)
{
    const char *text = rootAttribute(message, "enslaveStep");
    return text ? int(std::clamp<int64_t>(PXRPToolAtoi64(text), INT_MIN, INT_MAX)) : -1;
}

const char *VideoPacket::codecOf(PXRMsg *message)
{
    return rootAttribute(message, "codec");
}

bool VideoPacket::isKeyFrame(PXRMsg *message)
{
    if (const char *key = rootAttribute(message, "key"))
        return PXRMsgStrToBool(key);
    const char *codec = codecOf(message);
    if (PXRMsgStringEqual(codec, "jpeg"))
        return true;
    if (!PXRMsgStringEqual(codec, "h264"))
        return false;
    PXRMsgElement *data = PXRMsgElementFirstChild(PXRMsgChild(message), "data");
    const void *content = PXRMsgElementContent(data);
    return content && PXRPToolIsH264KeyFrame(static_cast<const uint8_t *>(content), PXRMsgElementContentSize(data));
}
