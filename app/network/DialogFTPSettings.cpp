// The sensor's export of its results to up to four FTP servers.
#include "DialogFTPSettings.h"
#include "ui_DialogFTPSettings.h"

#include "ConfigRequest.h"
#include "Model.h"

DialogFTPSettings::DialogFTPSettings(QWidget *parent) : Dialog_Settings(parent), ui(new Ui::DialogFTPSettings)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "network", "ftp"};
    extraDocPaths.append(QStringList{"config", "network", "ftp", "servers", "server0"});
    for (const Server &server : servers())
        server.group->collapse();
    displayConfig();
}

DialogFTPSettings::~DialogFTPSettings() = default;

std::array<DialogFTPSettings::Server, 4> DialogFTPSettings::servers() const
{
    return {{{"server0", ui->groupServer0, ui->widgetServer0},
             {"server1", ui->groupServer1, ui->widgetServer1},
             {"server2", ui->groupServer2, ui->widgetServer2},
             {"server3", ui->groupServer3, ui->widgetServer3}}};
}

void DialogFTPSettings::displayConfig()
{
    PXRMsgElement *network = PXRMsgElementFirstChild(PXRMsgChild(model->config()), "network");
    PXRMsgElement *ftp = PXRMsgElementFirstChild(network, "ftp");
    PXRMsgElement *list = PXRMsgElementFirstChild(ftp, "servers");
    const char *enabled = PXRMsgElementAttributeValue(ftp, "enabled");
    ui->checkEnabled->setEnabled(enabled != nullptr);
    ui->checkEnabled->setChecked(PXRMsgStrToBool(enabled) != 0);
    on_checkEnabled_stateChanged(ui->checkEnabled->checkState());
    for (const Server &server : servers()) {
        PXRMsgElement *element = PXRMsgElementFirstChild(list, server.name);
        server.group->setEnabled(element != nullptr);
        if (element == nullptr)
            continue;
        server.group->setChecked(PXRMsgStrToBool(PXRMsgElementAttributeValue(element, "enabled")) != 0);
        server.editor->readConfig(element);
    }
}

void DialogFTPSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    const ConfigElement ftp = request.path({{"config"}, {"network"}, {"ftp"}});
    const ConfigElement list = ftp.path({{"servers"}});
    if (ui->checkEnabled->isEnabled())
        ftp.set("enabled", ui->checkEnabled->isChecked());
    // A group is usable only when the sensor has that server and the export is on.
    for (const Server &server : servers()) {
        if (!server.group->isEnabled())
            continue;
        const ConfigElement element = list.path({{server.name}});
        element.set("enabled", server.group->isChecked());
        server.editor->writeConfig(element);
    }
    sendRequest(request, tr("Configuration"));
}

void DialogFTPSettings::on_buttonBox_rejected()
{
    reject();
}

void DialogFTPSettings::on_checkEnabled_stateChanged(int state)
{
    ui->widget->setEnabled(state == Qt::Checked);
}
