// The sensor's Moobyl client: on or off, and its zone.
#pragma once

#include "DialogSectionSettings.h"

#include <memory>

namespace Ui {
class DialogMoobylSettings;
}

class DialogMoobylSettings : public DialogSectionSettings
{
    Q_OBJECT

public:
    explicit DialogMoobylSettings(QWidget *parent);
    ~DialogMoobylSettings() override;

private:
    std::unique_ptr<Ui::DialogMoobylSettings> ui;
};
