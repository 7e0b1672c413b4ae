// The wired network of the sensor and the change of its addresses or ports.
#include "DialogNetworkSettings.h"
#include "ui_DialogNetworkSettings.h"

#include "ConfigRequest.h"
#include "DialogDNSServers.h"
#include "DialogNetworkAdvancedSettings.h"
#include "DialogNTPServers.h"
#include "DialogUnicastDiscoverClients.h"
#include "IpAddressCheck.h"
#include "MainWindowInterface.h"
#include "Model.h"
#include "UnicastClient.h"
#include "WidgetComboDoc.h"
#include "ZyDialogs.h"

#include <QCheckBox>
#include <QSpinBox>

#include <cstdlib>

namespace {

const char *const kBlack = "color: rgb(0, 0, 0)";
const char *const kRed = "color: rgb(255, 0, 0)";
constexpr int kDefaultFybPort = 10001;

// The attribute's leading decimal number; 0 when it does not start with one.
int leadingNumberRead(const SettingsBinding &binding, const char *attribute)
{
    const SettingsBinding::Entry *entry = binding.entry(attribute);
    return entry != nullptr ? std::atoi(entry->read().constData()) : 0;
}

// The entries that are set, or the text for none, in red when none is a fault.
void showSummary(QLabel *label, const QStringList &entries, const QString &none, bool noneIsFault)
{
    QStringList defined = entries;
    defined.removeAll(QString());
    label->setText(defined.isEmpty() ? none : defined.join(QStringLiteral(", ")));
    if (noneIsFault)
        label->setStyleSheet(QLatin1String(defined.isEmpty() ? kRed : kBlack));
}

} // namespace

DialogNetworkSettings::DialogNetworkSettings(QWidget *parent) : Dialog_Settings(parent), ui(new Ui::DialogNetworkSettings)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "network"};
    ui->comboSecuriryProfile->fill(docPath, "securityProfile");
    m_networkBinding.choice(ui->comboSecuriryProfile, "securityProfile");
    m_fybBinding.number(ui->spinFYBPort, "port");
    m_fybBinding.number(ui->spinFYBSecuredPort, "portSsl").with(ui->labelFYBSecuredPort);
    m_fybBinding.flag(ui->checkEnableNonSecure, "enableUnsecuredConnections");
    m_kgvBinding.number(ui->spinKGVCommandPort, "commandPort").with(ui->labelKGVCommandPort);
    m_kgvBinding.number(ui->spinKGVStreamingPort, "port").with(ui->labelKGVStreamingPort);
    m_kgvBinding.number(ui->spinKGVTimePort, "timePort").with(ui->labelKGVTimePort);
    m_hxdqBinding.flag(ui->checkEnableNonSecureHXDQ, "enableHttp");
    m_hxdqBinding.number(ui->spinHTTPPort, "httpPort");
    m_hxdqBinding.flag(ui->checkEnableSecureHXDQ, "enableHttps");
    m_hxdqBinding.number(ui->spinHTTPSPort, "httpsPort");
    m_rtspBinding.flag(ui->checkRTSP, "enabled");
    m_rtspBinding.number(ui->spinRTSPPort, "port").with(ui->labelRTSPPort);
    displayConfig();
    m_openingState = formState();
}

DialogNetworkSettings::~DialogNetworkSettings() = default;

PXRMsgElement *DialogNetworkSettings::keptNetworkChild(const char *name) const
{
    PXRMsgElement *network = PXRMsgElementFirstChild(PXRMsgChild(model->config()), "network");
    return PXRMsgElementFirstChild(network, name);
}

void DialogNetworkSettings::displayConfig()
{
    PXRMsgElement *network = PXRMsgElementFirstChild(PXRMsgChild(model->config()), "network");
    PXRMsgElement *interface = PXRMsgElementFirstChild(network, "interface");
    // Without the interface nothing of the form comes from the sensor: nothing can be sent.
    showElement(interface);
    if (interface == nullptr)
        return;
    readInterface(interface);
    readFyb(PXRMsgElementFirstChild(network, "fyb"));
    const struct
    {
        QGroupBox *group;
        SettingsBinding *binding;
        const char *name;
    } portGroups[] = {{ui->groupKGVPort, &m_kgvBinding, "kgv"},
                      {ui->groupHXDQ, &m_hxdqBinding, "hxdq"},
                      {ui->groupRTSP, &m_rtspBinding, "rtsp"}};
    for (const auto &group : portGroups) {
        PXRMsgElement *element = PXRMsgElementFirstChild(network, group.name);
        group.group->setVisible(element != nullptr);
        group.binding->load(element);
    }
    PXRMsgElement *ntp = PXRMsgElementFirstChild(network, "ntp");
    ui->groupNTP->setVisible(ntp != nullptr);
    if (ntp != nullptr) {
        readServerList(ntp, "ntp", &m_ntp);
        updateNTPLabel();
    }
    PXRMsgElement *dns = PXRMsgElementFirstChild(network, "dns");
    ui->groupDNS->setVisible(dns != nullptr);
    if (dns != nullptr) {
        readServerList(dns, "dns", &m_dns);
        updateDNSLabel();
    }
    readUnicastClients(PXRMsgElementFirstChild(network, "unicastDiscover"));
    m_unicastEdited = false;
    ui->btnAdvanced->setVisible(PXRMsgElementFirstChild(network, "routes") != nullptr
                                || PXRMsgElementFirstChild(network, "interfaceVLAN1") != nullptr
                                || PXRMsgElementFirstChild(network, "interfaceVLAN2") != nullptr);
    m_networkBinding.load(network);
}

void DialogNetworkSettings::readInterface(PXRMsgElement *interface)
{
    m_dhcpRead = PXRMsgStrToBool(PXRMsgElementAttributeValue(interface, "dhcp")) != 0;
    ui->btnDHCP->setChecked(m_dhcpRead);
    ui->btnStaticIP->setChecked(!m_dhcpRead);
    setStaticMode(!m_dhcpRead);
    const char *broadcast = PXRMsgElementAttributeValue(interface, "broadcast");
    ui->labelBroadcast->setVisible(broadcast != nullptr);
    ui->txtBroadcast->setVisible(broadcast != nullptr);
    if (m_dhcpRead)
        return;
    const auto text = [interface](const char *name) {
        return QString::fromLatin1(PXRMsgElementAttributeValue(interface, name));
    };
    m_read = {text("ipAddress"), text("ipMask"), text("broadcast"), text("ipGateway")};
    ui->txtIpAddress->setText(m_read.address);
    ui->txtMask->setText(m_read.mask);
    ui->txtBroadcast->setText(m_read.broadcast);
    ui->txtGateway->setText(m_read.gateway);
}

void DialogNetworkSettings::readFyb(PXRMsgElement *fyb)
{
    ui->groupFYBPort->setVisible(fyb != nullptr);
    m_fybBinding.load(fyb);
    if (fyb == nullptr)
        return;
    // A port of 0 stands for the default one, which OK then sends.
    if (m_fybBinding.present("port") && leadingNumberRead(m_fybBinding, "port") == 0)
        ui->spinFYBPort->setValue(kDefaultFybPort);
    if (m_fybBinding.present("enableUnsecuredConnections"))
        ui->checkEnableNonSecure->setChecked(leadingNumberRead(m_fybBinding, "enableUnsecuredConnections") != 0);
    m_nonSecureRead = ui->checkEnableNonSecure->isChecked();
}

void DialogNetworkSettings::readServerList(PXRMsgElement *element, const char *prefix, QStringList *list)
{
    list->clear();
    for (int i = 0; i < 3; ++i) {
        const QByteArray name = prefix + QByteArray::number(i);
        list->append(QString::fromUtf8(PXRMsgElementAttributeValue(element, name.constData())));
    }
}

void DialogNetworkSettings::readUnicastClients(PXRMsgElement *unicast)
{
    ui->groupUnicast->setVisible(unicast != nullptr);
    if (unicast == nullptr)
        return;
    m_clients.clear();
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "client" + QByteArray::number(i);
        m_clients.append(UnicastClient::textOf(PXRMsgElementFirstChild(unicast, name.constData())));
    }
    updateUnicastDiscoverLabel();
}

void DialogNetworkSettings::setStaticMode(bool isStatic)
{
    const QList<QWidget *> staticWidgets = {ui->labelIpAddress, ui->txtIpAddress, ui->labelMask,   ui->txtMask,
                                            ui->labelBroadcast, ui->txtBroadcast, ui->labelGateway, ui->txtGateway,
                                            ui->groupDNS};
    for (QWidget *widget : staticWidgets)
        widget->setEnabled(isStatic);
    updateDNSLabel();
}

void DialogNetworkSettings::on_btnDHCP_clicked(bool checked)
{
    setStaticMode(!checked);
}

void DialogNetworkSettings::on_btnStaticIP_clicked(bool checked)
{
    setStaticMode(checked);
}

void DialogNetworkSettings::updateDNSLabel()
{
    if (ui->btnDHCP->isChecked()) {
        ui->labelDNS->setStyleSheet(QLatin1String(kBlack));
        ui->labelDNS->setText(tr("DNS servers are set by the DHCP configuration"));
        return;
    }
    showSummary(ui->labelDNS, m_dns, tr("No DNS server defined, the sensor won't be able to access to named servers"),
                true);
}

void DialogNetworkSettings::updateNTPLabel()
{
    showSummary(ui->labelNTP, m_ntp, tr("No NTP server defined, the sensor's clock won't be on time"), true);
}

void DialogNetworkSettings::updateUnicastDiscoverLabel()
{
    showSummary(ui->labelUnicastDiscover, m_clients, tr("No unicast discover client defined"), false);
}

void DialogNetworkSettings::on_labelResetFYBPort_linkActivated()
{
    ui->spinFYBPort->setValue(kDefaultFybPort);
    ui->spinFYBSecuredPort->setValue(12001);
}

void DialogNetworkSettings::on_labelResetKGVPort_linkActivated()
{
    ui->spinKGVCommandPort->setValue(11011);
    ui->spinKGVStreamingPort->setValue(10001);
    ui->spinKGVTimePort->setValue(10000);
}

void DialogNetworkSettings::on_labelResetHXDQPort_linkActivated()
{
    ui->spinHTTPPort->setValue(80);
    ui->spinHTTPSPort->setValue(443);
}

void DialogNetworkSettings::on_labelDNSEdit_linkActivated()
{
    DialogDNSServers editor(this);
    editor.exec(&m_dns);
    updateDNSLabel();
}

void DialogNetworkSettings::on_labelNTPEdit_linkActivated()
{
    DialogNTPServers editor(this);
    editor.exec(&m_ntp);
    updateNTPLabel();
}

void DialogNetworkSettings::on_labelUnicastDiscoverEdit_linkActivated()
{
    DialogUnicastDiscoverClients editor(this);
    if (editor.exec(&m_clients) != QDialog::Accepted)
        return;
    m_unicastEdited = true;
    updateUnicastDiscoverLabel();
}

QStringList DialogNetworkSettings::formState() const
{
    // The form's own controls only: not those of the documentation panel.
    QStringList state;
    for (const QLineEdit *edit : findChildren<QLineEdit *>())
        if (edit->window() == this)
            state << edit->text();
    for (const QSpinBox *spin : findChildren<QSpinBox *>())
        if (spin->window() == this)
            state << QString::number(spin->value());
    for (const QAbstractButton *button : findChildren<QAbstractButton *>())
        if (button->window() == this && button->isCheckable())
            state << QString::number(int(button->isChecked()));
    state << QString::fromUtf8(ui->comboSecuriryProfile->currentValue());
    return state + m_ntp + m_dns + m_clients;
}

void DialogNetworkSettings::on_btnAdvanced_clicked()
{
    // The advanced dialog's OK closes this one without sending what was edited here.
    if (formState() != m_openingState
        && ZyDialogs::question(this, QMessageBox::Question,
                               tr("The changes made in this dialog will not be sent if you open the advanced "
                                  "parameters. Open them anyway?"))
               != QMessageBox::Yes)
        return;
    DialogNetworkAdvancedSettings advanced(this);
    const int result = advanced.exec(&m_changed);
    // The advanced dialog readies the window whenever it sets the flag.
    m_disconnectPrepared = m_disconnectPrepared || m_changed;
    if (result == QDialog::Accepted)
        accept();
}

bool DialogNetworkSettings::checkAddresses(Addresses *checked)
{
    const struct
    {
        QLineEdit *edit;
        QString Addresses::*cleaned;
        bool emptyAccepted;
        const char *message;
    } fields[] = {
        {ui->txtIpAddress, &Addresses::address, false, QT_TR_NOOP("Invalid IP address.")},
        {ui->txtMask, &Addresses::mask, false, QT_TR_NOOP("Invalid subnet mask.")},
        {ui->txtBroadcast, &Addresses::broadcast, false, QT_TR_NOOP("Invalid broadcast address.")},
        {ui->txtGateway, &Addresses::gateway, true, QT_TR_NOOP("Invalid gateway.")},
    };
    for (const auto &field : fields) {
        if (field.edit->isHidden())
            continue;
        if (!checkIpAddress(field.edit, &(checked->*field.cleaned), field.emptyAccepted)) {
            ZyDialogs::information(this, tr(field.message));
            return false;
        }
    }
    return true;
}

bool DialogNetworkSettings::checkUnicastPorts()
{
    PXRMsgElement *kept = keptNetworkChild("unicastDiscover");
    if (ui->groupUnicast->isHidden() || !m_unicastEdited)
        return true;
    for (qsizetype i = 0; i < m_clients.size(); ++i) {
        const QByteArray name = "client" + QByteArray::number(i);
        if (PXRMsgElementFirstChild(kept, name.constData()) == nullptr)
            continue;
        const std::optional<UnicastClient> client = UnicastClient::fromEntry(m_clients.at(i));
        if (client && !client->portValid()) {
            ZyDialogs::information(this, tr("Unicast discover client %1 : the port must be a number from 1 to 65535.")
                                             .arg(i + 1));
            return false;
        }
    }
    return true;
}

bool DialogNetworkSettings::portsChanged() const
{
    const struct
    {
        const QSpinBox *spin;
        const SettingsBinding &binding;
        const char *attribute;
    } ports[] = {
        {ui->spinFYBPort, m_fybBinding, "port"},
        {ui->spinFYBSecuredPort, m_fybBinding, "portSsl"},
        {ui->spinKGVCommandPort, m_kgvBinding, "commandPort"},
        {ui->spinKGVStreamingPort, m_kgvBinding, "port"},
        {ui->spinKGVTimePort, m_kgvBinding, "timePort"},
    };
    for (const auto &port : ports)
        if (port.spin->isEnabled() && port.spin->value() != leadingNumberRead(port.binding, port.attribute))
            return true;
    return ui->checkEnableNonSecure->isEnabled() && ui->checkEnableNonSecure->isChecked() != m_nonSecureRead;
}

bool DialogNetworkSettings::computeChanged(const Addresses &addresses) const
{
    if (ui->btnDHCP->isChecked())
        return !m_dhcpRead || portsChanged();
    return m_dhcpRead || addresses.address != m_read.address || addresses.mask != m_read.mask
           || addresses.broadcast != m_read.broadcast || addresses.gateway != m_read.gateway || portsChanged();
}

void DialogNetworkSettings::prepareForDisconnect()
{
    if (MainWindowInterface *window = MainWindowInterface::instance())
        window->prepareForDisconnect();
    m_disconnectPrepared = true;
}

void DialogNetworkSettings::on_buttonBox_accepted()
{
    Addresses addresses;
    const bool isStatic = !ui->btnDHCP->isChecked();
    if ((isStatic && !checkAddresses(&addresses)) || !checkUnicastPorts())
        return;
    m_changed = computeChanged(addresses);
    ConfigRequest request("setConfig");
    writeRequest(request.path({{"config"}, {"network"}}), addresses);
    if (m_changed)
        prepareForDisconnect();
    sendRequest(request, tr("Configuration"));
}

void DialogNetworkSettings::writeRequest(const ConfigElement &network, const Addresses &addresses) const
{
    m_networkBinding.write(network);
    const struct
    {
        const QGroupBox *group;
        const SettingsBinding &binding;
        const char *name;
    } portGroups[] = {{ui->groupFYBPort, m_fybBinding, "fyb"},
                      {ui->groupKGVPort, m_kgvBinding, "kgv"},
                      {ui->groupHXDQ, m_hxdqBinding, "hxdq"},
                      {ui->groupRTSP, m_rtspBinding, "rtsp"}};
    for (const auto &group : portGroups)
        if (!group.group->isHidden())
            group.binding.write(network.path({{group.name}}));
    if (!ui->groupNTP->isHidden())
        writeServerList(network, "ntp", "ntp", m_ntp);
    if (!ui->btnDHCP->isChecked() && !ui->groupDNS->isHidden())
        writeServerList(network, "dns", "dns", m_dns);
    writeUnicastClients(network);
    writeInterface(network, addresses);
}

void DialogNetworkSettings::writeServerList(const ConfigElement &network, const char *name, const char *prefix,
                                            const QStringList &list) const
{
    PXRMsgElement *kept = keptNetworkChild(name);
    const ConfigElement target = network.path({{name}});
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QByteArray attribute = prefix + QByteArray::number(i);
        if (PXRMsgElementAttributeValue(kept, attribute.constData()) != nullptr)
            target.set(attribute.constData(), list.at(i));
    }
}

void DialogNetworkSettings::writeUnicastClients(const ConfigElement &network) const
{
    if (ui->groupUnicast->isHidden() || !m_unicastEdited)
        return;
    PXRMsgElement *kept = keptNetworkChild("unicastDiscover");
    const ConfigElement target = network.path({{"unicastDiscover"}});
    for (qsizetype i = 0; i < m_clients.size(); ++i) {
        const QByteArray name = "client" + QByteArray::number(i);
        if (PXRMsgElementFirstChild(kept, name.constData()) == nullptr)
            continue;
        if (const std::optional<UnicastClient> client = UnicastClient::fromEntry(m_clients.at(i)))
            client->writeTo(target, name.constData());
    }
}

void DialogNetworkSettings::writeInterface(const ConfigElement &network, const Addresses &addresses) const
{
    const ConfigElement interface = network.path({{"interface", QByteArray("0")}});
    const bool isStatic = !ui->btnDHCP->isChecked();
    interface.set("dhcp", !isStatic);
    if (!isStatic)
        return;
    interface.set("ipAddress", addresses.address.toLatin1().constData());
    interface.set("ipMask", addresses.mask.toLatin1().constData());
    if (!ui->txtBroadcast->isHidden())
        interface.set("broadcast", addresses.broadcast.toLatin1().constData());
    interface.set("ipGateway", addresses.gateway.toLatin1().constData());
}

void DialogNetworkSettings::on_buttonBox_rejected()
{
    reject();
}
