// The editor of the sensor's DNS servers.
#include "DialogDNSServers.h"
#include "ui_DialogDNSServers.h"

DialogDNSServers::DialogDNSServers(QWidget *parent) : ServerListEditor(parent), ui(new Ui::DialogDNSServers)
{
    ui->setupUi(this);
    setEdits({ui->edtDNS1, ui->edtDNS2, ui->edtDNS3});
}

DialogDNSServers::~DialogDNSServers() = default;
