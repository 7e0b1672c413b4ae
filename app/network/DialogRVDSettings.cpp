// The sensor's link to the RVD service.
#include "DialogRVDSettings.h"
#include "ui_DialogRVDSettings.h"

#include <optional>

DialogRVDSettings::DialogRVDSettings(QWidget *parent)
    : DialogSectionSettings(parent, {"services", "rvd"}, tr("Configuration")), ui(new Ui::DialogRVDSettings)
{
    ui->setupUi(this);
    docPath = schemaPath();
    ui->comboZone->fill(docPath, QStringLiteral("zone"));
    binding.flag(ui->groupRVD, "enabled", SettingsBinding::EnableAndShow);
    // An empty address sends the sensor back to the default server, so it goes out whenever
    // the own server is not chosen; an own server's URL only while its field is usable.
    binding.text(ui->edtRVDAddress, "address")
        .with(ui->labelRVDAddress)
        .sentWhen(ui->groupRVD)
        .sends([this](const SettingsBinding::Entry &entry) -> std::optional<QByteArray> {
            if (!ui->checkRVDLocal->isChecked())
                return QByteArray("");
            return ui->edtRVDAddress->isEnabled() ? entry.controlValue() : std::nullopt;
        });
    binding.flag(ui->checkRVDIgnoreSSLErrors, "ignoreSSLErrors")
        .sends([this](const SettingsBinding::Entry &entry) {
            return ui->checkRVDLocal->isChecked() ? entry.controlValue() : std::nullopt;
        });
    binding.choice(ui->comboZone, "zone").with(ui->labelZone);
    displayConfig();
    ui->checkRVDLocal->setChecked(!ui->edtRVDAddress->text().isEmpty() && binding.present("address"));
    on_checkRVDLocal_stateChanged(ui->checkRVDLocal->checkState());
}

DialogRVDSettings::~DialogRVDSettings() = default;

// The zone belongs to the default server; the URL, its certificate check and the note to an own
// one.
void DialogRVDSettings::on_checkRVDLocal_stateChanged(int state)
{
    const bool own = state != Qt::Unchecked;
    ui->labelZone->setVisible(!own);
    ui->comboZone->setVisible(!own);
    for (QWidget *widget : {static_cast<QWidget *>(ui->labelRVDAddress), static_cast<QWidget *>(ui->edtRVDAddress),
                            static_cast<QWidget *>(ui->checkRVDIgnoreSSLErrors), static_cast<QWidget *>(ui->labelRVDNote)})
        widget->setVisible(own);
}

bool DialogRVDSettings::inputAccepted()
{
    return !ui->checkRVDLocal->isChecked()
        || urlAccepted(ui->edtRVDAddress, tr("Error"), tr("Address is invalid, maybe missing trailing / ?"));
}
