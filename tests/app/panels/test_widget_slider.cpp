// The value slider driven by mouse, keyboard and wheel: reports only for the operator's settled
// changes, never for values the program sets, and the wheel left to the panel around it.
#include "TestPictures.h"
#include "WidgetSlider.h"

#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStyleOptionSlider>
#include <QTest>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest/qtestspontaneevent.h>

namespace {

// Long enough for the pause between a movement and its report to pass.
constexpr int kReportWaitMs = 3000;
// How long a report that should not come is given to show up anyway.
constexpr int kQuietWaitMs = 400;

const QStringList kTexts = {"auto", "day", "night", "manual"};

class WidgetSliderTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        control = new WidgetSlider(&panel);
        auto *layout = new QVBoxLayout(&panel);
        layout->addWidget(control);
        panel.resize(420, 60);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }

    QSlider *slider() const { return control->findChild<QSlider *>("slider"); }
    QSpinBox *spinBox() const { return control->findChild<QSpinBox *>("spinBox"); }
    QComboBox *comboBox() const { return control->findChild<QComboBox *>("comboBox"); }

    // Where the handle's middle is when the slider shows that value.
    QPoint handleAt(int value) const
    {
        QSlider *s = slider();
        QStyleOptionSlider option;
        option.initFrom(s);
        option.orientation = s->orientation();
        option.state |= QStyle::State_Horizontal;
        option.minimum = s->minimum();
        option.maximum = s->maximum();
        option.sliderPosition = value;
        option.sliderValue = value;
        option.singleStep = s->singleStep();
        option.pageStep = s->pageStep();
        option.tickPosition = s->tickPosition();
        option.tickInterval = s->tickInterval();
        option.upsideDown = s->invertedAppearance();
        return s->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, s).center();
    }

    void grab() { QTest::mousePress(slider(), Qt::LeftButton, {}, handleAt(slider()->value())); }
    void dragTo(int value)
    {
        QTest::mouseMove(slider(), handleAt(value));
        ASSERT_EQ(slider()->value(), value) << "the handle did not follow the mouse";
    }
    void letGo() { QTest::mouseRelease(slider(), Qt::LeftButton, {}, handleAt(slider()->value())); }

    // The ints or texts reported so far, in order.
    static QList<QVariant> reports(const QSignalSpy &spy)
    {
        QList<QVariant> values;
        for (const QList<QVariant> &arguments : spy)
            values << arguments.value(0);
        return values;
    }

    QWidget panel;
    WidgetSlider *control = nullptr;
};

TEST_F(WidgetSliderTest, ValuePushedWhileTheHandleIsHeldIsNeitherShownNorRemembered)
{
    control->setRange(0, 10);
    control->setValue(2);
    QSignalSpy spy(control, &WidgetSlider::valueChanged);
    grab();
    control->setValue(8);
    EXPECT_EQ(slider()->value(), 2);
    EXPECT_EQ(spinBox()->value(), 2);
    dragTo(5);
    EXPECT_EQ(spinBox()->value(), 5);
    letGo();
    // Whether or not the pause reported 5 first, 5 is reported once, against the value 2.
    EXPECT_EQ(reports(spy), QList<QVariant>({5}));
    EXPECT_FALSE(spy.wait(kQuietWaitMs));
    EXPECT_EQ(slider()->value(), 5) << "the pushed 8 never shows up by itself";
}

// A text pushed while the handle is held becomes the one the operator's choice is judged against.
TEST_F(WidgetSliderTest, TextPushedWhileTheHandleIsHeldIsWhatTheReleaseIsJudgedAgainst)
{
    struct Case
    {
        QString pushed;
        int draggedTo;
        QList<QVariant> reported;
    };
    const Case cases[] = {
        {"night", 2, {}},
        {"night", 3, {"manual"}},
        {"auto", 1, {"day"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pushed.toStdString() + " then " + std::to_string(c.draggedTo));
        control->setValues(kTexts);
        control->setText("auto");
        QSignalSpy spy(control, &WidgetSlider::textChanged);
        grab();
        control->setText(c.pushed);
        EXPECT_EQ(comboBox()->currentText(), QString("auto")) << "the list stays on the operator's choice";
        dragTo(c.draggedTo);
        EXPECT_EQ(comboBox()->currentIndex(), c.draggedTo);
        letGo();
        EXPECT_FALSE(spy.wait(kQuietWaitMs));
        EXPECT_EQ(reports(spy), c.reported);
    }
}

// Press and release of a handle that did not move: the value the program set is the last one.
TEST_F(WidgetSliderTest, OperatorKeepingTheValueTheProgramSetReportsNothing)
{
    control->setRange(0, 10);
    control->setValue(3);
    QSignalSpy values(control, &WidgetSlider::valueChanged);
    grab();
    letGo();
    spinBox()->setFocus();
    spinBox()->selectAll();
    QTest::keyClicks(spinBox(), "3");
    QTest::keyClick(spinBox(), Qt::Key_Return);
    EXPECT_FALSE(values.wait(kQuietWaitMs));

    control->setValues(kTexts);
    control->setText("night");
    QSignalSpy texts(control, &WidgetSlider::textChanged);
    grab();
    letGo();
    EXPECT_FALSE(texts.wait(kQuietWaitMs));
    EXPECT_TRUE(values.isEmpty());
}

TEST_F(WidgetSliderTest, PauseWhileHeldReportsAndTheReleaseOnlyWhenTheValueMovedSince)
{
    control->setRange(0, 10);
    control->setValue(0);
    QSignalSpy spy(control, &WidgetSlider::valueChanged);
    grab();
    dragTo(4);
    ASSERT_TRUE(spy.wait(kReportWaitMs)) << "the pause reports while the handle is still held";
    EXPECT_TRUE(slider()->isSliderDown());
    letGo();
    EXPECT_FALSE(spy.wait(kQuietWaitMs));
    EXPECT_EQ(reports(spy), QList<QVariant>({4}));

    grab();
    dragTo(6);
    ASSERT_TRUE(spy.wait(kReportWaitMs));
    dragTo(7);
    letGo();
    EXPECT_EQ(reports(spy).constLast(), QVariant(7)) << "the release reports at once";
    EXPECT_FALSE(spy.wait(kQuietWaitMs));
    EXPECT_EQ(reports(spy), QList<QVariant>({4, 6, 7}));
}

TEST_F(WidgetSliderTest, CommittedEntriesAreReportedOnceSettled)
{
    control->setRange(0, 10);
    control->setValue(1);
    QSignalSpy values(control, &WidgetSlider::valueChanged);
    spinBox()->setFocus();
    spinBox()->selectAll();
    QTest::keyClicks(spinBox(), "7");
    EXPECT_EQ(slider()->value(), 1) << "a number being typed is not committed";
    QTest::keyClick(spinBox(), Qt::Key_Return);
    EXPECT_EQ(slider()->value(), 7);
    ASSERT_TRUE(values.wait(kReportWaitMs));
    EXPECT_EQ(reports(values), QList<QVariant>({7}));

    control->setValues(kTexts);
    control->setText("auto");
    QSignalSpy texts(control, &WidgetSlider::textChanged);
    comboBox()->setFocus();
    QTest::keyClick(comboBox(), Qt::Key_Down);
    EXPECT_EQ(slider()->value(), 1);
    ASSERT_TRUE(texts.wait(kReportWaitMs));
    EXPECT_EQ(reports(texts), QList<QVariant>({"day"}));
    EXPECT_EQ(values.size(), 1) << "the hidden spin box reports nothing";
}

TEST_F(WidgetSliderTest, TextMissingFromTheListLeavesNoSelectionAndTheSliderAtItsMinimum)
{
    control->setValues(kTexts);
    control->setText("night");
    control->setText("Night");
    EXPECT_EQ(comboBox()->currentIndex(), -1);
    EXPECT_TRUE(comboBox()->currentText().isEmpty());
    EXPECT_EQ(slider()->value(), slider()->minimum());
    EXPECT_TRUE(control->isListMode());

    // The last value is now -1: in numeric mode the unmoved handle at 0 differs from it.
    control->setRange(0, 10);
    EXPECT_FALSE(control->isListMode());
    QSignalSpy spy(control, &WidgetSlider::valueChanged);
    grab();
    letGo();
    EXPECT_EQ(reports(spy), QList<QVariant>({0}));
}

// The wheel over the slider or the spin box scrolls the panel instead; the list takes it.
TEST_F(WidgetSliderTest, WheelLeavesTheSliderAndTheSpinBoxToThePanel)
{
    QScrollArea area;
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    auto *numeric = new WidgetSlider(content);
    auto *list = new WidgetSlider(content);
    layout->addWidget(numeric);
    layout->addWidget(list);
    layout->addSpacing(2000);
    area.setWidget(content);
    area.setWidgetResizable(true);
    area.resize(420, 200);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    numeric->setRange(0, 10);
    numeric->setValue(5);
    list->setValues(kTexts);
    list->setText("day");
    QSignalSpy values(numeric, &WidgetSlider::valueChanged);
    QSignalSpy texts(list, &WidgetSlider::textChanged);

    struct Case
    {
        QWidget *target;
        bool scrolls;
    };
    const Case cases[] = {
        {numeric->findChild<QSlider *>("slider"), true},
        {numeric->findChild<QSpinBox *>("spinBox"), true},
        {list->findChild<QComboBox *>("comboBox"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.target->objectName().toStdString());
        area.verticalScrollBar()->setValue(0);
        const QPointF at = QRectF(c.target->rect()).center();
        QWheelEvent wheel(at, c.target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        // Delivered as the window system does, so that an ignored wheel travels to the parents.
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(c.target, &wheel);
        EXPECT_EQ(area.verticalScrollBar()->value() > 0, c.scrolls);
    }
    EXPECT_EQ(numeric->findChild<QSlider *>("slider")->value(), 5);
    EXPECT_EQ(numeric->findChild<QSpinBox *>("spinBox")->value(), 5);
    ASSERT_TRUE(texts.wait(kReportWaitMs)) << "the wheel over the list is a choice";
    EXPECT_EQ(reports(texts), QList<QVariant>({"night"}));
    EXPECT_TRUE(values.isEmpty());
}

TEST_F(WidgetSliderTest, OutOfRangeValueShowsTheBoundWhichTheOperatorThenReports)
{
    const struct
    {
        int pushed;
        int bound;
    } cases[] = {{15, 10}, {-3, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pushed);
        control->setRange(0, 10);
        QSignalSpy spy(control, &WidgetSlider::valueChanged);
        control->setValue(c.pushed);
        EXPECT_EQ(slider()->value(), c.bound);
        EXPECT_EQ(spinBox()->value(), c.bound);
        EXPECT_FALSE(spy.wait(kQuietWaitMs)) << "the program's value is not reported";
        grab();
        letGo();
        EXPECT_EQ(reports(spy), QList<QVariant>({c.bound}));
    }
}

// The report's receiver may wait for the sensor with events running, and rebuild the panel that
// holds the control meanwhile.
TEST_F(WidgetSliderTest, ControlTakenAwayDuringItsReportGoesOnceTheReportHasReturned)
{
    control->setRange(0, 10);
    control->setValue(0);
    QPointer<WidgetSlider> watched = control;
    bool reporting = false;
    bool destroyedDuringReport = false;
    QObject context;
    QObject::connect(control, &QObject::destroyed, &context, [&] { destroyedDuringReport = reporting; });
    QObject::connect(control, &WidgetSlider::valueChanged, control, [&] {
        reporting = true;
        QEventLoop wait;
        QTimer::singleShot(0, &wait, [&] { watched->deleteLater(); });
        QTimer::singleShot(50, &wait, &QEventLoop::quit);
        wait.exec();
        reporting = false;
    });
    grab();
    dragTo(6);
    letGo();
    EXPECT_TRUE(waitUntil([&] { return watched.isNull(); }));
    EXPECT_FALSE(destroyedDuringReport);
    control = nullptr;
}

TEST_F(WidgetSliderTest, BothModesAreKeptAsPictures)
{
    control->setRange(0, 100);
    control->setTickInterval(10);
    control->setValue(65);
    EXPECT_TRUE(comboBox()->isHidden());
    keepPicture(panel, "widget_slider_numeric");
    control->setValues(kTexts);
    control->setTickInterval(1);
    control->setText("night");
    EXPECT_TRUE(spinBox()->isHidden());
    EXPECT_EQ(slider()->maximum(), 3);
    keepPicture(panel, "widget_slider_list");
}

} // namespace
