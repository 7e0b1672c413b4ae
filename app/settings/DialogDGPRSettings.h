// The dangerous-goods panel reading settings of one camera: direction, installation, reading of
// empty panels with its ratio, and storage.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogDGPRSettings;
}

class DialogDGPRSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogDGPRSettings(QWidget *parent, const QString &cameraId);
    ~DialogDGPRSettings() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void bind();
    void displayConfig();

    std::unique_ptr<Ui::DialogDGPRSettings> ui;
    QString m_cameraId;
};
