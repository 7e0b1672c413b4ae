// One PXR message shown as a tree of elements and attributes, read-only or edited in place.
#pragma once

#include "ZyTreeWidget.h"

#include "PXR.h"

#include <QPoint>

class ZyTreeWidgetItem;

class PXRMsgTreeWidget : public ZyTreeWidget
{
    Q_OBJECT

public:
    // Row kinds, kept in column 0 under Qt::UserRole + 2.
    enum Kind { ElementRow = 1, AttributeRow = 2, AddElementRow = 101, AddAttributeRow = 102 };

    explicit PXRMsgTreeWidget(QWidget *parent = nullptr);

    // Shows the message (not owned; it must outlive its display); editing is refused for a read-only one.
    void setMessage(PXRMsg *psMsg, bool editable);
    PXRMsg *message() const { return m_msg; }
    bool isEditable() const { return m_editable; }
    // (Re)builds one element row and everything under it.
    void showElement(PXRMsgElement *psElement, QTreeWidgetItem *item);

    static int kind(const QTreeWidgetItem *item);
    static PXRMsgElement *element(const QTreeWidgetItem *item);

signals:
    void signalMsgChanged();

public slots:
    void onItemClicked(QTreeWidgetItem *pItem, int col);
    void onItemDoubleClicked(QTreeWidgetItem *pItem);
    void onLinkActivated(const QString &strLink);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    ZyTreeWidgetItem *newAttributeRow(const QString &name, const QString &value);
    ZyTreeWidgetItem *newAddRow(Kind kind, const QString &text, const QColor &colour);
    void rebuild(PXRMsgElement *psElement, QTreeWidgetItem *item);
    void setContentLine(PXRMsgElement *psElement, QTreeWidgetItem *item);
    QString askText(const QString &title, const QString &label, const QString &initial);
    void addElement(QTreeWidgetItem *addRow);
    void addAttribute(QTreeWidgetItem *addRow);
    void editAttribute(QTreeWidgetItem *row);
    void renameElement(QTreeWidgetItem *row);
    void saveContent(PXRMsgElement *psElement);
    bool loadContent(PXRMsgElement *psElement);

    PXRMsg *m_msg = nullptr;
    bool m_editable = false;
    bool m_headersSet = false;
    QPoint m_pressPosition;
};
