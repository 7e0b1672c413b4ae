// Helpers of the wire-form tests: building messages, exporting to and importing from byte
// strings with any split, comparing trees, the seed corpus, and a loopback TCP pair.
#ifndef WIRE_TEST_SUPPORT_H
#define WIRE_TEST_SUPPORT_H

#include "PXR_Internal.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace wire {

const std::string kSingleHeader = "MIME-Version: 1.0\r\nContent-Type: application/xml;\r\n\r\n";
const std::string kMultiHeader = "MIME-Version: 1.0\r\nContent-Type: Multipart/Related;boundary=MIME_boundary;\r\n\r\n"
                                 "--MIME_boundary\r\nContent-Type: application/xop+xml;\r\n\r\n";

inline std::string partHeader(char cId, size_t szLength)
{
    return "--MIME_boundary\r\nContent-Type: application/octet-stream;\r\nContent-Transfer-Encoding: binary;\r\n"
           "Content-ID: " + std::string(1, cId) + ";\r\nContent-Length: " + std::to_string(szLength) + ";\r\n\r\n";
}

// Starts the library (and the runtime with its sockets) for each test.
class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(1, PXR_initLibrary()); }
    void TearDown() override { PXR_releaseLibrary(); }
};

inline PXRMsgElement *addChild(PXRMsgElement *psParent, const char *pcszName)
{
    PXRMsgElement *psChild = PXRMsgElementCreate(pcszName);
    PXRMsgElementAddChild(psParent, psChild);
    return psChild;
}

inline PXRMsgElement *setRoot(PXRMsg *psMsg, const char *pcszName)
{
    PXRMsgElement *psRoot = PXRMsgElementCreate(pcszName);
    PXRMsgSetChild(psMsg, psRoot);
    return psRoot;
}

inline void setContent(PXRMsgElement *psElement, const std::string &content)
{
    PXRMsgElementSetContentBinary(psElement, content.data(), uint32_t(content.size()));
}

// A content of that size whose bytes are not all alike, so that misplaced bytes show.
inline std::string patternBytes(size_t szSize, unsigned uSeed = 1)
{
    std::string bytes(szSize, '\0');
    for (size_t i = 0; i < szSize; i++)
        bytes[i] = char((i * 131 + uSeed * 17 + (i >> 8)) & 0xFF);
    return bytes;
}

inline int appendToString(const void *pData, uint32_t u32Length, void *pUser)
{
    static_cast<std::string *>(pUser)->append(static_cast<const char *>(pData), u32Length);
    return 1;
}

inline std::string exportBytes(PXRMsg *psMsg)
{
    std::string bytes;
    EXPECT_EQ(1, PXRMsgExport(psMsg, &appendToString, &bytes)) << PXRGetLastError(psMsg);
    return bytes;
}

// A read function over a byte string that hands out at most u32Chunk bytes per call.
struct ChunkSource {
    std::string bytes;
    size_t szPosition = 0;
    uint32_t u32Chunk = UINT32_MAX;
    uint32_t u32Calls = 0;
};

inline int32_t readChunk(void *pDestination, uint32_t u32MaxLength, void *pUser)
{
    ChunkSource *psSource = static_cast<ChunkSource *>(pUser);
    psSource->u32Calls++;
    size_t szCopy = std::min<size_t>({u32MaxLength, psSource->u32Chunk, psSource->bytes.size() - psSource->szPosition});
    memcpy(pDestination, psSource->bytes.data() + psSource->szPosition, szCopy);
    psSource->szPosition += szCopy;
    return int32_t(szCopy);
}

inline bool sameElement(PXRMsgElement *psA, PXRMsgElement *psB, std::string *pWhy)
{
    if (std::string(PXRMsgElementName(psA)) != PXRMsgElementName(psB))
        return *pWhy = std::string("name ") + PXRMsgElementName(psA), false;
    uint32_t u32Count = PXRMsgElementAttributeCount(psA);
    if (u32Count != PXRMsgElementAttributeCount(psB))
        return *pWhy = std::string("attribute count of ") + PXRMsgElementName(psA), false;
    for (uint32_t i = 0; i < u32Count; i++) {
        const char *pcszName = PXRMsgElementAttributeName(psA, i);
        if (std::string(pcszName) != PXRMsgElementAttributeName(psB, i) ||
            std::string(PXRMsgElementAttributeValue(psA, pcszName)) != PXRMsgElementAttributeValue(psB, pcszName))
            return *pWhy = std::string("attribute ") + pcszName, false;
    }
    uint32_t u32Size = PXRMsgElementContentSize(psA);
    if (u32Size != PXRMsgElementContentSize(psB) ||
        (u32Size && memcmp(PXRMsgElementContent(psA), PXRMsgElementContent(psB), u32Size) != 0))
        return *pWhy = std::string("content of ") + PXRMsgElementName(psA), false;
    if (PXRMsgElementChildCount(psA, nullptr) != PXRMsgElementChildCount(psB, nullptr))
        return *pWhy = std::string("child count of ") + PXRMsgElementName(psA), false;
    PXRMsgElement *psChildB = PXRMsgElementFirstChild(psB, nullptr);
    for (PXRMsgElement *psChildA = PXRMsgElementFirstChild(psA, nullptr); psChildA;
         psChildA = PXRMsgElementNextChild(psA, psChildA, nullptr)) {
        if (!sameElement(psChildA, psChildB, pWhy))
            return false;
        psChildB = PXRMsgElementNextChild(psB, psChildB, nullptr);
    }
    return true;
}

inline ::testing::AssertionResult sameTree(PXRMsg *psA, PXRMsg *psB)
{
    PXRMsgElement *psRootA = PXRMsgChild(psA);
    PXRMsgElement *psRootB = PXRMsgChild(psB);
    if (!psRootA || !psRootB)
        return psRootA == psRootB ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "one root is null";
    std::string why;
    if (sameElement(psRootA, psRootB, &why))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "trees differ at " << why;
}

inline std::string readFile(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The seed corpus of the reader's fuzz target: valid messages as the writer produces them.
inline std::vector<std::filesystem::path> corpusFiles()
{
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::directory_iterator(PXR_WIRE_CORPUS)) {
        if (entry.path().extension() == ".pxrmsg")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A connected loopback pair: the runtime's client socket and the raw accepted descriptor
// that plays the sensor.
struct LoopbackPair {
    SA_Socket psClient = nullptr;
    int iPeer = -1;

    bool open()
    {
        int iListener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in sAddress = {};
        sAddress.sin_family = AF_INET;
        sAddress.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t sLength = sizeof(sAddress);
        if (iListener < 0 || bind(iListener, reinterpret_cast<sockaddr *>(&sAddress), sizeof(sAddress)) != 0 ||
            listen(iListener, 1) != 0 || getsockname(iListener, reinterpret_cast<sockaddr *>(&sAddress), &sLength) != 0) {
            if (iListener >= 0)
                close(iListener);
            return false;
        }
        int iConnected = SA_ConnectSocketTCPTimeout("127.0.0.1", ntohs(sAddress.sin_port), &psClient, nullptr,
                                                    nullptr, 5000);
        if (iConnected == SA_OK)
            iPeer = accept(iListener, nullptr, nullptr);
        close(iListener);
        return iConnected == SA_OK && iPeer >= 0;
    }

    bool send(const std::string &bytes) const
    {
        size_t szSent = 0;
        while (szSent < bytes.size()) {
            ssize_t sCount = ::send(iPeer, bytes.data() + szSent, bytes.size() - szSent, MSG_NOSIGNAL);
            if (sCount <= 0)
                return false;
            szSent += size_t(sCount);
        }
        return true;
    }

    // Everything the client writes until it closes.
    std::string receiveAll() const
    {
        std::string bytes;
        char aBuffer[65536];
        for (ssize_t sCount; (sCount = recv(iPeer, aBuffer, sizeof(aBuffer), 0)) > 0;)
            bytes.append(aBuffer, size_t(sCount));
        return bytes;
    }

    void closePeer()
    {
        if (iPeer >= 0)
            close(iPeer);
        iPeer = -1;
    }

    ~LoopbackPair()
    {
        closePeer();
        if (psClient)
            SA_CloseSocket(&psClient);
    }
};

} // namespace wire

#endif
