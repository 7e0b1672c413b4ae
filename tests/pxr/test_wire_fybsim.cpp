// The library's wire form against the test sensor's own, independently written codec: the
// same tree gives the same bytes, and each side reads what the other wrote.
#include "WireBytes.h"
#include "wire_test_support.h"

using namespace wire;

namespace {

PXRMsgElement *toElement(const fybsim::Element &source)
{
    PXRMsgElement *psElement = PXRMsgElementCreate(source.name.c_str());
    for (const auto &[name, value] : source.attributes)
        PXRMsgElementSetAttribute(psElement, name.c_str(), value.c_str());
    if (!source.content.empty())
        setContent(psElement, source.content);
    for (const fybsim::Element &child : source.children)
        PXRMsgElementAddChild(psElement, toElement(child));
    return psElement;
}

std::vector<fybsim::Element> sampleTrees()
{
    fybsim::Element answer("answer");
    answer.set("status", "OK").set("errorText", "a\"b&c'd<e>f");
    fybsim::Element config("config");
    config.add(fybsim::Element("camera").set("id", "0").set("zoom", "1.500000"));
    config.add(fybsim::Element("network").add(fybsim::Element("value").set("text", "x")));
    answer.add(config);

    fybsim::Element anpr("anpr");
    fybsim::Element decision("decision");
    decision.set("plate", "AB123CD").withContent(patternBytes(3000, 1));
    decision.add(fybsim::Element("jpegPlate").withContent(patternBytes(70000, 2)));
    decision.add(fybsim::Element("x"));
    anpr.add(decision);

    fybsim::Element many("many");
    for (int i = 0; i < PXR_MAX_CONTENTS; i++)
        many.add(fybsim::Element("c").withContent(std::string(size_t(i + 1), char('a' + i))));
    return {fybsim::Element("getXSD"), answer, anpr, many};
}

class WireAgainstSensorCodec : public LibraryTest {};

TEST_F(WireAgainstSensorCodec, SameTreeGivesTheSameBytesAndReadsBackOnBothSides)
{
    for (const fybsim::Element &tree : sampleTrees()) {
        PXRMsg *psMsg = PXRMsgCreate();
        PXRMsgSetChild(psMsg, toElement(tree));
        std::string ours = exportBytes(psMsg);
        EXPECT_EQ(fybsim::wireOf(tree), ours) << tree.name;

        std::string error;
        std::optional<fybsim::WireMessage> theirs = fybsim::parseWire(ours, &error);
        ASSERT_TRUE(theirs.has_value()) << tree.name << ": " << error;
        EXPECT_EQ(ours.size(), theirs->raw.size());

        PXRMsg *psRead = PXRMsgCreate();
        std::string wire = fybsim::wireOf(tree);
        ASSERT_EQ(1, PXRMsgImportFromBinaryArray(psRead, wire.data(), uint32_t(wire.size()))) << PXRGetLastError(psRead);
        EXPECT_TRUE(sameTree(psMsg, psRead)) << tree.name;
        PXRMsgDestroy(psRead);
        PXRMsgDestroy(psMsg);
    }
}

TEST_F(WireAgainstSensorCodec, EmptyMessagesAgree)
{
    PXRMsg *psMsg = PXRMsgCreate();
    EXPECT_EQ(fybsim::wireOf(nullptr), exportBytes(psMsg));
    PXRMsgDestroy(psMsg);
}

} // namespace
