// The sensor's S&B Free Flow client: server and credentials.
#pragma once

#include "DialogSectionSettings.h"

#include <memory>

namespace Ui {
class DialogSBFreeFlowSettingsClass;
}

class DialogSBFreeFlowSettings : public DialogSectionSettings
{
    Q_OBJECT

public:
    explicit DialogSBFreeFlowSettings(QWidget *parent);
    ~DialogSBFreeFlowSettings() override;

private:
    std::unique_ptr<Ui::DialogSBFreeFlowSettingsClass> ui;
};
