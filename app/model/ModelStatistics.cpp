// Statistics of the master sensor's video blocks and recognition delays, and their graph.
#include "ModelStatistics.h"

void ModelStatistics::reset() {}
void ModelStatistics::addVideoSample(quint32, qint64) {}
void ModelStatistics::addLatencySample(PXRMsg *, qint64, qint64) {}
qint64 ModelStatistics::averageVideoInterval() const { return 0; }
QPixmap ModelStatistics::pixmap() const { return {}; }
