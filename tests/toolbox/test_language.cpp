// Language choice: the kept code and its fall-backs, translation files found and installed.
#include "ToolboxTestSupport.h"
#include "ZyLanguage.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTranslator>

#include <algorithm>

namespace {

class LanguageTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }

    void TearDown() override
    {
        const QList<QTranslator *> translators = QCoreApplication::instance()->findChildren<QTranslator *>();
        for (QTranslator *translator : translators) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        ToolboxTest::TearDown();
    }

    void touch(const QStringList &names) const
    {
        for (const QString &name : names) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }

    // Codes and names as pairs, sorted, since the folder's listing order is the platform's.
    static QStringList pairs(const QStringList &codes, const QStringList &names)
    {
        QStringList result;
        for (qsizetype i = 0; i < codes.size(); ++i)
            result.append(codes.at(i) + "=" + names.value(i));
        std::sort(result.begin(), result.end());
        return result;
    }

    QTemporaryDir dir;
};

TEST_F(LanguageTest, LanguageComesFromUserThenMachineScopeThenEnglish)
{
    EXPECT_EQ(ZyLanguage::currentLanguage(), QString("en"));
    machineSettings().setValue("Language", "de");
    EXPECT_EQ(ZyLanguage::currentLanguage(), QString("de"));
    QSettings().setValue("Language", "fr");
    EXPECT_EQ(ZyLanguage::currentLanguage(), QString("fr"));
    QSettings().setValue("Language", "");
    EXPECT_EQ(ZyLanguage::currentLanguage(), QString(""));
}

TEST_F(LanguageTest, SettingTheLanguageTellsWhetherItChangedAndAlwaysStoresIt)
{
    machineSettings().setValue("Language", "fr");
    EXPECT_FALSE(ZyLanguage::setLanguage("fr"));
    QSettings user;
    user.setFallbacksEnabled(false);
    EXPECT_EQ(user.value("Language").toString(), QString("fr"));
    EXPECT_TRUE(ZyLanguage::setLanguage("FR"));
    EXPECT_TRUE(ZyLanguage::setLanguage("de"));
    EXPECT_EQ(ZyLanguage::currentLanguage(), QString("de"));
}

TEST_F(LanguageTest, AvailableLanguagesAreTheCodesBetweenThePatternsPrefixAndSuffix)
{
    touch({"divers_de.qm", "divers_en.qm", "divers_es.qm", "divers_fr.qm", "divers_it.qm", "divers_pt_BR.qm",
           "other_de.qm", "divers_de.ts"});
    const QStringList expected = {"de=German", "en=English",  "es=Spanish",
                                  "fr=French", "it=Italian", "pt_BR=Portuguese"};
    QStringList codes{"stale"};
    QStringList names{"stale"};
    ZyLanguage::availableLanguages(dir.filePath("divers_%1.qm"), codes, names);
    EXPECT_EQ(pairs(codes, names), expected);

    const QString backslashed = QString(dir.filePath("divers_%1.qm")).replace('/', '\\');
    ZyLanguage::availableLanguages(backslashed, codes, names);
    EXPECT_EQ(pairs(codes, names), expected);

    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ZyLanguage::availableLanguages("divers_%1.qm", codes, names);
    QDir::setCurrent(saved);
    EXPECT_EQ(pairs(codes, names), expected);
}

TEST_F(LanguageTest, ComboListsTheLanguagesAndSelectsTheCurrentOne)
{
    touch({"bzk6_de.qm", "bzk6_en.qm", "bzk6_fr.qm"});
    QSettings().setValue("Language", "fr");
    QComboBox combo;
    combo.addItem("old");
    ZyLanguage::fillCombo(dir.filePath("bzk6_%1.qm"), &combo);
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.currentData().toString(), QString("fr"));
    EXPECT_EQ(combo.currentText(), QString("French"));

    QSettings().setValue("Language", "FR");
    ZyLanguage::fillCombo(dir.filePath("bzk6_%1.qm"), &combo);
    EXPECT_EQ(combo.currentIndex(), 0);
}

TEST_F(LanguageTest, TranslatorOfTheChosenLanguageIsInstalled)
{
    QSettings().setValue("Language", "fr");
    ASSERT_TRUE(QFile::exists(BZK_PROGRAM_DIR "/divers_fr.qm"));
    EXPECT_TRUE(ZyLanguage::installTranslator(BZK_PROGRAM_DIR "/divers_%1.qm"));
    EXPECT_EQ(QCoreApplication::translate("ZyADTreeWidgetItem", "Add"), QString("Ajouter"));
    EXPECT_EQ(ZyLanguage::languageName("de"), QString("Allemand"));
}

TEST_F(LanguageTest, MissingTranslationFileInstallsNothing)
{
    QSettings().setValue("Language", "xx");
    EXPECT_FALSE(ZyLanguage::installTranslator(BZK_PROGRAM_DIR "/divers_%1.qm"));
    EXPECT_TRUE(QCoreApplication::instance()->findChildren<QTranslator *>().isEmpty());
}

TEST_F(LanguageTest, QtsOwnCatalogueComesFromQtsFolderWhenNotBesideTheProgram)
{
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(qtFolder + "/qtbase_fr.qm"))
        GTEST_SKIP() << "Qt's French catalogue is not installed";
    QSettings().setValue("Language", "fr");
    EXPECT_TRUE(ZyLanguage::installTranslator(dir.filePath("qtbase_%1.qm")));
}

} // namespace
