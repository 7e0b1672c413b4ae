// The periodic ping test of the sensor's modem link: address and interval.
#pragma once

#include "DialogSectionSettings.h"

#include <memory>

namespace Ui {
class DialogTestPingSettings;
}

class DialogTestPingSettings : public DialogSectionSettings
{
    Q_OBJECT

public:
    explicit DialogTestPingSettings(QWidget *parent);
    ~DialogTestPingSettings() override;

protected:
    bool inputAccepted() override;

private:
    std::unique_ptr<Ui::DialogTestPingSettings> ui;
};
