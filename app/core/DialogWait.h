// The small dialog of both waits: for the sensor connection, where TLS problems may be accepted
// or the wait cancelled, and for a slow request, which it only shows.
#pragma once

#include <QDialog>
#include <QTimer>

class Sensor;

namespace Ui {
class DialogWait;
}

class DialogWait : public QDialog
{
    Q_OBJECT

public:
    explicit DialogWait(QWidget *parent = nullptr);
    ~DialogWait() override;

    // 1 once the sensor is connected (at once when it already is), 0 when the operator cancelled.
    int execConnecting(Sensor *sensor);
    // Shown without a modal loop until its owner deletes it.
    void showSendingRequest();

    // The lines of the TLS problem bits after the heading, in bit order; bits the table does
    // not know are reported as a verification failure, so the list is never empty.
    static QString sslErrorText(quint32 errors);

public slots:
    void onTimerTimeout();
    void on_buttonBox_rejected();
    void setMessage(QString strMessage);
    void on_btnIgnoreSSLErrors_clicked();

protected:
    // It ends only through its own code or Cancel, whatever the window manager offers.
    void closeEvent(QCloseEvent *event) override;

private:
    void showWaitingLook(bool withCancel);

    Ui::DialogWait *ui;
    Sensor *m_sensor = nullptr;
    QTimer m_timer;
};
