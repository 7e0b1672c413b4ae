// The OpenGL frame view on an X server with a working OpenGL (Xvfb and Mesa's software renderer):
// it paints the picture and its overlays through OpenGL, and the video panel keeps OpenGL views
// where the probe answers for a graphics card; left to probe, it picks its software views here.
#include "VideoUiTestSupport.h"
#include "WidgetGLImage.h"
#include "WidgetImage.h"
#include "WidgetVideoPlayer.h"

#include <QGuiApplication>
#include <QOpenGLContext>

using namespace videouitest;

namespace {

class XServerTest : public VideoUiTest
{
protected:
    void SetUp() override
    {
        VideoUiTest::SetUp();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server (run through xvfb-run)";
        QOpenGLContext context;
        ASSERT_TRUE(context.create()) << "no OpenGL context on this X server";
    }
};

// As on a machine with a graphics card: the probe's answer is given.
class GLViewTest : public XServerTest
{
protected:
    void SetUp() override
    {
        XServerTest::SetUp();
        OpenGLProbe::assume(true);
    }
};

} // namespace

TEST_F(XServerTest, PanelPicksSoftwareViewsOnMesasSoftwareRenderer)
{
    const QString decided = QStringLiteral("OpenGL renderer \"llvmpipe");
    const int before = logLines(decided);
    WidgetVideoPlayer panel;
    EXPECT_FALSE(panel.hardwareRendering());
    EXPECT_NE(dynamic_cast<WidgetImage *>(panel.imageWidget()), nullptr);
    EXPECT_NE(dynamic_cast<WidgetImage *>(panel.slaveImageWidget()), nullptr);
    EXPECT_EQ(logLines(decided) - before, 1) << appLog.toPlainText().toStdString();
    EXPECT_TRUE(appLog.toPlainText().contains("draws in software: software rendering"));
}

TEST_F(GLViewTest, PicturePaintedThroughOpenGLWithItsOverlays)
{
    WidgetGLImage view;
    view.resize(960, 540);
    view.setFrame(frameOf(filled(1920, 1080, QColor(0, 160, 0))), nullptr, nullptr);
    view.setDisplayGrid(true);
    view.setDisplayCoveringZone(true);
    view.setCoveringZone(300, true);
    view.show();
    ASSERT_TRUE(waitUntil([&] { return view.isValid(); }));
    const QImage shot = view.grabFramebuffer();
    shot.save(QStringLiteral(BZK_TEST_PICTURES_DIR) + "/frame-view-opengl.png");
    EXPECT_FALSE(view.paintFailed());
    EXPECT_EQ(view.pictureRect(), QRect(0, 0, 960, 540));
    EXPECT_EQ(shot.pixelColor(60, 60), QColor(0, 160, 0));
    // Antialiased lines of one pixel share their colour between two columns.
    const auto either = [&](int x, int y, auto test) { return test(shot.pixelColor(x - 1, y)) || test(shot.pixelColor(x, y)); };
    EXPECT_TRUE(either(120, 60, [](QColor c) { return c.blue() > 100 && c.green() < 120; })) << "a grid line";
    EXPECT_TRUE(either(809, 60, [](QColor c) { return c.red() > 100 && c.green() > 160; })) << "the covering zone";
}

TEST_F(GLViewTest, PanelKeepsOpenGLViewsWherePaintingWorks)
{
    WidgetVideoPlayer panel;
    ASSERT_TRUE(panel.hardwareRendering());
    auto *master = dynamic_cast<WidgetGLImage *>(panel.imageWidget());
    ASSERT_NE(master, nullptr);
    panel.resize(928, 451);
    panel.displayFrame(frameOf(filled(320, 240, QColor(200, 100, 0))));
    panel.show();
    ASSERT_TRUE(waitUntil([&] { return master->isValid(); }));
    const QImage shot = master->grabFramebuffer();
    panel.grab().save(QStringLiteral(BZK_TEST_PICTURES_DIR) + "/video-panel-opengl.png");
    EXPECT_FALSE(master->paintFailed());
    EXPECT_EQ(shot.pixelColor(master->pictureRect().center()), QColor(200, 100, 0));
    EXPECT_EQ(logLines("Disable hardware rendering"), 0);
}
