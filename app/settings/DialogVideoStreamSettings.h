// One camera's live video stream: its switch, codec, picture size, frame rate, quality and bit
// rate.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogVideoStreamSettings;
}

class DialogVideoStreamSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogVideoStreamSettings(QWidget *parent, const QString &cameraId);
    ~DialogVideoStreamSettings() override;

private slots:
    void on_cboSize_currentIndexChanged();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void displayConfig();
    bool legacySensor() const;
    // A legacy sensor reading plates or signatures on this camera cannot stream every format.
    bool restrictedCamera() const;
    void takeBitrateRange();

    std::unique_ptr<Ui::DialogVideoStreamSettings> ui;
    QString m_cameraId;
};
