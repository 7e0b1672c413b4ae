// Recognition groups: session binding, what a group refuses, trigger answers and results, kinds
// read from names in any case, the times and dates a group reports, the order and spans of its
// messages, and the references its copies hold.
#include "RecognitionGroup.h"
#include "RecognitionTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace recotest;

namespace {

const QDateTime t0 = at(BaseDate);

// The slot a single message took in a group that held nothing else of its kind.
std::string slotOf(const RecognitionGroup &group, PXRMsg *msg)
{
    const std::map<std::string, PXRMsg *> places = {
        {"new", group.newMessage()},         {"end", group.endMessage()},
        {"speed", group.speed()},            {"triggerAnswer", group.triggerAnswer()},
        {"triggerResult", group.triggerResult()}, {"ioState", group.ioState()}};
    for (const auto &[name, held] : places) {
        if (held == msg)
            return name;
    }
    return group.decisions().contains(msg) ? "decision" : "none";
}

} // namespace

TEST(RecognitionGroupTest, StartWithoutSessionBindsToZeroAndMessagesWithoutSessionStillPass)
{
    RecognitionGroup group;
    const MsgPtr start = passage("new");
    const MsgPtr otherSession = passage("decision", Fields().session("3"));
    const MsgPtr sessionZero = passage("decision", Fields().session("0"));
    const MsgPtr noSession = passage("decision");
    const MsgPtr nonNumeric = passage("decision", Fields().session("abc"));

    EXPECT_TRUE(group.addMessage(start.get(), t0));
    EXPECT_FALSE(group.addMessage(otherSession.get(), t0));
    EXPECT_TRUE(group.addMessage(sessionZero.get(), t0));
    EXPECT_TRUE(group.addMessage(noSession.get(), t0));
    EXPECT_TRUE(group.addMessage(nonNumeric.get(), t0)) << "a session that is no number reads as 0";
    EXPECT_EQ(group.decisions(), (QList<PXRMsg *>{sessionZero.get(), noSession.get(), nonNumeric.get()}));
}

TEST(RecognitionGroupTest, UnboundGroupTakesAnySessionUntilAStartBindsIt)
{
    RecognitionGroup group;
    const MsgPtr first = passage("decision", Fields().session("4"));
    const MsgPtr second = passage("decision", Fields().session("9"));
    EXPECT_TRUE(group.addMessage(first.get(), t0));
    EXPECT_TRUE(group.addMessage(second.get(), t0)) << "decisions do not bind the group";
}

TEST(RecognitionGroupTest, MessageOfAnotherSessionIsRefusedWhateverItsKind)
{
    const Fields other = Fields().session("6").triggerId("1");
    const MsgPtr messages[] = {passage("end", other),       passage("speed", other), passage("decision", other),
                               message("dgpr", "decision_dg", other), triggerAnswer("1", other),
                               triggerResult("1", other),  ioState(other)};
    for (const MsgPtr &msg : messages) {
        RecognitionGroup group;
        const MsgPtr start = passage("new", Fields().session("5"));
        ASSERT_TRUE(group.addMessage(start.get(), t0));
        EXPECT_FALSE(group.addMessage(msg.get(), t0)) << PXRMsgElementName(PXRMsgChild(msg.get()));
        EXPECT_EQ(group.allMessages(), QList<PXRMsg *>{start.get()});
        EXPECT_FALSE(group.isTriggered());
        EXPECT_FALSE(group.hasIoState());
        EXPECT_FALSE(group.hasSpeed());
    }
}

TEST(RecognitionGroupTest, SecondStartEndAndSpeedAreRefusedAndTheFirstKept)
{
    for (const char *kind : {"new", "end", "speed"}) {
        RecognitionGroup group;
        const MsgPtr first = passage(kind);
        const MsgPtr second = passage(kind);
        EXPECT_TRUE(group.addMessage(first.get(), t0)) << kind;
        EXPECT_FALSE(group.addMessage(second.get(), t0.addSecs(1))) << kind;
        EXPECT_EQ(slotOf(group, first.get()), kind);
        EXPECT_EQ(group.timeOf(first.get()), t0);
        EXPECT_EQ(holders(second.get()), 1) << "a refused message keeps no reference";
    }
}

TEST(RecognitionGroupTest, StartIsRefusedOnceTheGroupHasADecisionOrAnEnd)
{
    for (const char *earlier : {"decision", "end"}) {
        RecognitionGroup group;
        const MsgPtr first = passage(earlier);
        const MsgPtr start = passage("new");
        ASSERT_TRUE(group.addMessage(first.get(), t0));
        EXPECT_FALSE(group.addMessage(start.get(), t0)) << "after " << earlier;
        EXPECT_EQ(group.newMessage(), nullptr);
    }
}

TEST(RecognitionGroupTest, DecisionAfterTheEndIsRefused)
{
    RecognitionGroup group;
    const MsgPtr start = passage("new");
    const MsgPtr end = passage("end");
    const MsgPtr late = passage("decision");
    ASSERT_TRUE(group.addMessage(start.get(), t0));
    ASSERT_TRUE(group.addMessage(end.get(), t0));
    EXPECT_FALSE(group.addMessage(late.get(), t0));
    EXPECT_TRUE(group.decisions().isEmpty());
}

TEST(RecognitionGroupTest, LaterTriggerAnswersReplaceTheSecondAndKeepTheFirst)
{
    RecognitionGroup group;
    const MsgPtr on = triggerAnswer("7");
    const MsgPtr off = triggerAnswer("8");
    const MsgPtr offAgain = triggerAnswer("9");
    ASSERT_TRUE(group.addMessage(on.get(), t0));
    ASSERT_TRUE(group.addMessage(off.get(), t0.addSecs(1)));
    ASSERT_TRUE(group.addMessage(offAgain.get(), t0.addSecs(2)));

    EXPECT_TRUE(group.isTriggered());
    EXPECT_EQ(group.triggerId(), 7);
    EXPECT_EQ(group.triggerAnswer(), on.get());
    EXPECT_EQ(group.secondTriggerAnswer(), offAgain.get());
    EXPECT_EQ(group.triggerAnswerTime(), t0);
    EXPECT_EQ(group.secondTriggerAnswerTime(), t0.addSecs(2));
    EXPECT_EQ(holders(off.get()), 1) << "the replaced answer is released";
    EXPECT_EQ(holders(offAgain.get()), 2);
}

TEST(RecognitionGroupTest, TriggerResultReplacesTheFormerAndSetsTheTriggerId)
{
    RecognitionGroup group;
    const MsgPtr on = triggerAnswer("3");
    const MsgPtr first = triggerResult("4");
    const MsgPtr second = triggerResult("-5");
    ASSERT_TRUE(group.addMessage(on.get(), t0));
    ASSERT_TRUE(group.addMessage(first.get(), t0));
    EXPECT_EQ(group.triggerId(), 4);
    ASSERT_TRUE(group.addMessage(second.get(), t0.addSecs(1)));
    EXPECT_EQ(group.triggerResult(), second.get());
    EXPECT_EQ(group.timeOf(second.get()), t0.addSecs(1));
    EXPECT_EQ(group.triggerId(), -5);
    EXPECT_EQ(holders(first.get()), 1);
}

TEST(RecognitionGroupTest, ResultWithoutIdStillTriggersTheGroup)
{
    RecognitionGroup group;
    const MsgPtr result = triggerResult(std::nullopt);
    ASSERT_TRUE(group.addMessage(result.get(), t0));
    EXPECT_TRUE(group.isTriggered());
    EXPECT_EQ(group.triggerId(), 0);
}

TEST(RecognitionGroupTest, KindIsReadFromNamesInAnyCase)
{
    struct Case {
        const char *root;
        const char *child;
        const char *slot;
    };
    const Case cases[] = {
        {"anpr", "NEW", "new"},
        {"dgpr", "End", "end"},
        {"vehicle", "SPEED", "speed"},
        {"classification", "new", "new"},
        {"signature", "end", "end"},
        {"triggerAnswer", "new", "new"},
        {"ioState", "speed", "speed"},
        {"anpr", "decision", "decision"},
        {"dgpr", "decision_dg", "decision"},
        {"classification", "classification_decision", "decision"},
        {"vehicle", "anpr_decision", "decision"},
        {"signature", nullptr, "decision"},
        {"TRIGGERANSWER", nullptr, "triggerAnswer"},
        {"triggerresult", "decision", "triggerResult"},
        {"IOSTATE", "input", "ioState"},
    };
    for (const Case &c : cases) {
        RecognitionGroup group;
        const MsgPtr msg = message(c.root, c.child);
        ASSERT_TRUE(group.addMessage(msg.get(), t0));
        EXPECT_EQ(slotOf(group, msg.get()), c.slot) << c.root << "/" << (c.child ? c.child : "-");
    }
}

TEST(RecognitionGroupTest, PlateSourceFollowsTheStartAndTheDecisions)
{
    RecognitionGroup group(RecognitionGroup::PlateFromMaster);
    const MsgPtr start = passage("new", Fields().plateFrom("SLAVE"));
    const MsgPtr master = passage("decision", Fields().plateFrom("front"));
    const MsgPtr silent = passage("decision");
    EXPECT_EQ(group.plateFrom(), RecognitionGroup::PlateFromMaster);
    group.addMessage(start.get(), t0);
    EXPECT_EQ(group.plateFrom(), RecognitionGroup::PlateFromSlave);
    group.addMessage(master.get(), t0);
    EXPECT_EQ(group.plateFrom(), RecognitionGroup::PlateFromMaster);
    group.addMessage(silent.get(), t0);
    EXPECT_EQ(group.plateFrom(), RecognitionGroup::PlateFromMaster);
}

TEST(RecognitionGroupTest, FirstTimeAndSensorDateComeFromTheFirstDecisionElseResultStartOrEnd)
{
    const MsgPtr decision = passage("decision", Fields().date(BaseDate + 1));
    const MsgPtr result = triggerResult("1", Fields().date(BaseDate + 2));
    const MsgPtr start = passage("new", Fields().date(BaseDate + 3));
    const MsgPtr end = passage("end", Fields().date(BaseDate + 4));
    const MsgPtr undated = passage("decision");
    const MsgPtr answer = triggerAnswer("1", Fields().date(BaseDate + 5));
    const MsgPtr secondAnswer = triggerAnswer("1", Fields().date(BaseDate + 6));
    struct Case {
        std::vector<PXRMsg *> messages;
        QDateTime firstTime;
        qint64 sensorDateMs;
    };
    // Each message arrives at t0 plus its place in the list, in seconds.
    const Case cases[] = {
        {{}, QDateTime(), 0},
        {{answer.get(), secondAnswer.get()}, QDateTime(), 0},
        {{end.get()}, t0, BaseDate + 4},
        {{start.get(), end.get()}, t0, BaseDate + 3},
        {{start.get(), result.get()}, t0.addSecs(1), BaseDate + 2},
        {{start.get(), result.get(), decision.get()}, t0.addSecs(2), BaseDate + 1},
        {{start.get(), undated.get(), decision.get()}, t0.addSecs(1), 0},
    };
    for (const Case &c : cases) {
        RecognitionGroup group;
        for (size_t i = 0; i < c.messages.size(); ++i)
            ASSERT_TRUE(group.addMessage(c.messages[i], t0.addSecs(qint64(i))));
        EXPECT_EQ(group.firstTime().isValid(), c.firstTime.isValid()) << c.messages.size();
        if (c.firstTime.isValid()) {
            EXPECT_EQ(group.firstTime(), c.firstTime);
        }
        EXPECT_EQ(group.sensorDateMs(), c.sensorDateMs);
    }
}

TEST(RecognitionGroupTest, AllMessagesListsTriggersThenThePassageWithoutSpeedOrIoState)
{
    RecognitionGroup group;
    const MsgPtr start = passage("new"), first = passage("decision"), second = message("dgpr", "decision_dg");
    const MsgPtr speed = passage("speed"), io = ioState(), result = triggerResult("2");
    const MsgPtr on = triggerAnswer("2"), off = triggerAnswer("2"), end = passage("end");
    for (const MsgPtr *msg : {&start, &first, &second, &speed, &io, &result, &on, &off, &end})
        ASSERT_TRUE(group.addMessage(msg->get(), t0));
    EXPECT_EQ(group.allMessages(),
              (QList<PXRMsg *>{on.get(), result.get(), off.get(), start.get(), first.get(), second.get(), end.get()}));
    EXPECT_EQ(group.lastDecision(), second.get());
}

TEST(RecognitionGroupTest, MessagesBetweenTakeTheirSensorDateFromInclusiveToExclusive)
{
    RecognitionGroup group;
    const MsgPtr start = passage("new", Fields().date(BaseDate + 1000));
    const MsgPtr first = passage("decision", Fields().date(BaseDate + 1500));
    const MsgPtr undated = passage("decision");
    const MsgPtr speed = passage("speed", Fields().date(BaseDate + 1600));
    const MsgPtr end = passage("end", Fields().date(BaseDate + 2500));
    const MsgPtr result = triggerResult("1", Fields().date(BaseDate + 1500));
    for (const MsgPtr *msg : {&start, &first, &undated, &speed, &end, &result})
        ASSERT_TRUE(group.addMessage(msg->get(), t0));

    struct Case {
        QDateTime from;
        QDateTime to;
        QList<PXRMsg *> expected;
    };
    const Case cases[] = {
        {at(BaseDate + 1000), at(BaseDate + 2500), {start.get(), first.get(), speed.get()}},
        {at(BaseDate + 1001), at(BaseDate + 2501), {first.get(), speed.get(), end.get()}},
        {at(BaseDate + 1500), at(BaseDate + 1501), {first.get()}},
        {QDateTime(), at(BaseDate + 1600), {start.get(), first.get()}},
        {at(BaseDate), QDateTime(), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(group.messagesBetween(c.from, c.to), c.expected) << c.from.toString().toStdString() << " " << c.to.toString().toStdString();
}

TEST(RecognitionGroupTest, DecisionAtSpansThePassageWithBothEndsIncluded)
{
    const MsgPtr start = passage("new", Fields().date(BaseDate + 1000));
    const MsgPtr first = passage("decision", Fields().date(BaseDate + 1200));
    const MsgPtr last = passage("decision", Fields().date(BaseDate + 1300));
    const MsgPtr end = passage("end", Fields().date(BaseDate + 2000));
    struct Case {
        std::vector<PXRMsg *> messages;
        qint64 inside[2];
        qint64 outside[2];
    };
    const Case cases[] = {
        {{start.get(), first.get(), last.get(), end.get()}, {1000, 2000}, {999, 2001}},
        {{first.get(), last.get()}, {1200, 1300}, {1199, 1301}},
        {{start.get(), first.get(), last.get()}, {1000, 1300}, {999, 1301}},
    };
    for (const Case &c : cases) {
        RecognitionGroup group;
        for (PXRMsg *msg : c.messages)
            ASSERT_TRUE(group.addMessage(msg, t0));
        for (qint64 offset : c.inside)
            EXPECT_EQ(group.decisionAt(at(BaseDate + offset)), first.get()) << offset;
        for (qint64 offset : c.outside)
            EXPECT_EQ(group.decisionAt(at(BaseDate + offset)), nullptr) << offset;
    }

    RecognitionGroup noDecision;
    noDecision.addMessage(start.get(), t0);
    noDecision.addMessage(end.get(), t0);
    EXPECT_EQ(noDecision.decisionAt(at(BaseDate + 1500)), nullptr);
}

TEST(RecognitionGroupTest, TimeOfGivesTheReceiveTimeOfEachHeldMessage)
{
    RecognitionGroup group;
    const MsgPtr start = passage("new"), first = passage("decision"), second = passage("decision");
    const MsgPtr speed = passage("speed"), end = passage("end"), io = ioState();
    const MsgPtr on = triggerAnswer("1"), off = triggerAnswer("1"), result = triggerResult("1");
    const MsgPtr *all[] = {&start, &first, &second, &speed, &end, &io, &on, &off, &result};
    for (size_t i = 0; i < std::size(all); ++i)
        ASSERT_TRUE(group.addMessage(all[i]->get(), t0.addMSecs(qint64(i))));
    for (size_t i = 0; i < std::size(all); ++i)
        EXPECT_EQ(group.timeOf(all[i]->get()), t0.addMSecs(qint64(i))) << i;
    const MsgPtr stranger = passage("decision");
    EXPECT_FALSE(group.timeOf(stranger.get()).isValid());
    EXPECT_FALSE(group.timeOf(nullptr).isValid());
}

TEST(RecognitionGroupTest, IdsFollowOneCounterAndCopiesKeepTheirIdAndOrderByCreation)
{
    const RecognitionGroup older(0, t0.addSecs(5));
    const RecognitionGroup newer(0, t0);
    EXPECT_EQ(newer.id(), older.id() + 1);
    const RecognitionGroup copy = older;
    EXPECT_EQ(copy.id(), older.id());
    EXPECT_EQ(copy.creationTime(), t0.addSecs(5));
    QList<RecognitionGroup> sorted{older, newer};
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted.first().id(), newer.id());
}

TEST(RecognitionGroupTest, EveryCopyHoldsOneReferenceOnEveryMessageAndReleasesIt)
{
    const MsgPtr start = passage("new"), first = passage("decision"), second = passage("decision");
    const MsgPtr speed = passage("speed"), end = passage("end"), io = ioState();
    const MsgPtr on = triggerAnswer("1"), off = triggerAnswer("1"), result = triggerResult("1");
    const MsgPtr *all[] = {&start, &first, &second, &speed, &end, &io, &on, &off, &result};
    const auto expectHolders = [&](int count) {
        for (const MsgPtr *msg : all)
            EXPECT_EQ(holders(msg->get()), count) << PXRMsgElementName(PXRMsgChild(msg->get()));
    };

    auto group = std::make_unique<RecognitionGroup>();
    for (const MsgPtr *msg : all)
        ASSERT_TRUE(group->addMessage(msg->get(), t0));
    expectHolders(2);
    {
        const RecognitionGroup copy = *group;
        RecognitionGroup assigned;
        assigned = copy;
        expectHolders(4);
        group.reset();
        expectHolders(3);
        EXPECT_EQ(copy.allMessages().size(), 7) << "the copy's messages outlive the original";
    }
    expectHolders(1);
}

TEST(RecognitionGroupTest, WritableMessageIsHeldAsAReadOnlyCopy)
{
    MsgPtr writable(PXRMsgCreate());
    PXRMsgSetChild(writable.get(), PXRMsgElementCreate("anpr"));
    PXRMsgElementAddChild(PXRMsgChild(writable.get()), PXRMsgElementCreate("new"));
    RecognitionGroup group;
    ASSERT_TRUE(group.addMessage(writable.get(), t0));
    ASSERT_NE(group.newMessage(), nullptr);
    EXPECT_NE(group.newMessage(), writable.get());
    EXPECT_TRUE(PXRMsgIsReadOnly(group.newMessage()));
    EXPECT_FALSE(PXRMsgIsReadOnly(writable.get())) << "the caller's message stays the caller's";
    EXPECT_EQ(group.timeOf(group.newMessage()), t0);
}

TEST(RecognitionGroupTest, MessageWithoutRootIsRefused)
{
    const MsgPtr empty(PXRMsgCreate());
    RecognitionGroup group;
    EXPECT_FALSE(group.addMessage(empty.get(), t0));
    EXPECT_FALSE(group.addMessage(nullptr, t0));
    EXPECT_TRUE(group.allMessages().isEmpty());
}
