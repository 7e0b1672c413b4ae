// The window's save actions against the test sensor: their file dialogs and remembered folders,
// the bytes written, the sensor's refusals and missing answers, and local files that cannot be
// written.
#include "FileActionsTest.h"

#include "PXRQt.h"
#include "SchemaDoc.h"

#include <QSettings>

namespace {

using fybsim::Element;
using fybsim::Reply;

const char kSchema[] = "<?xml version=\"1.0\"?>\r\n<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">\n"
                       "  <xs:element name=\"config\"><xs:annotation><xs:documentation>Caf\xc3\xa9</xs:documentation>"
                       "</xs:annotation></xs:element>\n</xs:schema>\n";
const QString kExtraLog = "/data/var/log/firmware-update.log";

class SaveActionsTest : public FileActionsTest
{
protected:
    void SetUp() override
    {
        FileActionsTest::SetUp();
        server.setReply("getXSD", Reply::message(Element("xsd").withContent(kSchema)));
        fybsim::TraceFiles traces;
        traces.current = Reply::message(Element("traces").add(Element("trace").set("text", "up")));
        for (const char *file : {"old5", "old4", "old3", "old2", "old1", "/data/var/log/firmware-update.log"})
            traces.files[file] = Reply::message(Element("traces"));
        server.setResponder(fybsim::traceFilesResponder(traces));
    }

    // Until the library has made a new synchronous connection after the sensor closed its own.
    void waitForReconnection(const fybsim::FybSensor::Mark &since)
    {
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Synchronous, 1, 15s));
        ASSERT_TRUE(waitLong([] { return Model::instance()->masterSensor().isConnected(); }));
    }
};

TEST_F(SaveActionsTest, EachSaveAsksForItsFileSendsNothingWhenCancelledAndRemembersItsFolder)
{
    const QStringList traceRequests = {"getTraces", "getTraces old5", "getTraces old4", "getTraces old3",
                                       "getTraces old2", "getTraces old1", "getTraces " + kExtraLog};
    struct Case
    {
        const char *action;
        QString key, caption, filter;
        QStringList requests;
    } const cases[] = {
        {"actionSaveInformations", "SaveInformations", "Choose a file to save the configuration of this sensor",
         "PXRMsg Files (*.pxrmsg)", {}},
        {"actionSensorSaveConfiguration", "saveConfig", "Choose a file to save the configuration of this sensor",
         "PXRMsg Files (*.pxrmsg)", {"getConfig"}},
        {"actionSaveXSD", "saveXSD", "Choose a file to save the XSD of this sensor", "XSD Files (*.xsd)", {"getXSD"}},
        {"actionSaveXSDDoc", "saveXSD", "Choose a file to save the XSD documentation of this sensor",
         "HTML Files (*.html)", {"getXSD"}},
        {"actionSaveSensorTraces", "saveSensorTraces", "Choose a file to save the traces of this sensor",
         "TXT Files (*.txt)", traceRequests},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        QDir(folder.path()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder.path()));
        QSettings().remove("SaveFileDialogs");
        asked.clear();
        fybsim::FybSensor::Mark mark = server.mark();
        trigger(c.action);
        ASSERT_EQ(asked.size(), 1);
        EXPECT_EQ(asked[0].kind, "file");
        EXPECT_EQ(asked[0].title, c.caption);
        EXPECT_EQ(asked[0].text, c.filter);
        EXPECT_EQ(requestsSince(mark), QStringList());
        EXPECT_TRUE(QDir(folder.path()).isEmpty());

        asked.clear();
        mark = server.mark();
        choose(path("saved"));
        trigger(c.action);
        EXPECT_EQ(requestsSince(mark), c.requests);
        EXPECT_EQ(boxes(), QList<Asked>());
        EXPECT_TRUE(QFile::exists(path("saved")));
        EXPECT_EQ(QSettings().value("SaveFileDialogs/" + c.key + "_dir").toString(), folder.path());
    }
}

TEST_F(SaveActionsTest, InformationAndConfigurationAreSavedAsWholeMessageFiles)
{
    choose(path("infos.pxrmsg"));
    trigger("actionSaveInformations");
    EXPECT_EQ(readAll(path("infos.pxrmsg")), pxrMsgToByteArray(Model::instance()->infos()));
    EXPECT_EQ(QSettings().value("GUI/lastSaveInfosFilePath").toString(), path("infos.pxrmsg"));

    choose(path("config.pxrmsg"));
    trigger("actionSensorSaveConfiguration");
    const std::optional<fybsim::WireMessage> saved = fybsim::parseWire(readAll(path("config.pxrmsg")).toStdString());
    ASSERT_TRUE(saved && saved->root);
    EXPECT_EQ(*saved->root, configElement());
    EXPECT_EQ(boxes(), QList<Asked>());
}

TEST_F(SaveActionsTest, SchemaIsSavedExactlyAsSentAndItsDocumentationAsHtml)
{
    choose(path("schema.xsd"));
    trigger("actionSaveXSD");
    EXPECT_EQ(readAll(path("schema.xsd")), QByteArray(kSchema));

    choose(path("schema.html"));
    trigger("actionSaveXSDDoc");
    // The page made from exactly the schema's bytes.
    ASSERT_TRUE(SchemaDoc::saveHtmlDoc(kSchema, int(sizeof(kSchema) - 1), path("expected.html")));
    EXPECT_FALSE(readAll(path("schema.html")).isEmpty());
    EXPECT_EQ(readAll(path("schema.html")), readAll(path("expected.html")));
    EXPECT_EQ(boxes(), QList<Asked>());
}

TEST_F(SaveActionsTest, RefusedOrMissingAnswersShowTheActionsErrorAndWriteNothing)
{
    struct Case
    {
        const char *action;
        std::string request;
        QString text;
    } const cases[] = {
        {"actionSensorSaveConfiguration", "getConfig", "Unable to get config"},
        {"actionSaveXSD", "getXSD", "Unable to get XSD"},
        {"actionSaveXSDDoc", "getXSD", "Unable to get XSD"},
    };
    for (const Case &c : cases) {
        for (const bool answered : {true, false}) {
            SCOPED_TRACE(std::string(c.action) + (answered ? " refused" : " unanswered"));
            asked.clear();
            const fybsim::FybSensor::Mark mark = server.mark();
            server.queueReply(answered ? Reply::failed("Sensor busy") : Reply::close());
            choose(path("refused"));
            trigger(c.action);
            EXPECT_EQ(boxes(), QList<Asked>({{"box", "Error", c.text, answered ? "Sensor busy" : "NULL answer"}}));
            EXPECT_FALSE(QFile::exists(path("refused")));
            if (!answered) {
                ASSERT_NO_FATAL_FAILURE(waitForReconnection(mark));
            }
        }
    }
}

TEST_F(SaveActionsTest, AnAnswerWithoutSchemaTextIsRefusedForTheSchemaAndItsDocumentation)
{
    for (const Element &answer : {Element("xsd"), Element("config").withContent("<xs:schema/>")}) {
        for (const char *action : {"actionSaveXSD", "actionSaveXSDDoc"}) {
            SCOPED_TRACE(answer.name + " " + action);
            asked.clear();
            server.queueReply(Reply::message(answer));
            choose(path("schema"));
            trigger(action);
            EXPECT_EQ(boxes(), QList<Asked>({{"box", "Error", "Unable to get XSD", "The answer holds no schema"}}));
            EXPECT_FALSE(QFile::exists(path("schema")));
        }
    }
}

TEST_F(SaveActionsTest, FilesThatCannotBeWrittenAreReportedInTheWindowsErrorBox)
{
    ASSERT_NO_FATAL_FAILURE(writeAll(path("plain"), "a file, not a folder"));
    choose(path("plain/config.pxrmsg"));
    trigger("actionSensorSaveConfiguration");
    choose(path("missing/infos.pxrmsg"));
    trigger("actionSaveInformations");
    choose(path("missing/schema.xsd"));
    trigger("actionSaveXSD");
    EXPECT_EQ(boxes(), QList<Asked>({
                           {"box", "BZK", "Error while saving the configuration of this sensor.", ""},
                           {"box", "BZK", "Error while saving the read-only informations of this sensor.", ""},
                           {"box", "BZK", "Error while saving the XSD of this sensor : unable to create file", ""},
                       }));
    EXPECT_EQ(readAll(path("plain")), "a file, not a folder");
}

TEST_F(SaveActionsTest, InformationIsNotSavedBeforeAnyArrived)
{
    Model::instance()->clear();
    trigger("actionSaveInformations");
    EXPECT_EQ(asked, QList<Asked>({{"box", "BZK", "No information has been received from this sensor yet.", ""}}));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

} // namespace
