// Statistics of the master sensor's video blocks and recognition delays, and their graph.
#include "ModelStatistics.h"

#include <QPainter>

#include <algorithm>
#include <limits>

namespace {

constexpr int kGraphHeight = 300;
// The scale labels have the band above the curves to themselves.
constexpr int kLabelBand = 22;
constexpr int kGraphSpan = kGraphHeight - kLabelBand - 2;
constexpr int kGraphTop = kGraphHeight - kGraphSpan;
constexpr int kStep = 4;
constexpr double kLeastScale = 200;

// One segment per value, from the previous value (the first one's own) to this one.
template <typename Values>
void drawCurve(QPainter &painter, const Values &values, double scale)
{
    double previous = 0;
    bool first = true;
    int x = 0;
    for (const auto value : values) {
        const double v = double(value) / scale * kGraphSpan;
        if (first)
            previous = v;
        first = false;
        painter.drawLine(x, int(kGraphHeight - previous), x + kStep, int(kGraphHeight - v));
        x += kStep;
        previous = v;
    }
}

} // namespace

void ModelStatistics::reset()
{
    for (Latency &latency : m_latencies)
        latency = Latency();
    m_sizes.clear();
    m_dates.clear();
    m_averageSize = 0;
    m_maxInterval = 0;
    m_minInterval = std::numeric_limits<qint64>::max();
    m_minSize = std::numeric_limits<quint32>::max();
    m_maxSize = 0;
}

void ModelStatistics::addVideoSample(quint32 size, qint64 date)
{
    m_sizes.append(size);
    while (m_sizes.size() > kMaxSamples)
        m_sizes.removeFirst();
    // Dates out of order give no interval.
    if (!m_dates.isEmpty() && date - m_dates.last() > 0) {
        const qint64 interval = date - m_dates.last();
        m_maxInterval = std::max(m_maxInterval, interval);
        m_minInterval = std::min(m_minInterval, interval);
    }
    m_dates.append(date);
    while (m_dates.size() > kMaxSamples)
        m_dates.removeFirst();
    quint64 sum = 0;
    for (quint32 kept : m_sizes)
        sum += kept;
    m_averageSize = quint32(sum / quint64(m_sizes.size()));
    m_minSize = std::min(m_minSize, size);
    m_maxSize = std::max(m_maxSize, size);
}

void ModelStatistics::addLatencySample(PXRMsg *msg, qint64 clockOffsetMs, qint64 nowMs)
{
    PXRMsgElement *root = PXRMsgChild(msg);
    PXRMsgElement *first = PXRMsgElementFirstChild(root, nullptr);
    bool isNumber = false;
    const qint64 date = QByteArray(PXRMsgElementAttributeValue(root, "date")).toLongLong(&isNumber);
    if (first == nullptr || !isNumber)
        return;
    const qint64 delay = nowMs - (date + clockOffsetMs);
    if (delay <= 0)
        return;
    const char *name = PXRMsgElementName(first);
    const Kind kind = PXRMsgStringEqual(name, "new")        ? New
                      : PXRMsgStringEqual(name, "decision") ? Decision
                      : PXRMsgStringEqual(name, "end")      ? End
                                                            : KindCount;
    if (kind == KindCount)
        return;
    m_latencies[kind].sum += delay;
    ++m_latencies[kind].count;
}

qint64 ModelStatistics::averageVideoInterval() const
{
    if (m_dates.size() < 2)
        return 0;
    return (m_dates.last() - m_dates.first()) / (m_dates.size() - 1);
}

QPixmap ModelStatistics::pixmap() const
{
    if (m_dates.isEmpty()) {
        QPixmap empty(100, kGraphHeight);
        empty.fill(Qt::white);
        return empty;
    }
    const int w = kStep * int(m_dates.size());
    const int h = kGraphHeight;
    QPixmap graph(w, h);
    graph.fill(QColor(255, 255, 255));
    QPainter painter(&graph);
    painter.setPen(Qt::black);
    painter.drawLine(0, 0, 0, h - 1);
    painter.drawLine(w - 1, 0, w - 1, h - 1);
    painter.drawLine(0, h - 1, w - 1, h - 1);

    QList<qint64> intervals;
    for (qsizetype i = 1; i < m_dates.size(); ++i)
        intervals.append(m_dates[i] - m_dates[i - 1]);
    const qint64 intervalScale = std::max<qint64>(qint64(kLeastScale), intervals.isEmpty() ? 0 : *std::max_element(intervals.begin(), intervals.end()));
    painter.setPen(QColor(0, 180, 0));
    painter.drawLine(0, kGraphTop, 5, kGraphTop);
    painter.drawText(QRect(6, 0, 100, kLabelBand), Qt::AlignLeft | Qt::AlignBottom, tr("%1 ms").arg(intervalScale));
    drawCurve(painter, intervals, double(intervalScale));

    const quint32 sizeScale = std::max<quint32>(quint32(kLeastScale), *std::max_element(m_sizes.begin(), m_sizes.end()));
    painter.setPen(QColor(180, 0, 0));
    painter.drawLine(w - 5, kGraphTop, w - 1, kGraphTop);
    painter.drawText(QRect(w - 100, 0, 95, kLabelBand), Qt::AlignRight | Qt::AlignBottom, tr("%1 bytes").arg(sizeScale));
    drawCurve(painter, m_sizes, double(sizeScale));
    return graph;
}
