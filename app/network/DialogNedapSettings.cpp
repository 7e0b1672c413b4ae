// The sensor's Nedap GenericBadge client.
#include "DialogNedapSettings.h"
#include "ui_DialogNedapSettings.h"

#include "ZyDialogs.h"

DialogNedapSettings::DialogNedapSettings(QWidget *parent)
    : DialogSectionSettings(parent, {"network", "protocols", "nedapGenericBadge"}, tr("Set configuration")),
      ui(new Ui::DialogNedapSettings)
{
    ui->setupUi(this);
    docPath = schemaPath();
    binding.flag(ui->groupBoxEnable, "enabled");
    binding.text(ui->lineEditHost, "address").with(ui->labelHost);
    binding.number(ui->spinBoxPort, "port").with(ui->labelPort);
    binding.number(ui->spinBoxRetry, "maxRetry").with(ui->labelRetry);
    displayConfig();
}

DialogNedapSettings::~DialogNedapSettings() = default;

// A single blank still counts as an address: the sensor is told exactly what was typed.
bool DialogNedapSettings::inputAccepted()
{
    if (!ui->lineEditHost->isEnabled() || !ui->lineEditHost->text().isEmpty())
        return true;
    ZyDialogs::information(this, windowTitle(), tr("Server address can't be empty."));
    return false;
}
