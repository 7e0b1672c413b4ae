// The recording writer: timing, frame and recognition records, reordering and the index block chain.
#include "PVTWriter.h"

#include <QDateTime>
#include <QIODevice>

#include "PVTBytes.h"
#include "PVTFrameRecognitions.h"
#include "PVTRecognition.h"
#include "PXRPrivateToolBox.h"
#include "PXRQt.h"
#include "ZyLogs.h"

using namespace PVTBytes;

namespace {

constexpr quint64 BlockLimit = quint64(1) << 31;

bool isFrame(quint32 type)
{
    return type == PVTWriter::TypeJpeg || type == PVTWriter::TypeMpeg || type == PVTWriter::TypeH264;
}

quint32 utcNow()
{
    return quint32(QDateTime::currentSecsSinceEpoch());
}

QByteArray attribute(PXRMsgElement *element, const char *name)
{
    const char *value = PXRMsgElementAttributeValue(element, name);
    return value ? QByteArray(value) : QByteArray();
}

quint32 recognitionType(const QByteArray &name)
{
    const QByteArray lower = name.toLower();
    if (lower == "decision")
        return PVTWriter::TypeDecision;
    if (lower == "new")
        return PVTWriter::TypeNew;
    if (lower == "end")
        return PVTWriter::TypeEnd;
    return lower == "speed" ? PVTWriter::TypeSpeed : 0;
}

} // namespace

QByteArray PVTRecord::header() const
{
    QByteArray out;
    out.reserve(HeaderLength);
    put<quint32>(out, time);
    put<quint32>(out, relativeTime);
    put<quint32>(out, previousDataSize);
    put<quint32>(out, quint32(data.size()));
    put<quint32>(out, type);
    put<quint32>(out, key);
    return out;
}

QByteArray PVTIndex::data(quint32 next) const
{
    QByteArray out;
    out.reserve(DataLength);
    put<quint16>(out, 1);
    put<quint16>(out, count);
    put<quint16>(out, Capacity);
    for (quint32 offset : offsets)
        put<quint32>(out, offset);
    for (quint32 time : times)
        put<quint32>(out, time);
    put<quint32>(out, next);
    return out;
}

PVTWriter::PVTWriter(const QString &productName, quint32 versionA, quint32 versionB, quint32 versionC,
                     quint32 versionD, quint32 build)
    : m_productName(productName), m_version{versionA, versionB, versionC, versionD}, m_build(build),
      m_localOffset(QDateTime::currentDateTime().offsetFromUtc())
{
}

PVTWriter::~PVTWriter() = default;

void PVTWriter::log(quint8 level, const QString &text) const
{
    ZyLogs::log(level, QStringLiteral("PVTWriter : ") + text);
}

bool PVTWriter::start(QIODevice *device)
{
    if (m_started) {
        log(4, QStringLiteral("is already started"));
        return false;
    }
    m_device = device;
    m_firstDate = 0;
    m_arrival.invalidate();
    m_index.reset();
    m_jpegCounter = 5;
    m_heldSpeed = PVTRecord();
    m_previousDataSize = 0;
    m_buffer.clear();
    m_error.clear();
    m_started = true;
    log(5, QStringLiteral("started"));
    return true;
}

bool PVTWriter::stop()
{
    if (!m_started) {
        log(4, QStringLiteral("is not started"));
        return false;
    }
    m_started = false;
    for (PVTRecord &record : m_buffer)
        flush(record);
    m_buffer.clear();
    if (m_index)
        rewriteIndex(0);
    m_index.reset();
    m_heldSpeed = PVTRecord();
    log(5, QStringLiteral("stopped"));
    return m_error.isEmpty();
}

bool PVTWriter::write(PXRMsg *message)
{
    if (!m_started) {
        log(4, QStringLiteral("unable to write, not started"));
        return false;
    }
    PXRMsgElement *root = message ? PXRMsgChild(message) : nullptr;
    if (!root)
        return m_error.isEmpty();
    const quint32 now = utcNow();
    const quint32 relativeTime = relativeTimeOf(root);
    if (QByteArray(PXRMsgElementName(root)) == "video")
        recordVideo(root, relativeTime, now);
    else
        recordMessage(message, root, relativeTime, now);
    return m_error.isEmpty();
}

quint32 PVTWriter::relativeTimeOf(PXRMsgElement *root)
{
    const char *text = PXRMsgElementAttributeValue(root, "date");
    if (!text)
        return m_arrival.isValid() ? quint32(m_arrival.elapsed()) : 0;
    const qint64 date = QByteArray(text).toLongLong();
    if (m_firstDate == 0) {
        m_arrival.start();
        m_firstDate = date;
        writeVersionMessage(date);
    }
    // A sensor clock stepping back must not sort its messages after everything else.
    return date > m_firstDate ? quint32(date - m_firstDate) : 0;
}

void PVTWriter::writeVersionMessage(qint64 date)
{
    PXRMsg *message = PXRMsgCreate();
    PXRMsgElement *root = PXRMsgElementCreate("version");
    const QString name = QStringLiteral("%6 v%1.%2.%3.%4 build %5")
                             .arg(m_version[0]).arg(m_version[1]).arg(m_version[2]).arg(m_version[3])
                             .arg(m_build).arg(m_productName);
    PXRMsgElementSetAttribute(root, "name", name.toUtf8().constData());
    PXRMsgElementSetAttribute(root, "PRODUCT_NAME", m_productName.toUtf8().constData());
    const char *keys[] = {"VERSION_A", "VERSION_B", "VERSION_C", "VERSION_D"};
    for (int i = 0; i < 4; ++i)
        PXRMsgElementSetAttributeUInt(root, keys[i], m_version[i]);
    PXRMsgElementSetAttributeUInt(root, "BUILD", m_build);
    PXRMsgElementSetAttribute(root, "date", QByteArray::number(date).constData());
    PXRMsgSetChild(message, root);
    path({utcNow(), 0, 0, TypeMessage, 1, pxrMsgToByteArray(message)});
    PXRMsgDestroy(message);
}

void PVTWriter::recordVideo(PXRMsgElement *root, quint32 relativeTime, quint32 now)
{
    PXRMsgElement *data = PXRMsgElementFirstChild(root, "data");
    const void *content = data ? PXRMsgElementContent(data) : nullptr;
    const quint32 size = content ? PXRMsgElementContentSize(data) : 0;
    if (size == 0)
        return;
    const QByteArray codec = attribute(root, "codec").toLower();
    PVTRecord frame{now, relativeTime, 0, TypeJpeg, 0, QByteArray(static_cast<const char *>(content), qsizetype(size))};
    if (codec == "mpeg")
        frame.type = TypeMpeg;
    else if (codec == "h264")
        frame.type = TypeH264;
    const char *key = PXRMsgElementAttributeValue(root, "key");
    if (frame.type == TypeJpeg && codec == "jpeg")
        frame.key = 1;
    else if (key)
        frame.key = (qstrcmp(key, "true") == 0 || qstrcmp(key, "1") == 0) ? 1 : 0;
    else if (frame.type == TypeH264)
        frame.key = PXRPToolIsH264KeyFrame(static_cast<const uint8_t *>(content), size) ? 1 : 0;
    path(std::move(frame));
    path({now, relativeTime, 0, TypeFrameRecognitions, 0, PVTFrameRecognitions().toBytes()});
}

void PVTWriter::recordMessage(PXRMsg *message, PXRMsgElement *root, quint32 relativeTime, quint32 now)
{
    path({now, relativeTime, 0, TypeMessage, 1, pxrMsgToByteArray(message)});
    if (QByteArray(PXRMsgElementName(root)) != "anpr")
        return;
    PXRMsgElement *element = PXRMsgElementFirstChild(root, nullptr);
    const quint32 type = element ? recognitionType(PXRMsgElementName(element)) : 0;
    if (type == 0)
        return;
    path({now, relativeTime, 0, type, 1, PVTRecognition::fromMessage(root, 1, relativeTime).toBytes()});
}

quint32 PVTWriter::path(PVTRecord record)
{
    if (record.type == TypeDecision)
        placeDecision(record);
    if (record.type == TypeFrameRecognitions) {
        for (const PVTRecord &buffered : m_buffer)
            if (buffered.type == TypeFrameRecognitions && buffered.relativeTime == record.relativeTime)
                return record.relativeTime;
    }
    if (isFrame(record.type)) {
        for (const PVTRecord &buffered : m_buffer)
            if (buffered.relativeTime == record.relativeTime && (buffered.type == TypeJpeg || record.type != TypeJpeg))
                ++record.relativeTime;
    }
    if (record.type == TypeSpeed) {
        m_heldSpeed = std::move(record);
        return m_heldSpeed.relativeTime;
    }
    if (record.type == TypeEnd && !m_heldSpeed.data.isEmpty()) {
        m_heldSpeed.relativeTime = record.relativeTime;
        insert(std::move(m_heldSpeed));
        m_heldSpeed = PVTRecord();
    }
    const quint32 placed = record.relativeTime;
    insert(std::move(record));
    while (m_buffer.size() > size_t(Window)) {
        flush(m_buffer.front());
        m_buffer.pop_front();
    }
    return placed;
}

void PVTWriter::placeDecision(PVTRecord &record)
{
    PVTRecognition recognition;
    if (!recognition.fromBytes(record.data))
        return;
    for (PVTRecord &buffered : m_buffer) {
        if (buffered.type != TypeFrameRecognitions || buffered.relativeTime != record.relativeTime)
            continue;
        PVTFrameRecognitions frame;
        frame.fromBytes(buffered.data);
        const PVTCameraResult *slot = frame.result(recognition.cameraSlot);
        if (!slot || !slot->present) {
            frame.merge(recognition);
            buffered.data = frame.toBytes();
            return;
        }
        log(7, QStringLiteral("decalage"));
        ++record.relativeTime;
        break;
    }
    synthesiseFrame(record, recognition);
}

void PVTWriter::synthesiseFrame(PVTRecord &record, const PVTRecognition &recognition)
{
    PVTRecord frame{record.time, record.relativeTime, 0, TypeJpeg, 0, {}};
    bool haveFrame = false;
    if (recognition.plateSource != 1) {
        // A decision without its own picture gets no empty frame.
        frame.data = recognition.picture;
        haveFrame = !frame.data.isEmpty();
    } else {
        for (auto it = m_buffer.rbegin(); it != m_buffer.rend() && !haveFrame; ++it) {
            if (it->type == TypeJpeg && it->relativeTime < record.relativeTime) {
                frame = *it;
                frame.relativeTime = record.relativeTime;
                haveFrame = true;
            }
        }
    }
    PVTFrameRecognitions recognitions;
    recognitions.merge(recognition);
    PVTRecord joined{record.time, record.relativeTime, 0, TypeFrameRecognitions, 0, recognitions.toBytes()};
    if (haveFrame) {
        joined.time = frame.time;
        joined.key = frame.key;
        joined.relativeTime = path(std::move(frame));
    }
    path(std::move(joined));
}

void PVTWriter::insert(PVTRecord record)
{
    if (m_buffer.empty() || record.relativeTime >= m_buffer.back().relativeTime) {
        m_buffer.push_back(std::move(record));
        return;
    }
    auto it = m_buffer.begin();
    while (it->relativeTime < record.relativeTime)
        ++it;
    m_buffer.insert(it, std::move(record));
}

bool PVTWriter::flush(PVTRecord &record)
{
    if (!m_error.isEmpty() || (!m_index && !openIndex()))
        return false;
    record.previousDataSize = m_previousDataSize;
    m_previousDataSize = quint32(record.data.size());
    const bool full = indexRecord(record);
    record.time += quint32(m_localOffset);
    if (!put(record.header()) || !put(record.data))
        return false;
    m_index->covered += quint64(PVTRecord::HeaderLength) + quint64(record.data.size());
    if (!full && m_index->covered <= BlockLimit)
        return true;
    const qint64 end = m_device->pos();
    const bool written = rewriteIndex(quint32(end - m_index->position));
    m_index.reset();
    return written;
}

bool PVTWriter::openIndex()
{
    auto index = std::make_unique<PVTIndex>();
    index->position = m_device->pos();
    index->header = {utcNow() + quint32(m_localOffset), 0, m_previousDataSize, TypeIndex, 1, {}};
    index->header.data = index->data(0);
    index->covered = PVTRecord::HeaderLength + PVTIndex::DataLength;
    if (!put(index->header.header()) || !put(index->header.data))
        return false;
    m_index = std::move(index);
    m_previousDataSize = PVTIndex::DataLength;
    return true;
}

bool PVTWriter::indexRecord(const PVTRecord &record)
{
    if (record.key != 1 || !isFrame(record.type))
        return false;
    if (record.type == TypeJpeg) {
        if (++m_jpegCounter < 6)
            return false;
        m_jpegCounter = 0;
    } else {
        log(7, QStringLiteral("index for MPEG created"));
    }
    m_index->offsets[m_index->count] = quint32(m_index->covered);
    m_index->times[m_index->count] = record.relativeTime;
    return ++m_index->count == PVTIndex::Capacity;
}

bool PVTWriter::rewriteIndex(quint32 next)
{
    if (!m_error.isEmpty())
        return false;
    const qint64 end = m_device->pos();
    m_index->header.data = m_index->data(next);
    if (!m_device->seek(m_index->position)) {
        fail(m_device->errorString());
        return false;
    }
    if (!put(m_index->header.header()) || !put(m_index->header.data))
        return false;
    if (!m_device->seek(end)) {
        fail(m_device->errorString());
        return false;
    }
    return true;
}

bool PVTWriter::put(const QByteArray &bytes)
{
    if (m_device->write(bytes) == bytes.size())
        return true;
    fail(m_device->errorString());
    return false;
}

void PVTWriter::fail(const QString &why)
{
    m_error = why.isEmpty() ? QStringLiteral("the device refused the data") : why;
    log(2, QStringLiteral("unable to write the recording: ") + m_error);
}
