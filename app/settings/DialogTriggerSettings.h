// How the trigger of one recognition module of one camera works: the reliability a reading must
// reach, when a plate ends, and whether a digital input activates it.
#pragma once

#include "Dialog_Settings.h"
#include "ModuleFeature.h"

#include <memory>

namespace Ui {
class DialogTriggerSettings;
}

class DialogTriggerSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogTriggerSettings(QWidget *parent, const QString &cameraId, const QString &module);
    ~DialogTriggerSettings() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void bind();
    void displayConfig();

    std::unique_ptr<Ui::DialogTriggerSettings> ui;
    ModuleFeature m_feature;
};
