// Helpers shared by the toolbox tests: clean settings, answered dialogs, event waits, pixels.
#pragma once

#include "ZyModalRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QSettings>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

// Every test starts with empty user and machine-wide settings and no dialog handler.
class ToolboxTest : public ::testing::Test
{
protected:
    void SetUp() override { clearSettings(); }
    void TearDown() override
    {
        ZyModalRunner::setHandler({});
        clearSettings();
    }

    static QSettings machineSettings()
    {
        return QSettings(QSettings::SystemScope, QCoreApplication::organizationName(),
                         QCoreApplication::applicationName());
    }

private:
    static void clearSettings()
    {
        QSettings user;
        user.setFallbacksEnabled(false);
        user.clear();
        machineSettings().clear();
    }
};

// Processes events until the condition holds or fifteen seconds pass (sanitized builds on a
// loaded machine are slow; a passing wait returns as soon as its condition holds).
inline bool waitUntil(const std::function<bool()> &condition)
{
    QDeadlineTimer deadline(15000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

inline QImage render(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor pixelAt(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}
