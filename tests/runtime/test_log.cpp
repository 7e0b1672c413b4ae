// The runtime log: file lines, size cap and ".old" rotation, dumps, callback, path limit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "SA.h"

namespace fs = std::filesystem;

namespace {

std::mutex g_linesMutex;
std::vector<std::string> g_callbackLines;

void collectLine(const char *pcszLine)
{
    std::lock_guard<std::mutex> lock(g_linesMutex);
    g_callbackLines.push_back(pcszLine);
}

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path makeTempFolder()
{
    std::random_device seed;
    fs::path folder = fs::temp_directory_path() / ("bzk_log_" + std::to_string(seed()) + std::to_string(seed()));
    fs::create_directories(folder);
    return folder;
}

class RuntimeLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
        folder = makeTempFolder();
        logPath = folder / "Brondmere.log";
        ASSERT_EQ(SA_SetLogFileEx(logPath.c_str(), 0), SA_OK);
        g_callbackLines.clear();
    }
    void TearDown() override
    {
        SA_SetLogCallback(nullptr);
        SA_Release();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    std::string logText() const { return readFile(logPath); }

    fs::path folder;
    fs::path logPath;
};

TEST_F(RuntimeLog, PlainLineIsFramedByLineEndsAndReachesTheCallback)
{
    SA_SetLogCallback(collectLine);
    SA_Log("connect %s:%d", "10.0.0.1", 12001);
    EXPECT_EQ(logText(), "\nconnect 10.0.0.1:12001\n");
    EXPECT_THAT(g_callbackLines, ::testing::ElementsAre("connect 10.0.0.1:12001"));
}

TEST_F(RuntimeLog, SwitchedOffFileStillFeedsTheCallbackButWritesNothing)
{
    SA_SetLogCallback(collectLine);
    ASSERT_EQ(SA_SetLogFileEx(nullptr, 0), SA_OK);
    SA_Log("plain");
    SA_WriteLogDateV("dated\n");
    const uint8_t bytes[4] = {1, 2, 3, 4};
    SA_WriteLogDump(bytes, sizeof(bytes), 0);
    EXPECT_FALSE(fs::exists(logPath));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_THAT(g_callbackLines, ::testing::ElementsAre("plain"));
}

TEST_F(RuntimeLog, CallbackGetsAt124CharactersWhileTheFileKeepsTheWholeText)
{
    SA_SetLogCallback(collectLine);
    std::string longText(200, 'x');
    longText[123] = 'A';
    longText[124] = 'B';
    SA_Log("%s", longText.c_str());
    ASSERT_EQ(g_callbackLines.size(), 1u);
    EXPECT_EQ(g_callbackLines[0], longText.substr(0, 124));
    EXPECT_EQ(logText(), "\n" + longText + "\n");
}

TEST_F(RuntimeLog, DatedEntryStartsWithLocalTimeAndDate)
{
    SA_WriteLogDateV("step %d done\n", 3);
    SA_WriteLogDateV("%s", "no line end");
    const std::regex expected(R"(\d\d:\d\d:\d\d \d\d/\d\d/\d{4}: step 3 done\n)"
                              R"(\d\d:\d\d:\d\d \d\d/\d\d/\d{4}: no line end)");
    EXPECT_TRUE(std::regex_match(logText(), expected)) << logText();
}

TEST_F(RuntimeLog, DumpLinesAreEightyColumnsWithOffsetHexAndText)
{
    uint8_t bytes[20];
    for (int i = 0; i < 20; i++)
        bytes[i] = (uint8_t)(0x30 + i);
    bytes[0] = 0x41;
    bytes[1] = 0x00;
    bytes[2] = 0xC8;
    bytes[3] = 0x7F;
    SA_WriteLogDump(bytes, sizeof(bytes), 0);
    const std::string first =
        "00000000  41 00 C8 7F 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F  A...456789:;<=>?     ";
    const std::string second =
        "00000010  40 41 42 43                                      @ABC                 ";
    ASSERT_EQ(first.size(), 80u);
    ASSERT_EQ(second.size(), 80u);
    EXPECT_EQ(logText(), first + "\n" + second + "\n");
}

TEST_F(RuntimeLog, DumpOffsetsStartAtTheGivenOffsetAndEmptyDumpWritesNothing)
{
    const uint8_t bytes[17] = {0};
    SA_WriteLogDump(bytes, 0, 0);
    EXPECT_EQ(logText(), "");
    SA_WriteLogDump(bytes, sizeof(bytes), 0xABC0);
    std::string text = logText();
    ASSERT_EQ(text.size(), 2u * 81u);
    EXPECT_EQ(text.substr(0, 8), "0000ABC0");
    EXPECT_EQ(text.substr(81, 8), "0000ABD0");
}

TEST_F(RuntimeLog, FileThatReachesItsCapMovesToOldAndTheNextEntryStartsAFreshFile)
{
    const fs::path oldPath = folder / "Brondmere.log.old";
    { std::ofstream(oldPath) << "stale"; }
    ASSERT_EQ(SA_SetLogFileEx(logPath.c_str(), 1000), SA_OK);
    const std::string chunk(98, 'a');  // each entry is 100 bytes with its two line ends
    for (int i = 0; i < 9; i++)
        SA_Log("%s", chunk.c_str());
    EXPECT_EQ(fs::file_size(logPath), 900u);
    EXPECT_EQ(readFile(oldPath), "stale");

    SA_Log("%s", chunk.c_str());  // reaches 1000 bytes: written whole, then rotated
    EXPECT_FALSE(fs::exists(logPath));
    EXPECT_EQ(fs::file_size(oldPath), 1000u);

    SA_Log("fresh");
    EXPECT_EQ(logText(), "\nfresh\n");
    EXPECT_EQ(fs::file_size(oldPath), 1000u);
}

TEST_F(RuntimeLog, UnwritableFileIsSkippedSilently)
{
    SA_SetLogCallback(collectLine);
    fs::path missing = folder / "no_such_folder" / "Brondmere.log";
    ASSERT_EQ(SA_SetLogFileEx(missing.c_str(), 10), SA_OK);
    SA_Log("still delivered");
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_THAT(g_callbackLines, ::testing::ElementsAre("still delivered"));
}

TEST_F(RuntimeLog, PathOf260CharactersIsRefusedAndTheOldFileStaysInForce)
{
    std::string base = (folder / "").string();
    ASSERT_LT(base.size(), 200u);
    std::string longest = base + std::string(259 - base.size(), 'p');
    ASSERT_EQ(longest.size(), 259u);
    std::string tooLong = longest + "q";

    EXPECT_EQ(SA_SetLogFileEx(tooLong.c_str(), 0), SA_ERROR);
    SA_Log("kept");
    EXPECT_EQ(logText(), "\nkept\n");

    ASSERT_EQ(SA_SetLogFileEx(longest.c_str(), 0), SA_OK);
    SA_Log("longest");
    EXPECT_EQ(readFile(longest), "\nlongest\n");
    EXPECT_EQ(logText(), "\nkept\n");
}

struct WriterArgs {
    int writer;
    SA_Semaphore start;
};

void writeLines(void *pArg)
{
    auto *args = (WriterArgs *)pArg;
    SA_TakeSemaphoreTimeout(args->start, 10000);
    for (int i = 0; i < 200; i++)
        SA_Log("writer %d line %03d", args->writer, i);
}

TEST_F(RuntimeLog, ConcurrentWritersNeverInterleaveWithinAnEntry)
{
    SA_Semaphore start = nullptr;
    ASSERT_EQ(SA_CreateSemaphore(&start, 0, 4), SA_OK);
    WriterArgs args[4];
    SA_Thread threads[4] = {};
    for (int w = 0; w < 4; w++) {
        args[w] = {w, start};
        ASSERT_EQ(SA_CreateThread(&threads[w], writeLines, &args[w]), SA_OK);
    }
    SA_ReleaseSemaphore(start, 4);
    for (SA_Thread &thread : threads) {
        EXPECT_EQ(SA_WaitThreadTimeout(thread, 30000), 0);
        SA_ExitThread(&thread);
    }
    SA_DestroySemaphore(&start);

    std::istringstream lines(logText());
    std::string line;
    int counts[4] = {0};
    const std::regex entry(R"(writer ([0-3]) line \d{3})");
    while (std::getline(lines, line)) {
        if (line.empty())
            continue;
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, entry)) << line;
        counts[std::stoi(match[1])]++;
    }
    for (int count : counts)
        EXPECT_EQ(count, 200);
}

TEST(RuntimeLogStopped, WritersBeforeTheRuntimeStartsReturnWithoutWriting)
{
    ASSERT_EQ(SA_GetInitCount(), 0);
    fs::path folder = makeTempFolder();
    fs::path current = fs::current_path();
    fs::current_path(folder);  // the default file name would land here
    SA_Log("early %d", 1);
    SA_WriteLogDateV("early\n");
    const uint8_t byte = 0;
    SA_WriteLogDump(&byte, 1, 0);
    EXPECT_EQ(SA_SetLogFileEx("Brondmere.log", 0), SA_ERROR);
    SA_SetLogCallback(collectLine);
    fs::current_path(current);
    EXPECT_TRUE(fs::is_empty(folder));
    fs::remove_all(folder);
}

}  // namespace
