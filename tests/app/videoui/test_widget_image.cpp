// The software frame view: fitting the picture, the grid and the covering zone, the frames it
// takes or refuses, the area of interest's picking and dragging, the rubber band, the loupe
// hiding the overlays, and the recognition boxes' texts.
#include "VideoUiTestSupport.h"
#include "WidgetImage.h"

#include <QPainter>
#include <QSignalSpy>

using namespace videouitest;
using fybsim::Element;

namespace {

const QColor Green(0, 160, 0);
const QColor Grey(90, 90, 90);

// A shown software view of that size holding a plain picture of the default camera's size.
class FrameViewTest : public VideoUiTest
{
protected:
    void show(QSize size = QSize(960, 540), QImage picture = filled(1920, 1080, Grey))
    {
        view.resize(size);
        view.setImage(QString(), picture);
        view.show();
        QCoreApplication::processEvents();
        shot = render(view);
    }

    QImage redraw()
    {
        shot = render(view);
        return shot;
    }

    bool isColour(int x, int y, const QColor &colour) const { return shot.pixelColor(x, y) == colour; }

    // A rectangle zone of the default camera: widget corners (100, 100) and (300, 200) at 960 x 540.
    void editableRectangle()
    {
        view.setPolygon(true, false, {{200, 200}, {600, 200}, {600, 400}, {200, 400}}, true);
        view.setPolygonEditable(true);
    }

    WidgetImage view;
    QImage shot;
};

MsgPtr recognition(const char *root, const char *child, std::vector<std::pair<const char *, const char *>> attrs)
{
    Element element(child);
    for (const auto &[name, value] : attrs)
        element.set(name, value);
    return toMsg(Element(root).set("date", std::to_string(BaseDate)).add(element));
}

} // namespace

TEST(FrameViewFit, PictureKeepsItsProportionsCentredAndAFieldIsShownAtDoubleHeight)
{
    const struct
    {
        QSize picture, widget;
        QRect expected;
    } cases[] = {
        {{720, 288}, {720, 576}, {0, 0, 720, 576}},   {{720, 288}, {1000, 576}, {140, 0, 720, 576}},
        {{1920, 1080}, {960, 600}, {0, 30, 960, 540}}, {{720, 576}, {720, 288}, {180, 0, 360, 288}},
        {{1920, 1080}, {0, 0}, {}},                    {{0, 0}, {960, 540}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WidgetImageBase::fitPicture(c.picture, c.widget), c.expected) << c.picture.width() << "x"
                                                                                << c.picture.height();
}

TEST_F(FrameViewTest, DrawnPictureFillsItsRectangleWithBlackBarsBeside)
{
    show(QSize(1000, 576), filled(720, 288, Green));
    EXPECT_EQ(view.pictureRect(), QRect(140, 0, 720, 576));
    EXPECT_TRUE(isColour(139, 300, Qt::black));
    EXPECT_TRUE(isColour(140, 300, Green));
    EXPECT_TRUE(isColour(859, 575, Green));
    EXPECT_TRUE(isColour(860, 300, Qt::black));
}

TEST(FrameViewGrid, LinesEveryEighthShiftedByTheDragOffset)
{
    const struct
    {
        int start, length, offset;
        QList<int> expected;
    } cases[] = {
        {0, 960, 0, {120, 240, 360, 480, 600, 720, 840}},
        {0, 960, 30, {30, 150, 270, 390, 510, 630, 750, 870}},
        {0, 960, -30, {90, 210, 330, 450, 570, 690, 810, 930}},
        {30, 540, 135, {97, 165, 233, 301, 369, 437, 505}},
        {10, 3, 0, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WidgetImageBase::gridLines(c.start, c.length, c.offset), c.expected) << c.offset;
}

TEST_F(FrameViewTest, GridDrawsSevenBlueLinesEachWayAndFollowsARightDrag)
{
    view.setDisplayGrid(true);
    show();
    const auto blueColumns = [this](int y) {
        QList<int> columns;
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == QColor(Qt::blue))
                columns.append(x);
        return columns;
    };
    EXPECT_EQ(blueColumns(10), (QList<int>{120, 240, 360, 480, 600, 720, 840}));
    EXPECT_TRUE(isColour(10, 272, Qt::blue));

    mouse(view, QEvent::MouseButtonPress, Qt::RightButton, {500, 300});
    mouse(view, QEvent::MouseMove, Qt::RightButton, {530, 290});
    mouse(view, QEvent::MouseButtonRelease, Qt::RightButton, {530, 290});
    EXPECT_EQ(view.gridOffset(), QPoint(30, -10));
    redraw();
    EXPECT_EQ(blueColumns(10), (QList<int>{30, 150, 270, 390, 510, 630, 750, 870}));
}

TEST_F(FrameViewTest, CoveringZoneIsOutlinedAtItsSideInWidgetPixels)
{
    view.setDisplayCoveringZone(true);
    view.setCoveringZone(300, true);
    show();
    EXPECT_EQ(view.coveringZoneRect(), QRect(809, 0, 150, 540));
    EXPECT_TRUE(isColour(809, 270, Qt::yellow));
    EXPECT_TRUE(isColour(808, 270, Grey));

    view.setCoveringZone(300, false);
    redraw();
    EXPECT_EQ(view.coveringZoneRect(), QRect(0, 0, 150, 540));
    EXPECT_TRUE(isColour(150, 270, Qt::yellow));
    EXPECT_TRUE(isColour(151, 270, Grey));
}

TEST_F(FrameViewTest, FrameWithTooFewBytesKeepsThePictureButTakesItsTimeCameraAndMessages)
{
    show();
    view.setFrame(frameOf(filled(4, 4, Green), "0", BaseDate), nullptr, nullptr);
    ASSERT_EQ(view.image().size(), QSize(4, 4));

    const MsgPtr decision = recognition("anpr", "decision", {{"plate", "AB123CD"}});
    VideoFrame shortFrame = frameOf(filled(8, 8, Grey), "1", BaseDate + 40);
    shortFrame.pixels.truncate(8 * 8 * 4 - 1);
    view.setFrame(shortFrame, decision.get(), nullptr);
    EXPECT_EQ(view.image().size(), QSize(4, 4)) << "the short frame was read as a picture";
    EXPECT_EQ(view.image().pixelColor(0, 0), Green);
    EXPECT_EQ(view.cameraId(), QString("1"));
    EXPECT_EQ(view.time(), QDateTime::fromMSecsSinceEpoch(BaseDate + 40));
    EXPECT_EQ(view.decision(), decision.get());

    view.releaseMessages();
    EXPECT_EQ(view.decision(), nullptr);
}

TEST_F(FrameViewTest, MouseDoesNothingHarmfulBeforeThePictureIsDrawnOrInAnEmptyWidget)
{
    for (const QSize size : {QSize(), QSize(0, 0)}) {
        WidgetImage fresh;
        QSignalSpy released(&fresh, &WidgetImage::signalRectangleUpdated);
        if (size.isValid()) {
            fresh.resize(size);
            fresh.show();
            QCoreApplication::processEvents();
        }
        fresh.setImage(QString(), filled(1920, 1080, Grey));
        fresh.setPolygon(true, false, {{10, 10}, {20, 10}, {20, 20}, {10, 20}}, true);
        fresh.setPolygonEditable(true);
        mouse(fresh, QEvent::MouseButtonPress, Qt::LeftButton, {0, 0});
        mouse(fresh, QEvent::MouseMove, Qt::LeftButton, {5, 5});
        mouse(fresh, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 5});
        fresh.setPolygonEditable(false);
        mouse(fresh, QEvent::MouseButtonPress, Qt::LeftButton, {0, 0});
        mouse(fresh, QEvent::MouseMove, Qt::LeftButton, {5, 5});
        mouse(fresh, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 5});
        EXPECT_EQ(fresh.polygon().first(), QPoint(10, 10));
        ASSERT_EQ(released.size(), 2);
        EXPECT_EQ(released.last().first().toRect(), QRect());
    }
}

TEST_F(FrameViewTest, UnplacedZoneGoesToTheCentreOfTheCameraNotOfThePicture)
{
    view.setImage(QString(), filled(1280, 720, Grey));
    view.setPolygon(true, false, {{0, 0}, {0, 0}, {0, 0}, {0, 0}}, false);
    EXPECT_EQ(view.polygon(), (QVector<QPoint>(4, QPoint(960, 540))));

    view.setPolygon(true, false, {{0, 0}, {5, 0}}, false);
    EXPECT_EQ(view.polygon(), (QVector<QPoint>{{0, 0}, {5, 0}})) << "a placed zone is left as it is";
}

TEST_F(FrameViewTest, CameraGivenWithoutASizeCountsAsTheDefaultCamera)
{
    receiveInfos("0x0");
    view.setFrame(frameOf(filled(16, 9, Grey), "0"), nullptr, nullptr);
    EXPECT_EQ(view.cameraSize(), QSize(1920, 1080)) << "every conversion divides by it";
    receiveInfos("1280x720");
    EXPECT_EQ(view.cameraSize(), QSize(1280, 720));
}

TEST_F(FrameViewTest, OrderedPolygonStartsAtTheFirstHighestPoint)
{
    view.setPolygon(true, false, {{10, 50}, {20, 5}, {30, 5}, {40, 60}}, false);
    const QVector<QPoint> expected{{20, 5}, {30, 5}, {40, 60}, {10, 50}};
    EXPECT_EQ(view.orderedPolygon(), expected);
    EXPECT_EQ(view.polygon(), expected);
}

TEST_F(FrameViewTest, LeftPressPicksTheNearestPointCloserThanThirtyPixels)
{
    const struct
    {
        QPoint at;
        int picked;
    } cases[] = {
        {{129, 100}, 0}, {{130, 100}, -1}, {{115, 114}, 0}, {{115, 115}, -1}, {{290, 200}, 2}, {{200, 150}, -1},
    };
    show();
    for (const auto &c : cases) {
        editableRectangle();
        mouse(view, QEvent::MouseButtonPress, Qt::LeftButton, c.at);
        EXPECT_EQ(view.draggedPoint(), c.picked) << c.at.x() << "," << c.at.y();
        EXPECT_FALSE(view.rubberBandActive());
        mouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, c.at);
        EXPECT_EQ(view.draggedPoint(), -1);
    }
}

TEST_F(FrameViewTest, DraggedCornerKeepsTheRectangleAndStaysInsideTheCamera)
{
    show();
    editableRectangle();
    view.setDisplayAreaOfInterest(true);
    mouse(view, QEvent::MouseButtonPress, Qt::LeftButton, {100, 100});
    mouse(view, QEvent::MouseMove, Qt::LeftButton, {-50, 150});
    EXPECT_EQ(view.polygon(), (QVector<QPoint>{{0, 300}, {600, 300}, {600, 400}, {0, 400}}));
    mouse(view, QEvent::MouseMove, Qt::LeftButton, {2000, 2000});
    EXPECT_EQ(view.polygon(), (QVector<QPoint>{{1919, 1079}, {600, 1079}, {600, 400}, {1919, 400}}));
    mouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, {2000, 2000});

    view.setPolygon(true, false, {{200, 200}, {600, 200}, {400, 400}}, false);
    mouse(view, QEvent::MouseButtonPress, Qt::LeftButton, {300, 100});
    mouse(view, QEvent::MouseMove, Qt::LeftButton, {310, 120});
    EXPECT_EQ(view.polygon(), (QVector<QPoint>{{200, 200}, {620, 240}, {400, 400}})) << "a polygon moves one point";
}

TEST_F(FrameViewTest, RubberBandMeasuresInCameraPixelsAndReportsThePictureRectangle)
{
    show();
    QSignalSpy released(&view, &WidgetImage::signalRectangleUpdated);
    mouse(view, QEvent::MouseButtonPress, Qt::LeftButton, {100, 100});
    mouse(view, QEvent::MouseMove, Qt::LeftButton, {300, 250});
    EXPECT_EQ(view.rubberBandText(), QString("400x300"));
    EXPECT_EQ(view.selectionRect(), QRect(200, 200, 400, 300));
    keepPicture(view, "frame-view-rubber-band");
    EXPECT_TRUE(pixelAt(render(view), 100, 175) == QColor(Qt::red));

    mouse(view, QEvent::MouseMove, Qt::LeftButton, {2000, -5});
    EXPECT_EQ(view.rubberBand().width, 859);
    EXPECT_EQ(view.rubberBand().height, -100);
    const qsizetype mark = released.size();
    mouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, {2000, -5});
    EXPECT_FALSE(view.rubberBandActive());
    ASSERT_EQ(released.size(), mark + 1);
    EXPECT_EQ(released.last().first().toRect(), QRect(200, 200, 1718, 200));
}

TEST_F(FrameViewTest, LoupeShowsTwiceTheSizeAndHidesEveryOverlay)
{
    // A green block ending where the loupe's region ends, at the picture's centre.
    QImage picture = filled(1920, 1080, Grey);
    QPainter(&picture).fillRect(800, 400, 160, 140, Green);
    const MsgPtr decision = recognition("anpr", "decision", {{"plate", "AB123CD"}, {"reliability", "85"}});
    view.setFrame(frameOf(picture), decision.get(), nullptr);
    view.setDisplayGrid(true);
    view.setDisplayCoveringZone(true);
    view.setCoveringZone(300, true);
    view.setPolygon(true, true, {{100, 100}, {1800, 100}, {1800, 1000}}, false);
    show(QSize(960, 540), picture);
    ASSERT_TRUE(isColour(120, 270, Qt::blue));
    ASSERT_TRUE(isColour(900, 10, Qt::black)) << "the recognition box";

    mouse(view, QEvent::MouseButtonPress, Qt::MiddleButton, {480, 270});
    EXPECT_EQ(view.loupeSource(), QRect(480, 270, 480, 270));
    keepPicture(view, "frame-view-loupe");
    redraw();
    EXPECT_TRUE(isColour(120, 270, Grey)) << "grid drawn under the loupe";
    EXPECT_TRUE(isColour(900, 10, Grey)) << "recognition box drawn under the loupe";
    EXPECT_TRUE(isColour(809, 200, Grey)) << "covering zone drawn under the loupe";
    EXPECT_TRUE(isColour(958, 538, Green)) << "the cursor's point sits at the region's far corner";
    EXPECT_TRUE(isColour(640, 260, Green));
    EXPECT_TRUE(isColour(639, 260, Grey));

    mouse(view, QEvent::MouseButtonRelease, Qt::MiddleButton, {480, 270});
    redraw();
    EXPECT_TRUE(isColour(120, 270, Qt::blue));
}

TEST_F(FrameViewTest, RecognitionBoxesTellWhatWasRead)
{
    const MsgPtr speed = recognition("anpr", "speed", {{"instantSpeed_km_h", "52"}});
    const struct
    {
        MsgPtr decision;
        PXRMsg *speed;
        QString first, second;
    } cases[] = {
        {recognition("anpr", "decision",
                     {{"plate", "AB123CD"}, {"context", "FR"}, {"width", "120"}, {"height", "30"}, {"reliability", "85"}}),
         speed.get(), "AB123CD (FR)", "85% - 120x30 - 52 km/h"},
        {recognition("anpr", "decision", {{"plate", "ÉT-42"}, {"width", "80"}, {"height", "20"}, {"reliability", "70"}}),
         nullptr, "ÉT-42", "70% - 80x20"},
        {recognition("ANPR", "decision", {{"plate", ""}}), speed.get(), "", "Decision"},
        {recognition("dgpr", "decision", {{"plate", "33/1203"}, {"width", "60"}, {"height", "40"}, {"reliability", "90"}}),
         speed.get(), "33/1203", "90% - 60x40"},
        {recognition("classification", "decision", {{"classNumber", "3"}, {"vehicleType", "truck"}, {"reliability", "77"}}),
         nullptr, "class 3 (truck)", "77%"},
        {recognition("signature", "decision", {{"plate", "AB123CD"}}), nullptr, "", ""},
        {recognition("anpr", "new", {{"plate", "AB123CD"}}), nullptr, "", ""},
    };
    for (const auto &c : cases) {
        view.setFrame(frameOf(filled(16, 16, Grey)), c.decision.get(), c.speed);
        const WidgetImageBase::OverlayTexts texts = view.overlayTexts();
        EXPECT_EQ(texts.first.toStdString(), c.first.toStdString());
        EXPECT_EQ(texts.second.toStdString(), c.second.toStdString()) << c.first.toStdString();
    }
}

TEST_F(FrameViewTest, PicturesOfTheOverlaysAsAnOperatorSeesThem)
{
    const MsgPtr decision = recognition(
        "anpr", "decision", {{"plate", "AB123CD"}, {"context", "FR"}, {"width", "120"}, {"height", "30"}, {"reliability", "85"}});
    const MsgPtr speed = recognition("anpr", "speed", {{"instantSpeed_km_h", "52"}});
    QImage picture(1920, 1080, QImage::Format_RGB32);
    picture.fill(QColor(60, 90, 120));
    view.resize(960, 540);
    view.setFrame(frameOf(picture, QString(), BaseDate, true), decision.get(), speed.get());
    const QImage live = keepPicture(view, "frame-view-live-plate");
    EXPECT_EQ(pixelAt(live, 712, 2), QColor(Qt::black)) << "the boxes sit at the top-right corner";
    EXPECT_NE(pixelAt(live, 708, 2), QColor(Qt::black));

    view.setFrame(frameOf(picture, QString(), BaseDate + 1234, false, 0.5f), nullptr, nullptr);
    view.setShowFrameTime(true);
    view.setDisplayGrid(true);
    view.setDisplayCoveringZone(true);
    view.setCoveringZone(400, false);
    view.setPolygon(true, false, {{600, 200}, {1400, 250}, {1500, 900}, {500, 850}}, false);
    const QImage inclusion = keepPicture(view, "frame-view-replay-inclusion-zone");
    EXPECT_EQ(pixelAt(inclusion, 958, 515), QColor(Qt::black)) << "the frame time box";
    EXPECT_NE(pixelAt(inclusion, 30, 30), pixelAt(inclusion, 470, 260)) << "outside the zone is shaded";

    view.setPolygon(true, true, {{600, 200}, {1400, 250}, {1500, 900}, {500, 850}}, false);
    const QImage exclusion = keepPicture(view, "frame-view-replay-exclusion-zone");
    EXPECT_NE(pixelAt(exclusion, 30, 30), pixelAt(exclusion, 470, 260)) << "inside the zone is shaded";
    EXPECT_EQ(pixelAt(exclusion, 30, 30), pixelAt(inclusion, 470, 260));
}

TEST_F(FrameViewTest, DoubleClickTogglesFullScreenOnlyWhenAllowed)
{
    show();
    for (const bool allowed : {false, true}) {
        view.setFullScreenOnDoubleClick(allowed);
        const int mark = window->fullScreenToggles;
        mouse(view, QEvent::MouseButtonDblClick, Qt::LeftButton, {10, 10});
        EXPECT_EQ(window->fullScreenToggles - mark, allowed ? 1 : 0);
    }
}

TEST_F(FrameViewTest, ResetShowsBlackAndTakesTheDisplaySettings)
{
    show();
    AppSettings().setDisplayGrid(true);
    view.setShowFrameTime(true);
    view.setCoveringZone(300, true);
    view.reset();
    EXPECT_TRUE(view.noPicture());
    EXPECT_TRUE(view.displayGrid());
    EXPECT_FALSE(view.displayCoveringZone());
    EXPECT_FALSE(view.showFrameTime());
    EXPECT_EQ(view.coveringZoneWidth(), 0);
    redraw();
    EXPECT_TRUE(isColour(480, 270, Qt::black));
}
