// A tree row that keeps a typed sort value beside each cell's text.
#pragma once

#include <QIcon>
#include <QTreeWidgetItem>
#include <QVariant>

class QTreeWidget;

class ZyTreeWidgetItem : public QTreeWidgetItem
{
public:
    ZyTreeWidgetItem();
    ~ZyTreeWidgetItem() override;

    bool operator<(const QTreeWidgetItem &other) const override;

    virtual void setText(int column, const QString &text);
    virtual void setIPAddress(int column, const QString &text);
    virtual void setValue(int column, const QVariant &value, const QString &format);
    virtual void setIcon(int column, const QIcon &icon, const QString &tooltip, bool tooltipIsSortValue);
    virtual void setDelegateValue(QTreeWidget *view, int column, const QVariant &value);
    virtual QVariant delegateValue(QTreeWidget *view, int column) const;

    void setRowForeground(const QBrush &brush);

protected:
    void setCellText(int column, const QString &text);
    void setRowHeightHint(int column);

private:
    int m_rowHeight = 16;
};
