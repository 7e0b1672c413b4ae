// The sensor's digital inputs and outputs: the I/O mode, the output's default pulse and how long
// an input must hold before a change counts.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogIOSettings;
}

class DialogIOSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    explicit DialogIOSettings(QWidget *parent);
    ~DialogIOSettings() override;

private slots:
    void on_comboIOMode_currentIndexChanged(int index);
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void displayConfig();

    std::unique_ptr<Ui::DialogIOSettings> ui;
    // The output's pulse and the input's hold each live in their own child element.
    SettingsBinding m_impulseBinding;
    SettingsBinding m_inputBinding;
};
