// A label that remembers the tree row it is placed in.
#pragma once

#include <QLabel>

class QTreeWidgetItem;

class ZyLabel : public QLabel
{
    Q_OBJECT

public:
    ZyLabel(QWidget *parent, QTreeWidgetItem *item);

    QTreeWidgetItem *item() const;

private:
    QTreeWidgetItem *m_item = nullptr;
};
