// The history walk and the picture request of the window against the test sensor: the ids asked
// for, where the walk ends and what it lists, Stop, and the timing comment of a picture.
#include "CommandTestSupport.h"

#include "PictureRequest.h"

#include <QProgressDialog>
#include <QRadioButton>
#include <QSpinBox>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <map>
#include <optional>

namespace {

using fybsim::Element;
using fybsim::Reply;

// The sensor's history: the answer to each asked id (0: the newest), anything else refused.
fybsim::FybSensor::Responder historyOf(std::map<std::string, Reply> answers)
{
    return [answers = std::move(answers)](const fybsim::WireMessage &request) -> std::optional<Reply> {
        if (request.rootName() != "getLog")
            return std::nullopt;
        const std::string *id = request.root->attribute("id");
        const auto it = answers.find(id != nullptr ? *id : std::string());
        return it != answers.end() ? it->second : Reply::failed("no such entry");
    };
}

// An entry of the history, dated a minute apart per id.
Reply entry(const char *id)
{
    const std::string date = std::to_string(1700000000000LL + 60000LL * std::atoll(id));
    return Reply::message(Element("log").add(Element("event").set("type", "reboot")).set("id", id).set("date", date));
}

class HistoryTest : public CommandTest
{
protected:
    QStringList askedIds(const fybsim::FybSensor::Mark &mark) const
    {
        QStringList ids;
        for (const fybsim::Received &r : requestsSince(mark))
            if (r.rootName() == "getLog")
                ids << QString::fromStdString(r.attribute("id") != nullptr ? *r.attribute("id") : "?");
        return ids;
    }
};

TEST_F(HistoryTest, WalkAsksForEachOlderEntryAndListsWhatItCollected)
{
    struct Case
    {
        const char *name;
        std::map<std::string, Reply> history;
        QStringList ids;   // asked for, in order
        QStringList texts; // of the dialogs: boxes, then the list's row count
    };
    const Reply noEntry = Reply::failed("no entry");
    const Reply withoutId = Reply::message(Element("log").set("type", "x"));
    const Case cases[] = {
        {"down to 1", {{"0", entry("3")}, {"2", entry("2")}, {"1", entry("1")}}, {"0", "2", "1"}, {"3"}},
        {"no older entry", {{"0", entry("5")}, {"4", entry("4")}, {"3", noEntry}}, {"0", "4", "3"}, {"2"}},
        {"first refused", {{"0", noEntry}}, {"0"}, {"", "0"}},
        // An error keeps what was collected before it.
        {"entry without id", {{"0", entry("3")}, {"2", withoutId}}, {"0", "2"},
         {"The answered message has no Id", "2"}},
        // Ids that are not positive, not numbers or not decreasing end the walk.
        {"id 0", {{"0", entry("0")}}, {"0"}, {"1"}},
        {"id not a number", {{"0", entry("abc")}}, {"0"}, {"1"}},
        {"id not decreasing", {{"0", entry("3")}, {"2", entry("3")}}, {"0", "2"}, {"2"}},
        {"id going up", {{"0", entry("3")}, {"2", entry("9")}}, {"0", "2"}, {"2"}},
    };
    connectPlain();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        sensor->setResponder(historyOf(c.history));
        const fybsim::FybSensor::Mark mark = sensor->mark();
        run("actionGetHistory");
        EXPECT_EQ(askedIds(mark), c.ids);
        ASSERT_EQ(int(seen.size()), c.texts.size()) << kinds().join(',').toStdString();
        EXPECT_EQ(seen.back().kind, "DlgMsgs");
        for (int i = 0; i < c.texts.size(); ++i) {
            if (!c.texts[i].isEmpty()) {
                EXPECT_EQ(seen[i].text, c.texts[i]);
            }
        }
    }
}

TEST_F(HistoryTest, MissingAnswerShowsTheErrorThenTheEntriesCollected)
{
    connectPlain();
    sensor->setResponder(historyOf({{"0", entry("3")}, {"2", Reply::close()}}));
    run("actionGetHistory");
    EXPECT_EQ(kinds(), QStringList({"QMessageBox", "DlgMsgs"}));
    EXPECT_EQ(texts(), QStringList({"No answer from sensor", "1"}));
}

TEST_F(HistoryTest, StopShowsTheEntriesCollectedSoFar)
{
    connectPlain();
    // The sensor holds its answer to the second request until Stop has been pressed.
    std::atomic<bool> secondAsked{false}, stopped{false};
    sensor->setResponder([&](const fybsim::WireMessage &request) -> std::optional<Reply> {
        if (request.rootName() != "getLog")
            return std::nullopt;
        const std::string id = *request.root->attribute("id");
        if (id == "0")
            return entry("10");
        secondAsked = true;
        for (int i = 0; i < 2000 && !stopped; ++i)
            std::this_thread::sleep_for(10ms);
        return entry(id.c_str());
    });
    QProgressDialog *progress = nullptr;
    ZyModalRunner::setShowHandler([&](QDialog *dialog) { progress = qobject_cast<QProgressDialog *>(dialog); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!secondAsked || stopped || progress == nullptr)
            return;
        EXPECT_EQ(progress->labelText(), "Requesting history (1)...");
        progress->cancel();
        stopped = true;
    });
    poll.start(10);
    answers = {[](QDialog *dialog) {
        keepPicture(*dialog, "DlgMsgs-history");
        return int(QDialog::Accepted);
    }};
    const fybsim::FybSensor::Mark mark = sensor->mark();
    run("actionGetHistory");
    EXPECT_TRUE(stopped);
    EXPECT_EQ(askedIds(mark), QStringList({"0", "9"}));
    EXPECT_EQ(kinds(), QStringList{"DlgMsgs"});
    EXPECT_EQ(texts(), QStringList{"2"});
}

TEST(PictureTiming, CommentNamesTheTimesTheRequestAndAnswerCarry)
{
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(1700000000123);
    const qint64 asked = 1700000000000;
    auto msg = [](const char *root, std::optional<qint64> date) {
        PXRMsg *m = PXRMsgCreate();
        PXRMsgElement *e = PXRMsgElementCreate(root);
        if (date)
            PXRMsgElementSetAttributeInt64(e, "date", *date);
        PXRMsgSetChild(m, e);
        return m;
    };
    auto clock = [](qint64 ms) { return QDateTime::fromMSecsSinceEpoch(ms).toString("hh:mm:ss.zzz"); };
    const QString done = "Request done at " + at.toString("hh:mm:ss.zzz");
    struct Case
    {
        const char *name;
        std::optional<qint64> requestDate, answerDate;
        QString comment;
    };
    const Case cases[] = {
        {"undated answer", asked, std::nullopt, done},
        {"last picture", std::nullopt, asked + 40,
         done + "\nImage received at epoch time 1700000000040 (" + clock(asked + 40) + ")"},
        {"older than asked", asked, asked - 250,
         done + "\nImage requested at epoch time 1700000000000 (" + clock(asked) + ")"
             + "\nImage received at epoch time 1699999999750 (" + clock(asked - 250) + ")\nDifference : -250 ms"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PXRMsg *request = msg("getImage", c.requestDate);
        PXRMsg *answer = msg("image", c.answerDate);
        EXPECT_EQ(PictureRequest::timingComment(at, request, answer), c.comment);
        PXRMsgDestroy(request);
        PXRMsgDestroy(answer);
    }
}

TEST_F(HistoryTest, PastPictureIsShownWithItsTimingAndRefusedDialogSendsNothing)
{
    connectPlain();
    sensor->setResponder([](const fybsim::WireMessage &request) -> std::optional<Reply> {
        if (request.rootName() != "getImage")
            return std::nullopt;
        const std::string *date = request.root->attribute("date");
        const long long taken = date != nullptr ? std::stoll(*date) + 40 : 0;
        return Reply::message(Element("image").set("date", std::to_string(taken)).set("cameraId", "0"));
    });
    fybsim::FybSensor::Mark mark = sensor->mark();
    answers = {cancel()};
    run("actionGetImage");
    EXPECT_TRUE(rootsSince(mark).isEmpty());

    mark = sensor->mark();
    answers = {[](QDialog *dialog) {
                   dialog->findChild<QRadioButton *>("radioMs")->setChecked(true);
                   dialog->findChild<QSpinBox *>("spinMs")->setValue(1000);
                   QMetaObject::invokeMethod(dialog, "on_buttonBox_accepted");
                   return dialog->result();
               },
               [](QDialog *dialog) {
                   keepPicture(*dialog, "DlgMsg-picture-timing");
                   return int(QDialog::Accepted);
               }};
    run("actionGetImage");
    const std::vector<fybsim::Received> sent = requestsSince(mark);
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_NE(sent[0].attribute("date"), nullptr);
    ASSERT_EQ(kinds(), QStringList({"DlgGetImage", "DlgMsg"}));
    const QStringList lines = seen[1].text.split('\n');
    ASSERT_EQ(lines.size(), 4) << seen[1].text.toStdString();
    EXPECT_TRUE(lines[0].startsWith("Request done at "));
    EXPECT_TRUE(lines[1].startsWith("Image requested at epoch time " + QString::fromStdString(*sent[0].attribute("date"))));
    EXPECT_EQ(lines[3], "Difference : 40 ms");
}

} // namespace
