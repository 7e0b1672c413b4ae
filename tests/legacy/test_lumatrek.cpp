// The legacy library's version record.
#include <gtest/gtest.h>

#include "Lumatrek.h"

TEST(LumatrekVersion, ReportsTenNineSix)
{
    LumatrekVersion sVersion;
    LumatrekGetVersion(&sVersion);
    EXPECT_EQ(sVersion.u16Major, 10);
    EXPECT_EQ(sVersion.u16Minor, 9);
    EXPECT_EQ(sVersion.u32Patch, 6u);
    EXPECT_STREQ(sVersion.aszVersion, "10.9.6");
}

TEST(LumatrekVersion, NullRecordIsLeftAlone)
{
    LumatrekGetVersion(nullptr);
}
