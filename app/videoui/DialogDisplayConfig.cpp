// The local display options of the video panel: live video, grid and covering zone, stored for
// this computer and applied to the panel at once.
#include "DialogDisplayConfig.h"
#include "ui_DialogDisplayConfig.h"

#include "AppSettings.h"
#include "WidgetVideoPlayer.h"

DialogDisplayConfig::DialogDisplayConfig(WidgetVideoPlayer *panel)
    : QDialog(panel), ui(std::make_unique<Ui::DialogDisplayConfig>()), m_panel(panel)
{
    ui->setupUi(this);
    ui->checkDisplaySlaveVideo->hide();
    const AppSettings settings;
    ui->checkDisplayVideo->setChecked(settings.displayVideo());
    ui->checkDisplayGrid->setChecked(settings.displayGrid());
    ui->checkDisplayCoveringZone->setChecked(settings.displayCoveringZone());
    ui->checkDisplaySlaveVideo->setChecked(settings.displaySlaveVideo());
}

DialogDisplayConfig::~DialogDisplayConfig() = default;

// The panel reads the setting when it updates its controls: it is stored first.
void DialogDisplayConfig::on_checkDisplayVideo_clicked(bool checked)
{
    AppSettings().setDisplayVideo(checked);
    m_panel->on_checkDisplayVideo_clicked(checked);
}

void DialogDisplayConfig::on_checkDisplayGrid_clicked(bool checked)
{
    m_panel->on_checkDisplayGrid_clicked(checked);
    AppSettings().setDisplayGrid(checked);
}

void DialogDisplayConfig::on_checkDisplayCoveringZone_clicked(bool checked)
{
    m_panel->on_checkDisplayCoveringZone_clicked(checked);
    AppSettings().setDisplayCoveringZone(checked);
}

void DialogDisplayConfig::on_checkDisplaySlaveVideo_clicked(bool checked)
{
    AppSettings().setDisplaySlaveVideo(checked);
}

void DialogDisplayConfig::on_buttonBox_rejected()
{
    reject();
}
