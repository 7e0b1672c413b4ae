// The check of a dotted IPv4 text typed by the operator.
#include "IpAddressCheck.h"

#include <QLineEdit>
#include <QStringList>

namespace {

// A dotted quad with a few leading zeros still fits.
constexpr qsizetype kMaxAddressLength = 16;

bool isAddressPart(const QString &part)
{
    bool ok = false;
    const ushort value = part.toUShort(&ok, 10);
    return ok && value <= 255;
}

} // namespace

bool checkIpAddress(const QString &typed, QString *cleaned, bool emptyResult)
{
    *cleaned = typed.trimmed().remove(QLatin1Char(' '));
    if (cleaned->isEmpty())
        return emptyResult;
    if (cleaned->size() > kMaxAddressLength)
        return false;
    const QStringList parts = cleaned->split(QLatin1Char('.'), Qt::KeepEmptyParts);
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts)
        if (!isAddressPart(part))
            return false;
    return true;
}

bool checkIpAddress(const QLineEdit *edit, QString *cleaned, bool emptyResult)
{
    return checkIpAddress(edit->text(), cleaned, emptyResult);
}
