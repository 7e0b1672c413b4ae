// Widgets placed in the value column of the sensor trees' rows: found again on refills, and
// taken away only once no signal of theirs can still be running.
#include "TreeItemWidget.h"

#include <QPointer>

void TreeItemWidget::place(QTreeWidget *tree, QTreeWidgetItem *row, int column, QWidget *widget)
{
    if (tree->itemWidget(row, column) == widget)
        return;
    remove(tree, row, column);
    tree->setItemWidget(row, column, widget);
}

void TreeItemWidget::remove(QTreeWidget *tree, QTreeWidgetItem *row, int column)
{
    QPointer<QWidget> old = tree->itemWidget(row, column);
    if (old.isNull())
        return;
    tree->removeItemWidget(row, column);
    if (!old.isNull()) {
        old->hide();
        old->deleteLater();
    }
}
