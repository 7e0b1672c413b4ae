// The application's own options: language, video buffer duration and hardware rendering.
#include "DialogOptions.h"
#include "ui_DialogOptions.h"

#include "AppPaths.h"
#include "ZyDialogs.h"
#include "ZyLanguage.h"

DialogOptions::DialogOptions(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DialogOptions)
{
    ui->setupUi(this);
    ZyLanguage::fillCombo(AppPaths::programFolder() + "/bzk6_%1.qm", ui->comboLanguage);
    ui->checkNoHardwareRendering->setChecked(m_settings.noHardwareRendering());
    // Whole seconds; the box's range clamps what lies outside it.
    ui->spinVideoBufferDuration->setValue(int(m_settings.videoBufferDurationMs() / 1000));
}

DialogOptions::~DialogOptions()
{
    delete ui;
}

void DialogOptions::storeLanguage()
{
    // Without translation files there is nothing to choose: the language in use stays.
    if (ui->comboLanguage->count() == 0)
        return;
    const QString code = ui->comboLanguage->currentData().toString();
    if (code != ZyLanguage::currentLanguage())
        ZyDialogs::warning(this, tr("You need to relaunch the application for the changes to take effect"));
    ZyLanguage::setLanguage(code);
}

void DialogOptions::on_btnOKCancel_accepted()
{
    storeLanguage();
    m_settings.setNoHardwareRendering(ui->checkNoHardwareRendering->isChecked());
    m_settings.setVideoBufferDurationMs(quint32(ui->spinVideoBufferDuration->value()) * 1000);
    accept();
}

void DialogOptions::on_btnOKCancel_rejected()
{
    reject();
}
