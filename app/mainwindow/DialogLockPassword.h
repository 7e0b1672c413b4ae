// Asks for the password that locks the sensor, showing the hint the sensor publishes; it neither
// checks nor keeps the password.
#pragma once

#include <QDialog>
#include <QString>

namespace Ui {
class DialogLockPassword;
}

class DialogLockPassword : public QDialog
{
    Q_OBJECT

public:
    explicit DialogLockPassword(QWidget *parent = nullptr);
    ~DialogLockPassword() override;

    // 1 when accepted, the text then holding the password as typed; on refusal it is untouched.
    int exec(QString *password);

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    using QDialog::exec;
    // The hint of the kept information, empty when it has none.
    static QString hint();

    Ui::DialogLockPassword *ui;
    QString *m_password = nullptr;
};
