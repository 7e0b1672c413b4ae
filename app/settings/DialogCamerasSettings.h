// Whether the sensor synchronises its cameras: one switch for the whole sensor.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogCamerasSettings;
}

class DialogCamerasSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    explicit DialogCamerasSettings(QWidget *parent);
    ~DialogCamerasSettings() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void displayConfig();

    std::unique_ptr<Ui::DialogCamerasSettings> ui;
};
