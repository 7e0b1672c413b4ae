// The AVAR function of one camera's ANPR module: its switch and time-out, and the secondary
// sensor it works with.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogAVARSettings;
}

class DialogAVARSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogAVARSettings(QWidget *parent, const QString &cameraId);
    ~DialogAVARSettings() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void bind();
    void displayConfig();

    std::unique_ptr<Ui::DialogAVARSettings> ui;
    QString m_cameraId;
    // The secondary sensor's element, beside the avar element of the base's binding.
    SettingsBinding m_secondary;
    bool m_hasSecondary = false;
};
