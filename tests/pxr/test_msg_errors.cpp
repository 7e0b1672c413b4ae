// Every refused operation of the message model: its result, the reason left in the
// object's last-error text, and the level-3 trace naming the operation.
#include "PxrTestSupport.h"
#include "TreeText.h"

#include <functional>

namespace {

// A read-only message "root{child{grandchild}}" and a few loose pieces, all freed at the end.
struct Scene {
    PXRMsg *psReadOnly = PXRMsgCreate();
    PXRMsg *psWritable = PXRMsgCreate();
    PXRMsgElement *psLoose = treetext::parse("loose{inner}");
    uint8_t au8Block[4] = {1, 2, 3, 4};

    Scene()
    {
        PXRMsgSetChild(psReadOnly, treetext::parse("root{child{grandchild}}"));
        PXRMsgSetReadOnly(psReadOnly, 1);
        PXRMsgSetChild(psWritable, treetext::parse("w{x}"));
    }
    ~Scene()
    {
        PXRMsgDestroy(psReadOnly);
        PXRMsgDestroy(psWritable);
        PXRMsgElementDestroy(psLoose);
    }
    PXRMsgElement *root() { return PXRMsgChild(psReadOnly); }
    PXRMsgElement *grandchild() { return PXRMsgElementFirstChild(PXRMsgElementFirstChild(root(), nullptr), nullptr); }
    PXRMsgElement *inner() { return PXRMsgElementFirstChild(psLoose, nullptr); }
};

struct Outcome {
    int iResult;
    void *pObject; // whose last error holds the reason
};

struct ErrorCase {
    const char *pcszWhat;
    std::function<Outcome(Scene &)> act;
    const char *pcszReason;
    const char *pcszTrace;
};

const ErrorCase kCases[] = {
    {"AddRef on a writable message", [](Scene &s) { return Outcome{PXRMsgAddRef(s.psWritable), s.psWritable}; },
     "Message must be read only", "PXRMsgAddRef error : Message must be read only"},
    {"Clear of a read-only message", [](Scene &s) { return Outcome{PXRMsgClear(s.psReadOnly), s.psReadOnly}; },
     "Message is read only", "PXRMsgClear error : Message is read only"},
    {"SetReadOnly 0 with a reference",
     [](Scene &s) {
         PXRMsgAddRef(s.psReadOnly);
         Outcome sOutcome{PXRMsgSetReadOnly(s.psReadOnly, 0), s.psReadOnly};
         PXRMsgDestroy(s.psReadOnly);
         return sOutcome;
     },
     "Message has more than one reference", "PXRMsgSetReadOnly error : Message has more than one reference"},
    {"SetUserData on a read-only message",
     [](Scene &s) { return Outcome{PXRMsgSetUserData(s.psReadOnly, &s), s.psReadOnly}; }, "Message is read only",
     "PXRMsgSetUserData error : Message is read only"},
    {"SetChild on a read-only message",
     [](Scene &s) {
         PXRMsgElement *psElement = PXRMsgElementCreate("e");
         Outcome sOutcome{PXRMsgSetChild(s.psReadOnly, psElement), s.psReadOnly};
         PXRMsgElementDestroy(psElement);
         return sOutcome;
     },
     "Message is read only", "PXRMsgSetChild error : Message is read only"},
    {"SetChild of another message's element",
     [](Scene &s) { return Outcome{PXRMsgSetChild(s.psWritable, s.root()), s.psWritable}; },
     "Element is already owned by another Message", "PXRMsgSetChild error : Element is already owned by another Message"},
    {"SetChild of its own root",
     [](Scene &s) { return Outcome{PXRMsgSetChild(s.psWritable, PXRMsgChild(s.psWritable)), s.psWritable}; },
     "Element is already owned by another Message", "PXRMsgSetChild error : Element is already owned by another Message"},
    {"SetChild of an element inside a loose tree",
     [](Scene &s) { return Outcome{PXRMsgSetChild(s.psWritable, s.inner()), s.psWritable}; },
     "Element is already owned by another Element", "PXRMsgSetChild error : Element is already owned by another Element"},
    {"SetChild of no element", [](Scene &s) { return Outcome{PXRMsgSetChild(s.psWritable, nullptr), s.psWritable}; },
     "Element is NULL", "PXRMsgSetChild error : Element is NULL"},
    {"Destroy of an element of a read-only message",
     [](Scene &s) { return Outcome{PXRMsgElementDestroy(s.grandchild()), s.grandchild()}; }, "Message is read only",
     "PXRMsgElementDestroy error : Message is read only"},
    {"Detach of a loose element", [](Scene &s) { return Outcome{PXRMsgElementDetach(s.psLoose), s.psLoose}; },
     "Element has not parent", "PXRMsgElementDetach error : Element has not parent"},
    {"Detach inside a read-only message",
     [](Scene &s) { return Outcome{PXRMsgElementDetach(s.grandchild()), s.grandchild()}; }, "Message is read only",
     "PXRMsgElementDetach error : Message is read only"},
    {"Detach of a read-only root", [](Scene &s) { return Outcome{PXRMsgElementDetach(s.root()), s.root()}; },
     "Message is read only", "PXRMsgElementDetach error : Message is read only"},
    {"AddChild under a read-only grandchild",
     [](Scene &s) {
         PXRMsgElement *psElement = PXRMsgElementCreate("e");
         Outcome sOutcome{PXRMsgElementAddChild(s.grandchild(), psElement), s.grandchild()};
         PXRMsgElementDestroy(psElement);
         return sOutcome;
     },
     "Message is read only", "PXRMsgElementAddChild error : Message is read only"},
    {"AddChild of a child that has a parent",
     [](Scene &s) { return Outcome{PXRMsgElementAddChild(PXRMsgChild(s.psWritable), s.inner()), PXRMsgChild(s.psWritable)}; },
     "Child Element is already owned by another Element",
     "PXRMsgElementAddChild error : Child Element is already owned by another Element"},
    {"AddChild of a message's root",
     [](Scene &s) { return Outcome{PXRMsgElementAddChild(s.psLoose, PXRMsgChild(s.psWritable)), s.psLoose}; },
     "Child Element is already owned by a Message", "PXRMsgElementAddChild error : Child Element is already owned by a Message"},
    {"AddChild of an element under itself", [](Scene &s) { return Outcome{PXRMsgElementAddChild(s.psLoose, s.psLoose), s.psLoose}; },
     "Child Element contains the parent Element", "PXRMsgElementAddChild error : Child Element contains the parent Element"},
    {"AddChild of a tree under its own descendant",
     [](Scene &s) { return Outcome{PXRMsgElementAddChild(s.inner(), s.psLoose), s.inner()}; },
     "Child Element contains the parent Element", "PXRMsgElementAddChild error : Child Element contains the parent Element"},
    {"SetName inside a read-only message",
     [](Scene &s) { return Outcome{PXRMsgElementSetName(s.grandchild(), "n"), s.grandchild()}; }, "Message is read only",
     "PXRMsgElementSetName error : Message is read only"},
    {"SetAttribute on a read-only grandchild",
     [](Scene &s) { return Outcome{PXRMsgElementSetAttribute(s.grandchild(), "port", "1"), s.grandchild()}; },
     "Message is read only", "PXRMsgElementSetAttribute error : Message is read only (grandchild/port)"},
    {"SetAttributeFloat on a read-only root",
     [](Scene &s) { return Outcome{PXRMsgElementSetAttributeFloat(s.root(), "gain", 1.5f), s.root()}; },
     "Message is read only", "PXRMsgElementSetAttribute error : Message is read only (root/gain)"},
    {"SetAttributeInt64 on a read-only root",
     [](Scene &s) { return Outcome{PXRMsgElementSetAttributeInt64(s.root(), "t", 1), s.root()}; },
     "Message is read only", "PXRMsgElementSetAttribute error : Message is read only (root/t)"},
    {"RemoveAttribute inside a read-only message",
     [](Scene &s) { return Outcome{PXRMsgElementRemoveAttribute(s.grandchild(), "a"), s.grandchild()}; },
     "Message is read only", "PXRMsgElementRemoveAttribute error : Message is read only"},
    {"SetContentBinary inside a read-only message",
     [](Scene &s) { return Outcome{PXRMsgElementSetContentBinary(s.grandchild(), s.au8Block, 4), s.grandchild()}; },
     "Message is read only", "PXRMsgElementSetContentBinary error : Message is read only"},
    {"SetContentBinaryNoCopy inside a read-only message",
     [](Scene &s) {
         return Outcome{PXRMsgElementSetContentBinaryNoCopy(s.grandchild(), s.au8Block, 4, nullptr, nullptr), s.grandchild()};
     },
     "Message is read only", "PXRMsgElementSetContentBinaryNoCopy error : Message is read only"},
};

void PrintTo(const ErrorCase &sCase, std::ostream *psOut)
{
    *psOut << sCase.pcszWhat;
}

class ErrorTable : public PxrTest, public ::testing::WithParamInterface<ErrorCase> {};

} // namespace

TEST_P(ErrorTable, RefusesWithReasonAndTrace)
{
    const ErrorCase &sCase = GetParam();
    Scene sScene;
    std::string before = treetext::print(PXRMsgChild(sScene.psReadOnly)) + treetext::print(sScene.psLoose) +
                         treetext::print(PXRMsgChild(sScene.psWritable));
    traces.clear();
    Outcome sOutcome = sCase.act(sScene);
    EXPECT_EQ(sOutcome.iResult, 0);
    EXPECT_STREQ(PXRGetLastError(sOutcome.pObject), sCase.pcszReason);
    EXPECT_TRUE(traced(3, std::string("[PXRMsg]") + sCase.pcszTrace)) << "missing trace " << sCase.pcszTrace;
    std::string after = treetext::print(PXRMsgChild(sScene.psReadOnly)) + treetext::print(sScene.psLoose) +
                        treetext::print(PXRMsgChild(sScene.psWritable));
    EXPECT_EQ(after, before) << "a refused operation changes nothing";
}

INSTANTIATE_TEST_SUITE_P(Model, ErrorTable, ::testing::ValuesIn(kCases), [](const auto &info) { return caseName(info.param.pcszWhat); });

TEST_F(PxrTest, SetChildWithoutMessageOnlyWarns)
{
    PXRMsgElement *psElement = PXRMsgElementCreate("e");
    EXPECT_EQ(PXRMsgSetChild(nullptr, psElement), 0);
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0].iLevel, 4);
    EXPECT_EQ(traces[0].text, "[PXRMsg]PXRMsgSetChild : pMsg is NULL");
    PXRMsgElementDestroy(psElement);
}

TEST_F(PxrTest, MessageOperationsClearTheLastErrorOnEntry)
{
    PXRMsg *psMsg = PXRMsgCreate();
    const std::vector<std::function<int()>> operations = {
        [&] { return PXRMsgClear(psMsg); },
        [&] { return PXRMsgSetReadOnly(psMsg, 0); },
        [&] { return PXRMsgSetUserData(psMsg, nullptr); },
    };
    for (size_t i = 0; i < operations.size(); i++) {
        PXR_setLastError(psMsg, "old reason");
        EXPECT_EQ(operations[i](), 1);
        EXPECT_STREQ(PXRGetLastError(psMsg), "") << "operation " << i;
    }
    PXRMsgSetReadOnly(psMsg, 1);
    PXR_setLastError(psMsg, "old reason");
    EXPECT_EQ(PXRMsgAddRef(psMsg), 1);
    EXPECT_STREQ(PXRGetLastError(psMsg), "");
    PXRMsgDestroy(psMsg);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, ElementOperationsKeepAnEarlierReason)
{
    PXRMsgElement *psElement = PXRMsgElementCreate("e");
    PXR_setLastError(psElement, "old reason");
    EXPECT_EQ(PXRMsgElementSetAttribute(psElement, "a", "1"), 1);
    EXPECT_STREQ(PXRGetLastError(psElement), "old reason");
    PXRMsgElementDestroy(psElement);
}

namespace {

// The runtime started on a small private heap, so that large blocks cannot be had.
class TightHeap : public PxrTest {
protected:
    void SetUp() override
    {
        if (SA_GetInitCount() != 0)
            GTEST_SKIP() << "the runtime is already started on another heap";
        ASSERT_EQ(SA_Init(kHeapSize, 0, -1), SA_OK);
        PxrTest::SetUp();
        psElement = treetext::parse("e(a=1)<abc>");
        psCamera = treetext::parse("camera(id=0){roi(x=1)}");
    }
    void TearDown() override
    {
        if (SA_GetInitCount() == 0)
            return;
        PXRMsgElementDestroy(psElement);
        PXRMsgElementDestroy(psCamera);
        PxrTest::TearDown();
        SA_Release();
    }
    static const uint32_t kHeapSize = 256 * 1024;
    std::string huge = std::string(2 * kHeapSize, 'h');
    PXRMsgElement *psElement = nullptr;
    PXRMsgElement *psCamera = nullptr;
};

} // namespace

TEST_F(TightHeap, ContentThatCannotBeAllocatedKeepsTheOldContent)
{
    EXPECT_EQ(PXRMsgElementSetContentBinary(psElement, huge.data(), static_cast<uint32_t>(huge.size())), 0);
    EXPECT_STREQ(PXRGetLastError(psElement), "Content allocation failed");
    EXPECT_TRUE(traced(3, "[PXRMsg]PXRMsgElementSetContentBinary error : Content allocation failed"));
    EXPECT_EQ(treetext::print(psElement), "e(a=1)<abc>");
}

TEST_F(TightHeap, AttributeThatCannotBeStoredKeepsTheOldValue)
{
    EXPECT_EQ(PXRMsgElementSetAttribute(psElement, "a", huge.c_str()), 0);
    EXPECT_EQ(PXRMsgElementSetAttribute(psElement, "new", huge.c_str()), 0);
    EXPECT_EQ(PXRMsgElementSetName(psElement, huge.c_str()), 0);
    EXPECT_STREQ(PXRGetLastError(psElement), "Memory allocation failed");
    EXPECT_TRUE(traced(3, "[PXRMsg]PXRMsgElementSetAttribute error : Memory allocation failed"));
    EXPECT_EQ(treetext::print(psElement), "e(a=1)<abc>");
}

TEST_F(TightHeap, CopyAndMergeThatRunOutOfMemoryLeaveTreesWhole)
{
    PXRMsgElementSetContentBinary(psElement, huge.data(), kHeapSize / 2);
    EXPECT_EQ(PXRMsgElementCopy(psElement), nullptr);
    PXRMsgElement *psDelta = psElement;
    EXPECT_EQ(PXRMsgElementMerge(psCamera, psElement, &psDelta, 1), 0);
    EXPECT_EQ(psDelta, nullptr);
    EXPECT_STREQ(PXRGetLastError(psCamera), "Memory allocation failed");
    EXPECT_EQ(treetext::print(psCamera), "camera(id=0){roi(x=1)}");
}
