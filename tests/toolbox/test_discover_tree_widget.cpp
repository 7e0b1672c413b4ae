// Discovered-sensors list: rows follow a real listener fed by loopback announcements.
#include "PXRDiscoverTreeWidget.h"
#include "PXRDiscoverTreeWidgetItem.h"
#include "TestPictures.h"

#include "Announcer.h"
#include "PXR_Internal.h"

#include <QTranslator>

#include <functional>

namespace {

using fybsim::Announcer;
using fybsim::Element;

enum { ColLock, ColWarning, ColAddress, ColPort, ColPortSSL, ColMac, ColVersion, ColEquipment, ColAlgorithms,
       ColCommandPort, ColTimePort, ColName, ColCardClass };

const char *const kOldFirmwareTip =
    "KGV firmwares < 6.1.4 do not work perfectly with the PXR, it is recommended to update them";

// A discover message built by hand, as the listener would hand it out.
PXRMsg *discoverMessage(const std::vector<std::pair<const char *, const char *>> &attributes,
                        const std::vector<const char *> &algorithms = {}, bool withAlgorithms = false)
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgElement *psRoot = PXRMsgElementCreate("discover");
    PXRMsgSetChild(psMsg, psRoot);
    for (const auto &[name, value] : attributes)
        PXRMsgElementSetAttribute(psRoot, name, value);
    if (withAlgorithms) {
        PXRMsgElement *psAlgorithms = PXRMsgElementCreate("enabledAlgorithms");
        PXRMsgElementAddChild(psRoot, psAlgorithms);
        for (const char *name : algorithms)
            PXRMsgElementAddChild(psAlgorithms, PXRMsgElementCreate(name));
    }
    return psMsg;
}

// A list whose sensors come from the test, and which may hide the ones marked hidden.
class ScriptedList : public PXRDiscoverTreeWidget
{
public:
    std::function<QList<PXRMsg *>()> source;
    bool hideMarked = false;

    bool getDiscovered(QList<PXRMsg *> &messages) override
    {
        if (!source)
            return PXRDiscoverTreeWidget::getDiscovered(messages);
        messages = source();
        return !messages.isEmpty();
    }
    bool acceptSensor(PXRMsg *psMsg) override
    {
        return !hideMarked || !PXRMsgElementAttributeValue(PXRMsgChild(psMsg), "hidden");
    }
};

class DiscoverTreeWidgetTest : public ToolboxTest
{
protected:
    static void SetUpTestSuite() { ASSERT_EQ(PXR_initLibrary(), 1); }
    static void TearDownTestSuite() { PXR_releaseLibrary(); }

    void TearDown() override
    {
        list.reset();
        if (discover)
            PXRDiscoverDestroy(discover);
        ToolboxTest::TearDown();
    }

    // A listener on a free loopback port with the given expiry, shown through a list.
    void listen(uint32_t expiryMs = PXR_DISCOVER_EXPIRY_MS)
    {
        port = Announcer::unusedPort();
        discover = PXRDiscoverCreate();
        ASSERT_NE(discover, nullptr);
        discover->u16Port = port;
        discover->u32ExpiryMs = expiryMs;
        ASSERT_EQ(PXRDiscoverStart(discover), 1);
        list = std::make_unique<ScriptedList>();
        list->resize(900, 200);
        list->init(discover);
        announcer = std::make_unique<Announcer>(port);
    }

    // Refreshes (rather than waiting for the two-second tick) until the condition holds.
    bool refreshUntil(const std::function<bool()> &condition)
    {
        return waitUntil([&] {
            list->refresh();
            return condition();
        });
    }

    // Announces until the listener has heard it (its socket may still be opening).
    bool announceUntil(const Element &announcement, const std::function<bool()> &heard)
    {
        return refreshUntil([&] {
            announcer->announce(announcement);
            return heard();
        });
    }

    QTreeWidgetItem *rowOf(const QString &address, int port = 0)
    {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem *row = list->topLevelItem(i);
            if (row->text(ColAddress) == address && (!port || row->text(ColPort) == QString::number(port)))
                return row;
        }
        return nullptr;
    }

    PXRDiscover *discover = nullptr;
    uint16_t port = 0;
    std::unique_ptr<ScriptedList> list;
    std::unique_ptr<Announcer> announcer;
};

TEST_F(DiscoverTreeWidgetTest, AnnouncedSensorAppearsThenUpdatesInItsOwnRow)
{
    listen();
    Element first = Announcer::announcement(10001, 12001);
    first.set("version", "8.1.0").set("macAddress", "00:11:22:33:44:55").set("locked", "true");
    ASSERT_TRUE(announceUntil(first, [&] { return list->topLevelItemCount() == 1; }));
    QTreeWidgetItem *row = list->topLevelItem(0);
    EXPECT_EQ(row->text(ColAddress), "127.0.0.1");
    EXPECT_EQ(row->data(ColPort, Qt::UserRole), QVariant(10001));
    EXPECT_EQ(row->text(ColPortSSL), "12001");
    EXPECT_EQ(row->text(ColVersion), "8.1.0");
    EXPECT_EQ(row->toolTip(ColLock), "Locked");
    EXPECT_EQ(row->text(ColName), "N/A");
    PXRMsg *psKept = PXRDiscoverTreeWidget::sensorMessage(row);
    EXPECT_STREQ(PXRMsgElementAttributeValue(PXRMsgChild(psKept), "uniqueKey"), "127.0.0.1:10001/12001");

    Element second = Announcer::announcement(10001, 12001);
    second.set("version", "8.2.0").set("locked", "false");
    ASSERT_TRUE(announceUntil(second, [&] { return list->topLevelItem(0)->text(ColVersion) == "8.2.0"; }));
    ASSERT_EQ(list->topLevelItemCount(), 1);
    row = list->topLevelItem(0);
    EXPECT_EQ(row->toolTip(ColLock), "Unlocked");
    EXPECT_EQ(row->text(ColMac), "00:11:22:33:44:55"); // kept from the first announcement
}

TEST_F(DiscoverTreeWidgetTest, SensorNotHeardWithinTheExpiryLeavesTheList)
{
    listen(300);
    ASSERT_TRUE(announceUntil(Announcer::announcement(10001), [&] { return list->topLevelItemCount() == 1; }));
    EXPECT_EQ(list->topLevelItem(0)->text(ColPortSSL), "N/A");
    EXPECT_TRUE(refreshUntil([&] { return list->topLevelItemCount() == 0; }));
}

TEST_F(DiscoverTreeWidgetTest, LegacyAnnouncementsShowTheirPortsAlgorithmsAndOldFirmwareWarning)
{
    listen();
    fybsim::LegacySensorInfo old;
    old.major = 6;
    old.minor = 1;
    old.patch = 3;
    old.locked = 1;
    old.commandPort = 11012;
    old.streamPort = 10002;
    ASSERT_TRUE(refreshUntil([&] {
        announcer->send(Announcer::legacySensor(old));
        return rowOf("127.0.0.1") != nullptr;
    }));
    QTreeWidgetItem *row = rowOf("127.0.0.1");
    EXPECT_EQ(row->text(ColPort), "10002");
    EXPECT_EQ(row->text(ColCommandPort), "11012");
    EXPECT_EQ(row->text(ColEquipment), "KGV sensor");
    EXPECT_EQ(row->text(ColAlgorithms), "anpr ");
    EXPECT_EQ(row->toolTip(ColWarning), kOldFirmwareTip);
    EXPECT_EQ(row->toolTip(ColLock), "Locked");
}

TEST_F(DiscoverTreeWidgetTest, LegacyPortsAreShownUnsigned)
{
    listen();
    fybsim::LegacySensorInfo sensor;
    sensor.commandPort = sensor.streamPort = sensor.timePort = 0xFFFFFFFF;
    ASSERT_TRUE(refreshUntil([&] {
        announcer->send(Announcer::legacySensor(sensor));
        return rowOf("127.0.0.1") != nullptr;
    }));
    QTreeWidgetItem *row = rowOf("127.0.0.1");
    for (int column : {ColPort, ColCommandPort, ColTimePort})
        EXPECT_EQ(row->text(column), "4294967295") << column;
}

TEST_F(DiscoverTreeWidgetTest, ListHidesSensorWhoseLatestAnnouncementItRefuses)
{
    listen();
    list->hideMarked = true;
    ASSERT_TRUE(announceUntil(Announcer::announcement(10001), [&] { return list->topLevelItemCount() == 1; }));
    Element hidden = Announcer::announcement(10001);
    hidden.set("hidden", "1");
    EXPECT_TRUE(announceUntil(hidden, [&] { return list->topLevelItemCount() == 0; }));
}

class ScriptedListTest : public DiscoverTreeWidgetTest
{
protected:
    void SetUp() override
    {
        DiscoverTreeWidgetTest::SetUp();
        list = std::make_unique<ScriptedList>();
        list->resize(900, 200);
        list->source = [this] {
            QList<PXRMsg *> copies;
            for (PXRMsg *psMsg : sensors)
                copies.append(PXRMsgCopy(psMsg));
            return copies;
        };
    }
    void TearDown() override
    {
        for (PXRMsg *psMsg : sensors)
            PXRMsgDestroy(psMsg);
        DiscoverTreeWidgetTest::TearDown();
    }

    QTreeWidgetItem *fill(PXRMsg *psMsg)
    {
        auto *row = new PXRDiscoverTreeWidgetItem;
        list->addTopLevelItem(row);
        list->fillItem(row, psMsg);
        return row;
    }

    QList<PXRMsg *> sensors;
};

TEST_F(ScriptedListTest, KeyDifferingOnlyInCaseRefillsTheRowAndSilenceEmptiesTheList)
{
    sensors = {discoverMessage({{"uniqueKey", "gate-a:10001/0"}, {"ipAddress", "10.0.0.5"}})};
    list->refresh();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    PXRMsgDestroy(sensors[0]);
    sensors = {discoverMessage({{"uniqueKey", "GATE-A:10001/0"}, {"ipAddress", "10.0.0.5"}, {"name", "gate"}})};
    list->refresh();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(ColName), "gate");
    for (PXRMsg *psMsg : sensors)
        PXRMsgDestroy(psMsg);
    sensors.clear();
    list->refresh();
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(PXRDiscoverTreeWidget::sensorMessage(nullptr), nullptr);
}

TEST_F(ScriptedListTest, PortsLocksAndAlgorithmsFillTheirCells)
{
    QTreeWidgetItem *row =
        fill(discoverMessage({{"port", "0"}, {"portSSL", "0"}, {"locked", "TRUE"}}, {"anpr", "dgpr"}, true));
    EXPECT_EQ(row->text(ColPort), "N/A");
    EXPECT_EQ(row->text(ColPortSSL), "0");
    EXPECT_EQ(row->toolTip(ColLock), "Unlocked");
    EXPECT_EQ(row->text(ColAlgorithms), "anpr dgpr ");
    EXPECT_EQ(row->text(ColCommandPort), "N/A");
    for (const char *locked : {"true", "1"})
        EXPECT_EQ(fill(discoverMessage({{"locked", locked}}))->toolTip(ColLock), "Locked") << locked;
    for (const char *locked : {"yes", "0"})
        EXPECT_EQ(fill(discoverMessage({{"locked", locked}}))->toolTip(ColLock), "Unlocked") << locked;
    QTreeWidgetItem *bare = fill(discoverMessage({}));
    EXPECT_TRUE(bare->icon(ColLock).isNull());
    EXPECT_EQ(bare->text(ColAlgorithms), "N/A");
    EXPECT_TRUE(fill(discoverMessage({}, {}, true))->text(ColAlgorithms).isEmpty());
}

TEST_F(ScriptedListTest, OnlyLegacyEquipmentBelowFirmware614IsWarned)
{
    const struct
    {
        const char *equipment;
        const char *version;
        bool warned;
    } cases[] = {
        {"Lumatek", "6.1.3", true},     {"Lumatek", "6.0.9", true},    {"Lumatek", "5.12.0", true},
        {"KGV sensor", "6.1.x", true},  {"Lumatek", "6.1.4", false},   {"Lumatek", "6.2.0", false},
        {"Lumatek", "7.0.0", false},    {"Lumatek", "6.1", false},     {"Lumatek", "6.1.3.2", false},
        {"Lumatek4", "5.0.0", false},   {"lumatek", "5.0.0", false},   {"Sabrel", "6.1.0", true},
    };
    for (const auto &c : cases) {
        QTreeWidgetItem *row = fill(discoverMessage({{"equipment", c.equipment}, {"version", c.version}}));
        EXPECT_EQ(row->toolTip(ColWarning) == kOldFirmwareTip, c.warned) << c.equipment << " " << c.version;
    }
}

TEST_F(ScriptedListTest, StartingSensorRowKeepsNothingOfItsEarlierAnnouncement)
{
    QTreeWidgetItem *row = fill(discoverMessage({{"ipAddress", "10.0.0.9"}, {"port", "10001"}, {"portSSL", "12001"},
                                                 {"locked", "1"}, {"name", "gate"}, {"cardClass", "master"}},
                                                {"anpr"}, true));
    PXRMsg *psFirst = PXRDiscoverTreeWidget::sensorMessage(row);
    list->fillItem(row, discoverMessage({{"ipAddress", "10.0.0.9"}, {"initStatus", "booting"}, {"version", "9.0.0"}}));
    PXRMsgDestroy(psFirst);
    EXPECT_EQ(row->text(ColEquipment), "Initializing: booting");
    EXPECT_EQ(row->toolTip(ColWarning), "Initializing phase, the sensor will not connect");
    EXPECT_EQ(row->text(ColPort), "N/A");
    EXPECT_EQ(row->text(ColMac), "N/A");
    EXPECT_EQ(row->text(ColVersion), "9.0.0");
    EXPECT_TRUE(row->icon(ColLock).isNull());
    for (int column : {ColPortSSL, ColAlgorithms, ColName, ColCardClass})
        EXPECT_TRUE(row->text(column).isEmpty()) << column;
}

TEST_F(DiscoverTreeWidgetTest, PictureOfTheListWithCurrentAndLegacySensors)
{
    listen();
    Element current = Announcer::announcement(10001, 12001);
    current.set("version", "8.1.0").set("macAddress", "00:11:22:33:44:55").set("equipment", "FYB sensor");
    current.set("locked", "false");
    fybsim::LegacySensorInfo legacy;
    legacy.major = 6;
    legacy.minor = 0;
    fybsim::LegacyCardInfo card;
    card.port = 10005;
    card.name = "card";
    ASSERT_TRUE(refreshUntil([&] {
        announcer->announce(current);
        announcer->send(Announcer::legacySensor(legacy));
        announcer->send(Announcer::legacyCard(card));
        return list->topLevelItemCount() == 3;
    }));
    list->resizeColumnToContents(ColAddress);
    const QImage picture = keepPicture(*list, "PXRDiscoverTreeWidget");
    EXPECT_FALSE(picture.isNull());
}

TEST_F(ScriptedListTest, FrenchFileTranslatesHeadersAndMissingValues)
{
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(BZK_PROGRAM_DIR "/pxrqt_fr.qm")));
    QCoreApplication::installTranslator(&translator);
    discover = PXRDiscoverCreate(); // never started: the headers are all this test needs of init
    list->init(discover);
    QTreeWidgetItem *row = fill(discoverMessage({}));
    EXPECT_EQ(list->headerItem()->text(ColAddress), "Adresse IP");
    EXPECT_EQ(row->text(ColName), "N/D");
    QCoreApplication::removeTranslator(&translator);
}

} // namespace
