// The schema's HTML documentation: the program's own stylesheet applied to the schema text.
#include "SchemaDoc.h"

#include <QFile>

#include <libxml/parser.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

// The resource initialiser's name is global, so it is called from outside every namespace.
static void initSchemaDocResources()
{
    Q_INIT_RESOURCE(SchemaDoc);
}

namespace {

// The schema comes from the sensor: neither it nor the stylesheet may substitute entities,
// load an external subset or reach the network, or a schema could pull local files or
// remote content into the page.
const int kParseOptions = XML_PARSE_NONET;

QByteArray stylesheetText()
{
    initSchemaDocResources();
    QFile file(":/schemadoc/SchemaDoc.xsl");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What one transformation made; freed in one place whatever step failed, and libxml2 and
// libxslt keep nothing between calls.
struct Transformation
{
    xsltStylesheetPtr stylesheet = nullptr;
    xmlDocPtr schema = nullptr;
    xmlDocPtr result = nullptr;
    xmlChar *text = nullptr;
    int length = 0;

    ~Transformation()
    {
        xmlFree(text);
        if (stylesheet)
            xsltFreeStylesheet(stylesheet);
        xmlFreeDoc(result);
        xmlFreeDoc(schema);
        xsltCleanupGlobals();
        xmlCleanupParser();
    }

    bool run(const char *schemaText, int schemaLength)
    {
        const QByteArray xsl = stylesheetText();
        xmlDocPtr xslDoc = xmlReadMemory(xsl.constData(), int(xsl.size()), nullptr, nullptr, kParseOptions);
        if (!xslDoc)
            return false;
        stylesheet = xsltParseStylesheetDoc(xslDoc);
        if (!stylesheet) {
            xmlFreeDoc(xslDoc);
            return false;
        }
        schema = xmlReadMemory(schemaText, schemaLength, nullptr, nullptr, kParseOptions);
        if (!schema)
            return false;
        result = xsltApplyStylesheet(stylesheet, schema, nullptr);
        return result && xsltSaveResultToString(&text, &length, result, stylesheet) == 0 && text && length > 0;
    }
};

} // namespace

bool SchemaDoc::saveHtmlDoc(const char *schemaText, int length, const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (!schemaText || length <= 0)
        return false;
    Transformation transformation;
    if (!transformation.run(schemaText, length))
        return false;
    // A full disk must not pass for a written page.
    return file.write(reinterpret_cast<const char *>(transformation.text), transformation.length)
               == transformation.length
           && file.flush();
}
