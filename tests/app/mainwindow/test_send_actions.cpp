// Message files sent to the sensor from the window: as a request with its answer shown, as an
// asynchronous message, as an application package; the size limit, bad files, the remembered
// path, and sends that fail.
#include "FileActionsTest.h"

#include <QSettings>

namespace {

using fybsim::Element;
using fybsim::Reply;
using fybsim::Role;

QByteArray messageFile(const Element &root)
{
    return QByteArray::fromStdString(fybsim::wireOf(root));
}

// A message file of exactly that many bytes: one element whose content fills it.
QByteArray messageFileOfSize(qint64 size)
{
    std::string content(std::size_t(size - 300), 'x');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::string wire = fybsim::wireOf(Element("sendMe").withContent(content));
        const qint64 missing = size - qint64(wire.size());
        if (missing == 0)
            return QByteArray::fromStdString(wire);
        content.resize(std::size_t(qint64(content.size()) + missing), 'x');
    }
    return {};
}

class SendActionsTest : public FileActionsTest
{
protected:
    // Sends the file through the action's open dialog.
    void send(const char *action, const QString &file)
    {
        mark = server.mark();
        choose(file);
        trigger(action);
    }

    fybsim::FybSensor::Mark mark;
};

TEST_F(SendActionsTest, EachSendDeliversTheFilesMessageAndRemembersItsPath)
{
    struct Case
    {
        const char *action;
        QString key, filter, file;
        Role role;
        QList<Asked> shown;
    } const cases[] = {
        {"actionSendSynchronousMessage", "LastSynchronousMessage", "*.pxrmsg", "request.pxrmsg", Role::Synchronous,
         {{"file", "Select file", "*.pxrmsg", ""}, {"DlgMsg", "Message", "", ""}}},
        {"actionSendAsynchronousMessage", "LastAsynchronousMessage", "*.pxrmsg", "message.pxrmsg", Role::Asynchronous,
         {{"file", "Select file", "*.pxrmsg", ""}}},
        {"actionInstall_application", "LastUpdateAppMessage", "*.aup", "package.aup", Role::Synchronous,
         {{"file", "Select file", "*.aup", ""}, {"DlgMsg", "Message", "", ""}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        asked.clear();
        ASSERT_NO_FATAL_FAILURE(writeAll(path(c.file), messageFile(Element("sendMe").set("from", c.action))));
        send(c.action, path(c.file));
        const std::optional<fybsim::Received> got = server.waitForRoot(mark, "sendMe", 15s);
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(got->role, c.role);
        EXPECT_EQ(*got->attribute("from"), c.action);
        ASSERT_EQ(asked.size(), c.shown.size());
        for (qsizetype i = 0; i < asked.size(); ++i) {
            EXPECT_EQ(asked[i].kind, c.shown[i].kind);
            EXPECT_EQ(asked[i].text, c.shown[i].text);
        }
        EXPECT_EQ(QSettings().value(c.key).toString(), path(c.file));

        // Cancelled: the dialog starts at the remembered file and nothing is sent.
        asked.clear();
        mark = server.mark();
        trigger(c.action);
        ASSERT_EQ(asked.size(), 1);
        EXPECT_EQ(asked[0].details, folder.path());
        EXPECT_EQ(requestsSince(mark), QStringList());
    }
}

TEST_F(SendActionsTest, AFileOfExactlyTheLimitIsSentAndOneByteMoreIsRefused)
{
    const QByteArray limit = messageFileOfSize(10000000);
    ASSERT_EQ(limit.size(), 10000000);
    ASSERT_NO_FATAL_FAILURE(writeAll(path("limit.pxrmsg"), limit));
    ASSERT_NO_FATAL_FAILURE(writeAll(path("over.pxrmsg"), limit + "\n"));

    send("actionSendSynchronousMessage", path("limit.pxrmsg"));
    const std::optional<fybsim::Received> got = server.waitForRoot(mark, "sendMe", 15s);
    ASSERT_TRUE(got.has_value());
    const std::optional<fybsim::WireMessage> written = fybsim::parseWire(limit.toStdString());
    ASSERT_TRUE(written && written->root);
    EXPECT_TRUE(got->message.root->content == written->root->content);
    EXPECT_EQ(boxes(), QList<Asked>());

    send("actionSendSynchronousMessage", path("over.pxrmsg"));
    EXPECT_EQ(boxes(), QList<Asked>({{"box", "Error", "File is too big", ""}}));
    EXPECT_EQ(requestsSince(mark), QStringList());
    EXPECT_EQ(QSettings().value("LastSynchronousMessage").toString(), path("limit.pxrmsg"));
}

TEST_F(SendActionsTest, FilesThatCannotBeReadAsAMessageAreRefusedAndNotRemembered)
{
    QSettings().setValue("LastAsynchronousMessage", "/earlier.pxrmsg");
    ASSERT_NO_FATAL_FAILURE(writeAll(path("text.pxrmsg"), "not a message"));
    ASSERT_NO_FATAL_FAILURE(writeAll(path("empty.pxrmsg"), ""));
    ASSERT_NO_FATAL_FAILURE(writeAll(path("cut.pxrmsg"), messageFile(Element("sendMe")).chopped(5)));
    ASSERT_TRUE(QDir().mkpath(path("folder.pxrmsg")));
    const struct
    {
        QString file, text;
    } cases[] = {
        {"text.pxrmsg", "Invalid file"},
        {"empty.pxrmsg", "Invalid file"},
        {"cut.pxrmsg", "Invalid file"},
        {"folder.pxrmsg", "Unable to open file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        asked.clear();
        send("actionSendAsynchronousMessage", path(c.file));
        EXPECT_EQ(boxes(), QList<Asked>({{"box", "Error", c.text, ""}}));
        EXPECT_EQ(QSettings().value("LastAsynchronousMessage").toString(), "/earlier.pxrmsg");
    }
    // A later message on the asynchronous connection shows that none of them went out.
    ASSERT_NO_FATAL_FAILURE(writeAll(path("good.pxrmsg"), messageFile(Element("marker"))));
    const fybsim::FybSensor::Mark before = server.mark();
    send("actionSendAsynchronousMessage", path("good.pxrmsg"));
    const std::optional<fybsim::Received> marker = server.waitForRoot(before, "marker", 15s);
    ASSERT_TRUE(marker.has_value());
    EXPECT_EQ(requestsSince(before), QStringList({"marker"}));
}

TEST_F(SendActionsTest, SendsThatFailAreReported)
{
    ASSERT_NO_FATAL_FAILURE(writeAll(path("message.pxrmsg"), messageFile(Element("sendMe"))));
    server.setReply("sendMe", Reply::close());
    send("actionSendSynchronousMessage", path("message.pxrmsg"));
    EXPECT_EQ(boxes(), QList<Asked>({{"box", "Error", "No answer received", ""}}));

    asked.clear();
    ASSERT_TRUE(server.setListening(false));
    server.dropConnections();
    ASSERT_TRUE(waitLong([] { return !Model::instance()->masterSensor().isConnected(); }));
    send("actionSendAsynchronousMessage", path("message.pxrmsg"));
    EXPECT_EQ(boxes(), QList<Asked>({{"box", "Error", "Unable to send the message", "Not connected"}}));
}

} // namespace
