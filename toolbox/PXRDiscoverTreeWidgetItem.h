// A row of the discovered-sensors list; it owns the discover message it shows.
#pragma once

#include "ZyTreeWidgetItem.h"

class PXRDiscoverTreeWidgetItem : public ZyTreeWidgetItem
{
public:
    PXRDiscoverTreeWidgetItem() = default;
    // Destroys the message kept in the row, so no path that drops a row leaks it.
    ~PXRDiscoverTreeWidgetItem() override;
};
