// The tuning values of one camera's enslavement, opened from the enslavement dialog; sent in a
// request of their own.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogEnslavementAdvancedSettings;
}

class DialogEnslavementAdvancedSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogEnslavementAdvancedSettings(QWidget *parent, const QString &cameraId);
    ~DialogEnslavementAdvancedSettings() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void displayConfig();

    std::unique_ptr<Ui::DialogEnslavementAdvancedSettings> ui;
    QString m_cameraId;
};
