// A row of the add/delete tree: an add row, a removable row or a plain row.
#include "ZyADTreeWidgetItem.h"

#include "ZyStylesheet.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace {
const char *const kDefaultAddIcon = ":/ZyADTreeWidget/add";
const char *const kDefaultDelIcon = ":/ZyADTreeWidget/del";

bool isAddRow(const QTreeWidgetItem &item)
{
    const auto *row = dynamic_cast<const ZyADTreeWidgetItem *>(&item);
    return row && row->rowType() == ZyADTreeWidgetItem::AddRow;
}
} // namespace

ZyADTreeWidgetItem::ZyADTreeWidgetItem(bool addable, int rowType, const QString &text, const QString &addIcon,
                                       const QString &delIcon)
    : m_addable(addable)
    , m_addIcon(addIcon.isEmpty() ? QString(kDefaultAddIcon) : addIcon)
    , m_delIcon(delIcon.isEmpty() ? QString(kDefaultDelIcon) : delIcon)
{
    ZyStylesheet::registerPictures();
    setType(rowType, text);
    if (addable)
        addChild(new ZyADTreeWidgetItem(false, AddRow, text));
}

ZyADTreeWidgetItem::~ZyADTreeWidgetItem() = default;

int ZyADTreeWidgetItem::rowType() const
{
    return m_rowType;
}

bool ZyADTreeWidgetItem::isAddable() const
{
    return m_addable;
}

void ZyADTreeWidgetItem::setType(int rowType, const QString &text)
{
    m_rowType = rowType;
    switch (rowType) {
    case AddRow:
        setIcon(0, QIcon(m_addIcon), text.isEmpty() ? tr("Add") : text, false);
        if (!text.isEmpty()) {
            setText(0, text);
            QFont italic = font(0);
            italic.setItalic(true);
            setFont(0, italic);
            setForeground(0, QColor(128, 128, 128));
        }
        break;
    case RemovableRow:
        setIcon(0, QIcon(m_delIcon), tr("Remove"), false);
        break;
    default:
        setIcon(0, QIcon(), QString(), false);
        break;
    }
}

bool ZyADTreeWidgetItem::operator<(const QTreeWidgetItem &other) const
{
    // Add rows stay last among their siblings whichever way the view is sorted.
    const Qt::SortOrder order =
        treeWidget() ? treeWidget()->header()->sortIndicatorOrder() : Qt::AscendingOrder;
    if (m_rowType == AddRow)
        return order == Qt::DescendingOrder;
    if (isAddRow(other))
        return order == Qt::AscendingOrder;
    return ZyTreeWidgetItem::operator<(other);
}
