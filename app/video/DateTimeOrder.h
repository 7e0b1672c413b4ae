// Ordering of date-times in which an invalid one is earlier than any valid one (and equal to
// another invalid one), written out because Qt 6 no longer orders invalid values that way.
#pragma once

#include <QDateTime>

namespace DateTimeOrder {

// a < b
inline bool before(const QDateTime &a, const QDateTime &b)
{
    if (!b.isValid())
        return false;
    return !a.isValid() || a < b;
}

// a <= b
inline bool notAfter(const QDateTime &a, const QDateTime &b)
{
    return !before(b, a);
}

} // namespace DateTimeOrder
