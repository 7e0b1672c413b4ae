// The URL and host-name rules, each one compiled expression matched against the whole text.
#include "UrlRules.h"

#include <QRegularExpression>

namespace UrlRules {

namespace {

// No Unicode properties, so \w and \d stay ASCII; anchored so that neither a trailing line break
// nor anything else slips past the end.
const QRegularExpression &urlPattern()
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral(R"re((https?):\/\/([\w\d\-._~%!$&'()*+,;=_]+)(?::(\d+))?(\/[\/\w\d\-._~!$&'()*+,;=:@%?]*))re")));
    return pattern;
}

// Both cases spelled out rather than a case-insensitive match, which in Unicode mode would let
// look-alikes such as the Kelvin sign pass as "k".
const QRegularExpression &hostNamePattern()
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9][A-Za-z0-9-]{0,62}")));
    return pattern;
}

} // namespace

QString urlScheme(const QString &text)
{
    const QRegularExpressionMatch match = urlPattern().match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

bool isValidUrl(const QString &text)
{
    return !urlScheme(text).isEmpty();
}

bool isValidHostName(const QString &text)
{
    return hostNamePattern().match(text).hasMatch();
}

} // namespace UrlRules
