// Message files: exactly the exported bytes of one message, read back whole, and damaged
// files refused with a reason.
#include "wire_test_support.h"

#include <unistd.h>

using namespace wire;

namespace {

class MessageFile : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        psMsg = PXRMsgCreate();
        folder = std::filesystem::temp_directory_path() / ("pxrmsg_test_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        std::filesystem::remove_all(folder);
        PXRMsgDestroy(psMsg);
        LibraryTest::TearDown();
    }
    std::string path(const char *pcszName) const { return (folder / pcszName).string(); }
    void writeBytes(const std::string &file, const std::string &bytes) const
    {
        std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }

    PXRMsg *psMsg = nullptr;
    std::filesystem::path folder;
};

TEST_F(MessageFile, HoldsExactlyTheExportedBytes)
{
    PXRMsgElement *psRoot = setRoot(psMsg, "config");
    PXRMsgElementSetAttribute(psRoot, "name", "entry \"A\"");
    setContent(addChild(psRoot, "classification"), patternBytes(5000));
    ASSERT_EQ(1, PXRMsg_exportToFile(psMsg, path("config.pxrmsg").c_str())) << PXRGetLastError(psMsg);
    EXPECT_EQ(exportBytes(psMsg), readFile(path("config.pxrmsg")));
}

TEST_F(MessageFile, CorpusFilesReadBackAndWriteAgainByteForByte)
{
    for (const auto &corpus : corpusFiles()) {
        ASSERT_EQ(1, PXRMsg_importFromFile(psMsg, corpus.c_str())) << corpus << ": " << PXRGetLastError(psMsg);
        ASSERT_EQ(1, PXRMsg_exportToFile(psMsg, path("copy.pxrmsg").c_str()));
        EXPECT_EQ(readFile(corpus), readFile(path("copy.pxrmsg"))) << corpus.filename();
    }
}

TEST_F(MessageFile, EveryTruncationIsRefused)
{
    std::string bytes = readFile(std::filesystem::path(PXR_WIRE_CORPUS) / "anpr.pxrmsg");
    for (size_t szLength = 0; szLength < bytes.size(); szLength++) {
        writeBytes(path("cut.pxrmsg"), bytes.substr(0, szLength));
        ASSERT_EQ(0, PXRMsg_importFromFile(psMsg, path("cut.pxrmsg").c_str())) << szLength;
        EXPECT_STRNE("", PXRGetLastError(psMsg)) << szLength;
    }
}

TEST_F(MessageFile, ContentLongerThanTheFileIsRefusedBeforeAllocation)
{
    std::string bytes = kMultiHeader + "<msg><a><xop:Include href=\"A\"/></a></msg>" + partHeader('A', 100000000) + "xy";
    writeBytes(path("big.pxrmsg"), bytes);
    EXPECT_EQ(0, PXRMsg_importFromFile(psMsg, path("big.pxrmsg").c_str()));
    EXPECT_STREQ("Content-Length exceeds the data left (100000000 bytes announced)", PXRGetLastError(psMsg));
}

TEST_F(MessageFile, MissingFileAndFailedExportGiveReasons)
{
    std::string missing = path("missing.pxrmsg");
    EXPECT_EQ(0, PXRMsg_importFromFile(psMsg, missing.c_str()));
    EXPECT_EQ("Unable to open file " + missing, PXRGetLastError(psMsg));

    PXRMsgElementSetAttribute(setRoot(psMsg, "e"), "v", "\x02");
    EXPECT_EQ(0, PXRMsg_exportToFile(psMsg, path("bad.pxrmsg").c_str()));
    EXPECT_FALSE(std::filesystem::exists(path("bad.pxrmsg")));
    EXPECT_EQ(0, PXRMsg_exportToFile(psMsg, path("no/such/folder.pxrmsg").c_str()));
    EXPECT_EQ("Unable to open file " + path("no/such/folder.pxrmsg"), PXRGetLastError(psMsg));
}

} // namespace
