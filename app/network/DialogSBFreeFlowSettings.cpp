// The sensor's S&B Free Flow client.
#include "DialogSBFreeFlowSettings.h"
#include "ui_DialogSBFreeFlowSettings.h"

DialogSBFreeFlowSettings::DialogSBFreeFlowSettings(QWidget *parent)
    : DialogSectionSettings(parent, {"network", "protocols", "SBFreeFlow"}, tr("Configuration")),
      ui(new Ui::DialogSBFreeFlowSettingsClass)
{
    ui->setupUi(this);
    docPath = schemaPath();
    bindWebClient(*ui);
    displayConfig();
}

DialogSBFreeFlowSettings::~DialogSBFreeFlowSettings() = default;
