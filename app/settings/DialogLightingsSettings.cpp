// How all the sensor's lightings follow the camera shutter.
#include "DialogLightingsSettings.h"
#include "ui_DialogLightingsSettings.h"

#include "ConfigRequest.h"
#include "Model.h"
#include "ZyLumatrekTr.h"

DialogLightingsSettings::DialogLightingsSettings(QWidget *parent)
    : Dialog_Settings(parent), ui(new Ui::DialogLightingsSettings)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "lightings"};
    const QStringList values = model->schemaDoc().enumValues(docPath, "shutterSynchronization");
    for (qsizetype i = 0; i + 1 < values.size(); i += 2)
        ui->cboMode->addItem(ZyLumatrekTr::phaseLabel(values[i].toUtf8().constData()), values[i]);
    binding.item(ui->cboMode, "shutterSynchronization").with(ui->labelMode);
    // The synchronisation is all this dialog edits: lightings without it are settings the
    // sensor lacks.
    PXRMsgElement *lightings = PXRMsgElementFirstChild(PXRMsgChild(model->config()), "lightings");
    const bool synchronized = PXRMsgElementAttributeValue(lightings, "shutterSynchronization") != nullptr;
    showElement(synchronized ? lightings : nullptr);
}

DialogLightingsSettings::~DialogLightingsSettings() = default;

void DialogLightingsSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(request.path({{"config"}, {"lightings"}}));
    sendRequest(request, tr("Configuration"));
}

void DialogLightingsSettings::on_buttonBox_rejected()
{
    reject();
}
