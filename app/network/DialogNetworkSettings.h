// The wired network of the sensor: DHCP or static address, listening ports, HXDQ and RTSP, the
// security profile and the DNS, NTP and unicast discovery lists. A new address or port ends the
// connection: the dialog tells its opener through the change report and readies the window
// for the loss before it sends.
#pragma once

#include "Dialog_Settings.h"
#include "NetworkChangeReport.h"

#include <QStringList>

#include <memory>

namespace Ui {
class DialogNetworkSettings;
}

class QLineEdit;

class DialogNetworkSettings : public Dialog_Settings, public NetworkChangeReport
{
    Q_OBJECT

public:
    explicit DialogNetworkSettings(QWidget *parent);
    ~DialogNetworkSettings() override;

    bool networkChanged() const override { return m_changed; }
    bool disconnectPrepared() const override { return m_disconnectPrepared; }

private slots:
    void on_btnDHCP_clicked(bool checked);
    void on_btnStaticIP_clicked(bool checked);
    void on_labelResetFYBPort_linkActivated();
    void on_labelResetKGVPort_linkActivated();
    void on_labelResetHXDQPort_linkActivated();
    void on_labelDNSEdit_linkActivated();
    void on_labelNTPEdit_linkActivated();
    void on_labelUnicastDiscoverEdit_linkActivated();
    void on_btnAdvanced_clicked();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    // The addresses as OK sends them, once they passed the check.
    struct Addresses
    {
        QString address, mask, broadcast, gateway;
    };

    void displayConfig();
    void readInterface(PXRMsgElement *interface);
    void readFyb(PXRMsgElement *fyb);
    void readServerList(PXRMsgElement *element, const char *prefix, QStringList *list);
    void readUnicastClients(PXRMsgElement *unicast);
    void setStaticMode(bool isStatic);
    void updateDNSLabel();
    void updateNTPLabel();
    void updateUnicastDiscoverLabel();
    // The operator's values, to tell whether anything was edited since the opening.
    QStringList formState() const;

    bool checkAddresses(Addresses *checked);
    bool checkUnicastPorts();
    bool computeChanged(const Addresses &addresses) const;
    bool portsChanged() const;
    void writeRequest(const ConfigElement &network, const Addresses &addresses) const;
    void writeServerList(const ConfigElement &network, const char *name, const char *prefix,
                         const QStringList &list) const;
    void writeUnicastClients(const ConfigElement &network) const;
    void writeInterface(const ConfigElement &network, const Addresses &addresses) const;
    PXRMsgElement *keptNetworkChild(const char *name) const;
    // Readies the window for the loss of the connection, once per dialog.
    void prepareForDisconnect();

    std::unique_ptr<Ui::DialogNetworkSettings> ui;
    SettingsBinding m_networkBinding;
    SettingsBinding m_fybBinding;
    SettingsBinding m_kgvBinding;
    SettingsBinding m_hxdqBinding;
    SettingsBinding m_rtspBinding;
    bool m_changed = false;
    bool m_disconnectPrepared = false;
    bool m_dhcpRead = false;
    Addresses m_read;
    bool m_nonSecureRead = true;
    QStringList m_ntp;
    QStringList m_dns;
    QStringList m_clients;
    bool m_unicastEdited = false;
    QStringList m_openingState;
};
