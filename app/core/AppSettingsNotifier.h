// Tells the parts that cache a setting that it changed: the model wires the master player to the
// buffer duration, and each video player follows the display switch itself.
#pragma once

#include <QObject>

class AppSettingsNotifier : public QObject
{
    Q_OBJECT

public:
    // The process-wide notifier, made at first use on the calling thread.
    static AppSettingsNotifier *instance();

signals:
    // A new video buffer duration was stored; the master player reads it again.
    void videoBufferDurationChanged(quint32 durationMs);
    // The "display video" switch was stored; every video player follows it.
    void displayVideoChanged(bool display);

private:
    AppSettingsNotifier() = default;
};
