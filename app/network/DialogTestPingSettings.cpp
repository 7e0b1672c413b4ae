// The periodic ping test of the sensor's modem link.
#include "DialogTestPingSettings.h"
#include "ui_DialogTestPingSettings.h"

#include "ZyDialogs.h"

DialogTestPingSettings::DialogTestPingSettings(QWidget *parent)
    : DialogSectionSettings(parent, {"modem", "pingTest"}, tr("Configuration")),
      ui(new Ui::DialogTestPingSettings)
{
    ui->setupUi(this);
    docPath = schemaPath();
    takeSchemaRange(ui->spinInterval, "interval_min");
    binding.flag(ui->groupBoxEnable, "enabled");
    binding.text(ui->edtAddress, "address").with(ui->labelAddress);
    binding.number(ui->spinInterval, "interval_min").with(ui->labelInterval);
    displayConfig();
}

DialogTestPingSettings::~DialogTestPingSettings() = default;

// Blanks count as an address: the sensor is told exactly what was typed.
bool DialogTestPingSettings::inputAccepted()
{
    if (!ui->edtAddress->isEnabled() || !ui->edtAddress->text().isEmpty())
        return true;
    ZyDialogs::critical(this, tr("Error"), tr("Address is empty"));
    return false;
}
