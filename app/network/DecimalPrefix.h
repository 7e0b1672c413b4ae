// The number at the start of a configuration text, read as the sensor's own tools read it.
#pragma once

#include <QtGlobal>

#include <optional>

// Leading blanks, an optional sign, then the digits up to the first other character; nothing
// when there are no digits. Values beyond 64 bits stop at the nearest bound.
std::optional<qint64> decimalPrefix(const char *text);
