// The "Detections" page: lines newest on top and refilled in place, deleted groups' lines gone,
// the Clear List link live and in replay, time links switched off as groups leave the video
// buffer, the statistics rows, and the links reaching the detail window and the video panel.
#include "DialogRecognitionGroup.h"
#include "RecognitionPageSupport.h"
#include "TestPictures.h"
#include "VideoTestSupport.h"
#include "VideoPlayer.h"
#include "WidgetRecognitionPreview.h"
#include "WidgetRecognitions.h"
#include "WidgetVideoPlayer.h"

#include <QLabel>
#include <QScrollArea>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace recotest;

namespace {

Node anpr(const char *child, int session)
{
    return Node("anpr").set("session", std::to_string(session)).add(Node(child));
}

Node plate(const char *text, int session, const char *reliability = "90", const char *width = "120",
           const char *sinus = "0.01", const char *occurrences = "6")
{
    return Node("anpr").set("session", std::to_string(session)).set("plateFrom", "master").add(
        Node("decision").set("plate", text).set("context", "F").set("reliability", reliability)
            .set("width", width).set("height", "30").set("sinus", sinus).set("plateOccurences", occurrences));
}

class RecognitionsPageTest : public RecognitionPageTest
{
protected:
    void SetUp() override
    {
        RecognitionPageTest::SetUp();
        page = std::make_unique<WidgetRecognitions>();
        for (RecognitionManager *manager : {&master(), &slave()}) {
            QObject::connect(manager, &RecognitionManager::recognitionGroupChanged, page.get(),
                             &WidgetRecognitions::onRecognitionGroupChanged);
            QObject::connect(manager, &RecognitionManager::recognitionGroupsdeleted, page.get(),
                             &WidgetRecognitions::onRecognitionGroupsdeleted);
        }
        page->clear();
    }
    void TearDown() override
    {
        page.reset();
        VideoPlayer &player = Model::instance()->masterPlayer();
        player.goLive();
        player.reset();
        player.setClock({});
        player.setCameraId(-1);
        RecognitionPageTest::TearDown();
    }

    // A passage with one decision, its group created now; the clock then moves a second on.
    quint32 passage(const char *text, int session, RecognitionManager &manager = master())
    {
        const quint32 id = feed(anpr("new", session), manager);
        feed(plate(text, session), manager);
        now = now.addSecs(1);
        return id;
    }
    // Ten pictures of camera 1 in the master player's live buffer, dated 40 ms apart from the
    // video tests' base date.
    VideoPlayer &bufferVideo()
    {
        VideoPlayer &player = Model::instance()->masterPlayer();
        player.setClock([this] { return now; });
        player.setCameraId(1);
        const auto video = videotest::clipMessages(videotest::clip(testclips::Codec::H264, 10), videotest::BaseDate);
        for (const videotest::MsgPtr &message : video)
            player.onVideoMessage(message.get());
        return player;
    }
    // The lines from top to bottom.
    QList<WidgetRecognitionPreview *> lines() const
    {
        QList<WidgetRecognitionPreview *> found;
        QLayout *layout = page->findChild<QScrollArea *>("scrollArea")->widget()->layout();
        for (int i = 0; i < layout->count(); ++i) {
            if (auto *line = qobject_cast<WidgetRecognitionPreview *>(layout->itemAt(i)->widget()))
                found.append(line);
        }
        EXPECT_EQ(layout->itemAt(layout->count() - 1)->spacerItem() != nullptr, true) << "spacer stays last";
        return found;
    }
    static QString description(WidgetRecognitionPreview *line)
    {
        return line->findChild<QLabel *>("labelDescription")->text();
    }
    QStringList plates() const
    {
        QStringList texts;
        for (WidgetRecognitionPreview *line : lines()) {
            const QString text = description(line);
            texts.append(text.section("] ", 1, 1).section(" (", 0, 0));
        }
        return texts;
    }
    QTreeWidget *stats() const { return page->findChild<QTreeWidget *>("treeStat"); }

    std::unique_ptr<WidgetRecognitions> page;
};

TEST_F(RecognitionsPageTest, LinesArriveNewestOnTopAndAreRefilledInPlace)
{
    const quint32 first = passage("AA11", 1);
    passage("BB22", 2);
    passage("CC33", 3);
    EXPECT_EQ(plates(), QStringList({"CC33", "BB22", "AA11"}));
    feed(plate("AA12", 1));
    ASSERT_EQ(lines().size(), 3);
    EXPECT_TRUE(description(lines().at(2)).contains("AA12"));
    EXPECT_NE(lines().at(0)->backgroundRole(), lines().at(1)->backgroundRole());

    master().purgeBefore(now.addSecs(-1));
    EXPECT_EQ(plates(), QStringList({"CC33"}));
    page->clear();
    EXPECT_TRUE(lines().isEmpty());
    feed(plate("CC34", 3));
    EXPECT_EQ(lines().size(), 1) << "the managers kept the group";
    EXPECT_NE(first, 0u);
}

TEST_F(RecognitionsPageTest, ClearListEmptiesLiveAndKeepsTheReplayedGroupsOnce)
{
    passage("AA11", 1);
    passage("BB22", 2);
    passage("SL1", 9, slave());
    emit page->findChild<QLabel *>("labelClear")->linkActivated("foo");
    EXPECT_TRUE(lines().isEmpty());

    const QDateTime from = now;
    passage("CC33", 3);
    passage("DD44", 4);
    master().setProtectedRange(from, now.addMSecs(-500));
    passage("EE55", 5);
    emit page->findChild<QLabel *>("labelClear")->linkActivated("foo");
    EXPECT_EQ(plates(), QStringList({"DD44", "CC33"}));
}

TEST_F(RecognitionsPageTest, GroupsAnnouncedDuringReplayAreViewableOnlyInsideTheBuffer)
{
    VideoPlayer &player = bufferVideo();
    player.pause();
    ASSERT_EQ(player.state(), VideoPlayer::Paused);
    now = at(videotest::BaseDate + 100);
    passage("IN1", 1);
    now = at(videotest::BaseDate + 5000);
    passage("OUT2", 2);
    ASSERT_EQ(lines().size(), 2);
    EXPECT_FALSE(description(lines().at(0)).contains("<a href="));
    EXPECT_TRUE(description(lines().at(1)).startsWith("<a href="));
    page->updateViewLinks();
    EXPECT_TRUE(description(lines().at(1)).startsWith("<a href=")) << "only live lines are switched";
}

TEST_F(RecognitionsPageTest, TimeLinkSeeksTheVideoPanelWhenThereIsOne)
{
    VideoPlayer &player = bufferVideo();
    passage("AA11", 1);
    QLabel *times = lines().at(0)->findChild<QLabel *>("labelDescription");
    const QString target = QString::number(videotest::BaseDate + 200);
    emit times->linkActivated(target);
    EXPECT_EQ(player.state(), VideoPlayer::Live);

    WidgetVideoPlayer panel;
    page->setVideoPlayer(&panel);
    emit times->linkActivated(target);
    EXPECT_EQ(player.state(), VideoPlayer::Paused);
    EXPECT_EQ(player.currentTime(), at(videotest::BaseDate + 200));
}

TEST_F(RecognitionsPageTest, TimeLinksSwitchOffOnceTheGroupLeavesTheVideoBuffer)
{
    AppSettings().setVideoBufferDurationMs(10000);
    passage("AA11", 1);
    ASSERT_EQ(lines().size(), 1);
    WidgetRecognitionPreview *line = lines().at(0);
    EXPECT_TRUE(description(line).startsWith("<a href="));
    now = now.addSecs(8);
    page->updateViewLinks();
    EXPECT_TRUE(description(line).startsWith("<a href="));
    now = now.addSecs(3);
    page->updateViewLinks();
    EXPECT_FALSE(description(line).contains("<a href="));
    EXPECT_TRUE(line->findChild<QLabel *>("labelViewInPlayer")->text().startsWith("<a href="));

    emit line->findChild<QLabel *>("labelViewInPlayer")->linkActivated(QString::number(master().groups().at(0).id()));
    EXPECT_TRUE(page->dialog()->isVisible());
    EXPECT_EQ(page->dialog()->findChild<QTreeWidget *>("treeReco")->topLevelItemCount(), 2);
    page->clear();
    EXPECT_FALSE(page->dialog()->isVisible());
    EXPECT_EQ(page->dialog()->findChild<QTreeWidget *>("treeReco")->topLevelItemCount(), 0);
}

TEST_F(RecognitionsPageTest, StatisticsShowFourAveragesWithTheOutOfRangeOneInRed)
{
    page->updateStats();
    EXPECT_EQ(stats()->topLevelItemCount(), 0);
    EXPECT_EQ(stats()->headerItem()->text(2), "Acceptable Range");
    feed(anpr("new", 1));
    feed(plate("", 1));
    page->updateStats();
    EXPECT_EQ(stats()->topLevelItemCount(), 0) << "a decision without plate does not count";

    // Reliability 79.9 is out of range; width 100, angle 2 and occurrences 100 sit on their limits.
    feed(anpr("new", 2));
    for (const char *reliability : {"80", "80", "80", "80", "80", "80", "80", "80", "80", "79"})
        feed(plate("AA11", 2, reliability, "100", "0.0348994", "100"));
    page->updateStats();
    ASSERT_EQ(stats()->topLevelItemCount(), 4);
    const struct {
        QString caption, value, range;
        QColor colour;
    } rows[] = {{"Reliability", "79.9", "80-100", Qt::red},
                {"Plate width", "100.0", "100-160", Qt::black},
                {"Plate angle", "2.0", "0-2", Qt::black},
                {"Plate occurence", "100.0", "4-100", Qt::black}};
    for (int row = 0; row < 4; ++row) {
        QTreeWidgetItem *item = stats()->topLevelItem(row);
        EXPECT_EQ(item->text(0), rows[row].caption);
        EXPECT_EQ(item->text(1), rows[row].value);
        EXPECT_EQ(item->text(2), rows[row].range);
        EXPECT_EQ(item->foreground(1).color(), rows[row].colour) << row;
    }
    page->resize(420, 520);
    keepPicture(*page, "recognitions_page");
    master().clear();
    page->updateStats();
    EXPECT_EQ(stats()->topLevelItemCount(), 0);
}

} // namespace
