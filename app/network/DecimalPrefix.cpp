// The number at the start of a configuration text.
#include "DecimalPrefix.h"

#include <limits>

std::optional<qint64> decimalPrefix(const char *text)
{
    if (text == nullptr)
        return std::nullopt;
    const char *at = text;
    while (*at == ' ' || *at == '\t' || *at == '\n' || *at == '\r' || *at == '\v' || *at == '\f')
        ++at;
    const bool negative = *at == '-';
    if (*at == '-' || *at == '+')
        ++at;
    if (*at < '0' || *at > '9')
        return std::nullopt;
    const qint64 limit = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (; *at >= '0' && *at <= '9'; ++at) {
        const int digit = *at - '0';
        value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    return negative ? -value : value;
}
