// What every Qt test program sets up before its application object: offscreen windows,
// Google Test's arguments, and user and machine-wide settings kept in a temporary folder.
#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

inline void prepareQtTests(int *argc, char **argv, const QTemporaryDir &settingsDir)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, settingsDir.filePath("user"));
        QSettings::setPath(format, QSettings::SystemScope, settingsDir.filePath("system"));
    }
}

// The program's own names, under which the settings are kept.
inline void nameQtTestApplication()
{
    QCoreApplication::setOrganizationName("Brondmere");
    QCoreApplication::setApplicationName("BZK7");
}
