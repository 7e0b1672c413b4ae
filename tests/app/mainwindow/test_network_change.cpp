// The change of the sensor's network through the real window: an accepted new port ends in the
// reconnect message on the connect page; a refused or unanswered one, then Cancel, leaves the
// window following drops and running its periodic work.
#include "CommandTestSupport.h"
#include "RecognitionTestSupport.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using fybsim::Element;

Element networkConfig()
{
    return Element("config").add(
        Element("network")
            .add(Element("interface")
                     .set("dhcp", "0")
                     .set("ipAddress", "127.0.0.1")
                     .set("ipMask", "255.0.0.0")
                     .set("ipGateway", ""))
            .add(Element("fyb").set("port", "10001").set("portSsl", "12001")));
}

class NetworkChangeTest : public CommandTest
{
protected:
    void connectWithNetwork()
    {
        sensor = std::make_unique<fybsim::FybSensor>();
        prepare(*sensor);
        sensor->setConfig(networkConfig());
        setProgramArguments({QStringLiteral("127.0.0.1:%1").arg(sensor->port())});
        startWindow();
        ASSERT_TRUE(window->isConnectedLook());
        waitForInfos();
        ASSERT_TRUE(waitLong([] {
            return PXRMsgElementFirstChild(PXRMsgChild(Model::instance()->config()), "network") != nullptr;
        }));
    }

    // The operator's part in the network dialog: a new FYB port, OK, then Cancel when the
    // dialog is still open.
    void changePortThenCancel()
    {
        answers.push_back([](QDialog *dialog) {
            dialog->findChild<QSpinBox *>("spinFYBPort")->setValue(10002);
            dialog->findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
            if (dialog->result() != QDialog::Accepted)
                dialog->reject();
            return dialog->result();
        });
        seen.clear();
        window->openDialog(QStringLiteral("network"));
    }
};

TEST_F(NetworkChangeTest, AnAcceptedNewPortEndsInTheReconnectMessage)
{
    ASSERT_NO_FATAL_FAILURE(connectWithNetwork());
    sensor->restartAfterAnswering("setConfig", 100ms);
    const fybsim::FybSensor::Mark mark = sensor->mark();
    changePortThenCancel();
    const std::optional<fybsim::Received> sent = sensor->waitForRoot(mark, "setConfig", 15s);
    ASSERT_TRUE(sent.has_value());
    const Element *fyb = sent->message.root->child("config")->child("network")->child("fyb");
    ASSERT_NE(fyb, nullptr);
    EXPECT_EQ(*fyb->attribute("port"), "10002");
    EXPECT_FALSE(window->isConnectedLook());
    EXPECT_EQ(master().handle(), nullptr);
    ASSERT_EQ(kinds(), QStringList({"DialogNetworkSettings", "QMessageBox"}));
    EXPECT_EQ(seen[1].text, "The sensor now uses a new network configuration.\nYou need to reconnect.");
}

struct RefusalCase
{
    const char *name;
    fybsim::Reply reply;
};

TEST_F(NetworkChangeTest, ARefusedOrUnansweredChangeThenCancelLeavesTheWindowFollowingDrops)
{
    const RefusalCase cases[] = {
        {"refused", fybsim::Reply::failed("port in use")},
        {"unanswered", fybsim::Reply::close()},
    };
    for (const RefusalCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(connectWithNetwork());
        sensor->setReply("setConfig", c.reply);
        changePortThenCancel();
        ASSERT_EQ(kinds().value(0), "DialogNetworkSettings");
        EXPECT_EQ(kinds().value(1), "QMessageBox");
        EXPECT_TRUE(window->isConnectedLook());
        sensor->setReply("setConfig", fybsim::Reply::ok());
        ASSERT_TRUE(waitLong([] { return master().isConnected(); }));

        // A drop now is followed: the handshake runs again on the next connection.
        const fybsim::FybSensor::Mark mark = sensor->mark();
        sensor->dropConnections();
        std::optional<fybsim::Received> schema;
        ASSERT_TRUE(waitLong([&] { return (schema = sensor->waitForRoot(mark, "getXSD", 0ms)).has_value(); }));
        EXPECT_GT(schema->connection, mark.accepted);

        // The periodic work runs: a group too old is purged within a tick.
        RecognitionManager &recognitions = Model::instance()->masterRecognitions();
        const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
        recognitions.setClock([old] { return old; });
        recognitions.onMessage(recotest::passage("new").get(), old);
        recognitions.setClock({});
        EXPECT_TRUE(waitLong([&] { return recognitions.groups().isEmpty(); }));
        recognitions.clear();
        window.reset();
    }
}

} // namespace
