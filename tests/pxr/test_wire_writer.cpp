// The wire writer: exact bytes of single-part and multipart documents, escaping, the
// content table, pool limits, socket slices and the export entry points.
#include "wire_test_support.h"

#include <thread>

using namespace wire;

namespace {

class WireWriter : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        psMsg = PXRMsgCreate();
    }
    void TearDown() override
    {
        PXRMsgDestroy(psMsg);
        LibraryTest::TearDown();
    }
    PXRMsg *psMsg = nullptr;
};

TEST_F(WireWriter, HeaderTextsHaveTheirFixedLengths)
{
    EXPECT_EQ(53u, kSingleHeader.size());
    EXPECT_EQ(133u, kMultiHeader.size());
    EXPECT_EQ(106u + 1 + 19 + 1 + 5, partHeader('A', 5).size());
}

TEST_F(WireWriter, EmptyMessageIsHeaderAndEmptyMsgElement)
{
    EXPECT_EQ(kSingleHeader + "<msg></msg>", exportBytes(psMsg));
}

// Single-part documents: the tree built by each case and the exact XML part expected.
struct XmlCase {
    const char *pcszName;
    void (*rBuild)(PXRMsg *);
    const char *pcszXml;
};

const XmlCase kXmlCases[] = {
    {"RootWithoutAnything", [](PXRMsg *m) { setRoot(m, "getXSD"); }, "<msg><getXSD/></msg>"},
    {"AttributesInOrder",
     [](PXRMsg *m) {
         PXRMsgElement *r = setRoot(m, "config");
         PXRMsgElementSetAttribute(r, "b", "2");
         PXRMsgElementSetAttribute(r, "a", "1");
     },
     "<msg><config b=\"2\" a=\"1\"/></msg>"},
    {"ValueEscaping",
     [](PXRMsg *m) { PXRMsgElementSetAttribute(setRoot(m, "e"), "v", "a\"b&c'd<e>f"); },
     "<msg><e v=\"a&quot;b&amp;c&apos;d&lt;e&gt;f\"/></msg>"},
    {"TabLineFeedAndCarriageReturnAsReferences",
     [](PXRMsg *m) { PXRMsgElementSetAttribute(setRoot(m, "e"), "v", "1\t2\n3\r4"); },
     "<msg><e v=\"1&#9;2&#10;3&#13;4\"/></msg>"},
    {"NestedChildrenWithoutWhiteSpace",
     [](PXRMsg *m) {
         PXRMsgElement *r = setRoot(m, "a");
         PXRMsgElement *b = addChild(r, "b");
         addChild(b, "c");
         PXRMsgElementSetAttribute(addChild(r, "d"), "id", "1");
     },
     "<msg><a><b><c/></b><d id=\"1\"/></a></msg>"},
    {"Utf8PassesUnchanged",
     [](PXRMsg *m) { PXRMsgElementSetAttribute(setRoot(m, "e"), "v", "\xC3\xA9t\xC3\xA9"); },
     "<msg><e v=\"\xC3\xA9t\xC3\xA9\"/></msg>"},
};

class WireWriterXml : public WireWriter, public ::testing::WithParamInterface<XmlCase> {};

TEST_P(WireWriterXml, WritesTheExactSinglePartDocument)
{
    GetParam().rBuild(psMsg);
    EXPECT_EQ(kSingleHeader + GetParam().pcszXml, exportBytes(psMsg));
}

INSTANTIATE_TEST_SUITE_P(Cases, WireWriterXml, ::testing::ValuesIn(kXmlCases),
                         [](const auto &info) { return std::string(info.param.pcszName); });

TEST_F(WireWriter, ContentBecomesAnXopPartAfterTheXml)
{
    PXRMsgElement *psRoot = setRoot(psMsg, "image");
    PXRMsgElementSetAttribute(psRoot, "w", "2");
    setContent(psRoot, std::string("\x00\x01\r\n", 4));
    addChild(psRoot, "x");
    std::string expected = kMultiHeader + "<msg><image w=\"2\"><xop:Include href=\"A\"/><x/></image></msg>" +
                           partHeader('A', 4) + std::string("\x00\x01\r\n", 4) + "--MIME_boundary--";
    EXPECT_EQ(expected, exportBytes(psMsg));
}

TEST_F(WireWriter, ContentLettersFollowDocumentOrderOuterFirst)
{
    PXRMsgElement *psOuter = setRoot(psMsg, "outer");
    setContent(psOuter, "OUT");
    PXRMsgElement *psInner = addChild(psOuter, "inner");
    setContent(psInner, "IN");
    std::string expected = kMultiHeader +
                           "<msg><outer><xop:Include href=\"A\"/><inner><xop:Include href=\"B\"/></inner></outer></msg>" +
                           partHeader('A', 3) + "OUT" + partHeader('B', 2) + "IN" + "--MIME_boundary--";
    EXPECT_EQ(expected, exportBytes(psMsg));
}

TEST_F(WireWriter, FifteenContentsTakeLettersAToO)
{
    PXRMsgElement *psRoot = setRoot(psMsg, "r");
    for (int i = 0; i < PXR_MAX_CONTENTS; i++)
        setContent(addChild(psRoot, "c"), std::string(1, char('a' + i)));
    std::string bytes = exportBytes(psMsg);
    EXPECT_NE(std::string::npos, bytes.find("<c><xop:Include href=\"O\"/></c></r></msg>"));
    EXPECT_NE(std::string::npos, bytes.find(partHeader('O', 1) + "o--MIME_boundary--"));
}

int countCalls(const void *, uint32_t, void *pUser)
{
    ++*static_cast<int *>(pUser);
    return 1;
}

TEST_F(WireWriter, SixteenContentsAreRefusedAndNothingIsWritten)
{
    PXRMsgElement *psRoot = setRoot(psMsg, "r");
    for (int i = 0; i <= PXR_MAX_CONTENTS; i++)
        setContent(addChild(psRoot, "c"), "x");
    int iCalls = 0;
    EXPECT_EQ(0, PXRMsgExport(psMsg, &countCalls, &iCalls));
    EXPECT_EQ(0, iCalls);
    EXPECT_STREQ("Too many binary contents (at most 15)", PXRGetLastError(psMsg));
}

TEST_F(WireWriter, OtherControlCharactersAreRefusedWithTheirPlace)
{
    PXRMsgElementSetAttribute(setRoot(psMsg, "e"), "v", "a\x01z");
    int iCalls = 0;
    EXPECT_EQ(0, PXRMsgExport(psMsg, &countCalls, &iCalls));
    EXPECT_EQ(0, iCalls);
    EXPECT_STREQ("Invalid control character 0x01 in attribute value (e/v)", PXRGetLastError(psMsg));
}

// A root with one attribute whose value makes the XML part exactly u32XmlBytes long.
void buildXmlOfSize(PXRMsg *psMsg, size_t szXmlBytes)
{
    const size_t szFrame = std::string("<msg><a v=\"\"/></msg>").size();
    PXRMsgElementSetAttribute(setRoot(psMsg, "a"), "v", std::string(szXmlBytes - szFrame, 'x').c_str());
}

struct Pools {
    SA_Pool psBuffers = nullptr;
    SA_Pool psDetached = nullptr;
    Pools(uint32_t u32Buffers, uint32_t u32Detached)
    {
        PXRMsg_createBufferPool(&psBuffers, u32Buffers, 0);
        PXRMsg_createBufferPool(&psDetached, u32Detached, 1);
    }
    ~Pools()
    {
        PXRMsg_releaseBufferPool(&psBuffers);
        PXRMsg_releaseBufferPool(&psDetached);
    }
};

int build(PXRMsg *psMsg, Pools &pools, std::string *pBytes)
{
    PXRList *psList = PXRListCreate();
    int iResult = PXRMsg_writeToBufferList(psMsg, psList, pools.psBuffers, pools.psDetached);
    if (iResult)
        PXRMsg_writeBufferList(psList, UINT32_MAX, [](void *p, const void *d, uint32_t n) {
            return appendToString(d, n, p);
        }, pBytes);
    PXRMsg_releaseBufferList(psList);
    PXRListDestroy(psList);
    return iResult;
}

std::vector<std::string> g_traces;

int keepTrace(PXR *, int iLevel, const char *pcszText, void *)
{
    g_traces.push_back(std::to_string(iLevel) + " " + pcszText);
    return 0;
}

TEST_F(WireWriter, ConnectionPoolsCarryAtMost65536BytesOfXml)
{
    Pools pools(PXR_CONNECTION_BUFFER_ITEMS, PXR_CONNECTION_BUFFER_ITEMS);
    buildXmlOfSize(psMsg, 65536);
    std::string bytes;
    ASSERT_EQ(1, build(psMsg, pools, &bytes));
    EXPECT_EQ(53u + 65536u, bytes.size());

    buildXmlOfSize(psMsg, 65537);
    std::string refused;
    PXRSetTraceFunction(&keepTrace, nullptr);
    EXPECT_EQ(0, build(psMsg, pools, &refused));
    PXRSetTraceFunction(nullptr, nullptr);
    EXPECT_STREQ("Pool is empty", PXRGetLastError(psMsg));
    EXPECT_TRUE(refused.empty());
    EXPECT_EQ(std::vector<std::string>{"7 [Export]No more buffer available (2)"}, g_traces);

    // Every item went back: the pools still serve a full-size message.
    buildXmlOfSize(psMsg, 65536);
    EXPECT_EQ(1, build(psMsg, pools, &bytes));
}

TEST_F(WireWriter, PartHeadersCountAgainstThePoolButContentsDoNot)
{
    // Two pooled items: the XML with the first part header, then the closing boundary.
    Pools pools(2, 4);
    PXRMsgElement *psRoot = setRoot(psMsg, "r");
    setContent(psRoot, patternBytes(100000));
    std::string bytes;
    EXPECT_EQ(1, build(psMsg, pools, &bytes));
    EXPECT_EQ(exportBytes(psMsg), bytes);

    setContent(addChild(psRoot, "second"), "x");
    std::string refused;
    EXPECT_EQ(0, build(psMsg, pools, &refused));
    EXPECT_STREQ("Pool is empty", PXRGetLastError(psMsg));
    EXPECT_TRUE(refused.empty());
}

TEST_F(WireWriter, ExportCarriesAtMost524288BytesOfXml)
{
    buildXmlOfSize(psMsg, 524288);
    EXPECT_EQ(53u + 524288u, exportBytes(psMsg).size());
    buildXmlOfSize(psMsg, 524289);
    int iCalls = 0;
    EXPECT_EQ(0, PXRMsgExport(psMsg, &countCalls, &iCalls));
    EXPECT_EQ(0, iCalls);
    EXPECT_STREQ("Pool is empty", PXRGetLastError(psMsg));
}

TEST_F(WireWriter, LargeContentsGoOutIn256000ByteSlices)
{
    setContent(setRoot(psMsg, "r"), patternBytes(600000));
    Pools pools(PXR_CONNECTION_BUFFER_ITEMS, PXR_CONNECTION_BUFFER_ITEMS);
    PXRList *psList = PXRListCreate();
    ASSERT_EQ(1, PXRMsg_writeToBufferList(psMsg, psList, pools.psBuffers, pools.psDetached));
    std::vector<uint32_t> writes;
    PXRMsg_writeBufferList(psList, PXR_SOCKET_SLICE, [](void *p, const void *, uint32_t n) {
        static_cast<std::vector<uint32_t> *>(p)->push_back(n);
        return 1;
    }, &writes);
    PXRMsg_releaseBufferList(psList);
    PXRListDestroy(psList);
    // Header, XML with the part header, the content in three slices, the closing boundary.
    std::string xmlAndPart = "<msg><r><xop:Include href=\"A\"/></r></msg>" + partHeader('A', 600000);
    std::vector<uint32_t> expected = {133, uint32_t(xmlAndPart.size()), 256000, 256000, 88000, 17};
    EXPECT_EQ(expected, writes);
}

TEST_F(WireWriter, SocketReceivesExactlyTheExportedBytes)
{
    PXRMsgElement *psRoot = setRoot(psMsg, "anpr");
    PXRMsgElementSetAttribute(psRoot, "plate", "AB-123-CD");
    setContent(addChild(psRoot, "image"), patternBytes(300000));
    std::string expected = exportBytes(psMsg);
    LoopbackPair pair;
    ASSERT_TRUE(pair.open());
    std::string received;
    std::thread reader([&] { received = pair.receiveAll(); });
    Pools pools(PXR_CONNECTION_BUFFER_ITEMS, PXR_CONNECTION_BUFFER_ITEMS);
    EXPECT_EQ(1, PXRMsg_writeToSocket(psMsg, pair.psClient, pools.psBuffers, pools.psDetached));
    SA_CloseSocket(&pair.psClient);
    reader.join();
    EXPECT_TRUE(received == expected) << received.size() << " bytes instead of " << expected.size();
}

TEST_F(WireWriter, FailedSocketWriteGivesZero)
{
    setContent(setRoot(psMsg, "r"), patternBytes(4 * 1024 * 1024));
    LoopbackPair pair;
    ASSERT_TRUE(pair.open());
    pair.closePeer();
    Pools pools(PXR_CONNECTION_BUFFER_ITEMS, PXR_CONNECTION_BUFFER_ITEMS);
    EXPECT_EQ(0, PXRMsg_writeToSocket(psMsg, pair.psClient, pools.psBuffers, pools.psDetached));
}

TEST_F(WireWriter, BinaryArrayTakesTheDocumentOnlyWhenItFits)
{
    setContent(setRoot(psMsg, "r"), patternBytes(1000));
    std::string expected = exportBytes(psMsg);
    std::vector<uint8_t> small(100);
    EXPECT_EQ(0u, PXRMsgExportToBinaryArray(psMsg, small.data(), uint32_t(small.size())));
    EXPECT_STREQ("Error in export callback", PXRGetLastError(psMsg));
    std::vector<uint8_t> exact(expected.size());
    ASSERT_EQ(expected.size(), PXRMsgExportToBinaryArray(psMsg, exact.data(), uint32_t(exact.size())));
    EXPECT_TRUE(std::string(exact.begin(), exact.end()) == expected);
    EXPECT_STREQ("", PXRGetLastError(psMsg));
}

TEST_F(WireWriter, RefusingCallbackStopsTheExport)
{
    setContent(setRoot(psMsg, "r"), "abc");
    int iCalls = 0;
    auto refuseSecond = [](const void *, uint32_t, void *pUser) { return ++*static_cast<int *>(pUser) < 2 ? 1 : 0; };
    EXPECT_EQ(0, PXRMsgExport(psMsg, refuseSecond, &iCalls));
    EXPECT_EQ(2, iCalls);
    EXPECT_STREQ("Error in export callback", PXRGetLastError(psMsg));
    EXPECT_EQ(0, PXRMsgExport(nullptr, &countCalls, &iCalls));
}

TEST_F(WireWriter, ReadOnlyMessagesExportToo)
{
    setRoot(psMsg, "keep-alive");
    PXRMsgSetReadOnly(psMsg, 1);
    EXPECT_EQ(kSingleHeader + "<msg><keep-alive/></msg>", exportBytes(psMsg));
}

} // namespace
