// The LED window and power limit for each shutter setting, by board class and version.
#include <gtest/gtest.h>

#include <memory>

#include "Lumatrek_Internal.h"

namespace {

struct ShutterCase {
    int16_t i16Minor; // protocol 2.minor
    uint32_t u32CameraWord;
    uint32_t u32Shutter;
    uint32_t u32Start, u32End, u32Limit;
    int iResult;
};

const ShutterCase kCases[] = {
    {2, 0x01000000, 15, 1300, 18800, 2000, 1},  // 1000 us: the short-exposure limit
    {2, 0x01000000, 14, 2000, 18100, 1000, 1},  // 1700 us
    {2, 0x02000000, 14, 1700, 18300, 1000, 1},
    {2, 0x03000000, 21, 300, 19500, 2000, 1},
    {2, 0x46000000, 20, 400, 19400, 2000, 1},   // colour bits do not change the class
    {2, 0x05000000, 7, 13600, 6200, 1000, 1},
    {1, 0x05000000, 7, 13400, 6600, 1000, 1},   // below 2.2 any LED word is class 0x2000000
    {1, 0x00000001, 21, 100, 19900, 2000, 1},
    {1, 0, 21, 100, 19900, 2000, 0},
    {2, 0x07000000, 8, 10000, 10000, 1000, 0},  // unknown class: the plain window, result 0
    {2, 0x02000000, 0, 20000, 0, 1000, 1},
};

std::unique_ptr<LumatrekHandle> handleWith(int16_t i16Minor, uint32_t u32CameraWord)
{
    auto psHandle = std::make_unique<LumatrekHandle>();
    psHandle->sVersion.i16ProtocolMajor = 2;
    psHandle->sVersion.i16ProtocolMinor = i16Minor;
    psHandle->sConfig.u32CameraWord = u32CameraWord;
    return psHandle;
}

} // namespace

TEST(LegacyShutter, WindowAndLimitFollowTheExposureAndTheBoardClass)
{
    for (const ShutterCase &sCase : kCases) {
        auto psHandle = handleWith(sCase.i16Minor, sCase.u32CameraWord);
        uint32_t u32Start = 1, u32End = 1, u32Limit = 1;
        EXPECT_EQ(GetShutterTiming(psHandle.get(), sCase.u32Shutter, &u32Start, &u32End, &u32Limit), sCase.iResult)
            << std::hex << sCase.u32CameraWord << std::dec << " shutter " << sCase.u32Shutter;
        EXPECT_EQ(u32Start, sCase.u32Start) << std::hex << sCase.u32CameraWord;
        EXPECT_EQ(u32End, sCase.u32End) << std::hex << sCase.u32CameraWord;
        EXPECT_EQ(u32Limit, sCase.u32Limit) << sCase.u32Shutter;
    }
}

TEST(LegacyShutter, SettingsBeyondTheTableWriteNothingAndOutputsMayBeNull)
{
    auto psHandle = handleWith(2, 0x02000000);
    uint32_t u32Start = 7, u32End = 8, u32Limit = 9;
    EXPECT_EQ(GetShutterTiming(psHandle.get(), 22, &u32Start, &u32End, &u32Limit), 0);
    EXPECT_EQ(GetShutterTiming(psHandle.get(), 0xFFFFFFFF, &u32Start, &u32End, &u32Limit), 0);
    EXPECT_EQ(u32Start, 7u);
    EXPECT_EQ(u32End, 8u);
    EXPECT_EQ(u32Limit, 9u);
    EXPECT_EQ(GetShutterTiming(psHandle.get(), 0, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(GetShutterTiming(psHandle.get(), 21, nullptr, &u32End, nullptr), 1);
    EXPECT_EQ(u32End, 19900u);
}
