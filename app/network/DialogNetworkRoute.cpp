// The entry of one static route of the sensor.
#include "DialogNetworkRoute.h"
#include "ui_DialogNetworkRoute.h"

#include "ZyDialogs.h"

DialogNetworkRoute::DialogNetworkRoute(QWidget *parent) : QDialog(parent), ui(new Ui::DialogNetworkRoute)
{
    ui->setupUi(this);
    ui->cboInterface->fill({"config", "network", "routes", "route"}, "interface");
}

DialogNetworkRoute::~DialogNetworkRoute() = default;

QString DialogNetworkRoute::destination() const
{
    return ui->edtDestination->text();
}

QString DialogNetworkRoute::gateway() const
{
    return ui->edtGateway->text();
}

QString DialogNetworkRoute::interfaceName() const
{
    return QString::fromUtf8(ui->cboInterface->currentValue());
}

void DialogNetworkRoute::on_buttonBox_accepted()
{
    if (ui->edtDestination->text().isEmpty()) {
        ZyDialogs::critical(this, tr("Error"), tr("Destination can't be empty"));
        return;
    }
    accept();
}

void DialogNetworkRoute::on_buttonBox_rejected()
{
    reject();
}
