// Recording everything the master sensor sends: the file's first records, the window's look
// while recording, a start while one runs, a file that cannot be opened, and the stop.
#include "FileActionsTest.h"

#include "AppSettings.h"
#include "Model.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

namespace {

quint32 u32At(const QByteArray &bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

// The record types of a recording file in order, read from its bytes.
QList<quint32> recordTypes(const QByteArray &bytes)
{
    QList<quint32> types;
    for (qsizetype at = 0; at + 24 <= bytes.size(); at += 24 + u32At(bytes, at + 12))
        types << u32At(bytes, at + 16);
    return types;
}

constexpr quint32 kIndex = 9;
constexpr quint32 kMessage = 0x2D525850;

class RecordingTest : public FileActionsTest
{
protected:
    void SetUp() override
    {
        FileActionsTest::SetUp();
        // The connected window shows its recording actions; hidden actions are disabled.
        for (const char *name : {"actionVideoStartRecording", "actionVideoStopRecording"})
            window->findChild<QAction *>(name)->setVisible(true);
    }
    bool recordingLook() const
    {
        return !window->findChild<QAction *>("actionVideoStartRecording")->isEnabled() &&
               window->findChild<QAction *>("actionVideoStopRecording")->isEnabled() &&
               !window->findChild<QWidget *>("widgetVideoRecordingProgress")->isHidden();
    }
    bool idleLook() const
    {
        return !window->findChild<QAction *>("actionVideoStopRecording")->isEnabled() &&
               window->findChild<QWidget *>("widgetVideoRecordingProgress")->isHidden();
    }
};

TEST_F(RecordingTest, RecordingStartsWithConfigurationAndInformationThenHoldsPushes)
{
    const QString file = path(QStringLiteral("gate.rec"));
    choose(file);
    trigger("actionVideoStartRecording");
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].title, "Record a video");
    EXPECT_EQ(asked[0].text, "Brondmere Rec Files (*.rec)");
    ASSERT_TRUE(Model::instance()->recorder().isRecording());
    EXPECT_TRUE(recordingLook());
    EXPECT_EQ(window->findChild<QLabel *>("labelRecordingToFile")->text(),
              QStringLiteral("Recording video stream to file %1").arg(file));
    EXPECT_EQ(window->findChild<QLabel *>("labelRecordingDuration")->text(), "00:00");
    EXPECT_EQ(AppSettings().lastVideoFileDir(), folder.path());

    // A second start while recording asks nothing.
    trigger("actionVideoStartRecording");
    window->openDialog(QStringLiteral("recording_start"));
    EXPECT_EQ(asked.size(), 1);

    QSignalSpy received(&Model::instance()->masterSensor(), &Sensor::signalMsgReceived);
    server.push(fybsim::Element("ioState").set("input", "1"));
    ASSERT_TRUE(waitLong([&] { return received.count() > 0; }));
    QCoreApplication::processEvents();

    window->findChild<QPushButton *>("btnStopRecording")->click();
    EXPECT_FALSE(Model::instance()->recorder().isRecording());
    EXPECT_TRUE(idleLook());
    const QList<quint32> types = recordTypes(readAll(file));
    ASSERT_GE(types.size(), 4);
    EXPECT_EQ(types[0], kIndex);
    EXPECT_EQ(types.mid(1, 3), QList<quint32>({kMessage, kMessage, kMessage}));
}

TEST_F(RecordingTest, AFileThatCannotBeOpenedIsReportedAndNothingRecords)
{
    choose(path(QStringLiteral("missing/gate.rec")));
    trigger("actionVideoStartRecording");
    EXPECT_FALSE(Model::instance()->recorder().isRecording());
    EXPECT_TRUE(idleLook());
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_TRUE(boxes()[0].text.contains(path(QStringLiteral("missing/gate.rec"))));
    // Cancelled: nothing changes either.
    asked.clear();
    trigger("actionVideoStartRecording");
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(idleLook());
}

TEST_F(RecordingTest, ADisconnectionStopsTheRecording)
{
    choose(path(QStringLiteral("gate.rec")));
    trigger("actionVideoStartRecording");
    ASSERT_TRUE(Model::instance()->recorder().isRecording());
    window->disconnect();
    EXPECT_FALSE(Model::instance()->recorder().isRecording());
    EXPECT_TRUE(idleLook());
}

} // namespace
