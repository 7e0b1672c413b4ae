// The statistics window: the model's graph kept current while visible, closing only hides it.
#include "DialogStats.h"
#include "ModelTestSupport.h"
#include "TestPictures.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QSignalSpy>

#include <cmath>

class DialogStatsTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        action = new QAction("Statistics", &mainWindow);
        action->setObjectName("actionViewStats");
        action->setCheckable(true);
        dialog = new DialogStats(&mainWindow);
        QObject::connect(action, &QAction::toggled, dialog, &QWidget::setVisible);
    }

    // Video blocks of a steady 25 frames a second with a key frame every 25, and one late block.
    void feedVideo(int blocks)
    {
        const qint64 base = 1700000000000;
        for (int i = 0; i < blocks; ++i) {
            const int size = i % 25 == 0 ? 18000 : 4000 + int(1500 * std::sin(i / 5.0));
            model->addVideoSample(quint32(size), base + 40 * i + (i >= 120 ? 180 : 0));
        }
    }

    const QLabel *image() const { return dialog->findChild<QLabel *>("labelImage"); }

    QMainWindow mainWindow;
    QAction *action = nullptr;
    DialogStats *dialog = nullptr;
};

TEST_F(DialogStatsTest, HiddenWindowDrawsNothingAndShownOneDrawsWithinATick)
{
    feedVideo(10);
    dialog->onTimeout();
    EXPECT_TRUE(image()->pixmap().isNull());

    action->setChecked(true);
    ASSERT_TRUE(dialog->isVisible());
    ASSERT_TRUE(waitUntil([&] { return !image()->pixmap().isNull(); }));
    EXPECT_EQ(image()->pixmap().size(), QSize(40, 300));
}

TEST_F(DialogStatsTest, ClosingHidesTheWindowAndUnticksTheActionWithoutRunningIt)
{
    action->setChecked(true);
    QSignalSpy triggered(action, &QAction::triggered);

    dialog->close();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(action->isChecked());
    EXPECT_EQ(triggered.count(), 0);
    EXPECT_EQ(mainWindow.findChild<DialogStats *>(), dialog);
    action->setChecked(true);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(DialogStatsTest, EmptyStatisticsShowAWhiteGraph)
{
    action->setChecked(true);
    ASSERT_TRUE(waitUntil([&] { return !image()->pixmap().isNull(); }));
    EXPECT_EQ(image()->pixmap().size(), QSize(100, 300));
}

TEST_F(DialogStatsTest, GraphKeptAsPicture)
{
    feedVideo(ModelStatistics::kMaxSamples);
    action->setChecked(true);
    dialog->onTimeout();
    const QImage picture = keepPicture(*dialog, "DialogStats");
    EXPECT_EQ(dialog->size(), QSize(818, 318));
    EXPECT_EQ(image()->pixmap().size(), QSize(800, 300));
    EXPECT_FALSE(picture.isNull());
}
