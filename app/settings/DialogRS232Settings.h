// How one recognition module of one camera exports its results on the serial output: the mode
// and the parameters of the two access-control links (OSDP, Wiegand).
#pragma once

#include "Dialog_Settings.h"
#include "ModuleFeature.h"

#include <memory>

namespace Ui {
class DialogRS232Settings;
}

class DialogRS232Settings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogRS232Settings(QWidget *parent, const QString &cameraId, const QString &module);
    ~DialogRS232Settings() override;

private slots:
    void on_cboMode_currentIndexChanged(int index);
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void bind(PXRMsgElement *serial);
    void displayConfig(PXRMsgElement *serial);

    std::unique_ptr<Ui::DialogRS232Settings> ui;
    ModuleFeature m_feature;
    // The mode goes back under the name the sensor uses for it.
    QByteArray m_exportAttribute;
    SettingsBinding m_osdp;
    SettingsBinding m_wiegand;
};
