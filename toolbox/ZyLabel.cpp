// A label that remembers the tree row it is placed in.
#include "ZyLabel.h"

ZyLabel::ZyLabel(QWidget *parent, QTreeWidgetItem *item)
    : QLabel(parent)
    , m_item(item)
{
}

QTreeWidgetItem *ZyLabel::item() const
{
    return m_item;
}
