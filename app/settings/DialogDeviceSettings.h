// The sensor's name and its installation distances.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogDeviceSettings;
}

class DialogDeviceSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    explicit DialogDeviceSettings(QWidget *parent);
    ~DialogDeviceSettings() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::DialogDeviceSettings> ui;
};
