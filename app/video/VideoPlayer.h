// Turns one sensor's video messages into pictures: a live buffer of the latest stretch of the
// stream, and, once paused, a snapshot of it to step through, seek in and replay at the pace of
// the sensor's clock.
#pragma once

#include "VideoFrame.h"
#include "VideoPacket.h"

#include <QDateTime>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QTimer>

#include <functional>

struct PXRPToolDecoder;

class VideoPlayer : public QObject
{
    Q_OBJECT

public:
    enum State { Live = 0, Playing = 1, Paused = 2 };
    using Clock = std::function<QDateTime()>;

    // Decoded pictures kept by a catch-up, at most; enough for two seconds of 1080p at 25 fps.
    static constexpr qint64 DefaultCacheBudget = 256ll * 1024 * 1024;

    explicit VideoPlayer(QObject *parent = nullptr);
    ~VideoPlayer() override;

    void setCameraId(int cameraId);
    int cameraId() const { return m_cameraId; }
    State state() const { return m_state; }

    // Sensor time of the replayed picture; the epoch while the replay buffer is empty.
    QDateTime currentTime() const;
    void playbackRange(QDateTime &from, QDateTime &to) const;
    const QList<VideoPacket> &playbackList() const { return m_playback; }

    // Source of the reception times that trim the live buffer; tests put their own here.
    void setClock(Clock clock);
    // Bytes of decoded pictures that a catch-up keeps; the newest pictures are kept.
    void setCacheBudget(qint64 bytes) { m_cacheBudget = bytes; }
    // The timer that paces replay; its interval is the gap to the next picture.
    const QTimer &playbackTimer() const { return m_timerPlayback; }

    // Place of a picture in a replay buffer of that size, 0 for the first to 1 for the last.
    static float positionOf(int index, int size);

public slots:
    // Buffers the message and, while live, shows it; the caller keeps its own reference.
    void onVideoMessage(PXRMsg *message);
    void reset();
    void reloadBufferDuration();
    // Follows the "display video" switch, read once rather than for each message.
    void onDisplayVideoChanged(bool display) { m_displayVideo = display; }
    void pause();
    void play();
    void goLive();
    void nextFrame();
    void previousFrame();
    void seek(float fraction);
    void seekToTime(const QDateTime &time, float fractionHint);
    void seekToIndex(int index);
    void onTimerPlaybackTimeout();

signals:
    void displayFrame(const VideoFrame &frame);
    // Every change of state, also the pause at the end of a replay that nobody asked for.
    void stateChanged(VideoPlayer::State state);

private:
    void setState(State state);
    // Decodes into the bytes, grown when too small; the size is written only on success.
    bool decompressData(PXRMsg *message, QByteArray &pixels, int &width, int &height);
    int decodeLocked(PXRMsg *message, QByteArray &pixels, int &bufferSize);
    void trimLiveBuffer();
    void showLive(PXRMsg *message);
    void showCached(int index);
    bool showDecoded(int index);
    void catchUp(int index);
    int gapToNextMs() const;
    void destroyDecoder();

    QMutex m_mutex;
    PXRPToolDecoder *m_decoder = nullptr;  // guarded by m_mutex
    int m_decodedWidth = 0;                 // guarded by m_mutex
    int m_decodedHeight = 0;                // guarded by m_mutex

    int m_cameraId = -1;
    State m_state = Live;
    quint32 m_bufferDurationMs = 60000;
    bool m_displayVideo = true;
    QList<VideoPacket> m_live;
    VideoFrame m_frameLive;
    QList<VideoPacket> m_playback;
    int m_playbackIndex = 0;
    int m_lastDecodedIndex = -1;
    QTimer m_timerPlayback;
    VideoFrame m_framePlayback;
    Clock m_clock;
    qint64 m_cacheBudget = DefaultCacheBudget;
};
