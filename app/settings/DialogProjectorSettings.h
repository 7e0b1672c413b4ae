// One external projector of the sensor: on or off, the camera it follows, its bracketing, and
// its delay, low delay and width, with the two preset timings of an ANPR and a context sensor.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogProjectorSettings;
}

class DialogProjectorSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    // The key is "projector=<id>".
    DialogProjectorSettings(QWidget *parent, const QString &lightingKey);
    ~DialogProjectorSettings() override;

private slots:
    // Runs once the dialog is shown: which rows are shown decides the preset step.
    void displayConfig();
    void on_cboMode_currentIndexChanged(int index);
    void on_spinDelay_valueChanged(int value);
    void on_spinWidth_valueChanged(int value);
    void on_checkBracketing_toggled(bool checked);
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void fillCameras();
    void fillModes();
    void takeDelayRange();
    void bind();
    void showRowsOfProtocol();
    void deriveMode();

    std::unique_ptr<Ui::DialogProjectorSettings> ui;
    // The key until the projector is found, its id afterwards.
    QString m_id;
};
