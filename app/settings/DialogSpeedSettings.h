// One camera's installation geometry, from which the sensor measures speed. Sensors describe it
// in one of three ways, and the dialog shows the one the camera's configuration uses: a field of
// view alone; a gantry or lateral mounting with its own values; or height, angle and field of
// view, of which the operator chooses the pair to use.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogSpeedSettings;
}

class DialogSpeedSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogSpeedSettings(QWidget *parent, const QString &cameraId);
    ~DialogSpeedSettings() override;

private slots:
    void on_cboInstallationContext_currentIndexChanged(int index);
    void on_cboParameters_currentIndexChanged(int index);
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    enum Parameters { HeightAndAngle, HeightAndFieldOfView, AngleAndFieldOfView, FieldOfViewOnly };

    void bindPairValue(QWidget *control, SettingsBinding::Entry &entry);
    void displayConfig();
    void showContext(PXRMsgElement *speed);
    void showThreeValues();
    bool hasFieldOfView() const;
    Parameters parametersInUse() const;
    void showLayout(QWidget *shown);
    bool pairValid();

    std::unique_ptr<Ui::DialogSpeedSettings> ui;
    QString m_cameraId;
    // One binding per layout, and one per mounting of the installation context.
    SettingsBinding m_fieldOfViewBinding;
    SettingsBinding m_contextBinding;
    SettingsBinding m_gantryBinding;
    SettingsBinding m_lateralBinding;
    SettingsBinding m_threeValuesBinding;
};
