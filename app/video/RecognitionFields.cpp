// Reading the fields of a recognition message.
#include "RecognitionFields.h"

#include <algorithm>
#include <cmath>

PXRMsgElement *RecognitionFields::root(PXRMsg *message)
{
    return message != nullptr ? PXRMsgChild(message) : nullptr;
}

PXRMsgElement *RecognitionFields::first(PXRMsg *message)
{
    PXRMsgElement *rootElement = root(message);
    return rootElement != nullptr ? PXRMsgElementFirstChild(rootElement, nullptr) : nullptr;
}

QString RecognitionFields::name(PXRMsgElement *element)
{
    return element != nullptr ? QString::fromUtf8(PXRMsgElementName(element)) : QString();
}

bool RecognitionFields::has(PXRMsgElement *element, const char *attribute)
{
    return element != nullptr && PXRMsgElementAttributeValue(element, attribute) != nullptr;
}

QString RecognitionFields::text(PXRMsgElement *element, const char *attribute)
{
    return element != nullptr ? QString::fromUtf8(PXRMsgElementAttributeValue(element, attribute)) : QString();
}

int RecognitionFields::number(PXRMsgElement *element, const char *attribute)
{
    return element != nullptr ? QByteArray(PXRMsgElementAttributeValue(element, attribute)).trimmed().toInt() : 0;
}

qint64 RecognitionFields::number64(PXRMsgElement *element, const char *attribute)
{
    return element != nullptr ? QByteArray(PXRMsgElementAttributeValue(element, attribute)).trimmed().toLongLong() : 0;
}

QByteArray RecognitionFields::content(PXRMsgElement *element, const char *child)
{
    PXRMsgElement *holder = element != nullptr ? PXRMsgElementFirstChild(element, child) : nullptr;
    if (holder == nullptr)
        return QByteArray();
    const char *bytes = static_cast<const char *>(PXRMsgElementContent(holder));
    const uint32_t size = PXRMsgElementContentSize(holder);
    return bytes != nullptr ? QByteArray(bytes, qsizetype(size)) : QByteArray("");
}

float RecognitionFields::angleRadians(PXRMsgElement *element)
{
    if (!has(element, "sinus"))
        return 0.0f;
    const double sinus = QByteArray(PXRMsgElementAttributeValue(element, "sinus")).trimmed().toDouble();
    // NaN fails both comparisons of clamp, so it is caught first.
    return std::isnan(sinus) ? 0.0f : float(std::asin(std::clamp(sinus, -1.0, 1.0)));
}

float RecognitionFields::angleDegrees(PXRMsgElement *element)
{
    return std::fabs(angleRadians(element)) * 180.0f / 3.14159265359f;
}
