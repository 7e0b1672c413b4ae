// The licence-plate reading settings of one camera: contexts, direction, plate position, the
// reading options, repeated decisions, counting and storage.
#pragma once

#include "Dialog_Settings.h"

#include <memory>

namespace Ui {
class DialogANPRSettings;
}

class DialogANPRSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    DialogANPRSettings(QWidget *parent, const QString &cameraId);
    ~DialogANPRSettings() override;

private slots:
    void on_btnEditContext_clicked();
    void on_checkReemit_toggled(bool checked);
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    void bind();
    void displayConfig();
    // Shows why the edits cannot be sent; true when they cannot.
    bool refuse();
    bool countingChosen() const;
    bool freeFlow() const;

    std::unique_ptr<Ui::DialogANPRSettings> ui;
    QString m_cameraId;
};
