// The command set against the test sensor: each command's bytes as the sensor received them,
// what the handle keeps and answers from, guards and availability, argument checks, sizes the
// sensor gives, and the answers of a handle without command connection.
#include <functional>

#include "CommandTestSupport.h"

using namespace kgvsim;

namespace {

using Call = std::function<int32_t(LumatrekHandle *)>;
using Sent = std::vector<std::pair<uint32_t, std::string>>;

std::string words(std::initializer_list<uint32_t> values, size_t szSize = 0)
{
    std::string bytes;
    for (uint32_t v : values)
        bytes += Block(4).u32(0, v).bytes();
    bytes.resize(std::max(szSize, bytes.size()), '\0');
    return bytes;
}

DeviceSetup anprSetup(int16_t i16Minor = 8)
{
    DeviceSetup s;
    s.version.protocol = {4, i16Minor, 0};
    s.anpr.cameraWord = 0x05200435; // camera with IR cut, LED board 5
    return s;
}

DeviceSetup videoSetup()
{
    DeviceSetup s;
    s.form = Form::Video;
    s.version.sensorCode = 0x1111;
    return s;
}

DeviceSetup dgprSetup()
{
    DeviceSetup s;
    s.form = Form::Dgpr;
    s.version.sensorCode = 0x2223;
    return s;
}

struct BytesCase {
    const char *pcszName;
    Call call;
    Sent sent;
};

std::vector<BytesCase> anprCases()
{
    LumatrekLedExternalTriggerConfig sTrigger = {1, 1, 0, 40, 200};
    LumatrekDataBaseConfig sDataBase = {1, 1, 500, 3, {}};
    LumatrekSpeedParams sSpeed = {1200, 550, 315};
    LumatrekAreaOfInterest sArea = {10, 20, 300, 200, 1};
    LumatrekActivationConfig sActivation = {1, 0, 7, 0, 1};
    LumatrekBoardConfig sBoard = {{7, 2}, 1, 1, 2, -3, 1};
    LumatrekMasterParameters sMaster = {{11, 12}, -350, {0, 1, 2, 3, 4, 5}, {6, 7, 8, 9, 10, 11}, 0};
    LumatrekRemoteEnslaveParams sEnslave = {5, 60, 3, 2, 0x1234};
    LumatrekDiscoverAddress sAddress = {"10.0.0.9", 5000};
    return {
        {"zoom", [](auto h) { return LumatrekSetZoom(h, 1234); }, {{0xAABA, words({1234})}}},
        {"iris", [](auto h) { return LumatrekSetIris(h, 7); }, {{0xAABB, words({7})}}},
        {"gain", [](auto h) { return LumatrekSetGain(h, 3); }, {{0xAABC, words({3})}}},
        {"focus", [](auto h) { return LumatrekSetFocus(h, 5000); }, {{0xAAB9, words({5000})}}},
        {"exposure compensation", [](auto h) { return LumatrekSetExpComp(h, 4); }, {{0xAAC3, words({4})}}},
        {"display", [](auto h) { return LumatrekSetDisplay(h, 1); }, {{0xAAC0, words({1})}}},
        {"IR cut", [](auto h) { return LumatrekSetIRCut(h, 1); }, {{0xAAD4, words({1})}}},
        {"macro", [](auto h) { return LumatrekSetMacroMode(h, 1); }, {{0xAAD6, words({1})}}},
        {"synchro", [](auto h) { return LumatrekSetCameraSynchro(h, 0); }, {{0xC006, words({0})}}},
        {"flip", [](auto h) { return LumatrekSetFlip(h, 1); }, {{0xC004, words({1})}}},
        {"AE speed", [](auto h) { return LumatrekSetAEResponseSpeed(h, 32); }, {{0xC011, words({32})}}},
        {"eco", [](auto h) { return LumatrekSetEcoMode(h, 1); }, {{0xC015, words({1})}}},
        {"shutter", [](auto h) { return LumatrekSetShutter(h, 8, nullptr, nullptr); },
         {{0xAABD, words({8})}, {0xAAB8, ""}}},
        {"power", [](auto h) { return LumatrekSetPower(h, 500, 600, nullptr, nullptr); },
         {{0xAACC, words({500, 600})}}},
        {"manual mode", [](auto h) { return LumatrekSetManualMode(h, nullptr, nullptr); },
         {{0xAAC2, words({0})}, {0xAAC6, ""}, {0xAAC7, ""}}},
        {"shutter mode", [](auto h) { return LumatrekSetShutterMode(h); }, {{0xAAC2, words({1})}}},
        {"autofocus off", [](auto h) { return LumatrekSetAutofocusOff(h, nullptr); },
         {{0xAABE, words({0})}, {0xAAC4, ""}}},
        {"save focus", [](auto h) { return LumatrekSaveFocus(h); }, {{0xFFF8, ""}}},
        {"store", [](auto h) { return LumatrekStore(h); }, {{0xAAC1, ""}, {0xAACD, ""}}},
        {"focus values", [](auto h) { return LumatrekGetFocusValues(h, nullptr, nullptr); }, {{0xFFF9, ""}}},
        {"bracketing", [](auto h) { return LumatrekSetBracketingConfig(h, 1, 7); },
         {{0xC00A, words({1, 1})}, {0xC00C, words({7, 7})}}},
        {"LED trigger", [=](auto h) { return LumatrekSetLedExternalTriggerConfig(h, &sTrigger); },
         {{0xC00F, words({1, 0, 40, 200}, 28)}}},
        {"output", [](auto h) { return LumatrekSetOutput(h, 1); }, {{fourcc("GPIO"), ""}}},
        {"input state", [](auto h) {
             int32_t i32State = 0;
             return LumatrekGetIoState(h, &i32State);
         },
         {{0x6678, words({0})}}},
        {"barrier", [](auto h) { return LumatrekSetOpenBarrier(h); }, {{0x666B, ""}}},
        {"add plate", [](auto h) { return LumatrekAddToDataBase(h, "AB123CD"); },
         {{0xAADB, std::string("AB123CD\0\0\0\0", 11)}}},
        {"remove plate", [](auto h) { return LumatrekRemoveFromDataBase(h, "AB123CD"); },
         {{0xAADC, std::string("AB123CD\0\0\0\0", 11)}}},
        {"update database", [](auto h) { return LumatrekUpdateDataBase(h); }, {{0xAADE, ""}}},
        {"erase database", [](auto h) { return LumatrekEraseDataBase(h); }, {{0xAADD, ""}}},
        {"database config", [=](auto h) { return LumatrekSetDataBaseConfig(h, &sDataBase); },
         {{0xAAE1, Block(20).u32(0, 1).u32(4, 1).u32(8, 500).u8(12, 3).bytes()}}},
        {"ANPR config", [](auto h) { return LumatrekSetANPRConfigV2(h, "gate", 9, 240, "F|GB", 3, 512000, 2, 2); },
         {{0x5559, Block(372)
                       .text(0, 32, "gate")
                       .u8(32, 9)
                       .u8(33, 240)
                       .text(36, 64, "F|GB")
                       .u32(356, 3)
                       .u32(360, 512000)
                       .u32(364, 2)
                       .u16(368, 0xFE0A)
                       .u8(371, 2)
                       .bytes()}}},
        {"speed", [=](auto h) { return LumatrekSetRemoteSpeedParams(h, &sSpeed); },
         {{0x666C, words({1200, 550, 315}, 24)}}},
        {"area and mode", [=](auto h) {
             const uint32_t u32Mode = 1;
             return LumatrekSetRemoteRecognitionAreaOfInterest(h, &sArea, &u32Mode);
         },
         {{0x5561, words({10, 20, 300, 200, 1}, 44)}, {0x777A, Block(36).u8(0, 1).u8(1, 1).u8(2, 1).u8(4, 1)}}},
        {"configuration file", [](auto h) { return LumatrekSetConfigurationFile(h, 1, 4, "data"); },
         {{0x5567, std::string("\x01\0\0\0data", 8)}}},
        {"activation", [=](auto h) { return LumatrekSetActivationConfig(h, &sActivation); },
         {{0x777A, Block(36).u8(0, 1).u8(2, 1).u8(4, 1)}}},
        {"board", [=](auto h) { return LumatrekSetBoardConfig(h, &sBoard); },
         {{0xFFF6, boardBlock({{7, 2}, -3, 1, 1, 2, 221})}}},
        {"raw message", [](auto h) { return LumatrekSendCommandKGV(h, fourcc("RELS"), "\x05\0\0\0", 4, nullptr, 0); },
         {{fourcc("RELS"), words({5})}}},
        {"unique name", [](auto h) { return LumatrekSetUniqueName(h, "gate-3"); },
         {{0xFFFB, Block(32).text(0, 32, "gate-3")}}},
        {"subscribe", [=](auto h) { return LumatrekSubscribeUnicastDiscover(h, &sAddress); },
         {{0x6666, Block(28).text(0, 16, "10.0.0.9").u16(16, 5000)}}},
        {"unsubscribe", [=](auto h) { return LumatrekUnsubscribeUnicastDiscover(h, &sAddress); },
         {{0x6667, Block(28).text(0, 16, "10.0.0.9").u16(16, 5000)}}},
        {"master parameters", [=](auto h) { return LumatrekSetMasterParameters(h, &sMaster); },
         {{0x666E, masterParametersBlock({{11, 12}, -350, {0, 1, 2, 3, 4, 5}, {6, 7, 8, 9, 10, 11}, 0})}}},
        {"reset master", [](auto h) { return LumatrekResetMasterSlaveParameters(h); }, {{0x6672, ""}}},
        {"enslave parameters", [=](auto h) { return LumatrekSetRemoteEnslaveParams(h, &sEnslave); },
         {{0x3333, remoteEnslaveBlock({5, 60, 3, 2}, 0x1234)}}},
        {"status", [](auto h) {
             LumatrekStatus sStatus{};
             return LumatrekGetStatusV2(h, &sStatus);
         },
         {{0xAAAB, ""}}},
    };
}

} // namespace

TEST_F(CommandTest, EachCommandSendsItsBytes)
{
    startReady(anprSetup());
    for (const BytesCase &sCase : anprCases()) {
        SCOPED_TRACE(sCase.pcszName);
        const size_t szMark = packetCount();
        EXPECT_EQ(sCase.call(handle), 0);
        auto sent = packetsSince(szMark);
        std::erase_if(sent, [](const Packet &p) { return p.code == kKeepAlive; });
        ASSERT_EQ(sent.size(), sCase.sent.size());
        for (size_t i = 0; i < sent.size(); i++) {
            EXPECT_EQ(sent[i].code, sCase.sent[i].first) << i;
            if (sCase.sent[i].first != fourcc("GPIO")) {
                EXPECT_EQ(sent[i].payload, sCase.sent[i].second) << i;
            }
        }
    }
    auto output = sensor->waitForPacket(Port::Command, fourcc("GPIO"), 1s);
    ASSERT_TRUE(output);
    EXPECT_EQ(output->payload.substr(4), std::string("\x01\0\0\0", 4)) << "after the sender's clock";
    EXPECT_EQ(sensor->connectionCount(Port::Command), 1u);
    EXPECT_TRUE(reported().empty());
}

TEST_F(CommandTest, CommandsOfOtherSensorTypesSendTheirBytes)
{
    LumatrekLateStackConfig sLateStack = {1, 5, 9};
    const struct {
        const char *pcszName;
        DeviceSetup setup;
        Call call;
        uint32_t u32Code;
        std::string payload;
    } kCases[] = {
        {"MPEG", videoSetup(), [](auto h) { return LumatrekSetMPEGConfigV2(h, 1, 720, 576, 2000000, 25, 24); }, 0x555B,
         Block(20).u8(0, 1).u8(1, 24).u32(4, 720).u32(8, 576).u32(12, 2000000).u32(16, 25)},
        {"late stack", videoSetup(), [=](auto h) { return LumatrekSetRemoteLateStackConfig(h, &sLateStack); }, 0x6675,
         Block(24).u32(0, 1).u8(4, 5).u8(5, 9)},
        {"DGPR", dgprSetup(), [](auto h) { return LumatrekSetDGPRConfig(h, 3, 256000, -1, 171, 12, 240, 0, 4); },
         0x8888,
         Block(40).u32(0, 3).u32(4, 256000).u32(8, 0xFFFFFFFF).u8(12, 171).u8(13, 12).u8(14, 240).u32(16, 4).u32(20,
                                                                                                                  1)},
    };
    for (const auto &sCase : kCases) {
        SCOPED_TRACE(sCase.pcszName);
        startReady(sCase.setup);
        const size_t szMark = packetCount();
        EXPECT_EQ(sCase.call(handle), 0);
        auto got = sensor->waitForPacket(Port::Command, sCase.u32Code, 1s);
        ASSERT_TRUE(got);
        EXPECT_EQ(got->payload, sCase.payload);
        EXPECT_EQ(codesSince(szMark), std::vector<uint32_t>{sCase.u32Code});
        LumatrekDestroy(&handle);
        device.reset();
    }
}

TEST_F(CommandTest, AReadReturnsWhatWasWrittenAndTheHandleAnswersItAfterwards)
{
    DeviceSetup setup = anprSetup(11);
    startReady(setup);
    LumatrekHandle *psOther = createOn(sensor->port(Port::Command));
    ASSERT_NE(psOther, nullptr);
    ASSERT_EQ(WaitReady(psOther, 5000), 0);

    const LumatrekMasterParameters sMaster = {{11, 12}, -350, {0, 1, 2, 3, 4, 5}, {6, 7, 8, 9, 10, 11}, 0};
    const LumatrekRemoteEnslaveParams sEnslave = {5, 60, 3, 2, 0x1234};
    const LumatrekSpeedParams sSpeed = {1200, 550, 315};
    const LumatrekAreaOfInterest sArea = {10, 20, 300, 200, 1};
    const LumatrekDataBaseConfig sDataBase = {2, 0, 250, 4, {}};
    const LumatrekLedExternalTriggerConfig sTrigger = {0, 1, 1, 40, 200};
    const struct {
        const char *pcszName;
        Call write;
        std::function<int32_t(LumatrekHandle *, std::string *)> read;
        std::string expected;
    } kCases[] = {
        {"master", [&](auto h) { return LumatrekSetMasterParameters(h, &sMaster); },
         [](auto h, std::string *out) {
             LumatrekMasterParameters s{};
             int32_t r = LumatrekGetMasterParameters(h, &s);
             *out = std::string(reinterpret_cast<char *>(&s), sizeof(s));
             return r;
         },
         std::string(reinterpret_cast<const char *>(&sMaster), sizeof(sMaster))},
        {"enslave", [&](auto h) { return LumatrekSetRemoteEnslaveParams(h, &sEnslave); },
         [](auto h, std::string *out) {
             LumatrekRemoteEnslaveParams s{};
             int32_t r = LumatrekGetRemoteEnslaveParams(h, &s);
             *out = std::to_string(s.u32ElectionWaitS) + "," + std::to_string(s.u32SwitchType) + "," +
                    std::to_string(s.u16MaxGain);
             return r;
         },
         "5,3,4660"},
        {"speed", [&](auto h) { return LumatrekSetRemoteSpeedParams(h, &sSpeed); },
         [](auto h, std::string *out) {
             LumatrekSpeedParams s{};
             int32_t r = LumatrekGetRemoteSpeedParams(h, &s);
             *out = std::to_string(s.u32FieldOfViewCm) + "," + std::to_string(s.i32HeightCm) + "," +
                    std::to_string(s.i32AngleTenthDegree);
             return r;
         },
         "1200,550,315"},
        {"area", [&](auto h) { return LumatrekSetRemoteRecognitionAreaOfInterest(h, &sArea, nullptr); },
         [](auto h, std::string *out) {
             LumatrekAreaOfInterest s{};
             int32_t r = LumatrekGetRemoteRecognitionAreaOfInterest(h, &s, nullptr);
             *out = std::to_string(s.u32X) + "," + std::to_string(s.u32Height) + "," + std::to_string(s.u32Excluding);
             return r;
         },
         "10,200,1"},
        {"database", [&](auto h) { return LumatrekSetDataBaseConfig(h, &sDataBase); },
         [](auto h, std::string *out) {
             LumatrekDataBaseConfig s{};
             int32_t r = LumatrekGetDataBaseConfig(h, &s);
             *out = std::to_string(s.u32Mode) + "," + std::to_string(s.u32ImpulseDurationMs) + "," +
                    std::to_string(s.u8MatchTolerance);
             return r;
         },
         "2,250,4"},
        {"LED trigger", [&](auto h) { return LumatrekSetLedExternalTriggerConfig(h, &sTrigger); },
         [](auto h, std::string *out) {
             LumatrekLedExternalTriggerConfig s{};
             int32_t r = LumatrekGetLedExternalTriggerConfig(h, &s);
             *out = std::to_string(s.u32Enabled) + "," + std::to_string(s.u32Bracketing) + "," +
                    std::to_string(s.u32Width);
             return r;
         },
         "1,1,200"},
    };
    for (const auto &sCase : kCases) {
        SCOPED_TRACE(sCase.pcszName);
        ASSERT_EQ(sCase.write(handle), 0);
        std::string got;
        size_t szMark = packetCount();
        EXPECT_EQ(sCase.read(handle, &got), 0);
        EXPECT_EQ(got, sCase.expected) << "kept by the handle that wrote it";
        EXPECT_TRUE(codesSince(szMark).empty()) << "answered without traffic";
        EXPECT_EQ(sCase.read(psOther, &got), 0);
        EXPECT_EQ(got, sCase.expected) << "read from the sensor by another handle";
        szMark = packetCount();
        EXPECT_EQ(sCase.read(psOther, &got), 0);
        EXPECT_TRUE(codesSince(szMark).empty()) << "asked only the first time";
    }
    LumatrekDestroy(&psOther);
}

TEST_F(CommandTest, CameraValuesAreKeptAndReturned)
{
    DeviceSetup setup = anprSetup();
    setup.camera[1] = 23456;
    startReady(setup);
    EXPECT_EQ(LumatrekSetZoom(handle, 2000), 0);
    EXPECT_EQ(handle->sCamera.u32Zoom, 2000u);
    EXPECT_EQ(device->camera()[0], 2000u);
    uint32_t u32Focus = 0, u32Iris = 0, u32Gain = 0, u32Power1 = 0, u32Power2 = 0;
    EXPECT_EQ(LumatrekSetAutofocusOff(handle, &u32Focus), 0);
    EXPECT_EQ(u32Focus, 23456u);
    EXPECT_EQ(LumatrekSetManualMode(handle, &u32Iris, &u32Gain), 0);
    EXPECT_EQ(u32Iris, 5u);
    EXPECT_EQ(u32Gain, 3u);
    EXPECT_EQ(LumatrekSetPower(handle, 1500, 1700, &u32Power1, &u32Power2), 0);
    EXPECT_EQ(u32Power2, 1700u);
    EXPECT_EQ(LumatrekSetShutter(handle, 10, &u32Power1, &u32Power2), 0);
    EXPECT_EQ(u32Power1, 1500u) << "read back from the LED board";
    EXPECT_EQ(handle->sCamera.u32Shutter, 10u);
    uint32_t u32On = 0, u32Off = 0;
    EXPECT_EQ(LumatrekGetFocusValues(handle, &u32On, &u32Off), 0);
    EXPECT_EQ(u32Off, 22000u);
    EXPECT_EQ(LumatrekSetBracketingConfig(handle, 1, 300), 0);
    uint32_t u32First = 0, u32Second = 0;
    EXPECT_EQ(LumatrekGetBracketingConfig(handle, &u32First, &u32Second), 0);
    EXPECT_EQ(u32Second, 300u);
    EXPECT_EQ(LumatrekSetPower(handle, 4001, 0, nullptr, nullptr), LT_STATUS_INVALIDARGUMENT)
        << "above the LED board's maximum";
}

TEST_F(CommandTest, TheDatabaseIsListedInOrderAndAnEmptyOneReturnsEmpty)
{
    startReady(anprSetup());
    std::vector<std::string> listed;
    auto collect = [](LumatrekHandle *, uint32_t u32Index, const char *pcszPlate, void *pUser) {
        auto *psListed = static_cast<std::vector<std::string> *>(pUser);
        EXPECT_EQ(u32Index, psListed->size());
        psListed->push_back(pcszPlate);
        return 1;
    };
    EXPECT_EQ(LumatrekEnumDataBase(handle, collect, &listed), LT_STATUS_EMPTY);
    EXPECT_TRUE(listed.empty());
    EXPECT_TRUE(reported().empty());
    for (const char *pcszPlate : {"AA111AA", "BB22222BB", "C3"})
        EXPECT_EQ(LumatrekAddToDataBase(handle, pcszPlate), 0);
    uint32_t u32Count = 0;
    EXPECT_EQ(LumatrekGetDataBaseSize(handle, &u32Count), 0);
    EXPECT_EQ(u32Count, 3u);
    EXPECT_EQ(LumatrekEnumDataBase(handle, collect, &listed), 0);
    EXPECT_EQ(listed, (std::vector<std::string>{"AA111AA", "BB22222BB", "C3"}));
    EXPECT_EQ(LumatrekAddToDataBase(handle, "ABCDEFGHIJK"), -1) << "eleven characters";
    EXPECT_EQ(reported().back().i32Code, -20);
}

TEST_F(CommandTest, SubscriptionsAreReadOnceUntilTheyChange)
{
    startReady(anprSetup());
    const LumatrekDiscoverAddress asAddresses[] = {{"10.0.0.1", 5001}, {"10.0.0.2", 5002}};
    for (const auto &sAddress : asAddresses)
        EXPECT_EQ(LumatrekSubscribeUnicastDiscover(handle, &sAddress), 0);
    uint32_t u32Count = 0;
    EXPECT_EQ(LumatrekGetSubscribedUnicastDiscover(handle, nullptr, &u32Count), 0);
    EXPECT_EQ(u32Count, 2u);
    LumatrekDiscoverAddress asList[4] = {};
    u32Count = 1;
    EXPECT_EQ(LumatrekGetSubscribedUnicastDiscover(handle, asList, &u32Count), -1) << "no room for two";
    EXPECT_EQ(reported().back().i32Code, -20);
    u32Count = 4;
    EXPECT_EQ(LumatrekGetSubscribedUnicastDiscover(handle, asList, &u32Count), 0);
    EXPECT_EQ(u32Count, 2u);
    EXPECT_STREQ(asList[1].aszAddress, "10.0.0.2");
    EXPECT_EQ(asList[1].u32Port, 5002u);
    const size_t szMark = packetCount();
    EXPECT_EQ(LumatrekGetSubscribedUnicastDiscover(handle, asList, &u32Count), 0);
    EXPECT_TRUE(codesSince(szMark).empty()) << "kept";
    EXPECT_EQ(LumatrekUnsubscribeUnicastDiscover(handle, &asAddresses[0]), 0);
    EXPECT_EQ(LumatrekGetSubscribedUnicastDiscover(handle, asList, &u32Count), 0);
    EXPECT_EQ(u32Count, 1u) << "asked again after a change";
}

TEST_F(CommandTest, TheSerialPortIsLockedWrittenAndReadBySizeOrTerminator)
{
    startReady(anprSetup());
    device->serialInput("abcdexy\n");
    EXPECT_EQ(LumatrekWriteRS232(handle, reinterpret_cast<const uint8_t *>("hi"), 2), LT_STATUS_RS232NOTLOCKED);
    EXPECT_EQ(reported().back().text, "Command RS232 not locked");
    EXPECT_EQ(LumatrekSwitchAndLockRS232(handle, 2), 0);
    EXPECT_EQ(LumatrekSwitchAndLockRS232(handle, 2), LT_STATUS_RS232LOCKED);
    EXPECT_EQ(reported().back().i32Code, -216);
    EXPECT_EQ(LumatrekSetZoom(handle, 10), LT_STATUS_RS232LOCKED) << "camera commands wait for the port";
    EXPECT_EQ(LumatrekWriteRS232(handle, reinterpret_cast<const uint8_t *>("hello"), 5), 0);
    EXPECT_EQ(device->serialOutput(), "hello");
    EXPECT_EQ(LumatrekWriteRS232(handle, reinterpret_cast<const uint8_t *>("x"), 0), LT_STATUS_INVALIDARGUMENT);
    uint8_t au8Buffer[300] = {};
    EXPECT_EQ(LumatrekReadRS232Size(handle, au8Buffer, 5, 100), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(au8Buffer), 5), "abcde");
    EXPECT_EQ(LumatrekReadRS232Size(handle, au8Buffer, 257, 100), LT_STATUS_INVALIDARGUMENT);
    uint32_t u32Length = 2;
    EXPECT_EQ(LumatrekReadRS232Terminator(handle, au8Buffer, '\n', 100, &u32Length), -1) << "three bytes came";
    device->serialInput("xy\n");
    u32Length = sizeof(au8Buffer);
    EXPECT_EQ(LumatrekReadRS232Terminator(handle, au8Buffer, '\n', 100, &u32Length), 0);
    EXPECT_EQ(u32Length, 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(au8Buffer), 3), "xy\n");
    auto terminator = sensor->waitForPacket(Port::Command, 0xAACA, 1s);
    ASSERT_TRUE(terminator);
    EXPECT_EQ(terminator->payload, std::string("\n\x64\0\0\0", 5));
    EXPECT_EQ(LumatrekUnlockRS232(handle), 0);
    EXPECT_EQ(LumatrekSetZoom(handle, 10), 0);
}

TEST_F(CommandTest, UnavailableCommandsAndTrippedGuardsSendNothing)
{
    DeviceSetup noCamera = videoSetup();
    noCamera.video.cameraWord = 0;
    DeviceSetup autofocus = anprSetup();
    autofocus.camera[8] = 1;
    DeviceSetup recorder;
    recorder.form = Form::Recorder;
    recorder.version = {0x4444, {1, 0, 0}, {2, 5, 0}};
    const struct {
        const char *pcszName;
        DeviceSetup setup;
        Call call;
        int32_t i32Result, i32Code;
    } kCases[] = {
        {"zoom without camera", noCamera, [](auto h) { return LumatrekSetZoom(h, 1); }, -6, -215},
        {"IR cut without that camera", DeviceSetup{}, [](auto h) { return LumatrekSetIRCut(h, 1); }, -6, -215},
        {"barrier on 4.0", anprSetup(0), [](auto h) { return LumatrekSetOpenBarrier(h); }, -6, -215},
        {"database on video", videoSetup(), [](auto h) { return LumatrekEraseDataBase(h); }, -6, -215},
        {"ANPR configuration on DGPR", dgprSetup(),
         [](auto h) { return LumatrekSetANPRConfigV2(h, "n", 9, 31, "F", 3, 1, 2, 0); }, -6, -215},
        {"MPEG on ANPR", anprSetup(), [](auto h) { return LumatrekSetMPEGConfigV2(h, 1, 352, 288, 1, 1, 1); }, -6,
         -215},
        {"input state on 4.5", anprSetup(5),
         [](auto h) {
             int32_t i32State = 0;
             return LumatrekGetIoState(h, &i32State);
         },
         -6, -215},
        {"unique name on 4.0", anprSetup(0), [](auto h) { return LumatrekSetUniqueName(h, "x"); }, -6, -215},
        {"unique name on a recorder", recorder, [](auto h) { return LumatrekSetUniqueName(h, "x"); }, 0, 0},
        {"output on a recorder", recorder, [](auto h) { return LumatrekSetOutput(h, 1); }, 0, 0},
        {"focus under autofocus", autofocus, [](auto h) { return LumatrekSetFocus(h, 5000); }, -1, -205},
        {"MPEG frame rate too high", videoSetup(), [](auto h) { return LumatrekSetMPEGConfigV2(h, 1, 352, 288, 1, 1, 25); },
         -7, -20},
        {"unknown command", anprSetup(), [](auto h) {
             LumatrekErrorInfo sError;
             LT_initError(&sError, "test", 1);
             return SendCommand(h, &sError, 999, 0, 1, 0, nullptr, 0, nullptr);
         },
         -1, 0},
    };
    for (const auto &sCase : kCases) {
        SCOPED_TRACE(sCase.pcszName);
        startReady(sCase.setup);
        const size_t szMark = packetCount();
        const size_t szErrors = errorCount();
        EXPECT_EQ(sCase.call(handle), sCase.i32Result);
        EXPECT_EQ(codesSince(szMark).empty(), sCase.i32Result != 0);
        if (sCase.i32Code != 0) {
            ASSERT_FALSE(errorsSince(szErrors).empty());
            EXPECT_EQ(errorsSince(szErrors).back().i32Code, sCase.i32Code);
        }
        LumatrekDestroy(&handle);
        device.reset();
    }
}

TEST_F(CommandTest, ArgumentsOutsideTheirRangesAreRefusedBeforeTheHandle)
{
    LumatrekLateStackConfig sLateStack = {1, 0, 9};
    LumatrekDataBaseConfig sDataBase = {3, 0, 0, 0, {}};
    LumatrekBoardConfig sBoard = {{0, 0}, 0, 0, 0, 0, 5};
    const struct {
        const char *pcszName;
        Call call;
    } kCases[] = {
        {"shutter 5", [](auto h) { return LumatrekSetShutter(h, 5, nullptr, nullptr); }},
        {"shutter 22", [](auto h) { return LumatrekSetShutter(h, 22, nullptr, nullptr); }},
        {"iris 18", [](auto h) { return LumatrekSetIris(h, 18); }},
        {"gain 16", [](auto h) { return LumatrekSetGain(h, 16); }},
        {"focus 4095", [](auto h) { return LumatrekSetFocus(h, 4095); }},
        {"exposure 15", [](auto h) { return LumatrekSetExpComp(h, 15); }},
        {"lock mode 4", [](auto h) { return LumatrekSwitchAndLockRS232(h, 4); }},
        {"I/O mode 3", [](auto h) { return LumatrekSetIoMode(h, 3); }},
        {"MPEG 720x480", [](auto h) { return LumatrekSetMPEGConfigV2(h, 1, 720, 480, 1, 1, 1); }},
        {"ANPR compression 2", [](auto h) { return LumatrekSetANPRConfigV2(h, "n", 2, 31, "F", 3, 1, 2, 0); }},
        {"ANPR still size 241", [](auto h) { return LumatrekSetANPRConfigV2(h, "n", 9, 241, "F", 3, 1, 2, 0); }},
        {"ANPR mode 5", [](auto h) { return LumatrekSetANPRConfigV2(h, "n", 9, 31, "F", 3, 1, 2, 5); }},
        {"ANPR name of 32", [](auto h) {
             return LumatrekSetANPRConfigV2(h, std::string(32, 'n').c_str(), 9, 31, "F", 3, 1, 2, 0);
         }},
        {"DGPR mode 2", [](auto h) { return LumatrekSetDGPRConfig(h, 1, 1, 1, 2, 9, 240, 1, 4); }},
        {"DGPR compression 32", [](auto h) { return LumatrekSetDGPRConfig(h, 1, 1, 1, 1, 32, 240, 1, 4); }},
        {"late stack size 0", [=](auto h) { return LumatrekSetRemoteLateStackConfig(h, &sLateStack); }},
        {"database mode 3", [=](auto h) { return LumatrekSetDataBaseConfig(h, &sDataBase); }},
        {"board sensor type 5", [=](auto h) { return LumatrekSetBoardConfig(h, &sBoard); }},
        {"address missing without DHCP",
         [](auto h) { return LumatrekSetIPConfigV3(h, nullptr, "m", "g", "d", 1, 1, 1, 1, 0); }},
        {"port 0", [](auto h) { return LumatrekSetIPConfigV3(h, "a", "m", "g", "d", 1, 0, 1, 1, 0); }},
        {"address of 16", [](auto h) {
             return LumatrekSetIPConfigV3(h, "1234567890123456", "m", "g", "d", 1, 1, 1, 1, 0);
         }},
        {"name of 32", [](auto h) { return LumatrekSetUniqueName(h, std::string(32, 'n').c_str()); }},
        {"file index 3", [](auto h) { return LumatrekSetConfigurationFile(h, 3, 1, "x"); }},
        {"area without either", [](auto h) { return LumatrekSetRemoteRecognitionAreaOfInterest(h, nullptr, nullptr); }},
        {"area read without either",
         [](auto h) { return LumatrekGetRemoteRecognitionAreaOfInterest(h, nullptr, nullptr); }},
        {"log request 9", [](auto h) { return LumatrekGetCurrentLogInfoV2(h, 9, 0); }},
        {"null output", [](auto h) { return LumatrekGetMasterParameters(h, nullptr); }},
        {"null plate", [](auto h) { return LumatrekAddToDataBase(h, nullptr); }},
        {"null callback", [](auto h) { return LumatrekEnumDataBase(h, nullptr, nullptr); }},
    };
    startReady(anprSetup());
    for (const auto &sCase : kCases) {
        SCOPED_TRACE(sCase.pcszName);
        const size_t szMark = packetCount();
        const size_t szErrors = errorCount();
        EXPECT_EQ(sCase.call(handle), -1);
        EXPECT_TRUE(codesSince(szMark).empty());
        auto reports = errorsSince(szErrors);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].i32Code, -20);
        EXPECT_EQ(reports[0].text, "Invalid argument");
        EXPECT_EQ(reports[0].i32Type, 1);
    }
    EXPECT_EQ(LumatrekSetShutter(handle, 6, nullptr, nullptr), 0);
    EXPECT_EQ(LumatrekSetShutter(handle, 21, nullptr, nullptr), 0);
}

TEST_F(CommandTest, SizesFromTheSensorAreCappedBeforeAnythingIsAllocated)
{
    DeviceSetup setup = anprSetup();
    startReady(setup);
    device->script(0xAAE0, Answer::raw(packet(0xAAE0, Block(4).u32(0, 0x80000000u).bytes())), 1);
    auto never = [](LumatrekHandle *, uint32_t, const char *, void *) {
        ADD_FAILURE() << "no entry";
        return 0;
    };
    EXPECT_EQ(LumatrekEnumDataBase(handle, never, nullptr), LT_STATUS_INVALIDANSWER);
    EXPECT_EQ(reported().back().text, "Command invalid answer");

    device->script(0x666A, Answer::raw(packet(0x666A, Block(4).u32(0, 0x0AAAAAAAu).bytes())), 1);
    LumatrekDiscoverAddress asList[2];
    uint32_t u32Count = 2;
    EXPECT_EQ(LumatrekGetSubscribedUnicastDiscover(handle, asList, &u32Count), LT_STATUS_INVALIDANSWER);
    EXPECT_EQ(sensor->connectionCount(Port::Command), 1u) << "a count too large keeps the connection";
    LumatrekDestroy(&handle);
    device.reset();

    setup.form = Form::VideoExternal;
    setup.version.sensorCode = 0x2225;
    const size_t szMark = errorCount();
    device = std::make_unique<KgvDevice>(*sensor, setup);
    device->script(0x5568, Answer::raw(header(0xFFFFFFF0u, 0x5568)));
    handle = createOn(sensor->port(Port::Command));
    EXPECT_TRUE(waitForError(szMark, -207)) << "an external configuration beyond any real one is refused";
    EXPECT_EQ(handle->asData[0].pu8Data, nullptr);
}

TEST_F(CommandTest, TheIpConfigurationSendsDhcpByProtocolAndMovesTheHandle)
{
    const struct {
        const char *pcszName;
        int16_t i16Minor;
        const char *pcszAddress;
        uint32_t u32Dhcp;
        const char *pcszSent;
        uint32_t u32SentDhcp;
    } kCases[] = {
        {"DHCP below 4.3", 2, "10.1.1.1", 1, "0.0.0.0", 0},
        {"no address from 4.3", 3, "0.0.0.0", 0, "0.0.0.0", 1},
        {"fixed address", 3, "127.0.0.1", 0, "127.0.0.1", 0},
    };
    for (const auto &sCase : kCases) {
        SCOPED_TRACE(sCase.pcszName);
        DeviceSetup setup = anprSetup(sCase.i16Minor);
        device = std::make_unique<KgvDevice>(*sensor, setup);
        const std::string text = "localhost:" + std::to_string(sensor->port(Port::Command)) + ",0,0";
        handle = LumatrekCreateCommand(text.c_str(), &LumatrekTest::onState, this, &LumatrekTest::onError, this);
        ASSERT_EQ(WaitReady(handle, 5000), 0);
        const size_t szConnections = sensor->connectionCount(Port::Command);
        const uint16_t u16Port = sensor->port(Port::Command);
        const char *pcszDns = sCase.u32Dhcp ? nullptr : "10.0.0.2";
        EXPECT_EQ(LumatrekSetIPConfigV3(handle, sCase.pcszAddress, "255.0.0.0", "10.0.0.1", pcszDns, 7000, u16Port,
                                        10101, 10100, sCase.u32Dhcp),
                  0);
        auto sent = sensor->waitForPacket(Port::Command, 0x555D, 1s, 0);
        ASSERT_TRUE(sent);
        EXPECT_EQ(sent->payload.substr(0, 16), Block(16).text(0, 16, sCase.pcszSent).bytes());
        EXPECT_EQ(sent->payload.substr(48, 16), Block(16).text(0, 16, pcszDns ? pcszDns : "0.0.0.0").bytes())
            << "a missing text is no address";
        EXPECT_EQ(readU32(sent->payload, 68), u16Port);
        EXPECT_EQ(readU32(sent->payload, 80), sCase.u32SentDhcp);
        ASSERT_TRUE(reconnected(szConnections));
        LT_lock(handle, LT_MUTEX_PORT);
        EXPECT_STREQ(handle->pszHost, std::string(sCase.pcszSent) == "0.0.0.0" ? "localhost" : sCase.pcszSent)
            << "a sensor asked to find its address keeps the one it had";
        EXPECT_EQ(handle->u32StreamPortOverride, 10101u);
        EXPECT_EQ(handle->u32TimePort, 10100u);
        LT_unlock(handle, LT_MUTEX_PORT);
        LumatrekDestroy(&handle);
        device.reset();
        sensor = std::make_unique<KgvSensor>();
    }
}

TEST_F(CommandTest, AChangedFrameRateRestartsTheStreamsFrameCounters)
{
    startReady(anprSetup());
    EXPECT_EQ(LumatrekSetANPRConfigV2(handle, "n", 9, 31, "F", 3, 1000, AnprForm{}.frameSkip, 0), 0);
    EXPECT_EQ(SA_AtomicLoad(&handle->bResetFrameCounters), 0);
    EXPECT_EQ(LumatrekSetANPRConfigV2(handle, "n", 9, 31, "F", 3, 1000, 5, 0), 0);
    EXPECT_EQ(SA_AtomicLoad(&handle->bResetFrameCounters), 1);
    LumatrekConfig sConfig;
    EXPECT_EQ(LumatrekGetConfig(handle, &sConfig), 0);
    EXPECT_EQ(sConfig.uBody.sAnpr.i32StreamFrameSkip, 5);
    EXPECT_STREQ(sConfig.uBody.sAnpr.aszPossibleContexts, "F|GB|D|E|I") << "the sensor's list stays";
}

TEST_F(LumatrekTest, AStreamHandleAnswersReadsFromWhatItHolds)
{
    LumatrekHandle *psHandle = create("127.0.0.1:0,0,0", LT_CREATE_STREAM);
    ASSERT_NE(psHandle, nullptr);
    LumatrekConfig sConfig;
    EXPECT_EQ(LumatrekGetConfig(psHandle, &sConfig), -1);
    EXPECT_EQ(reported().back().i32Code, -290);
    EXPECT_EQ(reported().back().text, "Information not provided");
    LumatrekMasterParameters sMaster;
    EXPECT_EQ(LumatrekGetMasterParameters(psHandle, &sMaster), -1);
    uint32_t u32First = 0, u32Second = 0;
    const size_t szReports = reported().size();
    EXPECT_EQ(LumatrekGetBracketingConfig(psHandle, &u32First, &u32Second), -1);
    EXPECT_EQ(reported().size(), szReports) << "reports nothing";
    LumatrekStatus sStatus{};
    sStatus.sState.u32Global = 99;
    EXPECT_EQ(LumatrekGetStatusV2(psHandle, &sStatus), -1);
    EXPECT_EQ(sStatus.sState.u32Global, 0u) << "the state is given all the same";
    uint32_t u32Count = 0;
    EXPECT_EQ(LumatrekGetSubscribedUnicastDiscover(psHandle, nullptr, &u32Count), -1);

    LT_lock(psHandle, LT_MUTEX_CONFIG);
    psHandle->sConfig.u32SensorType = LUMATREK_SENSOR_DGPR;
    psHandle->sMasterParameters.i32CoveringZone = -200;
    psHandle->u32Status = 0x41;
    LT_setHeld(psHandle, LT_RECEIVED_CONFIG | LT_RECEIVED_MASTER_PARAMETERS | LT_RECEIVED_DESCRIPTION);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    EXPECT_EQ(LumatrekGetConfig(psHandle, &sConfig), 0);
    EXPECT_EQ(sConfig.u32SensorType, uint32_t(LUMATREK_SENSOR_DGPR));
    EXPECT_EQ(LumatrekGetMasterParameters(psHandle, &sMaster), 0);
    EXPECT_EQ(sMaster.i32CoveringZone, -200);
    EXPECT_EQ(LumatrekGetStatusV2(psHandle, &sStatus), 0);
    EXPECT_EQ(sStatus.u32Status, 0x41u);
    EXPECT_EQ(LumatrekSetIris(psHandle, 1), -2);
    EXPECT_EQ(reported().back().i32Code, -140);
    LumatrekDestroy(&psHandle);
}
