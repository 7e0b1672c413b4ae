// Asks for the start-up password before the main window exists.
#pragma once

#include "AppSettings.h"

#include <QDialog>

namespace Ui {
class DialogCheckPassword;
}

class DialogCheckPassword : public QDialog
{
    Q_OBJECT

public:
    explicit DialogCheckPassword(QWidget *parent = nullptr);
    ~DialogCheckPassword() override;

private slots:
    void on_btnOKCancel_accepted();
    void on_btnOKCancel_rejected();

private:
    Ui::DialogCheckPassword *ui;
    AppSettings m_settings;
};
