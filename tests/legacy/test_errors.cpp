// Error records: the handle check, the report path with its log line and callback, the last
// error kept once or for good, and the sequence that stops a handle after a critical error.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "LegacyTestSupport.h"
#include "SA_Log.h"

namespace {

class LumatrekErrorTest : public LumatrekTest {
protected:
    void SetUp() override
    {
        LumatrekTest::SetUp();
        psHandle = create("192.0.2.7:11012,10005,0", LT_CREATE_STREAM);
        ASSERT_NE(psHandle, nullptr);
    }
    void TearDown() override
    {
        LumatrekDestroy(&psHandle);
        LumatrekTest::TearDown();
    }
    // A public call of the pattern every public function follows.
    int call(LumatrekErrorInfo *psError) { return LT_enterCall(psHandle, psError, LT_TEXT_FN_GET_STATE); }

    LumatrekHandle *psHandle = nullptr;
};

} // namespace

TEST_F(LumatrekErrorTest, HandleCheckNamesWhyAHandleCannotBeUsed)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, "f", 1);
    EXPECT_EQ(CheckHandle(nullptr, &sError), 0);
    EXPECT_EQ(sError.i32Code, -20);
    EXPECT_STREQ(sError.pcszText, "Invalid argument");
    EXPECT_EQ(sError.i32Critical, 0);

    LT_initError(&sError, "f", 1);
    EXPECT_EQ(CheckHandle(psHandle, &sError), 1);
    EXPECT_EQ(sError.i32Code, 0);
    EXPECT_EQ(call(&sError), 1);
    EXPECT_TRUE(reported().empty());
}

TEST_F(LumatrekErrorTest, NonCriticalErrorIsReturnedOnceThenClearedKeepingFunctionAndType)
{
    ReportError(psHandle, "LumatrekSetZoom", 1, -21, "Timeout", 0);
    LumatrekErrorInfo sFirst, sSecond;
    LumatrekGetLastError(psHandle, &sFirst);
    LumatrekGetLastError(psHandle, &sSecond);
    EXPECT_EQ(sFirst.i32Code, -21);
    EXPECT_STREQ(sFirst.pcszText, "Timeout");
    EXPECT_STREQ(sFirst.pcszFunction, "LumatrekSetZoom");
    EXPECT_EQ(sSecond.i32Code, 0);
    EXPECT_EQ(sSecond.pcszText, nullptr);
    EXPECT_EQ(sSecond.i32Critical, 0);
    EXPECT_EQ(sSecond.i32Type, 1);
    EXPECT_STREQ(sSecond.pcszFunction, "LumatrekSetZoom");
    LumatrekGetLastError(nullptr, &sFirst);
    LumatrekGetLastError(psHandle, nullptr);

    auto reports = reported();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].psHandle, psHandle);
    EXPECT_EQ(reports[0].i32Code, -21);
}

TEST_F(LumatrekErrorTest, ACriticalErrorStaysThenStopsTheHandleAtTheNextReport)
{
    ReportError(psHandle, "CommandThread", 0, -110, "Unsupported device", 1);
    EXPECT_TRUE(LT_isRunning(psHandle)) << "a stored critical error alone does not stop the threads";
    for (int i = 0; i < 2; i++) {
        LumatrekErrorInfo sLast;
        LumatrekGetLastError(psHandle, &sLast);
        EXPECT_EQ(sLast.i32Code, -110) << "kept at every read";
        EXPECT_EQ(sLast.i32Critical, 1);
        EXPECT_EQ(sLast.i32Type, 0);
    }
    const int32_t aExpected[][2] = {{-10, 1}, {-26, 0}, {-26, 0}};
    for (const auto &aCode : aExpected) {
        LumatrekErrorInfo sError;
        EXPECT_EQ(call(&sError), 0);
        EXPECT_EQ(sError.i32Code, 0) << "the report clears the caller's record";
        auto last = reported().back();
        EXPECT_EQ(last.i32Code, aCode[0]);
        EXPECT_EQ(last.i32Critical, aCode[1]);
        EXPECT_EQ(last.function, "LumatrekGetState");
        EXPECT_EQ(last.i32Type, 1);
    }
    EXPECT_EQ(reported()[2].text, "Lumatrek stopped, waiting for destroy");
    EXPECT_EQ(reported()[1].text, "A critical error occured, waiting for destroy");
    EXPECT_FALSE(LT_isRunning(psHandle));
    LumatrekErrorInfo sLast;
    LumatrekGetLastError(psHandle, &sLast);
    EXPECT_EQ(sLast.i32Code, -110) << "the first critical error is the one kept";
}

TEST_F(LumatrekErrorTest, EveryReportIsLoggedWithTheHandlesAddressAndPorts)
{
    char aszFolder[] = "/tmp/lumatrekerrXXXXXX";
    ASSERT_NE(mkdtemp(aszFolder), nullptr);
    const std::string log = std::string(aszFolder) + "/kgv.log";
    LumatrekSetLogFile(log.c_str(), 64);
    psHandle->u32StreamPortInUse = 10005;
    ReportError(psHandle, "LumatrekSetIris", 1, -207, "Command invalid answer", 0);
    LumatrekSetLogFile(nullptr, 0);
    std::ifstream file(log);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("LumatrekError: 192.0.2.7,11012,10005: ERROR func=<LumatrekSetIris> "
                              "error=<Command invalid answer (-207)> type 1 critical 0\n"),
              std::string::npos)
        << text.str();
    std::filesystem::remove_all(aszFolder);
}

TEST(LumatrekTexts, StatusNamesFollowTheirValues)
{
    const struct {
        int32_t i32Status;
        const char *pcszName;
    } kNames[] = {{0, "ACK"},           {-1, "NACK"},           {-2, "DISCONNECTED"},   {-3, "BUSY"},
                  {-4, "EMPTY"},        {-5, "FULL"},           {-6, "NOTSUPPORTED"},   {-7, "INVALIDARGUMENT"},
                  {-8, "INVALIDANSWER"}, {-9, "RS232LOCKED"},   {-10, "RS232NOTLOCKED"}, {-11, "TIMEOUT"},
                  {-12, "UNKNOWN"},     {-13, "FLASHCORRUPTED"}, {-14, "TOOCOLD"},      {-15, "FILECORRUPTED"},
                  {-16, "READONLY"},    {-17, "UNKNOWN"},       {1, "UNKNOWN"},         {INT32_MIN, "UNKNOWN"}};
    for (const auto &sName : kNames)
        EXPECT_STREQ(LT_statusName(sName.i32Status), sName.pcszName) << sName.i32Status;
    EXPECT_STREQ(LT_text(LT_TEXT_NET_COMMAND_QUEUE), "Cannot create network commmand queue");
    EXPECT_STREQ(LT_text(LT_TEXT_COUNT), "Unknown");
}
