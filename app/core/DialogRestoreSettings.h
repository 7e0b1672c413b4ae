// Sends a configuration saved earlier in a message file back to the connected sensor as a
// setConfig request, under a progress window.
#pragma once

#include <QDialog>

namespace Ui {
class DialogRestoreSettings;
}

class QProgressDialog;

class DialogRestoreSettings : public QDialog
{
    Q_OBJECT

public:
    explicit DialogRestoreSettings(QWidget *parent = nullptr);
    ~DialogRestoreSettings() override;

private slots:
    void on_btnBrowseFile_clicked();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    // True once the sensor took the file's configuration; every failure was shown on the progress window.
    bool restore(QProgressDialog *progress);

    Ui::DialogRestoreSettings *ui;
};
