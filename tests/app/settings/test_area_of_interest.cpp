// The area of interest dialog: the zone read in both forms, moved with the mouse and sent back
// from its topmost point, the switch and the mode handed to the view, and the refusal to open
// without a picture of the scene; with the stream and still picture dialogs, the sensor's answer
// judged under their common title.
#include "SettingsTestSupport.h"
#include "VideoUiTestSupport.h"

#include "WidgetImage.h"
#include "WidgetVideoPlayer.h"

#include <QBuffer>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

using namespace settingstest;
using fybsim::Element;
using fybsim::Reply;

Element rectangle(Attributes changes = {}, std::initializer_list<const char *> removed = {})
{
    Element made = element("areaOfInterest", {{"enabled", "1"}, {"excludingZone", "1"}, {"x", "100"}, {"y", "50"},
                                              {"width", "200"}, {"height", "100"}});
    for (const auto &[key, value] : changes)
        made.set(key, value);
    for (const char *name : removed)
        std::erase_if(made.attributes, [name](const auto &attribute) { return attribute.first == name; });
    return made;
}

// The zone as points under any names; the third is the topmost.
Element pointZone(Attributes attributes, const std::vector<std::pair<int, int>> &points)
{
    Element made = element("areaOfInterest", attributes);
    int n = 0;
    for (const auto &[x, y] : points)
        made.add(Element("p" + std::to_string(++n)).set("x", std::to_string(x)).set("y", std::to_string(y)));
    return made;
}

// The points as the sensor is sent them: point1, point2, ...
Element sentPoints(Attributes attributes, const std::vector<std::pair<int, int>> &points)
{
    Element made = element("areaOfInterest", attributes);
    int n = 0;
    for (const auto &[x, y] : points)
        made.add(Element("point" + std::to_string(++n)).set("x", std::to_string(x)).set("y", std::to_string(y)));
    return made;
}

const std::vector<std::pair<int, int>> kFive = {{400, 300}, {900, 200}, {700, 100}, {1200, 500}, {300, 800}};

Element requestOf(const Element &feature)
{
    return Element("setConfig").add(Element("config").add(Element("cameras").add(camera("0", {feature}))));
}

// The video page of the window, its master view holding a picture of camera 0 (1920 x 1080) at
// half size, so that a view of the picture's size maps one widget pixel to two camera pixels.
class AreaOfInterestTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        panel = std::make_unique<WidgetVideoPlayer>();
        window.player = panel.get();
        panel->imageWidget()->setImage("0", videouitest::filled(960, 540, QColor(60, 90, 120)));
    }
    void TearDown() override
    {
        window.player = nullptr;
        panel.reset();
        SettingsTest::TearDown();
    }

    static WidgetImage *view(QDialog &dialog) { return child<WidgetImage>(dialog, "widgetImage"); }

    // Shown with the view at the picture's size, drawn once so that the mouse maps onto it.
    static WidgetImage *shownView(QDialog &dialog)
    {
        WidgetImage *image = view(dialog);
        image->setFixedSize(960, 540);
        dialog.show();
        QCoreApplication::processEvents();
        image->QWidget::repaint();
        return image;
    }

    // Drags with the left button from one camera pixel to another.
    static void drag(WidgetImage &image, QPoint from, QPoint to)
    {
        const QPoint offset = image.pictureRect().topLeft();
        videouitest::mouse(image, QEvent::MouseButtonPress, Qt::LeftButton, offset + from / 2);
        videouitest::mouse(image, QEvent::MouseMove, Qt::LeftButton, offset + (from + to) / 4);
        videouitest::mouse(image, QEvent::MouseMove, Qt::LeftButton, offset + to / 2);
        videouitest::mouse(image, QEvent::MouseButtonRelease, Qt::LeftButton, offset + to / 2);
    }

    std::unique_ptr<WidgetVideoPlayer> panel;
};

struct ZoneCase
{
    const char *name;
    Element configured;
    std::function<void(QDialog &)> edit;
    Element sent;
};

TEST_F(AreaOfInterestTest, TheZoneIsSentInItsFormFromItsTopmostPoint)
{
    const ZoneCase cases[] = {
        {"rectangle untouched", rectangle(),
         [](QDialog &d) {
             EXPECT_EQ(view(d)->polygon(), (QVector<QPoint>{{100, 50}, {300, 50}, {300, 150}, {100, 150}}));
             EXPECT_TRUE(view(d)->rectangleZone());
             EXPECT_TRUE(view(d)->excludingZone());
             EXPECT_TRUE(view(d)->polygonEditable());
         },
         rectangle()},
        // The corners are found by |x| + |y|: a corner dragged past the other side still gives
        // a positive size.
        {"top-right corner dragged past the left edge", rectangle(),
         [](QDialog &d) { drag(*shownView(d), {300, 50}, {40, 80}); },
         rectangle({{"x", "40"}, {"y", "80"}, {"width", "60"}, {"height", "70"}})},
        {"points, third topmost", pointZone({{"enabled", "1"}, {"excludingZone", "0"}}, kFive),
         [](QDialog &d) { EXPECT_FALSE(view(d)->rectangleZone()); },
         sentPoints({{"enabled", "1"}, {"excludingZone", "0"}},
                    {{700, 100}, {1200, 500}, {300, 800}, {400, 300}, {900, 200}})},
        {"a point dragged above the others", pointZone({{"enabled", "1"}, {"excludingZone", "0"}}, kFive),
         [](QDialog &d) { drag(*shownView(d), {300, 800}, {300, 20}); },
         sentPoints({{"enabled", "1"}, {"excludingZone", "0"}},
                    {{300, 20}, {400, 300}, {900, 200}, {700, 100}, {1200, 500}})},
        {"a point without y skipped", pointZone({{"enabled", "1"}}, {{10, 10}, {20, 20}}).add(Element("p3").set("x", "5")),
         nullptr, sentPoints({{"enabled", "1"}}, {{10, 10}, {20, 20}})},
        {"switched off, exclusion to inclusion", rectangle(),
         [](QDialog &d) {
             child<QCheckBox>(d, "checkEnable")->click();
             child<QRadioButton>(d, "radioInclude")->click();
         },
         rectangle({{"enabled", "0"}, {"excludingZone", "0"}})},
        {"no mode: both choices off, none sent", rectangle({}, {"excludingZone"}),
         [](QDialog &d) {
             EXPECT_FALSE(child<QRadioButton>(d, "radioInclude")->isEnabled());
             EXPECT_FALSE(child<QRadioButton>(d, "radioExclude")->isEnabled());
         },
         rectangle({}, {"excludingZone"})},
        // The switch is sent in every case: off unless the operator turns it on.
        {"no switch", rectangle({}, {"enabled"}),
         [](QDialog &d) {
             EXPECT_FALSE(child<QCheckBox>(d, "checkEnable")->isChecked());
             EXPECT_FALSE(view(d)->areaOfInterestEnabled());
         },
         rectangle({{"enabled", "0"}})},
        {"no switch, turned on", rectangle({}, {"enabled"}),
         [](QDialog &d) { child<QCheckBox>(d, "checkEnable")->click(); }, rectangle()},
    };
    for (const ZoneCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {c.configured})})));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("0:areaOfInterest2", [&](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Area of interest");
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, requestOf(c.sent));
    }
}

// The switch and the mode change only what the view draws until OK; the points stay where they
// were left.
TEST_F(AreaOfInterestTest, SwitchAndModeGoToTheViewAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {pointZone({{"enabled", "1"}, {"excludingZone", "1"}}, kFive)})})));
    const fybsim::FybSensor::Mark mark = server.mark();
    open("0:areaOfInterest2", [&](QDialog &dialog) {
        WidgetImage *image = shownView(dialog);
        drag(*image, {300, 800}, {320, 760});
        const QVector<QPoint> moved = image->polygon();
        child<QCheckBox>(dialog, "checkEnable")->click();
        EXPECT_FALSE(image->areaOfInterestEnabled());
        child<QCheckBox>(dialog, "checkEnable")->click();
        EXPECT_TRUE(image->areaOfInterestEnabled());
        // Turned to start at the topmost point, the same points in the same cycle.
        QVector<QPoint> twice = moved + moved;
        const QVector<QPoint> now = image->polygon();
        EXPECT_TRUE(std::search(twice.begin(), twice.end(), now.begin(), now.end()) != twice.end() &&
                    now.size() == moved.size());
        EXPECT_TRUE(moved.contains(QPoint(320, 760)));
        child<QRadioButton>(dialog, "radioInclude")->click();
        EXPECT_FALSE(image->excludingZone());
        child<QRadioButton>(dialog, "radioExclude")->click();
        EXPECT_TRUE(image->excludingZone());
        dialog.reject();
    });
    EXPECT_TRUE(requestsSince(mark).empty());
}

TEST_F(AreaOfInterestTest, ACameraWithoutTheZoneLeavesNothingToSend)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {})})));
    const fybsim::FybSensor::Mark mark = server.mark();
    const int result = openAndOk("0:areaOfInterest2", [](QDialog &dialog) {
        EXPECT_TRUE(shown(child<QLabel>(dialog, "labelMissingSettings")));
        EXPECT_FALSE(okButton(dialog)->isEnabled());
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(requestsSince(mark).empty());
}

QByteArray jpegOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

// With nothing shown, one still picture is asked of the sensor; without one the dialog ends
// unshown with its box after the video page's own.
TEST_F(AreaOfInterestTest, WithoutAPictureOneIsAskedAndItsFailureEndsTheDialog)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {rectangle()})})));
    panel->imageWidget()->reset();
    panel->imageWidget()->setImage("0", QImage());

    server.setReply("getImage", Reply::failed("camera busy"));
    fybsim::FybSensor::Mark mark = server.mark();
    seen.clear();
    dispatcher.dispatch("0:areaOfInterest2");
    EXPECT_TRUE(server.waitForRoot(mark, "getImage", 15s).has_value());
    QStringList boxes;
    for (const SeenDialog &box : seen)
        boxes << box.kind << box.title << box.text;
    ASSERT_EQ(boxes.size(), 6);
    EXPECT_EQ(boxes.mid(3), QStringList({"QMessageBox", "Error", "No image could be acquired."}));
    EXPECT_EQ(boxes[2], "Unable to get image");
    EXPECT_TRUE(requestsSince(mark).empty());

    server.setReply("getImage", fybsim::imageReply("jpeg", jpegOf(videouitest::filled(640, 360, Qt::darkGreen)).toStdString()));
    mark = server.mark();
    EXPECT_EQ(open("0:areaOfInterest2", [](QDialog &dialog) {
                  EXPECT_EQ(view(dialog)->image().size(), QSize(640, 360));
                  dialog.reject();
              }),
              QDialog::Rejected);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(server.waitForRoot(mark, "getImage", 15s).has_value());
}

// The camera dialogs of the picture judge the sensor's answer under "Configuration": a refusal
// keeps the dialog open with what the operator set, a warning closes it.
TEST_F(AreaOfInterestTest, TheSensorsAnswerIsJudgedUnderConfiguration)
{
    const struct
    {
        Reply reply;
        int result;
        QStringList boxes;
    } answers[] = {
        {Reply::failed("refused"), QDialog::Rejected, {"Configuration", "Error : action failed"}},
        {Reply::warning({{"partly", "config/cameras/camera", "s.c:3"}}), QDialog::Accepted,
         {"Configuration", "Warning : some parts of the message have failed"}},
    };
    const Element stream = element("stream", {{"enabled", "1"}});
    const Element still = element("stillPicture", {{"enabled", "1"}});
    for (const auto &answer : answers) {
        for (const char *tag : {"0:stream", "0:stillPicture", "0:areaOfInterest2"}) {
            SCOPED_TRACE(testing::Message() << tag << ' ' << answer.result);
            ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {stream, still, rectangle()})})));
            server.setReply("setConfig", answer.reply);
            const fybsim::FybSensor::Mark mark = server.mark();
            const int result = open(QString::fromLatin1(tag), [](QDialog &dialog) {
                const QList<QGroupBox *> switches = dialog.findChildren<QGroupBox *>();
                if (!switches.isEmpty())
                    switches.front()->setChecked(false);
                else
                    child<QCheckBox>(dialog, "checkEnable")->setChecked(false);
                okButton(dialog)->click();
                if (dialog.result() == QDialog::Rejected) {
                    EXPECT_TRUE(switches.isEmpty() ? !child<QCheckBox>(dialog, "checkEnable")->isChecked()
                                                   : !switches.front()->isChecked());
                }
            });
            EXPECT_EQ(result, answer.result);
            QStringList boxes;
            for (std::size_t i = 1; i < seen.size(); ++i)
                boxes << seen[i].title << seen[i].text;
            EXPECT_EQ(boxes, answer.boxes);
            EXPECT_EQ(requestsSince(mark).size(), 1u);
        }
    }
}

TEST_F(AreaOfInterestTest, AreaOfInterestPictures)
{
    const struct
    {
        Element zone;
        const char *picture;
    } cases[] = {
        {rectangle({{"x", "400"}, {"y", "300"}, {"width", "900"}, {"height", "450"}}),
         "settings-area-of-interest-rectangle-exclusion"},
        {pointZone({{"enabled", "1"}, {"excludingZone", "0"}}, kFive), "settings-area-of-interest-points-inclusion"},
    };
    for (const auto &c : cases) {
        ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {c.zone})})));
        open("0:areaOfInterest2", [&](QDialog &dialog) {
            keepPicture(dialog, c.picture);
            dialog.reject();
        });
    }
}

} // namespace
