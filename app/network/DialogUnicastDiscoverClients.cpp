// The editor of the sensor's unicast discovery clients, each an address with or without its port.
#include "DialogUnicastDiscoverClients.h"
#include "ui_DialogUnicastDiscoverClients.h"

DialogUnicastDiscoverClients::DialogUnicastDiscoverClients(QWidget *parent) : ServerListEditor(parent), ui(new Ui::DialogUnicastDiscoverClients)
{
    ui->setupUi(this);
    setEdits({ui->edtClient1, ui->edtClient2, ui->edtClient3, ui->edtClient4});
}

DialogUnicastDiscoverClients::~DialogUnicastDiscoverClients() = default;
