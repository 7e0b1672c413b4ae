// The sensor's Amano One client: server, credentials and what it sends.
#pragma once

#include "DialogSectionSettings.h"

#include <memory>

namespace Ui {
class DialogAmanoOneSettingsClass;
}

class DialogAmanoOneSettings : public DialogSectionSettings
{
    Q_OBJECT

public:
    explicit DialogAmanoOneSettings(QWidget *parent);
    ~DialogAmanoOneSettings() override;

private:
    std::unique_ptr<Ui::DialogAmanoOneSettingsClass> ui;
};
