// The editor of the sensor's NTP servers.
#include "DialogNTPServers.h"
#include "ui_DialogNTPServers.h"

DialogNTPServers::DialogNTPServers(QWidget *parent) : ServerListEditor(parent), ui(new Ui::DialogNTPServers)
{
    ui->setupUi(this);
    setEdits({ui->edtNTP1, ui->edtNTP2, ui->edtNTP3});
}

DialogNTPServers::~DialogNTPServers() = default;
