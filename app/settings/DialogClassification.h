// Loads a vehicle-classification file from disk into one camera; the file's bytes travel as they
// are.
#pragma once

#include "Dialog_Settings.h"

#include <memory>
#include <optional>

namespace Ui {
class DialogClassification;
}

class DialogClassification : public Dialog_Settings
{
    Q_OBJECT

public:
    // Larger files are refused.
    static constexpr qint64 MaxFileSize = 10000000;

    DialogClassification(QWidget *parent, const QString &cameraId);
    ~DialogClassification() override;

private slots:
    void on_btnLoad_clicked();
    void on_buttonBox_rejected();

private:
    // The whole file, or nothing after telling the operator why.
    std::optional<QByteArray> readFile(const QString &path);

    std::unique_ptr<Ui::DialogClassification> ui;
    QString m_cameraId;
};
