// A dock whose title-bar close button does not close it but tells the window, which hides it
// and unticks its View action.
#include "DockWidgetWithCloseSignal.h"

#include <QCloseEvent>

DockWidgetWithCloseSignal::DockWidgetWithCloseSignal(QWidget *parent)
    : QDockWidget(parent)
{
}

void DockWidgetWithCloseSignal::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit closeButtonClicked();
}
