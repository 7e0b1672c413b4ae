// The binary recognition record of a recording file.
#include "PVTRecognition.h"

#include "PVTBytes.h"

using namespace PVTBytes;

namespace {

QByteArray attribute(PXRMsgElement *element, const char *name)
{
    const char *value = element ? PXRMsgElementAttributeValue(element, name) : nullptr;
    return value ? QByteArray(value) : QByteArray();
}

qint64 number(PXRMsgElement *element, const char *name)
{
    bool ok = false;
    const qint64 value = attribute(element, name).toLongLong(&ok);
    return ok ? value : 0;
}

qint32 kindOf(const QByteArray &name)
{
    if (name == "decision" || name == "decision_dg")
        return 2;
    if (name == "new")
        return 3;
    return name == "end" ? 4 : 5;
}

qint32 directionOf(const QByteArray &text)
{
    if (text == "front")
        return 1;
    return text == "rear" ? 2 : 3;
}

PXRMsgElement *firstChildElement(PXRMsgElement *root)
{
    return root ? PXRMsgElementFirstChild(root, nullptr) : nullptr;
}

} // namespace

PVTRecognition PVTRecognition::fromMessage(PXRMsgElement *root, quint8 slot, quint32 time)
{
    PVTRecognition r;
    PXRMsgElement *element = firstChildElement(root);
    r.plate = attribute(element, "plate");
    r.x = qint32(number(element, "x"));
    r.y = qint32(number(element, "y"));
    r.width = qint32(number(element, "width"));
    r.height = qint32(number(element, "height"));
    bool ok = false;
    const float sinus = attribute(element, "sinus").toFloat(&ok);
    r.sinus = ok ? sinus : 0.0f;
    r.reliability = quint32(number(element, "reliability"));
    r.direction = directionOf(attribute(element, "direction"));
    r.context = attribute(element, "context");
    r.kind = element ? kindOf(PXRMsgElementName(element)) : 5;
    r.session = quint32(number(root, "session"));
    r.cameraSlot = slot;
    const char *from = root ? PXRMsgElementAttributeValue(root, "plateFrom") : nullptr;
    r.plateSource = !from ? 0 : (QByteArray(from).compare("master", Qt::CaseInsensitive) == 0 ? 2 : 1);
    r.occurrences = quint32(number(element, "plateOccurences"));
    r.relativeTime = time;
    r.background = attribute(element, "plateBackground");
    PXRMsgElement *jpeg = element ? PXRMsgElementFirstChild(element, "jpeg") : nullptr;
    if (jpeg && PXRMsgElementContent(jpeg))
        r.picture = QByteArray(static_cast<const char *>(PXRMsgElementContent(jpeg)),
                               qsizetype(PXRMsgElementContentSize(jpeg)));
    return r;
}

QByteArray PVTRecognition::toBytes() const
{
    QByteArray out;
    out.reserve(FixedLength + int(picture.size()) + int(second.size()));
    put<quint16>(out, 8);
    putText(out, plate, 16);
    put<qint32>(out, x);
    put<qint32>(out, y);
    put<qint32>(out, width);
    put<qint32>(out, height);
    putFloat(out, sinus);
    put<quint32>(out, reliability);
    put<qint32>(out, direction);
    putText(out, context, 64);
    put<qint32>(out, kind);
    put<quint32>(out, session);
    put<quint8>(out, cameraSlot);
    put<quint8>(out, plateSource);
    put<quint32>(out, quint32(picture.size()));
    put<quint32>(out, FixedLength);
    put<quint32>(out, occurrences);
    put<quint32>(out, relativeTime);
    put<quint32>(out, quint32(second.size()));
    putText(out, background, 8);
    return out + picture + second;
}

bool PVTRecognition::fromBytes(const QByteArray &in)
{
    if (in.size() < MinimumLength)
        return false;
    *this = PVTRecognition();
    version = get<quint16>(in, 0);
    plate = getText(in, 2, 16);
    x = get<qint32>(in, 18);
    y = get<qint32>(in, 22);
    width = get<qint32>(in, 26);
    height = get<qint32>(in, 30);
    sinus = getFloat(in, 34);
    reliability = get<quint32>(in, 38);
    direction = get<qint32>(in, 42);
    context = getText(in, 46, 64);
    kind = get<qint32>(in, 110);
    session = get<quint32>(in, 114);
    cameraSlot = version >= 2 && in.size() >= 119 ? get<quint8>(in, 118) : 1;
    plateSource = version >= 3 && in.size() >= 120 ? get<quint8>(in, 119) : 0;
    if (version < 4 || in.size() < 132)
        return true;
    const quint32 pictureLength = get<quint32>(in, 120);
    occurrences = get<quint32>(in, 128);
    int payload = 132;
    if (version >= 5 && in.size() >= 136) {
        relativeTime = get<quint32>(in, 132);
        payload = 136;
    }
    quint32 secondLength = 0;
    if (version >= 6 && in.size() >= 140) {
        secondLength = get<quint32>(in, 136);
        payload = 140;
    }
    if (version >= 8 && in.size() >= 148) {
        background = getText(in, 140, 8);
        payload = 148;
    }
    // Lengths come from the file: take only what is there.
    picture = in.mid(payload, qsizetype(qMin<quint64>(pictureLength, quint64(in.size() - payload))));
    const int secondStart = payload + int(picture.size());
    second = in.mid(secondStart, qsizetype(qMin<quint64>(secondLength, quint64(in.size() - secondStart))));
    return true;
}
