// Averages over the decisions the sensors made recently.
#include "RecognitionStats.h"

#include "Model.h"
#include "RecognitionFields.h"

#include <limits>

namespace {
// Sums stop at their limit rather than wrap round to a small average.
void addTo(quint32 &sum, qint64 value)
{
    const qint64 limit = std::numeric_limits<quint32>::max();
    sum = quint32(qBound<qint64>(0, qint64(sum) + qMax<qint64>(0, value), limit));
}
} // namespace

void RecognitionStats::clear()
{
    *this = RecognitionStats();
}

void RecognitionStats::add(PXRMsg *decision)
{
    PXRMsgElement *element = RecognitionFields::first(decision);
    if (RecognitionFields::text(element, "plate").isEmpty() || m_count == std::numeric_limits<quint16>::max())
        return;
    ++m_count;
    addTo(m_reliabilitySum, RecognitionFields::number(element, "reliability"));
    addTo(m_plateWidthSum, Model::scaleCoordinate(decision, "width", true));
    m_plateAngleSum += RecognitionFields::angleDegrees(element);
    addTo(m_occurrenceSum, RecognitionFields::number(element, "plateOccurences"));
}
