// The schema the bridge answers getXSD with: what it declares (version, server type, simple
// types, messages and their properties), and that the trees and declared messages the bridge
// sends validate against it (checked with libxml2).
#include <libxml/parser.h>
#include <libxml/xmlschemas.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <set>

#include "BridgeFeedSupport.h"

using kgvsim::Form;

namespace {

std::string escaped(const char *pcszText)
{
    std::string text;
    for (const char *pc = pcszText; *pc; ++pc) {
        switch (*pc) {
        case '&': text += "&amp;"; break;
        case '<': text += "&lt;"; break;
        case '"': text += "&quot;"; break;
        default: text += *pc;
        }
    }
    return text;
}

std::string base64(const uint8_t *pu8Data, uint32_t u32Size)
{
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (uint32_t i = 0; i < u32Size; i += 3) {
        const uint32_t u32Word = uint32_t(pu8Data[i]) << 16 | (i + 1 < u32Size ? uint32_t(pu8Data[i + 1]) << 8 : 0) |
                                 (i + 2 < u32Size ? pu8Data[i + 2] : 0);
        text += kDigits[(u32Word >> 18) & 63];
        text += kDigits[(u32Word >> 12) & 63];
        text += i + 1 < u32Size ? kDigits[(u32Word >> 6) & 63] : '=';
        text += i + 2 < u32Size ? kDigits[u32Word & 63] : '=';
    }
    return text;
}

// The element as XML, its binary content in base64 as its attachment stands for.
std::string xmlOf(PXRMsgElement *psElement)
{
    std::string text = std::string("<") + PXRMsgElementName(psElement);
    for (uint32_t i = 0; i < PXRMsgElementAttributeCount(psElement); ++i) {
        const char *pcszName = PXRMsgElementAttributeName(psElement, i);
        text += std::string(" ") + pcszName + "=\"" + escaped(PXRMsgElementAttributeValue(psElement, pcszName)) + "\"";
    }
    text += ">";
    text += base64(static_cast<const uint8_t *>(PXRMsgElementContent(psElement)), PXRMsgElementContentSize(psElement));
    for (PXRMsgElement *psChild = PXRMsgElementFirstChild(psElement, nullptr); psChild;
         psChild = PXRMsgElementNextChild(psElement, psChild, nullptr))
        text += xmlOf(psChild);
    return text + "</" + PXRMsgElementName(psElement) + ">";
}

class BridgeSchema : public BridgeTest {
protected:
    void SetUp() override
    {
        BridgeTest::SetUp();
        xmlSchemaParserCtxtPtr psParser = xmlSchemaNewMemParserCtxt(g_acPxrltSchema, int(g_u32PxrltSchemaSize - 1));
        schema = xmlSchemaParse(psParser);
        xmlSchemaFreeParserCtxt(psParser);
        ASSERT_NE(schema, nullptr) << "the schema does not load";
        document = xmlReadMemory(g_acPxrltSchema, int(g_u32PxrltSchemaSize - 1), "KGV.xsd", nullptr, 0);
        ASSERT_NE(document, nullptr);
    }
    void TearDown() override
    {
        xmlFreeDoc(document);
        xmlSchemaFree(schema);
        BridgeTest::TearDown();
    }
    // "" when the message's tree validates, else what libxml2 said.
    std::string validate(PXRMsg *psMsg)
    {
        const std::string xml = xmlOf(PXRMsgChild(psMsg));
        xmlDocPtr psDoc = xmlReadMemory(xml.data(), int(xml.size()), "message.xml", nullptr, 0);
        if (!psDoc)
            return "not well formed: " + xml;
        errors.clear();
        xmlSchemaValidCtxtPtr psValid = xmlSchemaNewValidCtxt(schema);
        xmlSchemaSetValidStructuredErrors(psValid, &BridgeSchema::onError, this);
        const int iResult = xmlSchemaValidateDoc(psValid, psDoc);
        xmlSchemaFreeValidCtxt(psValid);
        xmlFreeDoc(psDoc);
        return iResult == 0 ? "" : errors + " in " + xml.substr(0, 600);
    }
    static void onError(void *pUser, xmlErrorPtr psError)
    {
        static_cast<BridgeSchema *>(pUser)->errors += psError->message ? psError->message : "?";
    }
    // The texts the XPath expression selects in the schema.
    std::set<std::string> select(const std::string &path)
    {
        std::set<std::string> texts;
        xmlXPathContextPtr psContext = xmlXPathNewContext(document);
        xmlXPathRegisterNs(psContext, BAD_CAST "xs", BAD_CAST "http://www.w3.org/2001/XMLSchema");
        xmlXPathObjectPtr psFound = xmlXPathEvalExpression(BAD_CAST path.c_str(), psContext);
        for (int i = 0; psFound && psFound->nodesetval && i < psFound->nodesetval->nodeNr; ++i) {
            xmlChar *pText = xmlNodeGetContent(psFound->nodesetval->nodeTab[i]);
            texts.insert(reinterpret_cast<const char *>(pText));
            xmlFree(pText);
        }
        xmlXPathFreeObject(psFound);
        xmlXPathFreeContext(psContext);
        return texts;
    }
    std::set<std::string> properties(const std::string &message)
    {
        std::set<std::string> names;
        xmlXPathContextPtr psContext = xmlXPathNewContext(document);
        xmlXPathRegisterNs(psContext, BAD_CAST "xs", BAD_CAST "http://www.w3.org/2001/XMLSchema");
        const std::string path = "/xs:schema/xs:element[@name='" + message + "']/xs:annotation/xs:appinfo/*";
        xmlXPathObjectPtr psFound = xmlXPathEvalExpression(BAD_CAST path.c_str(), psContext);
        for (int i = 0; psFound && psFound->nodesetval && i < psFound->nodesetval->nodeNr; ++i)
            names.insert(reinterpret_cast<const char *>(psFound->nodesetval->nodeTab[i]->name));
        xmlXPathFreeObject(psFound);
        xmlXPathFreeContext(psContext);
        return names;
    }

    xmlSchemaPtr schema = nullptr;
    xmlDocPtr document = nullptr;
    std::string errors;
};

TEST_F(BridgeSchema, DeclaresTheMessageSetWithItsProperties)
{
    EXPECT_EQ(select("/xs:schema/@version"), std::set<std::string>{"0.8"});
    EXPECT_EQ(select("/xs:schema/xs:annotation/xs:appinfo/serverType"), std::set<std::string>{"KGVSensor"});
    EXPECT_EQ(select("/xs:schema/xs:annotation/xs:appinfo/engineType"), std::set<std::string>{"anpr"});
    EXPECT_EQ(select("/xs:schema/xs:annotation/xs:appinfo/version"), std::set<std::string>{"1.2.1"});
    EXPECT_EQ(select("/xs:schema/xs:annotation/xs:appinfo/title"),
              std::set<std::string>{"Pindrel 1&2 , Sabrel 1&2, Lumatek 2&3"});
    EXPECT_EQ(select("/xs:schema/xs:simpleType/@name"),
              (std::set<std::string>{"timestamp", "ipPort", "codec", "macAddress", "ipv4", "context"}));
    const std::set<std::string> kSync = {"serverToClient", "synchronous"};
    const std::set<std::string> kRequest = {"clientToServer", "synchronous"};
    const std::set<std::string> kLocked = {"clientToServer", "needsLock", "synchronous"};
    const std::vector<std::pair<std::string, std::set<std::string>>> expected = {
        {"answer", kSync}, {"xsd", kSync}, {"image", kSync}, {"triggerAnswer", kSync}, {"database", kSync},
        {"trace", {"serverToClient", "asynchronous"}}, {"anpr", {"serverToClient", "asynchronous"}},
        {"video", {"serverToClient", "asynchronous"}}, {"triggerResult", {"serverToClient", "asynchronous"}},
        {"config", {"serverToClient", "synchronous", "asynchronous"}}, {"infos", {"serverToClient"}},
        {"hello", {"serverToClient", "PXRInternal"}}, {"setConnectionMode", {"clientToServer", "PXRInternal"}},
        {"keep-alive", {"serverToClient", "clientToServer", "PXRInternal"}}, {"lock", kRequest},
        {"unlock", kRequest}, {"getXSD", kRequest}, {"getImage", kRequest}, {"getCurrentLog", kRequest},
        {"getConfig", kRequest}, {"getInfos", kRequest}, {"triggerOn", kRequest}, {"triggerOff", kRequest},
        {"resetCounters", kRequest}, {"getDatabase", kRequest}, {"reboot", kLocked}, {"setConfig", kLocked},
        {"openBarrier", kLocked}, {"eraseDatabase", kLocked}, {"editDatabase", kLocked},
        {"setEnableStreams", {"clientToServer", "asynchronous"}}};
    std::set<std::string> messages;
    for (const auto &[message, names] : expected) {
        EXPECT_EQ(properties(message), names) << message;
        messages.insert(message);
    }
    EXPECT_EQ(select("/xs:schema/xs:element[@substitutionGroup='msgTypes']/@name"), messages)
        << "dgpr, ioState and the serial-port requests are served but not declared";
    EXPECT_EQ(select("/xs:schema/xs:element[@abstract='true']/@name"), std::set<std::string>{"msgTypes"});
}

TEST_F(BridgeSchema, GetXsdAnswersTheSchemaWithoutCopy)
{
    connect({});
    PXRMsg *psRequest = PXRMsgCreate();
    PXRLT_newRoot(psRequest, "GETXSD");
    PXRMsg *psAnswer = PXRLT_sendRequest(pxr, psRequest, 0);
    PXRMsgDestroy(psRequest);
    ASSERT_NE(psAnswer, nullptr);
    PXRMsgElement *psXsd = PXRMsgChild(psAnswer);
    EXPECT_STREQ(PXRMsgElementName(psXsd), "xsd");
    EXPECT_EQ(PXRMsgElementContent(psXsd), static_cast<const void *>(g_acPxrltSchema));
    EXPECT_EQ(PXRMsgElementContentSize(psXsd), g_u32PxrltSchemaSize);
    EXPECT_EQ(g_acPxrltSchema[g_u32PxrltSchemaSize - 1], '\0');
    EXPECT_EQ(validate(psAnswer), "");
    PXRMsgDestroy(psAnswer);
    // The validation is strict: a message the schema does not describe fails.
    PXRMsg *psWrong = PXRMsgCreate();
    PXRMsgElementSetAttribute(PXRLT_addChild(PXRLT_newRoot(psWrong, "infos"), "sensor"), "speed", "1");
    EXPECT_NE(validate(psWrong), "");
    PXRMsgDestroy(psWrong);
}

class BridgeSchemaSensor : public BridgeSchema, public ::testing::WithParamInterface<Form> {};

TEST_P(BridgeSchemaSensor, TreesAndPushedMessagesValidate)
{
    kgvsim::StreamSetup setup;
    setup.form = GetParam();
    setup.version.protocol = {4, 11, 0};
    connect(setup);
    subscribe("1", "1");
    setup.anpr.context = "GB";
    setup.video.bitrate = 1000000;
    feed(kgvsim::configurationForm(setup) + kgvsim::statusPacket(0x2001) + kgvsim::statusPacket(0x1));
    kgvsim::Recognition trigger;
    trigger.code = 8743;
    kgvsim::Recognition passage;
    passage.code = kgvsim::fourcc("NOLG");
    feed(kgvsim::recognitionPacket({}) + kgvsim::recognitionPacket(trigger) + kgvsim::recognitionPacket(passage) +
         kgvsim::speedPacket(90, 1, 100, 2, 300) + kgvsim::framePacket(kgvsim::fourcc("MPEG"), 5, 1, 1, "frame"));
    std::vector<PXRMsg *> pushed = popAll();
    std::set<std::string> names;
    for (PXRMsg *psMsg : pushed) {
        names.insert(PXRMsgElementName(PXRMsgChild(psMsg)));
        EXPECT_EQ(validate(psMsg), "") << PXRMsgElementName(PXRMsgChild(psMsg));
    }
    EXPECT_TRUE(names.count("infos") && names.count("config") && names.count("video"));
    if (GetParam() == Form::Anpr) {
        EXPECT_TRUE(names.count("anpr") && names.count("triggerResult"));
    }
    destroyAll(pushed);
}

INSTANTIATE_TEST_SUITE_P(Sensors, BridgeSchemaSensor, ::testing::Values(Form::Anpr, Form::Dgpr, Form::Video),
                         [](const auto &info) {
                             return std::string(info.param == Form::Anpr   ? "Anpr"
                                                : info.param == Form::Dgpr ? "Dgpr"
                                                                           : "Video");
                         });

} // namespace
