// The video recorder: a .rec file fed with a sensor's messages through the recording writer.
#include "VideoRecorder.h"

#include "MainWindowInterface.h"
#include "PVTWriter.h"

VideoRecorder::VideoRecorder(QObject *parent)
    : QObject(parent), m_writer(std::make_unique<PVTWriter>(QStringLiteral("BZK"), 7, 7, 0, 2, 632))
{
}

VideoRecorder::~VideoRecorder()
{
    stop();
}

void VideoRecorder::start(const QString &fileName)
{
    if (!m_writer->isStarted()) {
        m_file.setFileName(fileName);
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            MainWindowInterface::logApp(3, QStringLiteral("Cannot open this file to record video : %1").arg(fileName));
            return;
        }
    }
    m_writer->start(&m_file);
}

void VideoRecorder::stop()
{
    if (!m_writer->isStarted())
        return;
    const bool written = m_writer->stop();
    // The file keeps the writer's last bytes in its buffer until flushed.
    const bool flushed = !written || m_file.flush();
    const QString flushError = m_file.errorString();
    m_file.close();
    if (!written)
        abandon(m_writer->lastError());
    else if (!flushed)
        abandon(flushError);
}

bool VideoRecorder::isRecording() const
{
    return m_writer->isStarted();
}

void VideoRecorder::onMessage(PXRMsg *message)
{
    if (!m_writer->isStarted() || m_writer->write(message))
        return;
    // A full disk or a removed medium: stop rather than let the operator believe it still records.
    m_writer->stop();
    m_file.close();
    abandon(m_writer->lastError());
}

void VideoRecorder::abandon(const QString &reason)
{
    MainWindowInterface::logApp(3, QStringLiteral("Recording to %1 stopped: %2").arg(m_file.fileName(), reason));
    emit recordingFailed(reason);
}
