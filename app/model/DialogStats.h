// The statistics window: the model's video graph, redrawn twice a second while it is visible.
#pragma once

#include <QDialog>
#include <QTimer>

class QMainWindow;

namespace Ui {
class DialogStats;
}

class DialogStats : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 500;

    explicit DialogStats(QMainWindow *parent);
    ~DialogStats() override;

public slots:
    void onTimeout();

protected:
    // Closing only hides the window and unticks the main window's "actionViewStats".
    void closeEvent(QCloseEvent *event) override;

private:
    Ui::DialogStats *ui;
    QTimer m_timer;
};
