// The sensor's Tiba parking-system client: server, credentials, lane and what it sends.
#pragma once

#include "DialogSectionSettings.h"

#include <memory>

namespace Ui {
class DialogTibaSettingsClass;
}

class DialogTibaSettings : public DialogSectionSettings
{
    Q_OBJECT

public:
    explicit DialogTibaSettings(QWidget *parent);
    ~DialogTibaSettings() override;

private:
    std::unique_ptr<Ui::DialogTibaSettingsClass> ui;
};
