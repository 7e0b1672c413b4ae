// A dock whose title-bar close button does not close it but tells the window, which hides it
// and unticks its View action.
#pragma once

#include <QDockWidget>

class DockWidgetWithCloseSignal : public QDockWidget
{
    Q_OBJECT

public:
    explicit DockWidgetWithCloseSignal(QWidget *parent = nullptr);

signals:
    void closeButtonClicked();

protected:
    void closeEvent(QCloseEvent *event) override;
};
