// Runs the core tests inside a QApplication, offscreen, with the runtime started as the program
// does, and both settings scopes and the application-data folder in a temporary folder.
#include "SA.h"

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
    SA_Init(0, 0, -1);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir scratch;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, scratch.filePath("user"));
        QSettings::setPath(format, QSettings::SystemScope, scratch.filePath("system"));
    }
    qputenv("APPDATA", scratch.filePath("appdata").toUtf8());
    int result = 0;
    {
        QApplication app(argc, argv);
        QCoreApplication::setOrganizationName("Brondmere");
        QCoreApplication::setApplicationName("BZK7");
        result = RUN_ALL_TESTS();
    }
    SA_Release();
    return result;
}
