// Helpers of the main-window tests: the program's arguments as the window reads them, a
// discovery object on a free loopback port, and the daily log file read from a mark.
#pragma once

#include "Announcer.h"
#include "AppSettings.h"
#include "CoreTestSupport.h"
#include "DiscoveryFactory.h"
#include "Model.h"
#include "PXR_Internal.h"
#include "PXRDiscoverTreeWidget.h"
#include "ZyAppData.h"

#include <QDate>
#include <QFile>
#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

// Replaces what QCoreApplication::arguments() answers after the program's own name.
void setProgramArguments(const QStringList &arguments);

// The daily log file that the window writes in the application-data folder.
inline QString dailyLogPath()
{
    return ZyAppData::folder() + QStringLiteral("/BZK/") + QDate::currentDate().toString("yyyyMMdd")
           + QStringLiteral("_BZK7.log");
}

// The sensor library's waits shortened for connections on loopback; the library's first-bytes
// and hello waits stay as they are unless the test names them.
inline void shortenConnectionTiming()
{
    PXR_resetTiming();
    PXR_Timing *timing = PXR_timing();
    timing->u32ConnectRetryMs = 50;
    timing->u32TlsRetryMs = 50;
    timing->u32ReconnectDelayMs = 100;
    timing->u32RequestPollMs = 50;
    timing->u32StopPollMs = 50;
}

// Every text of the tree's items, all columns.
inline QStringList treeTexts(QTreeWidget *tree)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it)
        for (int column = 0; column < tree->columnCount(); ++column)
            texts << (*it)->text(column);
    return texts;
}

// Processes events until the condition holds; generous, for loaded machines.
inline bool waitLong(const std::function<bool()> &condition, int timeoutMs = 20000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Announces again and again (the listener's socket may still be opening), refreshing the list
// rather than waiting for its tick, until it shows the address; the row, or null.
inline QTreeWidgetItem *announceUntilListed(PXRDiscoverTreeWidget *list, const std::function<void()> &announce,
                                            const QString &address)
{
    constexpr int kAddressColumn = 2;
    QTreeWidgetItem *found = nullptr;
    waitLong([&] {
        announce();
        list->refresh();
        const QList<QTreeWidgetItem *> rows = list->findItems(address, Qt::MatchExactly, kAddressColumn);
        found = rows.isEmpty() ? nullptr : rows.first();
        return found != nullptr;
    });
    return found;
}

// Lines written to the daily log after the mark was taken.
class LogMark
{
public:
    LogMark() : m_offset(QFile(dailyLogPath()).size()) {}

    QStringList lines() const
    {
        QFile file(dailyLogPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        file.seek(m_offset);
        return QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    // Lines that contain the text, in order.
    QStringList linesWith(const QString &text) const { return lines().filter(text); }

private:
    qint64 m_offset;
};

// Clean settings, software rendering, no arguments and a discovery object listening on a free
// loopback port, where the test announces its sensors.
class MainWindowTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        AppSettings().setNoHardwareRendering(true);
        setProgramArguments({});
        discoveryPort = fybsim::Announcer::unusedPort();
        DiscoveryFactory::setCreator([port = discoveryPort] {
            PXRDiscover *discover = PXRDiscoverCreate();
            if (discover != nullptr)
                discover->u16Port = port;
            return discover;
        });
    }
    void TearDown() override
    {
        DiscoveryFactory::setCreator({});
        setProgramArguments({});
        Model::instance()->masterSensor().disconnect();
        CoreTest::TearDown();
    }

    uint16_t discoveryPort = 0;
};
