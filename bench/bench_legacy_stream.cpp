// The legacy stream's throughput: JPEG frames of 100-300 KB and recognitions with two pictures
// pushed by the test sensor, received through a light handle's callbacks and as PXR messages
// from a bridged handle's receive queue, beside a raw loopback read of the same bytes in the
// same run.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "KgvBlocks.h"
#include "KgvDevice.h"
#include "KgvSensor.h"
#include "KgvStreamPackets.h"
#include "Lumatrek.h"
#include "PXR.h"
#include "SA_Core.h"
#include "SA_Net.h"

using kgvsim::Block;
using kgvsim::fourcc;
using kgvsim::packet;
using kgvsim::Port;

namespace {

const int kFrames = 8;
const int kRecognitions = 4;

// One burst: frames of 100 to 300 KB, then recognitions with two pictures of 40 KB each.
std::string burst()
{
    std::string bytes;
    for (int i = 0; i < kFrames; i++) {
        const size_t szFrame = 100000 + size_t(i) * 200000 / (kFrames - 1);
        bytes += packet(fourcc("JPEG"), std::string(Block(12).u32(4, uint32_t(i)).u32(8, 1)) +
                                            std::string(szFrame, char(0xA5)));
    }
    for (int i = 0; i < kRecognitions; i++) {
        Block head(88);
        head.u32(4, 1).text(40, 16, "AB123CD").u32(64, 40000);
        bytes += packet(fourcc("KGVC"), std::string(head) + std::string(80000, char(0x5A)));
    }
    return bytes;
}

struct Counter {
    std::mutex m;
    std::condition_variable cv;
    int iPackets = 0;
    void add()
    {
        std::lock_guard lock(m);
        iPackets++;
        cv.notify_all();
    }
    bool waitFor(int iCount)
    {
        std::unique_lock lock(m);
        return cv.wait_for(lock, std::chrono::seconds(10), [&] { return iPackets >= iCount; });
    }
};

void onFrame(LumatrekHandle *, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, const uint8_t *, void *p)
{
    static_cast<Counter *>(p)->add();
}
void onRecognition(LumatrekHandle *, LumatrekRecognition *psRecord, void *p)
{
    LumatrekReleaseRecognition(&psRecord);
    static_cast<Counter *>(p)->add();
}

void setCounters(benchmark::State &state, size_t szBytes)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(szBytes));
    state.SetItemsProcessed(int64_t(state.iterations()) * (kFrames + kRecognitions));
}

void BM_RawLoopbackRead(benchmark::State &state)
{
    SA_Init(0, 0, -1);
    const std::string bytes = burst();
    kgvsim::KgvSensor sensor;
    SA_Socket psSocket = nullptr;
    if (SA_ConnectSocketTCPTimeout("127.0.0.1", sensor.port(Port::Stream), &psSocket, nullptr, nullptr, 2000) !=
            SA_OK ||
        !sensor.waitForOpenCount(Port::Stream, 1, std::chrono::seconds(5))) {
        state.SkipWithError("no connection");
        SA_Release();
        return;
    }
    std::string buffer(bytes.size(), '\0');
    for (auto _ : state) {
        sensor.send(Port::Stream, bytes);
        if (SA_ReadSocketLength(psSocket, buffer.data(), uint32_t(buffer.size()), 10000) != SA_OK) {
            state.SkipWithError("read failed");
            break;
        }
    }
    setCounters(state, bytes.size());
    SA_CloseSocket(&psSocket);
    SA_Release();
}
BENCHMARK(BM_RawLoopbackRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LightHandleCallbacks(benchmark::State &state)
{
    SA_Init(0, 0, -1);
    LumatrekSetLogFile(nullptr, 0);
    const std::string bytes = burst();
    kgvsim::KgvSensor sensor;
    sensor.setGreeting(Port::Stream, packet(274, kgvsim::versionBlock({})));
    Counter counter;
    LumatrekHandle *psHandle =
        LumatrekCreateLightStream(sensor.connectionText().c_str(), 1, 0, nullptr, nullptr, nullptr, nullptr);
    if (!psHandle || !LumatrekAddXpegCallback(psHandle, &onFrame, &counter) ||
        !LumatrekAddRemoteRecognition(psHandle, 0, &onRecognition, &counter) ||
        !sensor.waitForPacket(Port::Stream, 2, std::chrono::seconds(5))) {
        state.SkipWithError("no stream");
        LumatrekDestroy(&psHandle);
        SA_Release();
        return;
    }
    int iExpected = 0;
    for (auto _ : state) {
        iExpected += kFrames + kRecognitions;
        sensor.send(Port::Stream, bytes);
        if (!counter.waitFor(iExpected)) {
            state.SkipWithError("packets lost");
            break;
        }
    }
    setCounters(state, bytes.size());
    LumatrekDestroy(&psHandle);
    SA_Release();
}
BENCHMARK(BM_LightHandleCallbacks)->Unit(benchmark::kMillisecond)->UseRealTime();

// Pops messages until the count of video and anpr messages is reached; false after 10 s.
bool popBridged(PXR *psPxr, int iCount)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (iCount > 0 && std::chrono::steady_clock::now() < deadline) {
        PXRMsg *psMsg = PXRPopMessage(psPxr);
        if (!psMsg) {
            PXRWaitForNewMessage(psPxr, 100);
            continue;
        }
        const char *pcszRoot = PXRMsgElementName(PXRMsgChild(psMsg));
        iCount -= PXRMsgStringEqual(pcszRoot, "video") || PXRMsgStringEqual(pcszRoot, "anpr");
        PXRMsgDestroy(psMsg);
    }
    return iCount <= 0;
}

void BM_BridgeReceiveQueue(benchmark::State &state)
{
    PXR_initLibrary();
    const std::string bytes = burst();
    kgvsim::KgvSensor sensor;
    kgvsim::KgvClock clock(sensor, 0x10000);
    sensor.setGreeting(Port::Stream, kgvsim::streamConfiguration({}));
    PXR *psPxr = PXRCreate();
    const std::string options = "timePort=" + std::to_string(sensor.port(Port::Time));
    if (!psPxr || !PXRBind(psPxr, "127.0.0.1", sensor.port(Port::Stream), options.c_str()) ||
        !PXRWaitForConnection(psPxr, 10000)) {
        state.SkipWithError("not connected");
        PXRDestroy(psPxr);
        PXR_releaseLibrary();
        return;
    }
    for (auto _ : state) {
        sensor.send(Port::Stream, bytes);
        if (!popBridged(psPxr, kFrames + kRecognitions)) {
            state.SkipWithError("messages lost");
            break;
        }
    }
    setCounters(state, bytes.size());
    PXRDestroy(psPxr);
    PXR_releaseLibrary();
}
BENCHMARK(BM_BridgeReceiveQueue)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
