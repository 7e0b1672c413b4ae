// The sensor as master of its slaves.
#include "DialogMasterSlaveSettings.h"
#include "ui_DialogMasterSlaveSettings.h"

#include "ConfigRequest.h"
#include "DialogSelectSensor.h"
#include "Model.h"
#include "ZyDialogs.h"
#include "ZyModalRunner.h"

#include <QRegularExpression>

namespace
{

const char kNoSlave[] = "00:00:00:00:00:00";

// Six pairs of hexadecimal digits joined by colons, as the sensor writes them.
bool validMac(const QString &text)
{
    static const QRegularExpression mac(QStringLiteral("^[0-9A-Fa-f]{2}(:[0-9A-Fa-f]{2}){5}$"));
    return mac.match(text).hasMatch();
}

} // namespace

DialogMasterSlaveSettings::DialogMasterSlaveSettings(QWidget *parent)
    : Dialog_Settings(parent), ui(new Ui::DialogMasterSlaveSettings)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "slaves"};
    ui->comboMode->fill(docPath, "mode");
    ui->comboSlavePosition->fill({"config", "slaves", "slaveAnpr"}, "position");
    binding.choice(ui->comboMode, "mode").with(ui->labelMode);
    bindSlaveMac(m_anprBinding, ui->groupSlaveAnpr, ui->txtAnprMac);
    // Sent as read whether or not the slave is set, as the sensor keeps them.
    m_anprBinding.choice(ui->comboSlavePosition, "position").with(ui->labelSlavePosition).sentWhen(ui->groupSlaveAnpr);
    m_anprBinding.number(ui->spinCoveringZone, "coveringZone").with(ui->labelCoveringZone).sentWhen(ui->groupSlaveAnpr);
    bindSlaveMac(m_contextBinding, ui->groupSlaveContext, ui->txtContextMac);
    displayConfig();
}

DialogMasterSlaveSettings::~DialogMasterSlaveSettings() = default;

void DialogMasterSlaveSettings::bindSlaveMac(SettingsBinding &slave, QGroupBox *group, QLineEdit *mac)
{
    // A slave without its MAC cannot be told; its group goes with it.
    slave.text(mac, "macAddress").with(group).sentWhen(group).sends([group, mac](const SettingsBinding::Entry &) {
        return group->isChecked() ? mac->text().toLatin1() : QByteArray(kNoSlave);
    });
}

void DialogMasterSlaveSettings::displayConfig()
{
    PXRMsgElement *slaves = PXRMsgElementFirstChild(PXRMsgChild(model->config()), "slaves");
    ui->groupSlaveAnpr->setChecked(false);
    ui->groupSlaveContext->setChecked(false);
    showElement(slaves);
    showSlave(m_anprBinding, PXRMsgElementFirstChild(slaves, "slaveAnpr"), ui->groupSlaveAnpr, ui->txtAnprMac);
    showSlave(m_contextBinding, PXRMsgElementFirstChild(slaves, "slaveContext"), ui->groupSlaveContext,
              ui->txtContextMac);
    on_comboMode_currentIndexChanged(0);
}

void DialogMasterSlaveSettings::showSlave(SettingsBinding &slave, PXRMsgElement *element, QGroupBox *group,
                                          QLineEdit *mac)
{
    slave.load(element);
    const char *address = PXRMsgElementAttributeValue(element, "macAddress");
    const bool set = address != nullptr && qstricmp(address, kNoSlave) != 0;
    group->setChecked(set);
    if (!set)
        mac->clear();
}

bool DialogMasterSlaveSettings::configuredMode() const
{
    return ui->comboMode->currentValue() == "configured";
}

void DialogMasterSlaveSettings::on_comboMode_currentIndexChanged(int)
{
    ui->groupSlaveAnpr->setVisible(configuredMode());
    ui->groupSlaveContext->setVisible(configuredMode());
}

void DialogMasterSlaveSettings::on_btnSlaveAnprSelection_clicked()
{
    pickSlave(QStringLiteral("anpr"), ui->txtAnprMac);
}

void DialogMasterSlaveSettings::on_btnSlaveContextSelection_clicked()
{
    pickSlave(QStringLiteral("streaming"), ui->txtContextMac);
}

// Without the sensor's own MAC it could be picked as its own slave: nothing is offered then.
void DialogMasterSlaveSettings::pickSlave(const QString &algorithm, QLineEdit *mac)
{
    PXRMsgElement *sensor = PXRMsgElementFirstChild(PXRMsgChild(model->infos()), "sensor");
    const char *ownMac = PXRMsgElementAttributeValue(sensor, "macAddress");
    if (ownMac == nullptr)
        return;
    QString chosen;
    DialogSelectSensor select(this);
    select.setParameters(QString::fromLatin1(ownMac), algorithm, &chosen);
    if (ZyModalRunner::exec(&select) == QDialog::Accepted)
        mac->setText(chosen);
}

bool DialogMasterSlaveSettings::slavesValid()
{
    QString fault;
    if (!ui->groupSlaveAnpr->isChecked() && !ui->groupSlaveContext->isChecked())
        fault = tr("You must select at least one ANPR slave or one context slave");
    else if (ui->groupSlaveAnpr->isChecked() && !validMac(ui->txtAnprMac->text()))
        fault = tr("Invalid ANPR MAC address");
    else if (ui->groupSlaveContext->isChecked() && !validMac(ui->txtContextMac->text()))
        fault = tr("Invalid Context MAC address");
    if (fault.isEmpty())
        return true;
    ZyDialogs::critical(this, tr("Error"), fault);
    return false;
}

void DialogMasterSlaveSettings::on_buttonBox_accepted()
{
    if (configuredMode() && !slavesValid())
        return;
    ConfigRequest request("setConfig");
    const ConfigElement slaves = request.path({{"config"}, {"slaves"}});
    binding.write(slaves);
    if (ui->groupSlaveAnpr->isEnabled())
        m_anprBinding.write(slaves.path({{"slaveAnpr"}}));
    if (ui->groupSlaveContext->isEnabled())
        m_contextBinding.write(slaves.path({{"slaveContext"}}));
    sendRequest(request, tr("Configuration"));
}

void DialogMasterSlaveSettings::on_buttonBox_rejected()
{
    reject();
}
