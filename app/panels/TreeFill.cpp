// What the two sensor trees' fills share: reading a message element's attributes and adding
// the rows of a section from a table of captions, attributes and value kinds.
#include "TreeFill.h"

#include "PXR.h"
#include "WidgetGeneralSettings.h"
#include "ZyLumatrekTr.h"
#include "ZyTreeWidgetItem.h"

TreeFill::TreeFill(WidgetGeneralSettings &tree)
    : m_tree(tree)
{
}

QString TreeFill::text(PXRMsgElement *element, const char *attribute)
{
    return QString::fromUtf8(PXRMsgElementAttributeValue(element, attribute));
}

bool TreeFill::has(PXRMsgElement *element, const char *attribute)
{
    return PXRMsgElementAttributeValue(element, attribute) != nullptr;
}

bool TreeFill::flag(PXRMsgElement *element, const char *attribute)
{
    return PXRMsgStrToBool(PXRMsgElementAttributeValue(element, attribute)) != 0;
}

PXRMsgElement *TreeFill::child(PXRMsgElement *element, const char *name)
{
    return element != nullptr ? PXRMsgElementFirstChild(element, name) : nullptr;
}

QString TreeFill::value(PXRMsgElement *element, const Row &row)
{
    switch (row.kind) {
    case Kind::YesNo:
        return ZyLumatrekTr::yesNoLabel(flag(element, row.attribute));
    case Kind::OnOff:
        return ZyLumatrekTr::onOffLabel(flag(element, row.attribute) ? 1 : 0);
    case Kind::Activated:
        return flag(element, row.attribute) ? tr("Activated") : tr("Not activated");
    case Kind::Format:
        // An empty value stays empty, to show as unset rather than as a bare unit.
        return text(element, row.attribute).isEmpty() ? QString() : row.format.arg(text(element, row.attribute));
    case Kind::Text:
        break;
    }
    return text(element, row.attribute);
}

ZyTreeWidgetItem *TreeFill::row(QTreeWidgetItem *parent, PXRMsgElement *element, const Row &row)
{
    if (!has(element, row.attribute))
        return nullptr;
    return m_tree.addProperty(parent, row.caption, value(element, row), element, row.attribute, true);
}

void TreeFill::rows(QTreeWidgetItem *parent, PXRMsgElement *element, const std::vector<Row> &table)
{
    for (const Row &entry : table)
        row(parent, element, entry);
}

void TreeFill::noteRow(QTreeWidgetItem *parent, const QString &caption, const QColor &color)
{
    ZyTreeWidgetItem *item = m_tree.addProperty(parent, caption, QString(), nullptr, nullptr, false);
    item->setFirstColumnSpanned(true);
    item->setRowForeground(color);
}
