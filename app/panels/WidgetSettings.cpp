// The "Settings" tab of the sensor dock: the configuration tree, whose edit links it passes on.
#include "WidgetSettings.h"
#include "ui_WidgetSettings.h"

WidgetSettings::WidgetSettings(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::WidgetSettings)
{
    ui->setupUi(this);
    ui->treeSettings->setupHeader("treeSettings");
    connect(ui->treeSettings, &WidgetGeneralSettings::openDialog, this, &WidgetSettings::openDialog);
    ui->treeSettings->clearTree();
}

WidgetSettings::~WidgetSettings()
{
    delete ui;
}

WidgetGeneralSettings *WidgetSettings::tree() const
{
    return ui->treeSettings;
}

void WidgetSettings::clear()
{
    ui->treeSettings->clearTree();
}

void WidgetSettings::reload()
{
    ui->treeSettings->fillConfig();
}
