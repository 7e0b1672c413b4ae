// The menu commands of the window against the test sensor: the request each one sends, how its
// answer is dealt with, the questions and inputs before sending, the triggers filed as
// recognitions, and the lock with its password dialog.
#include "CommandTestSupport.h"

#include "DialogLockPassword.h"
#include "RecognitionManager.h"
#include "ZySwitchButton.h"

#include <QDockWidget>
#include <QLineEdit>
#include <QSettings>

#include <optional>

namespace {

using fybsim::Element;
using fybsim::Reply;

struct ShownCase
{
    const char *action;
    const char *requestRoot;
    Reply reply;
    QStringList kinds; // the dialogs that follow, in order
    QStringList texts;
};

class SensorCommandTest : public CommandTest
{
protected:
    // Locks the sensor through the window (the test sensor accepts), which enables the commands
    // that change it.
    void lockFromWindow()
    {
        window->on_actionSensorLock_triggered();
        ASSERT_TRUE(master().isLocked());
    }
    static bool hasTriggerGroup(qint32 triggerId)
    {
        for (const RecognitionGroup &group : Model::instance()->masterRecognitions().groups())
            if (group.isTriggered() && group.triggerId() == triggerId)
                return true;
        return false;
    }
};

TEST_F(SensorCommandTest, EachCommandSendsItsRequestAndShowsOrChecksTheAnswer)
{
    connectPlain();
    lockFromWindow();
    const Reply log = Reply::message(Element("currentLog").set("text", "boot"));
    const ShownCase cases[] = {
        {"actionGet_current_log", "getCurrentLog", log, {"DlgMsg"}, {""}},
        {"actionOpenBarrier", "openBarrier", Reply::ok(), {"DlgMsg"}, {""}},
        {"actionRecalibrateOptics", "calibrateZoomFocus", Reply::failed("busy"), {"DlgMsg"}, {""}},
        {"actionResetCounters", "resetCounters", Reply::ok(), {}, {}},
        {"actionResetCounters", "resetCounters", Reply::failed("no"), {"QMessageBox"}, {}},
        {"actionSensorReboot", "reboot", Reply::ok(), {"QMessageBox"}, {"Do you want to reboot this sensor ?"}},
        {"actionSensorReboot",
         "reboot",
         Reply::failed("no"),
         {"QMessageBox", "QMessageBox", "QMessageBox"},
         {"Do you want to reboot this sensor ?", "", "Unable to reboot"}},
        {"actionForbidSetConfig", "forbidSetConfig", Reply::ok(), {}, {}},
        {"actionForbidSetConfig",
         "forbidSetConfig",
         Reply::failed("no"),
         {"QMessageBox", "QMessageBox"},
         {"", "Unable to change config modifications status"}},
    };
    for (const ShownCase &c : cases) {
        SCOPED_TRACE(c.action);
        sensor->setReply(c.requestRoot, c.reply);
        const fybsim::FybSensor::Mark mark = sensor->mark();
        run(c.action);
        EXPECT_EQ(rootsSince(mark), QStringList{c.requestRoot});
        EXPECT_EQ(kinds(), c.kinds);
        for (int i = 0; i < c.texts.size() && i < int(seen.size()); ++i) {
            if (!c.texts[i].isEmpty()) {
                EXPECT_EQ(seen[i].text, c.texts[i]);
            }
        }
        // A viewer shows the answer without a comment.
        if (!seen.empty() && seen[0].kind == "DlgMsg") {
            EXPECT_TRUE(seen[0].text.isEmpty());
        }
    }
}

TEST_F(SensorCommandTest, QuestionsAndInputsAnsweredNoOrCancelledSendNothing)
{
    connectPlain();
    lockFromWindow();
    struct Case
    {
        const char *action;
        std::vector<Answer> answers;
    };
    const Case cases[] = {
        {"actionSensorReboot", {press(QMessageBox::No)}},
        {"actionTestNTP", {cancel()}},
        {"actionTestNTP", {typeText("")}},
        {"actionUpdate_firmware_from_URL", {cancel()}},
        {"actionTrigger_timeout", {cancel()}},
        {"actionTrigger_on_advanced", {cancel()}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        answers.assign(c.answers.begin(), c.answers.end());
        const fybsim::FybSensor::Mark mark = sensor->mark();
        run(c.action);
        EXPECT_TRUE(answers.empty()) << "every scripted dialog came";
        EXPECT_TRUE(rootsSince(mark).isEmpty()) << rootsSince(mark).join(',').toStdString();
    }
    EXPECT_FALSE(QSettings().contains("TestNTPAddress")) << "a cancelled input stores nothing";
}

TEST_F(SensorCommandTest, ForbiddenConfigurationChangesAreAllowedOnlyAfterTheWarning)
{
    Element infos = defaultInfos();
    infos.children[0].set("setConfigForbidden", "true");
    connectPlain(infos);
    lockFromWindow();
    ASSERT_TRUE(Model::instance()->configForbidden());

    fybsim::FybSensor::Mark mark = sensor->mark();
    answers = {press(QMessageBox::No)};
    run("actionForbidSetConfig");
    EXPECT_TRUE(rootsSince(mark).isEmpty());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Configuration modications are forbidden. Are you sure you want to allow them ?");

    mark = sensor->mark();
    answers = {press(QMessageBox::Yes)};
    run("actionForbidSetConfig");
    EXPECT_EQ(rootsSince(mark), QStringList{"allowSetConfig"});
}

TEST_F(SensorCommandTest, NtpHostAndFirmwareUrlAreSentAsTypedAndRemembered)
{
    connectPlain();
    lockFromWindow();
    struct Case
    {
        const char *action, *key, *root, *attribute;
        QString typed;
    };
    const Case cases[] = {
        {"actionTestNTP", "TestNTPAddress", "testNTP", "host", "  "},
        {"actionTestNTP", "TestNTPAddress", "testNTP", "host", "ntp.h\u00f4te.example"},
        {"actionUpdate_firmware_from_URL", "FirmwareUrl", "updateWebFirmware", "url", "http://example/fw.fup3"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const fybsim::FybSensor::Mark mark = sensor->mark();
        answers = {typeText(c.typed)};
        run(c.action);
        const std::vector<fybsim::Received> sent = requestsSince(mark);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].rootName(), c.root);
        ASSERT_NE(sent[0].attribute(c.attribute), nullptr);
        EXPECT_EQ(QString::fromStdString(*sent[0].attribute(c.attribute)), c.typed);
        EXPECT_EQ(QSettings().value(c.key).toString(), c.typed);
    }
    // The next input starts from the remembered text; a working server is told so.
    answers = {[](QDialog *dialog) {
        EXPECT_EQ(static_cast<QInputDialog *>(dialog)->textValue(), "ntp.h\u00f4te.example");
        return int(QDialog::Accepted);
    }};
    run("actionTestNTP");
    EXPECT_EQ(texts(), QStringList({"Enter a NTP server address to test if the sensor is able to connect to it",
                                    "The sensor is able to connect to this NTP server"}));
}

TEST_F(SensorCommandTest, TriggerAnswersAreFiledShownOrReported)
{
    connectPlain();
    RecognitionManager &recognitions = Model::instance()->masterRecognitions();
    struct Case
    {
        const char *action;
        Reply reply;
        QStringList kinds;
        qint32 filedTriggerId; // 0: nothing filed
    };
    const Case cases[] = {
        {"actionTrigger_on", Reply::message(Element("triggerAnswer").set("status", "OK").set("triggerId", "41")), {}, 41},
        {"actionTrigger_off", Reply::message(Element("triggerAnswer").set("status", "ok").set("triggerId", "42")), {}, 42},
        {"actionTrigger_on", Reply::message(Element("triggerAnswer").set("status", "failed").set("triggerId", "43")),
         {"DlgMsg"}, 0},
        {"actionTrigger_on", Reply::ok(), {"DlgMsg"}, 0},
        {"actionTrigger_on", Reply::close(), {"QMessageBox"}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        sensor->setReply(c.action == std::string("actionTrigger_off") ? "triggerOff" : "triggerOn", c.reply);
        const int groupsBefore = int(recognitions.groups().size());
        run(c.action);
        EXPECT_EQ(kinds(), c.kinds);
        if (c.kinds == QStringList{"QMessageBox"}) {
            EXPECT_EQ(seen[0].text, "No answer received");
        }
        EXPECT_EQ(int(recognitions.groups().size()), groupsBefore + (c.filedTriggerId != 0 ? 1 : 0));
        if (c.filedTriggerId != 0) {
            EXPECT_TRUE(hasTriggerGroup(c.filedTriggerId));
        }
    }
}

TEST_F(SensorCommandTest, TriggerWithTimeoutSendsAndFilesTheTimeoutWithoutRememberingIt)
{
    connectPlain();
    QSettings().setValue("LastTriggerTimeout", 1500u);
    sensor->setReply("triggerOn", Reply::message(Element("triggerAnswer").set("status", "ok").set("triggerId", "7")));
    const fybsim::FybSensor::Mark mark = sensor->mark();
    answers = {[](QDialog *dialog) {
        auto *input = static_cast<QInputDialog *>(dialog);
        EXPECT_EQ(input->intValue(), 1500);
        EXPECT_EQ(input->intMaximum(), 2000000);
        input->setIntValue(250);
        return int(QDialog::Accepted);
    }};
    run("actionTrigger_timeout");
    const std::vector<fybsim::Received> sent = requestsSince(mark);
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_NE(sent[0].attribute("timeout"), nullptr);
    EXPECT_EQ(*sent[0].attribute("timeout"), "250");
    EXPECT_EQ(QSettings().value("LastTriggerTimeout").toUInt(), 1500u);
    EXPECT_TRUE(hasTriggerGroup(7));
}

TEST_F(SensorCommandTest, AdvancedTriggerAsksForACameraOnlyWithTwoCamerasAndAddsTheTriggerId)
{
    Element twoCameras = defaultInfos();
    twoCameras.children[1].add(Element("camera").set("id", "1").set("cameraModel", "M2"));
    struct Case
    {
        const char *name;
        Element infos;
        std::vector<Answer> answers;
        QStringList kinds;
        const char *cameraId; // null: none sent
        const char *triggerId;
    };
    const Case cases[] = {
        {"one camera", defaultInfos(), {typeText("77")}, {"QInputDialog"}, nullptr, "77"},
        {"two cameras",
         twoCameras,
         {[](QDialog *dialog) {
              auto *input = static_cast<QInputDialog *>(dialog);
              EXPECT_EQ(input->comboBoxItems(), QStringList({"[0] M1", "[1] M2"}));
              input->setTextValue("[1] M2");
              return int(QDialog::Accepted);
          },
          typeText("")},
         {"QInputDialog", "QInputDialog"},
         "1",
         nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        connectPlain(c.infos);
        ASSERT_EQ(Model::instance()->cameraCount(), int(c.infos.children[1].children.size()));
        const fybsim::FybSensor::Mark mark = sensor->mark();
        answers.assign(c.answers.begin(), c.answers.end());
        run("actionTrigger_on_advanced");
        EXPECT_EQ(kinds().mid(0, c.kinds.size()), c.kinds);
        const std::vector<fybsim::Received> sent = requestsSince(mark);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].rootName(), "triggerOn");
        EXPECT_EQ(sent[0].attribute("cameraId") != nullptr, c.cameraId != nullptr);
        if (c.cameraId != nullptr && sent[0].attribute("cameraId") != nullptr) {
            EXPECT_EQ(*sent[0].attribute("cameraId"), c.cameraId);
        }
        EXPECT_EQ(sent[0].attribute("forceTriggerId") != nullptr, c.triggerId != nullptr);
        if (c.triggerId != nullptr && sent[0].attribute("forceTriggerId") != nullptr) {
            EXPECT_EQ(*sent[0].attribute("forceTriggerId"), c.triggerId);
        }
        if (c.cameraId != nullptr) {
            EXPECT_EQ(QSettings().value("LastTriggerCamera").toUInt(), 1u);
        }
        window.reset();
        master().disconnect();
    }
}

TEST_F(SensorCommandTest, LockSwitchLocksAndUnlocksAndTheLookFollowsTheOutcome)
{
    connectPlain();
    auto *lockSwitch = window->findChild<ZySwitchButton *>();
    auto *dock = window->findChild<QDockWidget *>("dockSettings");
    ASSERT_NE(lockSwitch, nullptr);

    // Refused: the look stays unlocked, with the sensor's refusal shown once.
    sensor->setReply("lock", Reply::failed("locked elsewhere"));
    fybsim::FybSensor::Mark mark = sensor->mark();
    seen.clear();
    emit lockSwitch->clicked();
    EXPECT_EQ(rootsSince(mark), QStringList{"lock"});
    EXPECT_FALSE(master().isLocked());
    EXPECT_EQ(kinds(), QStringList{"QMessageBox"});
    EXPECT_EQ(dock->windowTitle(), "Sensor");
    EXPECT_FALSE(window->findChild<QAction *>("actionSensorReboot")->isEnabled());

    sensor->setReply("lock", Reply::ok());
    mark = sensor->mark();
    emit lockSwitch->clicked();
    const std::vector<fybsim::Received> sent = requestsSince(mark);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].rootName(), "lock");
    EXPECT_EQ(sent[0].attribute("password"), nullptr) << "no password needed";
    EXPECT_TRUE(master().isLocked());
    EXPECT_TRUE(lockSwitch->value());
    EXPECT_EQ(dock->windowTitle(), "Sensor LOCKED");
    EXPECT_TRUE(window->findChild<QAction *>("actionSensorReboot")->isEnabled());
    keepPicture(*window, "OBK-locked");

    // Unlock refused: still locked, with its own error after the sensor's.
    sensor->setReply("unlock", Reply::failed("no"));
    seen.clear();
    emit lockSwitch->clicked();
    EXPECT_TRUE(master().isLocked());
    EXPECT_EQ(texts().value(1), "Unable to unlock");
    sensor->setReply("unlock", Reply::ok());
    emit lockSwitch->clicked();
    EXPECT_FALSE(master().isLocked());
    EXPECT_EQ(dock->windowTitle(), "Sensor");
}

TEST_F(SensorCommandTest, PasswordProtectedLockIsRefusedOverAPlainConnection)
{
    Element infos = defaultInfos();
    infos.add(Element("security").set("lockPasswordNeeded", "true").set("lockPasswordHint", "blue"));
    connectPlain(infos);
    ASSERT_TRUE(Model::instance()->lockPasswordNeeded());
    const fybsim::FybSensor::Mark mark = sensor->mark();
    window->on_actionSensorLock_triggered();
    EXPECT_TRUE(rootsSince(mark).isEmpty());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "Lock");
    EXPECT_EQ(seen[0].text, "It is not possible to lock a password-protected sensor in unsecured connection.");
    EXPECT_FALSE(master().isLocked());
}

TEST_F(SensorCommandTest, PasswordProtectedLockOverTlsAsksForThePasswordWithTheSensorsHint)
{
    connectSecured(defaultInfos());
    // The sensor starts asking for a password once its information says so.
    const QString hint = QString::fromUtf8("couleur pr\u00e9f\u00e9r\u00e9e \u2013 \u00e9t\u00e9");
    sensor->push(defaultInfos().add(
        Element("security").set("lockPasswordNeeded", "1").set("lockPasswordHint", hint.toStdString())));
    ASSERT_TRUE(waitLong([] {
        Model::instance()->parseInfos();
        return Model::instance()->lockPasswordNeeded();
    }));

    struct Case
    {
        const char *name;
        Answer answer;
        bool sent;
        const char *password;
    };
    const Case cases[] = {
        {"cancelled", cancel(), false, nullptr},
        {"typed",
         [&](QDialog *dialog) {
             EXPECT_EQ(dialog->findChild<QLabel *>("labelHint")->text(), "Hint : " + hint);
             dialog->findChild<QLineEdit *>("edtPassword")->setText(QString::fromUtf8(" m\u00f6t "));
             keepPicture(*dialog, "DialogLockPassword-hint");
             QMetaObject::invokeMethod(dialog, "on_buttonBox_accepted");
             return dialog->result();
         },
         true, " m\xc3\xb6t "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const fybsim::FybSensor::Mark mark = sensor->mark();
        answers = {c.answer};
        window->on_actionSensorLock_triggered();
        EXPECT_EQ(kinds(), QStringList{"DialogLockPassword"});
        const std::vector<fybsim::Received> sent = requestsSince(mark);
        ASSERT_EQ(sent.size(), c.sent ? 1u : 0u);
        EXPECT_EQ(master().isLocked(), c.sent);
        if (c.sent) {
            ASSERT_NE(sent[0].attribute("password"), nullptr);
            EXPECT_EQ(*sent[0].attribute("password"), c.password);
        }
        seen.clear();
    }
    // Unlock needs no password.
    const fybsim::FybSensor::Mark mark = sensor->mark();
    window->on_actionSensorLock_triggered();
    const std::vector<fybsim::Received> sent = requestsSince(mark);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].rootName(), "unlock");
    EXPECT_EQ(sent[0].attribute("password"), nullptr);
    EXPECT_TRUE(seen.empty());
}

TEST_F(SensorCommandTest, LockPasswordDialogHintFollowsTheInformation)
{
    struct Case
    {
        const char *name;
        std::optional<Element> security;
        QString hint;
    };
    const Case cases[] = {
        {"no security", std::nullopt, ""},
        {"no hint", Element("security").set("lockPasswordNeeded", "1"), ""},
        {"empty hint", Element("security").set("lockPasswordHint", ""), "Hint : "},
    };
    connectPlain();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Element infos = defaultInfos().set("round", c.name);
        if (c.security)
            infos.add(*c.security);
        sensor->push(infos);
        ASSERT_TRUE(waitLong([&] {
            PXRMsgElement *root = PXRMsgChild(Model::instance()->infos());
            const char *round = root != nullptr ? PXRMsgElementAttributeValue(root, "round") : nullptr;
            return round != nullptr && QString::fromLatin1(round) == c.name;
        }));
        DialogLockPassword dialog(window.get());
        QString password = "kept";
        QString shownHint;
        answers = {[&](QDialog *d) {
            shownHint = d->findChild<QLabel *>("labelHint")->text();
            return int(QDialog::Rejected);
        }};
        EXPECT_EQ(dialog.exec(&password), 0);
        EXPECT_EQ(shownHint, c.hint);
        EXPECT_EQ(password, "kept") << "a refusal leaves the text";
    }
}

} // namespace
