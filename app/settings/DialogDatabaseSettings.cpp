// The sensor's own plate database: in use, open for every plate, match tolerance.
#include "DialogDatabaseSettings.h"
#include "ui_DialogDatabaseSettings.h"

#include "ConfigRequest.h"
#include "Model.h"

DialogDatabaseSettings::DialogDatabaseSettings(QWidget *parent)
    : Dialog_Settings(parent), ui(new Ui::DialogDatabaseSettings)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "database"};
    takeSchemaRange(ui->spinTolerance, "matchTolerance");
    binding.flag(ui->groupEnable, "enabled");
    binding.flag(ui->checkOpenForAll, "openForAll");
    binding.number(ui->spinTolerance, "matchTolerance").with(ui->labelTolerance);
    displayConfig();
}

DialogDatabaseSettings::~DialogDatabaseSettings() = default;

void DialogDatabaseSettings::displayConfig()
{
    showElement(PXRMsgElementFirstChild(PXRMsgChild(model->config()), "database"));
}

void DialogDatabaseSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(request.path({{"config"}, {"database"}}));
    sendRequest(request, tr("Configuration"));
}

void DialogDatabaseSettings::on_buttonBox_rejected()
{
    reject();
}
