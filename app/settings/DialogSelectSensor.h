// The sensors announced on the network, one of which the operator picks as a slave; those that
// cannot serve as that kind of slave are refused with the reason.
#pragma once

#include <QDialog>

#include <memory>

#include "PXR.h"

namespace Ui {
class DialogSelectSensor;
}

class QTreeWidgetItem;

class DialogSelectSensor : public QDialog
{
    Q_OBJECT

public:
    explicit DialogSelectSensor(QWidget *parent);
    ~DialogSelectSensor() override;

    // The sensor being configured, the algorithm the slave must run, and where the chosen MAC
    // address goes on acceptance.
    void setParameters(const QString &ownMac, const QString &algorithm, QString *chosenMac);

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();
    void on_treeDiscover_itemDoubleClicked(QTreeWidgetItem *item, int column);

private:
    void choose(QTreeWidgetItem *item);
    // Why the announced sensor cannot be the slave; empty when it can.
    QString refusal(PXRMsg *announcement) const;

    std::unique_ptr<Ui::DialogSelectSensor> ui;
    // Its own listener beside the main window's, so the list hears the network from the start.
    PXRDiscover *m_discover = nullptr;
    QString m_ownMac;
    QString m_algorithm;
    QString *m_chosenMac = nullptr;
};
