// The tokens of the sensor's FTP file-name patterns, replaced as the sensor would replace them
// for a sample result: the date and time of one instant and fixed plate values.
#pragma once

#include <QDateTime>
#include <QString>

// Every token of the pattern replaced, in a fixed order, letter case counting; the date and
// time are those of the instant, taken as UTC.
QString expandFileNameTokens(const QString &pattern, const QDateTime &instant);
