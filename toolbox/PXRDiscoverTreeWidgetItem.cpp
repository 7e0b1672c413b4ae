// A row of the discovered-sensors list; it owns the discover message it shows.
#include "PXRDiscoverTreeWidgetItem.h"

#include "PXRDiscoverTreeWidget.h"

PXRDiscoverTreeWidgetItem::~PXRDiscoverTreeWidgetItem()
{
    PXRMsgDestroy(PXRDiscoverTreeWidget::sensorMessage(this));
}
