// The sensor schema store: one Expat pass turns the schema into the node tree, and the
// lookups the rest of the program asks of it (capabilities, values, ranges, documentation).
#include "SchemaDoc.h"

#include <expat.h>

#include <cstring>
#include <string>

namespace {

const char kRoot[] = "root";
const char kElement[] = "element";
const char kAttribute[] = "attribute";
const char kEnum[] = "enum";
const char kAppinfo[] = "appinfo";
const char kName[] = "name";
const char kDoc[] = "doc";

// What the Expat handlers share while one schema is read.
struct ParseState
{
    XML_Parser parser = nullptr;
    PXRMsgElement *root = nullptr;
    PXRMsgElement *element = nullptr;
    PXRMsgElement *attribute = nullptr;
    PXRMsgElement *enumeration = nullptr;
    PXRMsgElement *appinfo = nullptr;
    bool inDocumentation = false;
    bool outOfMemory = false;
    // Documentation is gathered here and written to its node once the node changes or the
    // documentation ends, so a long text is not copied again for every piece Expat hands over.
    PXRMsgElement *docNode = nullptr;
    std::string docText;
};

const char *tagAttribute(const XML_Char **attributes, const char *name)
{
    for (int i = 0; attributes[i]; i += 2) {
        if (std::strcmp(attributes[i], name) == 0)
            return attributes[i + 1];
    }
    return nullptr;
}

void stopOutOfMemory(ParseState &state)
{
    state.outOfMemory = true;
    XML_StopParser(state.parser, XML_FALSE);
}

// A new node of that kind appended to the parent, named when a name is given; null when
// memory ran out (the parse is then stopped).
PXRMsgElement *appendNode(ParseState &state, PXRMsgElement *parent, const char *kind, const char *name)
{
    PXRMsgElement *node = PXRMsgElementCreate(kind);
    if (node && (!name || PXRMsgElementSetAttribute(node, kName, name)) && PXRMsgElementAddChild(parent, node))
        return node;
    if (node)
        PXRMsgElementDestroy(node);
    stopOutOfMemory(state);
    return nullptr;
}

void flushDocumentation(ParseState &state)
{
    if (!state.docNode || state.docText.empty())
        return;
    const char *old = PXRMsgElementAttributeValue(state.docNode, kDoc);
    if (old)
        state.docText.insert(0, old);
    if (!PXRMsgElementSetAttribute(state.docNode, kDoc, state.docText.c_str()))
        stopOutOfMemory(state);
    state.docText.clear();
}

void appendDocumentation(ParseState &state, const char *text, size_t length)
{
    PXRMsgElement *node = state.enumeration ? state.enumeration
                          : state.attribute ? state.attribute
                                            : state.element;
    if (node != state.docNode) {
        flushDocumentation(state);
        state.docNode = node;
    }
    state.docText.append(text, length);
}

// A restriction outside every attribute is not kept.
void setBound(ParseState &state, const char *bound, const char *value)
{
    if (state.attribute && value && !PXRMsgElementSetAttribute(state.attribute, bound, value))
        stopOutOfMemory(state);
}

// Markup inside an element's documentation is kept as text, without its attributes.
bool keepsMarkupAsText(const ParseState &state)
{
    return state.inDocumentation && state.element != state.root;
}

void XMLCALL startTag(void *user, const XML_Char *tag, const XML_Char **attributes)
{
    auto &state = *static_cast<ParseState *>(user);
    if (keepsMarkupAsText(state)) {
        const std::string text = std::string("<") + tag + ">";
        appendDocumentation(state, text.data(), text.size());
        return;
    }
    const char *name = tagAttribute(attributes, kName);
    if (std::strcmp(tag, "xs:element") == 0) {
        if (PXRMsgElement *node = appendNode(state, state.element, kElement, name))
            state.element = node;
    } else if (std::strcmp(tag, "xs:attribute") == 0) {
        state.attribute = appendNode(state, state.element, kAttribute, name);
    } else if (std::strcmp(tag, "xs:minInclusive") == 0) {
        setBound(state, "min", tagAttribute(attributes, "value"));
    } else if (std::strcmp(tag, "xs:maxInclusive") == 0) {
        setBound(state, "max", tagAttribute(attributes, "value"));
    } else if (std::strcmp(tag, "xs:enumeration") == 0) {
        if (state.attribute) {
            state.enumeration = appendNode(state, state.attribute, kEnum, nullptr);
            const char *value = tagAttribute(attributes, "value");
            if (state.enumeration && !PXRMsgElementSetAttribute(state.enumeration, "value", value ? value : ""))
                stopOutOfMemory(state);
        }
    } else if (std::strcmp(tag, "xs:documentation") == 0) {
        state.inDocumentation = true;
    } else if (std::strcmp(tag, "xs:appinfo") == 0) {
        state.appinfo = appendNode(state, state.element, kAppinfo, nullptr);
    } else if (state.appinfo) {
        const char *value = tagAttribute(attributes, "value");
        if (!PXRMsgElementSetAttribute(state.appinfo, tag, value ? value : "1"))
            stopOutOfMemory(state);
    }
}

void XMLCALL endTag(void *user, const XML_Char *tag)
{
    auto &state = *static_cast<ParseState *>(user);
    if (std::strcmp(tag, "xs:documentation") == 0) {
        state.inDocumentation = false;
        flushDocumentation(state);
    }
    if (keepsMarkupAsText(state)) {
        const std::string text = std::string("</") + tag + ">";
        appendDocumentation(state, text.data(), text.size());
        return;
    }
    // Markup kept as text inside documentation may close outside it ("<xs:element>" in one
    // documentation, its end after a nested documentation ended): never climb above the root.
    if (std::strcmp(tag, "xs:element") == 0 && state.element != state.root)
        state.element = PXRMsgElementParent(state.element);
    else if (std::strcmp(tag, "xs:attribute") == 0)
        state.attribute = nullptr;
    else if (std::strcmp(tag, "xs:enumeration") == 0)
        state.enumeration = nullptr;
    else if (std::strcmp(tag, "xs:appinfo") == 0)
        state.appinfo = nullptr;
}

void XMLCALL characters(void *user, const XML_Char *text, int length)
{
    auto &state = *static_cast<ParseState *>(user);
    if (state.inDocumentation && length > 0)
        appendDocumentation(state, text, size_t(length));
}

QString textOf(PXRMsgElement *node, const char *attribute)
{
    return QString::fromUtf8(PXRMsgElementAttributeValue(node, attribute));
}

// The first child of that kind whose name equals the given one.
PXRMsgElement *namedChild(PXRMsgElement *parent, const char *kind, const QByteArray &name)
{
    for (PXRMsgElement *child = PXRMsgElementFirstChild(parent, kind); child;
         child = PXRMsgElementNextChild(parent, child, kind)) {
        if (PXRMsgStringEqual(PXRMsgElementAttributeValue(child, kName), name.constData()))
            return child;
    }
    return nullptr;
}

bool hasChildren(PXRMsgElement *node)
{
    return PXRMsgElementChildCount(node, nullptr) > 0;
}

} // namespace

SchemaDoc::SchemaDoc() : m_msg(PXRMsgCreate()) {}

SchemaDoc::~SchemaDoc()
{
    PXRMsgDestroy(m_msg);
}

bool SchemaDoc::load(const char *text, int length)
{
    if (!m_msg || !PXRMsgClear(m_msg))
        return false;
    PXRMsgElement *root = PXRMsgElementCreate(kRoot);
    if (!root || !PXRMsgSetChild(m_msg, root)) {
        if (root)
            PXRMsgElementDestroy(root);
        return false;
    }
    if (length < 0 || (length > 0 && !text))
        return false;
    // Sensors may count the text's terminating zeros in its size (the legacy bridge does).
    while (length > 0 && text[length - 1] == '\0')
        --length;
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser)
        return false;
    ParseState state;
    state.parser = parser;
    state.root = state.element = root;
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, startTag, endTag);
    XML_SetCharacterDataHandler(parser, characters);
    // The whole text is the whole document: a schema cut short must fail here.
    const bool parsed = XML_Parse(parser, text, length, XML_TRUE) == XML_STATUS_OK;
    flushDocumentation(state);
    XML_ParserFree(parser);
    return parsed && !state.outOfMemory;
}

PXRMsgElement *SchemaDoc::find(const QStringList &path, const QString &attribute) const
{
    if (path.isEmpty())
        return nullptr;
    PXRMsgElement *node = PXRMsgChild(m_msg);
    for (const QString &component : path) {
        node = namedChild(node, kElement, component.toUtf8());
        if (!node)
            return nullptr;
    }
    return attribute.isEmpty() ? node : namedChild(node, kAttribute, attribute.toUtf8());
}

bool SchemaDoc::hasElement(const QStringList &path) const
{
    return find(path, QString()) != nullptr;
}

bool SchemaDoc::hasAttribute(const QStringList &path, const QString &attribute) const
{
    return find(path, attribute) != nullptr;
}

QStringList SchemaDoc::enumValues(const QStringList &path, const QString &attribute) const
{
    QStringList values;
    PXRMsgElement *node = find(path, attribute);
    for (PXRMsgElement *value = PXRMsgElementFirstChild(node, kEnum); value;
         value = PXRMsgElementNextChild(node, value, kEnum))
        values << textOf(value, "value") << textOf(value, kDoc);
    return values;
}

void SchemaDoc::range(const QStringList &path, const QString &attribute, int *min, int *max) const
{
    *min = 0;
    *max = 0;
    PXRMsgElement *node = find(path, attribute);
    if (const char *value = PXRMsgElementAttributeValue(node, "min"))
        *min = QByteArray(value).toInt();
    if (const char *value = PXRMsgElementAttributeValue(node, "max"))
        *max = QByteArray(value).toInt();
}

SchemaDoc::Bounds SchemaDoc::bounds(const QStringList &path, const QString &attribute) const
{
    Bounds bounds;
    PXRMsgElement *node = find(path, attribute);
    bool ok = false;
    if (const char *value = PXRMsgElementAttributeValue(node, "min")) {
        const int min = QByteArray(value).toInt(&ok);
        if (ok)
            bounds.min = min;
    }
    if (const char *value = PXRMsgElementAttributeValue(node, "max")) {
        const int max = QByteArray(value).toInt(&ok);
        if (ok)
            bounds.max = max;
    }
    return bounds;
}

QString SchemaDoc::documentationHtml(const QStringList &path, const QString &attribute, bool withValues,
                                     bool withPath) const
{
    if (path.isEmpty())
        return QString();
    QString html;
    if (PXRMsgElement *node = find(path, attribute)) {
        html = textOf(node, kDoc);
        if (withValues) {
            const QStringList values = enumValues(path, attribute);
            if (!values.isEmpty())
                html += "<br/><b>" + tr("Possible values:") + "</b>";
            for (qsizetype i = 0; i + 1 < values.size(); i += 2) {
                html += "<br/>  * " + values[i];
                if (!values[i + 1].isEmpty())
                    html += ": " + values[i + 1];
            }
            int min = 0;
            int max = 0;
            range(path, attribute, &min, &max);
            if (min != 0 || max != 0)
                html += "<br/>" + tr("<b>Possible values:</b> <li>%1 to %2</li>").arg(min).arg(max);
        }
    }
    if (withPath) {
        if (!html.isEmpty())
            html += "<br/>";
        html += "<i>";
        if (!attribute.isEmpty())
            html += attribute + tr(" in ");
        html += path.join('/') + "</i>";
    }
    return html;
}

QString SchemaDoc::elementDocWithChildren(const QStringList &path) const
{
    PXRMsgElement *element = find(path, QString());
    if (!element)
        return QString();
    QString html = textOf(element, kDoc);
    for (PXRMsgElement *child = PXRMsgElementFirstChild(element, nullptr); child;
         child = PXRMsgElementNextChild(element, child, nullptr)) {
        if (hasChildren(child))
            continue;
        if (const char *name = PXRMsgElementAttributeValue(child, kName))
            html += "<br/><br/><b>* " + QString::fromUtf8(name) + "</b>";
        if (const char *doc = PXRMsgElementAttributeValue(child, kDoc))
            html += "<b> :</b> " + QString::fromUtf8(doc);
    }
    return html;
}

std::vector<PXRMsgElement *> SchemaDoc::childElements(PXRMsgElement *node) const
{
    std::vector<PXRMsgElement *> children;
    for (PXRMsgElement *child = PXRMsgElementFirstChild(node, kElement); child;
         child = PXRMsgElementNextChild(node, child, kElement))
        children.push_back(child);
    return children;
}

std::vector<PXRMsgElement *> SchemaDoc::appInfo(const QStringList &required, const QStringList &excluded) const
{
    std::vector<PXRMsgElement *> kept;
    for (PXRMsgElement *element : childElements(PXRMsgChild(m_msg))) {
        PXRMsgElement *properties = PXRMsgElementFirstChild(element, kAppinfo);
        if (!properties)
            continue;
        bool keep = true;
        for (const QString &property : required)
            keep = keep && PXRMsgStrToBool(PXRMsgElementAttributeValue(properties, property.toUtf8().constData()));
        for (const QString &property : excluded)
            keep = keep && !PXRMsgElementAttributeValue(properties, property.toUtf8().constData());
        if (keep)
            kept.push_back(element);
    }
    return kept;
}
