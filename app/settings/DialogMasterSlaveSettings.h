// The sensor as master of up to two slaves on the same network: an ANPR slave, with where it
// stands and the zone it covers, and a context slave; each named by its MAC address, typed in or
// picked from the sensors announced on the network.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogMasterSlaveSettings;
}

class QGroupBox;
class QLineEdit;

class DialogMasterSlaveSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    explicit DialogMasterSlaveSettings(QWidget *parent);
    ~DialogMasterSlaveSettings() override;

private slots:
    void on_comboMode_currentIndexChanged(int index);
    void on_btnSlaveAnprSelection_clicked();
    void on_btnSlaveContextSelection_clicked();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void displayConfig();
    bool configuredMode() const;
    // The slave's MAC sent as typed while its group is checked, as "no slave" otherwise.
    void bindSlaveMac(SettingsBinding &slave, QGroupBox *group, QLineEdit *mac);
    void showSlave(SettingsBinding &slave, PXRMsgElement *element, QGroupBox *group, QLineEdit *mac);
    void pickSlave(const QString &algorithm, QLineEdit *mac);
    bool slavesValid();

    std::unique_ptr<Ui::DialogMasterSlaveSettings> ui;
    // Each slave lives in its own child element.
    SettingsBinding m_anprBinding;
    SettingsBinding m_contextBinding;
};
