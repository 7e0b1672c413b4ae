// A tree row that keeps a typed sort value beside each cell's text.
#include "ZyTreeWidgetItem.h"

#include "ZyDelegateComboBox.h"

#include <QDateTime>
#include <QStringList>
#include <QTreeWidget>

namespace {

QString displayText(const QVariant &value, const QString &format)
{
    switch (value.typeId()) {
    case QMetaType::Double:
        if (format.isEmpty())
            return value.toString();
        return QString::number(value.toDouble(), 'f', int(format.toUInt()));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(format.isEmpty() ? QString("yyyy/MM/dd hh:mm:ss.zzz") : format);
    default:
        return value.toString();
    }
}

bool readIPv4(const QString &text, quint32 &address)
{
    const QStringList parts = text.split('.', Qt::KeepEmptyParts);
    if (parts.size() != 4)
        return false;
    address = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const short byte = part.toShort(&ok, 10);
        if (!ok || byte < 0 || byte > 255)
            return false;
        address = (address << 8) | quint32(byte);
    }
    return true;
}

ZyDelegateComboBox *delegateOf(QTreeWidget *view, int column)
{
    return view ? qobject_cast<ZyDelegateComboBox *>(view->itemDelegateForColumn(column)) : nullptr;
}

} // namespace

ZyTreeWidgetItem::ZyTreeWidgetItem()
    : QTreeWidgetItem(0)
{
}

ZyTreeWidgetItem::~ZyTreeWidgetItem() = default;

void ZyTreeWidgetItem::setCellText(int column, const QString &text)
{
    QTreeWidgetItem::setText(column, text);
    setToolTip(column, text);
    setRowHeightHint(column);
}

void ZyTreeWidgetItem::setRowHeightHint(int column)
{
    // Set as data: setSizeHint drops a hint whose width is left open.
    setData(column, Qt::SizeHintRole, QSize(-1, m_rowHeight));
}

void ZyTreeWidgetItem::setValue(int column, const QVariant &value, const QString &format)
{
    setData(column, Qt::UserRole, value);
    setCellText(column, displayText(value, format));
}

void ZyTreeWidgetItem::setText(int column, const QString &text)
{
    setValue(column, text, QString());
}

void ZyTreeWidgetItem::setIPAddress(int column, const QString &text)
{
    quint32 address = 0;
    if (!readIPv4(text, address)) {
        setValue(column, text, QString());
        return;
    }
    setData(column, Qt::UserRole, address);
    setCellText(column, text);
}

void ZyTreeWidgetItem::setIcon(int column, const QIcon &icon, const QString &tooltip, bool tooltipIsSortValue)
{
    QTreeWidgetItem::setIcon(column, icon);
    if (tooltipIsSortValue)
        setData(column, Qt::UserRole, tooltip);
    setToolTip(column, tooltip);
    setRowHeightHint(column);
}

void ZyTreeWidgetItem::setDelegateValue(QTreeWidget *view, int column, const QVariant &value)
{
    ZyDelegateComboBox *delegate = delegateOf(view, column);
    if (!delegate)
        return;
    QComboBox *combo = delegate->comboBox();
    const int index = combo->findData(value, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        setValue(column, combo->itemText(index), QString());
}

QVariant ZyTreeWidgetItem::delegateValue(QTreeWidget *view, int column) const
{
    ZyDelegateComboBox *delegate = delegateOf(view, column);
    if (!delegate)
        return QVariant();
    QComboBox *combo = delegate->comboBox();
    // A cell set through setDelegateValue holds the entry's text rather than its index.
    bool isIndex = false;
    int index = int(data(column, Qt::UserRole).toUInt(&isIndex));
    if (!isIndex)
        index = combo->findText(text(column), Qt::MatchExactly | Qt::MatchCaseSensitive);
    return combo->itemData(index, Qt::UserRole);
}

void ZyTreeWidgetItem::setRowForeground(const QBrush &brush)
{
    const int columns = treeWidget() ? qMax(columnCount(), treeWidget()->columnCount()) : columnCount();
    for (int column = 0; column < columns; ++column)
        setForeground(column, brush);
}

bool ZyTreeWidgetItem::operator<(const QTreeWidgetItem &other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    const QVariant mine = data(column, Qt::UserRole);
    const QVariant theirs = other.data(column, Qt::UserRole);
    if (mine.typeId() == QMetaType::QString && theirs.typeId() == QMetaType::QString)
        return mine.toString().toLower() < theirs.toString().toLower();
    if (mine.typeId() == QMetaType::QDateTime && theirs.typeId() == QMetaType::QDateTime)
        return mine.toDateTime() < theirs.toDateTime();
    return mine.toDouble() < theirs.toDouble();
}
