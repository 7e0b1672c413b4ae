// The camera synchronisation, auto exposure, enslavement and AVAR dialogs together: opened from
// the camera panel's links for the panel's camera, and the sensor's answer judged as the request
// path judges it under each dialog's title.
#include "SettingsTestSupport.h"

#include "WidgetCameraSettings.h"

#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

using namespace settingstest;
using fybsim::Element;
using fybsim::Reply;

Element exposure(const char *on)
{
    return element("autoExposure", {{"shutterPriority", on}, {"switchType", "auto"}, {"reactionSpeed", "slow"}});
}

Element enslavement(const char *mode)
{
    return element("enslavement", {{"enabled", "1"}, {"mode", mode}, {"switchType", "manual"}});
}

Element avar()
{
    return Element("anpr").add(element("avar", {{"enabled", "1"}, {"timeout_ms", "500"}})
                                   .add(Element("sensors").add(element("sensor0", {{"address", "10.0.0.2"}}))));
}

// The full information with a second camera.
Element infosWithTwoCameras()
{
    Element infos = panelsfixture::fullInfos();
    for (Element &section : infos.children)
        if (section.name == "cameras")
            section.add(element("camera", {{"id", "1"}, {"cameraModel", "IMX-2"}}));
    return infos;
}

struct LinkCase
{
    const char *name;
    Element first;   // camera "0"'s feature
    Element second;  // camera "1"'s feature, whose link is followed
    const char *dialog;
    Element sent;
};

TEST_F(SettingsTest, CameraPanelLinksOpenTheDialogOfThePanelsCamera)
{
    const LinkCase cases[] = {
        {"enslavement", enslavement("freeFlow"), enslavement("queue"), "DialogEnslavementSettings",
         cameraRequest("1", "enslavement", {{"enabled", "1"}, {"mode", "queue"}, {"switchType", "manual"}})},
        {"auto exposure", exposure("0"), exposure("1"), "DialogAutoExposureSettings",
         cameraRequest("1", "autoExposure",
                       {{"shutterPriority", "1"}, {"switchType", "auto"}, {"reactionSpeed", "slow"}})},
    };
    for (const LinkCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(
            start(configWithCameras({camera("0", {c.first}), camera("1", {c.second})}), infosWithTwoCameras()));
        WidgetCameraSettings panel;
        QObject::connect(&panel, &WidgetCameraSettings::openDialog, &panel,
                         [this](const QString &tag) { dispatcher.dispatch(tag); });
        panel.fillCameras();
        auto *cameras = panel.findChild<QComboBox *>("cboCamera");
        cameras->setCurrentIndex(cameras->findData("1"));
        panel.loadConfig();
        auto *link = panel.findChild<QLabel *>("labelEnslavementSettings");
        ASSERT_NE(link, nullptr);
        ASSERT_FALSE(link->isHidden());

        QString opened;
        answers.push_back([&opened](QDialog *dialog) {
            opened = QString::fromLatin1(dialog->metaObject()->className());
            okButton(*dialog)->click();
            return dialog->result();
        });
        QSignalSpy pushed(model(), &Model::signalConfigReceived);
        const fybsim::FybSensor::Mark mark = server.mark();
        emit link->linkActivated(linkParts(*link).first);
        EXPECT_EQ(opened, c.dialog);
        expectRequest(mark, c.sent);
        EXPECT_TRUE(waitUntil([&] { return pushed.count() > 0; }));
    }
}

struct AnswerCase
{
    const char *name;
    Reply reply;
    int result;
    QStringList box;  // title and text of the box shown, after the dialog's title
};

TEST_F(SettingsTest, CameraOptionAnswersAreJudgedAndOnlyASuccessCloses)
{
    const AnswerCase cases[] = {
        {"ok", Reply::ok(), QDialog::Accepted, {}},
        {"failed", Reply::failed("bad value"), QDialog::Rejected, {"Error : action failed"}},
        {"warning", Reply::warning({{"ignored", "config/cameras/camera", "x.c:1"}}), QDialog::Accepted,
         {"Warning : some parts of the message have failed"}},
        {"no answer", Reply::close(), QDialog::Rejected, {"Error : no answer from equipment"}},
    };
    const std::pair<const char *, const char *> dialogs[] = {
        {"cameras", "Configuration"},
        {"1:autoExposure", "Configuration"},
        {"1:enslavement", "Configuration"},
        {"1:anpravar", "Set configuration"},
    };
    Element config = configWithCameras({camera("0", {}), camera("1", {exposure("1"), enslavement("queue"), avar()})});
    for (Element &section : config.children)
        if (section.name == "cameras")
            section.set("cameraSynchro", "1");
    for (const AnswerCase &c : cases) {
        for (const auto &[tag, title] : dialogs) {
            SCOPED_TRACE(testing::Message() << c.name << ' ' << tag);
            ASSERT_NO_FATAL_FAILURE(start(config));
            server.setReply("setConfig", c.reply);
            const fybsim::FybSensor::Mark mark = server.mark();
            EXPECT_EQ(openAndOk(QString::fromLatin1(tag)), c.result);
            EXPECT_EQ(requestsSince(mark).size(), 1u);
            QStringList boxes;
            for (std::size_t i = 1; i < seen.size(); ++i)
                boxes << seen[i].title << seen[i].text;
            EXPECT_EQ(boxes, c.box.isEmpty() ? QStringList() : QStringList{QString::fromLatin1(title)} + c.box);
        }
    }
}

} // namespace
