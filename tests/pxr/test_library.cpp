// Library start and end, the last-error text, the trace function and the version texts.
#include "PxrTestSupport.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

struct Record {
    char aszLastError[PXR_LAST_ERROR_SIZE];
    int iAfter;
};

} // namespace

TEST(Library, SecondInitDoesNotStartTheRuntimeAgainAndSecondReleaseGivesNothingBack)
{
    int32_t i32Before = SA_GetInitCount();
    ASSERT_EQ(PXR_initLibrary(), 1);
    EXPECT_EQ(SA_GetInitCount(), i32Before + 1);
    EXPECT_EQ(PXR_initLibrary(), 1);
    EXPECT_EQ(SA_GetInitCount(), i32Before + 1);
    PXR_releaseLibrary();
    EXPECT_EQ(SA_GetInitCount(), i32Before);
    PXR_releaseLibrary();
    EXPECT_EQ(SA_GetInitCount(), i32Before);
    EXPECT_EQ(PXR_isInitialised(), 0);
}

TEST(Library, ReleaseLeavesOtherStartsOfTheRuntimeAlone)
{
    ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
    ASSERT_EQ(PXR_initLibrary(), 1);
    PXR_releaseLibrary();
    PXR_releaseLibrary();
    EXPECT_EQ(SA_GetInitCount(), 1);
    SA_Release();
}

TEST_F(PxrTest, LastErrorOfNullIsEmptyText)
{
    EXPECT_STREQ(PXRGetLastError(nullptr), "");
}

TEST_F(PxrTest, LastErrorIsCutToItsBufferAndKeepsTheNextFieldIntact)
{
    Record sRecord;
    sRecord.iAfter = 0x5A5A5A5A;
    std::string longReason(5000, 'x');
    PXR_setLastError(&sRecord, "%s", longReason.c_str());
    EXPECT_EQ(strlen(PXRGetLastError(&sRecord)), PXR_LAST_ERROR_SIZE - 1u);
    EXPECT_EQ(sRecord.iAfter, 0x5A5A5A5A);
    PXR_clearLastError(&sRecord);
    EXPECT_STREQ(PXRGetLastError(&sRecord), "");
}

TEST_F(PxrTest, TraceCarriesModuleLevelAndHandle)
{
    PXR *psHandle = reinterpret_cast<PXR *>(&traces);
    PXR *psSeen = nullptr;
    PXRSetTraceFunction(
        [](PXR *pPxr, int, const char *, void *pUser) {
            *static_cast<PXR **>(pUser) = pPxr;
            return 0;
        },
        &psSeen);
    PXR_trace(psHandle, "PXR", 5, "Binds to server: %s:%u", "10.0.0.1", 10001u);
    EXPECT_EQ(psSeen, psHandle);
    PXRSetTraceFunction(&PxrTest::record, this);
    PXR_trace(nullptr, "PXR", 5, "Binds to server: %s:%u", "10.0.0.1", 10001u);
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0].iLevel, 5);
    EXPECT_EQ(traces[0].text, "[PXR]Binds to server: 10.0.0.1:10001");
}

TEST_F(PxrTest, LongTraceIsCutTo511Characters)
{
    std::string message(600, 'm');
    PXR_trace(nullptr, "PXR", 6, "%s", message.c_str());
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0].text.size(), 511u);
    EXPECT_EQ(traces[0].text.substr(0, 5), "[PXR]");
}

TEST_F(PxrTest, OverlongModuleNameIsCutWithoutOverrun)
{
    std::string module(700, 'M');
    PXR_trace(nullptr, module.c_str(), 6, "text");
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0].text.size(), 511u);
}

TEST_F(PxrTest, WithoutTraceFunctionNothingIsFormatted)
{
    PXRSetTraceFunction(nullptr, nullptr);
    PXR_trace(nullptr, "PXR", 3, "%s", "text");
    EXPECT_TRUE(traces.empty());
}

TEST_F(PxrTest, FailedRuntimeAssertionBecomesOneFatalTrace)
{
    SA_Assert(0, "psList->u32Count == 0", "PXRList.cpp", "PXRListDestroy", 17, nullptr);
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0].iLevel, 2);
    EXPECT_EQ(traces[0].text, "[PXR]ASSERT File=PXRList.cpp Function=PXRListDestroy l17");
}

TEST_F(PxrTest, VersionTexts)
{
    EXPECT_STREQ(PXRGetVersion(), "1.5.1.0 Build 734 (Dec 19 2023 14:58:58)");
    char aszBuffer[PXR_FULL_VERSION_SIZE];
    EXPECT_EQ(PXRGetFullVersion(aszBuffer), aszBuffer);
    EXPECT_STREQ(aszBuffer, "PXR v1.5.1.0 Build 734 (Dec 19 2023 14:58:58)\nLumatrekDLL v10.9.6\n");
    EXPECT_EQ(PXRGetFullVersion(nullptr), nullptr);
}

TEST_F(PxrTest, FullVersionNeverWritesPastTheGivenSize)
{
    char aszBuffer[32];
    memset(aszBuffer, '#', sizeof(aszBuffer));
    PXR_getFullVersion(aszBuffer, 10);
    EXPECT_STREQ(aszBuffer, "PXR v1.5.");
    EXPECT_EQ(aszBuffer[10], '#');
}

TEST(Library, StartSwitchesTheRuntimeLogFileOff)
{
    char aszFolder[] = "/tmp/pxrlogXXXXXX";
    ASSERT_NE(mkdtemp(aszFolder), nullptr);
    std::string log = std::string(aszFolder) + "/runtime.log";
    ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
    SA_SetLogFileEx(log.c_str(), 0);
    ASSERT_EQ(PXR_initLibrary(), 1);
    SA_Log("%s", "after the library started");
    EXPECT_FALSE(std::filesystem::exists(log));
    PXR_releaseLibrary();
    SA_Release();
    std::filesystem::remove_all(aszFolder);
}
