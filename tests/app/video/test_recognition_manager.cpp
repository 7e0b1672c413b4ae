// The recognition manager: plates decrypted before grouping, which group each message joins
// (triggers by their id, passages never into trigger or I/O groups), one announcement per
// message, purge and cap with their announcements, clear, the decision of a time or of now, and
// the references that copies hold on their way through queued signals.
#include "CoreTestSupport.h"
#include "RecognitionManager.h"
#include "RecognitionTestSupport.h"

#include <gtest/gtest.h>

using namespace recotest;

namespace {

class RecognitionManagerTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        manager.setClock([this] { return now; });
        QObject::connect(&manager, &RecognitionManager::recognitionGroupChanged,
                         [this](const RecognitionGroup &group) { changed.append(group); });
        QObject::connect(&manager, &RecognitionManager::recognitionGroupsdeleted,
                         [this](const QList<quint32> &ids) { deleted.append(ids); });
    }

    // Hands the message over at the clock's time; returns the id of the one group announced for
    // it, 0 when none was.
    quint32 feed(const MsgPtr &msg)
    {
        const qsizetype mark = changed.size();
        manager.onMessage(msg.get(), now);
        EXPECT_LE(changed.size(), mark + 1) << "one announcement per message";
        return changed.size() > mark ? changed.last().id() : 0;
    }

    // A new group created at the clock's time, then the clock moves on by the step.
    quint32 groupAt(qint64 stepMs = 1000)
    {
        const MsgPtr start = passage("new");
        const quint32 id = feed(start);
        now = now.addMSecs(stepMs);
        return id;
    }

    QList<quint32> heldIds() const
    {
        QList<quint32> ids;
        for (const RecognitionGroup &group : manager.groups())
            ids.append(group.id());
        return ids;
    }

    QDateTime now = at(BaseDate);
    RecognitionManager manager;
    QList<RecognitionGroup> changed;
    QList<QList<quint32>> deleted;
};

} // namespace

TEST_F(RecognitionManagerTest, PlatesAreDecryptedBeforeGroupingWithCryptedWithoutKey)
{
    const CryptedPlate plate = encryptWithTestKey("AB-123-CD");
    FakeMainWindow window(false);
    const MsgPtr withoutKey = passage("decision", Fields().child("plateCrypted", plate.crypted));
    ASSERT_NE(feed(withoutKey), 0u);
    EXPECT_STREQ(decisionAttribute(changed.last().lastDecision(), "plate"), "[Crypted]");

    ASSERT_TRUE(PXRPToolPlateDecryptorSetKey(window.decryptor, plate.pem.constData(), uint32_t(plate.pem.size()),
                                             nullptr));
    const MsgPtr withKey = passage("decision", Fields().child("plateCrypted", plate.crypted));
    const MsgPtr clear = passage("decision", Fields().child("plate", "XY-987-ZT").child("plateCrypted", "bad"));
    feed(withKey);
    feed(clear);
    const QList<PXRMsg *> decisions = changed.last().decisions();
    ASSERT_EQ(decisions.size(), 3);
    EXPECT_STREQ(decisionAttribute(decisions[1], "plate"), "AB-123-CD");
    EXPECT_STREQ(decisionAttribute(decisions[2], "plate"), "XY-987-ZT");
    EXPECT_EQ(decisions[1], withKey.get()) << "the received message itself is decrypted and shared";
    EXPECT_TRUE(PXRMsgIsReadOnly(withKey.get()));
}

TEST_F(RecognitionManagerTest, TriggerMessagesJoinTheTriggeredGroupOfTheirIdOnly)
{
    const MsgPtr on7 = triggerAnswer("7");
    const MsgPtr start = passage("new");
    const MsgPtr on8 = triggerAnswer("8");
    const MsgPtr result7 = triggerResult("7");
    const MsgPtr off7 = triggerAnswer("7");
    const MsgPtr on9 = triggerAnswer("9");

    const quint32 group7 = feed(on7);
    const quint32 passageGroup = feed(start);
    const quint32 group8 = feed(on8);
    EXPECT_EQ(feed(result7), group7);
    EXPECT_EQ(feed(off7), group7);
    const quint32 group9 = feed(on9);
    EXPECT_EQ(heldIds(), (QList<quint32>{group7, passageGroup, group8, group9}))
        << "a trigger answer never joins the untriggered group";

    const RecognitionGroup *triggered = manager.groupById(group7);
    ASSERT_NE(triggered, nullptr);
    EXPECT_EQ(triggered->triggerAnswer(), on7.get());
    EXPECT_EQ(triggered->triggerResult(), result7.get());
    EXPECT_EQ(triggered->secondTriggerAnswer(), off7.get());
}

TEST_F(RecognitionManagerTest, TriggerMessageWithoutIdIsDroppedWithoutSignal)
{
    feed(triggerAnswer("1"));
    for (const MsgPtr &msg : {triggerAnswer(std::nullopt), triggerResult(std::nullopt), message("triggerOff", nullptr)}) {
        EXPECT_EQ(feed(msg), 0u);
        EXPECT_EQ(holders(msg.get()), 1);
    }
    EXPECT_EQ(manager.groups().size(), 1);
}

TEST_F(RecognitionManagerTest, PassageMessagesSkipTriggeredGroupsAndOpenANewGroupWhenRefused)
{
    const quint32 first = feed(passage("new", Fields().session("1")));
    const quint32 triggered = feed(triggerResult("4"));
    EXPECT_EQ(feed(passage("decision", Fields().session("1"))), first) << "skips the triggered group";
    const quint32 second = feed(passage("new", Fields().session("2")));
    EXPECT_NE(second, first);
    EXPECT_EQ(feed(passage("end", Fields().session("2"))), second);
    EXPECT_EQ(feed(passage("decision", Fields().session("1"))), first)
        << "the newest group has its end: the newest older one that accepts takes it";
    const quint32 third = feed(passage("decision", Fields().session("2")));
    EXPECT_EQ(heldIds(), (QList<quint32>{first, triggered, second, third}));
    EXPECT_FALSE(manager.groupById(triggered)->lastDecision());
}

TEST_F(RecognitionManagerTest, FirstStartAfterCompletePassagesOpensANewGroup)
{
    const quint32 first = feed(passage("new"));
    feed(passage("decision"));
    feed(passage("end"));
    const quint32 second = feed(passage("new"));
    EXPECT_NE(second, first);
    EXPECT_EQ(feed(passage("decision")), second);
    EXPECT_EQ(manager.groups().size(), 2);
}

TEST_F(RecognitionManagerTest, IoStateGroupsTakeNoPassageMessage)
{
    const quint32 passageGroup = feed(passage("new"));
    const quint32 io = feed(ioState());
    EXPECT_NE(io, passageGroup);
    EXPECT_EQ(feed(passage("decision")), passageGroup) << "the plate read stays with its passage";
    EXPECT_EQ(feed(passage("end")), passageGroup);

    const quint32 secondIo = feed(ioState());
    EXPECT_NE(secondIo, io) << "every I/O change opens its own group";
    const quint32 lone = feed(passage("decision"));
    EXPECT_EQ(heldIds(), (QList<quint32>{passageGroup, io, secondIo, lone}));
    EXPECT_TRUE(manager.groupById(io)->decisions().isEmpty());
    EXPECT_TRUE(manager.groupById(secondIo)->decisions().isEmpty());
}

TEST_F(RecognitionManagerTest, EveryHandledMessageIsAnnouncedOnceWithItsGroup)
{
    const MsgPtr messages[] = {passage("new"),  triggerAnswer("3"),      ioState(),        passage("decision"),
                               passage("speed"), triggerResult("3"),     message("dgpr", "decision_dg"),
                               passage("end"),   triggerAnswer(std::nullopt), passage("new")};
    for (const MsgPtr &msg : messages)
        feed(msg);
    ASSERT_EQ(changed.size(), qsizetype(std::size(messages)) - 1);
    for (const RecognitionGroup &group : changed) {
        const RecognitionGroup *held = manager.groupById(group.id());
        ASSERT_NE(held, nullptr);
        EXPECT_EQ(group.creationTime(), held->creationTime());
    }
    EXPECT_EQ(changed[3].lastDecision(), messages[3].get()) << "the copy shows the message just added";
    EXPECT_TRUE(deleted.isEmpty());
}

TEST_F(RecognitionManagerTest, PurgeDeletesOldGroupsOutsideTheInclusiveProtectedRangeNewestFirst)
{
    struct Case {
        const char *name;
        std::function<void(RecognitionManager &, const QDateTime &)> protect;
        QList<int> purged;  // indexes of the groups, newest first
    };
    const Case cases[] = {
        {"unset", [](RecognitionManager &, const QDateTime &) {}, {3, 2, 1, 0}},
        {"cleared", [](RecognitionManager &m, const QDateTime &) { m.clearProtectedRange(); }, {3, 2, 1, 0}},
        {"ends on groups",
         [](RecognitionManager &m, const QDateTime &t) { m.setProtectedRange(t.addSecs(1), t.addSecs(2)); },
         {3, 0}},
        {"open start",
         [](RecognitionManager &m, const QDateTime &t) { m.setProtectedRange(QDateTime(), t.addSecs(1)); }, {3, 2}},
        {"open end",
         [](RecognitionManager &m, const QDateTime &t) { m.setProtectedRange(t.addSecs(1), QDateTime()); },
         {3, 2, 1, 0}},
    };
    for (const Case &c : cases) {
        manager.clear();
        const QDateTime first = now;
        QList<quint32> ids;
        for (int i = 0; i < 4; ++i)
            ids.append(groupAt());
        c.protect(manager, first);
        deleted.clear();
        manager.purgeBefore(now);
        QList<quint32> expected;
        for (int index : c.purged)
            expected.append(ids[index]);
        EXPECT_EQ(deleted, QList<QList<quint32>>{expected}) << c.name;

        manager.purgeBefore(now);
        EXPECT_EQ(deleted.last(), QList<quint32>{}) << c.name << ": announced, with nothing deleted";
    }
}

TEST_F(RecognitionManagerTest, PurgeOfTheMainWindowDeletesGroupsOlderThanHalfAnHourUnlessUnderReview)
{
    const QDateTime old = now;
    const quint32 reviewed = groupAt(1);
    const quint32 expired = groupAt(1799999);
    const quint32 kept = groupAt(60000);
    manager.setProtectedRange(old, old);
    manager.purgeBefore(manager.now().addSecs(-RecognitionManager::GroupLifetimeSeconds));
    EXPECT_EQ(deleted.last(), QList<quint32>{expired});
    EXPECT_EQ(heldIds(), (QList<quint32>{reviewed, kept}));
    manager.purgeBefore(QDateTime());
    EXPECT_EQ(deleted.last(), QList<quint32>{}) << "nothing is created before an unset limit";
}

TEST_F(RecognitionManagerTest, CapKeepsTheNewestHundredAndAnnouncesTheOthersOldestFirst)
{
    QList<quint32> ids;
    for (int i = 0; i < RecognitionManager::MaxGroups + 3; ++i)
        ids.append(groupAt(1));
    manager.setProtectedRange(at(0), now);
    manager.limitCount();
    EXPECT_EQ(deleted, QList<QList<quint32>>{ids.mid(0, 3)}) << "the protected range does not apply";
    EXPECT_EQ(heldIds(), ids.mid(3));

    manager.limitCount();
    EXPECT_EQ(deleted.size(), 2);
    EXPECT_EQ(deleted.last(), QList<quint32>{});
}

TEST_F(RecognitionManagerTest, ClearDeletesEveryGroupSilentlyAndUnprotects)
{
    const QDateTime first = now;
    groupAt();
    groupAt();
    manager.setProtectedRange(first, now);
    const qsizetype announced = changed.size();
    manager.clear();
    EXPECT_TRUE(manager.groups().isEmpty());
    EXPECT_EQ(changed.size(), announced);
    EXPECT_TRUE(deleted.isEmpty());

    const quint32 id = groupAt();
    manager.purgeBefore(now);
    EXPECT_EQ(deleted.last(), QList<quint32>{id}) << "clear left no range protecting new groups";
}

TEST_F(RecognitionManagerTest, DecisionAtFindsTheOldestSpanningGroupWithItsSpeed)
{
    const MsgPtr speed = passage("speed");
    const MsgPtr firstDecision = passage("decision", Fields().date(BaseDate + 1100));
    const MsgPtr secondDecision = passage("decision", Fields().date(BaseDate + 3100));
    feed(passage("new", Fields().date(BaseDate + 1000)));
    feed(firstDecision);
    feed(speed);
    feed(passage("end", Fields().date(BaseDate + 2000)));
    feed(passage("new", Fields().date(BaseDate + 2000)));
    feed(secondDecision);
    feed(passage("end", Fields().date(BaseDate + 4000)));

    PXRMsg *found = nullptr;
    EXPECT_EQ(manager.decisionAt(at(BaseDate + 2000), &found), firstDecision.get()) << "the oldest group decides";
    EXPECT_EQ(found, speed.get());
    PXRMsg *untouched = reinterpret_cast<PXRMsg *>(&found);
    EXPECT_EQ(manager.decisionAt(at(BaseDate + 4000), &untouched), secondDecision.get());
    EXPECT_EQ(untouched, reinterpret_cast<PXRMsg *>(&found)) << "a group without speed leaves the caller's";
    EXPECT_EQ(manager.decisionAt(at(BaseDate + 4001)), nullptr);
}

TEST_F(RecognitionManagerTest, LastDecisionLooksBackThirtySecondsOnly)
{
    const MsgPtr speed = passage("speed");
    const MsgPtr early = passage("decision");
    const MsgPtr late = passage("decision");
    const QDateTime start = now;
    feed(passage("new", Fields().session("1")));
    feed(early);
    feed(late);
    feed(speed);
    now = now.addSecs(10);
    feed(ioState());
    feed(passage("new", Fields().session("2")));

    now = start.addSecs(RecognitionManager::LastDecisionSeconds);
    PXRMsg *found = nullptr;
    EXPECT_EQ(manager.lastDecision(&found), late.get()) << "newer groups without decision are passed over";
    EXPECT_EQ(found, speed.get());

    now = now.addMSecs(1);
    EXPECT_EQ(manager.lastDecision(), nullptr) << "the group with decisions is now older than 30 s";
    feed(passage("decision", Fields().session("3")));
    EXPECT_NE(manager.lastDecision(), nullptr);
}

TEST_F(RecognitionManagerTest, StatisticsAndMessagesBetweenWalkGroupsOldestFirst)
{
    const MsgPtr a = passage("decision", Fields().session("1").date(BaseDate + 10));
    const MsgPtr b = passage("decision", Fields().session("2").date(BaseDate + 20));
    const MsgPtr c = passage("decision", Fields().session("1").date(BaseDate + 30));
    const MsgPtr start = passage("new", Fields().session("1").date(BaseDate + 5));
    const MsgPtr other = passage("new", Fields().session("2").date(BaseDate + 15));
    for (const MsgPtr *msg : {&start, &a, &other, &b, &c})
        feed(*msg);
    QList<PXRMsg *> offered;
    manager.accumulateStats([&offered](PXRMsg *decision) { offered.append(decision); });
    EXPECT_EQ(offered, (QList<PXRMsg *>{a.get(), c.get(), b.get()}));
    EXPECT_EQ(manager.messagesBetween(at(BaseDate + 10), at(BaseDate + 30)),
              (QList<PXRMsg *>{a.get(), other.get(), b.get()}));
}

TEST_F(RecognitionManagerTest, GroupByIdReadsTheHeldGroupInPlace)
{
    const quint32 id = feed(passage("new"));
    const RecognitionGroup *group = manager.groupById(id);
    ASSERT_NE(group, nullptr);
    const MsgPtr decision = passage("decision");
    feed(decision);
    EXPECT_EQ(group->lastDecision(), decision.get());
    EXPECT_EQ(manager.groupById(id + 1000), nullptr);
    manager.purgeBefore(now.addSecs(1));
    EXPECT_EQ(manager.groupById(id), nullptr);
}

TEST_F(RecognitionManagerTest, AnnouncedGroupStaysReadableWhenAnEarlierReceiverDeletesIt)
{
    QObject::connect(&manager, &RecognitionManager::recognitionGroupChanged, [this] { manager.clear(); });
    qsizetype seen = 0;
    QObject::connect(&manager, &RecognitionManager::recognitionGroupChanged,
                     [&seen](const RecognitionGroup &group) { seen = group.allMessages().size(); });
    const MsgPtr start = passage("new");
    feed(start);
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(manager.groups().isEmpty());
}

TEST_F(RecognitionManagerTest, MessagesWithoutRootAreIgnored)
{
    const MsgPtr empty(PXRMsgCreate());
    EXPECT_EQ(feed(empty), 0u);
    manager.onMessage(nullptr, now);
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_TRUE(manager.groups().isEmpty());
}

// Copies queued to a receiver hold their own references until the receiver drops them, even once
// the manager has deleted its groups.
TEST_F(RecognitionManagerTest, QueuedCopiesHoldExactReferences)
{
    changed.clear();
    QObject receiver;
    QList<RecognitionGroup> received;
    QObject::connect(
        &manager, &RecognitionManager::recognitionGroupChanged, &receiver,
        [&received](const RecognitionGroup &group) { received.append(group); }, Qt::QueuedConnection);
    QList<QList<quint32>> receivedIds;
    QObject::connect(
        &manager, &RecognitionManager::recognitionGroupsdeleted, &receiver,
        [&receivedIds](const QList<quint32> &ids) { receivedIds.append(ids); }, Qt::QueuedConnection);

    const MsgPtr start = passage("new");
    const MsgPtr decision = passage("decision");
    feed(start);
    feed(decision);
    changed.clear();
    EXPECT_EQ(holders(start.get()), 1 + 1 + 2) << "the test, the manager and two queued copies";
    EXPECT_EQ(holders(decision.get()), 1 + 1 + 1);

    manager.purgeBefore(now.addSecs(1));
    EXPECT_EQ(holders(start.get()), 1 + 2);
    ASSERT_TRUE(waitUntil([&] { return received.size() == 2 && receivedIds.size() == 1; }));
    EXPECT_EQ(received.last().lastDecision(), decision.get());
    EXPECT_EQ(receivedIds.first(), QList<quint32>{received.first().id()});
    EXPECT_EQ(holders(start.get()), 1 + 2);

    const QList<RecognitionGroup> copies = received;
    EXPECT_EQ(holders(start.get()), 1 + 2) << "a list copy shares its elements";
    received.clear();
    EXPECT_EQ(holders(start.get()), 1 + 2);
    RecognitionGroup own = copies.first();
    EXPECT_EQ(holders(start.get()), 1 + 3);
}

TEST_F(RecognitionManagerTest, GroupsAreCopiesSharingTheMessages)
{
    const MsgPtr start = passage("new");
    feed(start);
    changed.clear();
    {
        const QList<RecognitionGroup> groups = manager.groups();
        EXPECT_EQ(holders(start.get()), 3);
    }
    EXPECT_EQ(holders(start.get()), 2);
    manager.clear();
    EXPECT_EQ(holders(start.get()), 1);
}
