// The video page against the test sensor through the application core: still pictures asked
// with the video switched off, their answers and failures, and a streamed clip with a passage
// shown live and in replay with its overlays.
#include "VideoUiTestSupport.h"
#include "WidgetImageBase.h"
#include "WidgetVideoPlayer.h"

#include "TestClips.h"

#include <QBuffer>
#include <QPushButton>

#include <chrono>

using namespace videouitest;
using namespace std::chrono_literals;
using fybsim::Element;
using fybsim::Reply;

namespace {

QByteArray jpegOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

// A panel wired as the main window wires it, the model's master sensor bound to the test sensor.
class SensorPageTest : public VideoUiTest
{
protected:
    void SetUp() override
    {
        VideoUiTest::SetUp();
        panel = std::make_unique<WidgetVideoPlayer>();
        panel->resize(928, 451);
        QObject::connect(&Model::instance()->masterPlayer(), &VideoPlayer::displayFrame, panel.get(),
                         &WidgetVideoPlayer::displayFrame);
        Sensor &sensor = Model::instance()->masterSensor();
        const fybsim::FybSensor::Mark since = server.mark();
        ASSERT_TRUE(sensor.connect("127.0.0.1", server.port(), QString(), false, false, false, {}, {}));
        ASSERT_TRUE(waitUntil([&] { return sensor.isConnected(); }));
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Asynchronous, 1, 5s));
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Synchronous, 1, 5s));
    }
    void TearDown() override
    {
        panel.reset();
        VideoUiTest::TearDown();
    }

    QPushButton *button(const char *name) const { return panel->findChild<QPushButton *>(name); }

    fybsim::FybSensor server;
    std::unique_ptr<WidgetVideoPlayer> panel;
};

} // namespace

TEST_F(SensorPageTest, StillPictureRequestShowsTheAnswerOrSaysWhyNot)
{
    const QImage sent = filled(64, 48, QColor(200, 40, 40));
    const std::string jpeg = jpegOf(sent).toStdString();
    const struct
    {
        const char *button;
        Reply reply;
        bool shown;
        QString cameraId;
        QString details;  // of the error box, none when empty
    } cases[] = {
        {"btnImage", fybsim::imageReply("jpeg", jpeg), true, "0", {}},
        {"btnContextImage", fybsim::imageReply("contextJpeg", jpeg), true, "", {}},
        {"btnImage", fybsim::imageReply("contextJpeg", jpeg), false, {}, {}},
        {"btnContextImage", Reply::failed("camera busy"), false, {}, "camera busy"},
        {"btnImage", Reply::close(), false, {}, "No answer received"},
    };
    AppSettings().setDisplayVideo(false);
    receiveInfos("640x480", 2);
    panel->clear();
    ASSERT_FALSE(button("btnImage")->isHidden());
    ASSERT_FALSE(button("btnContextImage")->isHidden());
    {
        // Pictured first, before a case drops the connection; a box would be answered, not wait.
        BoxRecorder boxes;
        const QByteArray green = jpegOf(filled(640, 480, QColor(30, 110, 60)));
        server.setReply("getImage", fybsim::imageReply("jpeg", green.toStdString()));
        button("btnImage")->click();
        EXPECT_TRUE(boxes.boxes.empty());
        keepPicture(*panel, "video-panel-video-off-still-picture");
    }
    for (const auto &c : cases) {
        SCOPED_TRACE(c.details.toStdString());
        panel->imageWidget()->reset();
        panel->imageWidget()->setImage("untouched", QImage());
        server.setReply("getImage", c.reply);
        BoxRecorder boxes;
        const fybsim::FybSensor::Mark mark = server.mark();
        button(c.button)->click();
        EXPECT_TRUE(server.waitForRoot(mark, "getImage", 5s).has_value());
        const WidgetImageBase *view = panel->imageWidget();
        EXPECT_EQ(view->image().size(), c.shown ? sent.size() : QSize(0, 0));
        EXPECT_EQ(view->cameraId(), c.shown ? c.cameraId : QString("untouched"));
        if (c.shown) {
            EXPECT_LT(qAbs(view->image().pixelColor(32, 24).red() - 200), 12);
        }
        ASSERT_EQ(boxes.boxes.size(), c.details.isEmpty() ? 0 : 1);
        if (!c.details.isEmpty()) {
            EXPECT_EQ(boxes.boxes[0].text, QString("Unable to get image"));
            EXPECT_EQ(boxes.boxes[0].details, c.details);
        }
        if (c.reply.action == Reply::Action::Close) {
            ASSERT_TRUE(waitUntil([&] { return Model::instance()->masterSensor().isConnected(); }));
        }
    }
}

TEST_F(SensorPageTest, StreamedClipAndPassageShowLiveAndInReplayWithTheirOverlays)
{
    const testclips::Clip clip = testclips::MakeClip({testclips::Codec::H264, 320, 240, 20, 10});
    std::vector<fybsim::Picture> pictures;
    for (const testclips::Packet &packet : clip.packets)
        pictures.push_back({std::string(packet.data.begin(), packet.data.end()), packet.key});
    const qint64 first = QDateTime::currentMSecsSinceEpoch();
    fybsim::Passage passage;
    passage.startMs = first + 5 * fybsim::kPictureGapMs;
    passage.endMs = first + 12 * fybsim::kPictureGapMs;

    int framesShown = 0;
    QObject::connect(&Model::instance()->masterPlayer(), &VideoPlayer::displayFrame, panel.get(),
                     [&](const VideoFrame &) { ++framesShown; });
    QObject::connect(Model::instance(), &Model::signalConfigReceived, panel.get(), &WidgetVideoPlayer::onConfigReceived);
    panel->show();
    ASSERT_EQ(server.push(fybsim::configuration(fybsim::SlaveSetup{"configured", "right", "200"},
                                                fybsim::ZoneSetup{true, false, std::nullopt, {{60, 40}, {260, 40}, {160, 200}}})),
              1u);
    ASSERT_TRUE(waitUntil([&] { return panel->slavePresent(); }));
    EXPECT_EQ(panel->imageWidget()->polygon(), (QVector<QPoint>{{60, 40}, {260, 40}, {160, 200}}));
    ASSERT_EQ(fybsim::pushPassage(server, passage), 4u);
    ASSERT_TRUE(waitUntil([&] { return Model::instance()->masterRecognitions().lastDecision() != nullptr; }));
    ASSERT_EQ(fybsim::streamPictures(server, pictures, "h264", first), pictures.size());
    ASSERT_TRUE(waitUntil([&] { return framesShown >= int(pictures.size()); }));
    WidgetImageBase *view = panel->imageWidget();
    EXPECT_EQ(view->image().size(), QSize(320, 240));
    EXPECT_EQ(view->cameraId(), QString("0"));
    EXPECT_EQ(view->time(), QDateTime::fromMSecsSinceEpoch(first + 19 * fybsim::kPictureGapMs));
    EXPECT_EQ(view->overlayTexts().first, QString("AB123CD (FR)"));
    EXPECT_EQ(view->overlayTexts().second, QString("85% - 120x30 - 52 km/h"));
    keepPicture(*panel, "video-panel-live-stream");

    button("btnPause")->click();
    panel->seekToTimestamp(QDateTime::fromMSecsSinceEpoch(first + 8 * fybsim::kPictureGapMs));
    EXPECT_EQ(view->time(), QDateTime::fromMSecsSinceEpoch(first + 8 * fybsim::kPictureGapMs));
    EXPECT_TRUE(view->showFrameTime());
    EXPECT_EQ(view->overlayTexts().first, QString("AB123CD (FR)")) << "the passage covers the replayed picture";
    keepPicture(*panel, "video-panel-replay-stream");

    panel->seekToTimestamp(QDateTime::fromMSecsSinceEpoch(first + 15 * fybsim::kPictureGapMs));
    EXPECT_EQ(view->decision(), nullptr) << "no passage covers this picture";
}
