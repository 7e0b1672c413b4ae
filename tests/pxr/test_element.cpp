// Elements: attributes and their typed setters, navigation among children, binary
// content, and trees too deep for any thread's stack.
#include "PxrTestSupport.h"
#include "TreeText.h"

#include <clocale>
#include <functional>
#include <cstdlib>
#include <cstring>

namespace {

struct FreeCounter {
    int iCalls = 0;
    static void release(void *pContent, void *pUser)
    {
        static_cast<FreeCounter *>(pUser)->iCalls++;
        free(pContent);
    }
};

void *duplicate(const char *pcszText)
{
    void *pBlock = malloc(strlen(pcszText));
    memcpy(pBlock, pcszText, strlen(pcszText));
    return pBlock;
}

} // namespace

TEST_F(PxrTest, AttributeKeepsItsFirstNameAndPlace)
{
    PXRMsgElement *psElement = makeElement("e", {"Port", "1", "host", "h"});
    EXPECT_EQ(PXRMsgElementSetAttribute(psElement, "port", "2"), 1);
    EXPECT_EQ(treetext::print(psElement), "e(Port=2,host=h)");
    EXPECT_STREQ(PXRMsgElementAttributeValue(psElement, "PORT"), "2");
    EXPECT_EQ(PXRMsgElementAttributeValue(psElement, "missing"), nullptr);
    PXRMsgElementDestroy(psElement);
}

TEST_F(PxrTest, AccentedAttributeNamesMatchOnlyExactly)
{
    PXRMsgElement *psElement = makeElement("e", {"\xc3\xa9t\xc3\xa9", "1"});
    EXPECT_EQ(PXRMsgElementAttributeValue(psElement, "\xc3\x89T\xc3\x89"), nullptr);
    EXPECT_STREQ(PXRMsgElementAttributeValue(psElement, "\xc3\xa9T\xc3\xa9"), "1");
    PXRMsgElementDestroy(psElement);
}

TEST_F(PxrTest, AttributeNamesByPositionEndWithEmptyText)
{
    PXRMsgElement *psElement = makeElement("e", {"a", "1", "b", "2"});
    EXPECT_EQ(PXRMsgElementAttributeCount(psElement), 2u);
    EXPECT_STREQ(PXRMsgElementAttributeName(psElement, 1), "b");
    EXPECT_STREQ(PXRMsgElementAttributeName(psElement, 2), "");
    EXPECT_STREQ(PXRMsgElementAttributeName(psElement, 0xFFFFFFFFu), "");
    PXRMsgElementDestroy(psElement);
}

TEST_F(PxrTest, RemovingAnAttributeKeepsTheOrderOfTheOthers)
{
    PXRMsgElement *psElement = makeElement("e", {"a", "1", "b", "2", "c", "3"});
    EXPECT_EQ(PXRMsgElementRemoveAttribute(psElement, "B"), 1);
    EXPECT_EQ(PXRMsgElementRemoveAttribute(psElement, "none"), 1);
    EXPECT_EQ(treetext::print(psElement), "e(a=1,c=3)");
    PXRMsgElementDestroy(psElement);
}

TEST_F(PxrTest, TypedSettersWriteDecimalTexts)
{
    PXRMsgElement *psElement = PXRMsgElementCreate("e");
    const struct {
        std::function<int()> set;
        const char *pcszName;
        const char *pcszExpected;
    } kCases[] = {
        {[&] { return PXRMsgElementSetAttributeBool(psElement, "b1", 7); }, "b1", "1"},
        {[&] { return PXRMsgElementSetAttributeBool(psElement, "b0", 0); }, "b0", "0"},
        {[&] { return PXRMsgElementSetAttributeInt(psElement, "i", -2147483647 - 1); }, "i", "-2147483648"},
        {[&] { return PXRMsgElementSetAttributeUInt(psElement, "u", 4294967295u); }, "u", "4294967295"},
        {[&] { return PXRMsgElementSetAttributeInt64(psElement, "l", INT64_MIN); }, "l", "-9223372036854775808"},
        {[&] { return PXRMsgElementSetAttributeFloat(psElement, "f", 1.5f); }, "f", "1.500000"},
        {[&] { return PXRMsgElementSetAttributeFloat(psElement, "n", -0.25f); }, "n", "-0.250000"},
        {[&] { return PXRMsgElementSetAttributeFloat(psElement, "r", 0.1f); }, "r", "0.100000"},
        {[&] { return PXRMsgElementSetAttributeFloat(psElement, "big", 1e10f); }, "big", "10000000000.000000"},
    };
    for (const auto &sCase : kCases) {
        EXPECT_EQ(sCase.set(), 1);
        EXPECT_STREQ(PXRMsgElementAttributeValue(psElement, sCase.pcszName), sCase.pcszExpected);
    }
    PXRMsgElementDestroy(psElement);
}

// A locale whose decimal separator is a comma: installed, or built for this test in a
// folder that the caller removes.
static bool useCommaLocale(std::string &folder)
{
    const char *apcszNames[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "fr_FR.utf8"};
    for (const char *pcszName : apcszNames)
        if (setlocale(LC_ALL, pcszName))
            return true;
    char aszFolder[] = "/tmp/pxrlocaleXXXXXX";
    if (!mkdtemp(aszFolder))
        return false;
    std::string command = std::string("localedef -i de_DE -f UTF-8 ") + aszFolder + "/de_DE.UTF-8 >/dev/null 2>&1";
    folder = aszFolder;
    if (system(command.c_str()) != 0)
        return false;
    setenv("LOCPATH", aszFolder, 1);
    return setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

TEST_F(PxrTest, FloatTextUsesAPointWhateverTheProcessLocale)
{
    std::string folder;
    bool bComma = useCommaLocale(folder);
    struct Cleanup {
        std::string &folder;
        ~Cleanup()
        {
            setlocale(LC_ALL, "C");
            if (!folder.empty())
                (void)!system(("rm -rf " + folder).c_str());
        }
    } sCleanup{folder};
    if (!bComma)
        GTEST_SKIP() << "no locale with a decimal comma can be set here";
    char aszCheck[32];
    snprintf(aszCheck, sizeof(aszCheck), "%f", 1.5);
    ASSERT_STREQ(aszCheck, "1,500000") << "the locale must really use a comma";
    PXRMsgElement *psElement = PXRMsgElementCreate("e");
    PXRMsgElementSetAttributeFloat(psElement, "gain", 1.5f);
    PXRMsgElementSetAttributeInt64(psElement, "big", 1234567890123LL);
    EXPECT_STREQ(PXRMsgElementAttributeValue(psElement, "gain"), "1.500000");
    EXPECT_STREQ(PXRMsgElementAttributeValue(psElement, "big"), "1234567890123");
    EXPECT_EQ(PXRMsgStringEqual("INFO", "info"), 1);
    PXRMsgElementDestroy(psElement);
}

TEST_F(PxrTest, ChildrenAreFoundByNameOrAll)
{
    PXRMsgElement *psRoot = treetext::parse("r{a(n=1),b,A(n=2),,a(n=3)}");
    PXRMsgElement *psFirst = PXRMsgElementFirstChild(psRoot, "");
    EXPECT_STREQ(PXRMsgElementName(psFirst), "a");
    EXPECT_EQ(PXRMsgElementFirstChild(psRoot, nullptr), psFirst);
    EXPECT_STREQ(PXRMsgElementName(PXRMsgElementFirstChild(psRoot, "B")), "b");
    PXRMsgElement *psSecondA = PXRMsgElementNextChild(psRoot, psFirst, "a");
    EXPECT_STREQ(PXRMsgElementAttributeValue(psSecondA, "n"), "2");
    EXPECT_STREQ(PXRMsgElementAttributeValue(PXRMsgElementNextChild(psRoot, psSecondA, "a"), "n"), "3");
    EXPECT_EQ(PXRMsgElementChildCount(psRoot, nullptr), 5u);
    EXPECT_EQ(PXRMsgElementChildCount(psRoot, "a"), 3u);
    EXPECT_EQ(PXRMsgElementChildCount(psRoot, ""), 1u);
    EXPECT_EQ(PXRMsgElementFirstChild(psRoot, "z"), nullptr);
    PXRMsgElementDestroy(psRoot);
}

TEST_F(PxrTest, NextChildOfAnotherParentIsNull)
{
    PXRMsgElement *psRoot = treetext::parse("r{p{x,y},q{z}}");
    PXRMsgElement *psP = PXRMsgElementFirstChild(psRoot, "p");
    PXRMsgElement *psQ = PXRMsgElementFirstChild(psRoot, "q");
    PXRMsgElement *psX = PXRMsgElementFirstChild(psP, nullptr);
    EXPECT_EQ(PXRMsgElementNextChild(psQ, psX, nullptr), nullptr);
    EXPECT_STREQ(PXRMsgElementName(PXRMsgElementNextChild(psP, psX, nullptr)), "y");
    EXPECT_EQ(PXRMsgElementNextChild(psP, PXRMsgElementNextChild(psP, psX, nullptr), nullptr), nullptr);
    EXPECT_EQ(PXRMsgElementParent(psX), psP);
    PXRMsgElementDestroy(psRoot);
}

TEST_F(PxrTest, DestroyingAChildUnlinksItFromItsParent)
{
    PXRMsgElement *psRoot = treetext::parse("r{a,b{c},d}");
    EXPECT_EQ(PXRMsgElementDestroy(PXRMsgElementFirstChild(psRoot, "b")), 1);
    EXPECT_EQ(treetext::print(psRoot), "r{a,d}");
    PXRMsgElementDestroy(psRoot);
}

TEST_F(PxrTest, RenamingKeepsAttributesAndChildren)
{
    PXRMsgElement *psElement = treetext::parse("old(a=1){c}");
    EXPECT_EQ(PXRMsgElementSetName(psElement, "new"), 1);
    EXPECT_EQ(treetext::print(psElement), "new(a=1){c}");
    PXRMsgElementDestroy(psElement);
}

TEST_F(PxrTest, ElementCopyIsDetachedAndDeep)
{
    PXRMsgElement *psRoot = treetext::parse("r{cam(id=0)<jpg>{roi(x=1),roi(x=2)},cam(id=1)}");
    PXRMsgElement *psCamera = PXRMsgElementFirstChild(psRoot, "cam");
    PXRMsgElement *psCopy = PXRMsgElementCopy(psCamera);
    EXPECT_EQ(PXRMsgElementParent(psCopy), nullptr);
    EXPECT_EQ(treetext::print(psCopy), "cam(id=0)<jpg>{roi(x=1),roi(x=2)}");
    PXRMsgElementDestroy(psRoot);
    EXPECT_EQ(treetext::print(psCopy), "cam(id=0)<jpg>{roi(x=1),roi(x=2)}");
    PXRMsgElementDestroy(psCopy);
}

TEST_F(PxrTest, ContentIsCopiedAndZeroSizeMeansNone)
{
    PXRMsgElement *psElement = PXRMsgElementCreate("e");
    char acData[] = "abc";
    EXPECT_EQ(PXRMsgElementSetContentBinary(psElement, acData, 3), 1);
    acData[0] = 'x';
    EXPECT_EQ(memcmp(PXRMsgElementContent(psElement), "abc", 3), 0);
    EXPECT_EQ(PXRMsgElementContentSize(psElement), 3u);
    EXPECT_EQ(PXRMsgElementSetContentBinary(psElement, acData, 0), 1);
    EXPECT_EQ(PXRMsgElementContent(psElement), nullptr);
    EXPECT_EQ(PXRMsgElementContentSize(psElement), 0u);
    PXRMsgElementSetContentBinary(psElement, acData, 3);
    EXPECT_EQ(PXRMsgElementSetContentBinary(psElement, nullptr, 3), 1);
    EXPECT_EQ(PXRMsgElementContent(psElement), nullptr);
    EXPECT_EQ(PXRMsgElementContentSize(psElement), 0u) << "no content never carries a size";
    PXRMsgElementDestroy(psElement);
}

TEST_F(PxrTest, ContentCanBeSetFromItself)
{
    PXRMsgElement *psElement = PXRMsgElementCreate("e");
    PXRMsgElementSetContentBinary(psElement, "abcdef", 6);
    EXPECT_EQ(PXRMsgElementSetContentBinary(psElement, static_cast<const char *>(PXRMsgElementContent(psElement)) + 2, 3), 1);
    EXPECT_EQ(memcmp(PXRMsgElementContent(psElement), "cde", 3), 0);
    PXRMsgElementDestroy(psElement);
}

TEST_F(PxrTest, RefusedContentKeepsTheOldOne)
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgElement *psElement = PXRMsgElementCreate("e");
    PXRMsgElementSetContentBinary(psElement, "abc", 3);
    PXRMsgSetChild(psMsg, psElement);
    PXRMsgSetReadOnly(psMsg, 1);
    EXPECT_EQ(PXRMsgElementSetContentBinary(psElement, "xy", 2), 0);
    EXPECT_EQ(PXRMsgElementContentSize(psElement), 3u);
    EXPECT_EQ(memcmp(PXRMsgElementContent(psElement), "abc", 3), 0);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, ContentTakenWithoutCopyIsReleasedThroughItsCallback)
{
    FreeCounter sCounter;
    PXRMsgElement *psElement = PXRMsgElementCreate("e");
    void *pBlock = duplicate("frame");
    EXPECT_EQ(PXRMsgElementSetContentBinaryNoCopy(psElement, pBlock, 5, &FreeCounter::release, &sCounter), 1);
    EXPECT_EQ(PXRMsgElementContent(psElement), pBlock);
    PXRMsgElementSetContentBinaryNoCopy(psElement, duplicate("next"), 4, &FreeCounter::release, &sCounter);
    EXPECT_EQ(sCounter.iCalls, 1);
    PXRMsgElementSetContentBinaryNoCopy(psElement, duplicate(""), 0, &FreeCounter::release, &sCounter);
    EXPECT_EQ(sCounter.iCalls, 3) << "an empty block is released at once";
    EXPECT_EQ(PXRMsgElementContent(psElement), nullptr);
    PXRMsgElementSetContentBinaryNoCopy(psElement, duplicate("last"), 4, &FreeCounter::release, &sCounter);
    PXRMsgElementDestroy(psElement);
    EXPECT_EQ(sCounter.iCalls, 4);
}

TEST_F(PxrTest, NullElementIsHarmless)
{
    EXPECT_EQ(PXRMsgElementCreate(nullptr), nullptr);
    EXPECT_EQ(PXRMsgElementDestroy(nullptr), 0);
    EXPECT_EQ(PXRMsgElementCopy(nullptr), nullptr);
    EXPECT_EQ(PXRMsgElementDetach(nullptr), 0);
    EXPECT_EQ(PXRMsgElementAddChild(nullptr, nullptr), 0);
    EXPECT_EQ(PXRMsgElementName(nullptr), nullptr);
    EXPECT_EQ(PXRMsgElementFirstChild(nullptr, nullptr), nullptr);
    EXPECT_EQ(PXRMsgElementChildCount(nullptr, nullptr), 0u);
    EXPECT_EQ(PXRMsgElementAttributeName(nullptr, 0), nullptr);
    EXPECT_EQ(PXRMsgElementAttributeValue(nullptr, "a"), nullptr);
    EXPECT_EQ(PXRMsgElementSetAttribute(nullptr, "a", "1"), 0);
    EXPECT_EQ(PXRMsgElementSetContentBinary(nullptr, "a", 1), 0);
    EXPECT_EQ(PXRMsgElementContentSize(nullptr), 0u);
}

TEST_F(PxrTest, DeepTreesAreCopiedSearchedAndDestroyedWithoutExhaustingTheStack)
{
    const int kDepth = 200000;
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgElement *psRoot = PXRMsgElementCreate("n");
    PXRMsgSetChild(psMsg, psRoot);
    PXRMsgElement *psDeep = psRoot;
    for (int i = 0; i < kDepth; i++)
        psDeep = addChild(psDeep, "n");
    addChild(psDeep, "xop:Include", {"href", "A"});
    EXPECT_EQ(PXRMsg_findXopID(psMsg, "A"), psDeep);
    PXRMsg *psCopy = PXRMsgCopy(psMsg);
    ASSERT_NE(psCopy, nullptr);
    EXPECT_NE(PXRMsg_findXopID(psCopy, "A"), nullptr);
    PXRMsgDestroy(psCopy);
    PXRMsgDestroy(psMsg);
}
