/* The recording writer on a 60 s, 25 fps stream of 150 KB JPEG frames with a recognition every
 * second, into a file, against raw sequential writes of the same frame bytes. */
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "PVTWriter.h"
#include "PXR.h"

namespace {

constexpr int Frames = 60 * 25;
constexpr int FrameSize = 150 * 1024;
constexpr qint64 Start = 1700000000000;

struct Stream
{
    std::vector<PXRMsg *> messages;
    QByteArray frame = QByteArray(FrameSize, 'f');
    Stream()
    {
        for (int i = 0; i < Frames; ++i) {
            const QByteArray date = QByteArray::number(Start + 40 * i);
            PXRMsg *video = PXRMsgCreate();
            PXRMsgElement *root = PXRMsgElementCreate("video");
            PXRMsgSetChild(video, root);
            PXRMsgElementSetAttribute(root, "codec", "jpeg");
            PXRMsgElementSetAttribute(root, "date", date.constData());
            PXRMsgElement *data = PXRMsgElementCreate("data");
            PXRMsgElementSetContentBinary(data, frame.constData(), FrameSize);
            PXRMsgElementAddChild(root, data);
            messages.push_back(video);
            if (i % 25 != 0)
                continue;
            PXRMsg *anpr = PXRMsgCreate();
            PXRMsgElement *anprRoot = PXRMsgElementCreate("anpr");
            PXRMsgSetChild(anpr, anprRoot);
            PXRMsgElementSetAttribute(anprRoot, "date", date.constData());
            PXRMsgElement *decision = PXRMsgElementCreate("decision");
            PXRMsgElementSetAttribute(decision, "plate", "AB123CD");
            PXRMsgElementAddChild(anprRoot, decision);
            messages.push_back(anpr);
        }
    }
    ~Stream()
    {
        for (PXRMsg *message : messages)
            PXRMsgDestroy(message);
    }
};

const Stream &stream()
{
    static const Stream s;
    return s;
}

void BM_PVTWriter(benchmark::State &state)
{
    QTemporaryDir dir;
    PVTWriter writer(QStringLiteral("BZK"), 7, 7, 0, 2, 632);
    for (auto _ : state) {
        QFile file(dir.filePath(QStringLiteral("bench.rec")));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        writer.start(&file);
        for (PXRMsg *message : stream().messages)
            writer.write(message);
        writer.stop();
        file.close();
    }
    state.SetBytesProcessed(state.iterations() * qint64(Frames) * FrameSize);
}

void BM_RawWrites(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        QFile file(dir.filePath(QStringLiteral("bench.raw")));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int i = 0; i < Frames; ++i)
            file.write(stream().frame);
        file.close();
    }
    state.SetBytesProcessed(state.iterations() * qint64(Frames) * FrameSize);
}

} // namespace

BENCHMARK(BM_PVTWriter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWrites)->Unit(benchmark::kMillisecond);
