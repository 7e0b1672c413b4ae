// The frame-recognition record of a recording file.
#include "PVTFrameRecognitions.h"

#include "PVTBytes.h"

using namespace PVTBytes;

namespace {

void putResult(QByteArray &out, const PVTCameraResult &r, quint8 slot)
{
    put<qint32>(out, r.present ? 1 : 0);
    putText(out, r.plate, 32);
    putText(out, {}, 32);
    put<quint16>(out, r.reliability);
    putText(out, r.context, 16, false);
    putText(out, {}, 16, false);
    put<quint8>(out, slot);
    putText(out, {}, 64);
    put<quint16>(out, r.x);
    put<quint16>(out, r.y);
    put<quint16>(out, r.width);
    put<quint16>(out, r.height);
    put<qint32>(out, r.occurrences);
    putText(out, {}, 128);
    put<quint8>(out, r.direction);
    putText(out, r.background, 16, false);
}

// The length of one camera result in the given layout.
int resultLength(quint16 version, quint16 subversion)
{
    if (version <= 2)
        return 68;
    if (version == 3)
        return 102;
    if (version == 4)
        return 167;
    if (version == 5 || (version == 6 && subversion < 2))
        return 175;
    if (version == 6)
        return 179;
    return subversion >= 3 ? 324 : (subversion == 2 ? 308 : 307);
}

PVTCameraResult getResult(const QByteArray &in, int at, quint16 version, quint16 subversion)
{
    PVTCameraResult r;
    r.present = get<qint32>(in, at) != 0;
    r.plate = getText(in, at + 4, 32);
    const int length = resultLength(version, subversion);
    if (length >= 102) {
        r.reliability = get<quint16>(in, at + 68);
        r.context = getText(in, at + 70, 16);
    }
    if (length >= 167)
        r.slot = get<quint8>(in, at + 102);
    if (length >= 175) {
        r.x = get<quint16>(in, at + 167);
        r.y = get<quint16>(in, at + 169);
        r.width = get<quint16>(in, at + 171);
        r.height = get<quint16>(in, at + 173);
    }
    if (length >= 179)
        r.occurrences = get<qint32>(in, at + 175);
    if (length >= 308)
        r.direction = get<quint8>(in, at + 307);
    if (length >= 324)
        r.background = getText(in, at + 308, 16);
    return r;
}

} // namespace

PVTFrameRecognitions::PVTFrameRecognitions()
{
    results[0].slot = 1;
    results[1].slot = 2;
}

bool PVTFrameRecognitions::fromBytes(const QByteArray &in)
{
    if (in.size() < 2)
        return false;
    const quint16 v = get<quint16>(in, 0);
    if (v >= 3 && in.size() < 4)
        return false;
    const quint16 sub = v >= 3 ? get<quint16>(in, 2) : 0;
    const int start = v >= 3 ? 4 : 2;
    const int length = resultLength(v, sub);
    const int count = v >= 6 ? 2 : 1;
    const bool hasFlags = v >= 8 || (v == 7 && sub >= 1);
    if (in.size() < start + count * length + (hasFlags ? 6 : 0))
        return false;
    *this = PVTFrameRecognitions();
    version = v;
    subversion = sub;
    for (int i = 0; i < count; ++i)
        results[i] = getResult(in, start + i * length, v, sub);
    for (int i = 0; hasFlags && i < 6; ++i)
        flags[i] = get<quint8>(in, start + count * length + i);
    return true;
}

QByteArray PVTFrameRecognitions::toBytes() const
{
    QByteArray out;
    out.reserve(Length);
    put<quint16>(out, 7);
    put<quint16>(out, 3);
    putResult(out, results[0], 1);
    putResult(out, results[1], 2);
    for (quint8 flag : flags)
        put<quint8>(out, flag);
    out.append(QByteArray(48, '\0'));
    return out;
}

void PVTFrameRecognitions::merge(const PVTRecognition &rec)
{
    if (rec.cameraSlot != 1 && rec.cameraSlot != 2)
        return;
    PVTCameraResult &r = results[rec.cameraSlot - 1];
    r.present = true;
    r.plate = rec.plate;
    r.reliability = quint16(rec.reliability);
    r.context = rec.context.left(16);
    r.slot = rec.cameraSlot;
    r.x = quint16(rec.x);
    r.y = quint16(rec.y);
    r.width = quint16(rec.width);
    r.height = quint16(rec.height);
    r.occurrences = qint32(rec.occurrences);
    r.direction = rec.direction == 1 || rec.direction == 2 ? quint8(rec.direction) : 0;
    r.background = rec.background;
}

const PVTCameraResult *PVTFrameRecognitions::result(quint8 slot) const
{
    return slot == 1 || slot == 2 ? &results[slot - 1] : nullptr;
}
