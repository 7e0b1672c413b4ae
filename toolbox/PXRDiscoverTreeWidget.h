// The list of sensors heard on the local network, refreshed from a discovery object every two seconds.
#pragma once

#include "ZyTreeWidget.h"

#include "PXR.h"

#include <QList>
#include <QTimer>

class ZyTreeWidgetItem;

class PXRDiscoverTreeWidget : public ZyTreeWidget
{
    Q_OBJECT

public:
    explicit PXRDiscoverTreeWidget(QWidget *parent = nullptr);
    ~PXRDiscoverTreeWidget() override;

    // Fills the row from a discover message; the row then owns the message.
    virtual void fillItem(QTreeWidgetItem *item, PXRMsg *psMsg);
    // Whether a sensor is listed; subclasses may hide some.
    virtual bool acceptSensor(PXRMsg *psMsg);
    // Copies of the discovery object's messages, owned by the caller; false when there are none.
    virtual bool getDiscovered(QList<PXRMsg *> &messages);
    // Starts listing the object's sensors; a null object makes the list create and own one.
    virtual void init(PXRDiscover *psDiscover);
    virtual void refresh();

    // The message kept in the row, still owned by the row; null for a null row.
    static PXRMsg *sensorMessage(QTreeWidgetItem *item);

private slots:
    void on_timerDiscover_timeout();

private:
    void releaseOwnDiscovery();
    void fillStartingRow(ZyTreeWidgetItem *row, PXRMsgElement *psRoot, const char *pcszStatus);
    void fillAnnouncedRow(ZyTreeWidgetItem *row, PXRMsgElement *psRoot);
    void setTextCell(ZyTreeWidgetItem *row, int column, PXRMsgElement *psRoot, const char *pcszName);
    void setNumberCell(ZyTreeWidgetItem *row, int column, PXRMsgElement *psRoot, const char *pcszName);

    QTimer m_timerDiscover;
    bool m_externalDiscovery = false;
    PXRDiscover *m_discover = nullptr;
};
