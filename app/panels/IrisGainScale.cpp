// The joint iris and gain scale of the camera panel.
#include "IrisGainScale.h"

namespace {

bool hasSign(const QString &text)
{
    return text.startsWith('-') || text.startsWith('+');
}

} // namespace

QString IrisGainScale::joined(const QString &iris, const QString &gain)
{
    return hasSign(gain) ? iris + gain : iris + '+' + gain;
}

QStringList IrisGainScale::entries(const QStringList &irises, const QStringList &gains)
{
    if (irises.isEmpty() || gains.isEmpty())
        return irises;
    QStringList result = irises.mid(0, irises.size() - 1);
    for (const QString &gain : gains)
        result << joined(irises.last(), gain);
    return result;
}

QStringList IrisGainScale::gainEntries(const QStringList &gains)
{
    QStringList result;
    for (const QString &gain : gains)
        result << signedGain(gain);
    return result;
}

QString IrisGainScale::zeroGain(const QStringList &gains)
{
    QString zero;
    for (const QString &gain : gains) {
        if (gain.startsWith(QLatin1String("0 ")) || gain.startsWith(QLatin1String("0.0 ")))
            zero = gain;
    }
    return zero;
}

IrisGainScale::Split IrisGainScale::split(const QString &entry, const QString &zeroGainText)
{
    Split result;
    for (const QChar separator : {QChar('-'), QChar('+')}) {
        if (!entry.contains(separator))
            continue;
        const QStringList parts = entry.split(separator);
        // A second separator of the same kind leaves a part that no name takes.
        if (parts.size() != 2)
            return {};
        if (!parts[0].isEmpty())
            result = {{QStringLiteral("iris")}, {parts[0]}};
        result.names << QStringLiteral("gain");
        result.values << (separator == '-' ? '-' + parts[1] : parts[1]);
        return result;
    }
    result = {{QStringLiteral("iris")}, {entry}};
    if (!zeroGainText.isEmpty()) {
        result.names << QStringLiteral("gain");
        result.values << zeroGainText;
    }
    return result;
}
