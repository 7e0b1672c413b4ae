// The parts of the sensor's network the main network dialog leaves out: the Wi-Fi interface as
// client or access point, two 802.1Q VLAN interfaces and the static routes. Its OK changes the
// network, so it sets the opener's changed flag and readies the window for the loss.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogNetworkAdvancedSettings;
}

class QGroupBox;
class QLineEdit;
class QSpinBox;
class ZyADTreeWidgetItem;

class DialogNetworkAdvancedSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    explicit DialogNetworkAdvancedSettings(QWidget *parent);
    ~DialogNetworkAdvancedSettings() override;

    using Dialog_Settings::exec;
    // Runs the dialog; an OK that sends sets the flag, which is never cleared here.
    int exec(bool *changed);

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();
    void on_btnScanWifi_clicked();
    void on_comboMode_currentIndexChanged(int index);
    void on_checkDhcp_toggled(bool checked);
    void onAddRoute(ZyADTreeWidgetItem *item);
    void onDelRoute(ZyADTreeWidgetItem *item);

private:
    // An interface's address fields with the start of their messages ("VLAN1", "Wifi").
    struct AddressFields
    {
        QLineEdit *address;
        QLineEdit *mask;
        QLineEdit *gateway;
        const char *prefix;
    };
    struct Vlan
    {
        QGroupBox *group;
        QSpinBox *id;
        AddressFields fields;
        const char *element;
    };

    QList<Vlan> vlans() const;
    AddressFields wifiFields() const;
    void loadRoutes(PXRMsgElement *routes);
    void addRoute(const QString &destination, const QString &interface, const QString &gateway);
    void loadVlan(const Vlan &vlan, PXRMsgElement *element);
    void loadWifi(PXRMsgElement *wifi);
    void applyClientAddressRule();

    bool checkFields(const AddressFields &fields);
    bool checkForm();
    void writeRoutes(const ConfigElement &network) const;
    void writeVlan(const ConfigElement &network, const Vlan &vlan) const;
    void writeWifi(const ConfigElement &network) const;
    void writeAccessPoint(const ConfigElement &accessPoint) const;
    void writeClient(const ConfigElement &client) const;
    // The usable fields, each as the address check cleans it.
    static void writeAddresses(const ConfigElement &element, const AddressFields &fields);

    std::unique_ptr<Ui::DialogNetworkAdvancedSettings> ui;
    bool *m_changed = nullptr;
    // The client's address fields whose attributes the sensor lacks.
    QList<QLineEdit *> m_absentClientFields;
};
