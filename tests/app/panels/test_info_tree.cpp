// The information tree filled from what the test sensor pushes, and its live statistics: every
// section for a full information, the variants a sensor may send, and the statistics rows that
// video moves and "Reset" brings back.
#include "PanelsTestSupport.h"

#include "AppSettings.h"

#include <QTest>

#include <cstdlib>
#include <functional>

namespace {

using panelsfixture::Element;

// The full information as the tree shows it; {yesterday} and {tomorrow} stand for those days.
const char *const kFullTree = R"(# Device
  MAC Address = 00:0A:0B:0C:0D:0E @infos/sensor:macAddress
  Locked = Yes @infos/sensor:locked
  Config modifications forbidden = No @infos/sensor:setConfigForbidden
  Type = Lumatek4 @infos/sensor:type
  Product version = 4.2.1 @infos/sensor:productVersion
  Serial number = LT4-000123 @infos/sensor:serial
  Supports POE = Yes @infos/sensor:POE
  Temperature = 45 °C (CPU: 61 °C) @infos/temperature:temperature_C
  Total reboots = 12 @infos/sensor:reboots
  Unexpected reboots = 1 @infos/sensor:unexpectedReboots
# Modem
  Type = LTE @infos/modem:type
  IMEI = 356938035643809 @infos/modem:imei
  Status = registered @infos/modem:status
  Address = 10.64.0.9 @infos/modem:address
  Network = Operator @infos/modem:network
  Signal = -71 @infos/modem:signal
# Status @infos/sensor:status
  Running = 
  Camera 1 ERROR =  (red)
  Running = 
   = 
# Versions
  Firmware = 4.2.1-7 @infos/sensor:firmwareVersion
  Carrier board = B3 @infos/sensor:carrierboardVersion
  LEDs = Not set (grey) @infos/sensor:ledsVersion
  OS = 6.1 @infos/sensor:osVersion
  ANPR Engine version = 7.3 @infos/anpr:version
# Applications
  # amanoOne @infos/applications/amanoOne
    Version = 1.2 @infos/applications/amanoOne:version
    URL = http://127.0.0.1/amano/index.html @infos/applications/amanoOne:url
  # tiba @infos/applications/tiba
    Not installed = Not set (grey) @infos/applications/tiba:version
# Network @infos/network
  # Wifi @infos/network/interfaceWifi
    MAC address = 00:0A:0B:0C:0D:0F @infos/network/interfaceWifi:macAddress
    Working = Yes @infos/network/interfaceWifi:connected
# RVD @infos/services/rvd
  Performance validation = Activated @infos/services/rvd:performanceValidationActivated
# Camera @infos/cameras/camera
  Model = IMX-1 @infos/cameras/camera:cameraModel
  Resolution = 1920x1080 @infos/cameras/camera:size
  Framerate = 25 @infos/cameras/camera:fps
  Supports IR Cut filter = Yes @infos/cameras/camera:hasIRCutFilter
  Filter = day @infos/cameras/camera:filter
  Supports Flip = No @infos/cameras/camera:hasFlip
  # Algorithms @infos/cameras/camera/enabledAlgorithms
    anpr = Initialized @infos/cameras/camera/enabledAlgorithms/anpr
    dgpr = Not initialized @infos/cameras/camera/enabledAlgorithms/dgpr
    signature =   @infos/cameras/camera/enabledAlgorithms/signature
# Lightings @infos/lightings
  # [led=1] Internal LED board @infos/lightings/led
    Model = IR-850 @infos/lightings/led:ledModel
    Color mode = ir @infos/lightings/led:color
    Version = 2 @infos/lightings/led:version
  # [projector=2] External projector @infos/lightings/projector
    Model = PX-1 @infos/lightings/projector:ledModel
# Security @infos/security
  Certificate common name = gate4.example @infos/security/certificate:commonName
  Certificate organization name = Brondmere @infos/security/certificate:organizationName
  Certificate validity : from = {tomorrow} (red) @infos/security/certificate:validityFrom
  Certificate validity : to = {yesterday} (red) @infos/security/certificate:validityTo
  Lock password = Yes @infos/security:lockPasswordNeeded
  Crypted plates = Yes @infos/security:rsaCrypted
  Plates encryption key hint = Not set (grey) @infos/security:rsaHint
  # 802.1X @infos/security/IEEE8021X
    Authentication method = EAP-TLS @infos/security/IEEE8021X:authentication
    Certificate common name = gate4.example @infos/security/IEEE8021X:commonName
    Certificate organization name = Brondmere @infos/security/IEEE8021X:organizationName
    Certificate validity : from = {yesterday} @infos/security/IEEE8021X:validityFrom
    Certificate validity : to = {tomorrow} @infos/security/IEEE8021X:validityTo
# Technical counters
  padded = 00 @infos/sensor/technicalCounters:padded
  frames = 3 @infos/sensor/technicalCounters:frames
# Statistics {stats} [Reset]
  Msg drops = 0
  Average video packet size = 0 bytes
  Min video packet size = N/A
  Max video packet size = 0 bytes
  Max video frame duration = 0 ms
  Min video frame duration = 0 ms
  Average video frame duration = 0 ms
  Delay for New = 0 ms
  Delay for Decision = 0 ms
  Delay for End = 0 ms)";

QString shownDay(int fromToday)
{
    return QDate::currentDate().addDays(fromToday).toString("dd/MM/yyyy");
}

class InfoTreeTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        // Video is counted, not decoded.
        AppSettings().setDisplayVideo(false);
        server.setConfig(panelsfixture::fullConfig());
        server.setInfos(panelsfixture::fullInfos());
        tree = std::make_unique<WidgetGeneralSettings>();
        tree->setupHeader("treeInformations");
    }
    void TearDown() override
    {
        tree.reset();
        PanelTest::TearDown();
    }

    QStringList filled()
    {
        tree->fillInfos();
        return dump(*tree);
    }

    QString statistic(const QString &caption) const
    {
        QTreeWidgetItem *row = rowAt(*tree, {"Statistics", caption});
        return row != nullptr ? row->text(1) : QString("(none)");
    }

    std::unique_ptr<WidgetGeneralSettings> tree;
};

TEST_F(InfoTreeTest, AFullInformationShowsEverySectionStatusPartAndCertificateColour)
{
    ASSERT_NO_FATAL_FAILURE(connectModel());
    const QString expected = QString(kFullTree).replace("{yesterday}", shownDay(-1)).replace("{tomorrow}", shownDay(1));
    EXPECT_EQ(filled(), expected.split('\n'));
    tree->resize(440, 1500);
    tree->header()->resizeSection(0, 230);
    keepPicture(*tree, "info_tab");

    // The tree is built anew each time: a second fill shows the same rows once.
    EXPECT_EQ(filled(), expected.split('\n'));
    tree->clearTree();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

struct Variant {
    const char *name;
    std::function<void(Element &infos)> change;
    QStringList shown;
    QStringList gone;
};

void PrintTo(const Variant &variant, std::ostream *out)
{
    *out << variant.name;
}

void dropChildren(Element &parent, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        std::erase_if(parent.children, [name](const Element &child) { return child.name == name; });
}

Element &childOf(Element &parent, const char *name)
{
    return *std::find_if(parent.children.begin(), parent.children.end(),
                         [name](const Element &child) { return child.name == name; });
}

const Variant kVariants[] = {
    {"NoSensor", [](Element &infos) { dropChildren(infos, {"sensor", "anpr"}); },
     {"# Device", "  Temperature = 45 °C (CPU: 61 °C) @infos/temperature:temperature_C"},
     {"# Versions", "# Status @infos/sensor:status", "  MAC Address = 00:0A:0B:0C:0D:0E @infos/sensor:macAddress"}},
    {"TemperatureWithoutValues",
     [](Element &infos) { childOf(infos, "temperature").attributes.clear(); },
     {"  Temperature = Not set (grey) @infos/temperature:temperature_C"}, {}},
    {"TwoCameras",
     [](Element &infos) {
         childOf(infos, "cameras").add(Element("camera").set("id", "1").set("cameraModel", "IMX-2"));
     },
     {"# Cameras @infos/cameras", "  # Camera 0 @infos/cameras/camera",
      "    Model = IMX-1 @infos/cameras/camera:cameraModel", "  # Camera 1 @infos/cameras/camera",
      "    Model = IMX-2 @infos/cameras/camera:cameraModel"},
     {"# Camera @infos/cameras/camera"}},
    {"NoCamera", [](Element &infos) { childOf(infos, "cameras").children.clear(); }, {},
     {"# Camera @infos/cameras/camera", "  Model = IMX-1 @infos/cameras/camera:cameraModel"}},
    {"Dot1xNone",
     [](Element &infos) { childOf(childOf(infos, "security"), "IEEE8021X").set("authentication", "NONE"); },
     {"    Authentication method = None (disabled) @infos/security/IEEE8021X:authentication"},
     {"    Certificate common name = gate4.example @infos/security/IEEE8021X:commonName"}},
    {"CertificateDateWrittenOtherwise",
     [](Element &infos) { childOf(childOf(infos, "security"), "certificate").set("validityTo", "31/12/2001"); },
     {"  Certificate validity : to = 31/12/2001 @infos/security/certificate:validityTo"}, {}},
    {"ValidationRecording",
     [](Element &infos) { childOf(childOf(infos, "services"), "rvd").set("performanceValidationStarted", "true"); },
     {"  Performance validation = Recording @infos/services/rvd:performanceValidationStarted"}, {}},
};

class InfoVariantTest : public InfoTreeTest, public ::testing::WithParamInterface<Variant>
{
};

TEST_P(InfoVariantTest, ShowsWhatTheSensorSends)
{
    Element infos = panelsfixture::fullInfos();
    GetParam().change(infos);
    server.setInfos(infos);
    ASSERT_NO_FATAL_FAILURE(connectModel());
    const QStringList lines = filled();
    for (const QString &line : GetParam().shown)
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    for (const QString &line : GetParam().gone)
        EXPECT_FALSE(lines.contains(line)) << line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Infos, InfoVariantTest, ::testing::ValuesIn(kVariants),
                         [](const auto &info) { return std::string(info.param.name); });

Element video(qint64 date, std::size_t size)
{
    Element message("video");
    message.set("codec", "jpeg").set("cameraId", "0").set("date", std::to_string(date));
    message.add(Element("data").withContent(std::string(size, 'v')));
    return message;
}

TEST_F(InfoTreeTest, VideoMovesTheStatisticsEvery400MsAndResetBringsThemBack)
{
    ASSERT_NO_FATAL_FAILURE(connectModel());
    tree->fillInfos();
    EXPECT_EQ(statistic("Min video packet size"), "N/A");

    const qint64 base = 1700000000000;
    for (const auto &[date, size] : {std::pair<qint64, std::size_t>{base, 100}, {base + 40, 300}, {base + 100, 500}})
        ASSERT_EQ(server.push(video(date, size)), 1u);
    // No earlier refresh shows this mean: it needs all three packets.
    ASSERT_TRUE(waitUntil([&] { return statistic("Average video packet size") == "300 bytes"; }));
    const std::pair<QString, QString> moved[] = {
        {"Msg drops", "0"},
        {"Min video packet size", "100 bytes"},
        {"Max video packet size", "500 bytes"},
        {"Max video frame duration", "60 ms"},
        {"Min video frame duration", "40 ms"},
        {"Average video frame duration", "50 ms"},
    };
    for (const auto &[caption, value] : moved)
        EXPECT_EQ(statistic(caption), value) << caption.toStdString();

    // A recognition made 300 ms before it arrives, by the sensor's clock.
    ASSERT_NO_FATAL_FAILURE(askSensorClock(0));
    const qint64 made = QDateTime::currentMSecsSinceEpoch() - 300;
    ASSERT_EQ(server.push(Element("anpr").set("date", std::to_string(made)).add(Element("new"))), 1u);
    ASSERT_TRUE(waitUntil([&] { return statistic("Delay for New") != "0 ms"; }));
    const int delay = statistic("Delay for New").chopped(3).toInt();
    // The measured offset holds the getDate round trip, which a loaded machine stretches.
    EXPECT_GE(delay, 300 - std::abs(model()->clockOffsetMs()) - 5) << "offset " << model()->clockOffsetMs();
    EXPECT_LT(delay, 1300);
    EXPECT_EQ(statistic("Delay for Decision"), "0 ms");

    // "Reset" from its link: the rows at once, and no dialog asked for.
    QSignalSpy opened(tree.get(), &WidgetGeneralSettings::openDialog);
    tree->resize(400, 600);
    tree->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tree.get()));
    QLabel *reset = linkOf(*tree, rowAt(*tree, {"Statistics"}));
    ASSERT_NE(reset, nullptr);
    tree->scrollToItem(rowAt(*tree, {"Statistics"}));
    QTest::mouseClick(reset, Qt::LeftButton, {}, QPoint(reset->contentsMargins().left() + 4, reset->height() / 2));
    EXPECT_EQ(statistic("Min video packet size"), "N/A");
    EXPECT_EQ(statistic("Average video packet size"), "0 bytes");
    EXPECT_EQ(statistic("Max video frame duration"), "0 ms");
    EXPECT_EQ(statistic("Delay for New"), "0 ms");
    EXPECT_EQ(opened.count(), 0);

    // Cleared, the tree has no statistics section for the timer to write into.
    tree->clearTree();
    tree->on_timerStat_timeout();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

} // namespace
