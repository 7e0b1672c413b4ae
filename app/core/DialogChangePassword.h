// Sets, changes or removes the start-up password.
#pragma once

#include "AppSettings.h"

#include <QDialog>

namespace Ui {
class DialogChangePassword;
}

class DialogChangePassword : public QDialog
{
    Q_OBJECT

public:
    explicit DialogChangePassword(QWidget *parent = nullptr);
    ~DialogChangePassword() override;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    Ui::DialogChangePassword *ui;
    AppSettings m_settings;
};
