// Statistics of what the master sensor sends: sizes of and intervals between video blocks, the
// delays of recognition messages, and the graph that shows the video ones.
#pragma once

#include <QCoreApplication>
#include <QList>
#include <QPixmap>

#include "PXR.h"

class ModelStatistics
{
    Q_DECLARE_TR_FUNCTIONS(ModelStatistics)

public:
    static constexpr int kMaxSamples = 200;

    ModelStatistics() { reset(); }

    void reset();
    void addVideoSample(quint32 size, qint64 date);
    // The message's delay from its date on the sensor's clock (date + clockOffsetMs) to nowMs,
    // counted for a first element named "new", "decision" or "end" when above 0.
    void addLatencySample(PXRMsg *msg, qint64 clockOffsetMs, qint64 nowMs);

    quint32 averageVideoSize() const { return m_averageSize; }
    quint32 minVideoSize() const { return m_minSize; }
    quint32 maxVideoSize() const { return m_maxSize; }
    // 0 with fewer than two dates.
    qint64 averageVideoInterval() const;
    // 0 while no interval was seen.
    qint64 minVideoInterval() const { return m_maxInterval > 0 ? m_minInterval : 0; }
    qint64 maxVideoInterval() const { return m_maxInterval; }
    qint64 averageNewLatency() const { return m_latencies[New].average(); }
    qint64 averageDecisionLatency() const { return m_latencies[Decision].average(); }
    qint64 averageEndLatency() const { return m_latencies[End].average(); }

    const QList<quint32> &sizes() const { return m_sizes; }
    const QList<qint64> &dates() const { return m_dates; }
    // Intervals in green and sizes in red, 4 px per kept date, 300 px high.
    QPixmap pixmap() const;

private:
    enum Kind { New, Decision, End, KindCount };
    struct Latency
    {
        qint64 sum = 0;
        quint32 count = 0;
        qint64 average() const { return count > 0 ? sum / count : 0; }
    };

    QList<quint32> m_sizes;
    quint32 m_averageSize = 0;
    quint32 m_minSize = 0;
    quint32 m_maxSize = 0;
    QList<qint64> m_dates;
    qint64 m_maxInterval = 0;
    qint64 m_minInterval = 0;
    Latency m_latencies[KindCount];
};
