// The schema's HTML documentation: the page made from a test schema (kept under the test
// pictures for a person to read), the refused inputs, and schemas that try to pull in files.
#include "SchemaDoc.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>
#include <libxml/parser.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool save(const QByteArray &schema, const QString &path)
{
    return SchemaDoc::saveHtmlDoc(schema.constData(), int(schema.size()), path);
}

// The names that the pattern's first group catches, in page order.
QStringList captures(const QString &text, const QString &pattern)
{
    QStringList names;
    QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext())
        names << it.next().captured(1);
    return names;
}

class SchemaHtmlPageTest : public ::testing::Test
{
protected:
    // Every test program of the run makes its own page; the kept copy is replaced at once, so
    // programs running side by side never read each other's half-written page.
    static void SetUpTestSuite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("schema-doc.html");
        ASSERT_TRUE(save(readFile(QStringLiteral(BZK_CORE_TEST_DATA "/documented.xsd")), path));
        const QByteArray html = readFile(path);
        page = QString::fromUtf8(html);
        QDir().mkpath(QStringLiteral(BZK_TEST_PICTURES_DIR));
        QSaveFile kept(QStringLiteral(BZK_TEST_PICTURES_DIR "/schema-doc.html"));
        ASSERT_TRUE(kept.open(QIODevice::WriteOnly) && kept.write(html) == html.size() && kept.commit());
    }

    // The page from the heading with that id to the next section heading.
    static QString section(const QString &id)
    {
        const qsizetype start = page.indexOf(QString("id=\"%1\"").arg(id));
        const qsizetype end = page.indexOf(QRegularExpression("<h[23] id="), start + 1);
        return start < 0 ? QString() : page.mid(start, end < 0 ? -1 : end - start);
    }

    static QString referenceEntry(const QString &name)
    {
        const qsizetype start = page.indexOf(QString("<div class=\"message\" id=\"msg_%1\"").arg(name));
        const qsizetype end = page.indexOf("<div class=\"message\"", start + 1);
        return start < 0 ? QString() : page.mid(start, end < 0 ? -1 : end - start);
    }

    static QStringList listed(const QString &id) { return captures(section(id), R"re(<a href="#msg_([\w-]+)"><b>)re"); }

    static inline QString page;
};

TEST_F(SchemaHtmlPageTest, TitleComesFromTheSchemaProperties)
{
    EXPECT_TRUE(page.contains("<title>Sensor messages XSD documentation</title>"));
    EXPECT_TRUE(page.contains("<h1>Sensor messages XSD documentation</h1>"));
    EXPECT_TRUE(page.contains("charset=UTF-8"));
}

TEST_F(SchemaHtmlPageTest, SectionsComeInOrderAfterTheContents)
{
    const QStringList headings = {"Table of contents",
                                  "<h1>",
                                  "id=\"clientRequests\">Client synchronous requests",
                                  "id=\"requestsWithoutLock\">Requests that can be sent without sensor lock",
                                  "id=\"requestsWithLock\">Requests that need sensor lock",
                                  "id=\"serverAnswers\">Server synchronous answers",
                                  "id=\"clientMessages\">Client asynchronous messages",
                                  "id=\"serverMessages\">Server asynchronous messages",
                                  "id=\"reference\">Message reference"};
    qsizetype previous = -1;
    for (const QString &heading : headings) {
        const qsizetype at = page.indexOf(heading);
        EXPECT_GT(at, previous) << heading.toStdString();
        previous = at;
    }
    const QString contents = page.left(page.indexOf("<h1>"));
    for (const char *id : {"clientRequests", "serverAnswers", "clientMessages", "serverMessages", "reference"})
        EXPECT_TRUE(contents.contains(QString("href=\"#%1\"").arg(id))) << id;
    EXPECT_EQ(captures(contents.mid(contents.indexOf("href=\"#reference\"")), R"re(href="#msg_([\w-]+)")re"),
              QStringList({"anpr", "answer", "config", "getConfig", "hello", "reboot", "setConfig", "setEnableStreams"}));
}

// hello is internal: in no list, but in the reference with its note.
TEST_F(SchemaHtmlPageTest, ListsSplitRequestsByLockAndLeaveInternalMessagesOut)
{
    EXPECT_EQ(listed("requestsWithoutLock"), QStringList({"getConfig"}));
    EXPECT_EQ(listed("requestsWithLock"), QStringList({"reboot", "setConfig"}));
    EXPECT_EQ(listed("serverAnswers"), QStringList({"answer", "config"}));
    EXPECT_EQ(listed("clientMessages"), QStringList({"setEnableStreams"}));
    EXPECT_EQ(listed("serverMessages"), QStringList({"anpr", "config"}));
    EXPECT_EQ(captures(page, R"re(<div class="message" id="msg_([\w-]+)")re"),
              QStringList({"anpr", "answer", "config", "getConfig", "hello", "reboot", "setConfig", "setEnableStreams"}));
    EXPECT_TRUE(referenceEntry("hello").contains("manages this message itself"));
    EXPECT_FALSE(referenceEntry("getConfig").contains("manages this message itself"));
}

TEST_F(SchemaHtmlPageTest, EveryMessageLinkReachesAnEntry)
{
    const QStringList targets = captures(page, R"re(href="#msg_([\w-]+)")re");
    EXPECT_FALSE(targets.isEmpty());
    for (const QString &name : targets)
        EXPECT_TRUE(page.contains(QString("id=\"msg_%1\"").arg(name))) << name.toStdString();
    // An answer the request names is a link with its text.
    EXPECT_TRUE(referenceEntry("getConfig").contains("<a href=\"#msg_config\">config</a>: the configuration"));
    EXPECT_TRUE(referenceEntry("answer").contains("<a href=\"#msg_reboot\">reboot</a>"));
    // A sub-element that is another message is a link to it.
    EXPECT_TRUE(referenceEntry("setConfig").contains("the message <a href=\"#msg_config\">config</a>"));
}

// config's video is a choice (only its first child in the examples); config itself a sequence.
TEST_F(SchemaHtmlPageTest, ExamplesTakeTheFirstChoiceAndTheWholeSequence)
{
    const struct
    {
        const char *message;
        const char *fragment;
        bool shown;
    } cases[] = {
        {"config", "&lt;network&gt;", true},
        {"config", "&lt;interface dhcp=\"\" address=\"\" port=\"\" mac=\"\" mtu=\"\"/&gt;", true},
        {"config", "&lt;video name=\"\"&gt;", true},
        {"config", "&lt;mjpeg quality=\"\"/&gt;", true},
        {"config", "&lt;stream", false},
        {"config", "\"mjpeg\": {", true},
        {"config", "\"stream\":", false},
        {"anpr", "&lt;jpeg width=\"\"&gt;[binary content]&lt;/jpeg&gt;", true},
        {"anpr", "\"jpeg\": [ {", true},
        {"anpr", "\"content\": \"[binary content]\"", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(referenceEntry(c.message).contains(c.fragment), c.shown) << c.message << ": " << c.fragment;
}

TEST_F(SchemaHtmlPageTest, AttributeTablesNameTheContent)
{
    const QStringList cells = {"<td class=\"name\">dhcp</td>\n<td>yes</td>\n<td>Address given by a DHCP server.</td>\n<td>boolean</td>",
                               "<td>IPv4 address</td>",
                               "<td>port (1 to 65535)</td>",
                               "<td>MAC address</td>",
                               "<td>integer from 576 to 9000</td>",
                               "<td>string of 1 to 32 characters</td>",
                               "<td>millisecond timestamp</td>",
                               "<td>video codec: jpeg, h264</td>",
                               "<b>failed</b>: Refused; see errorText.",
                               "<td class=\"name\">errorText</td>\n<td>no</td>"};
    for (const QString &cell : cells)
        EXPECT_TRUE(page.contains(cell)) << cell.toStdString();
    EXPECT_TRUE(referenceEntry("answer").contains("any number of times"));
    EXPECT_TRUE(referenceEntry("config").contains("One of these 2 sub-elements"));
}

// The sensor writes the documentation: formatting passes, scripts and script links do not.
TEST_F(SchemaHtmlPageTest, DocumentationKeepsFormattingButNoScript)
{
    EXPECT_TRUE(referenceEntry("getConfig").contains("Asks for the sensor's <b>whole</b> configuration."));
    EXPECT_TRUE(page.contains("<a href=\"https://example.com/reboot\">the manual</a>"));
    for (const char *unsafe : {"<script", "javascript:", "onclick", "alert("})
        EXPECT_FALSE(page.contains(unsafe, Qt::CaseInsensitive)) << unsafe;
}

struct RefusedCase
{
    const char *name;
    QByteArray schema;
};

void PrintTo(const RefusedCase &c, std::ostream *out)
{
    *out << c.name;
}

class SchemaHtmlRefusedTest : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(SchemaHtmlRefusedTest, TextThatIsNotAWholeSchemaGivesFalse)
{
    QTemporaryDir dir;
    EXPECT_FALSE(save(GetParam().schema, dir.filePath("doc.html")));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SchemaHtmlRefusedTest,
    ::testing::Values(RefusedCase{"NotXml", "getXSD failed"},
                      RefusedCase{"Empty", ""},
                      RefusedCase{"Truncated", readFile(BZK_CORE_TEST_DATA "/documented.xsd").left(3000)},
                      RefusedCase{"NotASchema", "<config><network dhcp=\"1\"/></config>"}));

TEST(SchemaHtmlFile, AFileThatCannotBeWrittenGivesFalse)
{
    const QByteArray schema = readFile(BZK_CORE_TEST_DATA "/documented.xsd");
    QTemporaryDir dir;
    EXPECT_FALSE(save(schema, dir.filePath("missing-folder/doc.html")));
    EXPECT_FALSE(save(schema, dir.path()));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing-folder")));
    if (QFile::exists("/dev/full")) {
        EXPECT_FALSE(save(schema, "/dev/full")) << "a full disk passed for a written page";
    }
    EXPECT_TRUE(save(schema, dir.filePath("doc.html")));
}

// A type that holds itself and a message that refers to itself end where they repeat.
TEST(SchemaHtmlFile, TypesThatHoldThemselvesEndThePageAtTheRepeat)
{
    const QByteArray schema = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:complexType name="zone">
    <xs:sequence><xs:element name="inner" type="zone" minOccurs="0"/></xs:sequence>
    <xs:attribute name="id" type="xs:int"/>
  </xs:complexType>
  <xs:element name="area">
    <xs:complexType><xs:sequence><xs:element ref="area" minOccurs="0"/></xs:sequence></xs:complexType>
  </xs:element>
  <xs:element name="setZones" substitutionGroup="msgTypes">
    <xs:annotation><xs:appinfo><clientToServer/><synchronous/></xs:appinfo></xs:annotation>
    <xs:complexType><xs:sequence><xs:element name="zone" type="zone"/><xs:element ref="area"/></xs:sequence></xs:complexType>
  </xs:element>
</xs:schema>)";
    QTemporaryDir dir;
    ASSERT_TRUE(save(schema, dir.filePath("doc.html")));
    const QString html = QString::fromUtf8(readFile(dir.filePath("doc.html")));
    EXPECT_EQ(html.count("&lt;inner id=\"\""), 1);
    EXPECT_EQ(html.count("\"inner\": {"), 1);
    EXPECT_EQ(html.count("&lt;area&gt;"), 1);
    EXPECT_EQ(html.count("&lt;area/&gt;"), 1);
    EXPECT_TRUE(html.contains("shown above"));
}

struct EntityCase
{
    const char *name;
    const char *doctype;
};

void PrintTo(const EntityCase &c, std::ostream *out)
{
    *out << c.name;
}

class SchemaHtmlEntityTest : public ::testing::TestWithParam<EntityCase>
{
};

// libxml2's process-wide defaults switched to substitute entities and load external subsets,
// as another user of the library in the process might leave them.
struct ProcessWideSubstitution
{
    ProcessWideSubstitution() : substitute(xmlSubstituteEntitiesDefault(1)), loadSubset(xmlLoadExtDtdDefaultValue)
    {
        xmlLoadExtDtdDefaultValue = 1;
    }
    ~ProcessWideSubstitution()
    {
        xmlSubstituteEntitiesDefault(substitute);
        xmlLoadExtDtdDefaultValue = loadSubset;
    }
    int substitute;
    int loadSubset;
};

// Each schema names a local file through an entity or an external subset; the page, if any,
// must not carry that file's text, whatever the library's process-wide defaults.
TEST_P(SchemaHtmlEntityTest, LocalFilesNamedByTheSchemaStayOutOfThePage)
{
    QTemporaryDir dir;
    QFile secret(dir.filePath("secret.txt"));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("SECRET-FILE-TEXT");
    secret.close();
    QFile dtd(dir.filePath("outside.dtd"));
    ASSERT_TRUE(dtd.open(QIODevice::WriteOnly));
    dtd.write("<!ENTITY inside \"SECRET-DTD-TEXT\">");
    dtd.close();

    const QString base = QUrl::fromLocalFile(dir.path()).toString();
    const QString schema = QString(GetParam().doctype).arg(base)
                           + R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="leak" substitutionGroup="msgTypes">
    <xs:annotation>
      <xs:documentation>before &secret; &inside; after</xs:documentation>
      <xs:appinfo><clientToServer/><synchronous/></xs:appinfo>
    </xs:annotation>
  </xs:element>
</xs:schema>)";
    const QString path = dir.filePath("doc.html");
    ProcessWideSubstitution substitution;
    if (save(schema.toUtf8(), path)) {
        const QByteArray html = readFile(path);
        EXPECT_TRUE(html.contains("msg_leak"));
        EXPECT_FALSE(html.contains("SECRET"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Doctypes, SchemaHtmlEntityTest,
    ::testing::Values(EntityCase{"ExternalEntity", R"(<!DOCTYPE xs:schema [
  <!ENTITY secret SYSTEM "%1/secret.txt">
  <!ENTITY inside "">
]>)"},
                      EntityCase{"ParameterEntity", R"(<!DOCTYPE xs:schema [
  <!ENTITY secret SYSTEM "%1/secret.txt">
  <!ENTITY % outside SYSTEM "%1/outside.dtd">
  %outside;
]>)"},
                      EntityCase{"ExternalSubset", R"(<!DOCTYPE xs:schema SYSTEM "%1/outside.dtd" [
  <!ENTITY secret SYSTEM "%1/secret.txt">
]>)"}));

} // namespace
