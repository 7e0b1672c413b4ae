// What the two sensor trees' fills share: reading a message element's attributes and adding
// the rows of a section from a table of captions, attributes and value kinds.
#pragma once

#include "PXR.h"

#include <QCoreApplication>
#include <QString>

#include <vector>

class QTreeWidgetItem;
class WidgetGeneralSettings;
class ZyTreeWidgetItem;

class TreeFill
{
    Q_DECLARE_TR_FUNCTIONS(TreeFill)

public:
    // How an attribute's text is shown.
    enum class Kind { Text, YesNo, OnOff, Activated, Format };

    // One row: added only when the element holds the attribute. Format replaces %1 by the text.
    struct Row
    {
        QString caption;
        const char *attribute;
        Kind kind = Kind::Text;
        QString format = QString();
    };

    static QString text(PXRMsgElement *element, const char *attribute);
    static bool has(PXRMsgElement *element, const char *attribute);
    // True exactly for "true" and "1"; an absent attribute reads false.
    static bool flag(PXRMsgElement *element, const char *attribute);
    static PXRMsgElement *child(PXRMsgElement *element, const char *name);
    static QString value(PXRMsgElement *element, const Row &row);

    // Calls the function with each child of that name (every child for null), in order.
    template <typename Function>
    static void forEachChild(PXRMsgElement *element, const char *name, Function function)
    {
        if (element == nullptr)
            return;
        for (PXRMsgElement *each = PXRMsgElementFirstChild(element, name); each != nullptr;
             each = PXRMsgElementNextChild(element, each, name))
            function(each);
    }

protected:
    explicit TreeFill(WidgetGeneralSettings &tree);

    ZyTreeWidgetItem *row(QTreeWidgetItem *parent, PXRMsgElement *element, const Row &row);
    void rows(QTreeWidgetItem *parent, PXRMsgElement *element, const std::vector<Row> &table);
    // A row that spans both columns in one colour, with no value and no path.
    void noteRow(QTreeWidgetItem *parent, const QString &caption, const QColor &color);

    WidgetGeneralSettings &m_tree;
};
