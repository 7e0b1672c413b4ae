// Messages: ownership of the tree, reference counting, read-only over the whole tree,
// copies, user data and owner, and the library's name comparison.
#include "PxrTestSupport.h"
#include "TreeText.h"

#include <thread>
#include <vector>

namespace {

// Every element of the tree knows the message, or every one knows none.
bool allElementsPointAt(PXRMsgElement *psTop, PXRMsg *psMsg)
{
    for (PXRMsgElement *psElement = psTop; psElement; psElement = PXRMsgElement_nextInTree(psElement, psTop))
        if (PXRMsgElementMsg(psElement) != psMsg)
            return false;
    return true;
}

PXRMsg *messageOf(const char *pcszTree)
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgSetChild(psMsg, treetext::parse(pcszTree));
    return psMsg;
}

} // namespace

TEST_F(PxrTest, NewMessageIsEmptyWritableAndUnshared)
{
    PXRMsg *psMsg = PXRMsgCreate();
    EXPECT_EQ(PXRMsgChild(psMsg), nullptr);
    EXPECT_EQ(PXRMsgIsReadOnly(psMsg), 0);
    EXPECT_EQ(psMsg->u32RefCount, 0u);
    EXPECT_EQ(PXRMsgGetPXR(psMsg), nullptr);
    EXPECT_EQ(PXRMsgGetUserData(psMsg), nullptr);
    EXPECT_STREQ(PXRGetLastError(psMsg), "");
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, EachHolderDropsOneReferenceAndTheLastFreesTheMessage)
{
    PXRMsg *psMsg = messageOf("answer(status=ok)");
    ASSERT_EQ(PXRMsgSetReadOnly(psMsg, 1), 1);
    ASSERT_EQ(PXRMsgAddRef(psMsg), 1);
    ASSERT_EQ(PXRMsgAddRef(psMsg), 1);
    PXRMsgDestroy(psMsg);
    EXPECT_EQ(psMsg->u32RefCount, 1u);
    EXPECT_STREQ(PXRMsgElementAttributeValue(PXRMsgChild(psMsg), "status"), "ok");
    PXRMsgDestroy(psMsg);
    EXPECT_EQ(psMsg->u32RefCount, 0u);
    PXRMsgDestroy(psMsg); // the last holder: freed (the sanitizer run checks nothing leaks)
}

TEST_F(PxrTest, SharedMessageBecomesWritableOnlyWhenTheOtherHolderIsGone)
{
    PXRMsg *psMsg = messageOf("r");
    PXRMsgSetReadOnly(psMsg, 1);
    PXRMsgAddRef(psMsg);
    EXPECT_EQ(PXRMsgSetReadOnly(psMsg, 0), 0);
    PXRMsgDestroy(psMsg);
    EXPECT_EQ(PXRMsgSetReadOnly(psMsg, 0), 1);
    EXPECT_EQ(PXRMsgIsReadOnly(psMsg), 0);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, ReadOnlyKeepsTheFirstNonZeroValue)
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgSetReadOnly(psMsg, 5);
    PXRMsgSetReadOnly(psMsg, 7);
    EXPECT_EQ(PXRMsgIsReadOnly(psMsg), 5);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, ReadOnlyHoldsForEveryElementOfATreeBuiltBeforeItJoined)
{
    // Children added under a loose element, which joins the message afterwards.
    PXRMsgElement *psRoot = treetext::parse("cfg{net{eth(ip=1)}}");
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgSetChild(psMsg, psRoot);
    EXPECT_TRUE(allElementsPointAt(psRoot, psMsg));
    PXRMsgSetReadOnly(psMsg, 1);
    PXRMsgElement *psEth = PXRMsgElementFirstChild(PXRMsgElementFirstChild(psRoot, "net"), "eth");
    EXPECT_EQ(PXRMsgElementSetAttribute(psEth, "ip", "2"), 0);
    EXPECT_STREQ(PXRMsgElementAttributeValue(psEth, "ip"), "1");
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, ReadOnlyCopyRefusesChangesBelowItsRoot)
{
    PXRMsg *psMsg = messageOf("cfg(a=1){net{eth(ip=1)}}");
    PXRMsg *psCopy = PXRMsgCopy(psMsg);
    EXPECT_TRUE(allElementsPointAt(PXRMsgChild(psCopy), psCopy));
    PXRMsgSetReadOnly(psCopy, 1);
    PXRMsgElement *psEth = PXRMsgElementFirstChild(PXRMsgElementFirstChild(PXRMsgChild(psCopy), nullptr), nullptr);
    EXPECT_EQ(PXRMsgElementSetAttribute(PXRMsgChild(psCopy), "a", "2"), 0);
    EXPECT_EQ(PXRMsgElementSetAttribute(psEth, "ip", "2"), 0);
    EXPECT_EQ(treetext::print(PXRMsgChild(psCopy)), "cfg(a=1){net{eth(ip=1)}}");
    PXRMsgDestroy(psCopy);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, CopyIsDeepWritableAndWithoutOwnerOrUserData)
{
    PXRMsg *psMsg = messageOf("img(w=2,h=1)<ab>{meta(k=v),meta(k=w)<x>}");
    psMsg->psOwner = reinterpret_cast<PXR *>(psMsg);
    PXRMsgSetUserData(psMsg, psMsg);
    PXRMsgSetReadOnly(psMsg, 1);
    PXRMsg *psCopy = PXRMsgCopy(psMsg);
    EXPECT_EQ(treetext::print(PXRMsgChild(psCopy)), "img(w=2,h=1)<ab>{meta(k=v),meta(k=w)<x>}");
    EXPECT_NE(PXRMsgElementContent(PXRMsgChild(psCopy)), PXRMsgElementContent(PXRMsgChild(psMsg)));
    EXPECT_EQ(PXRMsgChild(psCopy)->rContentFree, &PXRMsg_dataClearCallback);
    EXPECT_EQ(PXRMsgIsReadOnly(psCopy), 0);
    EXPECT_EQ(PXRMsgGetPXR(psCopy), nullptr);
    EXPECT_EQ(PXRMsgGetUserData(psCopy), nullptr);
    PXRMsgDestroy(psCopy);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, CopyOfEmptyMessageIsEmptyAndCopyOfNullIsNull)
{
    PXRMsg *psEmpty = PXRMsgCreate();
    PXRMsg *psCopy = PXRMsgCopy(psEmpty);
    ASSERT_NE(psCopy, nullptr);
    EXPECT_EQ(PXRMsgChild(psCopy), nullptr);
    EXPECT_EQ(PXRMsgCopy(nullptr), nullptr);
    PXRMsgDestroy(psCopy);
    PXRMsgDestroy(psEmpty);
}

TEST_F(PxrTest, NewRootReplacesTheOldTreeAndClearsTheOwner)
{
    PXRMsg *psMsg = messageOf("old{child}");
    psMsg->psOwner = reinterpret_cast<PXR *>(psMsg);
    PXRMsgElement *psNew = PXRMsgElementCreate("new");
    EXPECT_EQ(PXRMsgSetChild(psMsg, psNew), 1);
    EXPECT_EQ(PXRMsgChild(psMsg), psNew);
    EXPECT_EQ(PXRMsgElementMsg(psNew), psMsg);
    EXPECT_EQ(PXRMsgGetPXR(psMsg), nullptr);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, ClearEmptiesTheMessageAndItsOwner)
{
    PXRMsg *psMsg = messageOf("r{c}");
    psMsg->psOwner = reinterpret_cast<PXR *>(psMsg);
    EXPECT_EQ(PXRMsgClear(psMsg), 1);
    EXPECT_EQ(PXRMsgChild(psMsg), nullptr);
    EXPECT_EQ(PXRMsgGetPXR(psMsg), nullptr);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, DetachedSubtreeOutlivesItsMessageAndCanJoinAnother)
{
    PXRMsg *psMsg = messageOf("cfg{net{eth(ip=1){route}}}");
    PXRMsgElement *psNet = PXRMsgElementFirstChild(PXRMsgChild(psMsg), "net");
    ASSERT_EQ(PXRMsgElementDetach(psNet), 1);
    EXPECT_TRUE(allElementsPointAt(psNet, nullptr));
    EXPECT_EQ(PXRMsgElementParent(psNet), nullptr);
    PXRMsgDestroy(psMsg);
    // Nothing below the detached element still points at the freed message.
    PXRMsg *psOther = PXRMsgCreate();
    ASSERT_EQ(PXRMsgSetChild(psOther, psNet), 1);
    EXPECT_TRUE(allElementsPointAt(psNet, psOther));
    PXRMsgSetReadOnly(psOther, 1);
    PXRMsgElement *psRoute = PXRMsgElementFirstChild(PXRMsgElementFirstChild(psNet, "eth"), "route");
    EXPECT_EQ(PXRMsgElementSetAttribute(psRoute, "gw", "1"), 0);
    PXRMsgDestroy(psOther);
}

TEST_F(PxrTest, DetachingTheRootEmptiesTheMessage)
{
    PXRMsg *psMsg = messageOf("r{c}");
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    EXPECT_EQ(PXRMsgElementDetach(psRoot), 1);
    EXPECT_EQ(PXRMsgChild(psMsg), nullptr);
    EXPECT_TRUE(allElementsPointAt(psRoot, nullptr));
    PXRMsgElementDestroy(psRoot);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, SubtreeAddedUnderAMessageElementJoinsThatMessage)
{
    PXRMsg *psMsg = messageOf("cfg");
    PXRMsgElement *psSubtree = treetext::parse("net{eth{route}}");
    ASSERT_EQ(PXRMsgElementAddChild(PXRMsgChild(psMsg), psSubtree), 1);
    EXPECT_TRUE(allElementsPointAt(PXRMsgChild(psMsg), psMsg));
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, DestroyingTheRootElementEmptiesTheMessage)
{
    PXRMsg *psMsg = messageOf("r{c}");
    EXPECT_EQ(PXRMsgElementDestroy(PXRMsgChild(psMsg)), 1);
    EXPECT_EQ(PXRMsgChild(psMsg), nullptr);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, UserDataIsKeptOnAWritableMessage)
{
    PXRMsg *psMsg = PXRMsgCreate();
    int iValue = 0;
    EXPECT_EQ(PXRMsgSetUserData(psMsg, &iValue), 1);
    EXPECT_EQ(PXRMsgGetUserData(psMsg), &iValue);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, NullMessageIsHarmless)
{
    PXRMsgDestroy(nullptr);
    EXPECT_EQ(PXRMsgAddRef(nullptr), 0);
    EXPECT_EQ(PXRMsgSetReadOnly(nullptr, 1), 0);
    EXPECT_EQ(PXRMsgIsReadOnly(nullptr), 0);
    EXPECT_EQ(PXRMsgClear(nullptr), 0);
    EXPECT_EQ(PXRMsgChild(nullptr), nullptr);
    EXPECT_EQ(PXRMsgSetUserData(nullptr, nullptr), 0);
    EXPECT_EQ(PXRMsgGetUserData(nullptr), nullptr);
    EXPECT_EQ(PXRMsgGetPXR(nullptr), nullptr);
}

TEST(MsgText, StrToBoolAcceptsOnlyTrueAndOne)
{
    const struct {
        const char *pcszText;
        int iExpected;
    } kCases[] = {{"true", 1}, {"1", 1},   {"TRUE", 0}, {"True", 0}, {"yes", 0},
                  {"01", 0},   {"", 0},    {nullptr, 0}, {"true ", 0}, {"0", 0}};
    for (const auto &sCase : kCases)
        EXPECT_EQ(PXRMsgStrToBool(sCase.pcszText), sCase.iExpected) << (sCase.pcszText ? sCase.pcszText : "null");
}

TEST(MsgText, StringEqualIgnoresOnlyAsciiLetterCase)
{
    const struct {
        const char *pcszA;
        const char *pcszB;
        int iExpected;
    } kCases[] = {
        {"abc", "ABC", 1},         {"setEnableStreams", "SETENABLESTREAMS", 1},
        {"abc", "abcd", 0},        {"", "", 1},
        {nullptr, "a", 0},         {"a", nullptr, 0},
        {nullptr, nullptr, 0},     {"[", "{", 0}, // differ by the case bit, but are no letters
        {"@", "`", 0},             {"\xc3\xa9", "\xc3\x89", 0}, // accented letters are compared exactly
        {"a1_b", "A1_B", 1},       {"ab", "ac", 0},
    };
    for (const auto &sCase : kCases)
        EXPECT_EQ(PXRMsgStringEqual(sCase.pcszA, sCase.pcszB), sCase.iExpected)
            << (sCase.pcszA ? sCase.pcszA : "null") << " / " << (sCase.pcszB ? sCase.pcszB : "null");
}

TEST_F(PxrTest, XopReferenceIsFoundOnTheElementThatCarriesIt)
{
    PXRMsg *psMsg = messageOf("msg{pic{xop:Include(href=B)},img{XOP:INCLUDE(HREF=A)},other}");
    PXRMsgElement *psImg = PXRMsgElementFirstChild(PXRMsgChild(psMsg), "img");
    EXPECT_EQ(PXRMsg_findXopID(psMsg, "a"), psImg);
    EXPECT_EQ(PXRMsg_findXopID(psMsg, "C"), nullptr);
    PXRMsg *psEmpty = PXRMsgCreate();
    EXPECT_EQ(PXRMsg_findXopID(psEmpty, "A"), nullptr);
    PXRMsgDestroy(psEmpty);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, OnlyTheFirstXopIncludeOfAnElementIsExamined)
{
    PXRMsg *psMsg = messageOf("root{xop:Include(href=A),xop:Include(href=B){deep{xop:Include(href=B)}}}");
    PXRMsgElement *psSecond = PXRMsgElementNextChild(PXRMsgChild(psMsg), PXRMsgElementFirstChild(PXRMsgChild(psMsg), nullptr), nullptr);
    PXRMsgElement *psDeep = PXRMsgElementFirstChild(psSecond, "deep");
    EXPECT_EQ(PXRMsg_findXopID(psMsg, "A"), PXRMsgChild(psMsg));
    EXPECT_EQ(PXRMsg_findXopID(psMsg, "B"), psDeep);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, ContentsAreCountedOverTheWholeTree)
{
    PXRMsg *psMsg = messageOf("r<a>{c<b>{d<c>},e}");
    EXPECT_EQ(PXRMsg_countContents(psMsg), 3u);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, ReferencesTakenAndDroppedOnManyThreadsBalance)
{
    PXRMsg *psMsg = messageOf("video(cameraId=0)<frame>");
    PXRMsgSetReadOnly(psMsg, 1);
    const int kThreads = 4;
    const int kRounds = 2000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; t++)
        threads.emplace_back([psMsg] {
            for (int i = 0; i < kRounds; i++) {
                PXRMsgAddRef(psMsg);
                PXRMsgDestroy(psMsg);
            }
        });
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(psMsg->u32RefCount, 0u);
    EXPECT_EQ(PXRMsgSetReadOnly(psMsg, 0), 1);
    PXRMsgDestroy(psMsg);
}
