// A list whose rows are added and removed by clicking icons at the left of the rows.
#include "ZyADTreeWidget.h"

#include "ZyADTreeWidgetItem.h"
#include "ZyStylesheet.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {
const int kIconAreaWidth = 20;
}

ZyADTreeWidget::ZyADTreeWidget(QWidget *parent)
    : ZyTreeWidget(parent)
{
    ZyStylesheet::registerPictures();
    connect(this, &QTreeWidget::itemClicked, this, &ZyADTreeWidget::onItemClicked);
}

void ZyADTreeWidget::initAD(const QStringList &titles, bool withAddRow, const QString &text)
{
    init2(titles, 0);
    clear();
    m_withAddRow = withAddRow;
    if (columnCount() == 1)
        header()->setStretchLastSection(true);
    if (withAddRow)
        addTopLevelItem(new ZyADTreeWidgetItem(false, ZyADTreeWidgetItem::AddRow, text));
}

void ZyADTreeWidget::addItem(ZyADTreeWidgetItem *item)
{
    if (!m_withAddRow || topLevelItemCount() == 0) {
        addTopLevelItem(item);
        return;
    }
    QTreeWidgetItem *addRow = takeTopLevelItem(topLevelItemCount() - 1);
    addTopLevelItem(item);
    addTopLevelItem(addRow);
}

void ZyADTreeWidget::mousePressEvent(QMouseEvent *event)
{
    // The icon hit is judged where the button went down, not where the cursor is later.
    m_pressPosition = event->position().toPoint();
    ZyTreeWidget::mousePressEvent(event);
}

void ZyADTreeWidget::onItemClicked(QTreeWidgetItem *pItem, int column)
{
    auto *row = dynamic_cast<ZyADTreeWidgetItem *>(pItem);
    if (!row || column != 0)
        return;
    const QRect rect = visualItemRect(row);
    if (m_pressPosition.x() < rect.left() || m_pressPosition.x() > rect.left() + kIconAreaWidth)
        return;
    if (row->rowType() == ZyADTreeWidgetItem::AddRow)
        emit signalAdd(dynamic_cast<ZyADTreeWidgetItem *>(row->parent()));
    else if (row->rowType() == ZyADTreeWidgetItem::RemovableRow)
        emit signalDel(row);
}
