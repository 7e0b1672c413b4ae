// The whole window against the test KGV sensor, through the sensor library's legacy bridge:
// the handshake's legacy branches, both trees filled from the bridge's trees, and a lock that the
// sensor keeps across a dropped stream without the window locking it again.
#include "MainWindowTestSupport.h"
#include "OBK.h"
#include "TestPictures.h"

#include "DialogWait.h"
#include "KgvDevice.h"
#include "KgvSensor.h"
#include "KgvStreamPackets.h"
#include "TestTranslations.h"
#include "WidgetGeneralSettings.h"
#include "WidgetSettings.h"

#include <QMessageBox>
#include <QTabWidget>
#include <QTreeWidgetItemIterator>

#include <memory>

namespace {

using kgvsim::Port;

class LegacyConnectionTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        shortenConnectionTiming();
        sensor.setGreeting(Port::Stream, kgvsim::streamConfiguration({}));
        ZyModalRunner::setHandler([this](QDialog *dialog) {
            if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                boxes << box->text();
                return int(QMessageBox::Ok);
            }
            if (qobject_cast<DialogWait *>(dialog) != nullptr)
                ++waits;
            return dialog->exec();
        });
    }
    void TearDown() override
    {
        window.reset();
        ZyModalRunner::setHandler({});
        MainWindowTest::TearDown();
        PXR_resetTiming();
    }

    // The connect page's request, with the legacy sensor's other ports as options; without a size,
    // the window keeps the one it gives itself.
    void connectWindow(QSize size = QSize(1280, 760))
    {
        window = std::make_unique<OBK>();
        if (size.isValid())
            window->resize(size);
        window->show();
        const QString options = QStringLiteral("timePort=%1;commandPort=%2")
                                    .arg(sensor.port(Port::Time))
                                    .arg(sensor.port(Port::Command));
        window->connectToSensor("127.0.0.1", sensor.port(Port::Stream), options, false, false, false, {}, {});
    }
    QStringList infoTexts() { return treeTexts(window->findChild<WidgetGeneralSettings *>("widgetInformations")); }
    QStringList settingsTexts() { return treeTexts(window->findChild<WidgetSettings *>("tabSettings")->tree()); }
    Sensor &master() { return Model::instance()->masterSensor(); }

    kgvsim::KgvSensor sensor;
    kgvsim::KgvDevice device{sensor};
    kgvsim::KgvClock clock{sensor, 0x20000};
    std::unique_ptr<OBK> window;
    QStringList boxes;
    int waits = 0;
};

TEST_F(LegacyConnectionTest, LegacySensorConnectsFillsBothTreesAndKeepsItsLockAcrossADrop)
{
    LogMark log;
    connectWindow();
    ASSERT_TRUE(window->isConnectedLook()) << boxes.join('|').toStdString();
    EXPECT_EQ(log.linesWith("Connected, protocol is KGV").size(), 1);
    EXPECT_EQ(master().detectedProtocol(), "KGV");
    // The sensor's clock is not asked: its dates count as this machine's.
    EXPECT_TRUE(Model::instance()->clockOffsetValid());
    EXPECT_EQ(Model::instance()->clockOffsetMs(), 0);
    EXPECT_TRUE(log.linesWith("XSD received").size() == 1) << log.lines().join('\n').toStdString();

    // The bridge's trees reach both panels through the subscription.
    ASSERT_TRUE(waitLong([&] { return infoTexts().contains("6.2.0"); })) << infoTexts().join('|').toStdString();
    ASSERT_TRUE(waitLong([&] { return settingsTexts().contains("Network"); }))
        << settingsTexts().join('|').toStdString();
    keepPicture(*window, "OBK-connected-legacy");
    // Every tab of the sensor dock, the legacy camera panel among them.
    auto *tabs = window->findChild<QTabWidget *>("tabWidget");
    for (int tab = 1; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        keepPicture(*window, QStringLiteral("OBK-connected-legacy-tab%1").arg(tab));
    }
    tabs->setCurrentIndex(0);

    // Locked through the window, the sensor keeps its lock across a dropped stream: the handshake
    // runs again, without a relock.
    window->on_actionSensorLock_triggered(); // what the lock switch runs
    ASSERT_TRUE(waitLong([&] { return master().isLocked(); })) << boxes.join('|').toStdString();
    LogMark dropped;
    sensor.dropConnections(Port::Stream);
    ASSERT_TRUE(waitLong([&] { return dropped.linesWith("Connected, protocol is KGV").size() == 1; }))
        << dropped.lines().join('\n').toStdString();
    EXPECT_EQ(dropped.linesWith("disconnection received").size(), 1);
    EXPECT_TRUE(dropped.linesWith("relock sensor").isEmpty());
    EXPECT_TRUE(master().isLocked());
    EXPECT_TRUE(window->isConnectedLook());

    window->findChild<QAction *>("actionSensorDisconnect")->trigger();
    EXPECT_FALSE(window->isConnectedLook());
    EXPECT_EQ(Model::instance()->config(), nullptr);
}

// At the size the window gives itself, in English and in French.
TEST_F(LegacyConnectionTest, EveryTabFitsAtTheWindowsOwnSize)
{
    for (const char *language : {"en", "fr"}) {
        const TestTranslations translations(language);
        connectWindow(QSize());
        ASSERT_TRUE(window->isConnectedLook()) << boxes.join('|').toStdString();
        // Texts of the sensor's, the same in every language.
        ASSERT_TRUE(waitLong([&] { return infoTexts().contains("6.2.0"); })) << infoTexts().join('|').toStdString();
        ASSERT_TRUE(waitLong([&] { return settingsTexts().contains("F|GB"); }))
            << settingsTexts().join('|').toStdString();
        auto *tabs = window->findChild<QTabWidget *>("tabWidget");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            keepPicture(*window, QStringLiteral("OBK-layout-legacy-%1-tab%2").arg(language).arg(tab));
        }
        window.reset();
    }
}

} // namespace
