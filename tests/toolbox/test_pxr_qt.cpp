// PXR message adapters: wire-form byte arrays, sensor time stamps, log dumps with secrets masked.
#include "PXRQt.h"
#include "ToolboxTestSupport.h"
#include "ZyLogs.h"
#include "ZyLogsUnit.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

struct MsgDeleter
{
    void operator()(PXRMsg *psMsg) const { PXRMsgDestroy(psMsg); }
};
using MsgPtr = std::unique_ptr<PXRMsg, MsgDeleter>;

PXRMsgElement *addChild(PXRMsgElement *parent, const char *name)
{
    PXRMsgElement *child = PXRMsgElementCreate(name);
    PXRMsgElementAddChild(parent, child);
    return child;
}

// setConfig > device(name=S1) > picture(content), and setConfig > user(password).
MsgPtr sampleMessage()
{
    MsgPtr msg(PXRMsgCreate());
    PXRMsgElement *root = PXRMsgElementCreate("setConfig");
    PXRMsgSetChild(msg.get(), root);
    PXRMsgElement *device = addChild(root, "device");
    PXRMsgElementSetAttribute(device, "name", "S1");
    PXRMsgElementSetContentBinary(addChild(device, "picture"), "\x01\x02\x03", 3);
    PXRMsgElementSetAttribute(addChild(root, "user"), "password", "hunter2");
    return msg;
}

class PxrQtTest : public ToolboxTest
{
protected:
    static void SetUpTestSuite() { ASSERT_EQ(PXR_initLibrary(), 1); }
    static void TearDownTestSuite() { PXR_releaseLibrary(); }

    void SetUp() override
    {
        ToolboxTest::SetUp();
        unit.setClock([] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); });
        unit.initFile(true, dir.path(), "dump", 0);
    }

    // The lines the unit wrote, without their time and level.
    QStringList loggedLines()
    {
        QFile file(dir.filePath("20240102_dump.log"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromLatin1(file.readAll()).split("\r\n");
        lines.removeLast();
        for (QString &line : lines) {
            EXPECT_TRUE(line.startsWith("03:04:05.000 [7] ")) << line.toStdString();
            line.remove(0, qsizetype(strlen("03:04:05.000 [7] ")));
        }
        return lines;
    }

    QTemporaryDir dir;
    ZyLogsUnit unit;
};

TEST_F(PxrQtTest, MessageSurvivesTheRoundTripThroughAByteArray)
{
    MsgPtr original = sampleMessage();
    const QByteArray bytes = pxrMsgToByteArray(original.get());
    ASSERT_FALSE(bytes.isEmpty());
    MsgPtr copy(pxrMsgFromByteArray(bytes));
    ASSERT_TRUE(copy);
    EXPECT_EQ(pxrMsgToByteArray(copy.get()), bytes);
    pxrMsgLog(copy.get(), &unit);
    EXPECT_EQ(loggedLines().size(), 4);
}

TEST_F(PxrQtTest, EmptyTruncatedOrForeignBytesGiveNoMessage)
{
    const QByteArray bytes = pxrMsgToByteArray(sampleMessage().get());
    ASSERT_FALSE(bytes.isEmpty());
    for (const QByteArray &input : {QByteArray(), bytes.left(bytes.size() / 2), bytes.left(bytes.size() - 1),
                                    QByteArray("not a message")})
        EXPECT_EQ(pxrMsgFromByteArray(input), nullptr) << input.size();
}

TEST_F(PxrQtTest, FailedExportGivesAnEmptyArray)
{
    // The wire form carries at most fifteen binary contents.
    MsgPtr msg(PXRMsgCreate());
    PXRMsgElement *root = PXRMsgElementCreate("pictures");
    PXRMsgSetChild(msg.get(), root);
    for (int i = 0; i < 16; ++i)
        PXRMsgElementSetContentBinary(addChild(root, "picture"), "x", 1);
    EXPECT_TRUE(pxrMsgToByteArray(msg.get()).isEmpty());
    EXPECT_TRUE(pxrMsgToByteArray(nullptr).isEmpty());
}

TEST_F(PxrQtTest, DumpShowsTheTreeDepthFirstWithDotsPerLevel)
{
    pxrMsgLog(sampleMessage().get(), &unit);
    EXPECT_EQ(loggedLines(), QStringList({"setConfig", "...device -  name='S1' ", "......picture (has binary data) ",
                                          "...user -  password=XXXXX "}));
}

TEST_F(PxrQtTest, DumpMasksSecretsWhateverTheCaseOfTheirNames)
{
    MsgPtr msg(PXRMsgCreate());
    PXRMsgElement *root = PXRMsgElementCreate("security");
    PXRMsgSetChild(msg.get(), root);
    for (const char *name : {"Password", "currentLockPassword", "NEWLOCKPASSWORD", "keyphrase", "passPhrase", "PIN",
                             "clientSecret", "pinned", "user"})
        PXRMsgElementSetAttribute(root, name, "value");
    pxrMsgLog(msg.get(), &unit);
    EXPECT_EQ(loggedLines(), QStringList({"security -  Password=XXXXX  currentLockPassword=XXXXX "
                                          " NEWLOCKPASSWORD=XXXXX  keyphrase=XXXXX  passPhrase=XXXXX  PIN=XXXXX "
                                          " clientSecret=XXXXX  pinned='value'  user='value' "}));
}

TEST_F(PxrQtTest, MessageWithoutRootLogsNothing)
{
    MsgPtr empty(PXRMsgCreate());
    pxrMsgLog(empty.get(), &unit);
    pxrMsgLog(nullptr, &unit);
    EXPECT_TRUE(loggedLines().isEmpty());
}

TEST_F(PxrQtTest, DumpWithoutUnitGoesToTheApplicationLog)
{
    QObject owner;
    ZyLogs::init(&owner);
    ZyLogs::globalUnit()->setClock([] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); });
    ZyLogs::initFile(true, dir.path(), "dump", 0);
    pxrMsgLog(sampleMessage().get(), nullptr);
    EXPECT_EQ(loggedLines().size(), 4);
}

TEST(PxrQt, TimeStampsAreMillisecondsSinceTheEpoch)
{
    const QDateTime epoch = QDateTime::fromMSecsSinceEpoch(0);
    EXPECT_EQ(pxrDateToDateTime("0"), epoch);
    EXPECT_EQ(pxrDateToDateTime(nullptr), epoch);
    EXPECT_EQ(pxrDateToDateTime("soon"), epoch);
    EXPECT_EQ(pxrDateToDateTime("1700000000123").toMSecsSinceEpoch(), 1700000000123);
}

} // namespace
