// One LED lighting of the sensor: its bracketing and eco modes.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogLedSettings;
}

class DialogLedSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    // The key is "led=<id>".
    DialogLedSettings(QWidget *parent, const QString &lightingKey);
    ~DialogLedSettings() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::DialogLedSettings> ui;
    // The key until the lighting is found, its id afterwards.
    QString m_id;
};
