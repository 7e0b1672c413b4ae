// The legacy library's version record, its switch of the runtime's log file, and the
// handlers its first start installs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Lumatrek_Internal.h"
#include "SA_Log.h"

TEST(LumatrekVersion, ReportsTenNineSixWithItsBuild)
{
    LumatrekVersion sVersion;
    EXPECT_EQ(LumatrekGetVersion(&sVersion), &sVersion);
    EXPECT_EQ(sVersion.u16Major, 10);
    EXPECT_EQ(sVersion.u16Minor, 9);
    EXPECT_EQ(sVersion.u32Revision, 6u);
    const std::string text = sVersion.pcszVersion;
    EXPECT_EQ(text.rfind("Lumatrek 10.9.6.0 Build (", 0), 0u) << text;
    EXPECT_EQ(text.back(), ')');
    EXPECT_EQ(LumatrekGetVersion(nullptr), nullptr);
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

namespace {

std::string fileText(const std::string &path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(LumatrekLibrary, FirstStartInstallsAnAssertionHandlerThatPrintsAndLogs)
{
    LogFolder sFolder;
    std::string log = sFolder.file("kgv.log");
    LumatrekSetLogFile(log.c_str(), 64);
    SA_AssertHandler rBefore = SA_SetAssertHandler(nullptr);
    const int32_t i32Start = LT_libraryReferences();
    ASSERT_EQ(LumatrekInit(nullptr), 1);
    ASSERT_EQ(LumatrekInit(nullptr), 1);
    EXPECT_EQ(LT_libraryReferences(), i32Start + 2);

    testing::internal::CaptureStdout();
    SA_Assert(0, "x == 1", "here.cpp", "probe", 12, "detail");
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "SA_ASSERT: exp <x == 1> file: here.cpp func: probe line: 12 task: unkwown info detail\n");
    EXPECT_NE(fileText(log).find("lumatrekdll.dll: ASSERT exp <x == 1> file: here.cpp func: probe line: 12 task: "
                                 "unkwown info detail"),
              std::string::npos);

    LumatrekRelease();
    LumatrekRelease();
    EXPECT_EQ(LT_libraryReferences(), i32Start);
    SA_SetAssertHandler(rBefore);
}
