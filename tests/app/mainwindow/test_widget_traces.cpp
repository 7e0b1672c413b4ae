// The traces dock: which tab shows which log, Clear, and the remembered tab.
#include "MainWindowTestSupport.h"
#include "TestPictures.h"
#include "WidgetTraces.h"
#include "ZyLogs.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <memory>

namespace {

class WidgetTracesTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        globalOwner = std::make_unique<QObject>();
        ZyLogs::init(globalOwner.get());
        ZyLogs::setLevel(7);
        window = std::make_unique<FakeMainWindow>();
        for (ZyLogsUnit *unit : {&window->app, &window->sensor, &window->library}) {
            unit->setLevel(7);
            unit->setForward(true);
        }
    }
    void TearDown() override
    {
        traces.reset();
        window.reset();
        globalOwner.reset();
        MainWindowTest::TearDown();
    }

    WidgetTraces &makeTraces()
    {
        traces = std::make_unique<WidgetTraces>();
        traces->resize(520, 260);
        return *traces;
    }
    QTabWidget *tabs() { return traces->findChild<QTabWidget *>("tabWidget"); }
    QString view(const char *name) { return traces->findChild<QPlainTextEdit *>(name)->toPlainText(); }
    bool shows(const char *name, const QString &text) { return view(name).contains(text); }

    std::unique_ptr<QObject> globalOwner;
    std::unique_ptr<FakeMainWindow> window;
    std::unique_ptr<WidgetTraces> traces;
};

TEST_F(WidgetTracesTest, FirstStartShowsTheApplicationTabAndTheChosenTabIsRemembered)
{
    makeTraces();
    QStringList titles;
    for (int i = 0; i < tabs()->count(); ++i)
        titles << tabs()->tabText(i);
    EXPECT_EQ(titles, QStringList({"All", "BZK", "PXR", "Sensor"}));
    EXPECT_EQ(tabs()->currentIndex(), 1);
    tabs()->setCurrentIndex(3);
    traces.reset();
    EXPECT_EQ(QSettings().value("traceTab").toUInt(), 3u);
    EXPECT_EQ(makeTraces().findChild<QTabWidget *>("tabWidget")->currentIndex(), 3);
    traces.reset();
    QSettings().setValue("traceTab", 9u);
    EXPECT_EQ(makeTraces().findChild<QTabWidget *>("tabWidget")->currentIndex(), 0) << "out of range: the form's own";
}

TEST_F(WidgetTracesTest, EachLogReachesItsTabsAndClearEmptiesThemAll)
{
    makeTraces();
    window->app.log(5, "application line");
    window->library.log(3, "library line");
    window->sensor.log(4, "sensor line");
    ZyLogs::log(2, "global line");
    ASSERT_TRUE(waitLong([&] {
        return shows("plainTextEdit", "global line") && shows("plainTextEdit", "application line")
               && shows("plainTextEdit", "library line") && shows("plainTextEdit", "sensor line");
    }));
    ASSERT_TRUE(waitLong([&] {
        return shows("plainTextEditBZK", "application line") && shows("plainTextEditPXR", "library line")
               && shows("plainTextEditSensor", "sensor line");
    }));
    for (const char *name : {"plainTextEditBZK", "plainTextEditPXR", "plainTextEditSensor"})
        EXPECT_FALSE(shows(name, "global line")) << name;
    EXPECT_FALSE(shows("plainTextEditBZK", "library line"));
    EXPECT_FALSE(shows("plainTextEditPXR", "sensor line"));
    for (int tab = 0; tab < 4; ++tab) {
        tabs()->setCurrentIndex(tab);
        keepPicture(*traces, "WidgetTraces-" + tabs()->tabText(tab));
    }

    emit traces->findChild<QLabel *>()->linkActivated("anything");
    for (const char *name : {"plainTextEdit", "plainTextEditBZK", "plainTextEditPXR", "plainTextEditSensor"})
        EXPECT_TRUE(view(name).isEmpty()) << name;
    window->app.log(5, "after clear");
    ASSERT_TRUE(waitLong([&] { return shows("plainTextEdit", "after clear") && shows("plainTextEditBZK", "after clear"); }));
    EXPECT_EQ(view("plainTextEditBZK").count('\n'), 0) << "the new line alone";
    EXPECT_EQ(view("plainTextEdit").count('\n'), 0);
    EXPECT_TRUE(view("plainTextEditPXR").isEmpty());
}

} // namespace
