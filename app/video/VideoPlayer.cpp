// Turns one sensor's video messages into pictures: a live buffer of the latest stretch of the
// stream, and, once paused, a snapshot of it to step through, seek in and replay at the pace of
// the sensor's clock.
#include "VideoPlayer.h"

#include "AppSettings.h"
#include "AppSettingsNotifier.h"
#include "MainWindowInterface.h"
#include "PXRPrivateToolBox.h"
#include "SA_Core.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <utility>

extern "C" {
#include <libavutil/pixfmt.h>
}

namespace {

constexpr int DebugLevel = 7;
constexpr int MinGapMs = 1;
constexpr int MaxGapMs = 1000;
// A search by time starts this many pictures before the place its hint gives.
constexpr int SeekHintMargin = 5;

void debugLog(const QString &text)
{
    MainWindowInterface::logApp(DebugLevel, text);
}

// Pictures without a date are passed over by a search, as if earlier than any time.
bool isEarlier(const VideoPacket &packet, const QDateTime &time)
{
    const QDateTime at = packet.sensorTime();
    return !at.isValid() || at < time;
}

void describeFrame(VideoFrame &frame, PXRMsg *message)
{
    frame.time = VideoPacket::sensorTimeOf(message);
    frame.cameraId = VideoPacket::cameraTextOf(message);
    frame.autoEnslaved = VideoPacket::autoEnslavedOf(message);
    frame.enslaveStep = VideoPacket::enslaveStepOf(message);
}

} // namespace

// Reception times in UTC: trimming the live buffer compares them for every message, which in
// local time costs a time-zone look-up each.
VideoPlayer::VideoPlayer(QObject *parent) : QObject(parent), m_clock(&QDateTime::currentDateTimeUtc)
{
    qRegisterMetaType<VideoFrame>();
    qRegisterMetaType<VideoPacket>();
    m_timerPlayback.setSingleShot(true);
    connect(&m_timerPlayback, &QTimer::timeout, this, &VideoPlayer::onTimerPlaybackTimeout);
    connect(AppSettingsNotifier::instance(), &AppSettingsNotifier::displayVideoChanged, this,
            &VideoPlayer::onDisplayVideoChanged);
    reset();
}

VideoPlayer::~VideoPlayer()
{
    destroyDecoder();
}

void VideoPlayer::setCameraId(int cameraId)
{
    m_cameraId = cameraId;
}

QDateTime VideoPlayer::currentTime() const
{
    if (m_playback.isEmpty())
        return QDateTime::fromMSecsSinceEpoch(0);
    return m_playback.at(qBound(0, m_playbackIndex, int(m_playback.size()) - 1)).sensorTime();
}

void VideoPlayer::playbackRange(QDateTime &from, QDateTime &to) const
{
    if (m_playback.isEmpty()) {
        from = to = QDateTime::fromMSecsSinceEpoch(0);
        return;
    }
    from = m_playback.first().sensorTime();
    to = m_playback.last().sensorTime();
}

void VideoPlayer::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(&QDateTime::currentDateTimeUtc);
}

float VideoPlayer::positionOf(int index, int size)
{
    // A single picture is both the first and the last; it sits at the end like a live one.
    if (size <= 1)
        return 1.0f;
    return float(index) / float(size - 1);
}

void VideoPlayer::onVideoMessage(PXRMsg *message)
{
    if (!message || !PXRMsgChild(message))
        return;
    if (m_cameraId < 0 || VideoPacket::cameraNumberOf(message) != m_cameraId)
        return;
    m_live.append(VideoPacket(message, m_clock()));
    trimLiveBuffer();
    if (m_state == Live && m_displayVideo)
        showLive(message);
}

void VideoPlayer::trimLiveBuffer()
{
    const QDateTime newest = m_live.last().receiveTime;
    while (m_live.first().receiveTime.msecsTo(newest) > qint64(m_bufferDurationMs))
        m_live.removeFirst();
}

void VideoPlayer::showLive(PXRMsg *message)
{
    // A picture that cannot be decoded still goes out, holding the previous one.
    if (decompressData(message, m_frameLive.pixels, m_frameLive.width, m_frameLive.height))
        describeFrame(m_frameLive, message);
    m_frameLive.live = true;
    m_frameLive.position = 1.0f;
    emit displayFrame(m_frameLive);
}

bool VideoPlayer::decompressData(PXRMsg *message, QByteArray &pixels, int &width, int &height)
{
    if (!VideoPacket::codecOf(message)) {
        SA_Assert(0, "FALSE", __FILE__, "VideoPlayer::decompressData", __LINE__, nullptr);
        return false;
    }
    QMutexLocker locker(&m_mutex);
    if (!m_decoder)
        m_decoder = PXRPToolDecoderCreate(AV_PIX_FMT_BGRA);
    if (!m_decoder)
        return false;
    int bufferSize = int(pixels.size());
    int result = decodeLocked(message, pixels, bufferSize);
    if (result == PXRPTOOL_ERR_TOO_SMALL || (result == PXRPTOOL_OK && pixels.isEmpty())) {
        debugLog("NEEDS RESIZE");
        if (bufferSize <= 0)
            return false;
        pixels.resize(bufferSize);
        result = decodeLocked(message, pixels, bufferSize);
    }
    if (result != PXRPTOOL_OK || bufferSize > pixels.size())
        return false;
    width = m_decodedWidth;
    height = m_decodedHeight;
    return true;
}

int VideoPlayer::decodeLocked(PXRMsg *message, QByteArray &pixels, int &bufferSize)
{
    // Empty bytes ask the decoder for the size it needs; it keeps the picture for the next call.
    auto *buffer = pixels.isEmpty() ? nullptr : reinterpret_cast<uint8_t *>(pixels.data());
    return PXRPToolDecoderDecodeMsg(m_decoder, message, buffer, &bufferSize, &m_decodedWidth, &m_decodedHeight,
                                    nullptr, nullptr);
}

void VideoPlayer::destroyDecoder()
{
    QMutexLocker locker(&m_mutex);
    PXRPToolDecoderDestroy(m_decoder);
    m_decoder = nullptr;
    m_decodedWidth = 0;
    m_decodedHeight = 0;
}

void VideoPlayer::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void VideoPlayer::reset()
{
    destroyDecoder();
    reloadBufferDuration();
    m_displayVideo = AppSettings().displayVideo();
    m_frameLive.clear();
    m_framePlayback.clear();
    m_playback.clear();
    m_playbackIndex = 0;
    m_lastDecodedIndex = -1;
    m_timerPlayback.stop();
    m_live.clear();
    m_cameraId = -1;
    setState(Live);
}

void VideoPlayer::reloadBufferDuration()
{
    m_bufferDurationMs = AppSettings().videoBufferDurationMs();
}

void VideoPlayer::pause()
{
    if (m_state == Live) {
        m_playback = m_live;
        m_playbackIndex = int(m_playback.size()) - 1;
        // The decoder holds live pictures now, not the replay's: the next replayed one catches up.
        m_lastDecodedIndex = -1;
    }
    m_timerPlayback.stop();
    setState(Paused);
}

void VideoPlayer::play()
{
    if (m_state != Paused || m_playback.isEmpty())
        return;
    setState(Playing);
    onTimerPlaybackTimeout();
}

void VideoPlayer::onTimerPlaybackTimeout()
{
    if (m_state != Playing)
        return;
    seekToIndex(m_playbackIndex + 1);
    // Whoever received the picture may have paused or gone live meanwhile.
    if (m_state != Playing)
        return;
    if (m_playbackIndex >= int(m_playback.size()) - 1) {
        pause();
        return;
    }
    m_timerPlayback.start(gapToNextMs());
}

int VideoPlayer::gapToNextMs() const
{
    const QDateTime shown = m_playback.at(m_playbackIndex).sensorTime();
    const QDateTime next = m_playback.at(m_playbackIndex + 1).sensorTime();
    if (!shown.isValid() || !next.isValid())
        return MinGapMs;
    return int(std::clamp<qint64>(shown.msecsTo(next), MinGapMs, MaxGapMs));
}

void VideoPlayer::goLive()
{
    if (m_state == Live)
        return;
    m_timerPlayback.stop();
    m_playback.clear();
    m_lastDecodedIndex = -1;
    setState(Live);
}

void VideoPlayer::nextFrame()
{
    pause();
    seekToIndex(m_playbackIndex + 1);
}

void VideoPlayer::previousFrame()
{
    pause();
    seekToIndex(m_playbackIndex - 1);
}

void VideoPlayer::seek(float fraction)
{
    pause();
    if (!std::isfinite(fraction))
        return;
    const int size = int(m_playback.size());
    const int index = int(std::lround(double(size) * qBound(0.0, double(fraction), 1.0)));
    debugLog(QString("seek: %1 %2 %3").arg(fraction).arg(index).arg(size));
    seekToIndex(index);
}

void VideoPlayer::seekToTime(const QDateTime &time, float fractionHint)
{
    if (!time.isValid() || m_playback.isEmpty())
        return;
    const int size = int(m_playback.size());
    const double hint = std::isfinite(fractionHint) ? qBound(0.0, double(fractionHint), 1.0) : 0.0;
    const int start = qBound(0, int(size * hint - SeekHintMargin), size - 1);
    for (int i = start; i < size; ++i) {
        if (isEarlier(m_playback.at(i), time))
            continue;
        // Found at once, the hint may lie past the time: an earlier picture may match too.
        if (i == start && start > 0)
            seekToTime(time, 0);
        else
            seekToIndex(i);
        return;
    }
    if (hint > 0)
        seekToTime(time, 0);
}

void VideoPlayer::seekToIndex(int index)
{
    if (m_playback.isEmpty())
        return;
    index = qBound(0, index, int(m_playback.size()) - 1);
    if (index == m_playbackIndex)
        return;
    debugLog(QString("seekToIndex to %1").arg(index));
    if (m_playback.at(index).hasCache())
        showCached(index);
    else if (!showDecoded(index))
        return;
    m_framePlayback.position = positionOf(index, int(m_playback.size()));
    emit displayFrame(m_framePlayback);
}

void VideoPlayer::showCached(int index)
{
    debugLog("already decompressed");
    m_playbackIndex = index;
    const VideoPacket &packet = m_playback.at(index);
    m_framePlayback.pixels = packet.decoded;
    m_framePlayback.width = packet.decodedWidth;
    m_framePlayback.height = packet.decodedHeight;
    describeFrame(m_framePlayback, packet.message());
}

bool VideoPlayer::showDecoded(int index)
{
    if (index != m_lastDecodedIndex + 1)
        catchUp(index);
    m_playbackIndex = m_lastDecodedIndex = index;
    debugLog(QString("found index: %1").arg(index));
    PXRMsg *message = m_playback.at(index).message();
    if (!decompressData(message, m_framePlayback.pixels, m_framePlayback.width, m_framePlayback.height))
        return false;
    describeFrame(m_framePlayback, message);
    return true;
}

void VideoPlayer::catchUp(int index)
{
    for (VideoPacket &packet : m_playback)
        packet.clearCache();
    int key = index - 1;
    while (key > 0 && !m_playback.at(key).keyFrame)
        --key;
    key = qMax(key, 0);
    debugLog(QString("keyframe at %1").arg(key));
    // Every picture from the key frame on is decoded, but only the newest ones that fit the
    // budget are kept: with rare key frames the whole buffer would not fit in memory.
    qint64 kept = 0;
    int oldest = key;
    for (int i = key; i < index; ++i) {
        VideoPacket &packet = m_playback[i];
        if (!decompressData(packet.message(), packet.decoded, packet.decodedWidth, packet.decodedHeight))
            packet.clearCache();
        kept += packet.decoded.size();
        for (; kept > m_cacheBudget && oldest <= i; ++oldest) {
            kept -= m_playback.at(oldest).decoded.size();
            m_playback[oldest].clearCache();
        }
    }
}
