// An element's binary content shown as a zoomable picture.
#include "DlgPXRShowBinaryContent.h"
#include "ui_DlgPXRShowBinaryContent.h"

#include "ZyDialogs.h"
#include "ZyModalRunner.h"

#include <QPixmap>

DlgPXRShowBinaryContent::DlgPXRShowBinaryContent(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DlgPXRShowBinaryContent)
{
    ui->setupUi(this);
    ui->labelImage->setZoomEnabled(true);
}

DlgPXRShowBinaryContent::~DlgPXRShowBinaryContent()
{
    delete ui;
}

ZyZoomImage *DlgPXRShowBinaryContent::image() const
{
    return ui->labelImage;
}

int DlgPXRShowBinaryContent::showContent(PXRMsgElement *psElement)
{
    const auto *content = static_cast<const uchar *>(PXRMsgElementContent(psElement));
    if (!content) {
        ZyDialogs::critical(this, tr("Binary content"), tr("There is no binary data in this element"), QString());
        return 0;
    }
    QPixmap picture;
    if (!picture.loadFromData(content, PXRMsgElementContentSize(psElement))) {
        ZyDialogs::critical(this, tr("Binary content"), tr("Unknown content"), QString());
        return 0;
    }
    ui->labelImage->setPixmap(picture);
    return ZyModalRunner::exec(this);
}
