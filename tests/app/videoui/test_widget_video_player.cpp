// The video panel against the real model: its controls in each player state and with the video
// switched off, the slave view and covering zones from the configuration, the master camera's
// zone, the slider, the recognition messages chosen for a frame, and the fall back from OpenGL.
#include "VideoUiTestSupport.h"
#include "WidgetGLImage.h"
#include "WidgetImage.h"
#include "WidgetVideoPlayer.h"

#include "TestClips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>

#include <cmath>

using namespace videouitest;
using fybsim::Element;

namespace {

// The clip's pictures as the sensor sends them, camera 0 dated 40 ms apart from BaseDate.
std::vector<fybsim::Picture> clipPictures(int count)
{
    static std::map<int, testclips::Clip> clips;
    auto found = clips.find(count);
    if (found == clips.end())
        found = clips.emplace(count, testclips::MakeClip({testclips::Codec::Mjpeg, 160, 120, count, 1})).first;
    std::vector<fybsim::Picture> pictures;
    for (const testclips::Packet &packet : found->second.packets)
        pictures.push_back({std::string(packet.data.begin(), packet.data.end()), packet.key});
    return pictures;
}

class PanelTest : public VideoUiTest
{
protected:
    void SetUp() override
    {
        VideoUiTest::SetUp();
        panel = std::make_unique<WidgetVideoPlayer>();
        panel->resize(928, 451);
        // As the main window wires them.
        Model *model = Model::instance();
        QObject::connect(&model->masterPlayer(), &VideoPlayer::displayFrame, panel.get(),
                         &WidgetVideoPlayer::displayFrame);
        QObject::connect(&model->slavePlayer(), &VideoPlayer::displayFrame, panel.get(),
                         &WidgetVideoPlayer::displaySlaveFrame);
    }
    void TearDown() override
    {
        panel.reset();
        VideoUiTest::TearDown();
    }

    template <typename T = QWidget> T *find(const char *name) const { return panel->findChild<T *>(name); }
    bool shown(const char *name) const { return !find(name)->isHidden(); }

    // The master player holds that many pictures of camera 0.
    void streamToMaster(int count)
    {
        const std::vector<fybsim::Picture> pictures = clipPictures(count);
        for (size_t i = 0; i < pictures.size(); ++i) {
            const MsgPtr msg = toMsg(fybsim::videoMessage(pictures[i], "jpeg", BaseDate + qint64(i) * 40));
            Model::instance()->masterPlayer().onVideoMessage(msg.get());
        }
    }

    void receiveConfig(const std::optional<fybsim::SlaveSetup> &slave, const std::optional<fybsim::ZoneSetup> &zone)
    {
        receive(fybsim::configuration(slave, zone));
        panel->onConfigReceived();
    }

    std::unique_ptr<WidgetVideoPlayer> panel;
};

} // namespace

TEST_F(PanelTest, ControlsFollowThePlayerStateAndTheVideoSwitch)
{
    const struct
    {
        VideoPlayer::State state;
        bool video;
        int cameras;
        bool realtime, play, pause, playback, image, contextImage, frameTime;
        const char *recordText;
    } cases[] = {
        // Cameras are only ever added to the kept information: one camera comes first.
        {VideoPlayer::Live, false, 1, false, false, false, false, true, false, false, "Record real time"},
        {VideoPlayer::Live, true, 2, false, false, true, true, false, false, false, "Record real time"},
        {VideoPlayer::Paused, true, 2, true, true, false, true, false, false, true, "Save video buffer"},
        {VideoPlayer::Playing, true, 2, true, false, true, true, false, false, true, "Save video buffer"},
        {VideoPlayer::Paused, false, 2, false, false, false, false, true, true, false, "Save video buffer"},
    };
    streamToMaster(5);
    for (const auto &c : cases) {
        receiveInfos("640x480", c.cameras);
        AppSettings().setDisplayVideo(c.video);
        VideoPlayer &player = Model::instance()->masterPlayer();
        player.goLive();
        if (c.state != VideoPlayer::Live) {
            player.pause();
            player.seekToIndex(0);
        }
        if (c.state == VideoPlayer::Playing)
            player.play();
        panel->on_checkDisplayVideo_clicked(c.video);
        ASSERT_EQ(player.state(), c.state);
        SCOPED_TRACE(testing::Message() << "state " << c.state << ", video " << c.video);
        EXPECT_EQ(shown("btnRealtime"), c.realtime);
        EXPECT_EQ(shown("labelRealtimeEquilibre"), c.video && !c.realtime);
        EXPECT_EQ(shown("btnPlay"), c.play);
        EXPECT_EQ(shown("btnPause"), c.pause);
        for (const char *name : {"btnStartRecording", "btnPreviousImage", "btnNextImage", "sliderPlayback"})
            EXPECT_EQ(shown(name), c.playback) << name;
        EXPECT_EQ(shown("btnImage"), c.image);
        EXPECT_EQ(shown("btnContextImage"), c.contextImage);
        EXPECT_EQ(find<QPushButton>("btnStartRecording")->text(), QString(c.recordText));
        EXPECT_EQ(window->record.isEnabled(), c.state == VideoPlayer::Live);
        EXPECT_EQ(window->save.isEnabled(), c.state != VideoPlayer::Live);
        EXPECT_EQ(panel->imageWidget()->showFrameTime(), c.frameTime);
        EXPECT_EQ(panel->slaveImageWidget()->showFrameTime(), c.frameTime);
    }
}

TEST_F(PanelTest, ReplayEndingByItselfTurnsPauseIntoPlayAtOnce)
{
    streamToMaster(3);
    find<QPushButton>("btnPause")->click();
    Model::instance()->masterPlayer().seekToIndex(0);
    find<QPushButton>("btnPlay")->click();
    ASSERT_TRUE(shown("btnPause"));
    VideoPlayer &player = Model::instance()->masterPlayer();
    for (int i = 0; i < 3 && player.state() == VideoPlayer::Playing; ++i)
        player.onTimerPlaybackTimeout();
    ASSERT_EQ(player.state(), VideoPlayer::Paused);
    EXPECT_TRUE(shown("btnPlay"));
    EXPECT_FALSE(shown("btnPause"));
}

TEST_F(PanelTest, RecordButtonAsksForRecordingOrSavingAndStaysHiddenWhileRecording)
{
    QStringList asked;
    QObject::connect(panel.get(), &WidgetVideoPlayer::openDialog, [&](const QString &key) { asked.append(key); });
    streamToMaster(3);
    find<QPushButton>("btnStartRecording")->click();
    find<QPushButton>("btnPause")->click();
    find<QPushButton>("btnStartRecording")->click();
    EXPECT_EQ(asked, (QStringList{"recording_start", "save_video_buffer"}));

    panel->setRecordButtonVisible(false);
    find<QPushButton>("btnNextImage")->click();
    EXPECT_FALSE(shown("btnStartRecording")) << "a control update brought it back during a recording";
    panel->setRecordButtonVisible(true);
    EXPECT_TRUE(shown("btnStartRecording"));
}

TEST_F(PanelTest, SlaveViewTakesItsConfiguredSideWithTheCoveringZones)
{
    const struct
    {
        const char *mode;
        std::optional<std::string> position;
        bool present, masterFirst;
    } cases[] = {
        {"configured", "left", true, false},
        {"CONFIGURED", "right", true, true},
        {"configured", std::nullopt, true, true},
        {"none", "left", false, true},
    };
    auto *layout = panel->findChild<QHBoxLayout *>("layoutImages");
    ASSERT_NE(layout, nullptr);
    EXPECT_FALSE(shown("widgetSlaveImage")) << "before any configuration";
    for (const auto &c : cases) {
        receiveConfig(fybsim::SlaveSetup{c.mode, c.position, "300"}, std::nullopt);
        SCOPED_TRACE(c.position.value_or("no position"));
        EXPECT_EQ(panel->slavePresent(), c.present);
        EXPECT_EQ(shown("widgetSlaveImage"), c.present);
        if (!c.present)
            continue;
        EXPECT_EQ(layout->indexOf(find("widgetImage")), c.masterFirst ? 0 : 1);
        EXPECT_EQ(layout->indexOf(find("widgetSlaveImage")), c.masterFirst ? 1 : 0);
        EXPECT_EQ(panel->imageWidget()->coveringZoneWidth(), 300);
        EXPECT_EQ(panel->imageWidget()->coveringZoneRight(), c.masterFirst);
        EXPECT_EQ(panel->slaveImageWidget()->coveringZoneWidth(), 300);
        EXPECT_EQ(panel->slaveImageWidget()->coveringZoneRight(), !c.masterFirst);
    }
}

TEST_F(PanelTest, SlaveViewPictureOnItsSide)
{
    AppSettings().setDisplayCoveringZone(true);
    panel->clear();
    receiveConfig(fybsim::SlaveSetup{"configured", "left", "300"}, std::nullopt);
    panel->displayFrame(frameOf(filled(1920, 1080, QColor(40, 90, 140))));
    panel->displaySlaveFrame(frameOf(filled(1920, 1080, QColor(140, 90, 40))));
    const QImage shot = keepPicture(*panel, "video-panel-slave-left");
    const QWidget *slave = find("widgetSlaveImage");
    const QWidget *master = find("widgetImage");
    ASSERT_LT(slave->x(), master->x());
    const QPoint slaveCentre = slave->geometry().center();
    EXPECT_EQ(pixelAt(shot, slaveCentre.x(), slaveCentre.y()), QColor(140, 90, 40));
}

TEST_F(PanelTest, MasterCameraGetsItsSizeAndItsAreaOfInterest)
{
    receiveInfos("1280x720");
    receiveConfig(std::nullopt, fybsim::ZoneSetup{true, true, std::vector<int>{100, 50, 400, 300}, {}});
    WidgetImageBase *master = panel->imageWidget();
    EXPECT_EQ(master->image().size(), QSize(1280, 720)) << "a blank picture of the camera's size";
    EXPECT_EQ(master->cameraId(), QString("0"));
    EXPECT_TRUE(master->areaOfInterestEnabled());
    EXPECT_TRUE(master->excludingZone());
    EXPECT_TRUE(master->rectangleZone());
    EXPECT_EQ(master->polygon(), (QVector<QPoint>{{100, 50}, {500, 50}, {500, 350}, {100, 350}}));

    receiveConfig(std::nullopt, fybsim::ZoneSetup{false, false, std::nullopt, {{10, 20}, {30, 40}, {50, 5}}});
    EXPECT_FALSE(master->areaOfInterestEnabled()) << "the pushed zone is merged, its flags replaced";

    receiveInfos("100000x100000");
    receiveConfig(std::nullopt, std::nullopt);
    EXPECT_EQ(master->image().size(), QSize(1280, 720)) << "no blank picture of a size no camera has";

    Model::instance()->masterPlayer().setCameraId(1);
    receiveConfig(std::nullopt, fybsim::ZoneSetup{true, false, std::vector<int>{1, 2, 3, 4}, {}});
    EXPECT_FALSE(master->areaOfInterestEnabled()) << "the zone of another camera";
}

TEST_F(PanelTest, SliderMovedByTheOperatorSeeksAndMovedByAFrameDoesNot)
{
    streamToMaster(11);
    VideoPlayer &master = Model::instance()->masterPlayer();
    auto *slider = find<QSlider>("sliderPlayback");
    slider->setValue(500);
    EXPECT_EQ(master.state(), VideoPlayer::Paused);
    EXPECT_EQ(master.currentTime(), QDateTime::fromMSecsSinceEpoch(BaseDate + 6 * 40));
    EXPECT_EQ(Model::instance()->slavePlayer().state(), VideoPlayer::Paused);
    EXPECT_EQ(slider->value(), 600) << "the shown picture moved the slider to its place";

    master.seekToIndex(2);
    EXPECT_EQ(slider->value(), 200);
    EXPECT_EQ(master.currentTime(), QDateTime::fromMSecsSinceEpoch(BaseDate + 2 * 40)) << "the move seeked";

    for (const float position : {std::nanf(""), INFINITY}) {
        panel->displayFrame(frameOf(filled(8, 8, Qt::gray), "0", BaseDate, false, position));
        EXPECT_EQ(slider->value(), 200);
    }
}

TEST_F(PanelTest, FrameShowsTheLastDecisionLiveAndTheCoveringOneInReplay)
{
    RecognitionManager &recognitions = Model::instance()->masterRecognitions();
    fybsim::Passage passage;
    passage.startMs = BaseDate;
    passage.endMs = BaseDate + 400;
    for (const Element &message : fybsim::passageMessages(passage))
        recognitions.onMessage(toMsg(message).get(), QDateTime::currentDateTime());
    PXRMsg *speed = nullptr;
    PXRMsg *decision = recognitions.lastDecision(&speed);
    ASSERT_NE(decision, nullptr);

    const struct
    {
        qint64 date;
        bool live;
        bool drawn;
    } cases[] = {{BaseDate + 5000, true, true}, {BaseDate + 200, false, true}, {BaseDate + 1000, false, false}};
    for (const auto &c : cases) {
        panel->displayFrame(frameOf(filled(8, 8, Qt::gray), "0", c.date, c.live, 0.5f));
        EXPECT_EQ(panel->imageWidget()->decision(), c.drawn ? decision : nullptr) << c.date - BaseDate;
        EXPECT_EQ(panel->imageWidget()->speed(), c.drawn ? speed : nullptr);
    }
    panel->displaySlaveFrame(frameOf(filled(8, 8, Qt::gray), "0", BaseDate + 200, false, 0.5f));
    EXPECT_EQ(panel->slaveImageWidget()->decision(), nullptr) << "the slave's own recognitions are empty";
}

TEST_F(PanelTest, OpenGLViewThatCannotPaintIsReplacedBySoftwareViewsOnce)
{
    OpenGLProbe::assume(true);
    WidgetVideoPlayer glPanel;
    ASSERT_TRUE(glPanel.hardwareRendering());
    auto *master = dynamic_cast<WidgetGLImage *>(glPanel.imageWidget());
    auto *slave = dynamic_cast<WidgetGLImage *>(glPanel.slaveImageWidget());
    ASSERT_TRUE(master && slave);
    const QPointer<QWidget> gone = master;
    const int failedBefore = logLines("WidgetGLImage Unable to paint!");
    const int disabledBefore = logLines("Disable hardware rendering");
    QSignalSpy failures(master, &WidgetGLImage::signalDisableHardwareRendering);

    // The panel is never shown: offscreen, a shown OpenGL view would bring the window down.
    QPaintEvent paint(QRect(0, 0, 10, 10));
    QCoreApplication::sendEvent(slave, &paint);
    EXPECT_EQ(glPanel.slaveImageWidget(), slave) << "only the master view reports";
    QCoreApplication::sendEvent(master, &paint);
    QCoreApplication::sendEvent(master, &paint);
    EXPECT_EQ(failures.size(), 1);
    EXPECT_TRUE(master->paintFailed());
    EXPECT_EQ(logLines("WidgetGLImage Unable to paint!") - failedBefore, 2) << "one line for each view";
    EXPECT_EQ(logLines("Disable hardware rendering") - disabledBefore, 1);
    EXPECT_FALSE(glPanel.hardwareRendering());
    EXPECT_NE(dynamic_cast<WidgetImage *>(glPanel.imageWidget()), nullptr);
    EXPECT_NE(dynamic_cast<WidgetImage *>(glPanel.slaveImageWidget()), nullptr);
    EXPECT_TRUE(glPanel.imageWidget()->fullScreenOnDoubleClick());

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gone.isNull()) << "the OpenGL views are deleted";
    glPanel.displayFrame(frameOf(filled(320, 240, QColor(0, 120, 200))));
    const QImage shot = keepPicture(glPanel, "video-panel-after-fallback");
    EXPECT_EQ(pixelAt(shot, 464, 190), QColor(0, 120, 200));
}

TEST_F(PanelTest, WithoutOpenGLSoftwareViewsAreBuiltFromTheStart)
{
    OpenGLProbe::assume(false);
    WidgetVideoPlayer plain;
    EXPECT_FALSE(plain.hardwareRendering());
    EXPECT_NE(dynamic_cast<WidgetImage *>(plain.imageWidget()), nullptr);

    OpenGLProbe::assume(true);
    MainWindowInterface::setHardwareRendering(false);
    WidgetVideoPlayer switchedOff;
    EXPECT_FALSE(switchedOff.hardwareRendering()) << "the user's switch holds";
}
