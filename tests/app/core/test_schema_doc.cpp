// The sensor schema store: lookups, values, ranges, documentation and properties read from
// hand-written schemas, and schemas it must refuse or survive.
#include "SchemaDoc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

namespace {

// config holds network and camera through xs:all; network holds interface through a
// sequence; messages carry their properties in xs:appinfo.
const char kSchema[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:annotation>
    <xs:documentation>Notes on the schema <b>itself</b>.</xs:documentation>
    <xs:appinfo><title>Test sensor</title></xs:appinfo>
  </xs:annotation>
  <xs:simpleType name="onOff">
    <xs:restriction base="xs:string"><xs:enumeration value="on"/><xs:enumeration value="off"/></xs:restriction>
  </xs:simpleType>
  <xs:element name="config">
    <xs:annotation>
      <xs:documentation>Sensor <b>settings</b>.<br/>See <a href="http://example.com" target="x">the manual</a>.</xs:documentation>
    </xs:annotation>
    <xs:complexType>
      <xs:all>
        <xs:element name="network">
          <xs:complexType>
            <xs:sequence>
              <xs:element name="interface">
                <xs:annotation><xs:documentation>First interface.</xs:documentation></xs:annotation>
                <xs:complexType>
                  <xs:attribute name="dhcp" type="xs:boolean">
                    <xs:annotation><xs:documentation>Use DHCP.</xs:documentation></xs:annotation>
                  </xs:attribute>
                </xs:complexType>
              </xs:element>
            </xs:sequence>
          </xs:complexType>
        </xs:element>
        <xs:element name="camera">
          <xs:complexType>
            <xs:attribute name="shutter">
              <xs:annotation><xs:documentation>Exposure time.</xs:documentation></xs:annotation>
              <xs:simpleType>
                <xs:restriction base="xs:int"><xs:minInclusive value="1"/><xs:maxInclusive value="60"/></xs:restriction>
              </xs:simpleType>
            </xs:attribute>
            <xs:attribute name="mode">
              <xs:simpleType>
                <xs:restriction base="xs:string">
                  <xs:enumeration value="auto">
                    <xs:annotation><xs:documentation>Chosen by the sensor.</xs:documentation></xs:annotation>
                  </xs:enumeration>
                  <xs:enumeration value="manual"/>
                </xs:restriction>
              </xs:simpleType>
            </xs:attribute>
            <xs:attribute name="flip" type="onOff"/>
            <xs:attribute name="gain">
              <xs:simpleType>
                <xs:restriction base="xs:int"><xs:minInclusive value="0"/><xs:maxInclusive value="0"/></xs:restriction>
              </xs:simpleType>
            </xs:attribute>
            <xs:attribute name="speed">
              <xs:simpleType><xs:restriction base="xs:int"><xs:maxInclusive value="200"/></xs:restriction></xs:simpleType>
            </xs:attribute>
          </xs:complexType>
        </xs:element>
      </xs:all>
    </xs:complexType>
  </xs:element>
  <xs:element name="getImage">
    <xs:annotation>
      <xs:appinfo><clientToServer/><synchronous><answer value="image"/></synchronous></xs:appinfo>
    </xs:annotation>
    <xs:complexType><xs:sequence><xs:element name="zone"/></xs:sequence></xs:complexType>
  </xs:element>
  <xs:element name="setEnableStreams">
    <xs:annotation><xs:appinfo><clientToServer/><asynchronous/></xs:appinfo></xs:annotation>
  </xs:element>
  <xs:element name="trace">
    <xs:annotation><xs:appinfo><serverToClient/><asynchronous/></xs:appinfo></xs:annotation>
  </xs:element>
  <xs:element name="video">
    <xs:annotation><xs:appinfo><serverToClient/><asynchronous/><nonWeb/></xs:appinfo></xs:annotation>
  </xs:element>
  <xs:element name="infos">
    <xs:annotation><xs:appinfo><serverToClient/><asynchronous value="0"/></xs:appinfo></xs:annotation>
  </xs:element>
  <xs:element name="plain"/>
  <xs:element name="réseau"/>
</xs:schema>
)";

// Readable names for the cases of the tables below.
std::ostream &operator<<(std::ostream &out, const QStringList &list)
{
    return out << list.join('/').toStdString();
}

class SchemaDocTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(schema.load(kSchema, int(sizeof(kSchema) - 1))); }

    static QStringList names(const std::vector<PXRMsgElement *> &nodes)
    {
        QStringList result;
        for (PXRMsgElement *node : nodes)
            result << QString::fromUtf8(PXRMsgElementAttributeValue(node, "name"));
        return result;
    }

    SchemaDoc schema;
};

struct LookupCase
{
    QStringList path;
    QString attribute;
    bool found;
};

void PrintTo(const LookupCase &c, std::ostream *out)
{
    *out << c.path << " @" << c.attribute.toStdString();
}

class SchemaLookupTest : public SchemaDocTest, public ::testing::WithParamInterface<LookupCase>
{
};

TEST_P(SchemaLookupTest, FindsElementsAndAttributesFromTheTopLevelWhateverTheirCase)
{
    const LookupCase &c = GetParam();
    EXPECT_EQ(schema.find(c.path, c.attribute) != nullptr, c.found);
    if (c.attribute.isEmpty())
        EXPECT_EQ(schema.hasElement(c.path), c.found);
    else
        EXPECT_EQ(schema.hasAttribute(c.path, c.attribute), c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SchemaLookupTest,
    ::testing::Values(LookupCase{{"config"}, "", true},
                      LookupCase{{"config", "network", "interface"}, "dhcp", true},
                      LookupCase{{"config", "network", "interface"}, "", true},
                      LookupCase{{"network", "interface"}, "dhcp", false},
                      LookupCase{{"interface"}, "", false},
                      LookupCase{{"Config", "NETWORK", "Interface"}, "DHCP", true},
                      LookupCase{{"config", "camera"}, "mode", true},
                      LookupCase{{"config", "camera"}, "unknown", false},
                      LookupCase{{"config", "camera", "mode"}, "", false},
                      LookupCase{{}, "", false},
                      LookupCase{{}, "dhcp", false},
                      LookupCase{{"onOff"}, "", false},
                      LookupCase{{"getImage", "zone"}, "", true},
                      LookupCase{{"réseau"}, "", true}));

struct ValuesCase
{
    QStringList path;
    QString attribute;
    QStringList values;
    int min;
    int max;
    std::optional<int> givenMin = std::nullopt;
    std::optional<int> givenMax = std::nullopt;
};

void PrintTo(const ValuesCase &c, std::ostream *out)
{
    *out << c.path << " @" << c.attribute.toStdString();
}

class SchemaValuesTest : public SchemaDocTest, public ::testing::WithParamInterface<ValuesCase>
{
};

TEST_P(SchemaValuesTest, GivesOnlyTheInlineEnumerationsAndBounds)
{
    const ValuesCase &c = GetParam();
    EXPECT_EQ(schema.enumValues(c.path, c.attribute), c.values);
    int min = -1;
    int max = -1;
    schema.range(c.path, c.attribute, &min, &max);
    EXPECT_EQ(min, c.min);
    EXPECT_EQ(max, c.max);
    // Only the bounds the schema gives, a given 0 among them.
    const SchemaDoc::Bounds bounds = schema.bounds(c.path, c.attribute);
    EXPECT_EQ(bounds.min, c.givenMin);
    EXPECT_EQ(bounds.max, c.givenMax);
}

INSTANTIATE_TEST_SUITE_P(
    Attributes, SchemaValuesTest,
    ::testing::Values(ValuesCase{{"config", "camera"}, "mode", {"auto", "Chosen by the sensor.", "manual", ""}, 0, 0},
                      ValuesCase{{"config", "camera"}, "shutter", {}, 1, 60, 1, 60},
                      // The referenced type's enumeration is not followed.
                      ValuesCase{{"config", "camera"}, "flip", {}, 0, 0},
                      ValuesCase{{"config", "camera"}, "gain", {}, 0, 0, 0, 0},
                      ValuesCase{{"config", "camera"}, "speed", {}, 0, 200, std::nullopt, 200},
                      ValuesCase{{"config", "camera"}, "unknown", {}, 0, 0},
                      ValuesCase{{"config"}, "", {}, 0, 0}));

struct DocCase
{
    QStringList path;
    QString attribute;
    bool withValues;
    bool withPath;
    QString html;
};

void PrintTo(const DocCase &c, std::ostream *out)
{
    *out << c.path << " @" << c.attribute.toStdString() << (c.withValues ? " values" : "") << (c.withPath ? " path" : "");
}

class SchemaDocumentationTest : public SchemaDocTest, public ::testing::WithParamInterface<DocCase>
{
};

TEST_P(SchemaDocumentationTest, WritesDocumentationValuesAndPath)
{
    const DocCase &c = GetParam();
    EXPECT_EQ(schema.documentationHtml(c.path, c.attribute, c.withValues, c.withPath), c.html);
}

INSTANTIATE_TEST_SUITE_P(
    Html, SchemaDocumentationTest,
    ::testing::Values(
        // Inner markup is kept as text without its attributes; an empty element gives both tags.
        DocCase{{"config"}, "", false, false, "Sensor <b>settings</b>.<br></br>See <a>the manual</a>."},
        DocCase{{"config"}, "", true, true,
                "Sensor <b>settings</b>.<br></br>See <a>the manual</a>.<br/><i>config</i>"},
        DocCase{{"config", "camera"}, "shutter", true, false,
                "Exposure time.<br/><b>Possible values:</b> <li>1 to 60</li>"},
        DocCase{{"config", "camera"}, "shutter", false, false, "Exposure time."},
        DocCase{{"config", "camera"}, "mode", true, true,
                "<br/><b>Possible values:</b><br/>  * auto: Chosen by the sensor.<br/>  * manual"
                "<br/><i>mode in config/camera</i>"},
        DocCase{{"config", "camera"}, "gain", true, false, ""},
        DocCase{{"config", "camera"}, "gain", true, true, "<i>gain in config/camera</i>"},
        DocCase{{"config", "camera"}, "unknown", true, true, "<i>unknown in config/camera</i>"},
        DocCase{{"nothing"}, "", true, false, ""},
        DocCase{{}, "dhcp", true, true, ""}));

TEST_F(SchemaDocTest, ElementDocumentationListsItsLeafChildren)
{
    EXPECT_EQ(schema.elementDocWithChildren({"config", "network", "interface"}),
              "First interface.<br/><br/><b>* dhcp</b><b> :</b> Use DHCP.");
    // mode has enumerations, so it is not a leaf.
    EXPECT_EQ(schema.elementDocWithChildren({"config", "camera"}),
              "<br/><br/><b>* shutter</b><b> :</b> Exposure time.<br/><br/><b>* flip</b><br/><br/><b>* gain</b>"
              "<br/><br/><b>* speed</b>");
    EXPECT_EQ(schema.elementDocWithChildren({"config"}), "Sensor <b>settings</b>.<br></br>See <a>the manual</a>.");
    EXPECT_EQ(schema.elementDocWithChildren({"config", "nothing"}), "");
    EXPECT_EQ(schema.elementDocWithChildren({}), "");
}

TEST_F(SchemaDocTest, ChildElementsKeepSchemaOrder)
{
    EXPECT_EQ(names(schema.childElements(schema.find({"config"}, ""))), QStringList({"network", "camera"}));
    EXPECT_TRUE(schema.childElements(schema.find({"config", "camera"}, "")).empty());
    EXPECT_TRUE(schema.childElements(nullptr).empty());
}

struct AppInfoCase
{
    QStringList required;
    QStringList excluded;
    QStringList kept;
};

void PrintTo(const AppInfoCase &c, std::ostream *out)
{
    *out << "+" << c.required << " -" << c.excluded;
}

class SchemaAppInfoTest : public SchemaDocTest, public ::testing::WithParamInterface<AppInfoCase>
{
};

TEST_P(SchemaAppInfoTest, KeepsTopLevelElementsByTheirProperties)
{
    const AppInfoCase &c = GetParam();
    EXPECT_EQ(names(schema.appInfo(c.required, c.excluded)), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, SchemaAppInfoTest,
    ::testing::Values(AppInfoCase{{"asynchronous", "serverToClient"}, {"nonWeb"}, {"trace"}},
                      AppInfoCase{{"serverToClient"}, {"nonWeb"}, {"trace", "infos"}},
                      AppInfoCase{{"serverToClient"}, {}, {"trace", "video", "infos"}},
                      // Elements without properties are never kept, even without any filter.
                      AppInfoCase{{}, {}, {"getImage", "setEnableStreams", "trace", "video", "infos"}},
                      AppInfoCase{{"clientToServer"}, {"asynchronous"}, {"getImage"}},
                      // An excluded property counts whatever its value.
                      AppInfoCase{{}, {"asynchronous"}, {"getImage"}},
                      AppInfoCase{{"SERVERTOCLIENT"}, {"NONWEB"}, {"trace", "infos"}}));

TEST_F(SchemaDocTest, PropertiesAreTheTagsInsideAppinfoOnly)
{
    PXRMsgElement *properties = PXRMsgElementFirstChild(schema.find({"getImage"}, ""), "appinfo");
    ASSERT_NE(properties, nullptr);
    // The nested answer tag is a property too; the complex type after the appinfo is not.
    ASSERT_EQ(PXRMsgElementAttributeCount(properties), 3u);
    EXPECT_STREQ(PXRMsgElementAttributeValue(properties, "clientToServer"), "1");
    EXPECT_STREQ(PXRMsgElementAttributeValue(properties, "synchronous"), "1");
    EXPECT_STREQ(PXRMsgElementAttributeValue(properties, "answer"), "image");
}

TEST_F(SchemaDocTest, EachLoadReplacesTheWholeStore)
{
    const char other[] = "<xs:schema><xs:element name=\"lock\"/></xs:schema>";
    ASSERT_TRUE(schema.load(other, int(sizeof(other) - 1)));
    EXPECT_TRUE(schema.hasElement({"lock"}));
    EXPECT_FALSE(schema.hasElement({"config"}));
    EXPECT_TRUE(schema.appInfo({}, {}).empty());
}

TEST(SchemaDocLoad, AnEmptyStoreAnswersEveryLookup)
{
    SchemaDoc schema;
    EXPECT_FALSE(schema.hasElement({"config"}));
    EXPECT_FALSE(schema.hasAttribute({"config"}, "dhcp"));
    EXPECT_TRUE(schema.enumValues({"config"}, "mode").isEmpty());
    EXPECT_EQ(schema.documentationHtml({"config"}, "mode", true, true), "<i>mode in config</i>");
    EXPECT_EQ(schema.elementDocWithChildren({"config"}), "");
    EXPECT_TRUE(schema.appInfo({}, {}).empty());
}

TEST(SchemaDocLoad, EveryTruncatedSchemaIsRefused)
{
    const std::string text(kSchema);
    const size_t complete = text.rfind("</xs:schema>") + std::strlen("</xs:schema>");
    for (size_t length = 0; length < complete; ++length) {
        SchemaDoc schema;
        ASSERT_FALSE(schema.load(text.data(), int(length))) << "cut after " << length << " bytes";
    }
    SchemaDoc schema;
    EXPECT_TRUE(schema.load(text.data(), int(complete)));
}

TEST(SchemaDocLoad, TerminatingZerosCountedInTheSizeAreNotPartOfTheDocument)
{
    const std::string text(kSchema, sizeof(kSchema)); // with its terminating zero
    SchemaDoc schema;
    ASSERT_TRUE(schema.load(text.data(), int(text.size())));
    EXPECT_TRUE(schema.hasElement({"config"}));
    EXPECT_FALSE(schema.load((std::string(kSchema) + '\0' + "<x/>").c_str(), int(sizeof(kSchema) + 4)))
        << "a zero inside the text is no terminator";
}

TEST(SchemaDocLoad, WhatWasReadBeforeAFaultStays)
{
    const std::string text(kSchema);
    SchemaDoc schema;
    ASSERT_FALSE(schema.load(text.data(), int(text.find("<xs:element name=\"trace\">"))));
    EXPECT_TRUE(schema.hasAttribute({"config", "camera"}, "shutter"));
    EXPECT_FALSE(schema.hasElement({"trace"}));
}

TEST(SchemaDocLoad, TextThatIsNotASchemaDocumentIsRefused)
{
    SchemaDoc schema;
    const char notXml[] = "getXSD failed";
    EXPECT_FALSE(schema.load(notXml, int(sizeof(notXml) - 1)));
    EXPECT_FALSE(schema.load("", 0));
    EXPECT_FALSE(schema.load(nullptr, 10));
    EXPECT_FALSE(schema.load(kSchema, -1));
}

// Tags are known by their literal names: another prefix for the same namespace gives no node.
TEST(SchemaDocLoad, AnotherNamespacePrefixLoadsWithoutElements)
{
    const char text[] = R"(<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema">
        <xsd:element name="config"><xsd:complexType><xsd:attribute name="dhcp"/></xsd:complexType></xsd:element>
        </xsd:schema>)";
    SchemaDoc schema;
    ASSERT_TRUE(schema.load(text, int(sizeof(text) - 1)));
    EXPECT_FALSE(schema.hasElement({"config"}));
    EXPECT_FALSE(schema.hasAttribute({"config"}, "dhcp"));
}

// Element tags kept as text inside documentation can close after a nested documentation
// ended; the store then stays at the top instead of climbing above it.
TEST(SchemaDocLoad, DocumentationThatClosesElementsItNeverOpenedStaysAtTheTop)
{
    std::string text = "<xs:schema><xs:element name=\"a\"><xs:annotation>";
    for (int i = 0; i < 3; ++i)
        text += "<xs:documentation><xs:element><xs:documentation></xs:documentation></xs:element></xs:documentation>";
    text += "</xs:annotation></xs:element><xs:element name=\"b\"><xs:attribute name=\"x\"/></xs:element></xs:schema>";
    SchemaDoc schema;
    ASSERT_TRUE(schema.load(text.data(), int(text.size())));
    EXPECT_TRUE(schema.hasElement({"a"}));
    EXPECT_TRUE(schema.hasAttribute({"b"}, "x"));
}

TEST(SchemaDocLoad, LongDocumentationIsKeptWhole)
{
    const std::string words(200000, 'w');
    const std::string text = "<xs:schema><xs:element name=\"a\"><xs:annotation><xs:documentation>" + words
                             + "<b>end</b></xs:documentation></xs:annotation></xs:element></xs:schema>";
    SchemaDoc schema;
    ASSERT_TRUE(schema.load(text.data(), int(text.size())));
    EXPECT_EQ(schema.documentationHtml({"a"}, "", false, false), QString::fromStdString(words + "<b>end</b>"));
}

} // namespace
