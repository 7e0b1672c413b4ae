// The still picture one camera attaches to its recognitions: its switch, size, quality and how
// the plate image is cropped.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogStillPictureSettings;
}

class DialogStillPictureSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogStillPictureSettings(QWidget *parent, const QString &cameraId);
    ~DialogStillPictureSettings() override;

protected:
    // The fingerprint algorithm owns the still picture while it runs.
    bool openingAllowed() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void fillPlateCropped();
    static void dropChoice(QWidget *combo, QWidget *label);
    void displayConfig();

    std::unique_ptr<Ui::DialogStillPictureSettings> ui;
    QString m_cameraId;
};
