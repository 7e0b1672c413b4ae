// Whether the sensor synchronises its cameras.
#include "DialogCamerasSettings.h"
#include "ui_DialogCamerasSettings.h"

#include "ConfigRequest.h"
#include "Model.h"

DialogCamerasSettings::DialogCamerasSettings(QWidget *parent)
    : Dialog_Settings(parent), ui(new Ui::DialogCamerasSettings)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "cameras"};
    binding.flag(ui->checkSynchro, "cameraSynchro", SettingsBinding::EnableAndShow);
    displayConfig();
}

DialogCamerasSettings::~DialogCamerasSettings() = default;

// The switch is all this dialog edits: a sensor without it lacks these settings.
void DialogCamerasSettings::displayConfig()
{
    PXRMsgElement *cameras = PXRMsgElementFirstChild(PXRMsgChild(model->config()), "cameras");
    const bool hasSwitch = PXRMsgElementAttributeValue(cameras, "cameraSynchro") != nullptr;
    showElement(hasSwitch ? cameras : nullptr);
}

void DialogCamerasSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(request.path({{"config"}, {"cameras"}}));
    sendRequest(request, tr("Configuration"));
}

void DialogCamerasSettings::on_buttonBox_rejected()
{
    reject();
}
