// One camera's auto exposure: its switch, the colour-mode switch type and the reaction speed.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogAutoExposureSettings;
}

class DialogAutoExposureSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogAutoExposureSettings(QWidget *parent, const QString &cameraId);
    ~DialogAutoExposureSettings() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void displayConfig();

    std::unique_ptr<Ui::DialogAutoExposureSettings> ui;
    QString m_cameraId;
};
