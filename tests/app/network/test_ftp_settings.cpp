// The FTP output dialog: what it shows of the sensor's four servers, the setConfig it sends for
// each case, the connection test built from the values on screen and its answers, and the
// example of a file-name pattern.
#include "NetworkSections.h"
#include "WidgetFTPServerSettings.h"
#include "ZyHideableGroupBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using namespace settingstest;
using namespace networktest;
using fybsim::Reply;

Element servers(std::initializer_list<Element> list)
{
    Element made("servers");
    for (const Element &server : list)
        made.add(server);
    return made;
}

Element ftp(Attributes attributes, std::initializer_list<Element> list)
{
    return element("ftp", attributes).add(servers(list));
}

const Attributes kFullServer = {{"enabled", "1"},        {"protocol", "ftps"},         {"address", "ftp.example"},
                                {"login", "bzk"},        {"password", "s3cret"},       {"port", "2121"},
                                {"retryCount", "3"},     {"retryDelay_ms", "5000"},    {"fileName", "*plate*_*D*.jpg"},
                                {"contextFileName", "*context*.txt"}, {"exportContext", "1"}};

WidgetFTPServerSettings *editor(QDialog &dialog, int index)
{
    return child<WidgetFTPServerSettings>(dialog, QStringLiteral("widgetServer%1").arg(index).toLatin1().constData());
}

ZyHideableGroupBox *group(QDialog &dialog, int index)
{
    return child<ZyHideableGroupBox>(dialog, QStringLiteral("groupServer%1").arg(index).toLatin1().constData());
}

template <typename T>
T *field(QDialog &dialog, int server, const char *name)
{
    T *found = editor(dialog, server)->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

struct SaveCase
{
    const char *name;
    std::optional<Element> ftp;
    Edit edit;
    std::vector<int> usableGroups;
    Element expected;
};

TEST_F(SettingsTest, FtpSaveSendsTheSwitchAndTheServersTheSensorHasAndUses)
{
    const SaveCase cases[] = {
        {"no ftp", std::nullopt,
         [](QDialog &dialog) {
             EXPECT_FALSE(child<QCheckBox>(dialog, "checkEnabled")->isEnabled());
             EXPECT_FALSE(child<QWidget>(dialog, "widget")->isEnabled());
         },
         {}, ftp({}, {})},
        {"switched off", ftp({{"enabled", "0"}}, {element("server0", kFullServer)}),
         [](QDialog &dialog) { EXPECT_FALSE(child<QWidget>(dialog, "widget")->isEnabled()); }, {},
         ftp({{"enabled", "0"}}, {})},
        {"server0 and server2 only",
         ftp({{"enabled", "1"}}, {element("server0", kFullServer), element("server2", {{"enabled", "0"}})}),
         [](QDialog &dialog) {
             for (int index : {1, 3}) {
                 EXPECT_FALSE(group(dialog, index)->isExpanded()) << index;
                 EXPECT_FALSE(group(dialog, index)->isChecked()) << index;
             }
             EXPECT_TRUE(group(dialog, 0)->isExpanded());
             EXPECT_TRUE(group(dialog, 0)->isChecked());
             EXPECT_EQ(field<QLineEdit>(dialog, 0, "edtPassword")->echoMode(), QLineEdit::Normal);
         },
         {0, 2}, ftp({{"enabled", "1"}}, {element("server0", kFullServer), element("server2", {{"enabled", "0"}})})},
        {"a server without port and retries",
         ftp({{"enabled", "true"}}, {without(element("server1", kFullServer), {"port", "retryCount"})}),
         [](QDialog &dialog) {
             EXPECT_FALSE(field<QSpinBox>(dialog, 1, "spinPort")->isEnabled());
             EXPECT_FALSE(field<QSpinBox>(dialog, 1, "spinRetryCount")->isEnabled());
             EXPECT_TRUE(field<QSpinBox>(dialog, 1, "spinRetryDelay")->isEnabled());
         },
         {1}, ftp({{"enabled", "1"}}, {without(element("server1", kFullServer), {"port", "retryCount"})})},
        {"a server switched off sends its switch alone",
         ftp({{"enabled", "1"}}, {element("server3", kFullServer)}),
         [](QDialog &dialog) { group(dialog, 3)->setChecked(false); }, {3},
         ftp({{"enabled", "1"}}, {element("server3", {{"enabled", "0"}})})},
        {"edited", ftp({{"enabled", "1"}}, {element("server0", kFullServer), element("server1", {{"enabled", "0"}, {"address", "a"}})}),
         [](QDialog &dialog) {
             EXPECT_TRUE(choose(field<WidgetComboDoc>(dialog, 0, "comboProtocol"), "sftp"));
             field<QLineEdit>(dialog, 0, "edtAddress")->setText(QString::fromUtf8("h\xC3\xB4te.example"));
             field<QSpinBox>(dialog, 0, "spinPort")->setValue(22);
             field<QCheckBox>(dialog, 0, "checkContext")->setChecked(false);
             field<QLineEdit>(dialog, 0, "edtFile")->setText("*y*.jpg");
             group(dialog, 1)->setChecked(true);
             field<QLineEdit>(dialog, 1, "edtAddress")->setText("b");
         },
         {0, 1},
         ftp({{"enabled", "1"}},
             {element("server0", {{"enabled", "1"}, {"protocol", "sftp"}, {"address", "h\xC3\xB4te.example"},
                                  {"login", "bzk"}, {"password", "s3cret"}, {"port", "22"}, {"retryCount", "3"},
                                  {"retryDelay_ms", "5000"}, {"fileName", "*y*.jpg"},
                                  {"contextFileName", "*context*.txt"}, {"exportContext", "0"}}),
              element("server1", {{"enabled", "1"}, {"address", "b"}})})},
    };
    for (const SaveCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork("ftp", c.ftp)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("ftp", [&](QDialog &dialog) {
            for (int index = 0; index < 4; ++index) {
                const bool usable = std::find(c.usableGroups.begin(), c.usableGroups.end(), index) != c.usableGroups.end();
                EXPECT_EQ(group(dialog, index)->isEnabled(), usable) << index;
            }
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, networkRequest(c.expected));
    }
}

TEST_F(SettingsTest, FtpRefusedSaveKeepsTheDialogOpenUnderItsTitle)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork("ftp", ftp({{"enabled", "1"}}, {element("server0", kFullServer)}))));
    server.setReply("setConfig", Reply::failed("read only"));
    const fybsim::FybSensor::Mark mark = server.mark();
    EXPECT_EQ(openAndOk("ftp"), QDialog::Rejected);
    EXPECT_EQ(requestsSince(mark).size(), 1u);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].title, "Configuration");
}

struct TestCase
{
    const char *name;
    Attributes server;
    bool schemaHasFileName;
    Edit edit;
    Element expected;
};

TEST_F(SettingsTest, FtpTestCarriesTheConnectionOnScreenAndTheExpandedFileName)
{
    const TestCase cases[] = {
        {"as stored", kFullServer, true, {},
         element("testFTP", {{"protocol", "ftps"}, {"address", "ftp.example"}, {"login", "bzk"},
                             {"password", "s3cret"}, {"port", "2121"}, {"fileName", "TESTPLATE_*D*.jpg"}})},
        {"typed, not saved", kFullServer, true,
         [](QDialog &dialog) {
             field<QLineEdit>(dialog, 0, "edtAddress")->setText("typed.example");
             field<QLineEdit>(dialog, 0, "edtPassword")->setText("");
             field<QSpinBox>(dialog, 0, "spinPort")->setValue(990);
             field<QLineEdit>(dialog, 0, "edtFile")->setText("*reliability*-*context*");
         },
         element("testFTP", {{"protocol", "ftps"}, {"address", "typed.example"}, {"login", "bzk"},
                             {"password", ""}, {"port", "990"}, {"fileName", "95-F"}})},
        {"no port", {{"enabled", "1"}, {"address", "ftp.example"}, {"fileName", "x"}}, true, {},
         element("testFTP", {{"address", "ftp.example"}, {"fileName", "x"}})},
        {"a schema without the test's file name", kFullServer, false, {},
         element("testFTP", {{"protocol", "ftps"}, {"address", "ftp.example"}, {"login", "bzk"},
                             {"password", "s3cret"}, {"port", "2121"}})},
    };
    for (const TestCase &c : cases) {
        SCOPED_TRACE(c.name);
        Attributes attributes = c.server;
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork("ftp", ftp({{"enabled", "1"}}, {element("server0", attributes)}))));
        if (!c.schemaHasFileName) {
            QByteArray schema;
            ASSERT_TRUE(schemaReplacing("<xs:attribute name=\"fileName\" type=\"xs:string\"/>\n    </xs:complexType>",
                                        "</xs:complexType>", schema));
            ASSERT_TRUE(model()->schemaDoc().load(schema.constData(), int(schema.size())));
        }
        const fybsim::FybSensor::Mark mark = server.mark();
        open("ftp", [&](QDialog &dialog) {
            if (c.edit)
                c.edit(dialog);
            field<QPushButton>(dialog, 0, "btnTest")->click();
            dialog.reject();
        });
        const std::optional<fybsim::Received> got = server.waitForRoot(mark, "testFTP", 15s);
        ASSERT_TRUE(got.has_value());
        ASSERT_TRUE(got->message.root.has_value());
        EXPECT_TRUE(*got->message.root == c.expected)
            << "sent:     " << fybsim::xmlPartOf(*got->message.root) << "\nexpected: " << fybsim::xmlPartOf(c.expected);
        EXPECT_TRUE(requestsSince(mark).empty()) << "the test saves nothing";
    }
}

struct TestAnswerCase
{
    const char *name;
    Reply reply;
    QStringList boxes; // title and text of each box after the dialog
};

TEST_F(SettingsTest, FtpTestReportsSuccessOrTheSensorsRefusal)
{
    const TestAnswerCase cases[] = {
        {"ok", Reply::ok(), {"Success", "The sensor is able to connect to this FTP server"}},
        {"failed", Reply::failed("unreachable"), {"Test FTP", "Error : action failed"}},
        {"no answer", Reply::close(), {"Test FTP", "Error : no answer from equipment"}},
    };
    for (const TestAnswerCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork("ftp", ftp({{"enabled", "1"}}, {element("server0", kFullServer)}))));
        server.setReply("testFTP", c.reply);
        open("ftp", [](QDialog &dialog) {
            field<QPushButton>(dialog, 0, "btnTest")->click();
            dialog.reject();
        });
        QStringList boxes;
        for (std::size_t i = 1; i < seen.size(); ++i)
            boxes << seen[i].title << seen[i].text;
        EXPECT_EQ(boxes, c.boxes);
    }
}

TEST_F(SettingsTest, FtpExampleLinksShowTheirPatternExpanded)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(
        "ftp", ftp({{"enabled", "1"}}, {element("server0", {{"enabled", "1"},
                                                            {"fileName", "*plate*-*Y*.jpg"},
                                                            {"contextFileName", "ctx_*context*"},
                                                            {"exportContext", "1"}})}))));
    open("ftp", [this](QDialog &dialog) {
        auto *file = field<QLabel>(dialog, 0, "labelFileExample");
        emit file->linkActivated(linkParts(*file).first);
        auto *context = field<QLabel>(dialog, 0, "labelContextExample");
        emit context->linkActivated(linkParts(*context).first);
        answers.push_back([this](QDialog *box) {
            keepPicture(*box, "network-ftp-example");
            return int(QMessageBox::Ok);
        });
        emit file->linkActivated(linkParts(*file).first);
        dialog.reject();
    });
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[1].title, "Example");
    EXPECT_EQ(seen[1].text, "TESTPLATE-*Y*.jpg");
    EXPECT_EQ(seen[2].text, "ctx_F");
    EXPECT_EQ(seen[3].text, "TESTPLATE-*Y*.jpg");
}

TEST_F(SettingsTest, FtpPictureWithTwoServersOpen)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(
        "ftp", ftp({{"enabled", "1"}}, {element("server0", kFullServer), element("server1", {{"enabled", "0"}}),
                                        without(element("server2", kFullServer), {"port"})}))));
    open("ftp", [this](QDialog &dialog) {
        keepPicture(dialog, "network-ftp-two-servers-open");
        dialog.reject();
    });
}

} // namespace
