// The command connection against the test sensor: start-up reads by sensor type and protocol,
// readiness and the status word, keep-alive, the reconnection rules and the hand-off of
// requests from calling threads.
#include <atomic>
#include <future>
#include <thread>

#include "CommandTestSupport.h"
#include "WaitQueueInternal.h"

using namespace kgvsim;

namespace {

Version version(std::uint32_t u32Code, std::int16_t i16Major, std::int16_t i16Minor)
{
    Version v;
    v.sensorCode = u32Code;
    v.protocol = {i16Major, i16Minor, 0};
    return v;
}

struct StartUpCase {
    const char *pcszName;
    DeviceSetup setup;
    std::vector<uint32_t> codes;
    uint32_t u32SensorType;
};

std::vector<StartUpCase> startUpCases()
{
    std::vector<StartUpCase> cases;
    DeviceSetup anpr;
    anpr.version = version(0x2222, 4, 8);
    cases.push_back({"ANPR 4.8",
                     anpr,
                     {0x112, 0xAAAC, 0xFFFA, 0xFFF7, 0xAAB3, 0x6673, 0x6677, 0xAAF1, 0x777B, 0xAAAB, 0x111, 0xAAD7,
                      0xC007, 0xC012, 0xAAB8},
                     LUMATREK_SENSOR_ANPR});
    DeviceSetup dgpr;
    dgpr.form = Form::Dgpr;
    dgpr.version = version(0x2223, 4, 5);
    cases.push_back({"DGPR 4.5",
                     dgpr,
                     {0x112, 0xAAAC, 0xFFFA, 0xFFF7, 0xAAB3, 0x6673, 0x6677, 0xFFFC, 0xAAF1, 0xAAAB, 0x111, 0xAAD7,
                      0xC007, 0xAAB8},
                     LUMATREK_SENSOR_DGPR});
    DeviceSetup signature;
    signature.form = Form::Signature;
    signature.version = version(0x2224, 4, 2);
    cases.push_back({"signature 4.2",
                     signature,
                     {0x112, 0xAAAC, 0xFFFA, 0xFFF7, 0xAAB3, 0xAAAB, 0x111, 0xAAD7, 0xAAB8},
                     LUMATREK_SENSOR_SIGNATURE});
    DeviceSetup video;
    video.form = Form::Video;
    video.version = version(0x1111, 2, 1);
    cases.push_back({"video 2.1", video, {0x112, 0xAAAC, 0xFFF7, 0xAAB3, 0xAAAB, 0x111, 0xAAB7, 0xAAB8}, 0});
    DeviceSetup external;
    external.form = Form::VideoExternal;
    external.version = version(0x2225, 4, 4);
    cases.push_back({"external video 4.4",
                     external,
                     {0x112, 0xAAAC, 0x5568, 0x5568, 0x5568, 0xFFFA, 0xFFF7, 0xAAB3, 0x6673, 0x6677, 0xFFFC, 0xAAF1,
                      0xAAAB, 0x111, 0xAAD7, 0xC005, 0xC007},
                     LUMATREK_SENSOR_VIDEO_EXTERNAL});
    DeviceSetup recorder;
    recorder.form = Form::Recorder;
    recorder.version = version(0x4444, 4, 1);
    recorder.recorderStreamPort = 10101;
    cases.push_back({"recorder 4.1",
                     recorder,
                     {0x112, 0xAAAC, 0xFFFA, 0xAAB3, 0xAAAB, 0x111, 0xAAAC, 0xFFFA, 0xAAB3},
                     LUMATREK_SENSOR_RECORDER});
    return cases;
}

} // namespace

TEST_F(CommandTest, StartUpReadsWhatEachSensorTypeAndProtocolHasThenServes)
{
    for (const StartUpCase &sCase : startUpCases()) {
        SCOPED_TRACE(sCase.pcszName);
        const size_t szMark = packetCount();
        startReady(sCase.setup);
        EXPECT_EQ(codesSince(szMark), sCase.codes);
        EXPECT_EQ(handle->sConfig.u32SensorType, sCase.u32SensorType);
        EXPECT_STREQ(handle->aszVersionText, "KGV test sensor");
        EXPECT_EQ(handle->u32StreamPortInUse, sCase.u32SensorType == LUMATREK_SENSOR_RECORDER ? 10101u : 10001u);
        LumatrekDestroy(&handle);
        device.reset();
    }
    EXPECT_TRUE(reported().empty());
}

TEST_F(CommandTest, StartUpKeepsIdentityPortsAndExternalConfigurations)
{
    DeviceSetup setup;
    setup.form = Form::VideoExternal;
    setup.version = version(0x2225, 4, 6);
    setup.ports = {12011, 12001, 12000, 1};
    startReady(setup);
    EXPECT_EQ(handle->sConfig.sIp.u32CommandPort, 12011u);
    EXPECT_EQ(handle->sConfig.sIp.u32StreamPort, 12001u);
    EXPECT_EQ(handle->sConfig.sIp.u32TimePort, 12000u);
    EXPECT_EQ(handle->sConfig.sIp.u32Dhcp, 1u);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(handle->asData[0].pu8Data), handle->asData[0].u32Size), "classes-0");
    EXPECT_EQ(handle->asData[1].pu8Data, nullptr) << "an empty configuration leaves its slot empty";
    EXPECT_EQ(handle->asData[2].u32Size, 9u);
    EXPECT_EQ(std::string(handle->aszUniqueName), "kgvsim-name");
    EXPECT_EQ(handle->au8Mac[5], 0x33);
    EXPECT_EQ(handle->u32CardClass, 1u);
    EXPECT_STREQ(handle->sDescription.aszName, "kgvsim-desc");
    EXPECT_STREQ(handle->sDescription.aszAddress, "127.0.0.1");
    EXPECT_EQ(handle->sDescription.u32Valid, 1u);
    EXPECT_EQ(handle->sActivation.u32DuplicateFilter, 1u);
    EXPECT_EQ(handle->sBoard.u32IoMode, 2u);
    const uint32_t u32Held = LT_RECEIVED_VERSION | LT_RECEIVED_VERSION_TEXT | LT_RECEIVED_CONFIG | LT_RECEIVED_BOARD |
                             LT_RECEIVED_MASTER_ADDRESSES | LT_RECEIVED_DESCRIPTION | LT_RECEIVED_ACTIVATION |
                             LT_RECEIVED_EXTERNAL | LT_RECEIVED_CAMERA;
    EXPECT_EQ(handle->au32Received[0] & u32Held, u32Held);
}

TEST_F(CommandTest, BelowProtocolThreeThePortsAreTheDefaultsAndDhcpFollowsTheAddress)
{
    DeviceSetup setup;
    setup.form = Form::Video;
    setup.version = version(0x1111, 2, 9);
    setup.video.net.address = "0.0.0.0";
    setup.ports = {1, 2, 3, 0};
    startReady(setup);
    EXPECT_EQ(handle->sConfig.sIp.u32CommandPort, 11011u);
    EXPECT_EQ(handle->sConfig.sIp.u32StreamPort, 10001u);
    EXPECT_EQ(handle->sConfig.sIp.u32TimePort, 10000u);
    EXPECT_EQ(handle->sConfig.sIp.u32Dhcp, 1u);
}

TEST_F(CommandTest, OptionalReadsNotSupportedLeaveTheirValuesAndTheSensorIsServed)
{
    DeviceSetup setup;
    setup.version = version(0x2222, 4, 8);
    setup.form = Form::Signature;
    setup.signature.cameraWord = 0x05200435;
    setup.notSupported = {0xFFF7, 0xAAB3, 0x6673, 0x6677, 0xFFFC, 0xAAF1, 0x777B, 0xC007, 0xC012};
    startReady(setup);
    EXPECT_FALSE(LT_isHeld(handle, LT_RECEIVED_BOARD));
    EXPECT_FALSE(LT_isHeld(handle, LT_RECEIVED_DESCRIPTION));
    EXPECT_EQ(handle->u32CardClass, 0u);
    EXPECT_EQ(handle->aszUniqueName[0], '\0');
    EXPECT_EQ(handle->sCamera.u32Zoom, 1000u) << "the camera is still read";
    EXPECT_TRUE(reported().empty());
}

TEST_F(CommandTest, StatusWordProblemsAreReportedAtEveryConnectionAndTheSensorIsServed)
{
    const struct {
        uint32_t u32Status;
        int32_t i32Code;
        const char *pcszText;
    } kCases[] = {
        {0x10000001, -30, "Unknown status"}, {0x201, -45, "Hardware error (I2C link)"},
        {0x401, -50, "Hardware error (UART)"}, {0x3, -55, "MAC address not set"},
        {0x9, -60, "No OCR base set"},
    };
    for (const auto &sCase : kCases) {
        DeviceSetup setup;
        setup.status = sCase.u32Status;
        const size_t szMark = errorCount();
        startReady(setup);
        auto reports = errorsSince(szMark);
        ASSERT_EQ(reports.size(), 1u) << sCase.pcszText;
        EXPECT_EQ(reports[0].i32Code, sCase.i32Code);
        EXPECT_EQ(reports[0].text, sCase.pcszText);
        EXPECT_EQ(reports[0].function, "CommandThread");
        EXPECT_EQ(reports[0].i32Critical, 0);
        EXPECT_EQ(reports[0].i32Type, 0);

        const size_t szAgain = errorCount();
        const size_t szConnections = sensor->connectionCount(Port::Command);
        sensor->dropConnections(Port::Command);
        ASSERT_TRUE(reconnected(szConnections));
        EXPECT_TRUE(waitForError(szAgain, sCase.i32Code)) << "reported again on the new connection";
        LumatrekDestroy(&handle);
        device.reset();
    }
}

TEST_F(CommandTest, AnUnknownConfigurationKindIsAnUnsupportedDeviceAndIsNotServed)
{
    DeviceSetup setup;
    setup.configCode = 0x7777;
    start(setup);
    ASSERT_TRUE(waitForError(0, -110));
    auto reports = reported();
    EXPECT_EQ(reports[0].text, "Unsupported device");
    EXPECT_EQ(reports[0].i32Critical, 1);
    EXPECT_EQ(reports[0].function, "CommandThread");
    EXPECT_EQ(WaitReady(handle, 100), LUMATREK_ERROR_TIMEOUT);
    // The report at the next attempt stops the handle: public calls then say so.
    ASSERT_TRUE(waitFor(5s, [&] { return !LT_isRunning(handle); }));
    EXPECT_EQ(LumatrekSetZoom(handle, 1), -2);
}

TEST_F(CommandTest, ATooColdSensorIsAskedAgainAtEveryPollUntilItWarmsUp)
{
    DeviceSetup setup;
    setup.status = 0x2001;
    start(setup);
    ASSERT_TRUE(waitFor(5s, [&] {
        return !states.empty() && states.back().u32Global == LUMATREK_STATE_TOO_COLD;
    }));
    EXPECT_EQ(LumatrekSetIris(handle, 3), LT_STATUS_TOOCOLD);
    EXPECT_EQ(reported().back().i32Code, -240);
    EXPECT_EQ(reported().back().text, "Too cold, camera not started");
    const size_t szPolls = packetCount();
    ASSERT_TRUE(sensor->waitForPacket(Port::Command, 0xAAAB, 5s, 5)) << "the status is asked at every poll";
    const auto polls = codesSince(szPolls);
    EXPECT_EQ(std::count(polls.begin(), polls.end(), 0xAAABu), std::ptrdiff_t(polls.size()));
    device->setStatus(0x1);
    ASSERT_TRUE(sensor->waitForPacket(Port::Command, 0xAAD7, 5s)) << "the camera is read once the status clears";
    ASSERT_EQ(WaitReady(handle, 5000), 0);
    const auto codes = codesSince(0);
    const auto firstCamera = std::find(codes.begin(), codes.end(), 0xAAD7u);
    ASSERT_NE(firstCamera, codes.end());
    EXPECT_GE(std::count(codes.begin(), firstCamera, 0xAAACu), 2) << "the configuration is read again when warm";
    EXPECT_GE(std::count(codes.begin(), firstCamera, 0xAAABu), 6);
    EXPECT_EQ(LumatrekSetIris(handle, 3), 0);
}

TEST_F(CommandTest, BelowProtocolFourTheLedsFollowTheShutterAtConnection)
{
    DeviceSetup setup;
    setup.form = Form::Video;
    setup.version = version(0x1111, 3, 5);
    setup.video.cameraWord = 0x05200435; // board 5
    setup.camera[2] = 15;                // 1000 us: power limit 2000
    setup.leds = {7, 100, 200, 2500, 0, 100, 200, 1500};
    const size_t szMark = packetCount();
    startReady(setup);
    auto time = sensor->waitForPacket(Port::Command, 0xAACB, 2s);
    auto power = sensor->waitForPacket(Port::Command, 0xAACC, 2s);
    ASSERT_TRUE(time && power);
    EXPECT_EQ(time->payload, Block(8).u32(0, 1200).u32(4, 18600).bytes());
    EXPECT_EQ(power->payload, Block(8).u32(0, 2000).u32(4, 1500).bytes());
    EXPECT_EQ(handle->sCamera.u32LedPower1, 2000u);
    EXPECT_EQ(handle->u32LedCard, 7u);
    EXPECT_EQ(codesSince(szMark).size(), 11u);
}

TEST_F(CommandTest, AShutterOutsideTheTableIsAnInvalidConfiguration)
{
    DeviceSetup setup;
    setup.form = Form::Video;
    setup.version = version(0x1111, 3, 5);
    setup.video.cameraWord = 0x05200435;
    setup.camera[2] = 40;
    start(setup);
    ASSERT_TRUE(waitForError(0, -105));
    EXPECT_EQ(reported()[0].text, "Invalid configuration detected");
    EXPECT_EQ(reported()[0].i32Critical, 1);
}

TEST_F(CommandTest, MaximumZoomByProtocolAndCamera)
{
    const struct {
        int16_t i16Minor;
        uint32_t u32CameraWord, u32MaxZoom;
    } kCases[] = {{0, 0x0520042F, 16384}, {1, 0x0520042F, 28096}, {8, 0x05200435, 31424}};
    for (const auto &sCase : kCases) {
        DeviceSetup setup;
        setup.version = version(0x2222, 4, sCase.i16Minor);
        setup.anpr.cameraWord = sCase.u32CameraWord;
        startReady(setup);
        EXPECT_EQ(handle->u32MaxZoom, sCase.u32MaxZoom);
        EXPECT_EQ(LumatrekSetZoom(handle, sCase.u32MaxZoom + 1), LT_STATUS_INVALIDARGUMENT);
        EXPECT_EQ(reported().back().text, "Command invalid argument");
        EXPECT_EQ(LumatrekSetZoom(handle, sCase.u32MaxZoom), 0);
        LumatrekDestroy(&handle);
        device.reset();
    }
}

TEST_F(CommandTest, AnIdleChannelSendsOneKeepAlivePerPeriodAndReadsNothing)
{
    LT_timing()->u32CommandKeepAliveMs = 150;
    // The local tick wraps while the keep-alives are timed.
    SA_SetTickOffsetForTest(0);
    SA_SetTickOffsetForTest(0u - 250u - SA_GetTickMs());
    startReady();
    const auto since = std::chrono::steady_clock::now();
    ASSERT_TRUE(sensor->waitForPacket(Port::Command, kKeepAlive, 5s, 2));
    const auto elapsed = std::chrono::steady_clock::now() - since;
    EXPECT_GE(elapsed, 300ms);
    auto keepAlives = packetsSince(0);
    std::erase_if(keepAlives, [](const Packet &p) { return p.code != kKeepAlive; });
    ASSERT_GE(keepAlives.size(), 3u);
    // Receipt times jitter on a loaded machine; two keep-alives in one period would be far closer.
    for (size_t i = 1; i < keepAlives.size(); i++)
        EXPECT_GE(keepAlives[i].at - keepAlives[i - 1].at, 75ms);
    EXPECT_TRUE(keepAlives[0].payload.empty());
    EXPECT_EQ(sensor->connectionCount(Port::Command), 1u) << "no answer is awaited";
    EXPECT_LT(SA_GetTickMs(), 0x80000000u) << "the tick wrapped";
    EXPECT_EQ(LumatrekSetZoom(handle, 100), 0);
}

TEST_F(CommandTest, EachDropRuleMakesANewConnection)
{
    const struct {
        const char *pcszName;
        uint32_t u32Code;
        Answer answer;
        int32_t i32Result;
        int32_t i32Error;
    } kCases[] = {
        {"socket closed", 0xAABA, Answer::drop(), -2, -206},
        {"length on an acknowledgement", 0xAABA, Answer::reply(kAck, 8), -8, -207},
        {"unknown reply code", 0xAABA, Answer::reply(0x4321), -8, -207},
        {"rebooting", 0xAABA, Answer::reply(kRebooting), 0, 0},
    };
    startReady();
    for (const auto &sCase : kCases) {
        SCOPED_TRACE(sCase.pcszName);
        device->script(sCase.u32Code, sCase.answer, 1);
        const size_t szConnections = sensor->connectionCount(Port::Command);
        const size_t szErrors = errorCount();
        EXPECT_EQ(LumatrekSetZoom(handle, 10), sCase.i32Result);
        if (sCase.i32Error) {
            EXPECT_EQ(errorsSince(szErrors).back().i32Code, sCase.i32Error);
        }
        EXPECT_TRUE(reconnected(szConnections));
    }
    EXPECT_EQ(SA_AtomicLoad(&handle->bAddressChanged), 1) << "a rebooting sensor is reconnected on every connection";
    EXPECT_EQ(SA_AtomicLoad(&handle->bTimeReconnect), 1);
    EXPECT_EQ(SA_AtomicLoad(&handle->bCommandReconnect), 0) << "cleared by the new connection";
    LT_lock(handle, LT_MUTEX_PORT);
    EXPECT_EQ(handle->u32Reconnections, 4u);
    LT_unlock(handle, LT_MUTEX_PORT);
}

TEST_F(CommandTest, CommandsThatChangeTheSensorsSetUpMakeANewConnection)
{
    const struct {
        const char *pcszName;
        DeviceSetup setup;
        std::function<int32_t(LumatrekHandle *)> call;
    } kCases[] = {
        {"reboot", {}, [](LumatrekHandle *h) { return LumatrekReboot(h); }},
        {"OCR settings", {}, [](LumatrekHandle *h) {
             LumatrekOcrSettings sOcr{};
             return LumatrekSetRemoteOcrSettings(h, &sOcr);
         }},
        {"ANPR below 4.3", [] {
             DeviceSetup s;
             s.version = version(0x2222, 4, 2);
             return s;
         }(),
         [](LumatrekHandle *h) { return LumatrekSetANPRConfigV2(h, "n", 9, 31, "F", 3, 1000, 2, 0); }},
        {"board below 4.3", [] {
             DeviceSetup s;
             s.version = version(0x2222, 4, 2);
             return s;
         }(),
         [](LumatrekHandle *h) {
             LumatrekBoardConfig sBoard{};
             sBoard.u32SensorType = 1;
             return LumatrekSetBoardConfig(h, &sBoard);
         }},
        {"MPEG below 4.3", [] {
             DeviceSetup s;
             s.form = Form::Video;
             s.version = version(0x1111, 4, 2);
             return s;
         }(),
         [](LumatrekHandle *h) { return LumatrekSetMPEGConfigV2(h, 1, 352, 288, 1000, 25, 3); }},
    };
    for (const auto &sCase : kCases) {
        SCOPED_TRACE(sCase.pcszName);
        startReady(sCase.setup);
        const size_t szConnections = sensor->connectionCount(Port::Command);
        EXPECT_EQ(sCase.call(handle), 0);
        EXPECT_TRUE(reconnected(szConnections));
        LumatrekDestroy(&handle);
        device.reset();
    }
}

TEST_F(CommandTest, ASensorThatClosesAnIdleConnectionIsConnectedAgain)
{
    LT_timing()->u32CommandKeepAliveMs = 50;
    startReady();
    const size_t szConnections = sensor->connectionCount(Port::Command);
    sensor->dropConnections(Port::Command);
    EXPECT_TRUE(reconnected(szConnections));
}

TEST_F(CommandTest, AFailedCameraReadWhileTooColdDropsTheConnection)
{
    DeviceSetup setup;
    setup.status = 0x2001;
    start(setup);
    ASSERT_TRUE(waitFor(5s, [&] { return !states.empty() && states.back().u32Global == LUMATREK_STATE_TOO_COLD; }));
    const size_t szConnections = sensor->connectionCount(Port::Command);
    device->script(0xAAAB, Answer::drop(), 1);
    EXPECT_TRUE(sensor->waitForConnections(Port::Command, szConnections + 1, 5s));
}

TEST_F(CommandTest, ABusyReplyHoldsUntilTheSensorAcceptsACommandOrTheConnectionIsNew)
{
    startReady();
    device->script(0xAABB, Answer::reply(kBusy), 1);
    EXPECT_EQ(LumatrekSetIris(handle, 3), LT_STATUS_BUSY);
    EXPECT_EQ(reported().back().text, "Command socket busy");
    EXPECT_EQ(WaitReady(handle, 0), LUMATREK_ERROR_TIMEOUT);
    const size_t szMark = packetCount();
    EXPECT_EQ(LumatrekSetIris(handle, 3), LT_STATUS_BUSY) << "busy-guarded commands wait for the sensor";
    EXPECT_TRUE(packetsSince(szMark).empty());
    EXPECT_EQ(LumatrekSetZoom(handle, 5), 0) << "a command without the busy guard goes through";
    EXPECT_EQ(WaitReady(handle, 0), 0) << "and its acknowledgement ends the busy state";
    EXPECT_EQ(LumatrekSetIris(handle, 3), 0);

    device->script(0xAABB, Answer::reply(kBusy), 1);
    EXPECT_EQ(LumatrekSetIris(handle, 3), LT_STATUS_BUSY);
    const size_t szConnections = sensor->connectionCount(Port::Command);
    sensor->dropConnections(Port::Command);
    ASSERT_TRUE(reconnected(szConnections)) << "a new connection starts not busy";
    EXPECT_EQ(LumatrekSetIris(handle, 3), 0);
}

TEST_F(CommandTest, ARecorderWhoseStatusSaysNotReadyIsBusy)
{
    DeviceSetup setup;
    setup.form = Form::Recorder;
    setup.version = version(0x4444, 4, 1);
    setup.status = 0;
    start(setup);
    ASSERT_TRUE(waitFor(5s, [&] { return !states.empty() && states.back().u32Global == LUMATREK_STATE_BUSY; }));
    EXPECT_EQ(handle->bTimeSync, 0) << "a recorder keeps no clock";
    EXPECT_EQ(LumatrekSetOutput(handle, 1), 0) << "output needs no busy guard";
    EXPECT_EQ(WaitReady(handle, 0), LUMATREK_ERROR_TIMEOUT) << "the status word, not a reply, made it busy";
}

TEST_F(CommandTest, RefusalCodesGiveTheirStatusAndText)
{
    const struct {
        uint32_t u32Reply;
        int32_t i32Result, i32Code;
        const char *pcszText;
    } kCases[] = {
        {kNack, -1, -205, "Command nacked"},          {kFull, -5, -22, "Full"},
        {kNotSupported, -6, -215, "Command not supported"}, {kRs232Locked, -9, -216, "Command RS232 locked"},
        {kTimeout, -11, -21, "Timeout"},              {kFlashCorrupted, -13, -230, "FLASH corrupted"},
        {kAck, 0, 0, ""},
    };
    DeviceSetup setup;
    setup.ackWithOwnCode = true;
    startReady(setup);
    EXPECT_EQ(LumatrekSetZoom(handle, 10), 0) << "an acknowledgement with the command's own code";
    for (const auto &sCase : kCases) {
        device->script(0xAABA, Answer::reply(sCase.u32Reply), 1);
        const size_t szMark = errorCount();
        EXPECT_EQ(LumatrekSetZoom(handle, 10), sCase.i32Result) << sCase.pcszText;
        auto reports = errorsSince(szMark);
        if (sCase.i32Code == 0) {
            EXPECT_TRUE(reports.empty());
            continue;
        }
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].i32Code, sCase.i32Code);
        EXPECT_EQ(reports[0].text, sCase.pcszText);
        EXPECT_EQ(reports[0].function, "LumatrekSetZoom");
        EXPECT_EQ(reports[0].i32Type, 1);
    }
    EXPECT_EQ(sensor->connectionCount(Port::Command), 1u) << "refusals keep the connection";
}

TEST_F(CommandTest, ALateReplyWithinTheTimeOutIsWaitedForAndALateOneEndsTheConnection)
{
    LT_timing()->u32TransferTimeoutMs = 400;
    startReady();
    device->script(0xAABA, Answer::normal().late(100ms), 1);
    EXPECT_EQ(LumatrekSetZoom(handle, 10), 0);
    const size_t szConnections = sensor->connectionCount(Port::Command);
    device->script(0xAABA, Answer::silence(), 1);
    EXPECT_EQ(LumatrekSetZoom(handle, 10), LT_STATUS_DISCONNECTED);
    EXPECT_EQ(reported().back().text, "Command socket disconnected");
    EXPECT_TRUE(reconnected(szConnections));
}

TEST_F(CommandTest, ARequestWhileUnreachableIsAnsweredAtTheNextFailedConnect)
{
    sensor->setListening(Port::Command, false);
    handle = createOn(sensor->port(Port::Command));
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(LumatrekSetZoom(handle, 10), LT_STATUS_DISCONNECTED);
    EXPECT_EQ(reported().back().i32Code, -206);
    EXPECT_EQ(reported().back().text, "Command socket disconnected");
}

TEST_F(CommandTest, InCommandModeARequestWaitsItsTimeOutWhileUnreachable)
{
    sensor->setListening(Port::Command, false);
    handle = createOn(sensor->port(Port::Command));
    ASSERT_NE(handle, nullptr);
    LumatrekSetCommandMode(handle, 300);
    LumatrekSetCommandMode(nullptr, 300);
    const auto since = std::chrono::steady_clock::now();
    EXPECT_EQ(LumatrekSetZoom(handle, 10), LT_STATUS_FULL);
    EXPECT_GE(std::chrono::steady_clock::now() - since, 290ms);
    EXPECT_EQ(reported().back().i32Code, -21);
    EXPECT_EQ(reported().back().text, "Timeout");
}

namespace {
std::atomic<int> g_iQueued{0};
std::promise<void> *g_psAllQueued = nullptr;
void countQueued(void *)
{
    if (++g_iQueued == LT_COMMAND_QUEUE_SIZE)
        g_psAllQueued->set_value();
}
} // namespace

TEST_F(CommandTest, The65thWaitingCallerIsRefusedAndTheOthersAreAnsweredAtDestruction)
{
    sensor->setListening(Port::Command, false);
    handle = createOn(sensor->port(Port::Command));
    ASSERT_NE(handle, nullptr);
    LumatrekSetCommandMode(handle, SA_INFINITE);
    g_iQueued = 0;
    std::promise<void> allQueued;
    g_psAllQueued = &allQueued;
    SA_SetWaitQueueSentHookForTest(&countQueued);
    std::vector<std::future<int32_t>> callers;
    for (int i = 0; i < LT_COMMAND_QUEUE_SIZE; i++)
        callers.push_back(std::async(std::launch::async, [this] { return LumatrekSetZoom(handle, 1); }));
    ASSERT_EQ(allQueued.get_future().wait_for(10s), std::future_status::ready);
    SA_SetWaitQueueSentHookForTest(nullptr);
    EXPECT_EQ(LumatrekSetZoom(handle, 1), LT_STATUS_FULL);
    EXPECT_EQ(reported().back().i32Code, -85);
    EXPECT_EQ(reported().back().text, "Cannot write to command queue");
    LumatrekDestroy(&handle);
    for (auto &caller : callers)
        EXPECT_EQ(caller.get(), LT_STATUS_CLOSING);
}

TEST_F(CommandTest, AHandOffToAStoppedHandleIsAnsweredAsClosingNotLeftWaiting)
{
    handle = create("127.0.0.1:0,0,0", LT_CREATE_STREAM);
    ASSERT_NE(handle, nullptr);
    SA_AtomicStore(&handle->i32Running, 0);
    LumatrekErrorInfo sError;
    LT_initError(&sError, "test", 1);
    LumatrekCommandRequest sRequest;
    InitCommandRequest(&sRequest, &sError, 1, 0, nullptr, 0, nullptr, 0);
    auto sent = std::async(std::launch::async,
                           [&] { return LT_submitRequest(handle, handle->psCommandQueue, &sRequest, SA_INFINITE); });
    ASSERT_EQ(sent.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(sent.get(), SA_OK);
    EXPECT_EQ(sRequest.i32Status, LT_STATUS_CLOSING);
}

TEST_F(CommandTest, AStreamHandleHasNoCommandConnection)
{
    handle = create("127.0.0.1:0,0,0", LT_CREATE_STREAM);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(LumatrekSetZoom(handle, 10), LT_STATUS_DISCONNECTED);
    EXPECT_EQ(reported().back().i32Code, -140);
    EXPECT_EQ(reported().back().text, "Cannot send command");
    uint8_t au8Buffer[8];
    uint32_t u32Length = sizeof(au8Buffer);
    EXPECT_EQ(LumatrekReadRS232Terminator(handle, au8Buffer, '\n', 10, &u32Length), -1);
    EXPECT_EQ(reported().back().i32Code, -140);
    EXPECT_EQ(LumatrekSetZoom(nullptr, 10), -7);
}
