// The statistics window: the model's video graph, redrawn twice a second while it is visible.
#include "DialogStats.h"

#include "ui_DialogStats.h"

#include <QCloseEvent>
#include <QMainWindow>

DialogStats::DialogStats(QMainWindow *parent)
    : QDialog(parent)
    , ui(new Ui::DialogStats)
{
    ui->setupUi(this);
}

DialogStats::~DialogStats()
{
    delete ui;
}

void DialogStats::onTimeout() {}

void DialogStats::closeEvent(QCloseEvent *event)
{
    QDialog::closeEvent(event);
}
