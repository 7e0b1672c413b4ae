// The tags of the settings panels turned into dialogs and window actions: the split, the order of
// the keys, the arguments each dialog gets, and the actions that send requests themselves.
#include "CommandTestSupport.h"

#include "DialogDispatcher.h"
#include "NetworkChangeReport.h"

#include <QUrl>

#include <gtest/gtest.h>

namespace {

using fybsim::Element;
using fybsim::Reply;

TEST(DialogDispatcher, TagSplitsIntoIdAndKeyOnlyAtASingleColon)
{
    struct Case
    {
        const char *tag;
        const char *id;
        const char *key;
    };
    const Case cases[] = {
        {"anpr", "", "anpr"},           {"0:anpr", "0", "anpr"},         {"0:1:anpr", "", "0:1:anpr"},
        {":anpr", "", "anpr"},          {"0:", "0", ""},                 {"", "", ""},
        {"led=1:led", "led=1", "led"},  {"::", "", "::"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tag);
        QString id = QStringLiteral("stale");
        QString key;
        DialogDispatcher::splitTag(QString::fromUtf8(c.tag), &id, &key);
        EXPECT_EQ(id, QString::fromUtf8(c.id));
        EXPECT_EQ(key, QString::fromUtf8(c.key));
    }
}

TEST(DialogDispatcher, KeysAreTriedInTheirOrderAndComparedExactly)
{
    const QStringList expected = {
        "device", "network", "ftp", "nedapGenericBadge", "cameras", "stream", "recording_start",
        "save_video_buffer", "anpr", "dgpr", "classification", "enslavement", "autoExposure", "anprocr",
        "anprtrigger", "anpravar", "dgprtrigger", "dgprocr", "anprserial", "dgprserial", "speed", "database",
        "date_r", "projector", "led", "stillPicture", "areaOfInterest2", "io", "slaves", "lightings",
        "security-certificates", "security-plate", "security-lock", "security-8021X", "httpPush", "rvd",
        "moobyl", "SBFreeFlow", "amanoOne", "tiba", "mDNS", "modem-pin", "modem-apn", "pingTest"};
    QStringList keys;
    for (const DialogRoute &route : DialogDispatcher::routes())
        keys << QString::fromLatin1(route.key);
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(DialogDispatcher::route("Anpr"), nullptr);
    EXPECT_EQ(DialogDispatcher::route("anpr "), nullptr);
    EXPECT_EQ(DialogDispatcher::route("0:1:anpr"), nullptr);
}

// What a dialog factory was asked to build.
struct Built
{
    QString name;
    QString id;
    QString module;
    QWidget *parent;
};

class DialogDispatchTest : public CommandTest
{
protected:
    // The window registers the real dialogs when it is built: the fakes go in after it.
    void connectPlain()
    {
        ASSERT_NO_FATAL_FAILURE(CommandTest::connectPlain());
        for (const DialogRoute &route : DialogDispatcher::routes()) {
            if (route.action)
                continue;
            const QString name = QString::fromLatin1(route.target);
            registered << name;
            DialogFactories::add(name, [this, name](QWidget *parent, const DialogArgs &args) {
                built.push_back({name, args.id, args.module, parent});
                auto dialog = std::make_unique<QDialog>(parent);
                dialog->setWindowTitle(name);
                return dialog;
            });
        }
    }
    void TearDown() override
    {
        for (const QString &name : registered)
            DialogFactories::remove(name);
        CommandTest::TearDown();
    }

    QStringList registered;
    std::vector<Built> built;
};

TEST_F(DialogDispatchTest, EachTagReachesItsDialogWithItsArguments)
{
    connectPlain();
    struct Case
    {
        const char *tag;
        const char *name;
        const char *id;
        const char *module;
    };
    const Case cases[] = {
        {"0:anpr", "DialogANPRSettings", "0", ""},
        {"anpr", "DialogANPRSettings", "", ""},
        {"0:anprocr", "DialogOCRSettings", "0", "anpr"},
        {"0:dgprocr", "DialogOCRSettings", "0", "dgpr"},
        {"1:dgprserial", "DialogRS232Settings", "1", "dgpr"},
        {"led=1:led", "DialogLedSettings", "led=1", ""},
        {"3:device", "DialogDeviceSettings", "", ""}, // a dialog without id ignores the one given
        {"pingTest", "DialogTestPingSettings", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tag);
        built.clear();
        seen.clear();
        window->openDialog(QString::fromUtf8(c.tag));
        ASSERT_EQ(built.size(), 1u);
        EXPECT_EQ(built[0].name, c.name);
        EXPECT_EQ(built[0].id, c.id);
        EXPECT_EQ(built[0].module, c.module);
        EXPECT_EQ(built[0].parent, window.get());
        // The dialog was run modally.
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, c.name);
    }
}

// The href of an Edit link of the settings tree, and its route; nullptr when it has no dialog.
const DialogRoute *linkRoute(QLabel *label, QString *href, QString *id)
{
    const QString text = label->text();
    if (!text.startsWith(QStringLiteral("<a href='")))
        return nullptr;
    *href = text.mid(9, text.indexOf(QLatin1Char('\''), 9) - 9);
    QString key;
    DialogDispatcher::splitTag(QUrl::fromPercentEncoding(href->toLatin1()), id, &key);
    const DialogRoute *route = DialogDispatcher::route(key);
    return route != nullptr && !route->action ? route : nullptr;
}

TEST_F(DialogDispatchTest, AnEditLinkOfTheSettingsTreeReachesItsDialog)
{
    connectPlain();
    // The tree offers its Edit links on a sensor locked from here.
    window->on_actionSensorLock_triggered();
    auto *settings = window->findChild<QWidget *>("tabSettings");
    QString href;
    QString id;
    ASSERT_TRUE(waitLong([&] {
        for (QLabel *label : settings->findChildren<QLabel *>())
            if (linkRoute(label, &href, &id) != nullptr)
                return true;
        return false;
    }));
    int reached = 0;
    for (QLabel *label : settings->findChildren<QLabel *>()) {
        const DialogRoute *route = linkRoute(label, &href, &id);
        if (route == nullptr)
            continue;
        SCOPED_TRACE(href.toStdString());
        built.clear();
        emit label->linkActivated(href);
        ASSERT_EQ(built.size(), 1u);
        EXPECT_EQ(built[0].name, route->target);
        EXPECT_EQ(built[0].id, route->takesId ? id : QString());
        ++reached;
    }
    EXPECT_GT(reached, 0);
}

class FakeNetworkDialog : public QDialog, public NetworkChangeReport
{
public:
    FakeNetworkDialog(QWidget *parent, bool changed) : QDialog(parent), m_changed(changed) {}
    bool networkChanged() const override { return m_changed; }
    bool disconnectPrepared() const override { return m_changed; }

private:
    bool m_changed;
};

TEST_F(DialogDispatchTest, NetworkDialogDisconnectsOnlyWhenAcceptedWithANewAddress)
{
    struct Case
    {
        bool changed;
        int result;
        bool disconnects;
    };
    const Case cases[] = {
        {false, QDialog::Accepted, false},
        {true, QDialog::Rejected, false},
        {true, QDialog::Accepted, true},
    };
    connectPlain();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.changed ? "changed" : "unchanged");
        SCOPED_TRACE(c.result);
        DialogFactories::add(QStringLiteral("DialogNetworkSettings"), [&c](QWidget *parent, const DialogArgs &) {
            return std::make_unique<FakeNetworkDialog>(parent, c.changed);
        });
        seen.clear();
        answers = {[&c](QDialog *) { return c.result; }};
        window->openDialog(QStringLiteral("network"));
        EXPECT_EQ(window->isConnectedLook(), !c.disconnects);
        if (c.disconnects) {
            ASSERT_EQ(kinds(), QStringList({"QDialog", "QMessageBox"}));
            EXPECT_EQ(seen[1].text, "The sensor now uses a new network configuration.\nYou need to reconnect.");
        } else {
            EXPECT_EQ(seen.size(), 1u);
        }
    }
}

TEST_F(DialogDispatchTest, UnknownAndMalformedTagsDoNothing)
{
    connectPlain();
    const fybsim::FybSensor::Mark mark = sensor->mark();
    seen.clear();
    for (const char *tag : {"0:1:anpr", "ANPR", "0:Anpr", "unknown", "", ":", "0:anpr:"})
        window->openDialog(QString::fromUtf8(tag));
    EXPECT_TRUE(built.empty());
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(rootsSince(mark).isEmpty());
}

TEST_F(DialogDispatchTest, ADialogNotAvailableYetWritesOneLogLine)
{
    connectPlain();
    DialogFactories::remove(QStringLiteral("DialogSpeedSettings"));
    seen.clear();
    const LogMark log;
    window->openDialog(QStringLiteral("0:speed"));
    EXPECT_TRUE(built.empty());
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(log.linesWith(QStringLiteral("DialogSpeedSettings")).size(), 1);
}

TEST_F(DialogDispatchTest, SimKeysAskAndSendTheirValueEvenEmpty)
{
    connectPlain();
    sensor->setReply("setSimConfig", Reply::ok());
    struct Case
    {
        const char *tag;
        const char *attribute;
        QString typed;
        QLineEdit::EchoMode echo;
        const char *label;
    };
    const Case cases[] = {
        {"modem-pin", "pin", QString(), QLineEdit::Password, "PIN (leave empty to remove current PIN)"},
        {"modem-pin", "pin", QStringLiteral("1234"), QLineEdit::Password, "PIN (leave empty to remove current PIN)"},
        {"modem-apn", "apn", QStringLiteral("internet.op\u00e9rateur"), QLineEdit::Normal,
         "APN (leave empty to remove current APN)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tag);
        const fybsim::FybSensor::Mark mark = sensor->mark();
        seen.clear();
        answers = {[&c](QDialog *dialog) {
            auto *input = static_cast<QInputDialog *>(dialog);
            EXPECT_EQ(input->textEchoMode(), c.echo);
            EXPECT_TRUE(input->textValue().isEmpty());
            input->setTextValue(c.typed);
            return int(QDialog::Accepted);
        }};
        window->openDialog(QString::fromUtf8(c.tag));
        EXPECT_EQ(texts(), QStringList({c.label}));
        const std::vector<fybsim::Received> sent = requestsSince(mark);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].rootName(), "setSimConfig");
        ASSERT_NE(sent[0].attribute(c.attribute), nullptr);
        EXPECT_EQ(QString::fromStdString(*sent[0].attribute(c.attribute)), c.typed);
    }
    // Cancelled: nothing goes out.
    const fybsim::FybSensor::Mark mark = sensor->mark();
    answers = {cancel()};
    window->openDialog(QStringLiteral("modem-pin"));
    EXPECT_TRUE(rootsSince(mark).isEmpty());
    // A refusal is reported by the answer check.
    sensor->setReply("setSimConfig", Reply::failed("bad pin"));
    seen.clear();
    answers = {typeText(QStringLiteral("0000"))};
    window->openDialog(QStringLiteral("modem-pin"));
    EXPECT_EQ(kinds(), QStringList({"QInputDialog", "QMessageBox"}));
}

TEST_F(DialogDispatchTest, DateKeyMeasuresTheSensorClockAgain)
{
    connectPlain();
    const fybsim::FybSensor::Mark mark = sensor->mark();
    window->openDialog(QStringLiteral("date_r"));
    const std::vector<fybsim::Received> all = sensor->received();
    bool asked = false;
    for (std::size_t i = mark.received; i < all.size(); ++i)
        asked = asked || all[i].rootName() == "getDate";
    EXPECT_TRUE(asked);
}

} // namespace
