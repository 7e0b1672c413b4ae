// The sensor's Moobyl client.
#include "DialogMoobylSettings.h"
#include "ui_DialogMoobylSettings.h"

DialogMoobylSettings::DialogMoobylSettings(QWidget *parent)
    : DialogSectionSettings(parent, {"network", "protocols", "moobyl"}, tr("Configuration")),
      ui(new Ui::DialogMoobylSettings)
{
    ui->setupUi(this);
    docPath = schemaPath();
    ui->comboZone->fill(docPath, QStringLiteral("zone"));
    binding.flag(ui->checkActivate, "enabled");
    binding.choice(ui->comboZone, "zone").with(ui->label);
    displayConfig();
}

DialogMoobylSettings::~DialogMoobylSettings() = default;
