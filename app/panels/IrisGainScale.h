// The joint iris and gain scale of the camera panel: one list that first closes or opens the
// iris and, once it is fully open, raises the gain; its entries and how they split again.
#pragma once

#include <QString>
#include <QStringList>

class IrisGainScale
{
public:
    IrisGainScale() = delete;

    // The iris steps but the last, then the last one with each gain.
    static QStringList entries(const QStringList &irises, const QStringList &gains);
    // Each gain with its sign, for a camera that has no iris list.
    static QStringList gainEntries(const QStringList &gains);
    // The last gain text that means no gain, or an empty text.
    static QString zeroGain(const QStringList &gains);
    // The gain behind the iris: directly when it carries a sign, else behind "+".
    static QString joined(const QString &iris, const QString &gain);
    static QString signedGain(const QString &gain) { return joined(QString(), gain); }

    // The attributes an entry sets, names and values in the order sent; both empty when the
    // entry cannot be split. A plain iris step also takes the gain back to the zero gain.
    struct Split
    {
        QStringList names;
        QStringList values;
    };
    static Split split(const QString &entry, const QString &zeroGainText);
};
