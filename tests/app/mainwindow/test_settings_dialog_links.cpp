// The settings dialogs reached from the window as the operator reaches them: the Edit link of a
// camera's ANPR section opens the real dialog for that camera, documentation first.
#include "CommandTestSupport.h"

#include "DialogANPRSettings.h"
#include "DialogDoc.h"

#include <QLineEdit>
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
