// Merging one element tree into another, in both modes, with and without the delta.
#include "PxrTestSupport.h"
#include "TreeText.h"

namespace {

struct MergeCase {
    const char *pcszWhat;
    const char *pcszDestination;
    const char *pcszSource;
    int bAddMissing;
    int bChanged;
    const char *pcszMerged;
    const char *pcszDelta;
};

const MergeCase kCases[] = {
    {"new attribute is added", "config(a=1)", "config(a=1,b=2)", 1, 1, "config(a=1,b=2)", "config(b=2)"},
    {"identical tree changes nothing", "config(id=7,a=1){camera(id=0,x=1)}", "config(id=7,a=1){camera(id=0,x=1)}",
     1, 0, "config(id=7,a=1){camera(id=0,x=1)}", "config(id=7)"},
    {"unknown camera id is appended", "cameras{camera(id=0,e=1)}", "cameras{camera(id=1,e=1)}", 1, 1,
     "cameras{camera(id=0,e=1),camera(id=1,e=1)}", "cameras{camera(id=1,e=1)}"},
    {"update mode adds no camera", "cameras{camera(id=0,e=1)}", "cameras{camera(id=1,e=1)}", 0, 0,
     "cameras{camera(id=0,e=1)}", "cameras{camera(id=1,e=1)}"},
    {"ids match without letter case but values compare exactly", "cameras{camera(id=ab,e=1)}",
     "cameras{camera(id=AB,e=2)}", 1, 1, "cameras{camera(id=AB,e=2)}", "cameras{camera(id=AB,e=2)}"},
    {"values are matched by their text", "list{value(text=a,x=1),value(text=b,x=1)}",
     "list{value(text=b,x=2),value(text=a,x=1)}", 1, 1, "list{value(text=a,x=1),value(text=b,x=2)}",
     "list{value(x=2)}"},
    {"value texts match without letter case", "list{value(text=a,x=1)}", "list{value(text=A,x=1)}", 1, 1,
     "list{value(text=A,x=1)}", "list{value(text=A)}"},
    {"a value without text is not appended again", "list{value(x=1)}", "list{value(x=1)}", 1, 0,
     "list{value(x=1)}", "list"},
    {"a value without text never matches one with text", "list{value(text=a)}", "list{value(x=1)}", 1, 1,
     "list{value(text=a),value(x=1)}", "list{value(x=1)}"},
    {"a child without id skips children with an id", "r{c(id=1,v=1),c(v=1)}", "r{c(v=2)}", 1, 1,
     "r{c(id=1,v=1),c(v=2)}", "r{c(v=2)}"},
    {"a child with id never matches one without", "r{c(v=1)}", "r{c(id=0,v=1)}", 1, 1,
     "r{c(v=1),c(id=0,v=1)}", "r{c(id=0,v=1)}"},
    {"a change of letter case in a value is a change", "r(flag=true)", "r(FLAG=True)", 1, 1, "r(flag=True)",
     "r(FLAG=True)"},
    {"root names are not compared", "a(x=1)", "b(x=2)", 1, 1, "a(x=2)", "b(x=2)"},
    {"content with one different byte is replaced", "r<abc>", "r<abd>", 1, 1, "r<abd>", "r<abd>"},
    {"equal content drops out of the delta", "r<abc>", "r<abc>", 1, 0, "r<abc>", "r"},
    {"a source without content clears the destination's", "r<abc>", "r", 1, 1, "r", "r"},
    {"content of another size is replaced", "r<ab>", "r<abc>", 0, 1, "r<abc>", "r<abc>"},
    {"update mode only updates known attributes", "r(a=1)", "r(a=2,b=3)", 0, 1, "r(a=2)", "r(a=2,b=3)"},
    {"update mode leaves unmatched children in the delta", "r{c(id=0,a=1)}", "r{c(id=0,a=1),c(id=1,a=1)}", 0, 0,
     "r{c(id=0,a=1)}", "r{c(id=1,a=1)}"},
    {"a deep change keeps its path and ids in the delta", "cfg{net(mtu=1){eth(id=0,ip=1)}}",
     "cfg{net(mtu=1){eth(id=0,ip=2)}}", 1, 1, "cfg{net(mtu=1){eth(id=0,ip=2)}}", "cfg{net{eth(id=0,ip=2)}}"},
    {"update mode reaches deep changes", "cfg{net{eth(id=0,ip=1)}}", "cfg{net{eth(id=0,ip=2,gw=3)}}", 0, 1,
     "cfg{net{eth(id=0,ip=2)}}", "cfg{net{eth(id=0,ip=2,gw=3)}}"},
    {"a second source child merges into the copy of the first", "r", "r{c(v=1),c(v=2)}", 1, 1, "r{c(v=2)}",
     "r{c(v=1),c(v=2)}"},
    {"a new subtree is appended whole", "s", "s{cameras{camera(id=0,enabled=1)}}", 1, 1,
     "s{cameras{camera(id=0,enabled=1)}}", "s{cameras{camera(id=0,enabled=1)}}"},
};

void PrintTo(const MergeCase &sCase, std::ostream *psOut)
{
    *psOut << sCase.pcszWhat;
}

class MergeTable : public PxrTest, public ::testing::WithParamInterface<MergeCase> {};

} // namespace

TEST_P(MergeTable, MergesAndReportsTheDelta)
{
    const MergeCase &sCase = GetParam();
    for (bool bWithDelta : {true, false}) {
        PXRMsgElement *psDestination = treetext::parse(sCase.pcszDestination);
        PXRMsgElement *psSource = treetext::parse(sCase.pcszSource);
        PXRMsgElement *psDelta = nullptr;
        EXPECT_EQ(PXRMsgElementMerge(psDestination, psSource, bWithDelta ? &psDelta : nullptr, sCase.bAddMissing),
                  sCase.bChanged);
        EXPECT_EQ(treetext::print(psDestination), sCase.pcszMerged);
        EXPECT_EQ(treetext::print(psSource), sCase.pcszSource) << "the source must never change";
        if (bWithDelta) {
            EXPECT_EQ(treetext::print(psDelta), sCase.pcszDelta);
            EXPECT_EQ(PXRMsgElementParent(psDelta), nullptr);
            PXRMsgElementDestroy(psDelta);
        }
        PXRMsgElementDestroy(psDestination);
        PXRMsgElementDestroy(psSource);
    }
}

TEST_P(MergeTable, SecondMergeChangesNothing)
{
    const MergeCase &sCase = GetParam();
    PXRMsgElement *psDestination = treetext::parse(sCase.pcszDestination);
    PXRMsgElement *psSource = treetext::parse(sCase.pcszSource);
    PXRMsgElementMerge(psDestination, psSource, nullptr, sCase.bAddMissing);
    std::string merged = treetext::print(psDestination);
    // Only the case that folds two source children into one keeps flipping between them.
    if (std::string(sCase.pcszWhat) != "a second source child merges into the copy of the first") {
        EXPECT_EQ(PXRMsgElementMerge(psDestination, psSource, nullptr, sCase.bAddMissing), 0);
        EXPECT_EQ(treetext::print(psDestination), merged);
    }
    PXRMsgElementDestroy(psDestination);
    PXRMsgElementDestroy(psSource);
}

INSTANTIATE_TEST_SUITE_P(Trees, MergeTable, ::testing::ValuesIn(kCases), [](const auto &info) { return caseName(info.param.pcszWhat); });

TEST_F(PxrTest, MergeIntoReadOnlyMessageIsRefused)
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgSetChild(psMsg, treetext::parse("cfg{net(a=1)}"));
    PXRMsgSetReadOnly(psMsg, 1);
    PXRMsgElement *psNet = PXRMsgElementFirstChild(PXRMsgChild(psMsg), "net");
    PXRMsgElement *psSource = treetext::parse("net(a=2)");
    PXRMsgElement *psDelta = psSource;
    EXPECT_EQ(PXRMsgElementMerge(psNet, psSource, &psDelta, 1), 0);
    EXPECT_EQ(psDelta, nullptr);
    EXPECT_STREQ(PXRGetLastError(psNet), "Message is read only");
    EXPECT_TRUE(traced(3, "[PXRMsg]PXRMsgElementMerge error : Message is read only"));
    EXPECT_EQ(treetext::print(PXRMsgChild(psMsg)), "cfg{net(a=1)}");
    PXRMsgElementDestroy(psSource);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, MergeOfNullElementsChangesNothing)
{
    PXRMsgElement *psElement = treetext::parse("r(a=1)");
    PXRMsgElement *psDelta = psElement;
    EXPECT_EQ(PXRMsgElementMerge(psElement, nullptr, &psDelta, 1), 0);
    EXPECT_EQ(psDelta, nullptr);
    EXPECT_EQ(PXRMsgElementMerge(nullptr, psElement, nullptr, 1), 0);
    PXRMsgElementDestroy(psElement);
}

TEST_F(PxrTest, MergedChildrenBelongToTheDestinationMessage)
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgSetChild(psMsg, treetext::parse("s"));
    PXRMsgElement *psSource = treetext::parse("s{cameras{camera(id=0)}}");
    PXRMsgElementMerge(PXRMsgChild(psMsg), psSource, nullptr, 1);
    PXRMsgElement *psCamera = PXRMsgElementFirstChild(PXRMsgElementFirstChild(PXRMsgChild(psMsg), "cameras"), "camera");
    EXPECT_EQ(PXRMsgElementMsg(psCamera), psMsg);
    PXRMsgElementDestroy(psSource);
    PXRMsgDestroy(psMsg);
}

TEST_F(PxrTest, DeepTreesMergeWithoutExhaustingTheStack)
{
    const int kDepth = 100000;
    PXRMsgElement *psDestination = PXRMsgElementCreate("n");
    PXRMsgElement *psSource = PXRMsgElementCreate("n");
    PXRMsgElement *psDeepDestination = psDestination;
    PXRMsgElement *psDeepSource = psSource;
    for (int i = 0; i < kDepth; i++) {
        psDeepDestination = addChild(psDeepDestination, "n");
        psDeepSource = addChild(psDeepSource, "n");
    }
    PXRMsgElementSetAttribute(psDeepSource, "leaf", "1");
    PXRMsgElement *psDelta = nullptr;
    EXPECT_EQ(PXRMsgElementMerge(psDestination, psSource, &psDelta, 1), 1);
    EXPECT_STREQ(PXRMsgElementAttributeValue(psDeepDestination, "leaf"), "1");
    PXRMsgElementDestroy(psDelta);
    PXRMsgElementDestroy(psDestination);
    PXRMsgElementDestroy(psSource);
}
