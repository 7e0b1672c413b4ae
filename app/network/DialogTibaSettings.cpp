// The sensor's Tiba parking-system client.
#include "DialogTibaSettings.h"
#include "ui_DialogTibaSettings.h"

DialogTibaSettings::DialogTibaSettings(QWidget *parent)
    : DialogSectionSettings(parent, {"network", "protocols", "tiba"}, tr("Configuration")),
      ui(new Ui::DialogTibaSettingsClass)
{
    ui->setupUi(this);
    docPath = schemaPath();
    bindWebClient(*ui);
    binding.text(ui->edtGUID, "guid").with(ui->labelHost_5);
    // Signed on the sensor, shown from 0: a negative lane goes back as read unless edited.
    binding.number(ui->spinLaneId, "laneId").with(ui->label);
    binding.flag(ui->checkIgnoreSSLErrors, "ignoreSSLErrors");
    binding.flag(ui->checkSendOnlyTriggerResult, "sendOnlyTriggerResult");
    displayConfig();
}

DialogTibaSettings::~DialogTibaSettings() = default;
