// The sensor's own plate database: in use, open for every plate, match tolerance.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogDatabaseSettings;
}

class DialogDatabaseSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    explicit DialogDatabaseSettings(QWidget *parent);
    ~DialogDatabaseSettings() override;

private slots:
    void displayConfig();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::DialogDatabaseSettings> ui;
};
