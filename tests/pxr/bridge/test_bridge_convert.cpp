// The bridge's shared translations: dates across the tick wrap, sensor tests read from a
// handle's blocks, names and value tables, frame-rate codes, the ocr element, square plates.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "LegacyTestSupport.h"
#include "PXRLT_Internal.h"

namespace {

TEST(BridgeDates, TicksMapOntoEpochAcrossTheWrap)
{
    const uint64_t u64Now = 1700000000000ull;
    struct Case {
        uint32_t u32NowTick;
        uint32_t u32Tick;
        int64_t i64Epoch;
    } const asCases[] = {
        {5000, 4000, 1700000000000ll - 1000},      // plain past
        {100, 0xFFFFFF9Cu, 1700000000000ll - 200}, // taken before the wrap, read after it
        {0xFFFFFF00u, 0x00000010u, 1700000000000ll + 0x110}, // a tick just ahead, past the wrap
        {1234, 1234, 1700000000000ll},
    };
    for (const Case &sCase : asCases) {
        SCOPED_TRACE(sCase.u32Tick);
        EXPECT_EQ(PXRLT_tickToEpochAt(sCase.u32NowTick, u64Now, sCase.u32Tick), sCase.i64Epoch);
        EXPECT_EQ(PXRLT_epochToTickAt(sCase.u32NowTick, u64Now, sCase.i64Epoch), sCase.u32Tick);
    }
}

TEST(BridgeDates, PresentTickIsAboutNow)
{
    const uint64_t u64Before = SA_GetTimeMs();
    const int64_t i64Date = PXRLT_sensorTimeToEpochMs(nullptr, SA_GetTickMs());
    const uint64_t u64After = SA_GetTimeMs();
    EXPECT_GE(i64Date + 50, static_cast<int64_t>(u64Before));
    EXPECT_LE(i64Date, static_cast<int64_t>(u64After) + 50);
    const uint32_t u32Tick = PXRLT_epochMsToSensorTime(nullptr, i64Date);
    EXPECT_LE(static_cast<uint32_t>(SA_GetTickMs() - u32Tick), 100u);
}

TEST(BridgeSensorTests, FirmwareComparesInOrderAndNeedsAKnownVersion)
{
    PXRLT_SensorFacts sFacts{};
    sFacts.bFirmwareKnown = 1;
    sFacts.au16Firmware[0] = 6;
    sFacts.au16Firmware[1] = 2;
    sFacts.au16Firmware[2] = 3;
    struct Case {
        uint16_t au16Wanted[3];
        int bExpected;
    } const asCases[] = {
        {{6, 2, 4}, 0}, {{6, 2, 3}, 1}, {{6, 1, 9}, 1}, {{5, 9, 9}, 1}, {{6, 3, 0}, 0}, {{7, 0, 0}, 0},
    };
    for (const Case &sCase : asCases) {
        const uint16_t *pu16 = sCase.au16Wanted;
        EXPECT_EQ(PXRLT_firmwareAtLeastFacts(&sFacts, pu16[0], pu16[1], pu16[2]), sCase.bExpected)
            << pu16[0] << "." << pu16[1] << "." << pu16[2];
    }
    sFacts.bFirmwareKnown = 0;
    EXPECT_EQ(PXRLT_firmwareAtLeastFacts(&sFacts, 0, 0, 0), 0);
}

TEST(BridgeSensorTests, LedCardModelAndVersionDecideBracketingAndEco)
{
    struct Case {
        uint32_t u32Model;
        uint32_t u32Version;
        uint16_t u16Patch;
        int bBracketing;
        int bEco;
    } const asCases[] = {
        {4, 170, 4, 1, 0}, {5, 170, 4, 1, 0}, {5, 183, 4, 1, 1}, {5, 183, 3, 1, 0},
        {5, 182, 4, 1, 0}, {3, 200, 4, 0, 0}, {4, 169, 4, 0, 0}, {6, 200, 4, 0, 0},
    };
    for (const Case &sCase : asCases) {
        SCOPED_TRACE(testing::Message() << sCase.u32Model << " " << sCase.u32Version << " " << sCase.u16Patch);
        LumatrekConfig sConfig{};
        // Colour bits set too: they must not spill into the model code.
        sConfig.u32CameraWord = 0xC0000000u | (sCase.u32Model << 24) | 0x200435u;
        EXPECT_EQ(PXRLT_checkModelValue(&sConfig, sCase.u32Version), sCase.bBracketing);
        PXRLT_SensorFacts sFacts{};
        sFacts.u32CameraWord = sConfig.u32CameraWord;
        sFacts.u32LedVersion = sCase.u32Version;
        sFacts.bFirmwareKnown = 1;
        sFacts.au16Firmware[0] = 6;
        sFacts.au16Firmware[1] = 2;
        sFacts.au16Firmware[2] = sCase.u16Patch;
        EXPECT_EQ(PXRLT_checkPindrel2LevelFacts(&sFacts), sCase.bEco);
    }
}

TEST(BridgeSensorTests, FocusToSaveOnlyForItsCamerasOutsideDgpr)
{
    struct Case {
        uint32_t u32CameraWord;
        uint32_t u32SensorType;
        int bExpected;
    } const asCases[] = {
        {0x200435u, LUMATREK_SENSOR_ANPR, 1},
        {0x4520044Fu, LUMATREK_SENSOR_VIDEO, 1},
        {0x200435u, LUMATREK_SENSOR_DGPR, 0},
        {0x200436u, LUMATREK_SENSOR_ANPR, 0},
    };
    for (const Case &sCase : asCases) {
        LumatrekConfig sConfig{};
        sConfig.u32CameraWord = sCase.u32CameraWord;
        sConfig.u32SensorType = sCase.u32SensorType;
        EXPECT_EQ(PXRLT_hasFocusToSave(&sConfig), sCase.bExpected) << std::hex << sCase.u32CameraWord;
    }
    EXPECT_EQ(PXRLT_hasFocusToSave(nullptr), 0);
}

TEST(BridgeNames, EquipmentNameByBoardModel)
{
    struct Case {
        uint32_t u32Model;
        int bSecondary;
        const char *pcszName;
    } const asCases[] = {
        {1, 0, "Lumatek2"}, {2, 0, "Lumatek"},  {3, 0, "Pindrel"},
        {4, 1, "Lumatek3 (primary)"}, {5, 0, "Pindrel2"}, {6, 0, "Sabrel"},
        {0, 1, "Lumatek3 (secondary)"}, {7, 0, "KGV sensor"}, {63, 0, "KGV sensor"},
    };
    for (const Case &sCase : asCases)
        EXPECT_STREQ(PXRLT_equipmentNameFor((sCase.u32Model << 24) | 0x123u, sCase.bSecondary), sCase.pcszName);
}

TEST(BridgeNames, ValueTablesMapBothWaysAndRefuseOutsiders)
{
    struct Case {
        const char *const *ppcszTable;
        int32_t i32Size;
        const char *pcszFirst;
        const char *pcszLast;
    } const asCases[] = {
        {g_apcszPxrltShutter, 16, "1/50", "1/10000"},
        {g_apcszPxrltIris, 18, "Closed", "F1.4"},
        {g_apcszPxrltGain, 16, "-3.0 db", "28 db"},
    };
    for (const Case &sCase : asCases) {
        SCOPED_TRACE(sCase.pcszFirst);
        EXPECT_STREQ(PXRLT_valueName(sCase.ppcszTable, 0), sCase.pcszFirst);
        EXPECT_STREQ(PXRLT_valueName(sCase.ppcszTable, sCase.i32Size - 1), sCase.pcszLast);
        EXPECT_EQ(PXRLT_valueName(sCase.ppcszTable, sCase.i32Size), nullptr);
        EXPECT_EQ(PXRLT_valueName(sCase.ppcszTable, -1), nullptr);
        EXPECT_EQ(PXRLT_valueName(sCase.ppcszTable, 1000), nullptr);
        for (int32_t i = 0; i < sCase.i32Size; ++i)
            EXPECT_EQ(PXRLT_valueCode(sCase.ppcszTable, PXRLT_valueName(sCase.ppcszTable, i)), i);
        EXPECT_EQ(PXRLT_valueCode(sCase.ppcszTable, ""), -1);
        EXPECT_EQ(PXRLT_valueCode(sCase.ppcszTable, "bogus"), -1);
        EXPECT_EQ(PXRLT_valueCode(sCase.ppcszTable, nullptr), -1);
    }
}

TEST(BridgeFrameRates, FpsAndSkipCodesFollowTheirTables)
{
    const int aiFps[][2] = {{1, 24}, {2, 12}, {3, 7}, {4, 5}, {5, 4}, {6, 3}, {8, 2}, {12, 1}, {0, 0}, {7, 0}, {25, 0}, {-1, 0}};
    for (const auto &aiCase : aiFps)
        EXPECT_EQ(PXRLT_fpsToSkipCode(aiCase[0]), aiCase[1]) << aiCase[0];
    const int ai25[][2] = {{-1, 25}, {0, 25}, {1, 12}, {2, 8}, {3, 6}, {4, 5}, {5, 4}, {6, 4}, {7, 3},
                           {8, 3},   {9, 2},  {15, 2}, {16, 1}, {-2, 1}, {24, 1}};
    for (const auto &aiCase : ai25)
        EXPECT_EQ(PXRLT_skipCodeToFps25(aiCase[0]), aiCase[1]) << aiCase[0];
    const int ai50[][2] = {{0, 50}, {1, 25}, {2, 17}, {3, 12}, {4, 8},  {6, 8}, {7, 6},  {8, 6},
                           {9, 5},  {10, 5}, {11, 4}, {13, 4}, {14, 3}, {18, 3}, {19, 2}, {-1, 2}};
    for (const auto &aiCase : ai50)
        EXPECT_EQ(PXRLT_skipCodeToFps50(aiCase[0]), aiCase[1]) << aiCase[0];
}

TEST(BridgeOcr, AttributesInOrderAndNoCharacterReliabilityForDgpr)
{
    LumatrekOcrSettings sOcr{};
    uint32_t *pu32 = &sOcr.u32MaxPlateHeight;
    for (uint32_t i = 0; i < sizeof(sOcr) / sizeof(uint32_t); ++i)
        pu32[i] = 100 + i;
    const std::string expected[] = {"minPlateWidth=103",           "maxPlateWidth=101",
                                    "minPlateHeight=102",          "maxPlateHeight=100",
                                    "zoomPlateWidth=104",          "minReliability=106",
                                    "minReliabilityForCharacters=105", "minCharWidthStatic=107",
                                    "minPlateWidthStatic8Char=108", "minRecognitionStatic=109",
                                    "minRecognition=110",          "maxNoPlateBeforeDecision=111"};
    for (uint32_t u32Type : {uint32_t(LUMATREK_SENSOR_ANPR), uint32_t(LUMATREK_SENSOR_DGPR)}) {
        PXRMsgElement *psOcr = PXRLT_createOcrElement(&sOcr, u32Type);
        ASSERT_NE(psOcr, nullptr);
        EXPECT_STREQ(PXRMsgElementName(psOcr), "ocr");
        std::vector<std::string> got;
        for (uint32_t i = 0; i < PXRMsgElementAttributeCount(psOcr); ++i) {
            const char *pcszName = PXRMsgElementAttributeName(psOcr, i);
            got.push_back(std::string(pcszName) + "=" + PXRMsgElementAttributeValue(psOcr, pcszName));
        }
        std::vector<std::string> want(std::begin(expected), std::end(expected));
        if (u32Type == LUMATREK_SENSOR_DGPR)
            want.erase(want.begin() + 6);
        EXPECT_EQ(got, want);
        PXRMsgElementDestroy(psOcr);
    }
    EXPECT_EQ(PXRLT_createOcrElement(nullptr, 1), nullptr);
}

TEST(BridgeSquarePlates, TokenRemovedWithOneSeparator)
{
    struct Case {
        const char *pcszIn;
        const char *pcszOut;
        int bFound;
    } const asCases[] = {
        {"A|SQUARE_PLATES|B", "A|B", 1},
        {"SQUARE_PLATES", "", 1},
        {"SQUARE_PLATES|A", "A", 1},
        {"A|SQUARE_PLATES", "A", 1},
        {"A|SQUARE_PLATES|SQUARE_PLATES", "A|SQUARE_PLATES", 1},
        {"A|SQUARE_PLATESX|B", "A|SQUARE_PLATESX|B", 0},
        {"XSQUARE_PLATES", "XSQUARE_PLATES", 0},
        {"", "", 0},
        {"A||B", "A||B", 0},
    };
    for (const Case &sCase : asCases) {
        char aszContext[64];
        std::strcpy(aszContext, sCase.pcszIn);
        int bFound = -1;
        PXRLT_removeSquarePlates(aszContext, &bFound);
        EXPECT_STREQ(aszContext, sCase.pcszOut) << sCase.pcszIn;
        EXPECT_EQ(bFound, sCase.bFound) << sCase.pcszIn;
    }
    int bFound = -1;
    PXRLT_removeSquarePlates(nullptr, &bFound);
    EXPECT_EQ(bFound, 0);
}

class BridgeHandleFacts : public LumatrekTest {};

TEST_F(BridgeHandleFacts, TestsReadTheLightHandlesBlocks)
{
    LumatrekHandle *psHandle = create("127.0.0.1", 1);
    ASSERT_NE(psHandle, nullptr);
    EXPECT_EQ(PXRLT_firmwareAtLeast(psHandle, 0, 0, 0), 0);
    EXPECT_STREQ(PXRLT_equipmentName(psHandle), "KGV sensor");
    EXPECT_EQ(PXRLT_hasFlip(psHandle), 0);

    psHandle->sVersion.u16FirmwareMajor = 6;
    psHandle->sVersion.u16FirmwareMinor = 2;
    psHandle->sVersion.u16FirmwareRevision = 4;
    psHandle->sVersion.i16ProtocolMajor = 4;
    psHandle->sVersion.i16ProtocolMinor = 3;
    psHandle->sConfig.u32CameraWord = (5u << 24) | 0x200435u;
    psHandle->u32LedCard = 183;
    psHandle->sCamera.u32BoardId = 5u << 24;
    LT_setHeld(psHandle, LT_RECEIVED_VERSION | LT_RECEIVED_CAMERA);
    EXPECT_EQ(PXRLT_firmwareAtLeast(psHandle, 6, 2, 4), 1);
    EXPECT_EQ(PXRLT_firmwareAtLeast(psHandle, 6, 2, 5), 0);
    EXPECT_EQ(PXRLT_checkModelAndBuild(psHandle), 1);
    EXPECT_EQ(PXRLT_checkPindrel2Level(psHandle), 1);
    EXPECT_EQ(PXRLT_hasFlip(psHandle), 1);
    EXPECT_STREQ(PXRLT_equipmentName(psHandle), "Pindrel2");
    LumatrekDestroy(&psHandle);
    EXPECT_EQ(PXRLT_checkModelAndBuild(nullptr), 0);
}

} // namespace
