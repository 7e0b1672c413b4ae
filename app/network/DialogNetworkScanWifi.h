// The Wi-Fi networks the sensor sees, from its scan answer; the operator picks one's SSID.
#pragma once

#include <QDialog>

#include <memory>

#include "PXR.h"

namespace Ui {
class DialogNetworkScanWifi;
}

class QTreeWidgetItem;

class DialogNetworkScanWifi : public QDialog
{
    Q_OBJECT

public:
    explicit DialogNetworkScanWifi(QWidget *parent);
    ~DialogNetworkScanWifi() override;

    using QDialog::exec;
    // Lists the answer's networks and runs the dialog through the modal seam; an answer that is
    // no network list gives rejected at once, unshown. The picked SSID goes to ssid on OK. The
    // caller keeps the answer.
    int exec(QString *ssid, PXRMsg *answer);

private slots:
    void on_buttonBox_accepted();
    void on_treeWidget_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void on_buttonBox_rejected();

private:
    void pick(const QTreeWidgetItem *item);

    std::unique_ptr<Ui::DialogNetworkScanWifi> ui;
    QString *m_ssid = nullptr;
};
