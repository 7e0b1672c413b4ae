// Application settings: every key's default and round trip, text from the store, the start-up
// password, expanded items and the buffer-duration notice.
#include "AppSettings.h"
#include "AppSettingsNotifier.h"
#include "CoreTestSupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <functional>

namespace {

using Getter = std::function<QVariant(const AppSettings &)>;
using Setter = std::function<void(AppSettings &, const QVariant &)>;

class AppSettingsTest : public CoreTest
{
};

struct DefaultCase
{
    const char *name;
    Getter get;
    QVariant expected;
};

TEST_F(AppSettingsTest, FreshStoreReadsEveryDefault)
{
    const DefaultCase cases[] = {
        {"windowGeometry", [](const AppSettings &s) { return QVariant(s.windowGeometry()); }, QByteArray()},
        {"windowState", [](const AppSettings &s) { return QVariant(s.windowState()); }, QByteArray()},
        {"showSettingsDock", [](const AppSettings &s) { return QVariant(s.showSettingsDock()); }, true},
        {"showTracesDock", [](const AppSettings &s) { return QVariant(s.showTracesDock()); }, false},
        {"lastSensorAddress", [](const AppSettings &s) { return QVariant(s.lastSensorAddress()); }, QString()},
        {"lastSensorPort", [](const AppSettings &s) { return QVariant(s.lastSensorPort()); }, quint16(10001)},
        {"lastSensorPortSSL", [](const AppSettings &s) { return QVariant(s.lastSensorPortSSL()); }, quint16(12001)},
        {"lastSensorOptions", [](const AppSettings &s) { return QVariant(s.lastSensorOptions()); }, QString()},
        {"securedConnection", [](const AppSettings &s) { return QVariant(s.securedConnection()); }, false},
        {"ignoreSSLErrors", [](const AppSettings &s) { return QVariant(s.ignoreSSLErrors()); }, false},
        {"dialogGeometry(DialogRecognitionGroup)",
         [](const AppSettings &s) { return QVariant(s.dialogGeometry("DialogRecognitionGroup")); }, QByteArray()},
        {"splitterRecognitionGroupState",
         [](const AppSettings &s) { return QVariant(s.splitterRecognitionGroupState()); }, QByteArray()},
        {"dialogGeometry(DialogSelectSensor)",
         [](const AppSettings &s) { return QVariant(s.dialogGeometry("DialogSelectSensor")); }, QByteArray()},
        {"lastSaveRecoDir", [](const AppSettings &s) { return QVariant(s.lastSaveRecoDir()); }, QString()},
        {"lastVideoFileDir", [](const AppSettings &s) { return QVariant(s.lastVideoFileDir()); }, QString()},
        {"videoBufferDurationMs", [](const AppSettings &s) { return QVariant(s.videoBufferDurationMs()); },
         quint32(60000)},
        {"displayRecoDurationMs", [](const AppSettings &s) { return QVariant(s.displayRecoDurationMs()); },
         quint32(30000)},
        {"displayVideo", [](const AppSettings &s) { return QVariant(s.displayVideo()); }, true},
        {"displayGrid", [](const AppSettings &s) { return QVariant(s.displayGrid()); }, false},
        {"displayCoveringZone", [](const AppSettings &s) { return QVariant(s.displayCoveringZone()); }, false},
        {"displaySlaveVideo", [](const AppSettings &s) { return QVariant(s.displaySlaveVideo()); }, true},
        {"noHardwareRendering", [](const AppSettings &s) { return QVariant(s.noHardwareRendering()); }, false},
        {"hasPassword", [](const AppSettings &s) { return QVariant(s.hasPassword()); }, false},
        {"checkPassword(\"\")", [](const AppSettings &s) { return QVariant(s.checkPassword("")); }, true},
        {"passwordHash", [](const AppSettings &s) { return QVariant(s.passwordHash()); },
         QCryptographicHash::hash(QByteArray(), QCryptographicHash::Sha1)},
        {"hasPrivateKey", [](const AppSettings &s) { return QVariant(s.hasPrivateKey()); }, false},
    };
    const AppSettings settings;
    for (const DefaultCase &c : cases)
        EXPECT_EQ(c.get(settings), c.expected) << c.name;
}

struct RoundTripCase
{
    const char *key;
    Setter set;
    Getter get; // null where the key is only ever written
    QVariant value;
};

const QByteArray kBytes("\x00\x01\xFFgeometry", 11);

TEST_F(AppSettingsTest, EverySetterStoresUnderItsKeyAndReadsBack)
{
    const RoundTripCase cases[] = {
        {"GUI/windowGeometry", [](AppSettings &s, const QVariant &v) { s.setWindowGeometry(v.toByteArray()); },
         [](const AppSettings &s) { return QVariant(s.windowGeometry()); }, kBytes},
        {"GUI/windowState", [](AppSettings &s, const QVariant &v) { s.setWindowState(v.toByteArray()); },
         [](const AppSettings &s) { return QVariant(s.windowState()); }, kBytes},
        {"GUI/showSettingsDock", [](AppSettings &s, const QVariant &v) { s.setShowSettingsDock(v.toBool()); },
         [](const AppSettings &s) { return QVariant(s.showSettingsDock()); }, false},
        {"GUI/showTracesDock", [](AppSettings &s, const QVariant &v) { s.setShowTracesDock(v.toBool()); },
         [](const AppSettings &s) { return QVariant(s.showTracesDock()); }, true},
        {"GUI/lastSensorSecured", [](AppSettings &s, const QVariant &v) { s.setLastSensorSecured(v.toBool()); },
         nullptr, true},
        {"securedConnection", [](AppSettings &s, const QVariant &v) { s.setSecuredConnection(v.toBool()); },
         [](const AppSettings &s) { return QVariant(s.securedConnection()); }, true},
        {"ignoreSSLErrors", [](AppSettings &s, const QVariant &v) { s.setIgnoreSSLErrors(v.toBool()); },
         [](const AppSettings &s) { return QVariant(s.ignoreSSLErrors()); }, true},
        {"GUI/dialogRecognitionGroupGeometry",
         [](AppSettings &s, const QVariant &v) { s.setDialogGeometry("DialogRecognitionGroup", v.toByteArray()); },
         [](const AppSettings &s) { return QVariant(s.dialogGeometry("DialogRecognitionGroup")); }, kBytes},
        {"GUI/splitterRecognitionGroupState",
         [](AppSettings &s, const QVariant &v) { s.setSplitterRecognitionGroupState(v.toByteArray()); },
         [](const AppSettings &s) { return QVariant(s.splitterRecognitionGroupState()); }, kBytes},
        {"GUI/dialogSelectSensorGeometry",
         [](AppSettings &s, const QVariant &v) { s.setDialogGeometry("DialogSelectSensor", v.toByteArray()); },
         [](const AppSettings &s) { return QVariant(s.dialogGeometry("DialogSelectSensor")); }, kBytes},
        {"GUI/lastSaveRecoDir", [](AppSettings &s, const QVariant &v) { s.setLastSaveRecoDir(v.toString()); },
         [](const AppSettings &s) { return QVariant(s.lastSaveRecoDir()); }, QString("/tmp/récos")},
        {"GUI/lastVideoFileDir", [](AppSettings &s, const QVariant &v) { s.setLastVideoFileDir(v.toString()); },
         [](const AppSettings &s) { return QVariant(s.lastVideoFileDir()); }, QString("/tmp/videos")},
        {"GUI/lastSaveInfosFilePath",
         [](AppSettings &s, const QVariant &v) { s.setLastSaveInfosFilePath(v.toString()); }, nullptr,
         QString("/tmp/infos.pxrmsg")},
        {"videoBufferDurationMs",
         [](AppSettings &s, const QVariant &v) { s.setVideoBufferDurationMs(v.toUInt()); },
         [](const AppSettings &s) { return QVariant(s.videoBufferDurationMs()); }, quint32(4000000000u)},
        {"noHardwareRendering", [](AppSettings &s, const QVariant &v) { s.setNoHardwareRendering(v.toBool()); },
         [](const AppSettings &s) { return QVariant(s.noHardwareRendering()); }, true},
        {"ShowDetails", [](AppSettings &s, const QVariant &v) { s.setShowDetails(v.toBool()); }, nullptr, true},
        {"display/video", [](AppSettings &s, const QVariant &v) { s.setDisplayVideo(v.toBool()); },
         [](const AppSettings &s) { return QVariant(s.displayVideo()); }, false},
        {"display/grid", [](AppSettings &s, const QVariant &v) { s.setDisplayGrid(v.toBool()); },
         [](const AppSettings &s) { return QVariant(s.displayGrid()); }, true},
        {"display/coveringZone", [](AppSettings &s, const QVariant &v) { s.setDisplayCoveringZone(v.toBool()); },
         [](const AppSettings &s) { return QVariant(s.displayCoveringZone()); }, true},
        {"display/slaveVideo", [](AppSettings &s, const QVariant &v) { s.setDisplaySlaveVideo(v.toBool()); },
         [](const AppSettings &s) { return QVariant(s.displaySlaveVideo()); }, false},
    };
    for (const RoundTripCase &c : cases) {
        {
            AppSettings writer;
            c.set(writer, c.value);
        }
        QSettings store;
        store.sync();
        EXPECT_TRUE(store.contains(c.key)) << c.key;
        if (c.get)
            EXPECT_EQ(c.get(AppSettings()), c.value) << c.key;
        else
            EXPECT_EQ(store.value(c.key).toString(), c.value.toString()) << c.key;
    }
}

TEST_F(AppSettingsTest, LastSensorWritesItsFourKeys)
{
    AppSettings().setLastSensor("10.1.2.3", 8080, 8443, "timePort=10005");
    const AppSettings settings;
    EXPECT_EQ(settings.lastSensorAddress(), QString("10.1.2.3"));
    EXPECT_EQ(settings.lastSensorPort(), 8080);
    EXPECT_EQ(settings.lastSensorPortSSL(), 8443);
    EXPECT_EQ(settings.lastSensorOptions(), QString("timePort=10005"));
    const QSettings store;
    for (const char *key : {"GUI/lastSensorAddress2", "GUI/lastSensorPort2", "GUI/lastSensorPortSSL",
                            "GUI/lastSensorOptions"})
        EXPECT_TRUE(store.contains(key)) << key;
}

TEST_F(AppSettingsTest, DialogGeometriesReadTheKeysStoredBeforeAndWriteOnlyTheirOwn)
{
    const struct
    {
        const char *dialog;
        const char *storedKey;
    } cases[] = {
        {"DialogRecognitionGroup", "GUI/dialogRecognitionGroupGeometry"},
        {"DialogSelectSensor", "GUI/dialogSelectSensorGeometry"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.dialog);
        const QByteArray old = kBytes + c.dialog;
        QSettings().setValue(c.storedKey, old);
        EXPECT_EQ(AppSettings().dialogGeometry(c.dialog), old);
        const QStringList before = QSettings().allKeys();
        AppSettings().setDialogGeometry(c.dialog, kBytes);
        EXPECT_EQ(QSettings().allKeys(), before);
        EXPECT_EQ(QSettings().value(c.storedKey).toByteArray(), kBytes);
    }
    const QStringList before = QSettings().allKeys();
    AppSettings().setDialogGeometry(QString(), kBytes);
    EXPECT_EQ(QSettings().allKeys(), before);
    EXPECT_TRUE(AppSettings().dialogGeometry(QString()).isEmpty());
}

TEST_F(AppSettingsTest, StoredTextConvertsAndUnreadableTextGivesTheDefault)
{
    const struct
    {
        const char *key;
        const char *text;
        Getter get;
        QVariant expected;
    } cases[] = {
        {"GUI/showSettingsDock", "false", [](const AppSettings &s) { return QVariant(s.showSettingsDock()); }, false},
        {"GUI/showTracesDock", "true", [](const AppSettings &s) { return QVariant(s.showTracesDock()); }, true},
        {"GUI/showTracesDock", "perhaps", [](const AppSettings &s) { return QVariant(s.showTracesDock()); }, false},
        {"noHardwareRendering", "1", [](const AppSettings &s) { return QVariant(s.noHardwareRendering()); }, true},
        {"GUI/lastSensorPort2", "8080", [](const AppSettings &s) { return QVariant(s.lastSensorPort()); },
         quint16(8080)},
        {"GUI/lastSensorPort2", "70000", [](const AppSettings &s) { return QVariant(s.lastSensorPort()); },
         quint16(10001)},
        {"GUI/lastSensorPortSSL", "port", [](const AppSettings &s) { return QVariant(s.lastSensorPortSSL()); },
         quint16(12001)},
        {"videoBufferDurationMs", "45000", [](const AppSettings &s) { return QVariant(s.videoBufferDurationMs()); },
         quint32(45000)},
        {"videoBufferDurationMs", "-5", [](const AppSettings &s) { return QVariant(s.videoBufferDurationMs()); },
         quint32(60000)},
        {"displayRecoDurationMs", "12000", [](const AppSettings &s) { return QVariant(s.displayRecoDurationMs()); },
         quint32(12000)},
        {"display/video", "false", [](const AppSettings &s) { return QVariant(s.displayVideo()); }, false},
    };
    for (const auto &c : cases) {
        QSettings().setValue(c.key, QString(c.text));
        EXPECT_EQ(c.get(AppSettings()), c.expected) << c.key << " = " << c.text;
    }
}

TEST_F(AppSettingsTest, KeysAreReadFromTheStoreFileAsWritten)
{
    QString path;
    {
        QSettings store;
        store.setValue("probe", 1);
        store.sync();
        path = store.fileName();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\nvideoBufferDurationMs=90000\nnoHardwareRendering=true\nsecuredConnection=true\n"
               "[GUI]\nshowSettingsDock=false\nlastSensorPort2=10005\nlastSensorAddress2=sensor.local\n"
               "ShowSettingsDock=true\n");
    file.close();
    QSettings().sync();
    const AppSettings settings;
    EXPECT_EQ(settings.videoBufferDurationMs(), 90000u);
    EXPECT_TRUE(settings.noHardwareRendering());
    EXPECT_TRUE(settings.securedConnection());
    EXPECT_FALSE(settings.showSettingsDock()) << "a key spelled in another case is another key";
    EXPECT_EQ(settings.lastSensorPort(), 10005);
    EXPECT_EQ(settings.lastSensorAddress(), QString("sensor.local"));
}

TEST_F(AppSettingsTest, PasswordIsCheckedChangedAndRemoved)
{
    AppSettings settings;
    EXPECT_FALSE(settings.changePassword("wrong", "secret"));
    EXPECT_FALSE(settings.hasPassword());

    ASSERT_TRUE(settings.changePassword("", "sécret"));
    EXPECT_TRUE(settings.hasPassword());
    EXPECT_TRUE(AppSettings().checkPassword("sécret"));
    EXPECT_FALSE(AppSettings().checkPassword(""));
    EXPECT_FALSE(AppSettings().checkPassword("Sécret"));
    const QByteArray stored = machineSettings().value("password").toByteArray();
    EXPECT_EQ(stored, QCryptographicHash::hash(QString("sécret").toUtf8(), QCryptographicHash::Sha1));
    QSettings user;
    user.setFallbacksEnabled(false);
    EXPECT_FALSE(user.contains("password")) << "the hash lives in the machine-wide scope only";

    EXPECT_FALSE(settings.changePassword("other", "new"));
    EXPECT_TRUE(settings.checkPassword("sécret"));

    ASSERT_TRUE(settings.changePassword("sécret", ""));
    EXPECT_FALSE(AppSettings().hasPassword());
    EXPECT_TRUE(AppSettings().checkPassword(""));
}

TEST_F(AppSettingsTest, UnwritableMachineStoreFailsTheChangeAndKeepsTheOldPassword)
{
    UnwritableMachineStore readOnly;
    AppSettings settings;
    EXPECT_FALSE(settings.isMachineWideWritable());
    EXPECT_FALSE(settings.changePassword("", "secret"));
    EXPECT_FALSE(settings.hasPassword());
    EXPECT_FALSE(AppSettings().hasPassword());
    EXPECT_TRUE(AppSettings().checkPassword(""));
}

TEST_F(AppSettingsTest, ExpandedItemsBelongToTheirTreeName)
{
    const QHash<QString, bool> items{{"network", true}, {"cameras/0", false}};
    AppSettings().setExpandedItems("treeSettings", items);
    EXPECT_EQ(AppSettings().expandedItems("treeSettings"), items);
    EXPECT_TRUE(AppSettings().expandedItems("treeInformations").isEmpty());

    AppSettings().setExpandedItems("", items);
    EXPECT_FALSE(QSettings().contains("GUI/expandedItems/"));
    EXPECT_TRUE(AppSettings().expandedItems("").isEmpty());
}

TEST_F(AppSettingsTest, ExpandedItemsKeepQtsStreamLayout)
{
    AppSettings().setExpandedItems("tree", {{"a", true}});
    const QByteArray expected("\x00\x00\x00\x01" "\x00\x00\x00\x02" "\x00\x61" "\x01", 11);
    EXPECT_EQ(QSettings().value("GUI/expandedItems/tree").toByteArray(), expected);

    QSettings().setValue("GUI/expandedItems/tree", QByteArray("\x00\x00\x00\x05\x00", 5));
    EXPECT_TRUE(AppSettings().expandedItems("tree").isEmpty()) << "a damaged value reads as nothing";
}

TEST_F(AppSettingsTest, NewBufferDurationIsAnnounced)
{
    QSignalSpy spy(AppSettingsNotifier::instance(), &AppSettingsNotifier::videoBufferDurationChanged);
    AppSettings().setVideoBufferDurationMs(15000);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toUInt(), 15000u);
    EXPECT_EQ(AppSettings().videoBufferDurationMs(), 15000u);
}

} // namespace
