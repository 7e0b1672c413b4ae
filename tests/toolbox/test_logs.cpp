// Log units and the log facade: lines, daily files, rotation and purge by date, coloured views.
#include "ToolboxTestSupport.h"
#include "ZyAppData.h"
#include "ZyLogs.h"
#include "ZyLogsUnit.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>

#include <atomic>
#include <thread>
#include <vector>

namespace {

QStringList viewLines(const QPlainTextEdit &view)
{
    if (view.document()->isEmpty())
        return {};
    return view.toPlainText().split('\n');
}

class LogsTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        setNow(QDateTime(QDate(2023, 12, 19), QTime(10, 11, 12, 345)));
        unit.setClock([this] { return now; });
    }

    void setNow(const QDateTime &when) { now = when; }

    QString path(const QString &fileName) const { return dir.filePath(fileName); }

    void touch(const QString &fileName) const
    {
        QFile file(path(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QByteArray contents(const QString &fileName) const
    {
        QFile file(path(fileName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QDateTime now;
    ZyLogsUnit unit;
};

TEST_F(LogsTest, FileTakesEveryLevelAsLatin1LinesWithCrLf)
{
    unit.setLevel(4);
    unit.initFile(true, dir.path(), "BZK7", 8);
    unit.log(7, QString::fromUtf8("d\u00e9tail \u20ac"));
    unit.log(3, "error %1 %2");
    EXPECT_EQ(contents("20231219_BZK7.log"),
              QByteArray("10:11:12.345 [7] d\xe9tail ?\r\n10:11:12.345 [3] error %1 %2\r\n"));
}

TEST_F(LogsTest, LevelAboveMaximumReachesNeitherViewNorConsole)
{
    QPlainTextEdit view;
    unit.setLevel(4);
    unit.setConsole(true);
    unit.setTextBrowser(&view);
    testing::internal::CaptureStdout();
    unit.log(7, "hidden");
    unit.log(4, "shown");
    const std::string console = testing::internal::GetCapturedStdout();
    EXPECT_EQ(console, "10:11:12.345 [4] shown\n");
    ASSERT_TRUE(waitUntil([&] { return !viewLines(view).isEmpty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(viewLines(view), QStringList{"10:11:12.345 [4] shown"});
}

TEST_F(LogsTest, FirstLineOfANewDateSwitchesFileAndDropsTheOneDaysToKeepOlder)
{
    touch("20231211_BZK7.log");
    touch("20231210_BZK7.log");
    setNow(QDateTime(QDate(2023, 12, 18), QTime(23, 59, 59)));
    unit.initFile(true, dir.path(), "BZK7", 8);
    EXPECT_TRUE(QFile::exists(path("20231210_BZK7.log"))) << "set-up keeps a file exactly 8 days old";
    unit.log(5, "before midnight");
    EXPECT_FALSE(QFile::exists(path("20231210_BZK7.log")));
    EXPECT_TRUE(QFile::exists(path("20231211_BZK7.log")));

    setNow(QDateTime(QDate(2023, 12, 19), QTime(0, 0, 1)));
    unit.log(5, "after midnight");
    EXPECT_FALSE(QFile::exists(path("20231211_BZK7.log")));
    EXPECT_EQ(contents("20231218_BZK7.log"), QByteArray("23:59:59.000 [5] before midnight\r\n"));
    EXPECT_EQ(contents("20231219_BZK7.log"), QByteArray("00:00:01.000 [5] after midnight\r\n"));
}

TEST_F(LogsTest, SetUpPurgeRemovesOnlyOwnDailyFilesOlderThanDaysToKeep)
{
    const QStringList kept = {"20231211_BZK7.log", "20231201_Other.log", "2023121_BZK7.log", "20231201_BZK7.txt",
                              "20231230_BZK7.log", "x20231201_BZK7.log", "20231201_BZK7.log.old"};
    const QStringList removed = {"20231210_BZK7.log", "20230101_BZK7.log"};
    for (const QString &name : kept + removed)
        touch(name);
    unit.initFile(true, dir.path(), "BZK7", 8);
    for (const QString &name : kept)
        EXPECT_TRUE(QFile::exists(path(name))) << name.toStdString();
    for (const QString &name : removed)
        EXPECT_FALSE(QFile::exists(path(name))) << name.toStdString();
}

TEST_F(LogsTest, ZeroDaysToKeepRemovesNothing)
{
    touch("20200101_BZK7.log");
    touch("20231211_BZK7.log");
    unit.initFile(true, dir.path(), "BZK7", 0);
    unit.log(5, "line");
    EXPECT_TRUE(QFile::exists(path("20200101_BZK7.log")));
    EXPECT_TRUE(QFile::exists(path("20231211_BZK7.log")));
}

TEST_F(LogsTest, PurgeTakesTheNameLiterallyNotAsAPattern)
{
    touch("20230101_BZK(7)+.log");
    touch("20230101_BZK77.log");
    touch("20230101_BZKx7.log");
    unit.initFile(true, dir.path(), "BZK(7)+", 8);
    EXPECT_FALSE(QFile::exists(path("20230101_BZK(7)+.log")));
    EXPECT_TRUE(QFile::exists(path("20230101_BZK77.log")));
    EXPECT_TRUE(QFile::exists(path("20230101_BZKx7.log")));
}

TEST_F(LogsTest, InitFileCreatesAMissingFolderWithItsParents)
{
    const QString folder = dir.filePath("a/b/c");
    unit.initFile(true, folder, "BZK7", 8);
    unit.log(5, "line");
    EXPECT_TRUE(QFile::exists(folder + "/20231219_BZK7.log"));
}

TEST_F(LogsTest, UnopenableFileStillFeedsTheViewAndIsRetriedAfterReinit)
{
    touch("blocker");
    QPlainTextEdit view;
    unit.setTextBrowser(&view);
    unit.initFile(true, path("blocker"), "BZK7", 8);
    unit.log(4, "first");
    ASSERT_TRUE(waitUntil([&] { return viewLines(view).size() == 1; }));
    unit.initFile(true, dir.path(), "BZK7", 8);
    unit.log(4, "second");
    EXPECT_EQ(contents("20231219_BZK7.log"), QByteArray("10:11:12.345 [4] second\r\n"));
}

TEST(LogsExpansion, VariablesExpandWhateverTheirCaseAndOnlyOnce)
{
    qputenv("BZK_TEST_DIR", "/x");
    qputenv("BZK_TEST_LOOP", "%BZK_TEST_LOOP%");
    qunsetenv("BZK_TEST_ABSENT");
    const struct
    {
        const char *text;
        const char *expanded;
    } cases[] = {
        {"%BZK_TEST_DIR%/a", "/x/a"},
        {"%bzk_test_dir%/a", "/x/a"},
        {"%Bzk_Test_Dir%/a/%BZK_TEST_DIR%", "/x/a//x"},
        {"%BZK_TEST_ABSENT%/a", "/a"},
        {"%BZK_TEST_LOOP%/a", "%BZK_TEST_LOOP%/a"},
        {"50%/a", "50%/a"},
        {"plain", "plain"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ZyLogsUnit::expandVariables(c.text), QString(c.expanded)) << c.text;
}

TEST(LogsExpansion, AppDataIsTheEnvironmentValueElseTheUserDataFolder)
{
    const QByteArray saved = qgetenv("APPDATA");
    qputenv("APPDATA", "/roaming");
    EXPECT_EQ(ZyLogsUnit::expandVariables("%AppData%/BZK"), QString("/roaming/BZK"));
    qunsetenv("APPDATA");
    EXPECT_EQ(ZyLogsUnit::expandVariables("%AppData%/BZK"),
              QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/BZK");
    EXPECT_EQ(ZyAppData::folder(), QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (!saved.isEmpty())
        qputenv("APPDATA", saved);
}

TEST_F(LogsTest, ViewShowsMarkupAsTypedInTheLevelsColour)
{
    QPlainTextEdit view;
    unit.setLevel(7);
    unit.setTextBrowser(&view);
    const QList<std::pair<quint8, QString>> expected = {
        {2, "#800000"}, {3, "#800000"}, {4, "#ffa500"}, {5, "#000000"}, {6, "#808080"}, {7, "#808080"}};
    for (const auto &[level, colour] : expected)
        unit.log(level, "<b>&amp; \"x\"</b>");
    ASSERT_TRUE(waitUntil([&] { return viewLines(view).size() == expected.size(); }));
    QTextBlock block = view.document()->firstBlock();
    for (const auto &[level, colour] : expected) {
        EXPECT_EQ(block.text(), QString("10:11:12.345 [%1] <b>&amp; \"x\"</b>").arg(level));
        EXPECT_EQ(block.begin().fragment().charFormat().foreground().color().name(), colour) << int(level);
        block = block.next();
    }
}

TEST_F(LogsTest, ViewKeepsTheNewest300Lines)
{
    QPlainTextEdit view;
    unit.setTextBrowser(&view);
    for (int i = 0; i < 310; ++i)
        unit.log(3, QString::number(i));
    ASSERT_TRUE(waitUntil([&] { return viewLines(view).value(299).endsWith("] 309"); }));
    const QStringList lines = viewLines(view);
    EXPECT_EQ(lines.size(), 300);
    EXPECT_TRUE(lines.first().endsWith("] 10"));
}

TEST_F(LogsTest, ViewScrolledUpStaysWhileAViewAtTheEndFollows)
{
    QPlainTextEdit view;
    view.resize(200, 100);
    view.show();
    unit.setTextBrowser(&view);
    for (int i = 0; i < 50; ++i)
        unit.log(3, QString::number(i));
    ASSERT_TRUE(waitUntil([&] { return viewLines(view).size() == 50; }));
    QScrollBar *bar = view.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    bar->setValue(0);
    unit.log(3, "more");
    ASSERT_TRUE(waitUntil([&] { return viewLines(view).size() == 51; }));
    EXPECT_EQ(bar->value(), 0);

    bar->setValue(bar->maximum());
    unit.log(3, "again");
    ASSERT_TRUE(waitUntil([&] { return viewLines(view).size() == 52; }));
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(LogsTest, LinesFromOtherThreadsReachTheViewAndTheFileWhole)
{
    QPlainTextEdit view;
    unit.setLevel(7);
    unit.setTextBrowser(&view);
    unit.initFile(true, dir.path(), "BZK7", 8);
    const int threads = 4;
    const int perThread = 60;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([this, t] {
            for (int i = 0; i < perThread; ++i)
                unit.log(5, QString("t%1-%2 %3").arg(t).arg(i).arg(QString(40, 'x')));
        });
    for (std::thread &worker : workers)
        worker.join();
    ASSERT_TRUE(waitUntil([&] { return viewLines(view).size() == threads * perThread; }));

    const QList<QByteArray> lines = contents("20231219_BZK7.log").split('\n');
    ASSERT_EQ(lines.size(), threads * perThread + 1);
    EXPECT_TRUE(lines.last().isEmpty());
    const QRegularExpression whole(QRegularExpression::anchoredPattern("10:11:12\\.345 \\[5\\] t\\d-\\d+ x{40}\r"));
    for (int i = 0; i < threads * perThread; ++i)
        EXPECT_TRUE(whole.match(QString::fromLatin1(lines.at(i))).hasMatch()) << lines.at(i).toStdString();
}

TEST_F(LogsTest, DestroyedViewIsNoLongerFed)
{
    auto *view = new QPlainTextEdit;
    unit.setTextBrowser(view);
    unit.log(3, "one");
    delete view;
    unit.log(3, "two");
    QCoreApplication::processEvents();
    SUCCEED();
}

class LogsFacadeTest : public LogsTest
{
protected:
    void TearDown() override
    {
        delete owner;
        LogsTest::TearDown();
    }

    QObject *owner = new QObject;
};

TEST_F(LogsFacadeTest, FacadeDropsLinesBeforeInitAndAfterItsOwnerIsGone)
{
    ZyLogs::log(3, "before init");
    ZyLogs::setLevel(7);
    EXPECT_EQ(ZyLogs::globalUnit(), nullptr);

    ZyLogs::init(owner);
    ASSERT_NE(ZyLogs::globalUnit(), nullptr);
    EXPECT_EQ(ZyLogs::globalUnit()->parent(), owner);

    delete owner;
    owner = nullptr;
    EXPECT_EQ(ZyLogs::globalUnit(), nullptr);
    ZyLogs::log(3, "after owner is gone");
    ZyLogs::setConsole(true);
}

TEST_F(LogsFacadeTest, SecondInitReplacesTheGlobalUnit)
{
    ZyLogs::init(owner);
    QPointer<ZyLogsUnit> first = ZyLogs::globalUnit();
    ZyLogs::init(owner);
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(ZyLogs::globalUnit(), nullptr);
}

TEST_F(LogsFacadeTest, ForwardingUnitsFeedTheGlobalFile)
{
    ZyLogs::init(owner);
    ZyLogs::globalUnit()->setClock([this] { return now; });
    ZyLogs::initFile(true, dir.path(), "BZK7", 8);
    unit.setLevel(7);
    unit.setForward(true);
    unit.log(7, "sensor trace");
    EXPECT_EQ(contents("20231219_BZK7.log"), QByteArray("10:11:12.345 [7] sensor trace\r\n"));
}

} // namespace

namespace {

struct RepeatCase {
    const char *name;
    std::vector<std::pair<quint8, QString>> lines;
    bool flush;
    QByteArray file;
};

class LogRepeats : public LogsTest, public testing::WithParamInterface<RepeatCase>
{
};

} // namespace

TEST_P(LogRepeats, RunOfTheSameLineIsWrittenOnceWithItsCount)
{
    unit.initFile(true, dir.path(), "BZK7", 8);
    for (const auto &[level, text] : GetParam().lines)
        unit.log(level, text);
    if (GetParam().flush)
        unit.flush();
    EXPECT_EQ(contents("20231219_BZK7.log"), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Logs, LogRepeats,
    testing::Values(
        RepeatCase{"EndedByAnotherLine",
                   {{5, "lost"}, {5, "lost"}, {5, "lost"}, {5, "back"}},
                   false,
                   "10:11:12.345 [5] lost\r\n10:11:12.345 [5] lost (repeated 2 more times)\r\n"
                   "10:11:12.345 [5] back\r\n"},
        RepeatCase{"EndedByAFlush",
                   {{5, "lost"}, {5, "lost"}},
                   true,
                   "10:11:12.345 [5] lost\r\n10:11:12.345 [5] lost (repeated 1 more times)\r\n"},
        RepeatCase{"PendingUntilTheRunEnds", {{5, "lost"}, {5, "lost"}}, false, "10:11:12.345 [5] lost\r\n"},
        RepeatCase{"OtherLevelIsAnotherLine",
                   {{5, "lost"}, {3, "lost"}},
                   false,
                   "10:11:12.345 [5] lost\r\n10:11:12.345 [3] lost\r\n"},
        RepeatCase{"AlternatingLinesAreAllWritten",
                   {{5, "a"}, {5, "b"}, {5, "a"}},
                   true,
                   "10:11:12.345 [5] a\r\n10:11:12.345 [5] b\r\n10:11:12.345 [5] a\r\n"}),
    [](const testing::TestParamInfo<RepeatCase> &info) { return std::string(info.param.name); });

