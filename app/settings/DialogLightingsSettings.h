// How all the sensor's lightings follow the camera shutter.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogLightingsSettings;
}

class DialogLightingsSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    explicit DialogLightingsSettings(QWidget *parent);
    ~DialogLightingsSettings() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::DialogLightingsSettings> ui;
};
