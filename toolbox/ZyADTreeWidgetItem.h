// A row of the add/delete tree: an add row, a removable row or a plain row.
#pragma once

#include "ZyTreeWidgetItem.h"

#include <QCoreApplication>

class ZyADTreeWidgetItem : public ZyTreeWidgetItem
{
    Q_DECLARE_TR_FUNCTIONS(ZyADTreeWidgetItem)

public:
    enum RowType { AddRow = 0, RemovableRow = 1, PlainRow = 2 };

    ZyADTreeWidgetItem(bool addable, int rowType, const QString &text, const QString &addIcon = QString(),
                       const QString &delIcon = QString());
    ~ZyADTreeWidgetItem() override;

    bool operator<(const QTreeWidgetItem &other) const override;

    void setType(int rowType, const QString &text);
    int rowType() const;
    bool isAddable() const;

private:
    bool m_addable = false;
    int m_rowType = PlainRow;
    QString m_addIcon;
    QString m_delIcon;
};
