// The video recorder: a .rec file fed with a sensor's messages through the recording writer.
#pragma once

#include <QFile>
#include <QObject>
#include <memory>

#include "PXR.h"

class PVTWriter;

class VideoRecorder : public QObject
{
    Q_OBJECT

public:
    explicit VideoRecorder(QObject *parent = nullptr);
    ~VideoRecorder() override;

    // Opens (truncating) the file and starts recording; logs and stays idle when it cannot be opened.
    void start(const QString &fileName);
    // Writes out what is buffered and closes the file.
    void stop();
    bool isRecording() const;
    // Records the message, which stays the caller's.
    void onMessage(PXRMsg *message);

signals:
    // The file could not be written; the recording has stopped.
    void recordingFailed(const QString &reason);

private:
    void abandon(const QString &reason);

    QFile m_file;
    std::unique_ptr<PVTWriter> m_writer;
};
