// The tokens of the FTP file-name patterns, replaced for a given instant.
#include "FileNameTokens.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

struct TokenCase
{
    const char *pattern;
    QDateTime instant;
    const char *expanded;
};

QDateTime utc(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), QTimeZone::utc());
}

TEST(FileNameTokens, EveryTokenIsReplacedPaddedAndCaseCounts)
{
    const QDateTime early = utc(2026, 1, 7, 5, 4, 3, 7);
    const TokenCase cases[] = {
        {"*y*-*mo*-*d*", early, "2026-01-07"},
        {"*h*:*mi*:*s*.*ms*", early, "05:04:03.007"},
        {"*ms*", utc(2026, 12, 31, 23, 59, 59, 999), "999"},
        {"*y*", utc(987, 3, 1, 0, 0, 0, 0), "0987"},
        {"*y**mo**d**h**mi**s**ms*", early, "20260107050403007"},
        {"*plate*_*reliability*_*context*.jpg", early, "TESTPLATE_95_F.jpg"},
        {"*d*/*d*", early, "07/07"},
        {"*Y*_*PLATE*_*Ms*", early, "*Y*_*PLATE*_*Ms*"},
        {"plain.jpg", early, "plain.jpg"},
        {"", early, ""},
        // The year takes the asterisk the month would need.
        {"*y*mo*", early, "2026mo*"},
        {"**y**", early, "*2026*"},
        // An instant in another zone gives its UTC date and time.
        {"*y**mo**d* *h*", QDateTime(QDate(2026, 1, 1), QTime(1, 30), QTimeZone(7200)),
         "20251231 23"},
    };
    for (const TokenCase &c : cases)
        EXPECT_EQ(expandFileNameTokens(QString::fromUtf8(c.pattern), c.instant), QString::fromUtf8(c.expanded))
            << c.pattern;
}

} // namespace
