// One camera's enslavement: its switch, its type and its colour-mode switch; the tuning values
// are behind "Advanced...".
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogEnslavementSettings;
}

class DialogEnslavementSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogEnslavementSettings(QWidget *parent, const QString &cameraId);
    ~DialogEnslavementSettings() override;

private slots:
    void on_btnAdvanced_clicked();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void displayConfig();

    std::unique_ptr<Ui::DialogEnslavementSettings> ui;
    QString m_cameraId;
};
