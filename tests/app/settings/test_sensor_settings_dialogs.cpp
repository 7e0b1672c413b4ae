// What the device, database, I/O and lighting dialogs share: settings the sensor lacks leave
// nothing to send, the sensor's answer is judged under "Configuration", and the Edit links of
// the settings tree open them on the right unit.
#include "ConfigSections.h"

#include "WidgetSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

using namespace settingstest;
using fybsim::Element;
using fybsim::Reply;

Element lightingUnits()
{
    return element("lightings", {{"shutterSynchronization", "outOfPhase"}})
        .add(element("led", {{"id", "1"}, {"bracketing", "0"}}))
        .add(element("projector", {{"id", "2"}, {"enabled", "1"}, {"delay", "1600"}}))
        .add(element("led", {{"id", "4"}, {"bracketing", "1"}}));
}

// The configuration with every section these dialogs edit.
Element fullSet()
{
    return configWith("lightings", lightingUnits());
}

class SensorDialogsTest : public SettingsTest
{
protected:
    // The operator's part, once the dialog has loaded (the projector loads once shown).
    int openLoaded(const QString &tag, const Operator &act)
    {
        return open(tag, [act](QDialog &dialog) {
            dialog.show();
            EXPECT_TRUE(waitUntil([&] {
                auto *group = dialog.findChild<QGroupBox *>("groupBox");
                return group == nullptr || group->isEnabled()
                    || dialog.findChild<QLabel *>("labelMissingSettings") != nullptr;
            }));
            act(dialog);
        });
    }
};

TEST_F(SensorDialogsTest, SettingsTheSensorLacksDisableTheDialogWithANote)
{
    struct Case
    {
        const char *name;
        const char *tag;
        Element config;
    };
    const Case cases[] = {
        {"no device", "device", configWith("device", std::nullopt)},
        {"no database", "database", configWith("database", std::nullopt)},
        {"no io", "io", configWith("io", std::nullopt)},
        {"no lightings", "lightings", configWith("lightings", std::nullopt)},
        {"no synchronisation", "lightings", configWith("lightings", without(lightingUnits(), {"shutterSynchronization"}))},
        {"no such LED", "led=9:led", fullSet()},
        {"a projector's id as an LED", "led=2:led", fullSet()},
        {"no such projector", "projector=9:projector", fullSet()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(c.config));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openLoaded(c.tag, [](QDialog &dialog) {
            auto *note = dialog.findChild<QLabel *>("labelMissingSettings");
            ASSERT_NE(note, nullptr);
            EXPECT_EQ(note->text(), "The sensor does not have these settings.");
            EXPECT_FALSE(okButton(dialog)->isEnabled());
            for (QWidget *control : dialog.findChildren<QWidget *>()) {
                const QString name = control->objectName();
                if (name.startsWith("check") || name.startsWith("combo") || name.startsWith("cbo")
                    || name.startsWith("spin") || name.startsWith("txt") || name.startsWith("group")) {
                    EXPECT_FALSE(usable(control) && control->isVisibleTo(&dialog)) << name.toStdString();
                }
            }
            okButton(dialog)->click();
            dialog.reject();
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

TEST_F(SensorDialogsTest, TheSensorsAnswerIsJudgedAndOnlyASuccessCloses)
{
    struct Case
    {
        const char *name;
        Reply reply;
        int result;
        QStringList boxes; // title and text of each box shown
    };
    const Case cases[] = {
        {"ok", Reply::ok(), QDialog::Accepted, {}},
        {"failed", Reply::failed("refused"), QDialog::Rejected, {"Configuration", "Error : action failed"}},
        {"warning", Reply::warning({{"ignored", "config/device", "x.c:1"}}), QDialog::Accepted,
         {"Configuration", "Warning : some parts of the message have failed"}},
        {"no answer", Reply::close(), QDialog::Rejected, {"Configuration", "Error : no answer from equipment"}},
    };
    for (const Case &c : cases) {
        for (const char *tag : {"device", "database", "io", "lightings", "led=1:led", "projector=2:projector"}) {
            SCOPED_TRACE(testing::Message() << c.name << ' ' << tag);
            ASSERT_NO_FATAL_FAILURE(start(fullSet()));
            server.setReply("setConfig", c.reply);
            const fybsim::FybSensor::Mark mark = server.mark();
            bool keptOpen = false;
            const int result = openLoaded(tag, [&](QDialog &dialog) {
                okButton(dialog)->click();
                keptOpen = dialog.result() == 0 && dialog.isVisible();
                if (keptOpen)
                    dialog.reject();
            });
            EXPECT_EQ(result, c.result);
            EXPECT_EQ(keptOpen, c.result == QDialog::Rejected);
            EXPECT_EQ(requestsSince(mark).size(), 1u);
            QStringList boxes;
            for (std::size_t i = 1; i < seen.size(); ++i)
                boxes << seen[i].title << seen[i].text;
            EXPECT_EQ(boxes, c.boxes);
        }
    }
}

TEST_F(SensorDialogsTest, EditLinksOfTheSettingsTreeOpenTheDialogOnTheirUnit)
{
    ASSERT_NO_FATAL_FAILURE(start(fullSet()));
    sensor().setLocked(true);
    WidgetSettings page;
    page.reload();
    QObject::connect(&page, &WidgetSettings::openDialog, [this](const QString &tag) { dispatcher.dispatch(tag); });
    struct Case
    {
        QStringList path;
        const char *dialog;
        const char *title;
    };
    const QString led4 = model()->lightingLabel("led=4");
    const QString projector2 = model()->lightingLabel("projector=2");
    const Case cases[] = {
        {{"Device"}, "DialogDeviceSettings", "Device"},
        {{"Database"}, "DialogDatabaseSettings", "Database"},
        {{"IO"}, "DialogIOSettings", "IO"},
        {{"Lighting sources"}, "DialogLightingsSettings", "Lightings"},
        {{"Lighting sources", led4}, "DialogLedSettings", "LED Settings"},
        {{"Lighting sources", projector2}, "DialogProjectorSettings", "Projector"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dialog);
        QTreeWidgetItem *section = rowAt(*page.tree(), c.path);
        ASSERT_NE(section, nullptr) << dump(*page.tree()).join('\n').toStdString();
        QLabel *link = linkOf(*page.tree(), section);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(linkParts(*link).second, "Edit");
        QString opened;
        QString title;
        answers.push_back([&](QDialog *dialog) {
            opened = QString::fromLatin1(dialog->metaObject()->className());
            title = dialog->windowTitle();
            // Only the fourth LED has its bracketing on.
            if (auto *bracketing = dialog->findChild<QCheckBox *>("checkBracketing"); opened == "DialogLedSettings")
                EXPECT_TRUE(bracketing->isChecked());
            return int(QDialog::Rejected);
        });
        emit link->linkActivated(linkParts(*link).first);
        EXPECT_EQ(opened, c.dialog);
        EXPECT_EQ(title, c.title);
    }
    // The database's tag carries the last camera, which the dialog does not need.
    EXPECT_EQ(rowAt(*page.tree(), {"Database"})->data(0, WidgetGeneralSettings::TagRole).toString(), "1:database");
}

} // namespace
