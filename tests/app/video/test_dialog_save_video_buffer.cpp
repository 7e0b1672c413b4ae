// The replay-buffer save dialog: what the saved file holds, refusal while live, a path it cannot open.
#include "VideoTestSupport.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "DialogSaveVideoBuffer.h"
#include "TestPictures.h"

using namespace videotest;

namespace {

quint32 u32(const QByteArray &b, qsizetype at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | quint8(b.at(at + i));
    return v;
}

// Record types and relative times in file order, read straight from the bytes.
std::vector<std::pair<quint32, quint32>> recordsOf(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray b = file.readAll();
    std::vector<std::pair<quint32, quint32>> out;
    for (qsizetype at = 0; at + 24 <= b.size(); at += 24 + u32(b, at + 12))
        out.emplace_back(u32(b, at + 16), u32(b, at + 4));
    return out;
}

MsgPtr anprMessage(const char *kind, qint64 date)
{
    MsgPtr msg(PXRMsgCreate());
    PXRMsgElement *root = PXRMsgElementCreate("anpr");
    PXRMsgElementSetAttributeInt64(root, "date", date);
    PXRMsgElementAddChild(root, PXRMsgElementCreate(kind));
    PXRMsgSetChild(msg.get(), root);
    return msg;
}

MsgPtr plainMessage(const char *name)
{
    MsgPtr msg(PXRMsgCreate());
    PXRMsgSetChild(msg.get(), PXRMsgElementCreate(name));
    return msg;
}

constexpr quint32 Jpeg = 0x4745504A, Message = 0x2D525850;

class SaveBufferTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        stream = clipMessages(clip(testclips::Codec::Mjpeg, 250));
        feed(stream);
        // One new inside the range, one between two packets outside it.
        recognitions.push_back(anprMessage("new", BaseDate + 100 * PictureGapMs + 10));
        recognitions.push_back(anprMessage("new", BaseDate + 10 * PictureGapMs + 10));
        sources.player = player.get();
        sources.recognitions = [this](const QDateTime &from, const QDateTime &to) {
            QList<PXRMsg *> out;
            for (const MsgPtr &m : recognitions) {
                const qint64 date = QByteArray(PXRMsgElementAttributeValue(PXRMsgChild(m.get()), "date")).toLongLong();
                if (date >= from.toMSecsSinceEpoch() && date < to.toMSecsSinceEpoch())
                    out.append(m.get());
            }
            return out;
        };
        sources.configuration = configuration.get();
        sources.information = information.get();
        sources.address = QStringLiteral("127.0.0.1");
        sources.port = 8040;
    }

    // Runs the dialog; the action plays the operator's part inside it. Boxes are answered and kept.
    int run(const std::function<void(DialogSaveVideoBuffer &)> &action)
    {
        DialogSaveVideoBuffer dialog(sources);
        ZyModalRunner::setHandler([&](QDialog *shown) {
            if (auto *box = qobject_cast<QMessageBox *>(shown)) {
                boxes.append(box->text());
                return int(QMessageBox::Ok);
            }
            action(dialog);
            return dialog.result();
        });
        return ZyModalRunner::exec(&dialog);
    }

    std::vector<MsgPtr> stream, recognitions;
    MsgPtr configuration = plainMessage("config"), information = plainMessage("information");
    DialogSaveVideoBuffer::Sources sources;
    QStringList boxes;
    QTemporaryDir dir;
};

} // namespace

TEST_F(SaveBufferTest, RefusedWhileLive)
{
    EXPECT_EQ(run([](DialogSaveVideoBuffer &) { ADD_FAILURE() << "the dialog was shown"; }), 0);
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Unable to save video buffer while in real time")});
}

TEST_F(SaveBufferTest, SavesTheRangeAroundThePositionWithItsRecognitions)
{
    player->pause();
    player->seekToIndex(100);
    const QString path = dir.filePath(QStringLiteral("saved.rec"));
    const int result = run([&](DialogSaveVideoBuffer &d) {
        EXPECT_EQ(d.findChild<QSpinBox *>("spinBefore")->maximum(), 4);
        EXPECT_EQ(d.findChild<QSpinBox *>("spinAfter")->maximum(), 5);
        EXPECT_EQ(d.findChild<QRadioButton *>("radioFull")->text(), QStringLiteral("Save all video buffer (9 s)"));
        EXPECT_TRUE(d.findChild<QLineEdit *>("edtFile")->text().endsWith(QStringLiteral("_127.0.0.1_8040.rec")));
        keepPicture(d, QStringLiteral("dialog_save_video_buffer"));
        d.findChild<QSpinBox *>("spinBefore")->setValue(1);
        d.findChild<QSpinBox *>("spinAfter")->setValue(1);
        d.findChild<QLineEdit *>("edtFile")->setText(path);
        d.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(result, int(QDialog::Accepted));
    EXPECT_TRUE(boxes.isEmpty());
    const auto records = recordsOf(path);
    ASSERT_GE(records.size(), 4u);
    EXPECT_EQ(records[0].first, 9u);
    EXPECT_EQ(records[1].first, Message);  // configuration
    EXPECT_EQ(records[2].first, Message);  // information
    size_t frames = 0, news = 0;
    for (const auto &[type, time] : records) {
        frames += type == Jpeg;
        news += type == 12;
    }
    EXPECT_EQ(frames, 51u);  // 25 pictures either side of the position and the position's own
    EXPECT_EQ(news, 1u);
}

TEST_F(SaveBufferTest, StaysOpenOnAPathItCannotOpen)
{
    player->pause();
    const int result = run([&](DialogSaveVideoBuffer &d) {
        d.findChild<QLineEdit *>("edtFile")->setText(dir.filePath(QStringLiteral("missing/saved.rec")));
        d.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        EXPECT_EQ(d.result(), 0);
        EXPECT_EQ(boxes, QStringList{QStringLiteral("Unable to save file")});
    });
    EXPECT_NE(result, int(QDialog::Accepted));
}

TEST_F(SaveBufferTest, StaysOpenWhenTheMediumIsFull)
{
    player->pause();
    const int result = run([&](DialogSaveVideoBuffer &d) {
        d.findChild<QRadioButton *>("radioFull")->setChecked(true);
        d.findChild<QLineEdit *>("edtFile")->setText(QStringLiteral("/dev/full"));
        d.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_NE(result, int(QDialog::Accepted));
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Unable to save file")});
}
