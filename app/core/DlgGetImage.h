// Completes a picture request: the last picture, or the one taken a given number of milliseconds ago.
#pragma once

#include <QDialog>

#include "PXR.h"

namespace Ui {
class DlgGetImage;
}

class DlgGetImage : public QDialog
{
    Q_OBJECT

public:
    explicit DlgGetImage(QWidget *parent = nullptr);
    ~DlgGetImage() override;

    // Runs the dialog on the request, which stays the caller's; 1 when accepted.
    int exec(PXRMsg *request);

private slots:
    void on_radioLast_toggled();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    using QDialog::exec;

    Ui::DlgGetImage *ui;
    PXRMsg *m_request = nullptr;
};
