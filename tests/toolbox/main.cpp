// Runs the toolbox tests inside a QApplication, offscreen, with settings in a temporary folder.
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settingsDir;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, settingsDir.filePath("user"));
        QSettings::setPath(format, QSettings::SystemScope, settingsDir.filePath("system"));
    }
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Brondmere");
    QCoreApplication::setApplicationName("BZK7");
    return RUN_ALL_TESTS();
}
