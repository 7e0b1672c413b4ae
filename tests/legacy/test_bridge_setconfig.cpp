// setConfig on the test KGV sensor: each request tree sends its commands in order for ANPR,
// DGPR and video sensors, a failure stops there with its text, what no section used is traced,
// the enslavement's wait is bounded, and the stream keeps flowing while a setConfig runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BridgeTestSupport.h"

using kgvsim::fourcc;

namespace {

Node config(std::vector<Node> children)
{
    return Node{"setConfig", {}, {Node{"config", {}, std::move(children)}}};
}

Node camera(std::vector<Node> children)
{
    return Node{"cameras", {}, {Node{"camera", {{"id", "0"}}, std::move(children)}}};
}

std::string hex(const std::vector<uint32_t> &codes)
{
    std::string text;
    char aszCode[16];
    for (uint32_t u32Code : codes) {
        snprintf(aszCode, sizeof(aszCode), "%s%X", text.empty() ? "" : " ", u32Code);
        text += aszCode;
    }
    return text;
}

kgvsim::DeviceSetup sensorOf(kgvsim::Form eForm)
{
    kgvsim::DeviceSetup setup;
    setup.form = eForm;
    setup.version.sensorCode = eForm == kgvsim::Form::Dgpr ? 0x2223 : eForm == kgvsim::Form::Video ? 0x1111 : 0x2222;
    // A board configuration the sensor would accept back.
    setup.board.kept = {0, 1};
    setup.board.sensorByte = eForm == kgvsim::Form::Dgpr ? 222 : eForm == kgvsim::Form::Video ? 220 : 221;
    return setup;
}

void focusCamera(kgvsim::DeviceSetup &setup)
{
    setup.anpr.cameraWord = 0x05200435;
}

struct Case {
    const char *pcszName;
    kgvsim::Form eForm;
    Node request;
    std::string answer;
    std::string codes; // command codes in hexadecimal, in order
    void (*rSetup)(kgvsim::DeviceSetup &setup) = nullptr;
    uint32_t u32Refused = 0; // a command the sensor refuses
};

class BridgeSetConfig : public BridgeOnSensor, public ::testing::WithParamInterface<Case> {};

TEST_P(BridgeSetConfig, SendsTheCommandsOfItsTreeInOrder)
{
    const Case &sCase = GetParam();
    kgvsim::DeviceSetup setup = sensorOf(sCase.eForm);
    if (sCase.rSetup)
        sCase.rSetup(setup);
    start(setup);
    lock();
    if (sCase.u32Refused)
        device->script(sCase.u32Refused, kgvsim::Answer::reply(kgvsim::kNack));
    const size_t szMark = commandMark();
    EXPECT_EQ(send(sCase.request), sCase.answer);
    EXPECT_EQ(hex(commandCodesSince(szMark)), sCase.codes);
}

const Case kCases[] = {
    {"no config", kgvsim::Form::Anpr, Node{"setConfig"}, "answer status=failed errorText=Invalid message", ""},
    {"device name", kgvsim::Form::Anpr, config({Node{"device", {{"name", "gate 2"}}}}), "answer status=ok", "FFFB"},
    {"anpr settings", kgvsim::Form::Anpr,
     config({camera({Node{"anpr",
                          {{"context", "F|D"}, {"squarePlates", "true"}, {"direction", "front"}, {"duplicateFilter", "1"}},
                          {Node{"serial", {{"rs232Export", "simple"}}}, Node{"trigger", {{"reliabilityThreshold", "70"}}},
                           Node{"ocr", {{"minReliability", "60"}}}}}})}),
     "answer status=ok", "FFF6 5559 777A 534C4552 555E 555A"},
    {"enslavement off", kgvsim::Form::Anpr, config({camera({Node{"enslavement", {{"enabled", "false"}, {"mode", "freeFlow"}}}})}),
     "answer status=ok", "5559"},
    {"enslavement parameters", kgvsim::Form::Anpr,
     config({camera({Node{"enslavement", {{"mode", "freeFlow"}, {"switchType", "infrared"}, {"gainMax", "20"}}}})}),
     "answer status=ok", "5559 AAAB 3334 3333"},
    {"optics while enslaved", kgvsim::Form::Anpr,
     config({camera({Node{"optics",
                          {{"zoom", "1200"}, {"shutter", "1/100"}, {"expComp", "5"}, {"iris", "F8"}, {"gain", "6 db"},
                           {"autofocus", "false"}, {"infoDisplay", "true"}, {"macro", "0"}}}})}),
     "answer status=ok", "AABA AABD AAB8 AAC3 AABE AAC4 AAC0 AAD6"},
    {"shutter outside the table", kgvsim::Form::Anpr,
     config({camera({Node{"optics", {{"zoom", "1000"}, {"shutter", "1/99"}, {"expComp", "3"}}}})}),
     "answer status=failed errorText=Invalid shutter value!", "AABA"},
    {"anpr on a dgpr sensor", kgvsim::Form::Dgpr,
     config({Node{"device", {{"name", "x"}}}, camera({Node{"anpr", {{"direction", "front"}}}})}),
     "answer status=failed errorText=This is not an ANPR sensor", "FFFB"},
    {"embedded dgpr", kgvsim::Form::Dgpr, config({camera({Node{"enslavement", {{"mode", "embedded"}}}})}),
     "answer status=failed errorText=Embedded enslavement for DGPR is not supported", ""},
    {"dgpr settings", kgvsim::Form::Dgpr,
     config({camera({Node{"dgpr", {{"direction", "rear"}, {"emptyPlatesDetectionRatio", "high"}},
                          {Node{"serial", {{"rs232Export", "off"}}}}},
                     Node{"stillPicture", {{"size", "352x288"}, {"quality", "20"}}}, Node{"stream", {{"fps", "6"}}}})}),
     "answer status=ok", "FFF6 8888 8888 8888"},
    {"video stream", kgvsim::Form::Video,
     config({camera({Node{"stream", {{"codec", "mpeg"}, {"size", "720x288"}, {"fps", "50"}, {"bitrate", "1000000"}, {"gop", "12"}}},
                     Node{"stillPicture", {{"quality", "25"}}}})}),
     "answer status=ok", "6675 FFF6 555B"},
    {"database", kgvsim::Form::Anpr,
     config({Node{"database", {{"enabled", "true"}, {"openForAll", "false"}, {"matchTolerance", "3"}}}}),
     "answer status=ok", "AAE1"},
    {"lightings", kgvsim::Form::Anpr,
     config({Node{"lightings", {{"shutterSynchronization", "inPhase"}},
                  {Node{"led", {{"id", "0"}, {"power", "500"}}}, Node{"led", {{"id", "1"}, {"power", "9"}}}}}}),
     "answer status=ok", "C006 AACC"},
    {"eco mode", kgvsim::Form::Anpr, config({Node{"lightings", {}, {Node{"led", {{"id", "0"}, {"ecoMode", "true"}}}}}}),
     "answer status=failed errorText=EcoMode is not supported", ""},
    {"io", kgvsim::Form::Anpr,
     config({Node{"io", {{"mode", "input"}}, {Node{"defaultImpulse", {{"pulseMode", "falling"}, {"duration_ms", "300"}}}}}}),
     "answer status=ok", "FFF6 AAE2 AAE1"},
    {"slaves", kgvsim::Form::Anpr,
     config({Node{"slaves", {{"mode", "configured"}},
                  {Node{"slaveAnpr", {{"position", "left"}, {"coveringZone", "300"}, {"macAddress", "00:0e:a1:00:00:01"}}},
                   Node{"slaveContext", {{"macAddress", "00:0E:A1:00:00:02"}}}}}}),
     "answer status=ok", "666F 666E"},
    {"slave address cut", kgvsim::Form::Anpr,
     config({Node{"slaves", {}, {Node{"slaveAnpr", {{"macAddress", "00:11:22"}}}}}}),
     "answer status=failed errorText=Invalid macAddress: six hexadecimal fields expected", "666F"},
    {"network", kgvsim::Form::Anpr,
     config({Node{"network", {},
                  {Node{"unicastDiscover", {}, {Node{"client", {{"address", "10.0.0.5"}, {"port", "22022"}}}}},
                   Node{"interface", {{"dhcp", "false"}, {"ipAddress", "192.168.1.41"}}},
                   Node{"kgv", {{"port", "10011"}}}}}}),
     "answer status=ok", "666A 6666 555D"},
    {"speed and area", kgvsim::Form::Anpr,
     config({camera({Node{"areaOfInterest", {{"enabled", "true"}, {"x", "5"}}},
                     Node{"speed", {{"installationAngle_degrees", "31.5"}}}})}),
     "answer status=ok", "5562 5561 777A 666D 666C"},
    {"auto exposure", kgvsim::Form::Anpr,
     config({camera({Node{"autoExposure", {{"shutterPriority", "false"}, {"reactionSpeed", "slow"}, {"switchType", "auto"}}}})}),
     "answer status=ok", "AAC2 AAC6 AAC7 C011 3334 3333"},
    {"focus values", kgvsim::Form::Anpr,
     config({camera({Node{"optics", {{"focusIRCutOn", "30000"}, {"focusIRCutOff", "25000"}}}})}),
     "answer status=ok", "AAD4 AAB9 FFF8 AAD4 AAB9 AAB9", &focusCamera},
    {"ir cut", kgvsim::Form::Anpr, config({camera({Node{"optics", {{"irCutFilter", "on"}}}})}), "answer status=ok", "FFF8 FFF9 AAD4 AAB9",
     &focusCamera},
    {"refused setter", kgvsim::Form::Anpr,
     config({Node{"device", {{"name", "x"}}}, camera({Node{"anpr", {{"direction", "rear"}}}}),
             Node{"io", {{"mode", "off"}}}}),
     "answer status=failed errorText=In LumatrekSetANPRConfigV2 : Command nacked (-205)", "FFFB 5559", nullptr, 0x5559},
};

INSTANTIATE_TEST_SUITE_P(Trees, BridgeSetConfig, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case> &info) {
                             std::string name = info.param.pcszName;
                             std::replace_if(name.begin(), name.end(), [](char c) { return !isalnum(c); }, '_');
                             return name;
                         });

} // namespace
