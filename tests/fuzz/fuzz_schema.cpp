// libFuzzer target of the schema store: any schema text a sensor sends is read into the store,
// every element and attribute found is asked for again by its path, and the text is turned
// into the HTML documentation; never a crash, and never a file read or a network access,
// whatever the text names.
#include "SchemaDoc.h"

#include <libxml/parserInternals.h>

#include <QStringList>

#include <algorithm>
#include <climits>
#include <string_view>
#include <vector>

namespace {

// Bounds the work on a schema of many elements; the fuzzer finds the deep ones anyway.
const int kMostQueries = 200;

// Every resource libxml2 or libxslt would fetch comes through here.
xmlParserInputPtr refuseToLoad(const char *, const char *, xmlParserCtxtPtr)
{
    __builtin_trap();
}

QString nameOf(PXRMsgElement *node)
{
    return QString::fromUtf8(PXRMsgElementAttributeValue(node, "name"));
}

void queryAttributes(const SchemaDoc &schema, PXRMsgElement *element, const QStringList &path)
{
    for (PXRMsgElement *node = PXRMsgElementFirstChild(element, "attribute"); node;
         node = PXRMsgElementNextChild(element, node, "attribute")) {
        const QString attribute = nameOf(node);
        int min = 0;
        int max = 0;
        schema.range(path, attribute, &min, &max);
        schema.bounds(path, attribute);
        schema.enumValues(path, attribute);
        schema.documentationHtml(path, attribute, true, true);
    }
}

// The element is the one its path finds; each named child is found by its path too (the
// first of that name), and only such children are walked, whose paths then reach them.
void queryTree(const SchemaDoc &schema, PXRMsgElement *element, const QStringList &path, int &budget)
{
    if (--budget < 0)
        return;
    schema.elementDocWithChildren(path);
    schema.documentationHtml(path, QString(), true, false);
    queryAttributes(schema, element, path);
    for (PXRMsgElement *child : schema.childElements(element)) {
        if (!PXRMsgElementAttributeValue(child, "name"))
            continue;
        const QStringList childPath = path + QStringList{nameOf(child)};
        PXRMsgElement *found = schema.find(childPath, QString());
        if (!found)
            __builtin_trap();
        if (found == child)
            queryTree(schema, child, childPath, budget);
    }
}

// The top-level elements: every name the text gives that the store knows at the top.
std::vector<PXRMsgElement *> topElements(const SchemaDoc &schema, std::string_view text)
{
    std::vector<PXRMsgElement *> found;
    const std::string_view opening = "name=\"";
    for (size_t at = text.find(opening); at != std::string_view::npos && found.size() < size_t(kMostQueries);
         at = text.find(opening, at + 1)) {
        const size_t start = at + opening.size();
        const size_t end = text.find('"', start);
        if (end == std::string_view::npos)
            break;
        const QStringList path{QString::fromUtf8(text.data() + start, qsizetype(end - start))};
        PXRMsgElement *element = schema.find(path, QString());
        if (element && std::find(found.begin(), found.end(), element) == found.end())
            found.push_back(element);
    }
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > INT_MAX)
        return 0;
    const char *text = reinterpret_cast<const char *>(data);
    SchemaDoc schema;
    schema.load(text, int(size));
    int budget = kMostQueries;
    for (PXRMsgElement *element : topElements(schema, std::string_view(text, size)))
        queryTree(schema, element, {nameOf(element)}, budget);
    schema.appInfo({QStringLiteral("menu")}, {QStringLiteral("hidden")});
    xmlSetExternalEntityLoader(&refuseToLoad);
    SchemaDoc::saveHtmlDoc(text, int(size), QStringLiteral("/dev/null"));
    return 0;
}
