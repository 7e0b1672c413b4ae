// Video recorder: files it writes, a file it cannot open, and a medium that fills up.
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "PXR.h"
#include "VideoRecorder.h"

namespace {

PXRMsg *frame(qint64 date, int size)
{
    PXRMsg *msg = PXRMsgCreate();
    PXRMsgElement *root = PXRMsgElementCreate("video");
    PXRMsgSetChild(msg, root);
    PXRMsgElementSetAttribute(root, "codec", "jpeg");
    PXRMsgElementSetAttribute(root, "date", QByteArray::number(date).constData());
    PXRMsgElement *data = PXRMsgElementCreate("data");
    const QByteArray bytes(size, 'j');
    PXRMsgElementSetContentBinary(data, bytes.constData(), quint32(bytes.size()));
    PXRMsgElementAddChild(root, data);
    return msg;
}

void feed(VideoRecorder &recorder, int count, int size)
{
    for (int i = 0; i < count && recorder.isRecording(); ++i) {
        PXRMsg *msg = frame(1700000000000 + 40 * i, size);
        recorder.onMessage(msg);
        PXRMsgDestroy(msg);
    }
}

} // namespace

TEST(VideoRecorderTest, RecordsIntoTheFileAndASecondStartLeavesItAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.rec"));
    VideoRecorder recorder;
    recorder.start(path);
    ASSERT_TRUE(recorder.isRecording());
    feed(recorder, 3, 1000);
    recorder.start(dir.filePath(QStringLiteral("b.rec")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("b.rec"))));
    feed(recorder, 3, 1000);
    recorder.stop();
    EXPECT_FALSE(recorder.isRecording());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 24);
    EXPECT_EQ(quint8(bytes.at(16)), 9);  // the index block opens the file
    EXPECT_GT(bytes.size(), 3000);
}

TEST(VideoRecorderTest, FileInMissingFolderLeavesItIdle)
{
    QTemporaryDir dir;
    VideoRecorder recorder;
    recorder.start(dir.filePath(QStringLiteral("missing/a.rec")));
    EXPECT_FALSE(recorder.isRecording());
}

TEST(VideoRecorderTest, FullMediumStopsTheRecordingAndSaysWhy)
{
    VideoRecorder recorder;
    QSignalSpy failed(&recorder, &VideoRecorder::recordingFailed);
    recorder.start(QStringLiteral("/dev/full"));
    ASSERT_TRUE(recorder.isRecording());
    feed(recorder, 2000, 100000);
    EXPECT_FALSE(recorder.isRecording());
    ASSERT_EQ(failed.count(), 1);
    EXPECT_FALSE(failed.at(0).at(0).toString().isEmpty());
}
