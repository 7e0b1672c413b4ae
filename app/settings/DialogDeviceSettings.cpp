// The sensor's name and its installation distances.
#include "DialogDeviceSettings.h"
#include "ui_DialogDeviceSettings.h"

#include "ConfigRequest.h"
#include "Model.h"
#include "ZyDialogs.h"

namespace {

QString trimmedName(const Ui::DialogDeviceSettings &ui)
{
    return ui.txtName->text().trimmed();
}

} // namespace

DialogDeviceSettings::DialogDeviceSettings(QWidget *parent) : Dialog_Settings(parent), ui(new Ui::DialogDeviceSettings)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "device"};
    takeSchemaRange(ui->spinInstallationHeight, "installationHeight_cm");
    takeSchemaRange(ui->spinDistanceToDetectionLoop, "distanceToDetectionLoop_cm");
    takeSchemaRange(ui->spinDistanceToBarrier, "distanceToBarrier_cm");
    binding.text(ui->txtName, "name").with(ui->labelName).sends([this](const SettingsBinding::Entry &) {
        return std::optional<QByteArray>(trimmedName(*ui).toUtf8());
    });
    binding.number(ui->spinInstallationHeight, "installationHeight_cm").with(ui->labelInstallationHeight);
    binding.number(ui->spinDistanceToDetectionLoop, "distanceToDetectionLoop_cm")
        .with(ui->labelDistanceToDetectionLoop);
    binding.number(ui->spinDistanceToBarrier, "distanceToBarrier_cm").with(ui->labelDistanceToBarrier);
    showElement(PXRMsgElementFirstChild(PXRMsgChild(model->config()), "device"));
}

DialogDeviceSettings::~DialogDeviceSettings() = default;

void DialogDeviceSettings::on_buttonBox_accepted()
{
    if (binding.present("name") && trimmedName(*ui).isEmpty()) {
        ZyDialogs::critical(this, tr("Error"), tr("Name cannot be empty"));
        return;
    }
    ConfigRequest request("setConfig");
    binding.write(request.path({{"config"}, {"device"}}));
    sendRequest(request, tr("Configuration"));
}

void DialogDeviceSettings::on_buttonBox_rejected()
{
    reject();
}
