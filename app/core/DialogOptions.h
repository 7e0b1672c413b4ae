// The application's own options: language, video buffer duration and hardware rendering.
#pragma once

#include "AppSettings.h"

#include <QDialog>

namespace Ui {
class DialogOptions;
}

class DialogOptions : public QDialog
{
    Q_OBJECT

public:
    explicit DialogOptions(QWidget *parent = nullptr);
    ~DialogOptions() override;

private slots:
    void on_btnOKCancel_accepted();
    void on_btnOKCancel_rejected();

private:
    void storeLanguage();

    Ui::DialogOptions *ui;
    AppSettings m_settings;
};
