// The HTTP push dialog: the editors it makes of the servers the sensor reports, the setConfig it
// sends back for each case, the URL and certificate checks that refuse before sending, and the
// certificate file chooser.
#include "HttpPushSections.h"
#include "ZyHideableGroupBox.h"
#include "ZyLogs.h"

#include <QFileDialog>
#include <QLayout>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace settingstest;
using namespace networktest;
using fybsim::Reply;

ZyHideableGroupBox *pushGroup(QDialog &dialog, const char *server)
{
    return pushField<ZyHideableGroupBox>(dialog, server, "groupBox");
}

// The editors' object names from the top of the dialog down.
QStringList editorsTopDown(QDialog &dialog)
{
    QList<WidgetHttpPushServerSettings *> editors = dialog.findChildren<WidgetHttpPushServerSettings *>();
    std::sort(editors.begin(), editors.end(), [&dialog](QWidget *a, QWidget *b) {
        return dialog.layout()->indexOf(a) < dialog.layout()->indexOf(b);
    });
    QStringList names;
    for (QWidget *editor : editors)
        names << editor->objectName();
    return names;
}

struct PushCase
{
    const char *name;
    std::optional<Element> httpPush;
    Edit edit;
    QStringList shown; // editors from the top, all above the buttons
    Element expected;
};

TEST_F(SettingsTest, HttpPushSendsBackEveryServerAsReadWithTheOperatorsChanges)
{
    const Element emptyServers = httpPush({});
    const PushCase cases[] = {
        {"no httpPush", std::nullopt, {}, {}, emptyServers},
        {"no servers", Element("httpPush"), {}, {}, emptyServers},
        {"ids 1 then 0: shown in id order, sent in the configuration's",
         httpPush({pushServer({{"id", "1"}, {"enable", "1"}, {"url", "https://b.example/in"}, {"filter", "anpr"},
                               {"timeout", "5000"}},
                              "PEM-B"),
                   pushServer({{"id", "0"}, {"enable", "0"}, {"url", "not a url"}})}),
         [](QDialog &dialog) {
             EXPECT_EQ(pushGroup(dialog, "server1")->title(), "Server #1");
             EXPECT_TRUE(pushGroup(dialog, "server1")->isChecked());
             EXPECT_FALSE(pushGroup(dialog, "server0")->isChecked());
             EXPECT_FALSE(pushField<QLineEdit>(dialog, "server0", "lineEditURL")->isEnabled());
             EXPECT_EQ(pushField<QPlainTextEdit>(dialog, "server1", "plainTextEditCertificate")->toPlainText(), "PEM-B");
         },
         {"server0", "server1"},
         httpPush({pushServer({{"id", "1"}, {"enable", "1"}, {"url", "https://b.example/in"}, {"filter", "anpr"},
                               {"timeout", "5000"}},
                              "PEM-B"),
                   pushServer({{"id", "0"}, {"enable", "0"}, {"url", "not a url"}}, "")})},
        {"without enable: greyed, never checked, sent back as read",
         httpPush({pushServer({{"id", "2"}, {"url", "ftp://bad"}, {"timeout", "10"}}, "PEM")}),
         [](QDialog &dialog) {
             EXPECT_FALSE(pushGroup(dialog, "server2")->isEnabled());
             EXPECT_FALSE(pushField<QLineEdit>(dialog, "server2", "lineEditURL")->isEnabled());
         },
         {"server2"}, httpPush({pushServer({{"id", "2"}, {"url", "ftp://bad"}, {"timeout", "10"}}, "PEM")})},
        {"ids missing, negative or without digits are left out; leading zeros go",
         httpPush({pushServer({{"url", "https://a.example/"}}), pushServer({{"id", "-3"}}),
                   pushServer({{"id", "abc"}, {"enable", "1"}}), pushServer({{"id", " 07x"}, {"enable", "0"}})}),
         {}, {"server7"}, httpPush({pushServer({{"id", "7"}, {"enable", "0"}}, "")})},
        {"time-outs out of range kept as stored until changed",
         httpPush({pushServer({{"id", "0"}, {"timeout", "1000000000"}}), pushServer({{"id", "1"}, {"timeout", "-5"}}),
                   pushServer({{"id", "2"}, {"timeout", "-1"}}), pushServer({{"id", "3"}, {"timeout", "1000000000"}}),
                   pushServer({{"id", "4"}, {"timeout", "5 s"}})}),
         [](QDialog &dialog) {
             EXPECT_EQ(pushField<QSpinBox>(dialog, "server0", "spinBoxTimeout")->value(), 999999999);
             EXPECT_EQ(pushField<QSpinBox>(dialog, "server1", "spinBoxTimeout")->value(), -1);
             pushField<QSpinBox>(dialog, "server3", "spinBoxTimeout")->setValue(1234);
         },
         {"server0", "server1", "server2", "server3", "server4"},
         httpPush({pushServer({{"id", "0"}, {"timeout", "1000000000"}}, ""), pushServer({{"id", "1"}, {"timeout", "-5"}}, ""),
                   pushServer({{"id", "2"}, {"timeout", "-1"}}, ""), pushServer({{"id", "3"}, {"timeout", "1234"}}, ""),
                   pushServer({{"id", "4"}, {"timeout", "5"}}, "")})},
        {"edited",
         httpPush({pushServer({{"id", "0"}, {"enable", "0"}, {"url", "https://a.example/"}, {"filter", ""}}, "OLD")}),
         [](QDialog &dialog) {
             pushGroup(dialog, "server0")->setChecked(true);
             pushField<QLineEdit>(dialog, "server0", "lineEditURL")->setText("https://new.example:8443/p?q=1");
             pushField<QPlainTextEdit>(dialog, "server0", "plainTextEditCertificate")->setPlainText("");
         },
         {"server0"},
         httpPush({pushServer({{"id", "0"}, {"enable", "1"}, {"url", "https://new.example:8443/p?q=1"}, {"filter", ""}},
                              "")})},
    };
    for (const PushCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork("httpPush", c.httpPush)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("httpPush", [&](QDialog &dialog) {
            EXPECT_EQ(editorsTopDown(dialog), c.shown);
            const int buttons = dialog.layout()->indexOf(child<QWidget>(dialog, "buttonBox"));
            EXPECT_EQ(buttons, c.shown.size() + 1) << "editors, spacer, buttons";
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, networkRequest(c.expected));
    }
}

TEST_F(SettingsTest, HttpPushServersLeftOutLeaveTheirLogLine)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(
        "httpPush", httpPush({pushServer({{"id", "-3"}}), pushServer({{"url", "https://a.example/"}}),
                              pushServer({{"id", "x1"}}), pushServer({{"id", "4"}})}))));
    QTemporaryDir folder;
    QObject owner;
    ZyLogs::init(&owner);
    ZyLogs::initFile(true, folder.path(), "global", 0);
    open("httpPush", [](QDialog &dialog) { dialog.reject(); });
    QFile file(folder.filePath(QDir(folder.path()).entryList({"*_global.log"}).value(0)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString log = QString::fromLatin1(file.readAll());
    EXPECT_EQ(log.count("[3] Got an HttpPush server configuration with an invalid ID"), 2) << log.toStdString();
    EXPECT_EQ(log.count("[3] Got an HttpPush server configuration without ID"), 1);
}

struct CheckCase
{
    const char *name;
    const char *url;
    const char *certificate;
    std::optional<QMessageBox::StandardButton> reply; // to the question
    QStringList boxes; // title and text of each box
    bool sent;
};

TEST_F(SettingsTest, HttpPushChecksUrlsAndPlainHttpCertificatesBeforeSending)
{
    const QString question = "Server #5<br/><br/>Server is not using an HTTPS connection despite a certificate is "
                             "provided.<br/>Continue anyway?";
    const CheckCase cases[] = {
        {"invalid URL", "https://a.example", "", std::nullopt, {"HttpPush", "Server #5<br/><br/>URL is invalid"}, false},
        {"scheme in capitals", "HTTPS://a.example/", "", std::nullopt, {"HttpPush", "Server #5<br/><br/>URL is invalid"}, false},
        {"http with a certificate, refused", "http://a.example/", "PEM", QMessageBox::No, {"HttpPush", question}, false},
        {"http with a certificate, accepted", "http://a.example/", "PEM", QMessageBox::Yes, {"HttpPush", question}, true},
        {"https with a certificate", "https://a.example:443/in", "PEM", std::nullopt, {}, true},
        {"http without certificate", "http://a.example/", "", std::nullopt, {}, true},
    };
    for (const CheckCase &c : cases) {
        SCOPED_TRACE(c.name);
        // Server 9 comes first in the list and is valid, so it shows that one refusal stops all.
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(
            "httpPush", httpPush({pushServer({{"id", "9"}, {"enable", "1"}, {"url", "https://ok.example/"}}),
                                  pushServer({{"id", "5"}, {"enable", "1"}, {"url", c.url}}, c.certificate)}))));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("httpPush", [&](QDialog &) {
            if (c.reply)
                answers.push_back(press(*c.reply));
        });
        EXPECT_EQ(result, c.sent ? QDialog::Accepted : QDialog::Rejected);
        QStringList boxes;
        for (std::size_t i = 1; i < seen.size(); ++i)
            boxes << seen[i].title << seen[i].text;
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(requestsSince(mark).size(), c.sent ? 1u : 0u);
    }
}

TEST_F(SettingsTest, HttpPushServerSwitchedOffIsSentWithItsInvalidUrl)
{
    const Element stored = httpPush({pushServer({{"id", "0"}, {"enable", "1"}, {"url", "bad url"}})});
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork("httpPush", stored)));
    const fybsim::FybSensor::Mark mark = server.mark();
    EXPECT_EQ(openAndOk("httpPush", [](QDialog &dialog) { pushGroup(dialog, "server0")->setChecked(false); }),
              QDialog::Accepted);
    expectRequest(mark, networkRequest(httpPush({pushServer({{"id", "0"}, {"enable", "0"}, {"url", "bad url"}}, "")})));
}

TEST_F(SettingsTest, HttpPushRefusedRequestKeepsTheDialogOpen)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork("httpPush", httpPush({pushServer({{"id", "0"}, {"enable", "0"}})}))));
    server.setReply("setConfig", Reply::failed("read only"));
    EXPECT_EQ(openAndOk("httpPush"), QDialog::Rejected);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].title, "Set configuration");
}

struct CertificateCase
{
    const char *name;
    QString path;       // chosen; empty for a cancelled chooser
    QStringList boxes;  // title and text of each box after the chooser
    std::string loaded; // the certificate sent afterwards
};

TEST_F(SettingsTest, HttpPushCertificateFileIsCappedAndItsReadChecked)
{
    QTemporaryDir folder;
    const auto write = [&folder](const char *name, qsizetype size) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'A'));
        return file.fileName();
    };
    // A special file reports no size whatever it holds.
    QFile maps("/proc/self/maps");
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    ASSERT_EQ(maps.size(), 0);
    ASSERT_GT(maps.readAll().size(), 8193);
    const QStringList tooLarge = {"File error", "File size limit exceeded"};
    const QStringList unreadable = {"File error", "Can't open file"};
    const CertificateCase cases[] = {
        {"8192 bytes", write("cap.pem", 8192), {}, std::string(8192, 'A')},
        {"8193 bytes", write("over.pem", 8193), tooLarge, "OLD"},
        {"a special file beyond the cap", "/proc/self/maps", tooLarge, "OLD"},
        {"a file that cannot be read", "/proc/self/mem", unreadable, "OLD"},
        {"a file that is gone", folder.filePath("gone.pem"), unreadable, "OLD"},
        {"cancelled", QString(), {}, "OLD"},
    };
    for (const CertificateCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(
            "httpPush", httpPush({pushServer({{"id", "0"}, {"enable", "1"}, {"url", "https://a.example/"}}, "OLD")}))));
        const fybsim::FybSensor::Mark mark = server.mark();
        QStringList filters;
        const int result = openAndOk("httpPush", [&](QDialog &dialog) {
            answers.push_back([&](QDialog *chooser) {
                auto *files = qobject_cast<QFileDialog *>(chooser);
                EXPECT_NE(files, nullptr);
                filters = files->nameFilters();
                if (c.path.isEmpty())
                    return int(QDialog::Rejected);
                files->selectFile(c.path);
                return int(QDialog::Accepted);
            });
            pushField<QToolButton>(dialog, "server0", "toolButtonCertificate")->click();
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(filters, (QStringList{"Certificates (*.pem *.PEM *.crt *.CRT)", "All files (*)"}));
        QStringList boxes;
        for (std::size_t i = 2; i < seen.size(); ++i)
            boxes << seen[i].title << seen[i].text;
        EXPECT_EQ(boxes, c.boxes);
        expectRequest(mark, networkRequest(httpPush(
                                {pushServer({{"id", "0"}, {"enable", "1"}, {"url", "https://a.example/"}}, c.loaded)})));
    }
}

TEST_F(SettingsTest, HttpPushPictureWithTwoServers)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(
        "httpPush",
        httpPush({pushServer({{"id", "0"}, {"enable", "1"}, {"url", "https://push.example/in"}, {"filter", "anpr/decision"},
                              {"timeout", "5000"}},
                             "-----BEGIN CERTIFICATE-----\nMIIB\n-----END CERTIFICATE-----"),
                  pushServer({{"id", "1"}, {"enable", "0"}, {"url", "http://spare.example/"}, {"timeout", "30000"}})}))));
    open("httpPush", [this](QDialog &dialog) {
        keepPicture(dialog, "network-http-push-two-servers");
        dialog.reject();
    });
}

} // namespace
