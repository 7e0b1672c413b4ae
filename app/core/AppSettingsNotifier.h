// Tells the parts that cache a setting that it changed; the model wires the video player to it.
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

private:
    AppSettingsNotifier() = default;
};
