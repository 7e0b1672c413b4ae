// libFuzzer target of what the application does with a sensor's messages: each message read
// from fuzzed wire bytes ("config", "infos", recognitions, "video", anything) goes to the model's
// dispatch as a push from the sensor (kept trees merged, recognitions grouped, pictures decoded),
// then the sensor docks' trees and camera page are filled from what the model kept, offscreen,
// as the main window does on its refresh signals; no value a sensor sends may crash them.
#include "FuzzPieces.h"
#include "Model.h"
#include "WidgetCameraSettings.h"
#include "WidgetGeneralSettings.h"
#include "WidgetSettings.h"

#include <QApplication>

namespace {

// The application and the docks live for the whole run and are never destroyed: Qt's objects
// must not meet the program's exit handlers. The model is cleared after each input.
struct Docks {
    Docks()
    {
        Model::instance()->masterPlayer().setCameraId(0);
    }
    WidgetSettings settings;
    WidgetGeneralSettings informations;
    WidgetCameraSettings camera;
};

Docks &docks()
{
    static int argc = 1;
    static char name[] = "fuzz_app_messages";
    static char *argv[] = {name, nullptr};
    static Docks *held = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
        return new Docks;
    }();
    return *held;
}

void refreshDocks(Docks &docks)
{
    Model *model = Model::instance();
    model->parseInfos();
    docks.informations.fillInfos();
    docks.settings.reload();
    docks.camera.fillCameras();
    docks.camera.loadConfig();
}

} // namespace

// Fontconfig drops a few blocks of its cache when the first font is looked up.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pu8Data, size_t szSize)
{
    Docks &held = docks();
    Model *model = Model::instance();
    for (std::string_view bytes : fuzzpieces::split(pu8Data, szSize, 6)) {
        PXRMsg *psMsg = PXRMsgCreate();
        if (!PXRMsgImportFromBinaryArray(psMsg, bytes.data(), uint32_t(bytes.size()))) {
            PXRMsgDestroy(psMsg);
            continue;
        }
        // The model takes the message over.
        emit model->masterSensor().signalMsgReceived(psMsg);
    }
    // One refresh for the lot, as the model's refresh delay gathers close pushes; the trees
    // outlive the input, so the next one refills what this one left.
    refreshDocks(held);
    QApplication::processEvents();
    model->clear();
    refreshDocks(held);
    return 0;
}
