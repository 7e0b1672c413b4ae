// setConfig on the test KGV sensor: each request tree sends its commands in order for ANPR,
// DGPR and video sensors, a failure stops there with its text, what no section used is traced,
// the enslavement's wait is bounded, and the stream keeps flowing while a setConfig runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <cstdio>
#include <string>
#include <vector>

#include "BridgeTestSupport.h"
#include "PXRLT_SetConfig.h"

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

namespace {

class BridgeSetConfigRun : public BridgeOnSensor {
protected:
    void SetUp() override
    {
        BridgeOnSensor::SetUp();
        PXRLT_SetConfigTiming *psTiming = PXRLT_setConfigTiming();
        psTiming->u32StatusPollMs = 20;
        psTiming->u32StatusWaitMs = 600;
        psTiming->u32EnslaveReadGapMs = 5;
    }
    void TearDown() override
    {
        PXRLT_resetSetConfigTiming();
        BridgeOnSensor::TearDown();
    }
    LumatrekConfig commandConfig()
    {
        LumatrekConfig sConfig{};
        EXPECT_EQ(LumatrekGetConfig(pxr->psBridge->psCommandHandle, &sConfig), 0);
        return sConfig;
    }
    size_t countOf(const std::vector<uint32_t> &codes, uint32_t u32Code)
    {
        return size_t(std::count(codes.begin(), codes.end(), u32Code));
    }
};

TEST_F(BridgeSetConfigRun, ValuesReachTheSensorAsItsCodes)
{
    start(sensorOf(kgvsim::Form::Anpr));
    lock();
    EXPECT_EQ(send(config({camera({Node{"anpr", {{"context", "F|D"}, {"squarePlates", "true"}, {"direction", "front"}}},
                                   Node{"speed", {{"installationAngle_degrees", "2.39"}}},
                                   Node{"stillPicture", {{"size", "352x288"}, {"quality", "20"}}},
                                   Node{"stream", {{"fps", "6"}, {"bitrate", "300000"}}},
                                   Node{"optics", {{"shutter", "1/100"}}}})})),
              "answer status=ok");
    const LumatrekConfig sConfig = commandConfig();
    const LumatrekAnprConfig &sAnpr = sConfig.uBody.sAnpr;
    EXPECT_STREQ(sAnpr.aszContext, "F|D|SQUARE_PLATES");
    EXPECT_EQ(sAnpr.u32Direction, 1u);
    EXPECT_EQ(sAnpr.u32StillPictureSize, 31u);
    EXPECT_EQ(sAnpr.u32JpegCompression, 14u);
    EXPECT_EQ(sAnpr.i32StreamFrameSkip, 3);
    EXPECT_EQ(sAnpr.u32StreamBitrate, 300000u);
    LumatrekSpeedParams sSpeed{};
    ASSERT_EQ(LumatrekGetRemoteSpeedParams(pxr->psBridge->psCommandHandle, &sSpeed), 0);
    EXPECT_EQ(sSpeed.i32AngleTenthDegree, 23) << "tenths of a degree, the rest cut off";
    EXPECT_EQ(device->camera()[2], 8u) << "1/100 is the third shutter";

    // Square plates fit only a context shorter than 50 characters.
    const std::string forty9(49, 'C');
    const std::string fifty(50, 'C');
    EXPECT_EQ(send(config({camera({Node{"anpr", {{"context", forty9}, {"squarePlates", "1"}}}})})), "answer status=ok");
    EXPECT_EQ(std::string(commandConfig().uBody.sAnpr.aszContext), forty9 + "|SQUARE_PLATES");
    EXPECT_EQ(send(config({camera({Node{"anpr", {{"context", fifty}, {"squarePlates", "1"}}}})})), "answer status=ok");
    EXPECT_EQ(std::string(commandConfig().uBody.sAnpr.aszContext), fifty);
}

TEST_F(BridgeSetConfigRun, VideoStreamAtFullRateAndWhatIsNotUsedIsTraced)
{
    start(sensorOf(kgvsim::Form::Video));
    lock();
    const size_t szTraces = traceMark();
    EXPECT_EQ(send(config({camera({Node{"stream", {{"codec", "mpeg"}, {"size", "720x288"}, {"fps", "50"}, {"gop", "12"}}},
                                   Node{"optics", {{"foo", "1"}, {"zoom", "100"}}}}),
                           Node{"lightings", {}, {Node{"led", {{"id", "1"}, {"power", "9"}}}}}})),
              "answer status=ok");
    const LumatrekMpegConfig sMpeg = commandConfig().uBody.sMpeg;
    EXPECT_EQ(sMpeg.u32Width, 720u);
    EXPECT_EQ(sMpeg.u32Height, 576u);
    EXPECT_EQ(sMpeg.u32FrameSkip, 0u);
    const auto traced = tracesSince(szTraces);
    const std::vector<std::string> expected = {"Not used attributes from setConfig message:",
                                               "/config/cameras/camera/stream : gop ",
                                               "/config/cameras/camera/optics : foo ", "/config/lightings/led : power ",
                                               "setConfig succesful"};
    auto at = std::find(traced.begin(), traced.end(), expected.front());
    ASSERT_NE(at, traced.end());
    EXPECT_EQ(std::vector<std::string>(at, traced.end()), expected);
}

TEST_F(BridgeSetConfigRun, EnslavementWaitsForTheReadyBitWithinABound)
{
    start(sensorOf(kgvsim::Form::Anpr));
    lock();
    struct Case {
        const char *pcszName;
        std::vector<uint32_t> statuses; // then the status set last
        uint32_t u32Status;
        int iRefusedReads;
        std::string answer;
    } const asCases[] = {
        {"ready at once", {}, 1, 0, "answer status=ok"},
        {"ready later", {0, 0, 2}, 1, 0, "answer status=ok"},
        {"parameters read on the fourth try", {}, 1, 3, "answer status=ok"},
        {"never ready", {}, 0, 0,
         "answer status=failed errorText=The sensor did not become ready after the enslavement change"},
        {"parameters never read", {}, 1, 60, "answer status=failed errorText=Unable to LumatrekGetRemoteEnslaveParams"},
    };
    for (const Case &sCase : asCases) {
        SCOPED_TRACE(sCase.pcszName);
        device->setStatus(sCase.u32Status);
        device->statusSequence(sCase.statuses);
        if (sCase.iRefusedReads)
            device->script(0x3334, kgvsim::Answer::reply(kgvsim::kNack), sCase.iRefusedReads);
        const size_t szMark = commandMark();
        EXPECT_EQ(send(config({camera({Node{"enslavement", {{"mode", "accessControl"}, {"plateHysteresis", "3"}}}})})),
                  sCase.answer);
        device->clearScripts();
        const auto codes = commandCodesSince(szMark);
        if (sCase.u32Status) {
            EXPECT_EQ(countOf(codes, 0xAAAB), sCase.statuses.size() + 1);
        }
        EXPECT_EQ(countOf(codes, 0x3334), sCase.u32Status ? size_t(std::min(sCase.iRefusedReads + 1, 50)) : 0u);
        EXPECT_EQ(countOf(codes, 0x3333), sCase.answer == "answer status=ok" ? 1u : 0u);
    }
}

// The cached configuration's enslavement mode.
std::string cachedEnslavement(PXRLT *psBridge)
{
    SA_LockMutex(psBridge->hConfigMutex);
    PXRMsgElement *psElement = PXRMsgChild(psBridge->psCachedConfig);
    for (const char *pcszName : {"cameras", "camera", "enslavement"})
        psElement = psElement ? PXRMsgElementFirstChild(psElement, pcszName) : nullptr;
    const char *pcszMode = psElement ? PXRMsgElementAttributeValue(psElement, "mode") : nullptr;
    std::string mode = pcszMode ? pcszMode : "<none>";
    SA_UnlockMutex(psBridge->hConfigMutex);
    return mode;
}

TEST_F(BridgeSetConfigRun, StreamKeepsFlowingWhileASetConfigWaits)
{
    PXRLT_setConfigTiming()->u32StatusWaitMs = 4000;
    kgvsim::DeviceSetup setup = sensorOf(kgvsim::Form::Anpr);
    start(setup);
    lock();
    ASSERT_EQ(cachedEnslavement(pxr->psBridge), "embedded");
    device->setStatus(0);
    // As a sensor does, the changed configuration is pushed after the write.
    kgvsim::DeviceSetup changed = setup;
    changed.anpr.enslavement = 3;
    device->afterWrite([&](uint32_t) { stream->pushConfiguration(changed); });
    const size_t szStatusReads = countOf(commandCodesSince(0), 0xAAAB);
    size_t szPushed = 0;
    {
        std::lock_guard lock(mutex);
        szPushed = pushed.size();
    }
    std::atomic<bool> bDone{false};
    std::string answer;
    std::thread request([&] {
        answer = send(config({camera({Node{"enslavement", {{"mode", "accessControl"}}}})}));
        bDone = true;
    });
    // The run is waiting for the ready bit once the sensor is asked for it.
    EXPECT_TRUE(sensor->waitForPacket(kgvsim::Port::Command, 0xAAAB, 5s, szStatusReads).has_value());
    stream->pushRecognition("RUN1");
    EXPECT_TRUE(waitFor(3s, [&] { return pushedSince(szPushed, "anpr RUN1"); }))
        << "a recognition behind a configuration block waited for the setConfig";
    EXPECT_FALSE(bDone) << "the setConfig ended before the stream was seen flowing";
    // The block came before the recognition, yet the tree waits for the end of the run.
    EXPECT_EQ(cachedEnslavement(pxr->psBridge), "embedded");
    request.join();
    device->afterWrite(nullptr);
    EXPECT_EQ(answer, "answer status=failed errorText=The sensor did not become ready after the enslavement change");
    EXPECT_EQ(cachedEnslavement(pxr->psBridge), "accessControl") << "one rebuild when the run ended";
}

} // namespace

namespace {

std::string clientsOf(const std::vector<kgvsim::UnicastEntry> &entries)
{
    std::string text;
    for (const auto &entry : entries)
        text += (text.empty() ? "" : " ") + entry.address + ":" + std::to_string(entry.port);
    return text;
}

Node client(const char *pcszAddress, const char *pcszPort)
{
    return Node{"client", {{"address", pcszAddress}, {"port", pcszPort}}};
}

TEST_F(BridgeSetConfigRun, UnicastClientsChangeByTheirDifferenceOnly)
{
    kgvsim::DeviceSetup setup = sensorOf(kgvsim::Form::Anpr);
    setup.unicast = {{"10.0.0.1", 22022}, {"10.0.0.9", 32023}, {"10.0.0.3", 4000}};
    start(setup);
    struct Step {
        std::vector<Node> clients;
        std::string codes;
        std::string after;
    } const asSteps[] = {
        // The same clients again: neither unsubscribed nor subscribed.
        {{client("10.0.0.1", "22022"), client("10.0.0.3", "4000")}, "666A 6668 555D",
         "10.0.0.1:22022 10.0.0.9:32023 10.0.0.3:4000"},
        // A client on port 32023 stays whatever the request.
        {{client("10.0.0.1", "22022"), client("10.0.0.5", "5000")}, "666A 6668 6667 6666 555D",
         "10.0.0.1:22022 10.0.0.9:32023 10.0.0.5:5000"},
        {{}, "666A 6668 6667 6667 555D", "10.0.0.9:32023"},
    };
    // The address setting that ends each request makes the command connection again: a lock each.
    for (const Step &sStep : asSteps) {
        lock();
        const size_t szMark = commandMark();
        EXPECT_EQ(send(config({Node{"network", {}, {Node{"unicastDiscover", {}, sStep.clients}}}})), "answer status=ok");
        EXPECT_EQ(hex(commandCodesSince(szMark)), sStep.codes);
        EXPECT_EQ(clientsOf(device->unicast()), sStep.after);
        EXPECT_EQ(send(Node{"unlock"}), "answer status=ok");
    }
}

TEST_F(BridgeSetConfigRun, ChangedOpticsAreStoredWhenTheLockEnds)
{
    kgvsim::DeviceSetup setup = sensorOf(kgvsim::Form::Anpr);
    focusCamera(setup);
    start(setup);
    struct Case {
        std::vector<Node> sections;
        std::string unlockCodes;
    } const asCases[] = {
        {{Node{"device", {{"name", "n"}}}}, ""},
        {{camera({Node{"optics", {{"zoom", "1100"}}}})}, "FFF8 AAC1 AACD"},
        {{camera({Node{"optics", {{"flip", "1"}}}})}, ""},
    };
    for (const Case &sCase : asCases) {
        lock();
        EXPECT_EQ(send(config(sCase.sections)), "answer status=ok");
        const size_t szMark = commandMark();
        EXPECT_EQ(send(Node{"unlock"}), "answer status=ok");
        EXPECT_EQ(hex(commandCodesSince(szMark)), sCase.unlockCodes);
        EXPECT_EQ(pxr->psBridge->psCommandHandle, nullptr);
    }
}

} // namespace
