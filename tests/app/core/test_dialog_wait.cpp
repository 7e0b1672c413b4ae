// The wait dialog: its two looks, the TLS problem lines, Ignore and Cancel pressed in its real
// modal loop against a TLS test sensor with a self-signed certificate, and close requests.
#include "DialogWait.h"
#include "SensorTestSupport.h"
#include "TestPictures.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

using fybsim::FybSensor;

const char *const kHeading = "Unable to connect : SSL errors";

QString labelText(QWidget &dialog, const char *name)
{
    return dialog.findChild<QLabel *>(name)->text();
}

bool shown(QWidget &dialog, const char *name)
{
    return !dialog.findChild<QWidget *>(name)->isHidden();
}

class DialogWaitTest : public SensorTest
{
protected:
    // Runs the dialog's real modal loop; the step is called every 20 ms until it returns true,
    // and the dialog is rejected if nothing ends it within ten seconds.
    void answerWith(std::function<bool(DialogWait &)> step)
    {
        ZyModalRunner::setHandler([this, step](QDialog *shownDialog) {
            auto *dialog = qobject_cast<DialogWait *>(shownDialog);
            EXPECT_NE(dialog, nullptr);
            ++runs;
            QTimer poll;
            bool done = false;
            QObject::connect(&poll, &QTimer::timeout, dialog, [&] { done = done || step(*dialog); });
            poll.start(20);
            QTimer::singleShot(10000, dialog, [&, dialog] {
                timedOut = true;
                dialog->reject();
            });
            return dialog->exec();
        });
    }

    void connectSecured(FybSensor &server)
    {
        ASSERT_TRUE(sensor->connect("127.0.0.1", server.port(), {}, true, false, false, {}, {}));
    }

    int runs = 0;
    bool timedOut = false;
};

TEST(DialogWaitLines, EveryProblemBitHasItsLineInBitOrder)
{
    const struct
    {
        quint32 bits;
        QStringList lines;
    } cases[] = {
        {0x02 | 0x40, {"Certificate is not yet valid", "Invalid Certificate Authority"}},
        {0x01 | 0x04 | 0x08 | 0x10 | 0x20,
         {"Unable to get Certificate revocation list (CRL)", "Certificate has expired",
          "One certification in the certification chain is auto signed", "Certification chain is too long",
          "Certificate has been revoked"}},
        {0x80, {"Certificate was not issued for this address"}},
        {0x100, {"Certificate could not be verified"}},
        {0x400, {"Certificate could not be verified"}},
        {0x08 | 0x100 | 0x800, {"One certification in the certification chain is auto signed",
                                "Certificate could not be verified"}},
    };
    for (const auto &c : cases) {
        QString expected = kHeading;
        for (const QString &line : c.lines)
            expected += "\n   " + line;
        EXPECT_EQ(DialogWait::sslErrorText(c.bits), expected) << std::hex << c.bits;
    }
}

TEST_F(DialogWaitTest, ConnectedSensorNeedsNoWait)
{
    FybSensor server;
    connectTo(server);
    answerWith([](DialogWait &) { return true; });
    DialogWait dialog;
    EXPECT_EQ(dialog.execConnecting(sensor.get()), 1);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DialogWaitTest, WaitingLookOffersCancelAndIgnoresCloseRequests)
{
    FybSensor server;
    ASSERT_TRUE(server.setListening(false));
    ASSERT_TRUE(sensor->connect("127.0.0.1", server.port(), {}, false, false, false, {}, {}));
    QWidget window;
    window.setWindowTitle("BZK - 127.0.0.1");
    DialogWait dialog(&window);
    EXPECT_EQ(dialog.windowTitle(), QString("BZK"));
    EXPECT_EQ(dialog.size(), QSize(381, 175));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    bool closed = true;
    answerWith([&](DialogWait &shownDialog) {
        closed = shownDialog.close();
        keepPicture(shownDialog, "DialogWait-connecting");
        shownDialog.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
        return true;
    });
    EXPECT_EQ(dialog.execConnecting(sensor.get()), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_FALSE(closed) << "a close request from outside is ignored";
    EXPECT_EQ(dialog.windowTitle(), QString("BZK - 127.0.0.1"));
    EXPECT_EQ(labelText(dialog, "labelMessage"), QString("Connecting to sensor 127.0.0.1:%1.").arg(server.port()));
    EXPECT_EQ(labelText(dialog, "labelPleaseWait"), QString("Please wait..."));
    EXPECT_TRUE(shown(dialog, "progressBar"));
    EXPECT_TRUE(shown(dialog, "buttonBox"));
    EXPECT_TRUE(shown(dialog, "lineBeforeButtonBox"));
    EXPECT_FALSE(shown(dialog, "btnIgnoreSSLErrors"));
}

TEST_F(DialogWaitTest, TlsProblemsAreListedAndIgnoringThemLetsTheConnectionThrough)
{
    FybSensor server(fybsim::TlsIdentity::selfSigned());
    connectSecured(server);
    std::atomic_int losses = 0;
    const auto receiver = onSignal(sensor.get(), &Sensor::signalDisconnected, [&] { ++losses; });
    DialogWait dialog;
    QString problems;
    int ticksInProblemLook = 0;
    bool ignored = false;
    answerWith([&](DialogWait &shownDialog) {
        if (ignored || !shown(shownDialog, "btnIgnoreSSLErrors"))
            return false;
        // Refreshed at each tick while the problems stand: seen twice before the press.
        if (++ticksInProblemLook < 2)
            return false;
        problems = labelText(shownDialog, "labelMessage");
        EXPECT_FALSE(shown(shownDialog, "labelPleaseWait"));
        EXPECT_FALSE(shown(shownDialog, "progressBar"));
        keepPicture(shownDialog, "DialogWait-ssl");
        shownDialog.findChild<QPushButton *>("btnIgnoreSSLErrors")->click();
        ignored = true;
        EXPECT_TRUE(shown(shownDialog, "labelPleaseWait"));
        EXPECT_TRUE(shown(shownDialog, "progressBar"));
        EXPECT_TRUE(shown(shownDialog, "buttonBox"));
        EXPECT_FALSE(shown(shownDialog, "btnIgnoreSSLErrors"));
        return true;
    });
    EXPECT_EQ(dialog.execConnecting(sensor.get()), 1) << "closes by itself once connected";
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(sensor->isConnected());
    EXPECT_EQ(PXRGetIgnoreSSLErrors(sensor->handle()), PXR_SSL_ERROR_ALL);
    EXPECT_TRUE(problems.startsWith(kHeading));
    EXPECT_TRUE(problems.contains("\n   One certification in the certification chain is auto signed")) << problems.toStdString();
    EXPECT_EQ(labelText(dialog, "labelMessage"), problems) << "the problems stay until the dialog closes";
    QCoreApplication::processEvents();
    EXPECT_EQ(losses, 0) << "refused handshakes are no lost connection";
}

TEST_F(DialogWaitTest, CancelInTheProblemLookEndsTheWait)
{
    FybSensor server(fybsim::TlsIdentity::selfSigned());
    connectSecured(server);
    DialogWait dialog;
    answerWith([&](DialogWait &shownDialog) {
        if (!shown(shownDialog, "btnIgnoreSSLErrors"))
            return false;
        shownDialog.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
        return true;
    });
    EXPECT_EQ(dialog.execConnecting(sensor.get()), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_FALSE(sensor->isConnected());
    EXPECT_NE(PXRGetIgnoreSSLErrors(sensor->handle()), PXR_SSL_ERROR_ALL);
}

TEST_F(DialogWaitTest, RequestLookShowsOnlyTheMessageAndTheBusyBar)
{
    DialogWait dialog;
    dialog.showSendingRequest();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(labelText(dialog, "labelMessage"), QString("Sending request, please wait..."));
    EXPECT_TRUE(shown(dialog, "labelPleaseWait"));
    EXPECT_TRUE(shown(dialog, "progressBar"));
    EXPECT_FALSE(shown(dialog, "buttonBox"));
    EXPECT_FALSE(shown(dialog, "lineBeforeButtonBox"));
    EXPECT_FALSE(shown(dialog, "btnIgnoreSSLErrors"));
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    keepPicture(dialog, "DialogWait-request");
}

} // namespace
