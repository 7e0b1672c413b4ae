// The character-reading limits of one recognition module of one camera, each beside the sensor's
// factory default when the two differ, with a reset that sends every default at once.
#pragma once

#include "Dialog_Settings.h"
#include "ModuleFeature.h"

#include <QList>

#include <memory>

namespace Ui {
class DialogOCRSettings;
}

class DialogOCRSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogOCRSettings(QWidget *parent, const QString &cameraId, const QString &module);
    ~DialogOCRSettings() override;

private slots:
    void on_buttonBox_accepted();
    void on_btnReset_clicked();
    void on_buttonBox_rejected();

private:
    struct Limit
    {
        const char *attribute;
        QSpinBox *spin;
        QLabel *caption;
        QLabel *defaultLabel;
    };

    void displayConfig();
    void showDefaults(PXRMsgElement *ocr);
    PXRMsgElement *defaults() const;
    bool zoomWithinPlateWidths() const;

    std::unique_ptr<Ui::DialogOCRSettings> ui;
    ModuleFeature m_feature;
    QList<Limit> m_limits;
};
