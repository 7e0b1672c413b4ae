// A list whose rows are added and removed by clicking icons at the left of the rows.
#pragma once

#include "ZyTreeWidget.h"

#include <QPoint>

class ZyADTreeWidgetItem;

class ZyADTreeWidget : public ZyTreeWidget
{
    Q_OBJECT

public:
    explicit ZyADTreeWidget(QWidget *parent = nullptr);

    void initAD(const QStringList &titles, bool withAddRow, const QString &text);
    void addItem(ZyADTreeWidgetItem *item);

signals:
    void signalAdd(ZyADTreeWidgetItem *pItemParent);
    void signalDel(ZyADTreeWidgetItem *pItem);

private slots:
    void onItemClicked(QTreeWidgetItem *pItem, int column);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool m_withAddRow = false;
    QPoint m_pressPosition;
};
