// The information and configuration trees built from what a light connection cached, for ANPR,
// DGPR and video sensors, and the settings that change what they show.
#include <functional>

#include "BridgeFeedSupport.h"

using kgvsim::Form;

namespace {

struct TreeCase {
    const char *pcszName;
    std::function<void(kgvsim::StreamSetup &)> rSetup;
    std::vector<std::pair<std::string, std::string>> infos; // "path@attribute", text
    std::vector<std::pair<std::string, std::string>> config;
};

void anpr(kgvsim::StreamSetup &) {}

std::vector<TreeCase> treeCases()
{
    return {
        {"Anpr", &anpr,
         {{"sensor@macAddress", "00:0e:a1:02:03:04"}, {"sensor@firmwareVersion", "6.2.0"}, {"sensor@locked", "0"},
          {"sensor@type", "KGV sensor"}, {"sensor@status", "RUNNING"}, {"sensor@reboots", "0"},
          {"cameras/camera@cameraModel", "20042f"}, {"cameras/camera@hasFlip", "1"},
          {"cameras/camera/enabledAlgorithms/anpr", "<element>"}, {"cameras/camera/enabledAlgorithms/speed", "<element>"},
          {"cameras/camera/enabledAlgorithms/trigger", "<no element>"}, {"cameras/camera/expCompValues", "<no element>"},
          {"cameras/camera/shutterValues/value@text", "1/50"}, {"anpr@possibleContexts", "F|GB|D|E|I"},
          {"anpr/ocrDefault@minRecognition", "1"}, {"lightings/led@ledModel", "LED 5 eco"},
          {"lightings/led@color", "infrared"}, {"lightings/led@version", "AA"},
          {"lightings/led/currentValues@max", "3000"}, {"lightings/projector/delayValues@max", "20000"},
          {"temperature@temperature_C", "31"}},
         {{"device@name", "kgvsim-desc"}, {"network/interface@ipAddress", "192.168.1.40"},
          {"network/interface@dhcp", "0"}, {"network/kgv@timeout_ms", "7000"}, {"network/dns@dns0", "192.168.1.2"},
          {"network/unicastDiscover/client0@address", "10.0.0.7"}, {"network/unicastDiscover/client0@port", "4000"},
          {"network/unicastDiscover/client1@address", ""}, {"network/unicastDiscover/client3@port", "0"},
          {"cameras/camera/anpr@context", "F|GB"}, {"cameras/camera/anpr@squarePlates", "0"},
          {"cameras/camera/anpr@direction", "both"}, {"cameras/camera/anpr@duplicateFilter", "1"},
          {"cameras/camera/anpr@focusAuto", "0"}, {"cameras/camera/anpr/ocr@minRecognition", "1"},
          {"cameras/camera/anpr/serial@rs232Export", "advanced"}, {"cameras/camera/stillPicture@size", "720x288"},
          {"cameras/camera/stillPicture@enabled", "<none>"}, {"cameras/camera/stillPicture@quality", "25"},
          {"cameras/camera/stream@fps", "8"}, {"cameras/camera/stream@enabled", "1"},
          {"cameras/camera/areaOfInterest@enabled", "1"}, {"cameras/camera/areaOfInterest@width", "300"},
          {"cameras/camera/speed@fieldOfView_cm", "1200"}, {"cameras/camera/speed@installationHeight_cm", "<none>"}, {"cameras/camera/enslavement@mode", "embedded"},
          {"cameras/camera/enslavement@switchType", "infrared"},
          {"cameras/camera/enslavement@gainMax", "<none>"}, {"cameras/camera/optics@shutter", "1/1750"},
          {"cameras/camera/optics@iris", "F11"}, {"cameras/camera/optics@gain", "4 db"},
          {"cameras/camera/optics@focusIRCutOff", "20000"}, {"cameras/camera/optics@irCutFilter", "<none>"},
          {"database@enabled", "1"}, {"database@matchTolerance", "2"}, {"io@mode", "output"},
          {"io/defaultImpulse@pulseMode", "rising"}, {"io/defaultImpulse@duration_ms", "300"},
          {"lightings/led@power", "900"}, {"slaves@mode", "disabled"}, {"slaves/slaveAnpr@position", "left"},
          {"slaves/slaveAnpr@coveringZone", "0"}, {"slaves/slaveContext@macAddress", "00:00:00:00:00:00"}}},
        {"SpeedPlacementFromProtocol411", [](kgvsim::StreamSetup &s) { s.version.protocol = {4, 11, 0}; }, {},
         {{"cameras/camera/speed@installationHeight_cm", "550"},
          {"cameras/camera/speed@installationAngle_degrees", "12.5"}}},
        {"StatusBitsJoinedInOrder", [](kgvsim::StreamSetup &s) { s.status = 0x2001 | 0x80; },
         {{"sensor@status", "RUNNING|TOOCOLD|ERROR_HARDWARE"}}, {}},
        {"NoStatusBit", [](kgvsim::StreamSetup &s) { s.status = 0; }, {{"sensor@status", ""}}, {}},
        {"LockedByAnotherClient", [](kgvsim::StreamSetup &s) { s.lockWord = 1; }, {{"sensor@locked", "1"}}, {}},
        {"EmptyPossibleContextsShowTheDefaults", [](kgvsim::StreamSetup &s) { s.anpr.possibleContexts = ""; },
         {{"anpr@possibleContexts",
           "A|AL|AUS|AUS_FI|QLD_AUS|NSW_AUS|VIC_AUS|SA_AUS|WA_AUS|TAS_AUS|ACT_AUS|NT_AUS|B|BG|BIH|BR|BY|CDN|CH|CO|"
           "CORSE|CZ|D|DK|DZ|E|F|FIN|F_AGR|GB|H|HR|I|IL|IRL|KZ|L|LT|LV|MEX|MAL|MC|MC_REAR|NL|P|PL|PR|PR_FRONT|Q|RA|"
           "RCH|ROU|RUS|RO|UAE|S|SK|SLO|TR|UA|ZA"}},
         {}},
        {"UrbanFreeFlowDefaults", [](kgvsim::StreamSetup &s) { s.anpr.enslavement = 4; },
         {{"anpr/ocrDefault@minRecognition", "2"}, {"anpr/ocrDefault@minPlateWidthStatic8Char", "160"}},
         {{"cameras/camera/enslavement@mode", "urbanFreeFlow"}}},
        {"EcoModeCapsTheCurrent", [](kgvsim::StreamSetup &s) { s.ecoMode = 1; },
         {{"lightings/led/currentValues@max", "1000"}}, {}},
        {"SquarePlatesTakenOutOfTheContext", [](kgvsim::StreamSetup &s) { s.anpr.context = "A|SQUARE_PLATES|B"; }, {},
         {{"cameras/camera/anpr@context", "A|B"}, {"cameras/camera/anpr@squarePlates", "1"}}},
        {"SmallStillPictureBefore640",
         [](kgvsim::StreamSetup &s) {
             s.anpr.stillSize = 31;
             s.version.firmware = {6, 3, 0};
         },
         {}, {{"cameras/camera/stillPicture@size", "352x288"}, {"cameras/camera/stillPicture@enabled", "<none>"}}},
        {"StillPictureEnabledFrom640",
         [](kgvsim::StreamSetup &s) { s.version.firmware = {6, 4, 0}; }, {},
         {{"cameras/camera/stillPicture@enabled", "1"}, {"cameras/camera/enslavement@gainMax", "12"},
          {"cameras/camera/enslavement@plateHysteresis", "3"}}},
        {"OpticsCodesOutsideTheTablesAreLeftOut",
         [](kgvsim::StreamSetup &s) {
             s.camera[2] = 30;
             s.camera[3] = 40;
             s.camera[4] = 16;
         },
         {}, {{"cameras/camera/optics@shutter", "<none>"}, {"cameras/camera/optics@iris", "<none>"},
              {"cameras/camera/optics@gain", "<none>"}, {"cameras/camera/optics@zoom", "1000"}}},
        {"WithoutActivation", [](kgvsim::StreamSetup &s) { s.withActivation = false; },
         {{"cameras/camera/enabledAlgorithms/speed", "<no element>"}},
         {{"cameras/camera/areaOfInterest", "<no element>"}, {"cameras/camera/speed", "<no element>"},
          {"cameras/camera/anpr@duplicateFilter", "<none>"}, {"cameras/camera/anpr@focusAuto", "<none>"}}},
        {"Dgpr", [](kgvsim::StreamSetup &s) { s.form = Form::Dgpr; },
         {{"cameras/camera/enabledAlgorithms/dgpr", "<element>"}, {"anpr", "<no element>"},
          {"lightings/led@color", "whiteLight"}},
         {{"cameras/camera/dgpr@direction", "front"}, {"cameras/camera/dgpr@emptyPlatesDetectionRatio", "low"},
          {"cameras/camera/dgpr@emptyPlatesDetection", "1"},
          {"cameras/camera/dgpr/ocr@minReliabilityForCharacters", "<none>"},
          {"cameras/camera/dgpr/ocr@minReliability", "5300"}, {"cameras/camera/stillPicture@size", "720x288"},
          {"cameras/camera/stillPicture@quality", "22"}, {"cameras/camera/stream@enabled", "0"},
          {"cameras/camera/enslavement@mode", "freeFlow"}, {"cameras/camera/enslavement@switchType", "<none>"},
          {"cameras/camera/dgpr/serial@rs232Export", "advanced"}, {"slaves", "<no element>"},
          {"io/defaultImpulse", "<no element>"}}},
        {"VideoOf576LinesOnThe50FpsBase", [](kgvsim::StreamSetup &s) { s.form = Form::Video; },
         {{"cameras/camera/expCompValues@max", "14"}, {"cameras/camera/enabledAlgorithms/anpr", "<no element>"}},
         {{"cameras/camera/stream@size", "720x288"}, {"cameras/camera/stream@fps", "12"},
          {"cameras/camera/stream@codec", "jpeg"}, {"cameras/camera/stream@gop", "25"},
          {"cameras/camera/stream@bitrate", "2000000"}, {"cameras/camera/optics@expComp", "7"},
          {"cameras/camera/optics@irCutFilter", "on"}, {"cameras/camera/optics@focusIRCutOn", "20000"},
          {"cameras/camera/anpr", "<no element>"}}},
    };
}

class BridgeTree : public BridgeTest, public ::testing::WithParamInterface<TreeCase> {};

TEST_P(BridgeTree, TreesShowWhatTheSensorSent)
{
    kgvsim::StreamSetup setup;
    GetParam().rSetup(setup);
    connect(setup);
    PXRMsg *psInfos = PXRMsgCreate();
    PXRMsg *psConfig = PXRMsgCreate();
    EXPECT_EQ(PXRLT_fillInfosMsg(bridge, psInfos), 1);
    EXPECT_EQ(PXRLT_fillConfigMsg(bridge, psConfig), 1);
    for (const auto &value : GetParam().infos)
        EXPECT_EQ(valueAt(PXRMsgChild(psInfos), value.first), value.second) << "infos " << value.first;
    for (const auto &value : GetParam().config)
        EXPECT_EQ(valueAt(PXRMsgChild(psConfig), value.first), value.second) << "config " << value.first;
    PXRMsgDestroy(psInfos);
    PXRMsgDestroy(psConfig);
}

INSTANTIATE_TEST_SUITE_P(Sensors, BridgeTree, ::testing::ValuesIn(treeCases()),
                         [](const auto &info) { return std::string(info.param.pcszName); });

TEST_F(BridgeTest, ConfigurationTreeIsASkeletonUntilTheRecordAndTheBoardCame)
{
    stream(true);
    feed(kgvsim::packet(274, kgvsim::versionBlock({})) + kgvsim::configurationForm({}));
    PXRMsg *psConfig = PXRMsgCreate();
    EXPECT_EQ(PXRLT_fillConfigMsg(bridge, psConfig), 0);
    EXPECT_EQ(valueAt(PXRMsgChild(psConfig), "cameras/camera@id"), "0");
    EXPECT_EQ(valueAt(PXRMsgChild(psConfig), "lightings"), "<element>");
    EXPECT_EQ(valueAt(PXRMsgChild(psConfig), "network"), "<no element>");
    PXRMsgDestroy(psConfig);
}

} // namespace

namespace {

// A light connection keeps card class 0; the classes a command connection reads show the same way.
TEST_F(BridgeTest, SlavesFollowTheCardClass)
{
    connect({});
    struct Case {
        uint32_t u32CardClass;
        const char *pcszMode, *pcszPosition, *pcszZone, *pcszMac;
    } const asCases[] = {
        {1, "configured", "left", "350", "00:01:02:03:04:05"},
        {3, "autoConfigure", "left", "0", "00:00:00:00:00:00"},
        {2, "disabled", "left", "0", "00:00:00:00:00:00"},
        {7, "<none>", "<none>", "<none>", "<none>"},
    };
    for (const Case &c : asCases) {
        LT_lock(light, LT_MUTEX_CONFIG);
        light->u32CardClass = c.u32CardClass;
        LT_unlock(light, LT_MUTEX_CONFIG);
        PXRMsg *psConfig = PXRMsgCreate();
        PXRLT_fillConfigMsg(bridge, psConfig);
        PXRMsgElement *psRoot = PXRMsgChild(psConfig);
        EXPECT_EQ(valueAt(psRoot, "slaves@mode"), c.pcszMode) << c.u32CardClass;
        EXPECT_EQ(valueAt(psRoot, "slaves/slaveAnpr@position"), c.pcszPosition) << c.u32CardClass;
        EXPECT_EQ(valueAt(psRoot, "slaves/slaveContext@coveringZone"), c.pcszZone) << c.u32CardClass;
        EXPECT_EQ(valueAt(psRoot, "slaves/slaveAnpr@macAddress"), c.pcszMac) << c.u32CardClass;
        PXRMsgDestroy(psConfig);
    }
}

} // namespace
