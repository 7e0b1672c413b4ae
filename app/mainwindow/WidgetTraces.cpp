// The traces dock's content: the global log and the main window's three log units on tabs,
// with a Clear link; the selected tab is remembered.
#include "WidgetTraces.h"
#include "ui_WidgetTraces.h"

#include "MainWindowInterface.h"
#include "ZyLogs.h"
#include "ZyLogsUnit.h"

#include <QLabel>
#include <QSettings>

namespace {
const char *const kTraceTabKey = "traceTab";
}

WidgetTraces::WidgetTraces(QWidget *parent) : QWidget(parent), ui(new Ui::WidgetTraces)
{
    ui->setupUi(this);
    auto *clearLink = new QLabel(QStringLiteral("<a href='clear'>") + tr("Clear") + QStringLiteral("</a>"), this);
    ui->tabWidget->setCornerWidget(clearLink, Qt::TopRightCorner);
    // The tab bar's usual offset would push the last tab under the link.
    ui->tabWidget->setStyleSheet(QStringLiteral("QTabWidget::tab-bar { left: 0px; }"));
    connect(clearLink, &QLabel::linkActivated, this, &WidgetTraces::clear);

    ZyLogs::setTextBrowser(ui->plainTextEdit);
    if (ZyLogsUnit *unit = MainWindowInterface::appLog())
        unit->setTextBrowser(ui->plainTextEditBZK);
    if (ZyLogsUnit *unit = MainWindowInterface::libraryLog())
        unit->setTextBrowser(ui->plainTextEditPXR);
    if (ZyLogsUnit *unit = MainWindowInterface::sensorLog())
        unit->setTextBrowser(ui->plainTextEditSensor);

    const uint tab = QSettings().value(kTraceTabKey, 1u).toUInt();
    if (tab < uint(ui->tabWidget->count()))
        ui->tabWidget->setCurrentIndex(int(tab));
}

WidgetTraces::~WidgetTraces()
{
    QSettings().setValue(kTraceTabKey, uint(ui->tabWidget->currentIndex()));
    clear();
    delete ui;
}

void WidgetTraces::clear()
{
    ui->plainTextEdit->clear();
    ui->plainTextEditBZK->clear();
    ui->plainTextEditPXR->clear();
    ui->plainTextEditSensor->clear();
}
