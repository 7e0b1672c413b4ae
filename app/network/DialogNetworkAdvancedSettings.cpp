// The Wi-Fi, VLAN and route settings of the sensor's network.
#include "DialogNetworkAdvancedSettings.h"
#include "ui_DialogNetworkAdvancedSettings.h"

#include "ConfigRequest.h"
#include "DialogNetworkRoute.h"
#include "DialogNetworkScanWifi.h"
#include "IpAddressCheck.h"
#include "MainWindowInterface.h"
#include "Model.h"
#include "MsgManager.h"
#include "PXRMessage.h"
#include "PXRPrivateToolBox.h"
#include "ZyADTreeWidgetItem.h"
#include "ZyDialogs.h"
#include "ZyModalRunner.h"

#include <cstdlib>
#include <cstring>

namespace {

// A field usable exactly when the element has the attribute, showing its text then.
void loadField(QWidget *field, PXRMsgElement *element, const char *attribute)
{
    const char *value = PXRMsgElementAttributeValue(element, attribute);
    field->setEnabled(value != nullptr);
    if (value == nullptr)
        return;
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->setText(QString::fromUtf8(value));
    else if (auto *spin = qobject_cast<QSpinBox *>(field))
        spin->setValue(std::atoi(value));
    else if (auto *box = qobject_cast<QAbstractButton *>(field))
        box->setChecked(PXRMsgStrToBool(value) != 0);
}

// The check state from the switch, toggled on the way so that the group always hears of it.
void loadSwitch(QGroupBox *group, PXRMsgElement *element)
{
    const bool enabled = PXRMsgStrToBool(PXRMsgElementAttributeValue(element, "enable")) != 0;
    group->setChecked(!enabled);
    group->setChecked(enabled);
}

void showGroup(QWidget *group, bool shown)
{
    group->setVisible(shown);
    group->setEnabled(shown);
}

// Usable as the operator meets it: enabled, and checked for a switch group.
bool switchedOn(const QGroupBox *group)
{
    return group->isEnabled() && group->isChecked();
}

} // namespace

DialogNetworkAdvancedSettings::DialogNetworkAdvancedSettings(QWidget *parent)
    : Dialog_Settings(parent), ui(new Ui::DialogNetworkAdvancedSettings)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "network"};
    ui->treeRoutes->initAD({tr("Destination"), tr("Interface"), tr("Gateway")}, true, tr("Add route..."));
    ui->treeRoutes->sortByColumn(0, Qt::AscendingOrder);
    connect(ui->treeRoutes, &ZyADTreeWidget::signalAdd, this, &DialogNetworkAdvancedSettings::onAddRoute);
    connect(ui->treeRoutes, &ZyADTreeWidget::signalDel, this, &DialogNetworkAdvancedSettings::onDelRoute);
    ui->comboMode->fill({"config", "network", "interfaceWifi"}, "mode");
    ui->comboEncryption->fill({"config", "network", "interfaceWifi", "accessPoint"}, "encryption");
    ui->comboZone->fill({"config", "network", "interfaceWifi", "accessPoint"}, "zone");
    PXRMsgElement *network = PXRMsgElementFirstChild(PXRMsgChild(model->config()), "network");
    loadRoutes(PXRMsgElementFirstChild(network, "routes"));
    for (const Vlan &vlan : vlans())
        loadVlan(vlan, PXRMsgElementFirstChild(network, vlan.element));
    loadWifi(PXRMsgElementFirstChild(network, "interfaceWifi"));
}

DialogNetworkAdvancedSettings::~DialogNetworkAdvancedSettings() = default;

int DialogNetworkAdvancedSettings::exec(bool *changed)
{
    m_changed = changed;
    return Dialog_Settings::exec();
}

QList<DialogNetworkAdvancedSettings::Vlan> DialogNetworkAdvancedSettings::vlans() const
{
    return {{ui->groupVLAN1, ui->spinIdVLAN1, {ui->txtIpAddressVLAN1, ui->txtMaskVLAN1, ui->txtGatewayVLAN1, "VLAN1"},
             "interfaceVLAN1"},
            {ui->groupVLAN2, ui->spinIdVLAN2, {ui->txtIpAddressVLAN2, ui->txtMaskVLAN2, ui->txtGatewayVLAN2, "VLAN2"},
             "interfaceVLAN2"}};
}

DialogNetworkAdvancedSettings::AddressFields DialogNetworkAdvancedSettings::wifiFields() const
{
    return {ui->txtIpAddressWifi, ui->txtMaskWifi, ui->txtGatewayWifi, "Wifi"};
}

void DialogNetworkAdvancedSettings::loadRoutes(PXRMsgElement *routes)
{
    if (routes == nullptr) {
        ui->treeRoutes->setItemsEnabled(false);
        return;
    }
    const char *sizeText = PXRMsgElementAttributeValue(routes, "size");
    const int size = sizeText != nullptr ? std::atoi(sizeText) : 0;
    for (PXRMsgElement *route = PXRMsgElementFirstChild(routes, "route"); route != nullptr;
         route = PXRMsgElementNextChild(routes, route, "route")) {
        const char *id = PXRMsgElementAttributeValue(route, "id");
        if (id == nullptr || std::atoi(id) >= size)
            continue;
        const char *destination = PXRMsgElementAttributeValue(route, "destination");
        const char *interface = PXRMsgElementAttributeValue(route, "interface");
        addRoute(destination != nullptr ? QString::fromUtf8(destination) : QStringLiteral("??"),
                 interface != nullptr ? QString::fromUtf8(interface) : QStringLiteral("interface"),
                 QString::fromUtf8(PXRMsgElementAttributeValue(route, "gateway")));
    }
}

void DialogNetworkAdvancedSettings::addRoute(const QString &destination, const QString &interface, const QString &gateway)
{
    auto *item = new ZyADTreeWidgetItem(false, ZyADTreeWidgetItem::RemovableRow, destination);
    item->setText(0, destination);
    item->setText(1, interface);
    item->setText(2, gateway);
    ui->treeRoutes->addItem(item);
}

void DialogNetworkAdvancedSettings::loadVlan(const Vlan &vlan, PXRMsgElement *element)
{
    showGroup(vlan.group, element != nullptr);
    if (element == nullptr)
        return;
    loadField(vlan.id, element, "idVLAN");
    loadField(vlan.fields.address, element, "ipAddress");
    loadField(vlan.fields.mask, element, "ipMask");
    loadField(vlan.fields.gateway, element, "ipGateway");
    loadSwitch(vlan.group, element);
}

void DialogNetworkAdvancedSettings::loadWifi(PXRMsgElement *wifi)
{
    showGroup(ui->groupWifi, wifi != nullptr);
    if (wifi == nullptr)
        return;
    if (const char *mode = PXRMsgElementAttributeValue(wifi, "mode")) {
        // Scanning needs a sensor already working as a client.
        ui->btnScanWifi->setEnabled(std::strcmp(mode, "client") == 0);
        ui->comboMode->setValue(mode);
    }
    loadField(ui->txtKeyphrase, wifi, "keyphrase");
    loadField(ui->txtSsid, wifi, "ssid");
    PXRMsgElement *accessPoint = PXRMsgElementFirstChild(wifi, "accessPoint");
    const char *zone = PXRMsgElementAttributeValue(accessPoint, "zone");
    ui->comboZone->setValue(zone);
    loadField(ui->spinChannel, accessPoint, "channel");
    loadField(ui->chkBroadcastSsid, accessPoint, "broadcastSsid");
    if (const char *encryption = PXRMsgElementAttributeValue(accessPoint, "encryption"))
        ui->comboEncryption->setValue(encryption);
    PXRMsgElement *client = PXRMsgElementFirstChild(wifi, "client");
    const AddressFields fields = wifiFields();
    const QList<std::pair<QLineEdit *, const char *>> addresses = {
        {fields.address, "ipAddress"}, {fields.mask, "ipMask"}, {fields.gateway, "ipGateway"}};
    for (const auto &[field, attribute] : addresses) {
        loadField(field, client, attribute);
        if (!field->isEnabled())
            m_absentClientFields.append(field);
    }
    loadSwitch(ui->groupWifi, wifi);
    const char *dhcp = PXRMsgElementAttributeValue(client, "dhcp");
    ui->checkDhcp->setEnabled(dhcp != nullptr);
    if (dhcp != nullptr) {
        ui->checkDhcp->setChecked(PXRMsgStrToBool(dhcp) != 0);
        applyClientAddressRule();
    }
}

void DialogNetworkAdvancedSettings::on_comboMode_currentIndexChanged(int)
{
    ui->txtSsid->clear();
    ui->txtKeyphrase->clear();
    ui->comboEncryption->setValue("none");
    // By the value, whatever its place in the sensor's list.
    const QByteArray mode = ui->comboMode->currentValue();
    showGroup(ui->groupWifiClient, mode == "client");
    showGroup(ui->groupWifiAccessPoint, mode == "accessPoint");
    applyClientAddressRule();
}

void DialogNetworkAdvancedSettings::on_checkDhcp_toggled(bool)
{
    applyClientAddressRule();
}

void DialogNetworkAdvancedSettings::applyClientAddressRule()
{
    const bool usable = !ui->checkDhcp->isChecked() && ui->groupWifiClient->isEnabled();
    const QList<std::pair<QLineEdit *, QLabel *>> rows = {{ui->txtIpAddressWifi, ui->labelIpAddressWifi},
                                                          {ui->txtMaskWifi, ui->labelMaskWifi},
                                                          {ui->txtGatewayWifi, ui->labelGatewayWifi}};
    for (const auto &[field, label] : rows) {
        label->setEnabled(usable);
        // A field the sensor lacks stays out of reach whatever the mode.
        field->setEnabled(usable && !m_absentClientFields.contains(field));
    }
}

void DialogNetworkAdvancedSettings::onAddRoute(ZyADTreeWidgetItem *)
{
    DialogNetworkRoute route(this);
    if (ZyModalRunner::exec(&route) != QDialog::Accepted)
        return;
    addRoute(route.destination(), route.interfaceName(), route.gateway());
}

void DialogNetworkAdvancedSettings::onDelRoute(ZyADTreeWidgetItem *item)
{
    delete item;
}

void DialogNetworkAdvancedSettings::on_btnScanWifi_clicked()
{
    const PXRMessage request = pxrMsgWithRoot("scanWifiNetworks");
    const PXRMessage answer(MsgManager::sendRequest(request.get()));
    if (answer == nullptr || PXRPToolIsAnswer(answer.get())) {
        MsgManager::checkAnswer(this, tr("Scan wifi"), answer.get());
        return;
    }
    QString ssid;
    DialogNetworkScanWifi list(this);
    if (list.exec(&ssid, answer.get()) == QDialog::Accepted)
        ui->txtSsid->setText(ssid);
}

bool DialogNetworkAdvancedSettings::checkFields(const AddressFields &fields)
{
    const struct
    {
        QLineEdit *edit;
        bool emptyAccepted;
        const char *message;
    } checks[] = {
        {fields.address, false, QT_TR_NOOP("%1 : Invalid IP address.")},
        {fields.mask, false, QT_TR_NOOP("%1 : Invalid IP mask.")},
        {fields.gateway, true, QT_TR_NOOP("%1 : Invalid gateway.")},
    };
    QString cleaned;
    for (const auto &check : checks) {
        // A field the sensor lacks is neither sent nor checked.
        if (check.edit->isEnabled() && !checkIpAddress(check.edit, &cleaned, check.emptyAccepted)) {
            ZyDialogs::information(this, tr(check.message).arg(QLatin1String(fields.prefix)));
            return false;
        }
    }
    return true;
}

bool DialogNetworkAdvancedSettings::checkForm()
{
    const QList<Vlan> all = vlans();
    for (const Vlan &vlan : all)
        if (switchedOn(vlan.group) && !checkFields(vlan.fields))
            return false;
    if (switchedOn(ui->groupWifi) && ui->comboMode->currentValue() == "client" && !ui->checkDhcp->isChecked()
        && !checkFields(wifiFields()))
        return false;
    if (switchedOn(all[0].group) && switchedOn(all[1].group) && all[0].id->value() == all[1].id->value()) {
        ZyDialogs::information(this, tr("The 2 VLANs can't have the same ID"));
        return false;
    }
    return true;
}

void DialogNetworkAdvancedSettings::on_buttonBox_accepted()
{
    if (!checkForm())
        return;
    ConfigRequest request("setConfig");
    const ConfigElement network = request.path({{"config"}, {"network"}});
    writeRoutes(network);
    for (const Vlan &vlan : vlans())
        writeVlan(network, vlan);
    writeWifi(network);
    // The sensor may drop the connection as soon as it takes the change.
    if (m_changed != nullptr)
        *m_changed = true;
    if (MainWindowInterface *window = MainWindowInterface::instance())
        window->prepareForDisconnect();
    sendRequest(request, tr("Configuration"));
}

void DialogNetworkAdvancedSettings::writeRoutes(const ConfigElement &network) const
{
    if (!ui->treeRoutes->isEnabled())
        return;
    const ConfigElement routes = network.path({{"routes"}});
    routes.set("size", unsigned(ui->treeRoutes->topLevelItemCount() - 1));
    unsigned id = 0;
    for (int row = 0; row < ui->treeRoutes->topLevelItemCount(); ++row) {
        const auto *item = static_cast<ZyADTreeWidgetItem *>(ui->treeRoutes->topLevelItem(row));
        if (item->rowType() == ZyADTreeWidgetItem::AddRow)
            continue;
        const ConfigElement route = routes.path({{"route", QByteArray::number(id++)}});
        route.set("destination", item->text(0)).set("interface", item->text(1)).set("gateway", item->text(2));
    }
}

void DialogNetworkAdvancedSettings::writeVlan(const ConfigElement &network, const Vlan &vlan) const
{
    if (!vlan.group->isEnabled())
        return;
    const ConfigElement element = network.path({{vlan.element}});
    element.set("enable", vlan.group->isChecked());
    if (!vlan.group->isChecked())
        return;
    if (vlan.id->isEnabled())
        element.set("idVLAN", unsigned(vlan.id->value()));
    writeAddresses(element, vlan.fields);
}

void DialogNetworkAdvancedSettings::writeAddresses(const ConfigElement &element, const AddressFields &fields)
{
    const struct
    {
        QLineEdit *edit;
        const char *attribute;
    } attributes[] = {{fields.address, "ipAddress"}, {fields.mask, "ipMask"}, {fields.gateway, "ipGateway"}};
    QString cleaned;
    for (const auto &attribute : attributes) {
        if (!attribute.edit->isEnabled())
            continue;
        checkIpAddress(attribute.edit, &cleaned, true);
        element.set(attribute.attribute, cleaned.toLatin1().constData());
    }
}

void DialogNetworkAdvancedSettings::writeWifi(const ConfigElement &network) const
{
    if (!ui->groupWifi->isEnabled())
        return;
    const ConfigElement wifi = network.path({{"interfaceWifi"}});
    const ConfigElement accessPoint = wifi.path({{"accessPoint"}});
    const ConfigElement client = wifi.path({{"client"}});
    wifi.set("enable", ui->groupWifi->isChecked());
    if (!ui->groupWifi->isChecked())
        return;
    const QByteArray mode = ui->comboMode->currentValue();
    if (ui->comboMode->isEnabled())
        wifi.set("mode", mode.constData());
    if (ui->txtKeyphrase->isEnabled())
        wifi.set("keyphrase", ui->txtKeyphrase->text());
    if (ui->txtSsid->isEnabled())
        wifi.set("ssid", ui->txtSsid->text());
    if (mode == "accessPoint")
        writeAccessPoint(accessPoint);
    else if (mode == "client")
        writeClient(client);
}

void DialogNetworkAdvancedSettings::writeAccessPoint(const ConfigElement &accessPoint) const
{
    if (ui->comboZone->isEnabled())
        accessPoint.set("zone", ui->comboZone->currentValue().constData());
    if (ui->spinChannel->isEnabled())
        accessPoint.set("channel", ui->spinChannel->value());
    if (ui->chkBroadcastSsid->isEnabled())
        accessPoint.set("broadcastSsid", ui->chkBroadcastSsid->isChecked());
    if (ui->comboEncryption->isEnabled())
        accessPoint.set("encryption", ui->comboEncryption->currentValue().constData());
}

void DialogNetworkAdvancedSettings::writeClient(const ConfigElement &client) const
{
    // A sensor without the switch keeps its own.
    if (ui->checkDhcp->isEnabled()) {
        client.set("dhcp", ui->checkDhcp->isChecked());
        if (ui->checkDhcp->isChecked())
            return;
    }
    writeAddresses(client, wifiFields());
}

void DialogNetworkAdvancedSettings::on_buttonBox_rejected()
{
    reject();
}
