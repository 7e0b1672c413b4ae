// Cost of the model's road for a video message (recorder idle, master player live and buffering,
// its display off so the decoder is not measured again) beside only destroying the message.
#include "Model.h"
#include "PXR.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// A 20 kB H.264 block of camera 0, copied for each round as the library hands over a new message.
PXRMsg *VideoTemplate()
{
    static PXRMsg *msg = [] {
        PXRMsg *made = PXRMsgCreate();
        PXRMsgElement *root = PXRMsgElementCreate("video");
        PXRMsgElementSetAttribute(root, "codec", "h264");
        PXRMsgElementSetAttribute(root, "cameraId", "0");
        PXRMsgElementSetAttribute(root, "date", "1700000000000");
        PXRMsgSetChild(made, root);
        PXRMsgElement *data = PXRMsgElementCreate("data");
        // An inter slice, as most of a stream is: its start code comes first.
        std::vector<uint8_t> bytes(20000, 0x5a);
        const uint8_t slice[] = {0, 0, 0, 1, 0x41};
        std::copy(std::begin(slice), std::end(slice), bytes.begin());
        PXRMsgElementSetContentBinary(data, bytes.data(), uint32_t(bytes.size()));
        PXRMsgElementAddChild(root, data);
        PXRMsgSetReadOnly(made, 1);
        return made;
    }();
    return msg;
}

// A new message as the library hands it over: read-only, so that holders share it.
PXRMsg *Received()
{
    PXRMsg *msg = PXRMsgCopy(VideoTemplate());
    PXRMsgSetReadOnly(msg, 1);
    return msg;
}

void BM_DestroyOnly(benchmark::State &state)
{
    for (auto _ : state)
        PXRMsgDestroy(Received());
}
BENCHMARK(BM_DestroyOnly);

void BM_ModelDispatchVideo(benchmark::State &state)
{
    Model *model = Model::instance();
    VideoPlayer &player = model->masterPlayer();
    player.setCameraId(0);
    // Reception times 40 ms apart keep the live buffer at its usual length.
    QDateTime received = QDateTime::currentDateTimeUtc();
    player.setClock([&received] { return received = received.addMSecs(40); });
    for (auto _ : state)
        emit model->masterSensor().signalMsgReceived(Received());
    Model::deleteInstance();
}
BENCHMARK(BM_ModelDispatchVideo);

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir settings;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, settings.filePath("user"));
        QSettings::setPath(format, QSettings::SystemScope, settings.filePath("system"));
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("BenchModel");
    QSettings().setValue("display/video", false);
    if (PXR_initLibrary() != 1)
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PXR_releaseLibrary();
    return 0;
}
