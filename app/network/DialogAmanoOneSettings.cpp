// The sensor's Amano One client.
#include "DialogAmanoOneSettings.h"
#include "ui_DialogAmanoOneSettings.h"

DialogAmanoOneSettings::DialogAmanoOneSettings(QWidget *parent)
    : DialogSectionSettings(parent, {"network", "protocols", "amanoOne"}, tr("Configuration")),
      ui(new Ui::DialogAmanoOneSettingsClass)
{
    ui->setupUi(this);
    docPath = schemaPath();
    bindWebClient(*ui);
    binding.flag(ui->checkIgnoreSSLErrors, "ignoreSSLErrors");
    binding.flag(ui->checkSendOnlyTriggerResults, "sendOnlyTriggerResult");
    displayConfig();
}

DialogAmanoOneSettings::~DialogAmanoOneSettings() = default;
