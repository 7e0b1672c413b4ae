// The options dialog: language list from the translation files beside the program, buffer
// duration in seconds, hardware rendering, the relaunch warning and an empty language list.
#include "AppPaths.h"
#include "AppSettings.h"
#include "AppSettingsNotifier.h"
#include "CoreTestSupport.h"
#include "DialogCertificate.h"
#include "DialogChangePassword.h"
#include "DialogCheckPassword.h"
#include "DialogOptions.h"
#include "TestPictures.h"
#include "ZyLanguage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTranslator>

namespace {

class DialogOptionsTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        for (const char *code : {"en", "fr", "de"})
            QFile(programFolder.filePath(QString("bzk6_%1.qm").arg(code))).open(QIODevice::WriteOnly);
        AppPaths::setProgramFolder(programFolder.path());
    }
    void TearDown() override
    {
        AppPaths::setProgramFolder(QString());
        CoreTest::TearDown();
    }

    static QComboBox *languages(QWidget &dialog) { return dialog.findChild<QComboBox *>("comboLanguage"); }
    static QSpinBox *duration(QWidget &dialog) { return dialog.findChild<QSpinBox *>("spinVideoBufferDuration"); }
    static QCheckBox *noHardware(QWidget &dialog)
    {
        return dialog.findChild<QCheckBox *>("checkNoHardwareRendering");
    }
    static void choose(QWidget &dialog, const QString &code)
    {
        languages(dialog)->setCurrentIndex(languages(dialog)->findData(code));
    }

    QTemporaryDir programFolder;
};

TEST_F(DialogOptionsTest, DefaultsShowSixtySecondsHardwareRenderingAndTheCurrentLanguage)
{
    AppPaths::setProgramFolder(QStringLiteral(BZK_PROGRAM_DIR));
    DialogOptions dialog;
    EXPECT_EQ(dialog.windowTitle(), QString("BZK - Options"));
    EXPECT_EQ(dialog.size(), QSize(448, 323));
    EXPECT_EQ(duration(dialog)->value(), 60);
    EXPECT_EQ(duration(dialog)->minimum(), 1);
    EXPECT_EQ(duration(dialog)->maximum(), 200);
    EXPECT_EQ(duration(dialog)->suffix(), QString(" s"));
    EXPECT_FALSE(noHardware(dialog)->isChecked());
    EXPECT_GE(languages(dialog)->minimumWidth(), 100);
    ASSERT_GE(languages(dialog)->findData("en"), 0) << "the program's own translations lie in its folder";
    EXPECT_EQ(languages(dialog)->currentData().toString(), QString("en"));
    EXPECT_EQ(languages(dialog)->currentText(), QString("English"));
    keepPicture(dialog, "DialogOptions");
}

TEST_F(DialogOptionsTest, StoredDurationShowsInWholeSecondsWithinTheRange)
{
    const struct
    {
        quint32 storedMs;
        int shown;
        quint32 storedOnOk;
    } cases[] = {{60000, 60, 60000}, {500, 1, 1000}, {1999, 1, 1000}, {201000, 200, 200000}, {4000000000u, 200, 200000}};
    for (const auto &c : cases) {
        QSettings().setValue("videoBufferDurationMs", c.storedMs);
        DialogOptions dialog;
        EXPECT_EQ(duration(dialog)->value(), c.shown) << c.storedMs;
        press(dialog, "btnOKCancel", QDialogButtonBox::Ok);
        EXPECT_EQ(AppSettings().videoBufferDurationMs(), c.storedOnOk) << c.storedMs;
    }
}

TEST_F(DialogOptionsTest, OkStoresTheValuesAndTellsThePlayer)
{
    QSignalSpy spy(AppSettingsNotifier::instance(), &AppSettingsNotifier::videoBufferDurationChanged);
    BoxRecorder recorder;
    DialogOptions dialog;
    dialog.show();
    duration(dialog)->setValue(25);
    noHardware(dialog)->setChecked(true);
    press(dialog, "btnOKCancel", QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_TRUE(recorder.boxes.isEmpty()) << "the language did not change";
    EXPECT_EQ(AppSettings().videoBufferDurationMs(), 25000u);
    EXPECT_TRUE(AppSettings().noHardwareRendering());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toUInt(), 25000u);
    EXPECT_EQ(QSettings().value("Language").toString(), QString("en")) << "the language in use is stored again";
}

TEST_F(DialogOptionsTest, AnotherLanguageWarnsOnceAndIsSelectedNextTime)
{
    BoxRecorder recorder;
    {
        DialogOptions dialog;
        dialog.show();
        choose(dialog, "fr");
        press(dialog, "btnOKCancel", QDialogButtonBox::Ok);
    }
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(recorder.boxes[0].title, QString("BZK - Options"));
    EXPECT_EQ(recorder.boxes[0].text, QString("You need to relaunch the application for the changes to take effect"));
    EXPECT_EQ(ZyLanguage::currentLanguage(), QString("fr"));
    DialogOptions again;
    EXPECT_EQ(languages(again)->currentData().toString(), QString("fr"));
}

TEST_F(DialogOptionsTest, NoTranslationFilesKeepTheLanguageInUse)
{
    AppPaths::setProgramFolder(programFolder.filePath("empty"));
    QSettings().setValue("Language", "de");
    BoxRecorder recorder;
    DialogOptions dialog;
    dialog.show();
    EXPECT_EQ(languages(dialog)->count(), 0);
    duration(dialog)->setValue(30);
    press(dialog, "btnOKCancel", QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_EQ(ZyLanguage::currentLanguage(), QString("de"));
    EXPECT_EQ(AppSettings().videoBufferDurationMs(), 30000u);
}

TEST_F(DialogOptionsTest, CancelStoresNothing)
{
    QSignalSpy spy(AppSettingsNotifier::instance(), &AppSettingsNotifier::videoBufferDurationChanged);
    DialogOptions dialog;
    dialog.show();
    choose(dialog, "de");
    duration(dialog)->setValue(10);
    noHardware(dialog)->setChecked(true);
    press(dialog, "btnOKCancel", QDialogButtonBox::Cancel);
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    EXPECT_EQ(spy.count(), 0);
    const QSettings settings;
    for (const char *key : {"Language", "videoBufferDurationMs", "noHardwareRendering"})
        EXPECT_FALSE(settings.contains(key)) << key;
}

TEST_F(DialogOptionsTest, FrenchTranslationsNameTheDialogs)
{
    QTranslator french;
    ASSERT_TRUE(french.load(QStringLiteral(BZK_PROGRAM_DIR "/bzk6_fr.qm")));
    QCoreApplication::installTranslator(&french);
    EXPECT_EQ(DialogCheckPassword().windowTitle(), QString("BZK - Saisir le mot de passe"));
    EXPECT_EQ(DialogChangePassword().windowTitle(), QString("Changer le mot de passe"));
    EXPECT_EQ(DialogCertificate().windowTitle(), QString("Certificat"));
    DialogOptions options;
    EXPECT_EQ(options.findChild<QCheckBox *>("checkNoHardwareRendering")->text(),
              QString("Désactiver le rendu matériel"));
    keepPicture(options, "DialogOptions-fr");
    QCoreApplication::removeTranslator(&french);
}

} // namespace
