// A line of the recognition list: the one-line text of every kind of message, the entries of
// passages, triggers and I/O states in their order, sensor texts kept from the rich text, the
// speed and origin, and what its links ask for.
#include "CoreTestSupport.h"
#include "RecognitionViewSupport.h"
#include "WidgetRecognitionPreview.h"

#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace recotest;

namespace {

Node decision(const char *name, std::initializer_list<std::pair<std::string, std::string>> attributes)
{
    Node element(name);
    for (const auto &[key, value] : attributes)
        element.set(key, value);
    return element;
}

TEST(DecisionText, EachKindOfMessageReadsAsOneLine)
{
    const struct {
        Node root;
        QString expected;
    } cases[] = {
        {Node("anpr").add(decision("decision", {{"plate", "AB123"}, {"context", "F"}, {"reliability", "75"},
                                                {"width", "84"}, {"height", "25"}})),
         "AB123 (F) - 75% - 84x25"},
        {Node("anpr").add(decision("decision", {{"plate", "AB123"}, {"reliability", "75"}, {"width", "84"}})),
         "AB123 () - 75%"},
        {Node("ANPR").add(decision("Decision", {{"reliability", "75"}})), "Vehicle"},
        {Node("anpr").add(decision("decision_dg", {{"plate", "33/1203"}, {"reliability", "88"}})),
         "<span style='color:#FF6A00;'>33/1203 (DG) - 88%</span>"},
        {Node("anpr").add(decision("decision_dg", {})), "Vehicle"},
        {Node("triggerResult").set("triggerId", "7").add(decision("decision", {{"plate", "X1"}, {"context", "D"},
                                                                               {"reliability", "90"}})),
         "TriggerResult (ID=7) : X1 (D) - 90%"},
        {Node("triggerResult").set("triggerId", "7").add(Node("noPlate")), "TriggerResult (ID=7): noPlate"},
        {Node("dgpr").add(decision("decision", {{"plate", "1203"}, {"context", "33"}, {"reliability", "60"}})),
         "1203 (33) - 60%"},
        {Node("vehicle").add(decision("anpr_decision", {{"plate", "ZZ9"}, {"reliability", "51"}})), "ZZ9 () - 51%"},
        {Node("vehicle").add(decision("classification_decision",
                                      {{"classNumber", "3"}, {"vehicleType", "truck"}, {"reliability", "80"}})),
         "Class 3 (truck) - 80%"},
        {Node("signature").add(Node("decision")), "signature / decision"},
        // Sensor texts stay text: no markup of theirs reaches the label.
        {Node("anpr").add(decision("decision", {{"plate", "<img src='/etc/x.png'>"}, {"context", "<b>"}})),
         "&lt;img src='/etc/x.png'&gt; (&lt;b&gt;) - %"},
        {Node("triggerResult").set("triggerId", "<i>").add(Node("noPlate")), "TriggerResult (ID=&lt;i&gt;): noPlate"},
    };
    for (const auto &c : cases) {
        const MsgPtr msg = build(c.root);
        EXPECT_EQ(WidgetRecognitionPreview::decisionText(msg.get()), c.expected);
    }
}

class PreviewTest : public ToolboxTest
{
protected:
    // Files the message into the group, received that many ms after the base time.
    void add(const Node &root, qint64 afterMs)
    {
        held.push_back(build(root));
        ASSERT_TRUE(group.addMessage(held.back().get(), at(BaseDate + afterMs)));
    }
    static Node anpr(const char *child, qint64 dateMs, const char *session = "4")
    {
        return Node("anpr").set("session", session).set("date", std::to_string(dateMs)).add(Node(child));
    }
    static Node read(const char *plate, qint64 dateMs)
    {
        return Node("anpr").set("session", "4").set("date", std::to_string(dateMs)).add(
            decision("decision", {{"plate", plate}, {"context", "F"}, {"reliability", "75"}}));
    }
    QString description() const { return line.findChild<QLabel *>("labelDescription")->text(); }
    QString label(const char *name) const { return line.findChild<QLabel *>(name)->text(); }
    static QString time(qint64 afterMs, const char *format = "hh:mm:ss.zzz")
    {
        return at(BaseDate + afterMs).toString(format);
    }

    std::vector<MsgPtr> held;
    RecognitionGroup group{RecognitionGroup::PlateFromUnknown, at(BaseDate)};
    WidgetRecognitionPreview line;
};

TEST_F(PreviewTest, DetailedPassageListsEndThenDecisionsNewestFirstThenStart)
{
    add(anpr("new", 111), 10);
    add(read("AA1", 222), 20);
    add(read("BB2", 333), 30);
    Node end = anpr("end", 444);
    end.children[0].set("countingTrajectory", "<left>");
    add(end, 40);
    line.update(group, true, true);
    const QString linked = QStringList{
        QString("<a href='444'>%1</a> [4] End - &lt;left&gt;").arg(time(40)),
        QString("<a href='333'>%1</a> [4] BB2 (F) - 75%").arg(time(30)),
        QString("<a href='222'>%1</a> [4] AA1 (F) - 75%").arg(time(20)),
        QString("<a href='111'>%1</a> [4] New").arg(time(10))}.join("<br/>");
    EXPECT_EQ(description(), linked);
    line.setViewable(false);
    EXPECT_EQ(description(), QStringList({time(40) + " [4] End - &lt;left&gt;", time(30) + " [4] BB2 (F) - 75%",
                                          time(20) + " [4] AA1 (F) - 75%", time(10) + " [4] New"})
                                 .join("<br/>"));
    EXPECT_EQ(line.time(), at(BaseDate + 20));
    EXPECT_EQ(label("labelViewInPlayer"), QString("<a href='%1'>View</a>").arg(group.id()));
    EXPECT_EQ(label("labelSpeed"), "");
    EXPECT_EQ(label("labelFrom"), "");
}

TEST_F(PreviewTest, CompactPassageListsDecisionsOrSaysThereIsNone)
{
    add(anpr("new", 111), 10);
    line.update(group, false, true);
    EXPECT_EQ(description(), QString("<a href='111'>%1</a> Detection without decision").arg(time(10, "HH:mm:ss")));
    add(read("AA1", 222), 20);
    add(read("BB2", 333), 30);
    line.update(group, false, false);
    EXPECT_EQ(description(), time(30, "hh:mm:ss") + " [4] BB2 (F) - 75%<br/>" + time(20, "hh:mm:ss") +
                                 " [4] AA1 (F) - 75%");
}

TEST_F(PreviewTest, TriggerEntriesReadOffResultOnAndAMessageWithoutDateLinksTheEpoch)
{
    add(Node("triggerAnswer").set("triggerId", "9").set("timeout", "500").set("status", "ok"), 10);
    EXPECT_TRUE(group.isTriggered());
    line.update(group, true, true);
    EXPECT_EQ(description(), QString("<a href='%1'>%2</a> Trigger on, timeout=500ms (ID=9)")
                                 .arg(BaseDate + 10)
                                 .arg(time(10)));
    EXPECT_FALSE(line.time().isValid());

    add(Node("triggerResult").set("triggerId", "9").add(Node("noPlate")), 20);
    add(Node("triggerAnswer").set("triggerId", "9").set("status", "ok"), 30);
    line.update(group, true, true);
    EXPECT_EQ(description(), QString("<a href='%1'>%2</a> Trigger off (ID=9)<br/>"
                                     "<a href='0'>%3</a> TriggerResult (ID=9): noPlate<br/>"
                                     "<a href='%4'>%5</a> Trigger on, timeout=500ms (ID=9)")
                                 .arg(BaseDate + 30)
                                 .arg(time(30), time(20))
                                 .arg(BaseDate + 10)
                                 .arg(time(10)));
}

TEST_F(PreviewTest, IoStateEntryHidesDecisionsAndSaysOnOrOff)
{
    for (const auto &[state, word] : {std::pair{"1", "on"}, {"false", "off"}}) {
        RecognitionGroup io(RecognitionGroup::PlateFromUnknown, at(BaseDate + 5));
        held.push_back(build(Node("ioState").set("date", "777").set("state", state).add(Node("input"))));
        ASSERT_TRUE(io.addMessage(held.back().get(), at(BaseDate + 10)));
        held.push_back(build(read("AA1", 222)));
        io.addMessage(held.back().get(), at(BaseDate + 20));
        line.update(io, true, true);
        EXPECT_EQ(description(), QString("<a href='777'>%1</a> IO state changed (%2)").arg(time(5), word));
    }
}

TEST_F(PreviewTest, SpeedAndOriginComeFromTheGroup)
{
    const struct {
        const char *plateFrom;
        QString from;
    } origins[] = {{"slave", "(slave)"}, {"master", "(master)"}};
    for (const auto &origin : origins) {
        RecognitionGroup passage(RecognitionGroup::PlateFromUnknown, at(BaseDate));
        Node first = read("AA1", 222);
        first.set("plateFrom", origin.plateFrom);
        held.push_back(build(first));
        ASSERT_TRUE(passage.addMessage(held.back().get(), at(BaseDate)));
        held.push_back(build(Node("anpr").set("session", "4").add(Node("speed").set("instantSpeed_km_h", "<50>"))));
        ASSERT_TRUE(passage.addMessage(held.back().get(), at(BaseDate)));
        line.update(passage, true, true);
        EXPECT_EQ(label("labelFrom"), origin.from);
        EXPECT_EQ(label("labelSpeed"), "<50> km/h");
    }
}

TEST_F(PreviewTest, LinksAskForTheirTimeOrGroupAndIgnoreWhatIsNotANumber)
{
    QSignalSpy times(&line, &WidgetRecognitionPreview::timestampClicked);
    QSignalSpy views(&line, &WidgetRecognitionPreview::viewRecognitionGroupClicked);
    QLabel *description = line.findChild<QLabel *>("labelDescription");
    QLabel *view = line.findChild<QLabel *>("labelViewInPlayer");
    for (const char *link : {"1700000000123", "0", "soon"})
        emit description->linkActivated(link);
    ASSERT_EQ(times.size(), 3);
    EXPECT_EQ(times.at(0).at(0).toDateTime(), at(1700000000123));
    EXPECT_EQ(times.at(1).at(0).toDateTime().toMSecsSinceEpoch(), 0);
    EXPECT_EQ(times.at(2).at(0).toDateTime().toMSecsSinceEpoch(), 0);
    emit view->linkActivated("12");
    emit view->linkActivated("twelve");
    ASSERT_EQ(views.size(), 1);
    EXPECT_EQ(views.at(0).at(0).toUInt(), 12u);
}

} // namespace
