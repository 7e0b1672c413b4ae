// The synchronous request road against the test sensor: the wait dialog only for slow answers,
// a wait that sleeps, nested requests and the running count, every kind of answer judged, the
// log of requests and answers, and the time stamps of messages.
#include "DialogWait.h"
#include "MsgManager.h"
#include "MsgManagerNotifier.h"
#include "SensorTestSupport.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>

#include <ctime>

namespace {

using fybsim::Element;
using fybsim::FybSensor;
using fybsim::Reply;

PXRMsg *makeRequest(const char *root, std::initializer_list<std::pair<const char *, const char *>> attributes = {})
{
    PXRMsg *msg = PXRMsgCreate();
    PXRMsgElement *element = PXRMsgElementCreate(root);
    for (const auto &[name, value] : attributes)
        PXRMsgElementSetAttribute(element, name, value);
    PXRMsgSetChild(msg, element);
    return msg;
}

QString attribute(PXRMsg *msg, const char *name)
{
    return QString::fromUtf8(PXRMsgElementAttributeValue(PXRMsgChild(msg), name));
}

// Every wait dialog shown while it lives: when, with what text and which parts visible.
class DialogWatcher : public QObject
{
public:
    struct Shown
    {
        qint64 atMs;
        QString message;
        bool buttonsVisible;
        bool progressVisible;
        QPointer<DialogWait> dialog;
    };

    DialogWatcher() { qApp->installEventFilter(this); }
    ~DialogWatcher() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<DialogWait *>(watched);
        if (dialog != nullptr && event->type() == QEvent::Show)
            shown.append({clock.elapsed(), dialog->findChild<QLabel *>("labelMessage")->text(),
                          !dialog->findChild<QDialogButtonBox *>("buttonBox")->isHidden(),
                          !dialog->findChild<QProgressBar *>("progressBar")->isHidden(), dialog});
        return false;
    }

    QElapsedTimer clock;
    QList<Shown> shown;
};

qint64 threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

class MsgManagerTest : public MasterSensorTest
{
protected:
    // Sends a request with that root and returns the answer (the test's to destroy).
    static PXRMsg *ask(const char *root)
    {
        PXRMsg *request = makeRequest(root);
        PXRMsg *answer = MsgManager::sendRequest(request);
        PXRMsgDestroy(request);
        return answer;
    }
};

TEST_F(MsgManagerTest, QuickAnswerComesWithoutTheWaitDialog)
{
    server.setReply("getStatus", Reply::message(Element("answer").set("status", "ok").set("mode", "run")));
    DialogWatcher watcher;
    PXRMsg *request = makeRequest("getStatus");
    PXRMsg *answer = MsgManager::sendRequest(request);
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(attribute(answer, "mode"), QString("run"));
    EXPECT_NE(PXRMsgIsReadOnly(request), 0) << "a sent request cannot change";
    EXPECT_TRUE(watcher.shown.isEmpty());
    EXPECT_EQ(MsgManager::runningRequests(), 0);
    PXRMsgDestroy(answer);
    PXRMsgDestroy(request);
}

TEST_F(MsgManagerTest, SlowAnswerShowsTheWaitDialogAfterTheDelayWhileTheWaitSleeps)
{
    server.setReply("reboot", Reply::ok().after(1000ms));
    QStringList pushed;
    QObject::connect(sensor.get(), &Sensor::signalMsgReceived, sensor.get(), [&](void *message) {
        pushed << QString::fromUtf8(PXRMsgElementName(PXRMsgChild(static_cast<PXRMsg *>(message))));
        PXRMsgDestroy(static_cast<PXRMsg *>(message));
    });
    // Timers and received messages keep running during the wait.
    QTimer::singleShot(100, [&] { server.push(Element("trace")); });
    int running = -1;
    QTimer::singleShot(150, [&] { running = MsgManager::runningRequests(); });

    DialogWatcher watcher;
    watcher.clock.start();
    const qint64 cpuBefore = threadCpuMs();
    PXRMsg *answer = ask("reboot");
    const qint64 cpuUsed = threadCpuMs() - cpuBefore;
    const qint64 waited = watcher.clock.elapsed();

    ASSERT_NE(answer, nullptr);
    PXRMsgDestroy(answer);
    EXPECT_GE(waited, 1000);
    EXPECT_LT(cpuUsed, 250) << "the GUI thread spent " << cpuUsed << " ms of CPU in a " << waited << " ms wait";
    ASSERT_EQ(watcher.shown.size(), 1);
    const DialogWatcher::Shown &shown = watcher.shown.first();
    EXPECT_GT(shown.atMs, 250);
    EXPECT_LT(shown.atMs, 1000);
    EXPECT_EQ(shown.message, QString("Sending request, please wait..."));
    EXPECT_FALSE(shown.buttonsVisible);
    EXPECT_TRUE(shown.progressVisible);
    EXPECT_TRUE(shown.dialog.isNull()) << "deleted once the answer came";
    EXPECT_EQ(pushed, QStringList({"trace"}));
    EXPECT_EQ(running, 1);
}

TEST_F(MsgManagerTest, WindowClosedDuringTheWaitTakesItsWaitDialogAlong)
{
    server.setReply("reboot", Reply::ok().after(700ms));
    auto *window = new QWidget;
    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == window; }));
    DialogWatcher watcher;
    QTimer::singleShot(450, [&] {
        EXPECT_EQ(watcher.shown.size(), 1);
        EXPECT_TRUE(!watcher.shown.isEmpty() && watcher.shown[0].dialog->parentWidget() == window);
        delete window;
    });
    PXRMsg *answer = ask("reboot");
    EXPECT_NE(answer, nullptr);
    PXRMsgDestroy(answer);
    ASSERT_EQ(watcher.shown.size(), 1);
    EXPECT_TRUE(watcher.shown[0].dialog.isNull());
}

TEST_F(MsgManagerTest, NestedRequestReturnsFirstAndTheCountTellsWhenAllAreDone)
{
    server.setReply("getOuter", Reply::message(Element("outer")).after(600ms));
    server.setReply("getInner", Reply::message(Element("inner")));
    int finishedSignals = 0;
    QObject::connect(MsgManagerNotifier::instance(), &MsgManagerNotifier::allRequestsFinished, sensor.get(),
                     [&] { ++finishedSignals; });
    QStringList events;
    QTimer::singleShot(100, [&] {
        events << QString("inner sent while %1 ran").arg(MsgManager::runningRequests());
        PXRMsg *inner = ask("getInner");
        events << QString::fromUtf8(PXRMsgElementName(PXRMsgChild(inner)));
        PXRMsgDestroy(inner);
        events << QString("%1 still running").arg(MsgManager::runningRequests());
    });
    PXRMsg *outer = ask("getOuter");
    events << QString::fromUtf8(PXRMsgElementName(PXRMsgChild(outer)));
    PXRMsgDestroy(outer);

    EXPECT_EQ(events, QStringList({"inner sent while 1 ran", "inner", "1 still running", "outer"}));
    EXPECT_EQ(MsgManager::runningRequests(), 0);
    EXPECT_EQ(finishedSignals, 0) << "told from the event loop, after the caller has its answer";
    ASSERT_TRUE(waitUntil([&] { return finishedSignals == 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(finishedSignals, 1);
}

TEST_F(MsgManagerTest, RequestsAndAnswersAreLoggedWithSecretsMasked)
{
    server.setReply("setLock", Reply::ok());
    PXRMsg *request = makeRequest("setLock", {{"password", "hunter2"}, {"hint", "pet"}});
    PXRMsg *answer = MsgManager::sendRequest(request);
    PXRMsgDestroy(request);
    PXRMsgDestroy(answer);
    const QString log = appLog();
    EXPECT_TRUE(log.contains("[7] Sending request:"));
    EXPECT_TRUE(log.contains("password=XXXXX"));
    EXPECT_TRUE(log.contains("hint='pet'"));
    EXPECT_FALSE(log.contains("hunter2"));
    EXPECT_TRUE(log.contains("[7] ThreadSendRequest::PXRSendRequest 1"));
    EXPECT_TRUE(log.contains("[7] ThreadSendRequest::PXRSendRequest finished"));
    EXPECT_TRUE(log.contains("[7] Answer:"));
    EXPECT_TRUE(log.contains("status='ok'"));
}

TEST_F(MsgManagerTest, MissingAnswerIsAnErrorWithTheLibrarysReason)
{
    BoxRecorder boxes;
    server.setReply("reboot", Reply::close());
    PXRMsg *answer = ask("reboot");
    EXPECT_EQ(answer, nullptr);
    EXPECT_FALSE(MsgManager::checkAnswer(nullptr, "Reboot", answer));
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.boxes[0].title, QString("Reboot"));
    EXPECT_EQ(boxes.boxes[0].text, QString("Error : no answer from equipment"));
    EXPECT_EQ(boxes.boxes[0].details, QString::fromUtf8(PXRGetLastError(sensor->handle())));

    // Before the model has registered a sensor there is no answer either.
    MsgManager::setMasterSensor(nullptr);
    EXPECT_EQ(ask("reboot"), nullptr);
    EXPECT_FALSE(MsgManager::checkAnswer(nullptr, "Reboot", nullptr));
    ASSERT_EQ(boxes.boxes.size(), 2);
    EXPECT_TRUE(boxes.boxes[1].details.isEmpty());
}

struct AnswerCase
{
    const char *name;
    Element answer;
    bool success;
    QMessageBox::Icon icon; // NoIcon: no box
    const char *text;
    const char *details;
};

void PrintTo(const AnswerCase &c, std::ostream *out)
{
    *out << c.name;
}

class CheckAnswerTest : public MsgManagerTest, public ::testing::WithParamInterface<AnswerCase>
{
};

TEST_P(CheckAnswerTest, AnswerIsJudgedByItsStatus)
{
    const AnswerCase &c = GetParam();
    server.setReply("setConfig", Reply::message(c.answer));
    BoxRecorder boxes;
    PXRMsg *answer = ask("setConfig");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(MsgManager::checkAnswer(nullptr, "Set configuration", answer), c.success);
    PXRMsgDestroy(answer);
    if (c.icon == QMessageBox::NoIcon) {
        EXPECT_TRUE(boxes.boxes.isEmpty());
        return;
    }
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0].icon, c.icon);
    EXPECT_EQ(boxes.boxes[0].title, QString("Set configuration"));
    EXPECT_EQ(boxes.boxes[0].text, QString(c.text));
    EXPECT_EQ(boxes.boxes[0].details, QString::fromUtf8(c.details));
}

const char *const kFailed = "Error : action failed";
const char *const kWarning = "Warning : some parts of the message have failed";
const char *const kUnexpected = "Unexpected answer";

INSTANTIATE_TEST_SUITE_P(
    Statuses, CheckAnswerTest,
    ::testing::Values(
        AnswerCase{"Ok", Element("answer").set("status", "ok"), true, QMessageBox::NoIcon, "", ""},
        AnswerCase{"OkInCapitals", Element("answer").set("status", "OK"), true, QMessageBox::NoIcon, "", ""},
        AnswerCase{"Failed", Element("answer").set("status", "failed").set("errorText", "Zoom \xc3\xa9lev\xc3\xa9"),
                   false, QMessageBox::Critical, kFailed, "Zoom \xc3\xa9lev\xc3\xa9"},
        AnswerCase{"FailedWithoutText", Element("answer").set("status", "Failed"), false, QMessageBox::Critical,
                   kFailed, ""},
        AnswerCase{"TwoWarnings",
                   Element("answer")
                       .set("status", "warning")
                       .add(Element("warning").set("text", "A").set("configPath", "P"))
                       .add(Element("other").set("text", "not a warning"))
                       .add(Element("warning").set("text", "B").set("sourceLocation", "L")),
                   true, QMessageBox::Warning, kWarning, "A in P\nB (L)"},
        AnswerCase{"WarningWithoutWarnings", Element("answer").set("status", "WARNING"), true, QMessageBox::Warning,
                   kWarning, ""},
        AnswerCase{"UnknownStatus", Element("answer").set("status", "done"), false, QMessageBox::Critical,
                   kUnexpected, "Root element \"answer\", status \"done\""},
        AnswerCase{"NoStatus", Element("answer"), false, QMessageBox::Critical, kUnexpected,
                   "Root element \"answer\", no status"},
        AnswerCase{"RootInOtherCase", Element("Answer").set("status", "ok"), false, QMessageBox::Critical,
                   kUnexpected, "Root element \"Answer\", status \"ok\""},
        AnswerCase{"DataAnswer", Element("xsd"), false, QMessageBox::Critical, kUnexpected,
                   "Root element \"xsd\", no status"}),
    [](const ::testing::TestParamInfo<AnswerCase> &info) { return std::string(info.param.name); });

TEST(MsgManagerDate, DateIsTheRootsMillisecondsOrInvalid)
{
    const struct
    {
        const char *date; // null: no attribute
        qint64 expectedMs; // -1: invalid
    } cases[] = {{"1702994709123", 1702994709123}, {"0", 0}, {nullptr, -1}, {"", -1}, {"soon", -1}};
    for (const auto &c : cases) {
        PXRMsg *msg = makeRequest("anpr");
        if (c.date != nullptr)
            PXRMsgElementSetAttribute(PXRMsgChild(msg), "date", c.date);
        const QDateTime date = MsgManager::getDate(msg);
        if (c.expectedMs < 0) {
            EXPECT_FALSE(date.isValid()) << (c.date ? c.date : "(none)");
        } else {
            EXPECT_EQ(date.toMSecsSinceEpoch(), c.expectedMs);
            EXPECT_EQ(date.timeSpec(), Qt::LocalTime);
        }
        PXRMsgDestroy(msg);
    }
    PXRMsg *empty = PXRMsgCreate();
    EXPECT_FALSE(MsgManager::getDate(empty).isValid());
    EXPECT_FALSE(MsgManager::getDate(nullptr).isValid());
    PXRMsgDestroy(empty);
}

} // namespace
