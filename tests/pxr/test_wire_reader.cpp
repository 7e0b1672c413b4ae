// The wire reader: documents read back whatever the split of their bytes, messages back to
// back, every error text, hostile lengths and ids, and the socket source with its time-out.
#include "wire_test_support.h"

#include <thread>

using namespace wire;

namespace {

class WireReader : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        psMsg = PXRMsgCreate();
        psBuffer = PXRStreamBufferCreate();
        hParser = XML_ParserCreate(nullptr);
    }
    void TearDown() override
    {
        XML_ParserFree(hParser);
        PXRStreamBufferRelease(psBuffer);
        PXRMsgDestroy(psMsg);
        LibraryTest::TearDown();
    }

    // Reads one message from the source through the test's own buffer and parser.
    int read(ChunkSource *psSource) { return PXRMsg_read(psMsg, &readChunk, psSource, psBuffer, hParser); }

    // The last error after importing the bytes, or "(read)" when they were read.
    std::string importError(const std::string &bytes)
    {
        return PXRMsgImportFromBinaryArray(psMsg, bytes.data(), uint32_t(bytes.size())) ? "(read)"
                                                                                         : PXRGetLastError(psMsg);
    }

    PXRMsg *psMsg = nullptr;
    PXRStreamBuffer *psBuffer = nullptr;
    XML_Parser hParser = nullptr;
};

// The writer's messages used for the round trips: the seed corpus plus a binary-heavy one.
std::vector<std::string> sampleDocuments()
{
    std::vector<std::string> documents;
    for (const auto &path : corpusFiles())
        documents.push_back(readFile(path));
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgElement *psRoot = setRoot(psMsg, "anpr");
    setContent(addChild(psRoot, "image"), patternBytes(120000, 1));
    setContent(addChild(psRoot, "image"), patternBytes(70000, 2));
    documents.push_back(exportBytes(psMsg));
    PXRMsgDestroy(psMsg);
    return documents;
}

TEST_F(WireReader, CorpusHoldsValidDocuments)
{
    EXPECT_GE(corpusFiles().size(), 5u);
    for (const std::string &document : sampleDocuments())
        EXPECT_EQ("(read)", importError(document));
}

TEST_F(WireReader, ReadsBackAnEqualTreeWhateverTheChunkSize)
{
    for (const std::string &document : sampleDocuments()) {
        ASSERT_EQ("(read)", importError(document));
        PXRMsg *psExpected = PXRMsgCopy(psMsg);
        EXPECT_EQ(document, exportBytes(psExpected)) << "export of the imported message differs";
        for (uint32_t u32Chunk : {1u, 2u, 3u, 7u, 1000u, 4096u}) {
            ChunkSource source{document};
            source.u32Chunk = u32Chunk;
            ASSERT_EQ(0, read(&source)) << PXRGetLastError(psMsg) << " with chunks of " << u32Chunk;
            EXPECT_TRUE(sameTree(psExpected, psMsg)) << "chunks of " << u32Chunk;
            EXPECT_EQ(0u, psBuffer->u32Length);
            PXRMsgClear(psMsg);
        }
        PXRMsgDestroy(psExpected);
    }
}

// A source that gives the first n bytes in one call and the rest in another.
struct SplitSource {
    const std::string *pBytes;
    size_t szSplit;
    size_t szPosition;
};

int32_t readSplit(void *pDestination, uint32_t u32MaxLength, void *pUser)
{
    SplitSource *psSource = static_cast<SplitSource *>(pUser);
    size_t szEnd = psSource->szPosition < psSource->szSplit ? psSource->szSplit : psSource->pBytes->size();
    size_t szCopy = std::min<size_t>(u32MaxLength, szEnd - psSource->szPosition);
    memcpy(pDestination, psSource->pBytes->data() + psSource->szPosition, szCopy);
    psSource->szPosition += szCopy;
    return int32_t(szCopy);
}

TEST_F(WireReader, ReadsEveryDocumentSplitAtAnyByte)
{
    for (const auto &path : corpusFiles()) {
        std::string document = readFile(path);
        ASSERT_EQ("(read)", importError(document));
        PXRMsg *psExpected = PXRMsgCopy(psMsg);
        for (size_t szSplit = 1; szSplit < document.size(); szSplit++) {
            SplitSource source{&document, szSplit, 0};
            ASSERT_EQ(0, PXRMsg_read(psMsg, &readSplit, &source, psBuffer, hParser))
                << path.filename() << " split at " << szSplit << ": " << PXRGetLastError(psMsg);
            ASSERT_TRUE(sameTree(psExpected, psMsg)) << path.filename() << " split at " << szSplit;
            PXRMsgClear(psMsg);
        }
        PXRMsgDestroy(psExpected);
    }
}

TEST_F(WireReader, MessagesBackToBackAreReadOneAfterTheOther)
{
    std::vector<std::string> documents = sampleDocuments();
    for (uint32_t u32Chunk : {1u, 5u, UINT32_MAX}) {
        std::string all;
        for (const std::string &document : documents)
            all += document;
        ChunkSource source{all};
        source.u32Chunk = u32Chunk;
        for (const std::string &document : documents) {
            PXRMsgClear(psMsg);
            ASSERT_EQ(0, read(&source)) << PXRGetLastError(psMsg);
            EXPECT_EQ(document, exportBytes(psMsg));
        }
        EXPECT_EQ(0u, psBuffer->u32Length);
        EXPECT_EQ(all.size(), source.szPosition);
    }
}

TEST_F(WireReader, BytesAfterTheMessageStayInTheBuffer)
{
    for (const std::string &document : {kSingleHeader + "<msg><a/></msg>", kSingleHeader + "<msg/>",
                                        kMultiHeader + "<msg><a><xop:Include href=\"A\"/></a></msg>" + partHeader('A', 2) +
                                            "xy--MIME_boundary--"}) {
        ChunkSource source{document + "NEXT"};
        ASSERT_EQ(0, read(&source)) << PXRGetLastError(psMsg);
        ASSERT_EQ(4u, psBuffer->u32Length);
        EXPECT_EQ(0, memcmp("NEXT", PXRStreamBufferData(psBuffer), 4));
        PXRStreamBufferClear(psBuffer);
    }
}

TEST_F(WireReader, XmlPartKeepsElementsAndAttributesOnly)
{
    ASSERT_EQ("(read)", importError(kSingleHeader + "<?xml version=\"1.0\"?><msg>text<first a=\"1\" a2=\"&#9;\">"
                                                    "inner text<c/></first><second b=\"2\"/></msg>"));
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    ASSERT_NE(nullptr, psRoot);
    EXPECT_STREQ("second", PXRMsgElementName(psRoot)); // the last element directly inside "msg" wins
    EXPECT_STREQ("2", PXRMsgElementAttributeValue(psRoot, "b"));
    EXPECT_EQ(psMsg, PXRMsgElementMsg(psRoot));
}

TEST_F(WireReader, NestedMsgElementEndsTheXmlPart)
{
    ChunkSource source{kSingleHeader + "<msg><a><msg/></a></msg>"};
    ASSERT_EQ(0, read(&source));
    EXPECT_STREQ("a", PXRMsgElementName(PXRMsgChild(psMsg)));
    EXPECT_EQ(1u, PXRMsgElementChildCount(PXRMsgChild(psMsg), "msg"));
    EXPECT_EQ(std::string("</a></msg>"), std::string(reinterpret_cast<char *>(PXRStreamBufferData(psBuffer)),
                                                     psBuffer->u32Length));
}

TEST_F(WireReader, ElementsBeforeMsgAreSkipped)
{
    ASSERT_EQ("(read)", importError(kSingleHeader + "<envelope><msg><a/></msg></envelope>"));
    EXPECT_STREQ("a", PXRMsgElementName(PXRMsgChild(psMsg)));
}

const std::string kXop = "<msg><a><xop:Include href=\"A\"/></a></msg>";
const std::string kMultipartStart = "MIME-Version: 1.0\r\nContent-Type: Multipart/Related;boundary=MIME_boundary;\r\n\r\n"
                                    "--MIME_boundary\r\n\r\n" + kXop;

std::string binaryPart(const std::string &headers, const std::string &bytes)
{
    return "--MIME_boundary\r\n" + headers + "\r\n" + bytes;
}

struct ErrorCase {
    const char *pcszName;
    std::string bytes;
    std::string error;
};

const ErrorCase kErrorCases[] = {
    {"NotMime", "HTTP/1.1 200 OK\r\nServer: x\r\n\r\n", "Invalid data received : HTTP/1.1 200 OK\r\nS"},
    {"NoBoundaryItem", "MIME-Version: 1.0\r\nContent-Type: Multipart/Related;type=x;\r\n\r\n", "Boundary not found!"},
    {"EmptyBoundary", "MIME-Version: 1.0\r\nContent-Type: Multipart/Related;boundary=;\r\n\r\n", "Boundary not found!"},
    {"BoundaryOf125", "MIME-Version: 1.0\r\nContent-Type: Multipart/Related;boundary=" + std::string(125, 'b') + ";\r\n\r\n",
     "Boundary too long"},
    {"ZeroContentLength", kMultipartStart + binaryPart("Content-ID: A;\r\nContent-Length: 0;\r\n", "") + "--MIME_boundary--",
     "Content allocation failed"},
    {"SecondPartReusesTheId",
     kMultipartStart + binaryPart("Content-ID: A;\r\nContent-Length: 1;\r\n", "x") +
         binaryPart("Content-Length: 1;\r\n", "y") + "--MIME_boundary--",
     "No Xop include defined in XML for this ID : A"},
    {"UnknownId", kMultipartStart + binaryPart("Content-ID: Q;\r\nContent-Length: 1;\r\n", "x"),
     "No Xop include defined in XML for this ID : Q"},
    {"NoContentLength", kMultipartStart + binaryPart("Content-ID: A;\r\n", "x"), "Content-Length was not defined"},
    {"NoContentId", kMultipartStart + binaryPart("Content-Length: 1;\r\n", "x"), "Content-ID was not defined"},
    {"NegativeContentLength", kMultipartStart + binaryPart("Content-ID: A;\r\nContent-Length: -1;\r\n", "x"),
     "Invalid Content-Length : -1;"},
    {"TextContentLength", kMultipartStart + binaryPart("Content-ID: A;\r\nContent-Length: 12ab;\r\n", "x"),
     "Invalid Content-Length : 12ab;"},
    {"EmptyContentLength", kMultipartStart + binaryPart("Content-ID: A;\r\nContent-Length: ;\r\n", "x"),
     "Invalid Content-Length : ;"},
    {"HugeContentLength", kMultipartStart + binaryPart("Content-ID: A;\r\nContent-Length: 99999999999999999999;\r\n", "x"),
     "Content-Length too large : 99999999999999999999;"},
    {"ContentLengthAboveTheCap", kMultipartStart + binaryPart("Content-ID: A;\r\nContent-Length: 134217729;\r\n", "x"),
     "Content-Length too large : 134217729;"},
    {"ContentLengthBeyondTheData",
     kMultipartStart + binaryPart("Content-ID: A;\r\nContent-Length: 100000;\r\n", "only a few bytes"),
     "Content-Length exceeds the data left (100000 bytes announced)"},
    {"EmptyContentId", kMultipartStart + binaryPart("Content-ID: ;\r\nContent-Length: 1;\r\n", "x"), "Content-ID was not defined"},
    {"ContentIdWithoutAnything", kMultipartStart + binaryPart("Content-ID: \r\nContent-Length: 1;\r\n", "x"),
     "Content-ID was not defined"},
    {"ContentIdOf64", kMultipartStart + binaryPart("Content-ID: " + std::string(64, 'i') + ";\r\n", "x"),
     "Content-ID too long"},
    {"NotABoundary", kMultipartStart + "--MIME_boundarX\r\n", "invalid data, was waiting for boundary"},
    {"BrokenXml", kSingleHeader + "<msg><a></b></msg>", "XML read error"},
    {"Truncated", kSingleHeader + "<msg><a/>", "Incomplete message: end of data"},
    {"TruncatedContent",
     "MIME-Version: 1.0\r\nContent-Type: Multipart/Related;boundary=MIME_boundary;\r\n\r\n--MIME_boundary\r\n\r\n" + kXop +
         binaryPart("Content-ID: A;\r\nContent-Length: 3;\r\n", "xyz"),
     "Incomplete message: end of data"},
    {"EndlessHeaderLine", "MIME-Version: 1.0\r\nX-Padding: " + std::string(PXR_MAX_HEADER_LINE, 'p'),
     "Header line too long"},
    {"TooDeep",
     [] {
         std::string xml;
         for (int i = 0; i <= PXR_MAX_DEPTH; i++)
             xml += "<e>";
         return kSingleHeader + "<msg>" + xml;
     }(),
     "Element nesting too deep"},
};

class WireReaderErrors : public WireReader, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(WireReaderErrors, FailsWithItsReason)
{
    EXPECT_EQ(GetParam().error, importError(GetParam().bytes));
    // The same failure whatever the chunks, and never a hang.
    ChunkSource source{GetParam().bytes};
    source.u32Chunk = 1;
    EXPECT_EQ(-1, PXRMsg_readBounded(psMsg, &readChunk, &source, psBuffer, hParser, source.bytes.size()));
    EXPECT_EQ(GetParam().error, PXRGetLastError(psMsg));
}

INSTANTIATE_TEST_SUITE_P(Cases, WireReaderErrors, ::testing::ValuesIn(kErrorCases),
                         [](const auto &info) { return std::string(info.param.pcszName); });

TEST_F(WireReader, LongestIdsAndBoundariesAreRead)
{
    std::string id(PXR_MAX_CONTENT_ID, 'i');
    std::string boundary(PXR_MAX_BOUNDARY, 'b');
    std::string document = "MIME-Version: 1.0\r\nContent-Type: Multipart/Related;boundary=" + boundary + ";\r\n\r\n--" +
                           boundary + "\r\n\r\n<msg><a><xop:Include href=\"" + id + "\"/></a></msg>--" + boundary +
                           "\r\nContent-ID: " + id + ";\r\nContent-Length: 2;\r\n\r\nxy--" + boundary + "--";
    ASSERT_EQ("(read)", importError(document));
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    ASSERT_EQ(2u, PXRMsgElementContentSize(psRoot));
    EXPECT_EQ(0, memcmp("xy", PXRMsgElementContent(psRoot), 2));
    EXPECT_EQ(0u, PXRMsgElementChildCount(psRoot, nullptr)); // the include is gone
}

TEST_F(WireReader, ContentIdWithoutTerminatorIsKeptWhole)
{
    std::string document = kMultipartStart + binaryPart("Content-ID: A\r\nContent-Length: 1\r\n", "x") + "--MIME_boundary--";
    ASSERT_EQ("(read)", importError(document));
    EXPECT_EQ(1u, PXRMsgElementContentSize(PXRMsgChild(psMsg)));
}

int32_t emptyRead(void *, uint32_t, void *pUser)
{
    ++*static_cast<int *>(pUser);
    return 0;
}

// Never ends: a start, then one text repeated for ever.
struct EndlessSource {
    std::string start;
    std::string repeated;
    size_t szPosition;
};

int32_t readEndless(void *pDestination, uint32_t u32MaxLength, void *pUser)
{
    EndlessSource *psSource = static_cast<EndlessSource *>(pUser);
    char *pcDestination = static_cast<char *>(pDestination);
    for (uint32_t i = 0; i < u32MaxLength; i++, psSource->szPosition++) {
        size_t szAt = psSource->szPosition;
        pcDestination[i] = szAt < psSource->start.size()
                               ? psSource->start[szAt]
                               : psSource->repeated[(szAt - psSource->start.size()) % psSource->repeated.size()];
    }
    return int32_t(u32MaxLength);
}

TEST_F(WireReader, EndlessXmlIsCutAtItsCaps)
{
    const struct {
        const char *pcszStart;
        const char *pcszRepeated;
        const char *pcszError;
    } cases[] = {
        {"<msg><a v=\"", "x", "XML token too long"},
        {"<msg><!--", "x", "XML token too long"},
        {"<msg><a>", "<b/>", "Too many elements"},
        {"<msg><a>", "text ", "XML part too large"},
    };
    for (const auto &endless : cases) {
        EndlessSource source{kSingleHeader + endless.pcszStart, endless.pcszRepeated, 0};
        EXPECT_EQ(0, PXRMsgImport(psMsg, &readEndless, &source));
        EXPECT_STREQ(endless.pcszError, PXRGetLastError(psMsg)) << endless.pcszStart;
    }
}

TEST_F(WireReader, ReadFunctionAtItsEndEndsTheRead)
{
    int iCalls = 0;
    EXPECT_EQ(0, PXRMsgImport(psMsg, &emptyRead, &iCalls));
    EXPECT_EQ(1, iCalls);
    EXPECT_STREQ("Incomplete message: end of data", PXRGetLastError(psMsg));
}

int32_t failingRead(void *, uint32_t, void *)
{
    return -5;
}

TEST_F(WireReader, FailingReadFunctionLeavesNoTextOfItsOwn)
{
    EXPECT_EQ(0, PXRMsgImport(psMsg, &failingRead, nullptr));
    EXPECT_STREQ("", PXRGetLastError(psMsg));
    EXPECT_EQ(0, PXRMsgImport(psMsg, nullptr, nullptr));
    EXPECT_EQ(0, PXRMsgImport(nullptr, &failingRead, nullptr));
}

TEST_F(WireReader, ImportReplacesWhatTheMessageHeld)
{
    setRoot(psMsg, "old");
    ASSERT_EQ("(read)", importError(kSingleHeader + "<msg></msg>"));
    EXPECT_EQ(nullptr, PXRMsgChild(psMsg));
    PXRMsgSetReadOnly(psMsg, 1);
    EXPECT_EQ("Message is read only", importError(kSingleHeader + "<msg></msg>"));
}

TEST_F(WireReader, StreamBufferCompactsOnlyPastItsThresholdsAndGrowsOnDemand)
{
    ChunkSource source{std::string(200000, 'x')};
    ASSERT_EQ(0, PXRStreamBufferReadWithCallback(psBuffer, &readChunk, &source, 25000));
    PXRStreamBufferConsume(psBuffer, 19941);
    EXPECT_EQ(19941u, psBuffer->u32Start);
    PXRStreamBufferConsume(psBuffer, 5010);
    EXPECT_EQ(0u, psBuffer->u32Start); // 49 left past 20000: moved to the front
    EXPECT_EQ(49u, psBuffer->u32Length);
    EXPECT_EQ(-1, PXRStreamBufferFind(psBuffer, "x", 1, 50));
    EXPECT_EQ(3, PXRStreamBufferFind(psBuffer, "x", 1, 3));
    ASSERT_EQ(0, PXRStreamBufferReadWithCallback(psBuffer, &readChunk, &source, 60000));
    EXPECT_EQ(60049u + 10, psBuffer->u32Capacity);
    EXPECT_EQ(60049u, psBuffer->u32Length);
    PXRStreamBufferConsume(psBuffer, 30001);
    ASSERT_EQ(0, PXRStreamBufferReadWithCallback(psBuffer, &readChunk, &source, 0));
    EXPECT_EQ(0u, psBuffer->u32Start); // past 30000 before a read: moved to the front
    EXPECT_EQ(60049u - 30001 + 1024, psBuffer->u32Length);
}

// ---- socket source ----

class WireSocketReader : public WireReader {
protected:
    void SetUp() override
    {
        WireReader::SetUp();
        ASSERT_TRUE(pair.open());
    }
    int readSocket(uint32_t u32TimeoutMs, PXRMsg_ProgressFunction rProgress = nullptr, void *pUser = nullptr)
    {
        return PXRMsg_readFromSocket2(psMsg, pair.psClient, u32TimeoutMs, psBuffer, hParser, rProgress, pUser);
    }
    LoopbackPair pair;
};

TEST_F(WireSocketReader, ReadsMessagesSentInPiecesAndBackToBack)
{
    std::vector<std::string> documents = sampleDocuments();
    std::string all;
    for (const std::string &document : documents)
        all += document;
    std::thread sender([&] {
        for (size_t i = 0; i < all.size(); i += 997)
            pair.send(all.substr(i, 997));
    });
    for (const std::string &document : documents) {
        PXRMsgClear(psMsg);
        ASSERT_EQ(0, readSocket(10000)) << PXRGetLastError(psMsg);
        EXPECT_EQ(document, exportBytes(psMsg));
    }
    sender.join();
}

TEST_F(WireSocketReader, SilentPeerTimesOut)
{
    uint32_t u32Start = SA_GetTickMs();
    EXPECT_EQ(1, readSocket(200));
    EXPECT_GE(SA_GetTickMs() - u32Start, 190u);
    EXPECT_STREQ("Socket timeouted", PXRGetLastError(psMsg));
}

TEST_F(WireSocketReader, PeerClosingMidMessageFails)
{
    ASSERT_TRUE(pair.send(kSingleHeader + "<msg><a"));
    pair.closePeer();
    EXPECT_EQ(-1, readSocket(5000));
    EXPECT_EQ(0u, std::string(PXRGetLastError(psMsg)).find("Unable to read binary data (socket error "));
}

TEST_F(WireSocketReader, MalformedInputFailsWithItsReason)
{
    for (const ErrorCase &error : kErrorCases) {
        if (error.error == "Content-ID was not defined") {
            ASSERT_TRUE(pair.send(error.bytes));
            EXPECT_EQ(-1, readSocket(5000));
            EXPECT_EQ(error.error, PXRGetLastError(psMsg)) << error.pcszName;
            return;
        }
    }
}

int countSlices(void *pUser)
{
    return ++*static_cast<int *>(pUser) < 100;
}

int refuseSlices(void *)
{
    return 0;
}

TEST_F(WireSocketReader, ProgressFunctionSeesEachSliceAndCanInterrupt)
{
    PXRMsg *psLarge = PXRMsgCreate();
    setContent(setRoot(psLarge, "file"), patternBytes(700000));
    std::string document = exportBytes(psLarge);
    std::thread sender([&] { pair.send(document + document); });
    int iSlices = 0;
    ASSERT_EQ(0, readSocket(10000, &countSlices, &iSlices)) << PXRGetLastError(psMsg);
    EXPECT_TRUE(sameTree(psLarge, psMsg));
    EXPECT_GE(iSlices, 2);
    EXPECT_EQ(-1, readSocket(10000, &refuseSlices, nullptr));
    EXPECT_STREQ("interrupted", PXRGetLastError(psMsg));
    sender.join();
    PXRMsgDestroy(psLarge);
}

} // namespace
