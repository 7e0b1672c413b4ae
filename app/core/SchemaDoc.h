// The sensor schema store: the sensor's XML schema read into a compact tree of elements,
// attributes, enumerations and message properties, and the schema's HTML documentation.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "PXR.h"

// Below the root "root", the tree holds only these nodes:
//   element   (name, doc)           children: element, attribute, appinfo
//   attribute (name, min, max, doc) children: enum
//   enum      (value, doc)
//   appinfo   one attribute per property tag, valued by its "value" or "1"
// Elements nest as xs:element does; names compare ASCII case-insensitively.
// Pointers into the tree stay valid until the next load or the store's destruction.
class SchemaDoc
{
    Q_DECLARE_TR_FUNCTIONS(SchemaDoc)

public:
    SchemaDoc();
    ~SchemaDoc();
    SchemaDoc(const SchemaDoc &) = delete;
    SchemaDoc &operator=(const SchemaDoc &) = delete;

    // Replaces the whole store with the schema text; false when the text is not a complete,
    // well-formed document (what was read before the fault stays).
    bool load(const char *text, int length);

    // The element at the path (names from a top-level element down), or, with an attribute
    // name, its attribute node; null when there is none.
    PXRMsgElement *find(const QStringList &path, const QString &attribute) const;
    bool hasElement(const QStringList &path) const;
    bool hasAttribute(const QStringList &path, const QString &attribute) const;
    // value, documentation, value, documentation, ... in schema order.
    QStringList enumValues(const QStringList &path, const QString &attribute) const;
    // Both 0 unless the attribute carries inline bounds.
    void range(const QStringList &path, const QString &attribute, int *min, int *max) const;
    // The bounds the schema gives, each left out when it gives none (a real 0 stays a bound).
    struct Bounds
    {
        std::optional<int> min;
        std::optional<int> max;
    };
    Bounds bounds(const QStringList &path, const QString &attribute) const;
    QString documentationHtml(const QStringList &path, const QString &attribute, bool withValues,
                              bool withPath) const;
    // The element's documentation followed by that of its leaf children.
    QString elementDocWithChildren(const QStringList &path) const;
    std::vector<PXRMsgElement *> childElements(PXRMsgElement *node) const;
    // Top-level elements whose properties hold every required one as true and none excluded.
    std::vector<PXRMsgElement *> appInfo(const QStringList &required, const QStringList &excluded) const;

    // Writes the schema's HTML documentation to the file; true when it was produced and written.
    // Uses nothing of the store.
    static bool saveHtmlDoc(const char *schemaText, int length, const QString &filePath);

private:
    PXRMsg *m_msg;
};
