// Averages over the decisions the sensors made recently, rating the installation: reliability,
// plate width, plate angle and plate occurrences.
#pragma once

#include "PXR.h"

#include <QtGlobal>

class RecognitionStats
{
public:
    void clear();
    // Counts a decision with a plate: its reliability, its plate width in camera pixels, its
    // unsigned angle in degrees and its plate occurrences. Others, and any beyond 65535, are left out.
    void add(PXRMsg *decision);

    quint16 count() const { return m_count; }
    float averageReliability() const { return average(m_reliabilitySum); }
    float averagePlateWidth() const { return average(m_plateWidthSum); }
    float averagePlateAngle() const { return m_count == 0 ? 0.0f : m_plateAngleSum / m_count; }
    float averageOccurrence() const { return average(m_occurrenceSum); }

private:
    float average(quint32 sum) const { return m_count == 0 ? 0.0f : float(double(sum) / m_count); }

    quint16 m_count = 0;
    quint32 m_plateWidthSum = 0;
    float m_plateAngleSum = 0.0f;
    quint32 m_reliabilitySum = 0;
    quint32 m_occurrenceSum = 0;
};
