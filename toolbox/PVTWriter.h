// The recording writer: turns a sensor's message stream into a .rec file with index blocks.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <list>
#include <memory>

#include "PXR.h"

class QIODevice;
class PVTRecognition;

// One record: the 24-byte header's fields and a private copy of the data.
struct PVTRecord
{
    static constexpr int HeaderLength = 24;

    quint32 time = 0;
    quint32 relativeTime = 0;
    quint32 previousDataSize = 0;
    quint32 type = 0;
    quint32 key = 0;
    QByteArray data;

    QByteArray header() const;
};

// The index block being filled.
struct PVTIndex
{
    static constexpr int Capacity = 50;
    static constexpr int DataLength = 410;

    qint64 position = 0;
    quint64 covered = 0;
    PVTRecord header;
    quint32 offsets[Capacity] = {};
    quint32 times[Capacity] = {};
    quint16 count = 0;

    QByteArray data(quint32 next) const;
};

class PVTWriter
{
public:
    static constexpr quint32 TypeJpeg = 0x4745504A;  // "JPEG" in file order
    static constexpr quint32 TypeMpeg = 0x4745504D;  // "MPEG"
    static constexpr quint32 TypeH264 = 0x34363248;  // "H264"
    static constexpr quint32 TypeMessage = 0x2D525850;  // "PXR-"
    static constexpr quint32 TypeFrameRecognitions = 8;
    static constexpr quint32 TypeIndex = 9;
    static constexpr quint32 TypeDecision = 11;
    static constexpr quint32 TypeNew = 12;
    static constexpr quint32 TypeEnd = 13;
    static constexpr quint32 TypeSpeed = 14;
    static constexpr int Window = 1024;

    PVTWriter(const QString &productName, quint32 versionA, quint32 versionB, quint32 versionC,
              quint32 versionD, quint32 build);
    ~PVTWriter();

    // Takes an open, seekable device (not owned); false when already started.
    bool start(QIODevice *device);
    // Writes out what is buffered and closes the index block; false when not started or the device failed.
    bool stop();
    // Records the message; false when not started or the device failed.
    bool write(PXRMsg *message);
    bool isStarted() const { return m_started; }
    // Why the last device call failed; empty while none did in this recording.
    QString lastError() const { return m_error; }

private:
    quint32 relativeTimeOf(PXRMsgElement *root);
    void writeVersionMessage(qint64 date);
    void recordVideo(PXRMsgElement *root, quint32 relativeTime, quint32 now);
    void recordMessage(PXRMsg *message, PXRMsgElement *root, quint32 relativeTime, quint32 now);
    // The record's relative time once placed.
    quint32 path(PVTRecord record);
    void placeDecision(PVTRecord &record);
    void synthesiseFrame(PVTRecord &record, const PVTRecognition &recognition);
    void insert(PVTRecord record);
    bool flush(PVTRecord &record);
    bool openIndex();
    bool indexRecord(const PVTRecord &record);
    bool rewriteIndex(quint32 next);
    bool put(const QByteArray &bytes);
    void fail(const QString &why);
    void log(quint8 level, const QString &text) const;

    QString m_productName;
    quint32 m_version[4];
    quint32 m_build;
    qint32 m_localOffset = 0;
    bool m_started = false;
    QIODevice *m_device = nullptr;
    quint32 m_previousDataSize = 0;
    quint8 m_jpegCounter = 5;
    std::unique_ptr<PVTIndex> m_index;
    QElapsedTimer m_arrival;
    qint64 m_firstDate = 0;
    PVTRecord m_heldSpeed;
    std::list<PVTRecord> m_buffer;
    QString m_error;
};
