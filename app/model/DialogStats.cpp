// The statistics window: the model's video graph, redrawn twice a second while it is visible.
#include "DialogStats.h"

#include "Model.h"
#include "ui_DialogStats.h"

#include <QAction>
#include <QCloseEvent>
#include <QMainWindow>

DialogStats::DialogStats(QMainWindow *parent)
    : QDialog(parent)
    , ui(new Ui::DialogStats)
{
    ui->setupUi(this);
    connect(&m_timer, &QTimer::timeout, this, &DialogStats::onTimeout);
    m_timer.start(kRefreshMs);
}

DialogStats::~DialogStats()
{
    delete ui;
}

// A hidden window draws nothing.
void DialogStats::onTimeout()
{
    if (isVisible())
        ui->labelImage->setPixmap(Model::instance()->statisticsPixmap());
}

void DialogStats::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
    if (QAction *action = parentWidget() != nullptr ? parentWidget()->findChild<QAction *>("actionViewStats") : nullptr)
        action->setChecked(false);
}
