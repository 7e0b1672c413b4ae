// The sensor's blocks, made by the test sensor's builders, converted into the library's
// records for each protocol version that changes a layout.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KgvBlocks.h"
#include "Lumatrek_Internal.h"

using namespace kgvsim;

namespace {

const uint8_t *bytesOf(const std::string &block)
{
    return reinterpret_cast<const uint8_t *>(block.data());
}

uint32_t sizeOf(const std::string &block)
{
    return static_cast<uint32_t>(block.size());
}

// A handle that knows only its sensor's version, read from a version block.
std::unique_ptr<LumatrekHandle> sensorAt(int16_t i16Major, int16_t i16Minor, uint32_t u32Code = 0x2222)
{
    auto psHandle = std::make_unique<LumatrekHandle>();
    Version v;
    v.sensorCode = u32Code;
    v.protocol = {i16Major, i16Minor, 0};
    const std::string block = versionBlock(v);
    EXPECT_EQ(ConvertVersionRecord(&psHandle->sVersion, bytesOf(block), sizeOf(block)), 1);
    return psHandle;
}

// A record whose ports and DHCP flag were filled by a network ports read.
LumatrekConfig configWithPorts()
{
    LumatrekConfig sRecord{};
    sRecord.sIp.u32CommandPort = 11011;
    sRecord.sIp.u32StreamPort = 10001;
    sRecord.sIp.u32TimePort = 10000;
    sRecord.sIp.u32Dhcp = 1;
    strcpy(sRecord.uBody.sAnpr.aszContext, "stale");
    return sRecord;
}

void expectNetwork(const LumatrekConfig &sRecord, const Network &sNet)
{
    EXPECT_EQ(sRecord.sIp.aszAddress, sNet.address);
    EXPECT_EQ(sRecord.sIp.aszMask, sNet.mask);
    EXPECT_EQ(sRecord.sIp.aszGateway, sNet.gateway);
    EXPECT_EQ(sRecord.sIp.aszDns, sNet.dns);
    EXPECT_EQ(sRecord.sIp.u32TimeoutMs, sNet.timeoutMs);
}

void expectPorts(const LumatrekConfig &sRecord, bool bKept)
{
    EXPECT_EQ(sRecord.sIp.u32CommandPort, bKept ? 11011u : 0u);
    EXPECT_EQ(sRecord.sIp.u32StreamPort, bKept ? 10001u : 0u);
    EXPECT_EQ(sRecord.sIp.u32TimePort, bKept ? 10000u : 0u);
    EXPECT_EQ(sRecord.sIp.u32Dhcp, bKept ? 1u : 0u);
}

struct Protocol {
    int16_t i16Major, i16Minor;
};

} // namespace

TEST(LegacyConvert, VersionRecordMapsTheSensorCodeAndKeepsSignedProtocolNumbers)
{
    const struct {
        uint32_t u32Code;
        int32_t i32Type;
    } kCodes[] = {{0x1111, 0}, {0x2222, 1}, {0x2223, 11}, {0x2224, 13}, {0x2225, 16}, {0x4444, 2}, {0x3333, -1}, {0, -1}};
    for (const auto &sCode : kCodes) {
        Version v;
        v.sensorCode = sCode.u32Code;
        v.firmware = {3, 14, 15};
        v.protocol = {-2, 7, 300};
        const std::string block = versionBlock(v);
        LumatrekSensorVersion sRecord{};
        ASSERT_EQ(ConvertVersionRecord(&sRecord, bytesOf(block), sizeOf(block)), 1);
        EXPECT_EQ(sRecord.i32SensorType, sCode.i32Type) << std::hex << sCode.u32Code;
        EXPECT_EQ(SensorTypeFromCode(sCode.u32Code), sCode.i32Type);
        EXPECT_EQ(sRecord.u16FirmwareMajor, 3);
        EXPECT_EQ(sRecord.u16FirmwareMinor, 14);
        EXPECT_EQ(sRecord.u16FirmwareRevision, 15);
        EXPECT_EQ(sRecord.i16ProtocolMajor, -2);
        EXPECT_EQ(sRecord.i16ProtocolMinor, 7);
        EXPECT_EQ(sRecord.i16ProtocolRevision, 300);
    }
    // Protocol comparisons are signed and by major, then minor.
    EXPECT_FALSE(LT_protocolAtLeast(sensorAt(-1, 9).get(), 0, 0));
    EXPECT_TRUE(LT_protocolAtLeast(sensorAt(5, 0).get(), 4, 11));
    EXPECT_TRUE(LT_protocolAtLeast(sensorAt(4, 11).get(), 4, 11));
    EXPECT_FALSE(LT_protocolAtLeast(sensorAt(4, 10).get(), 4, 11));
    EXPECT_FALSE(LT_protocolAtLeast(nullptr, 0, 0));
}

TEST(LegacyConvert, AnprFormTakesCompressionStillSizeAndKeptValuesFromTheirVersions)
{
    const struct {
        Protocol sProtocol;
        bool bKept, bJpeg, bStill;
    } kVersions[] = {{{4, 1}, false, false, false}, {{4, 2}, true, false, false}, {{4, 6}, true, false, false},
                     {{4, 7}, true, true, false},   {{4, 8}, true, true, true},    {{5, 0}, true, true, true}};
    AnprForm f;
    const std::string block = anprBlock(f);
    for (const auto &sVersion : kVersions) {
        auto psHandle = sensorAt(sVersion.sProtocol.i16Major, sVersion.sProtocol.i16Minor);
        LumatrekConfig sRecord = configWithPorts();
        uint32_t u32Limit = 99;
        ASSERT_EQ(ConvertAnprConfig(psHandle.get(), &sRecord, &u32Limit, bytesOf(block), sizeOf(block)), 1);
        SCOPED_TRACE(testing::Message() << sVersion.sProtocol.i16Major << "." << sVersion.sProtocol.i16Minor);
        const LumatrekAnprConfig &a = sRecord.uBody.sAnpr;
        EXPECT_EQ(a.u32JpegCompression, sVersion.bJpeg ? f.jpeg : 4u);
        EXPECT_EQ(a.u32StillPictureSize, sVersion.bStill ? f.stillSize : 31u);
        EXPECT_EQ(a.au16Kept[0], sVersion.bKept ? f.kept[0] : 0);
        EXPECT_EQ(a.au16Kept[1], sVersion.bKept ? f.kept[1] : 0);
        EXPECT_EQ(sRecord.u32SensorType, 1u);
        EXPECT_EQ(sRecord.u32CameraWord, f.cameraWord);
        EXPECT_EQ(u32Limit, 4000u) << "board 5, infrared";
        expectNetwork(sRecord, f.net);
        expectPorts(sRecord, true);
        EXPECT_EQ(a.aszUniqueName, f.uniqueName);
        EXPECT_EQ(a.aszContext, f.context);
        EXPECT_EQ(a.aszPossibleContexts, f.possibleContexts);
        EXPECT_EQ(a.u32Direction, f.direction);
        EXPECT_EQ(a.u32StreamBitrate, f.bitrate);
        EXPECT_EQ(a.i32StreamFrameSkip, int32_t(f.frameSkip));
        EXPECT_EQ(a.u16Marker, f.marker);
        EXPECT_EQ(a.u8Zero, f.zero);
        EXPECT_EQ(a.u8EnslavementMode, f.enslavement);
    }
}

TEST(LegacyConvert, DgprFormReadsEmptyPlatesAsSwitchedOnByAZeroWord)
{
    for (uint32_t u32Off : {0u, 1u, 0x100u}) {
        for (Protocol sProtocol : {Protocol{4, 1}, Protocol{4, 2}}) {
            DgprForm f;
            f.emptyPlatesOff = u32Off;
            const std::string block = dgprBlock(f);
            auto psHandle = sensorAt(sProtocol.i16Major, sProtocol.i16Minor);
            LumatrekConfig sRecord = configWithPorts();
            ASSERT_EQ(ConvertDgprConfig(psHandle.get(), &sRecord, nullptr, bytesOf(block), sizeOf(block)), 1);
            const LumatrekDgprConfig &d = sRecord.uBody.sDgpr;
            EXPECT_EQ(d.u32EmptyPlatesDetection, u32Off == 0 ? 1u : 0u);
            EXPECT_EQ(d.au16Kept[0], sProtocol.i16Minor >= 2 ? f.kept[0] : 0);
            EXPECT_EQ(d.au16Kept[1], sProtocol.i16Minor >= 2 ? f.kept[1] : 0);
            EXPECT_EQ(sRecord.u32SensorType, 11u);
            EXPECT_EQ(sRecord.u32CameraWord, f.cameraWord);
            EXPECT_EQ(d.u32Direction, f.direction);
            EXPECT_EQ(d.u32StreamBitrate, f.bitrate);
            EXPECT_EQ(d.i32StreamFrameSkip, -1);
            EXPECT_EQ(d.u8EnslavementMode, f.enslavement);
            EXPECT_EQ(d.u32JpegCompression, f.jpeg);
            EXPECT_EQ(d.u8StillPictureSize, f.stillSize);
            EXPECT_EQ(d.u32EmptyPlatesRatio, f.ratio);
            expectNetwork(sRecord, f.net);
            expectPorts(sRecord, true);
        }
    }
}

TEST(LegacyConvert, SignatureFormKeepsPortsAndReadsItsOwnPlaces)
{
    for (Protocol sProtocol : {Protocol{4, 1}, Protocol{4, 2}}) {
        SignatureForm f;
        const std::string block = signatureBlock(f);
        auto psHandle = sensorAt(sProtocol.i16Major, sProtocol.i16Minor);
        LumatrekConfig sRecord = configWithPorts();
        uint32_t u32Limit = 99;
        ASSERT_EQ(ConvertSignatureConfig(psHandle.get(), &sRecord, &u32Limit, bytesOf(block), sizeOf(block)), 1);
        const LumatrekSignatureConfig &s = sRecord.uBody.sSignature;
        EXPECT_EQ(sRecord.u32SensorType, 13u);
        EXPECT_EQ(u32Limit, 2000u) << "board 1";
        EXPECT_EQ(s.u32JpegCompression, f.jpeg);
        EXPECT_EQ(s.aszContext, f.context);
        EXPECT_EQ(s.aszPossibleContexts, f.possibleContexts);
        EXPECT_EQ(s.u32Direction, f.direction);
        EXPECT_EQ(s.u32StreamBitrate, f.bitrate);
        EXPECT_EQ(s.i32StreamFrameSkip, int32_t(f.frameSkip));
        EXPECT_EQ(s.u8Mode, f.mode);
        EXPECT_EQ(s.au16Kept[0], sProtocol.i16Minor >= 2 ? f.kept[0] : 0);
        expectNetwork(sRecord, f.net);
        expectPorts(sRecord, true);
    }
}

TEST(LegacyConvert, VideoFormClearsThePortsAndTellsItsTypeByTheWireCode)
{
    const struct {
        uint8_t u8Mode;
        uint32_t u32Mpeg;
    } kModes[] = {{0, 0}, {1, 1}, {2, 0}, {3, 1}, {5, 1}, {7, 1}, {9, 0}, {255, 0}};
    for (const auto &sMode : kModes) {
        for (uint32_t u32Code : {0xAAADu, 0xAAF6u}) {
            VideoForm f;
            f.mode = sMode.u8Mode;
            const std::string block = videoBlock(f);
            LumatrekConfig sRecord = configWithPorts();
            ASSERT_EQ(ConvertVideoConfig(u32Code, &sRecord, nullptr, bytesOf(block), sizeOf(block)), 1);
            const LumatrekMpegConfig &m = sRecord.uBody.sMpeg;
            EXPECT_EQ(sRecord.u32SensorType, u32Code == 0xAAAD ? 0u : 16u);
            EXPECT_EQ(m.u32MpegMode, sMode.u32Mpeg) << int(sMode.u8Mode);
            EXPECT_EQ(m.u32FrameSkip, f.frameSkip);
            EXPECT_EQ(m.u32Width, f.width);
            EXPECT_EQ(m.u32Height, f.height);
            EXPECT_EQ(m.u32Bitrate, f.bitrate);
            EXPECT_EQ(m.u32Gop, f.gop);
            EXPECT_EQ(sRecord.u32CameraWord, f.cameraWord);
            expectNetwork(sRecord, f.net);
            expectPorts(sRecord, false);
        }
    }
}

TEST(LegacyConvert, UnterminatedTextsAreCutToTheirFieldAndTerminated)
{
    AnprForm f;
    f.net.address = std::string(16, 'A');
    f.net.mask = std::string(16, 'M');
    f.net.dns = std::string(20, 'D');
    f.uniqueName = std::string(32, 'U');
    f.context = std::string(64, 'C');
    f.possibleContexts = std::string(256, 'P');
    const std::string block = anprBlock(f);
    auto psHandle = sensorAt(4, 8);
    LumatrekConfig sRecord = configWithPorts();
    ASSERT_EQ(ConvertAnprConfig(psHandle.get(), &sRecord, nullptr, bytesOf(block), sizeOf(block)), 1);
    EXPECT_EQ(sRecord.sIp.aszAddress, std::string(15, 'A'));
    EXPECT_EQ(sRecord.sIp.aszMask, std::string(15, 'M'));
    EXPECT_EQ(sRecord.sIp.aszGateway, f.net.gateway);
    EXPECT_EQ(sRecord.sIp.aszDns, std::string(15, 'D'));
    EXPECT_EQ(sRecord.sIp.u32TimeoutMs, f.net.timeoutMs);
    EXPECT_EQ(sRecord.uBody.sAnpr.aszUniqueName, std::string(31, 'U'));
    EXPECT_EQ(sRecord.uBody.sAnpr.u32JpegCompression, f.jpeg) << "the field after the name is intact";
    EXPECT_EQ(sRecord.uBody.sAnpr.aszContext, std::string(63, 'C'));
    EXPECT_EQ(sRecord.uBody.sAnpr.aszPossibleContexts, std::string(255, 'P'));
    EXPECT_EQ(sRecord.uBody.sAnpr.u32Direction, f.direction);

    MasterAddresses m;
    m.first = std::string(16, '1');
    const std::string addresses = masterAddressesBlock(m);
    LumatrekMasterAddresses sMaster;
    memset(&sMaster, 0x5A, sizeof(sMaster));
    ASSERT_EQ(ConvertMasterAddresses(&sMaster, bytesOf(addresses), sizeOf(addresses)), 1);
    EXPECT_EQ(sMaster.aszAddress1, std::string(15, '1'));
    EXPECT_EQ(sMaster.au32Kept1[0], m.keptFirst[0]);
    EXPECT_EQ(sMaster.aszAddress2, m.second);
    EXPECT_EQ(sMaster.au32Kept2[2], m.keptSecond[2]);
}

TEST(LegacyConvert, ShortBlocksAreRefusedAndLeaveTheRecord)
{
    auto psHandle = sensorAt(4, 11);
    const std::string big(600, '\x11');
    const uint8_t *pu8 = bytesOf(big);
    const struct {
        const char *pcszName;
        uint32_t u32Size;
        std::function<int(uint32_t)> rConvert;
    } kConverters[] = {
        {"anpr", 468, [&](uint32_t n) { LumatrekConfig r{}; return ConvertAnprConfig(psHandle.get(), &r, nullptr, pu8, n); }},
        {"dgpr", 136, [&](uint32_t n) { LumatrekConfig r{}; return ConvertDgprConfig(psHandle.get(), &r, nullptr, pu8, n); }},
        {"signature", 468, [&](uint32_t n) { LumatrekConfig r{}; return ConvertSignatureConfig(psHandle.get(), &r, nullptr, pu8, n); }},
        {"video", 112, [&](uint32_t n) { LumatrekConfig r{}; return ConvertVideoConfig(0xAAAD, &r, nullptr, pu8, n); }},
        {"version", 16, [&](uint32_t n) { LumatrekSensorVersion r{}; return ConvertVersionRecord(&r, pu8, n); }},
        {"board", 16, [&](uint32_t n) { LumatrekBoardConfig r{}; return ConvertBoardConfig(psHandle.get(), &r, pu8, n); }},
        {"camera", 48, [&](uint32_t n) { LumatrekCameraConfig r{}; return ConvertCameraConfig(psHandle.get(), &r, pu8, n, nullptr); }},
        {"ocr", 48, [&](uint32_t n) { LumatrekOcrSettings r{}; return ConvertOcrSettings(&r, pu8, n); }},
        {"measures", 12, [&](uint32_t n) { LumatrekMeasures r{}; return ConvertMeasures(&r, pu8, n); }},
        {"late stack", 6, [&](uint32_t n) { LumatrekLateStackConfig r{}; return ConvertLateStackConfig(&r, pu8, n); }},
        {"database", 13, [&](uint32_t n) { LumatrekDataBaseConfig r{}; return ConvertDataBaseConfig(&r, pu8, n); }},
        {"speed", 12, [&](uint32_t n) { LumatrekSpeedParams r{}; return ConvertSpeedParams(psHandle.get(), &r, pu8, n); }},
        {"kept type", 28, [&](uint32_t n) { LumatrekKeptTypeRecord r{}; return ConvertKeptTypeRecord(&r, pu8, n); }},
        {"area", 20, [&](uint32_t n) { LumatrekAreaOfInterest r{}; return ConvertAreaOfInterest(&r, pu8, n); }},
        {"led", 24, [&](uint32_t n) { LumatrekLedRecord r{}; return ConvertLedRecord(&r, pu8, n); }},
        {"kept shorts", 6, [&](uint32_t n) { LumatrekKeptShorts r{}; return ConvertKeptShorts(&r, pu8, n); }},
        {"master addresses", 56, [&](uint32_t n) { LumatrekMasterAddresses r{}; return ConvertMasterAddresses(&r, pu8, n); }},
        {"kept words", 12, [&](uint32_t n) { LumatrekKeptWords r{}; return ConvertKeptWords(&r, pu8, n); }},
        {"activation", 5, [&](uint32_t n) { LumatrekActivationConfig r{}; return ConvertActivationConfig(&r, pu8, n); }},
        {"master parameters", 25, [&](uint32_t n) { LumatrekMasterParameters r{}; return ConvertMasterParameters(&r, pu8, n); }},
        {"slave parameters", 12, [&](uint32_t n) { LumatrekSlaveParameters r{}; return ConvertSlaveParameters(&r, pu8, n); }},
        {"kept word", 4, [&](uint32_t n) { uint32_t r = 0; return ConvertKeptWord(&r, pu8, n); }},
        {"remote enslave", 18, [&](uint32_t n) { LumatrekRemoteEnslaveParams r{}; return ConvertRemoteEnslaveParams(&r, pu8, n); }},
        {"signature picture", 16, [&](uint32_t n) { LumatrekSignaturePictureSize r{}; return ConvertSignaturePictureSize(&r, pu8, n); }},
        {"led trigger", 20, [&](uint32_t n) { LumatrekLedExternalTriggerConfig r{}; return ConvertLedExternalTriggerConfig(&r, pu8, n); }},
    };
    for (const auto &sConverter : kConverters) {
        EXPECT_EQ(sConverter.rConvert(sConverter.u32Size), 1) << sConverter.pcszName;
        EXPECT_EQ(sConverter.rConvert(sConverter.u32Size - 1), 0) << sConverter.pcszName;
    }
    // The refused record is left as it was.
    LumatrekConfig sRecord;
    memset(&sRecord, 0x5A, sizeof(sRecord));
    const LumatrekConfig sBefore = sRecord;
    EXPECT_EQ(ConvertAnprConfig(psHandle.get(), &sRecord, nullptr, pu8, 467), 0);
    EXPECT_EQ(memcmp(&sRecord, &sBefore, sizeof(sRecord)), 0);
}

TEST(LegacyConvert, BoardSensorTypeTravelsFromProtocolFourBothWays)
{
    const struct {
        uint8_t u8Wire;
        uint32_t u32Type;
    } kTypes[] = {{220, 0}, {221, 1}, {222, 11}, {223, 13}, {224, 16}, {219, 0}, {225, 0}};
    for (Protocol sProtocol : {Protocol{3, 9}, Protocol{4, 0}}) {
        auto psHandle = sensorAt(sProtocol.i16Major, sProtocol.i16Minor);
        const bool bTyped = sProtocol.i16Major >= 4;
        for (const auto &sType : kTypes) {
            Board b;
            b.sensorByte = sType.u8Wire;
            const std::string block = boardBlock(b);
            LumatrekBoardConfig sRecord{};
            ASSERT_EQ(ConvertBoardConfig(psHandle.get(), &sRecord, bytesOf(block), sizeOf(block)), 1);
            EXPECT_EQ(sRecord.u32SensorType, bTyped ? sType.u32Type : 0u) << int(sType.u8Wire);
            EXPECT_EQ(sRecord.au32Kept[0], b.kept[0]);
            EXPECT_EQ(sRecord.au32Kept[1], b.kept[1]);
            EXPECT_EQ(sRecord.i32Kept, -3);
            EXPECT_EQ(sRecord.u32SerialExportMode, b.serialExport);
            EXPECT_EQ(sRecord.u32StreamCodec, b.codec);
            EXPECT_EQ(sRecord.u32IoMode, b.ioMode);
        }
        LumatrekBoardConfig sRecord = {{70, 80}, 1, 0, 2, -5, 11};
        uint8_t au8Wire[LT_WIRE_BOARD];
        BoardConfigToWire(psHandle.get(), au8Wire, &sRecord);
        const Board written = readBoard(std::string(reinterpret_cast<char *>(au8Wire), sizeof(au8Wire)));
        EXPECT_EQ(written.sensorByte, bTyped ? 222 : 0);
        EXPECT_EQ(written.kept[1], 80u);
        EXPECT_EQ(written.keptSigned, -5);
        EXPECT_EQ(written.serialExport, 1);
        EXPECT_EQ(written.codec, 0);
        EXPECT_EQ(written.ioMode, 2);
    }
}

TEST(LegacyConvert, CameraSettingsTakeFlipSynchroAndResponseSpeedFromTheirVersions)
{
    const std::array<uint32_t, 12> kWords = {1000, 2000, 15, 3, 4, 77, uint32_t(-2), 1, 0, 1, 0, 1};
    const std::string block = cameraBlock(kWords);
    const LT_CameraExtra sExtra = {1, 1, 32, 9, 5};
    for (Protocol sProtocol : {Protocol{4, 2}, Protocol{4, 3}, Protocol{4, 6}, Protocol{4, 7}}) {
        auto psHandle = sensorAt(sProtocol.i16Major, sProtocol.i16Minor);
        LumatrekCameraConfig sRecord{};
        sRecord.u32LedPower1 = 40;
        sRecord.u32LedPower2 = 60;
        ASSERT_EQ(ConvertCameraConfig(psHandle.get(), &sRecord, bytesOf(block), sizeOf(block), &sExtra), 1);
        SCOPED_TRACE(sProtocol.i16Minor);
        EXPECT_EQ(sRecord.u32Zoom, 1000u);
        EXPECT_EQ(sRecord.u32Focus, 2000u);
        EXPECT_EQ(sRecord.u32Shutter, 15u);
        EXPECT_EQ(sRecord.u32Iris, 3u);
        EXPECT_EQ(sRecord.u32Gain, 4u);
        EXPECT_EQ(sRecord.u32Kept, 77u);
        EXPECT_EQ(sRecord.i32ExposureCompensation, -2);
        EXPECT_EQ(sRecord.u32InfoDisplay, 1u);
        EXPECT_EQ(sRecord.u32Autofocus, 0u);
        EXPECT_EQ(sRecord.u32IrCut, 1u);
        EXPECT_EQ(sRecord.u32ManualMode, 0u);
        EXPECT_EQ(sRecord.u32MacroMode, 1u);
        EXPECT_EQ(sRecord.u32LedPower1, 40u) << "LED powers are not the camera block's";
        EXPECT_EQ(sRecord.u32LedPower2, 60u);
        EXPECT_EQ(sRecord.u32BoardId, 5u);
        EXPECT_EQ(sRecord.u32BoardFlag, 9u);
        EXPECT_EQ(sRecord.u32Flip, sProtocol.i16Minor >= 3 ? 1u : 0u);
        EXPECT_EQ(sRecord.u32SynchroMode, sProtocol.i16Minor >= 3 ? 1u : 0u);
        EXPECT_EQ(sRecord.u32AeResponseSpeed, sProtocol.i16Minor >= 7 ? 32u : 1u);
    }
    // Either part alone changes only its own fields.
    auto psHandle = sensorAt(4, 7);
    LumatrekCameraConfig sRecord{};
    sRecord.u32BoardId = 3;
    ASSERT_EQ(ConvertCameraConfig(psHandle.get(), &sRecord, bytesOf(block), sizeOf(block), nullptr), 1);
    EXPECT_EQ(sRecord.u32BoardId, 3u);
    EXPECT_EQ(sRecord.u32Zoom, 1000u);
    sRecord.u32Zoom = 5;
    ASSERT_EQ(ConvertCameraConfig(psHandle.get(), &sRecord, nullptr, 0, &sExtra), 1);
    EXPECT_EQ(sRecord.u32Zoom, 5u);
    EXPECT_EQ(sRecord.u32BoardId, 5u);
}

TEST(LegacyConvert, MpegRecordGoesToTheWireWithTheFrameSkipFromProtocolFourThree)
{
    const LumatrekMpegConfig sRecord = {7, 704, 576, 3000000, 50, 4};
    for (Protocol sProtocol : {Protocol{4, 2}, Protocol{4, 3}}) {
        auto psHandle = sensorAt(sProtocol.i16Major, sProtocol.i16Minor);
        uint8_t au8Wire[LT_WIRE_MPEG];
        memset(au8Wire, 0xEE, sizeof(au8Wire));
        MpegConfigToWire(psHandle.get(), au8Wire, &sRecord);
        const std::string bytes(reinterpret_cast<char *>(au8Wire), sizeof(au8Wire));
        const MpegWire m = readMpeg(bytes);
        EXPECT_EQ(m.mode, 1);
        EXPECT_EQ(m.frameSkip, sProtocol.i16Minor >= 3 ? 4 : 0);
        EXPECT_EQ(m.width, 704u);
        EXPECT_EQ(m.height, 576u);
        EXPECT_EQ(m.bitrate, 3000000u);
        EXPECT_EQ(m.gop, 50u);
        EXPECT_EQ(bytes.substr(2, 2), std::string(2, '\0'));
    }
}

TEST(LegacyConvert, OtherBlocksConvertFieldByField)
{
    const std::array<uint32_t, 12> kOcr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const std::string ocr = ocrBlock(kOcr);
    LumatrekOcrSettings sOcr{};
    ASSERT_EQ(ConvertOcrSettings(&sOcr, bytesOf(ocr), sizeOf(ocr)), 1);
    EXPECT_EQ(sOcr.u32MaxPlateHeight, 1u);
    EXPECT_EQ(sOcr.u32MinReliability, 7u);
    EXPECT_EQ(sOcr.u32MaxNoPlateBeforeDecision, 12u);

    const std::string measures = measuresBlock({10, 20, 30, 40}, -12);
    LumatrekMeasures sMeasures;
    memset(&sMeasures, 0x5A, sizeof(sMeasures));
    ASSERT_EQ(ConvertMeasures(&sMeasures, bytesOf(measures), sizeOf(measures)), 1);
    EXPECT_EQ(sMeasures.au16Kept[3], 40);
    EXPECT_EQ(sMeasures.i16Temperature, -12);
    EXPECT_EQ(sMeasures.au8Zero[5], 0);

    const std::string late = lateStackBlock(1, 6, 17);
    LumatrekLateStackConfig sLate{};
    ASSERT_EQ(ConvertLateStackConfig(&sLate, bytesOf(late), sizeOf(late)), 1);
    EXPECT_EQ(sLate.u32Enabled, 1u);
    EXPECT_EQ(sLate.u32Size, 6u);
    EXPECT_EQ(sLate.u32JpegCompression, 17u);

    const std::string database = databaseBlock(2, 1, 250, 7);
    LumatrekDataBaseConfig sDatabase;
    memset(&sDatabase, 0x5A, sizeof(sDatabase));
    ASSERT_EQ(ConvertDataBaseConfig(&sDatabase, bytesOf(database), sizeOf(database)), 1);
    EXPECT_EQ(sDatabase.u32Mode, 2u);
    EXPECT_EQ(sDatabase.u32RisingEdge, 1u);
    EXPECT_EQ(sDatabase.u32ImpulseDurationMs, 250u);
    EXPECT_EQ(sDatabase.u8MatchTolerance, 7);
    EXPECT_EQ(sDatabase.au8Zero[2], 0);

    const std::string kept = keptTypeBlock(0x2225, {1, 2, 3, 4, 5, 6});
    LumatrekKeptTypeRecord sKept{};
    ASSERT_EQ(ConvertKeptTypeRecord(&sKept, bytesOf(kept), sizeOf(kept)), 1);
    EXPECT_EQ(sKept.i32SensorType, 16);
    EXPECT_EQ(sKept.au32Kept[5], 6u);

    const std::string area = areaBlock({10, 20, 300, 400, 1});
    LumatrekAreaOfInterest sArea{};
    ASSERT_EQ(ConvertAreaOfInterest(&sArea, bytesOf(area), sizeOf(area)), 1);
    EXPECT_EQ(sArea.u32Y, 20u);
    EXPECT_EQ(sArea.u32Height, 400u);
    EXPECT_EQ(sArea.u32Excluding, 1u);

    const std::string shorts = keptShortsBlock({7, 8, 9});
    LumatrekKeptShorts sShorts{};
    ASSERT_EQ(ConvertKeptShorts(&sShorts, bytesOf(shorts), sizeOf(shorts)), 1);
    EXPECT_EQ(sShorts.au16Kept[2], 9);

    const std::string words = keptWordsBlock({4, 5, 6});
    LumatrekKeptWords sWords;
    memset(&sWords, 0x5A, sizeof(sWords));
    ASSERT_EQ(ConvertKeptWords(&sWords, bytesOf(words), sizeOf(words)), 1);
    EXPECT_EQ(sWords.au32Kept[2], 6u);
    EXPECT_EQ(sWords.au32Zero[1], 0u);

    const std::string activation = activationBlock({0, 1, 2, 255, 0});
    LumatrekActivationConfig sActivation{};
    ASSERT_EQ(ConvertActivationConfig(&sActivation, bytesOf(activation), sizeOf(activation)), 1);
    EXPECT_EQ(sActivation.u32SpeedMeasure, 0u);
    EXPECT_EQ(sActivation.u32AreaOfInterest, 1u);
    EXPECT_EQ(sActivation.u32DuplicateFilter, 1u);
    EXPECT_EQ(sActivation.u32AutomaticFocus, 1u);
    EXPECT_EQ(sActivation.u32KeptSwitch, 0u);

    MasterParameters m;
    const std::string master = masterParametersBlock(m);
    LumatrekMasterParameters sMaster{};
    ASSERT_EQ(ConvertMasterParameters(&sMaster, bytesOf(master), sizeOf(master)), 1);
    EXPECT_EQ(sMaster.au32Kept[1], m.kept[1]);
    EXPECT_EQ(sMaster.i32CoveringZone, -350);
    EXPECT_EQ(memcmp(sMaster.au8SlaveAnprMac, m.anprMac.data(), 6), 0);
    EXPECT_EQ(memcmp(sMaster.au8SlaveContextMac, m.contextMac.data(), 6), 0);
    EXPECT_EQ(sMaster.u32Kept, m.keptByte);

    const std::string slave = slaveParametersBlock({21, 22, 23});
    LumatrekSlaveParameters sSlave{};
    ASSERT_EQ(ConvertSlaveParameters(&sSlave, bytesOf(slave), sizeOf(slave)), 1);
    EXPECT_EQ(sSlave.au32Kept[0], 21u);

    const std::string single = keptWordBlock(0xCAFE);
    uint32_t u32Word = 0;
    ASSERT_EQ(ConvertKeptWord(&u32Word, bytesOf(single), sizeOf(single)), 1);
    EXPECT_EQ(u32Word, 0xCAFEu);

    const std::string enslave = remoteEnslaveBlock({30, 60, 3, 2}, 0xABCD);
    LumatrekRemoteEnslaveParams sEnslave{};
    ASSERT_EQ(ConvertRemoteEnslaveParams(&sEnslave, bytesOf(enslave), sizeOf(enslave)), 1);
    EXPECT_EQ(sEnslave.u32ElectionWaitS, 30u);
    EXPECT_EQ(sEnslave.u32MaxUndecidedS, 60u);
    EXPECT_EQ(sEnslave.u32SwitchType, 3u);
    EXPECT_EQ(sEnslave.u32PlateHysteresis, 2u);
    EXPECT_EQ(sEnslave.u16MaxGain, 0xABCD);

    const std::string picture = signaturePictureBlock(640, 480, "ABCDEFGH");
    LumatrekSignaturePictureSize sPicture{};
    ASSERT_EQ(ConvertSignaturePictureSize(&sPicture, bytesOf(picture), sizeOf(picture)), 1);
    EXPECT_EQ(sPicture.u32Height, 480u);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(sPicture.au8Kept), 8), "ABCDEFGH");

    const std::string trigger = ledTriggerBlock(1, 2, 3, 4, 5);
    LumatrekLedExternalTriggerConfig sTrigger{};
    ASSERT_EQ(ConvertLedExternalTriggerConfig(&sTrigger, bytesOf(trigger), sizeOf(trigger)), 1);
    EXPECT_EQ(sTrigger.u32ProjectorPresent, 1u);
    EXPECT_EQ(sTrigger.u32Enabled, 2u);
    EXPECT_EQ(sTrigger.u32Bracketing, 3u);
    EXPECT_EQ(sTrigger.u32Delay, 4u);
    EXPECT_EQ(sTrigger.u32Width, 5u);
}

TEST(LegacyConvert, SpeedParametersGetHeightAndAngleFromProtocolFourEleven)
{
    const std::string block = speedBlock(1250, 550, 0xFFFFFFE0);
    for (Protocol sProtocol : {Protocol{4, 2}, Protocol{4, 10}, Protocol{4, 11}, Protocol{5, 0}}) {
        auto psHandle = sensorAt(sProtocol.i16Major, sProtocol.i16Minor);
        LumatrekSpeedParams sRecord{};
        ASSERT_EQ(ConvertSpeedParams(psHandle.get(), &sRecord, bytesOf(block), sizeOf(block)), 1);
        const bool bPlaced = sProtocol.i16Major > 4 || sProtocol.i16Minor >= 11;
        EXPECT_EQ(sRecord.u32FieldOfViewCm, 1250u);
        EXPECT_EQ(sRecord.i32HeightCm, bPlaced ? 550 : -1) << sProtocol.i16Minor;
        EXPECT_EQ(sRecord.i32AngleTenthDegree, bPlaced ? -32 : -1);
    }
}

TEST(LegacyConvert, LedCurrentLimitFollowsTheBoardAndItsLight)
{
    const struct {
        uint32_t u32CameraWord, u32Limit;
    } kWords[] = {{0, 0},           {0x0020042F, 0},    {0x05000000, 4000}, {0x45000000, 2000},
                  {0x04123456, 4000}, {0xC4000000, 2000}, {0x02000000, 2000}, {0x42000000, 2000},
                  {0x3F000000, 2000}, {0x80000000, 0}};
    for (const auto &sWord : kWords)
        EXPECT_EQ(LedCurrentLimit(sWord.u32CameraWord), sWord.u32Limit) << std::hex << sWord.u32CameraWord;

    const struct {
        uint32_t u32Sixth, u32Seventh, u32Limit;
    } kLed[] = {{0, 0, 0}, {5, 0, 0}, {5, 1, 2000}, {0, 1, 4000}};
    for (const auto &sLed : kLed) {
        const std::string block = ledBlock({1, 2, 3, 4}, sLed.u32Sixth, sLed.u32Seventh);
        LumatrekLedRecord sRecord{};
        ASSERT_EQ(ConvertLedRecord(&sRecord, bytesOf(block), sizeOf(block)), 1);
        EXPECT_EQ(sRecord.u32CurrentLimit, sLed.u32Limit) << sLed.u32Sixth << " " << sLed.u32Seventh;
        EXPECT_EQ(sRecord.au32Kept[3], 4u);
        EXPECT_EQ(sRecord.u32Kept6, sLed.u32Sixth);
        EXPECT_EQ(sRecord.u32Kept7, sLed.u32Seventh);
    }
}

TEST(LegacyConvert, ImageAnswersAndStatusWordsAreReadByTheirTables)
{
    const int32_t kAnswers[][2] = {{-1, 2}, {0, 0}, {1, 3}, {2, -1}, {-2, -1}};
    for (const auto &aAnswer : kAnswers)
        EXPECT_EQ(ImageAnswerStatus(aAnswer[0]), aAnswer[1]) << aAnswer[0];

    auto psHandle = std::make_unique<LumatrekHandle>();
    psHandle->sConfig.u32SensorType = LUMATREK_SENSOR_ANPR;
    EXPECT_EQ(TooColdBit(psHandle.get(), 0xFFFFFFFF), 0x2000u);
    EXPECT_EQ(UnexpectedStatusBits(psHandle.get(), 0xFFFFFFFF), 0x7F8F8000u);
    EXPECT_EQ(UnexpectedStatusBits(psHandle.get(), 0x2000), 0u);
    psHandle->sConfig.u32SensorType = LUMATREK_SENSOR_RECORDER;
    EXPECT_EQ(TooColdBit(psHandle.get(), 0xFFFFFFFF), 0u);
    EXPECT_EQ(UnexpectedStatusBits(psHandle.get(), 0xFFFFFFFF), 0x7FF02F7Eu);
}

TEST(LegacyConvert, UnicastListIsConvertedInPlaceReplacedOrRemovedByItsCount)
{
    auto psHandle = std::make_unique<LumatrekHandle>();
    LumatrekErrorInfo sError{};
    auto update = [&](const std::vector<UnicastEntry> &entries, uint32_t u32Count) {
        const std::string block = unicastBlock(entries);
        return LumatrekUpdateUnicastDiscoverAddresses(psHandle.get(), bytesOf(block), u32Count, sizeOf(block),
                                                      &sError);
    };
    std::string wide = unicastBlock({{std::string(16, '9'), 0xFFFF}});
    wide[18] = '\x7F'; // beyond the u16 port
    ASSERT_EQ(LumatrekUpdateUnicastDiscoverAddresses(psHandle.get(), bytesOf(wide), 1, sizeOf(wide), &sError), 1);
    EXPECT_EQ(psHandle->psDiscover[0].aszAddress, std::string(15, '9'));
    EXPECT_EQ(psHandle->psDiscover[0].u32Port, 0xFFFFu);

    ASSERT_EQ(update({{"10.0.0.1", 22022}}, 1), 1);
    const LumatrekDiscoverAddress *psFirst = psHandle->psDiscover;
    ASSERT_EQ(update({{"10.0.0.2", 22023}}, 1), 1);
    EXPECT_EQ(psHandle->psDiscover, psFirst) << "same count: converted into the list it has";
    EXPECT_STREQ(psHandle->psDiscover[0].aszAddress, "10.0.0.2");

    ASSERT_EQ(update({{"a", 1}, {"b", 2}, {"c", 3}}, 3), 1);
    EXPECT_EQ(psHandle->u32DiscoverCount, 3u);
    EXPECT_STREQ(psHandle->psDiscover[2].aszAddress, "c");
    EXPECT_EQ(psHandle->psDiscover[1].u32Port, 2u);

    EXPECT_EQ(update({{"a", 1}}, 2), 0) << "two entries claimed, one given";
    EXPECT_EQ(sError.i32Code, -20);
    EXPECT_EQ(psHandle->u32DiscoverCount, 3u);

    ASSERT_EQ(update({}, 0), 1);
    EXPECT_EQ(psHandle->psDiscover, nullptr);
    EXPECT_EQ(psHandle->u32DiscoverCount, 0u);
}

TEST(LegacyConvert, SaveStringKeepsACopyOrNothing)
{
    char *pszKept = nullptr;
    SaveString(&pszKept, "first");
    EXPECT_STREQ(pszKept, "first");
    std::string source = "second";
    SaveString(&pszKept, source.c_str());
    source[0] = 'X';
    EXPECT_STREQ(pszKept, "second");
    SaveString(&pszKept, nullptr);
    EXPECT_EQ(pszKept, nullptr);
    SaveString(nullptr, "ignored");
}
