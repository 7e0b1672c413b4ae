// The recognition picture view: the cut-out around a turned plate, the fit into the view, the
// whole picture while the button is held, the context picture, the half-height fit and the empty view.
#include "CoreTestSupport.h"
#include "RecognitionViewSupport.h"
#include "TestPictures.h"
#include "WidgetImageRecognitionGroup.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace recotest;
using Plate = WidgetImageRecognitionGroup::Plate;

namespace {

struct CutOutCase {
    const char *what;
    QSize picture;
    Plate plate;
    QRect expected;
};

class CutOutTest : public ::testing::TestWithParam<CutOutCase>
{
};

TEST_P(CutOutTest, CutOutHoldsTheTurnedPlateWithItsMarginInsideThePicture)
{
    const CutOutCase &c = GetParam();
    EXPECT_EQ(WidgetImageRecognitionGroup::cutOut(c.picture, c.plate), c.expected) << c.what;
}

const float Degrees30 = 0.52359878f;
const float Degrees90 = 1.57079633f;

INSTANTIATE_TEST_SUITE_P(
    Plates, CutOutTest,
    ::testing::Values(CutOutCase{"ten pixels each side", {800, 600}, {100, 200, 80, 20, 0}, {90, 190, 100, 40}},
                      CutOutCase{"left edge at 0, width kept", {800, 600}, {3, 4, 80, 20, 0}, {0, 0, 100, 40}},
                      CutOutCase{"turned by 30 degrees", {800, 600}, {100, 200, 80, 20, Degrees30}, {90, 171, 99, 77}},
                      CutOutCase{"upright plate", {800, 600}, {100, 200, 80, 20, Degrees90}, {120, 160, 40, 100}},
                      CutOutCase{"cut at right and bottom", {200, 100}, {150, 80, 60, 20, 0}, {140, 70, 60, 30}},
                      CutOutCase{"far outside", {200, 100}, {2000000000, 2000000000, 60, 20, 0}, {200, 100, 0, 0}}));

class ImageViewTest : public ToolboxTest
{
protected:
    MsgPtr decision(const QByteArray &jpeg, bool placed, const char *sinus = "0.5")
    {
        Node element("decision");
        element.set("plate", "AB123CD");
        if (placed)
            element.set("x", "150").set("y", "80").set("width", "100").set("height", "30").set("sinus", sinus);
        element.add(Node("jpeg").bytes(jpeg)).add(Node("contextJpeg").bytes(jpegPicture(320, 240, Qt::darkGreen)));
        return build(Node("anpr").add(element));
    }

    void click(QEvent::Type type)
    {
        QMouseEvent event(type, QPointF(10, 10), view.mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    }

    WidgetImageRecognitionGroup view;
};

TEST_F(ImageViewTest, DecisionShowsItsPlateCutOutWithTheTurnedRectangle)
{
    view.resize(400, 300);
    const MsgPtr msg = decision(jpegPicture(400, 200), true);
    view.setRecognition(msg.get());
    const QRect area = WidgetImageRecognitionGroup::cutOut({400, 200}, {150, 80, 100, 30, Degrees30});
    EXPECT_EQ(view.shownPicture().size(), area.size());
    EXPECT_EQ(view.plateInShown(), QPoint(150 - area.left(), 80 - area.top()));
    const QImage cut = keepPicture(view, "recognition_image_cutout");
    EXPECT_GT(countPixels(cut, isRed), 200);

    view.setDrawPlateRect(false);
    EXPECT_EQ(countPixels(render(view), isRed), 0);
    view.setDrawPlateRect(true);

    click(QEvent::MouseButtonPress);
    const QImage whole = keepPicture(view, "recognition_image_whole");
    EXPECT_NE(whole, cut);
    EXPECT_GT(countPixels(whole, isRed), 50);
    click(QEvent::MouseButtonRelease);
    EXPECT_EQ(render(view), cut);
}

TEST_F(ImageViewTest, SinusOutsideItsRangeIsHeldToAQuarterTurn)
{
    view.resize(400, 300);
    const MsgPtr msg = decision(jpegPicture(400, 200), true, "1.7");
    view.setRecognition(msg.get());
    EXPECT_EQ(view.shownPicture().size(),
              WidgetImageRecognitionGroup::cutOut({400, 200}, {150, 80, 100, 30, Degrees90}).size());
}

TEST_F(ImageViewTest, UnplacedDecisionShowsTheWholePicture)
{
    const MsgPtr msg = decision(jpegPicture(400, 200), false);
    view.setRecognition(msg.get());
    EXPECT_EQ(view.shownPicture().size(), QSize(400, 200));
    EXPECT_EQ(view.plateInShown(), QPoint());
}

TEST_F(ImageViewTest, ContextPictureIgnoresTheHeldButtonAndNothingLeavesTheViewBlack)
{
    view.resize(320, 240);
    const MsgPtr msg = decision(jpegPicture(400, 200), true);
    EXPECT_TRUE(view.setContext(msg.get()));
    EXPECT_EQ(view.shownPicture().size(), QSize(320, 240));
    const QImage context = render(view);
    click(QEvent::MouseButtonPress);
    EXPECT_EQ(render(view), context);
    click(QEvent::MouseButtonRelease);

    const MsgPtr bare = build(Node("anpr").add(Node("decision").set("plate", "X")));
    EXPECT_FALSE(view.setContext(bare.get()));
    EXPECT_FALSE(view.setContext(nullptr));
    view.setRecognition(nullptr);
    const QImage black = render(view);
    EXPECT_EQ(countPixels(black, [](QColor c) { return c != Qt::black; }), 0);

    const MsgPtr broken = build(Node("anpr").add(Node("decision").add(Node("jpeg").bytes("not a picture"))));
    view.setRecognition(broken.get());
    EXPECT_TRUE(view.shownPicture().isNull());
}

TEST_F(ImageViewTest, HalfHeightFrameFillsAFourByThreeView)
{
    view.resize(720, 576);
    const MsgPtr msg = build(Node("anpr").add(Node("decision").add(Node("contextJpeg").bytes(jpegPicture(720, 288)))));
    ASSERT_TRUE(view.setContext(msg.get()));
    EXPECT_EQ(countPixels(render(view), [](QColor c) { return c == Qt::black; }), 0);
}

} // namespace
