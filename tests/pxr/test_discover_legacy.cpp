// The legacy family's discovery datagrams: each layout into its discover message, and short
// datagrams refused before any field is read.
#include <ostream>
#include <string>
#include <vector>

#include "Announcer.h"
#include "DiscoverTestSupport.h"
#include "PxrTestSupport.h"

namespace {

using fybsim::Announcer;
using fybsim::LegacyCardInfo;
using fybsim::LegacySensorInfo;
using fybsim::Mac;

const char kSender[] = "10.0.0.5";

LegacySensorInfo sensorInfo(std::uint16_t major, std::uint16_t minor, std::uint16_t patch, std::uint32_t algorithm)
{
    LegacySensorInfo info;
    info.mac = Mac{0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
    info.major = major;
    info.minor = minor;
    info.patch = patch;
    info.algorithm = algorithm;
    return info;
}

LegacyCardInfo cardInfo()
{
    LegacyCardInfo info;
    info.name = "card-1";
    info.lockingClient = "192.168.0.9";
    info.slaveAnprMac = Mac{1, 2, 3, 4, 5, 6};
    info.slaveContextMac = Mac{6, 5, 4, 3, 2, 1};
    return info;
}

std::string sensorText(const std::string &version, const std::string &algorithms, const std::string &key = "11011",
                       const std::string &commandPort = "11011")
{
    return "discover(uniqueKey=10.0.0.5:" + key +
           ",macAddress=aa:bb:cc:dd:ee:ff,equipment=KGV sensor,port=10001,version=" + version +
           ",locked=0,commandPort=" + commandPort + ",timePort=10000,ipAddress=10.0.0.5){enabledAlgorithms" +
           algorithms + "}";
}

std::string cardText(const std::string &attributes, const std::string &algorithms = "")
{
    return "discover(uniqueKey=10.0.0.5:10001," + attributes + ",ipAddress=10.0.0.5){enabledAlgorithms" + algorithms +
           "}";
}

const std::string kCardAttributes = "name=card-1,lockingClientIP=192.168.0.9,cardClass=master,"
                                    "slaveANPRMacAddress=01:02:03:04:05:06,slaveContextMacAddress=06:05:04:03:02:01";

struct LegacyCase {
    const char *pcszName;
    std::vector<std::string> datagrams; // received in order from the same sender
    std::string expected;               // the one entry they leave
};

void PrintTo(const LegacyCase &legacyCase, std::ostream *psStream)
{
    *psStream << legacyCase.pcszName;
}

std::vector<LegacyCase> legacyCases()
{
    LegacyCardInfo secondary = cardInfo();
    secondary.model = 2u << 24;
    secondary.secondary = 1;
    LegacyCardInfo highBits = cardInfo();
    highBits.model = 0xC2000000u;
    LegacyCardInfo unknown = cardInfo();
    unknown.cardClass = 7;
    unknown.model = 9u << 24;
    unknown.lockingClient = "";
    LegacyCardInfo speed = cardInfo();
    speed.speed = 1;
    LegacyCardInfo longTexts = cardInfo();
    longTexts.name = std::string(60, 'n');
    longTexts.lockingClient = std::string(400, 'c');
    LegacySensorInfo bigCommandPort = sensorInfo(7, 6, 0, 0x2223);
    bigCommandPort.commandPort = 0x12AF9;
    Mac mac{1, 2, 3, 4, 5, 6};
    const std::string sensorSuffix = ",equipment=KGV sensor,port=11011,ipAddress=10.0.0.5){enabledAlgorithms";
    return {
        {"SensorCarriesItsMacAndAlgorithm", {Announcer::legacySensor(mac, 0x2222)},
         "discover(uniqueKey=10.0.0.5:11011,macAddress=01:02:03:04:05:06" + sensorSuffix + "{anpr}}"},
        {"SensorWithUnknownAlgorithmHasNone", {Announcer::legacySensor(mac, 0x9999)},
         "discover(uniqueKey=10.0.0.5:11011,macAddress=01:02:03:04:05:06" + sensorSuffix + "}"},
        {"SensorAlgorithmsAreReplacedNotAdded",
         {Announcer::legacySensor(mac, 0x2222), Announcer::legacySensor(mac, 0x1111)},
         "discover(uniqueKey=10.0.0.5:11011,macAddress=01:02:03:04:05:06" + sensorSuffix + "{streaming}}"},
        {"SensorLongerThanItsLayoutIsRead", {Announcer::legacySensor(mac, 0x2225) + "tail"},
         "discover(uniqueKey=10.0.0.5:11011,macAddress=01:02:03:04:05:06" + sensorSuffix + "{classification}}"},
        {"Firmware76TakesTriggers", {Announcer::legacySensor(sensorInfo(7, 6, 0, 0x2222))},
         sensorText("7.6.0", "{anpr,trigger}")},
        {"Firmware759TakesNoTriggers", {Announcer::legacySensor(sensorInfo(7, 5, 9, 0x2222))},
         sensorText("7.5.9", "{anpr}")},
        {"TriggersOnlyForAnpr", {Announcer::legacySensor(sensorInfo(8, 0, 1, 0x2223))}, sensorText("8.0.1", "{dgpr}")},
        {"KeyTakesTheCommandPortsLow16Bits", {Announcer::legacySensor(bigCommandPort)},
         sensorText("7.6.0", "{dgpr}", "11001", "76537")},
        {"CardCarriesItsTextsClassMacsAndModel", {Announcer::legacyCard(cardInfo())},
         cardText(kCardAttributes + ",equipment=Lumatek3 (primary)")},
        {"SecondaryFlagOverridesTheModel", {Announcer::legacyCard(secondary)},
         cardText(kCardAttributes + ",equipment=Lumatek3 (secondary)")},
        {"ModelIsReadFromBits24To29", {Announcer::legacyCard(highBits)},
         cardText(kCardAttributes + ",equipment=Lumatek")},
        {"UnknownClassAndModelSetNothing", {Announcer::legacyCard(unknown)},
         cardText("name=card-1,lockingClientIP=,slaveANPRMacAddress=01:02:03:04:05:06,"
                  "slaveContextMacAddress=06:05:04:03:02:01")},
        {"SpeedFlagAddsSpeedOnce", {Announcer::legacyCard(speed), Announcer::legacyCard(speed)},
         cardText(kCardAttributes + ",equipment=Lumatek3 (primary)", "{speed}")},
        {"ClearedSpeedFlagRemovesSpeed", {Announcer::legacyCard(speed), Announcer::legacyCard(cardInfo())},
         cardText(kCardAttributes + ",equipment=Lumatek3 (primary)")},
        {"CardTextsStopAtTheirFieldsEnd", {Announcer::legacyCard(longTexts)},
         cardText("name=" + std::string(44, 'n') + ",lockingClientIP=" + std::string(352, 'c') +
                  ",cardClass=master,slaveANPRMacAddress=01:02:03:04:05:06,"
                  "slaveContextMacAddress=06:05:04:03:02:01,equipment=Lumatek3 (primary)")},
    };
}

class LegacyDatagram : public PxrTest, public ::testing::WithParamInterface<LegacyCase> {};

TEST_P(LegacyDatagram, LeavesOneEntryWithTheAnnouncedAttributes)
{
    PXRDiscover *psDiscover = PXRDiscoverCreate();
    ASSERT_NE(psDiscover, nullptr);
    for (const std::string &datagram : GetParam().datagrams)
        discovertest::receive(psDiscover, datagram, kSender);
    EXPECT_EQ(discovertest::sensors(psDiscover), std::vector<std::string>{GetParam().expected});
    PXRDiscoverDestroy(psDiscover);
}

INSTANTIATE_TEST_SUITE_P(Layouts, LegacyDatagram, ::testing::ValuesIn(legacyCases()),
                         [](const ::testing::TestParamInfo<LegacyCase> &info) { return info.param.pcszName; });

class LegacyDiscoverTest : public PxrTest {};

TEST_F(LegacyDiscoverTest, ShortDatagramsAreDroppedBeforeAnyFieldIsRead)
{
    PXRDiscover *psDiscover = PXRDiscoverCreate();
    ASSERT_NE(psDiscover, nullptr);
    const std::string sensor = Announcer::legacySensor(Mac{1, 2, 3, 4, 5, 6}, 0x2222);
    const std::string versioned = Announcer::legacySensor(sensorInfo(7, 6, 0, 0x2222));
    const std::string card = Announcer::legacyCard(cardInfo());
    struct {
        std::string datagram;
        const char *pcszTrace;
    } cases[] = {
        {sensor.substr(0, 11), "KGV datagram 0xEEEE of 11 bytes, 12 expected"},
        {versioned.substr(0, 31), "KGV datagram 0xEEEF of 31 bytes, 32 expected"},
        {versioned.substr(0, 12), "KGV datagram 0xEEEF of 12 bytes, 32 expected"},
        {card.substr(0, 444), "KGV datagram 0xEEFF of 444 bytes, 445 expected"},
        {card.substr(0, 4), "KGV datagram 0xEEFF of 4 bytes, 445 expected"},
        {card.substr(0, 2), "KGV datagram 0xEEFF of 2 bytes, 445 expected"},
    };
    for (const auto &item : cases) {
        traces.clear();
        discovertest::receive(psDiscover, item.datagram, kSender);
        EXPECT_TRUE(traced(PXR_LEVEL_WARNING, std::string("[PXRDiscover]Datagram from 10.0.0.5 dropped : ") +
                                                  item.pcszTrace))
            << item.pcszTrace;
        EXPECT_EQ(traces.size(), 1u) << item.pcszTrace;
    }
    EXPECT_TRUE(discovertest::sensors(psDiscover).empty());
    PXRDiscoverDestroy(psDiscover);
}

} // namespace
