// One PXR message shown as a tree of elements and attributes, read-only or edited in place.
#include "PXRMsgTreeWidget.h"

#include "DlgEditAttribute.h"
#include "DlgPXRShowBinaryContent.h"
#include "ZyDialogs.h"
#include "ZyLabel.h"
#include "ZyModalRunner.h"
#include "ZyStylesheet.h"
#include "ZyTreeWidgetItem.h"

#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QMouseEvent>
#include <QSettings>

#include <limits>

namespace {

const int kElementRole = Qt::UserRole + 1;
const int kKindRole = Qt::UserRole + 2;
const int kIconAreaWidth = 20;
const QColor kAttributeColour(0, 120, 0);

QIcon removeIcon()
{
    return QIcon(":/PXRQt/del");
}

QString utf8(const char *pcszText)
{
    return QString::fromUtf8(pcszText ? pcszText : "");
}

} // namespace

PXRMsgTreeWidget::PXRMsgTreeWidget(QWidget *parent)
    : ZyTreeWidget(parent)
{
    ZyStylesheet::registerPictures();
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::itemClicked, this, &PXRMsgTreeWidget::onItemClicked);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &PXRMsgTreeWidget::onItemDoubleClicked);
}

int PXRMsgTreeWidget::kind(const QTreeWidgetItem *item)
{
    return item ? item->data(0, kKindRole).toInt() : 0;
}

PXRMsgElement *PXRMsgTreeWidget::element(const QTreeWidgetItem *item)
{
    if (!item)
        return nullptr;
    return reinterpret_cast<PXRMsgElement *>(quintptr(item->data(0, kElementRole).toULongLong()));
}

void PXRMsgTreeWidget::setMessage(PXRMsg *psMsg, bool editable)
{
    if (!m_headersSet) {
        init2({"Element", "Attribute"}, 0);
        header()->setStretchLastSection(true);
        m_headersSet = true;
    }
    clear();
    m_msg = psMsg;
    if (!psMsg)
        return;
    m_editable = editable && !PXRMsgIsReadOnly(psMsg);
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    if (!psRoot)
        return;
    auto *row = new ZyTreeWidgetItem;
    addTopLevelItem(row);
    showElement(psRoot, row);
    expandAll();
}

void PXRMsgTreeWidget::showElement(PXRMsgElement *psElement, QTreeWidgetItem *item)
{
    auto *row = static_cast<ZyTreeWidgetItem *>(item);
    qDeleteAll(row->takeChildren());
    row->setText(0, utf8(PXRMsgElementName(psElement)));
    row->setData(0, kElementRole, QVariant::fromValue<quint64>(quintptr(psElement)));
    row->setData(0, kKindRole, int(ElementRow));
    if (m_editable && row->parent())
        row->setIcon(0, removeIcon(), QObject::tr("Remove"), false);
    setContentLine(psElement, row);
    const uint32_t count = PXRMsgElementAttributeCount(psElement);
    for (uint32_t i = 0; i < count; ++i) {
        const char *pcszName = PXRMsgElementAttributeName(psElement, i);
        row->addChild(newAttributeRow(QString::fromLatin1(pcszName),
                                      utf8(PXRMsgElementAttributeValue(psElement, pcszName))));
    }
    if (m_editable)
        row->addChild(newAddRow(AddAttributeRow, tr("Add new attribute..."), QColor(0, 200, 0)));
    for (PXRMsgElement *psChild = PXRMsgElementFirstChild(psElement, nullptr); psChild;
         psChild = PXRMsgElementNextChild(psElement, psChild, nullptr)) {
        auto *childRow = new ZyTreeWidgetItem;
        row->addChild(childRow);
        showElement(psChild, childRow);
    }
    if (m_editable)
        row->addChild(newAddRow(AddElementRow, tr("Add new element..."), QColor(128, 128, 128)));
}

void PXRMsgTreeWidget::rebuild(PXRMsgElement *psElement, QTreeWidgetItem *item)
{
    showElement(psElement, item);
    expandRecursively(indexFromItem(item));
}

void PXRMsgTreeWidget::setContentLine(PXRMsgElement *psElement, QTreeWidgetItem *item)
{
    const uint32_t size = PXRMsgElementContentSize(psElement);
    QString text;
    if (m_editable && size)
        text = tr("Data (%2 bytes) <a href=\"view\">View</a> ,&nbsp;<a href=\"save\">Save</a> ,&nbsp;"
                  "<a href=\"load\">Load</a> ,&nbsp;<a href=\"clear\">Clear</a> ")
                   .arg(size);
    else if (m_editable)
        text = tr("No data <a href=\"load\">Load</a>");
    else if (size)
        text = tr("Data (%1 bytes) <a href=\"view\">View</a> ,&nbsp;<a href=\"save\">Save</a>  ").arg(size);
    else
        text = tr("No data");
    auto *label = new ZyLabel(this, item);
    label->setFont(item->font(0));
    label->setText(text);
    connect(label, &QLabel::linkActivated, this, &PXRMsgTreeWidget::onLinkActivated);
    setItemWidget(item, 1, label);
}

ZyTreeWidgetItem *PXRMsgTreeWidget::newAttributeRow(const QString &name, const QString &value)
{
    auto *row = new ZyTreeWidgetItem;
    row->setText(0, name);
    row->setText(1, value);
    row->setData(0, kKindRole, int(AttributeRow));
    row->setRowForeground(kAttributeColour);
    if (m_editable)
        row->setIcon(0, removeIcon(), QObject::tr("Remove"), false);
    return row;
}

ZyTreeWidgetItem *PXRMsgTreeWidget::newAddRow(Kind rowKind, const QString &text, const QColor &colour)
{
    auto *row = new ZyTreeWidgetItem;
    row->setText(0, text);
    QFont italic = row->font(0);
    italic.setItalic(true);
    row->setFont(0, italic);
    row->setRowForeground(colour);
    row->setIcon(0, QIcon(":/PXRQt/add"), text, false);
    row->setData(0, kKindRole, int(rowKind));
    return row;
}

void PXRMsgTreeWidget::mousePressEvent(QMouseEvent *event)
{
    // The icon hit is judged where the button went down, not where the pointer is when the click arrives.
    m_pressPosition = event->position().toPoint();
    ZyTreeWidget::mousePressEvent(event);
}

void PXRMsgTreeWidget::onItemClicked(QTreeWidgetItem *pItem, int col)
{
    if (!m_editable || col != 0 || !pItem || !pItem->parent())
        return;
    const int left = visualItemRect(pItem).left();
    if (m_pressPosition.x() < left || m_pressPosition.x() > left + kIconAreaWidth)
        return;
    switch (kind(pItem)) {
    case ElementRow:
        PXRMsgElementDestroy(element(pItem));
        delete pItem;
        emit signalMsgChanged();
        break;
    case AttributeRow:
        PXRMsgElementRemoveAttribute(element(pItem->parent()), pItem->text(0).toLatin1().constData());
        delete pItem;
        emit signalMsgChanged();
        break;
    case AddElementRow:
        addElement(pItem);
        break;
    case AddAttributeRow:
        addAttribute(pItem);
        break;
    default:
        break;
    }
}

QString PXRMsgTreeWidget::askText(const QString &title, const QString &label, const QString &initial)
{
    QInputDialog dialog(this);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setTextEchoMode(QLineEdit::Normal);
    dialog.setTextValue(initial);
    if (ZyModalRunner::exec(&dialog) != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

void PXRMsgTreeWidget::addElement(QTreeWidgetItem *addRow)
{
    const QString name = askText(tr("Element"), tr("Enter name :"), QString());
    if (name.isEmpty())
        return;
    QTreeWidgetItem *parentRow = addRow->parent();
    PXRMsgElement *psChild = PXRMsgElementCreate(name.toLatin1().constData());
    PXRMsgElementAddChild(element(parentRow), psChild);
    auto *row = new ZyTreeWidgetItem;
    parentRow->insertChild(parentRow->childCount() - 1, row);
    rebuild(psChild, row);
    emit signalMsgChanged();
}

void PXRMsgTreeWidget::addAttribute(QTreeWidgetItem *addRow)
{
    QString name, value;
    DlgEditAttribute dialog(this);
    if (dialog.edit(name, value) != QDialog::Accepted)
        return;
    QTreeWidgetItem *parentRow = addRow->parent();
    const QByteArray latin1 = name.toLatin1();
    PXRMsgElementSetAttribute(element(parentRow), latin1.constData(), value.toUtf8().constData());
    // A name the element already has replaced that attribute's value: its row shows the new value.
    for (int i = 0; i < parentRow->childCount(); ++i) {
        QTreeWidgetItem *row = parentRow->child(i);
        if (kind(row) == AttributeRow && PXRMsgStringEqual(row->text(0).toLatin1().constData(), latin1.constData())) {
            static_cast<ZyTreeWidgetItem *>(row)->setText(1, value);
            emit signalMsgChanged();
            return;
        }
    }
    parentRow->insertChild(parentRow->indexOfChild(addRow), newAttributeRow(name, value));
    emit signalMsgChanged();
}

void PXRMsgTreeWidget::onItemDoubleClicked(QTreeWidgetItem *pItem)
{
    if (!m_editable || !pItem)
        return;
    if (kind(pItem) == AttributeRow)
        editAttribute(pItem);
    else if (kind(pItem) == ElementRow)
        renameElement(pItem);
}

void PXRMsgTreeWidget::editAttribute(QTreeWidgetItem *row)
{
    const QString oldName = row->text(0);
    QString name = oldName, value = row->text(1);
    DlgEditAttribute dialog(this);
    if (dialog.edit(name, value) != QDialog::Accepted)
        return;
    PXRMsgElement *psParent = element(row->parent());
    if (name != oldName)
        PXRMsgElementRemoveAttribute(psParent, oldName.toLatin1().constData());
    PXRMsgElementSetAttribute(psParent, name.toLatin1().constData(), value.toUtf8().constData());
    row->QTreeWidgetItem::setText(0, name);
    row->QTreeWidgetItem::setText(1, value);
    emit signalMsgChanged();
}

void PXRMsgTreeWidget::renameElement(QTreeWidgetItem *row)
{
    PXRMsgElement *psElement = element(row);
    const QString name = askText(tr("Element name"), tr("Enter name :"), utf8(PXRMsgElementName(psElement)));
    if (name.isEmpty())
        return;
    PXRMsgElementSetName(psElement, name.toLatin1().constData());
    rebuild(psElement, row);
    emit signalMsgChanged();
}

void PXRMsgTreeWidget::onLinkActivated(const QString &strLink)
{
    auto *label = qobject_cast<ZyLabel *>(sender());
    QTreeWidgetItem *row = label ? label->item() : nullptr;
    PXRMsgElement *psElement = element(row);
    if (!psElement)
        return;
    if (strLink == QLatin1String("view")) {
        DlgPXRShowBinaryContent dialog(this);
        dialog.showContent(psElement);
    } else if (strLink == QLatin1String("save")) {
        saveContent(psElement);
    } else if (strLink == QLatin1String("load") && m_editable) {
        if (loadContent(psElement)) {
            rebuild(psElement, row);
            emit signalMsgChanged();
        }
    } else if (strLink == QLatin1String("clear") && m_editable) {
        PXRMsgElementSetContentBinary(psElement, nullptr, 0);
        rebuild(psElement, row);
        emit signalMsgChanged();
    }
}

void PXRMsgTreeWidget::saveContent(PXRMsgElement *psElement)
{
    QString filter = tr("All files (*.*)");
    if (utf8(PXRMsgElementName(psElement)).contains("jpeg", Qt::CaseInsensitive))
        filter = tr("Image (*.jpg);;") + filter;
    const QString path = ZyDialogs::getSaveFileName(this, "PXRMsgTreeWidgetSave", tr("Save"), filter, QString());
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        ZyDialogs::critical(this, tr("Error"), tr("Unable to open file"), QString());
        return;
    }
    file.write(static_cast<const char *>(PXRMsgElementContent(psElement)), PXRMsgElementContentSize(psElement));
}

bool PXRMsgTreeWidget::loadContent(PXRMsgElement *psElement)
{
    QFileDialog dialog(this, tr("Load"), QSettings().value("LastDataSave").toString(), "*.*");
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (ZyModalRunner::exec(&dialog) != QDialog::Accepted || dialog.selectedFiles().value(0).isEmpty())
        return false;
    QFile file(dialog.selectedFiles().value(0));
    // A content size is 32 bits: a larger file cannot be an element's content.
    if (!file.open(QIODevice::ReadOnly) || file.size() > qint64(std::numeric_limits<int>::max())) {
        ZyDialogs::critical(this, tr("Error"), tr("Unable to open file"), QString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    PXRMsgElementSetContentBinary(psElement, bytes.constData(), uint32_t(bytes.size()));
    return true;
}
