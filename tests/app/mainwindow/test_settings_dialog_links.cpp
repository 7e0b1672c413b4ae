// The settings dialogs reached from the window as the operator reaches them: the Edit link of a
// camera's ANPR section opens the real dialog for that camera, documentation first.
#include "CommandTestSupport.h"

#include "DialogANPRSettings.h"
#include "DialogDoc.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

using fybsim::Element;

class SettingsLinkTest : public CommandTest
{
protected:
    // The window connected to a sensor whose camera "1" reads plates, with the dialogs' schema.
    void connectWithCamera()
    {
        sensor = std::make_unique<fybsim::FybSensor>();
        prepare(*sensor);
        QFile schema(QStringLiteral(BZK_SIM_DATA_DIR "/settings-dialogs.xsd"));
        ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
        sensor->setReply("getXSD",
                         fybsim::Reply::message(Element("xsd").withContent(schema.readAll().toStdString())));
        sensor->setConfig(Element("config").add(Element("cameras").add(
            Element("camera").set("id", "1").add(Element("anpr").set("context", "F>OTHERS").set("counting", "0")))));
        setProgramArguments({QStringLiteral("127.0.0.1:%1").arg(sensor->port())});
        startWindow();
        ASSERT_TRUE(window->isConnectedLook());
        waitForInfos();
    }

    // The Edit link whose tag is the one given, once the locked sensor's tree offers it.
    QLabel *editLink(const QString &tag)
    {
        auto *settings = window->findChild<QWidget *>("tabSettings");
        QLabel *found = nullptr;
        waitLong([&] {
            for (QLabel *label : settings->findChildren<QLabel *>())
                if (QUrl::fromPercentEncoding(label->text().toLatin1()).contains(QStringLiteral("href='%1'").arg(tag)))
                    found = label;
            return found != nullptr;
        });
        return found;
    }
};

} // namespace

TEST_F(SettingsLinkTest, TheAnprEditLinkOpensTheCamerasDialogWithItsDocumentationFirst)
{
    connectWithCamera();
    window->on_actionSensorLock_triggered();
    QLabel *link = editLink(QStringLiteral("1:anpr"));
    ASSERT_NE(link, nullptr);

    QString context;
    bool documented = false;
    answers.push_back([&](QDialog *dialog) {
        auto *anpr = qobject_cast<DialogANPRSettings *>(dialog);
        if (anpr == nullptr)
            return int(QDialog::Rejected);
        context = anpr->findChild<QLineEdit *>("txtContext")->text();
        documented = anpr->documentationPanel() != nullptr && anpr->documentationPanel()->isVisible();
        return int(QDialog::Rejected);
    });
    const fybsim::FybSensor::Mark mark = sensor->mark();
    const QString text = link->text();
    const qsizetype start = text.indexOf(QLatin1String("href='")) + 6;
    emit link->linkActivated(text.mid(start, text.indexOf(QLatin1Char('\''), start) - start));
    EXPECT_EQ(kinds(), QStringList{"DialogANPRSettings"});
    EXPECT_EQ(context, "F>OTHERS");
    EXPECT_TRUE(documented);
    EXPECT_EQ(rootsSince(mark), QStringList());
}

namespace {

// The network family's sections of the settings tree: the outside-system protocols, multicast
// DNS, the RVD service and the modem's ping test.
class NetworkSettingsLinkTest : public SettingsLinkTest
{
protected:
    void connectWithServices()
    {
        sensor = std::make_unique<fybsim::FybSensor>();
        prepare(*sensor);
        Element protocols("protocols");
        protocols.add(Element("nedapGenericBadge").set("enabled", "1").set("address", "10.2.2.2"))
            .add(Element("moobyl").set("enabled", "1").set("zone", "north"))
            .add(Element("SBFreeFlow").set("enabled", "0").set("url", "https://sb.example/"))
            .add(Element("amanoOne").set("enabled", "1").set("url", "https://amano.example/"))
            .add(Element("tiba").set("enabled", "1").set("url", "https://tiba.example/").set("laneId", "7"));
        sensor->setConfig(
            Element("config")
                .add(Element("modem").add(Element("pingTest").set("enabled", "1").set("address", "8.8.8.8")))
                .add(Element("network").add(Element("mDNS").set("enable", "1").set("hostname", "gate4")).add(protocols))
                .add(Element("services").add(Element("rvd").set("enabled", "1").set("address", "").set("zone", "eu"))));
        setProgramArguments({QStringLiteral("127.0.0.1:%1").arg(sensor->port())});
        startWindow();
        ASSERT_TRUE(window->isConnectedLook());
        waitForInfos();
    }
};

} // namespace

TEST_F(NetworkSettingsLinkTest, TheProtocolAndServiceEditLinksOpenTheirDialogs)
{
    connectWithServices();
    window->on_actionSensorLock_triggered();
    const std::pair<const char *, const char *> links[] = {
        {"tiba", "DialogTibaSettings"},
        {"amanoOne", "DialogAmanoOneSettings"},
        {"SBFreeFlow", "DialogSBFreeFlowSettings"},
        {"nedapGenericBadge", "DialogNedapSettings"},
        {"moobyl", "DialogMoobylSettings"},
        {"rvd", "DialogRVDSettings"},
        {"mDNS", "DialogMulticastDNSSettings"},
        {"pingTest", "DialogTestPingSettings"},
    };
    for (const auto &[tag, dialog] : links) {
        SCOPED_TRACE(tag);
        QLabel *link = editLink(QString::fromLatin1(tag));
        ASSERT_NE(link, nullptr);
        bool filled = false;
        answers.push_back([&filled](QDialog *opened) {
            // The dialog read the sensor's element: OK is offered.
            auto *box = opened->findChild<QDialogButtonBox *>("buttonBox");
            filled = box != nullptr && box->button(QDialogButtonBox::Ok)->isEnabled();
            return int(QDialog::Rejected);
        });
        seen.clear();
        const fybsim::FybSensor::Mark mark = sensor->mark();
        const QString text = link->text();
        const qsizetype start = text.indexOf(QLatin1String("href='")) + 6;
        emit link->linkActivated(text.mid(start, text.indexOf(QLatin1Char('\''), start) - start));
        EXPECT_EQ(kinds(), QStringList{QString::fromLatin1(dialog)});
        EXPECT_TRUE(filled);
        EXPECT_EQ(rootsSince(mark), QStringList());
    }
}
