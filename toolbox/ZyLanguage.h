// The user's language choice and the translation files found beside the program.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;

class ZyLanguage : public QObject
{
    Q_OBJECT

public:
    ZyLanguage() = delete;

    static QString currentLanguage();
    static bool setLanguage(const QString &code);
    static void availableLanguages(const QString &pattern, QStringList &codes, QStringList &names);
    static void fillCombo(const QString &pattern, QComboBox *combo);
    static bool installTranslator(const QString &pattern);

    static QString languageName(const QString &code);
};
