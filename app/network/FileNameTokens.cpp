// The tokens of the sensor's FTP file-name patterns.
#include "FileNameTokens.h"

#include <QLatin1StringView>

namespace {

QString padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace

QString expandFileNameTokens(const QString &pattern, const QDateTime &instant)
{
    const QDateTime utc = instant.toUTC();
    const QDate date = utc.date();
    const QTime time = utc.time();
    // One token after the other, in this order, as the sensor replaces them.
    const std::pair<QLatin1StringView, QString> tokens[] = {
        {QLatin1StringView("*y*"), padded(date.year(), 4)},
        {QLatin1StringView("*mo*"), padded(date.month(), 2)},
        {QLatin1StringView("*d*"), padded(date.day(), 2)},
        {QLatin1StringView("*h*"), padded(time.hour(), 2)},
        {QLatin1StringView("*mi*"), padded(time.minute(), 2)},
        {QLatin1StringView("*s*"), padded(time.second(), 2)},
        {QLatin1StringView("*ms*"), padded(time.msec(), 3)},
        {QLatin1StringView("*plate*"), QStringLiteral("TESTPLATE")},
        {QLatin1StringView("*reliability*"), QStringLiteral("95")},
        {QLatin1StringView("*context*"), QStringLiteral("F")},
    };
    QString expanded = pattern;
    for (const auto &[token, value] : tokens)
        expanded.replace(token, value, Qt::CaseSensitive);
    return expanded;
}
