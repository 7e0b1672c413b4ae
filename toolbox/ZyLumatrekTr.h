// Labels of the sensor's configuration tokens and names of its recognition context codes, translated.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class ZyLumatrekTr : public QObject
{
    Q_OBJECT

public:
    ZyLumatrekTr() = delete;

    // Each gives the label of the first token matching regardless of case; unknown tokens come back as they are.
    static QString valueLabel(const char *token);
    static QString sideLabel(const char *token);
    static QString lightingLabel(const char *token);
    static QString applicationLabel(const char *token);
    static QString simpleAdvancedLabel(const char *token);
    static QString imageSizeLabel(const char *token);
    static QString phaseLabel(const char *token);
    static QString mountingLabel(const char *token);

    static QString sensorTypeLabel(int type);
    static QString onOffLabel(int value);
    static QString yesNoLabel(int value);
    static QString yesNoLabel(bool value);
    static QString temperatureLabel(int degrees);

    // The name of a context code (exact case); unknown codes come back as they are.
    static QString contextName(const QString &code);
    // The foreign codes proposed for an installation country.
    static QStringList foreignContexts(const QString &countryCode);
};
