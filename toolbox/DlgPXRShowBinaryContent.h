// An element's binary content shown as a zoomable picture.
#pragma once

#include "PXR.h"

#include <QDialog>

namespace Ui {
class DlgPXRShowBinaryContent;
}
class ZyZoomImage;

class DlgPXRShowBinaryContent : public QDialog
{
    Q_OBJECT

public:
    explicit DlgPXRShowBinaryContent(QWidget *parent = nullptr);
    ~DlgPXRShowBinaryContent() override;

    // Shows the content as a picture and runs the dialog; 0 when there is no picture to show.
    int showContent(PXRMsgElement *psElement);

    ZyZoomImage *image() const;

private:
    Ui::DlgPXRShowBinaryContent *ui;
};
