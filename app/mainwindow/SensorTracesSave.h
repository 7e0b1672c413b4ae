// Downloads the sensor's trace files into one text file: the current traces, the five old
// files from the oldest, then the firmware-update log.
#pragma once

#include <QCoreApplication>
#include <QSaveFile>
#include <QString>

class QWidget;
class SensorAnswer;

class SensorTracesSave
{
    Q_DECLARE_TR_FUNCTIONS(OBK)

public:
    explicit SensorTracesSave(QWidget *window) : m_window(window) {}

    // Asks the sensor, one request after the other, and writes what it hands out to the path.
    void run(const QString &path);

private:
    void writeCurrent(const SensorAnswer &answer);
    void writeOldFiles();
    void writeExtraLog();
    // The section's header, its content and a blank line.
    void writeSection(const QByteArray &header, const QByteArray &content);

    QWidget *m_window;
    QSaveFile m_file;
};
