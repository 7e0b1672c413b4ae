// The legacy library's version record and its switch of the runtime's log file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Lumatrek.h"
#include "SA_Log.h"

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

namespace {

// A fresh folder for log files, removed with everything in it.
struct LogFolder {
    std::string path;
    LogFolder()
    {
        char aszTemplate[] = "/tmp/lumatreklogXXXXXX";
        path = mkdtemp(aszTemplate) ? aszTemplate : "";
        SA_Init(0, 0, -1);
    }
    ~LogFolder()
    {
        SA_SetLogFileEx(nullptr, 0);
        SA_Release();
        std::filesystem::remove_all(path);
    }
    std::string file(const char *pcszName) const { return path + "/" + pcszName; }
};

// Plain lines of 100 characters: 102 bytes each with their two line ends.
void writeLines(int iCount)
{
    std::string text(100, 'x');
    for (int i = 0; i < iCount; i++)
        SA_Log("%s", text.c_str());
}

} // namespace

TEST(LumatrekLogFile, CapIsGivenInKilobytes)
{
    LogFolder sFolder;
    ASSERT_FALSE(sFolder.path.empty());
    std::string log = sFolder.file("kgv.log");
    LumatrekSetLogFile(log.c_str(), 1);
    writeLines(10);
    EXPECT_TRUE(std::filesystem::exists(log));
    EXPECT_FALSE(std::filesystem::exists(log + ".old")) << "1020 bytes stay under a 1 KB cap";
    writeLines(1);
    EXPECT_TRUE(std::filesystem::exists(log + ".old")) << "1122 bytes pass a 1 KB cap";
}

TEST(LumatrekLogFile, NoNameOrNoSizeSwitchesTheFileOff)
{
    LogFolder sFolder;
    const struct {
        bool bName;
        uint32_t u32Kb;
    } kCases[] = {{false, 0}, {false, 5}, {true, 0}};
    for (const auto &sCase : kCases) {
        std::string log = sFolder.file("kgv.log");
        LumatrekSetLogFile(log.c_str(), 1);
        LumatrekSetLogFile(sCase.bName ? log.c_str() : nullptr, sCase.u32Kb);
        std::filesystem::remove(log);
        writeLines(1);
        EXPECT_FALSE(std::filesystem::exists(log)) << sCase.bName << " " << sCase.u32Kb;
    }
}
