// The user's language choice and the translation files found beside the program.
#include "ZyLanguage.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

namespace {
const char *const kLanguageKey = "Language";
}

QString ZyLanguage::currentLanguage()
{
    // Without fall-backs, so a key missing from the user scope is told apart from an empty one.
    QSettings user;
    user.setFallbacksEnabled(false);
    if (user.contains(kLanguageKey))
        return user.value(kLanguageKey).toString();
    const QSettings machine(QSettings::SystemScope, QCoreApplication::organizationName(),
                            QCoreApplication::applicationName());
    return machine.value(kLanguageKey, "en").toString();
}

bool ZyLanguage::setLanguage(const QString &code)
{
    const bool changed = currentLanguage() != code;
    QSettings().setValue(kLanguageKey, code);
    return changed;
}

QString ZyLanguage::languageName(const QString &code)
{
    const QLocale::Language language = QLocale(code).language();
    switch (language) {
    case QLocale::French:
        return tr("French");
    case QLocale::English:
        return tr("English");
    case QLocale::German:
        return tr("German");
    case QLocale::Spanish:
        return tr("Spanish");
    default:
        return QLocale::languageToString(language);
    }
}

void ZyLanguage::availableLanguages(const QString &pattern, QStringList &codes, QStringList &names)
{
    codes.clear();
    names.clear();
    const QString wild = QString(pattern).replace("%1", "*").replace('\\', '/');
    const qsizetype slash = wild.lastIndexOf('/');
    const QString folder = slash < 0 ? QDir::currentPath() : wild.left(slash);
    const QString filter = slash < 0 ? wild : wild.mid(slash + 1);
    const qsizetype star = filter.indexOf('*');
    if (star < 0)
        return;
    // The code is whatever stands between the text before and after the wildcard.
    const qsizetype suffixLength = filter.size() - star - 1;
    const QStringList entries = QDir(folder).entryList({filter}, QDir::Files, QDir::Unsorted);
    for (const QString &entry : entries) {
        const QString code = entry.mid(star, entry.size() - star - suffixLength);
        codes.append(code);
        names.append(languageName(code));
    }
}

void ZyLanguage::fillCombo(const QString &pattern, QComboBox *combo)
{
    combo->clear();
    QStringList codes;
    QStringList names;
    availableLanguages(pattern, codes, names);
    for (qsizetype i = 0; i < codes.size(); ++i)
        combo->addItem(names.at(i), codes.at(i));
    const int current = combo->findData(currentLanguage(), Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (current >= 0)
        combo->setCurrentIndex(current);
}

bool ZyLanguage::installTranslator(const QString &pattern)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString file = QString(pattern).replace("%1", currentLanguage());
    // Qt's own catalogues live in Qt's translations folder unless the program carries a copy.
    const bool loaded = translator->load(file)
        || translator->load(QFileInfo(file).fileName(), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
