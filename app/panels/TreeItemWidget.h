// Widgets placed in the value column of the sensor trees' rows: found again on refills, and
// taken away only once no signal of theirs can still be running.
#pragma once

#include <QTreeWidget>

class TreeItemWidget
{
public:
    TreeItemWidget() = delete;

    // The widget of that kind in the row's column, or null.
    template <typename Widget>
    static Widget *find(QTreeWidget *tree, QTreeWidgetItem *row, int column)
    {
        return qobject_cast<Widget *>(tree->itemWidget(row, column));
    }

    // Places the widget, taking away any other one there.
    static void place(QTreeWidget *tree, QTreeWidgetItem *row, int column, QWidget *widget);
    // Hides the row's widget at once and deletes it from the event loop: the request its own
    // signal started may still be waiting further up the stack.
    static void remove(QTreeWidget *tree, QTreeWidgetItem *row, int column);
};
