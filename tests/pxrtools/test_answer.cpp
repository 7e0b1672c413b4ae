// Status answers and message dates: which roots are answers, their error text with the
// assertion that a non-answer reports, and the 64-bit decimal reader.
#include "PXRPrivateToolBox.h"
#include "SA_Core.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tooltest::Message;
using tooltest::MsgPtr;

namespace {

struct Assertion {
    std::string expression, function;
};
std::vector<Assertion> g_assertions;

void RecordAssertion(const char *expression, const char *, const char *function, uint32_t, const char *, const char *)
{
    g_assertions.push_back({expression, function});
}

// Installs the recording handler for one test and puts the previous one back.
class AnswerError : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_assertions.clear();
        previous_ = SA_SetAssertHandler(RecordAssertion);
    }
    void TearDown() override { SA_SetAssertHandler(previous_); }
    SA_AssertHandler previous_ = nullptr;
};

TEST(IsAnswer, OnlyARootNamedExactlyAnswerIsAStatusAnswer)
{
    const std::pair<const char *, int> roots[] = {{"answer", 1}, {"Answer", 0}, {"ANSWER", 0}, {"answers", 0},
                                                  {"config", 0}, {"triggerAnswer", 0}};
    for (const auto &[name, expected] : roots)
        EXPECT_EQ(PXRPToolIsAnswer(Message(name, {{"status", "failed"}}).get()), expected) << name;
    EXPECT_EQ(PXRPToolIsAnswer(MsgPtr(PXRMsgCreate()).get()), 0);
    EXPECT_EQ(PXRPToolIsAnswer(nullptr), 0);
}

TEST_F(AnswerError, AnswerGivesItsErrorTextWithoutAssertion)
{
    MsgPtr failed = Message("answer", {{"status", "failed"}, {"errorText", "Invalid camera id"}});
    EXPECT_STREQ(PXRPToolAnswerError(failed.get()), "Invalid camera id");
    EXPECT_EQ(PXRPToolAnswerError(Message("answer", {{"status", "ok"}}).get()), nullptr);
    EXPECT_TRUE(g_assertions.empty());
}

TEST_F(AnswerError, MessageWithoutRootGivesAFixedText)
{
    EXPECT_STREQ(PXRPToolAnswerError(MsgPtr(PXRMsgCreate()).get()), "No sub element in message");
    EXPECT_STREQ(PXRPToolAnswerError(nullptr), "No sub element in message");
    EXPECT_TRUE(g_assertions.empty());
}

TEST_F(AnswerError, OtherRootIsReportedAndStillGivesItsErrorText)
{
    MsgPtr config = Message("config", {{"errorText", "odd"}});
    EXPECT_STREQ(PXRPToolAnswerError(config.get()), "odd");
    ASSERT_EQ(g_assertions.size(), 1u);
    EXPECT_EQ(g_assertions[0].expression, "strcmp(PXRMsgElementName(pElt), PXRPToolStrAnswer) == 0");
    EXPECT_EQ(g_assertions[0].function, "PXRPToolAnswerError");
}

TEST(Atoi64, ReadsTheLeadingDecimalNumber)
{
    const std::pair<const char *, int64_t> cases[] = {
        {"1700000000123", 1700000000123},
        {"  -42", -42},
        {"\t\n+7", 7},
        {"12abc", 12},
        {"3.9", 3},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"- 5", 0},
        {"9223372036854775807", INT64_MAX},
        {"9223372036854775808", INT64_MAX},
        {"123456789012345678901234567890", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"-99999999999999999999", INT64_MIN},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(PXRPToolAtoi64(text), expected) << '"' << text << '"';
    EXPECT_EQ(PXRPToolAtoi64(nullptr), 0);
}

}  // namespace
