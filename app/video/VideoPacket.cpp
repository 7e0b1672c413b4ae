// One buffered video message of the sensor with what the player needs to replay it: its time of
// reception, whether decoding can start there, and a cache of its decoded picture.
#include "VideoPacket.h"

#include "MsgManager.h"
#include "PXRPrivateToolBox.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

const char *rootAttribute(PXRMsg *message, const char *name)
{
    return message ? PXRMsgElementAttributeValue(PXRMsgChild(message), name) : nullptr;
}

// A read-only message is shared; a writable one may still change under its owner, so it is copied.
PXRMsg *holdMessage(PXRMsg *message)
{
    if (!message || PXRMsgAddRef(message))
        return message;
    PXRMsg *copy = PXRMsgCopy(message);
    if (copy)
        PXRMsgSetReadOnly(copy, 1);
    return copy;
}

} // namespace

VideoPacket::VideoPacket(PXRMsg *message, const QDateTime &receiveTime)
    : receiveTime(receiveTime), keyFrame(isKeyFrame(message)), m_message(holdMessage(message))
{
}

VideoPacket::VideoPacket(const VideoPacket &other)
    : receiveTime(other.receiveTime), keyFrame(other.keyFrame), decoded(other.decoded),
      decodedWidth(other.decodedWidth), decodedHeight(other.decodedHeight), m_message(other.m_message)
{
    if (m_message)
        PXRMsgAddRef(m_message);
}

VideoPacket::VideoPacket(VideoPacket &&other) noexcept
    : receiveTime(std::move(other.receiveTime)), keyFrame(other.keyFrame), decoded(std::move(other.decoded)),
      decodedWidth(other.decodedWidth), decodedHeight(other.decodedHeight),
      m_message(std::exchange(other.m_message, nullptr))
{
}

VideoPacket &VideoPacket::operator=(VideoPacket other) noexcept
{
    std::swap(receiveTime, other.receiveTime);
    std::swap(keyFrame, other.keyFrame);
    std::swap(decoded, other.decoded);
    std::swap(decodedWidth, other.decodedWidth);
    std::swap(decodedHeight, other.decodedHeight);
    std::swap(m_message, other.m_message);
    return *this;
}

VideoPacket::~VideoPacket()
{
    if (m_message)
        PXRMsgDestroy(m_message);
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
    const char *text = rootAttribute(message, "cameraId");
    long long number = 0;
    for (; text && *text >= '0' && *text <= '9' && number <= INT_MAX; ++text)
        number = number * 10 + (*text - '0');
    return number > INT_MAX ? INT_MAX : int(number);
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
