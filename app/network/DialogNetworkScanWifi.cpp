// The Wi-Fi networks the sensor sees.
#include "DialogNetworkScanWifi.h"
#include "ui_DialogNetworkScanWifi.h"

#include "ZyModalRunner.h"
#include "ZyTreeWidgetItem.h"

#include <cstring>

DialogNetworkScanWifi::DialogNetworkScanWifi(QWidget *parent) : QDialog(parent), ui(new Ui::DialogNetworkScanWifi)
{
    ui->setupUi(this);
    ui->treeWidget->init2({tr("SSID"), tr("Encryption"), tr("Signal")}, 0);
    ui->treeWidget->setSortingEnabled(true);
    ui->treeWidget->sortByColumn(0, Qt::AscendingOrder);
}

DialogNetworkScanWifi::~DialogNetworkScanWifi() = default;

int DialogNetworkScanWifi::exec(QString *ssid, PXRMsg *answer)
{
    PXRMsgElement *root = PXRMsgChild(answer);
    if (root == nullptr || std::strcmp(PXRMsgElementName(root), "wifiNetworks") != 0)
        return QDialog::Rejected;
    m_ssid = ssid;
    const char *const columns[] = {"ssid", "encryption", "signal_db"};
    for (PXRMsgElement *network = PXRMsgElementFirstChild(root, "network"); network != nullptr;
         network = PXRMsgElementNextChild(root, network, "network")) {
        auto *item = new ZyTreeWidgetItem();
        ui->treeWidget->addTopLevelItem(item);
        for (int column = 0; column < 3; ++column)
            if (const char *value = PXRMsgElementAttributeValue(network, columns[column]))
                item->setText(column, QString::fromLatin1(value));
    }
    return ZyModalRunner::exec(this);
}

void DialogNetworkScanWifi::pick(const QTreeWidgetItem *item)
{
    if (item == nullptr)
        return;
    if (m_ssid != nullptr)
        *m_ssid = item->text(0);
    accept();
}

void DialogNetworkScanWifi::on_buttonBox_accepted()
{
    pick(ui->treeWidget->currentItem());
}

void DialogNetworkScanWifi::on_treeWidget_itemDoubleClicked(QTreeWidgetItem *item, int)
{
    pick(item);
}

void DialogNetworkScanWifi::on_buttonBox_rejected()
{
    reject();
}
