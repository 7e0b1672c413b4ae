// Completes a picture request: the last picture, or the one taken a given number of milliseconds ago.
#include "DlgGetImage.h"
#include "ui_DlgGetImage.h"

#include "ZyModalRunner.h"

#include <QDateTime>

DlgGetImage::DlgGetImage(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DlgGetImage)
{
    ui->setupUi(this);
    ui->radioLast->setChecked(true);
    on_radioLast_toggled();
}

DlgGetImage::~DlgGetImage()
{
    delete ui;
}

int DlgGetImage::exec(PXRMsg *request)
{
    m_request = request;
    return ZyModalRunner::exec(this);
}

void DlgGetImage::on_radioLast_toggled()
{
    ui->spinMs->setEnabled(ui->radioMs->isChecked());
}

void DlgGetImage::on_buttonBox_accepted()
{
    PXRMsgElement *root = m_request != nullptr ? PXRMsgChild(m_request) : nullptr;
    if (!ui->radioLast->isChecked() && root != nullptr)
        PXRMsgElementSetAttributeInt64(root, "date", QDateTime::currentMSecsSinceEpoch() - ui->spinMs->value());
    accept();
}

void DlgGetImage::on_buttonBox_rejected()
{
    reject();
}
