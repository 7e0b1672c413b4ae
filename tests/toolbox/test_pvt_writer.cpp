// Recording writer: files are read back with a reader written here from the format description alone.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <map>
#include <vector>

#include "PVTFrameRecognitions.h"
#include "PVTRecognition.h"
#include "PVTWriter.h"
#include "PXR.h"
#include "PXRQt.h"

namespace {

// ---- the test's own reader ----

quint32 u32(const QByteArray &b, int at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | quint8(b.at(at + i));
    return v;
}

quint16 u16(const QByteArray &b, int at)
{
    return quint16(quint8(b.at(at)) | (quint8(b.at(at + 1)) << 8));
}

quint32 fourCc(const char *text)
{
    return u32(QByteArray(text, 4), 0);
}

struct Rec
{
    qint64 offset;
    quint32 time, relative, previous, size, type, key;
    QByteArray data;
};

std::vector<Rec> readRecords(const QByteArray &file)
{
    std::vector<Rec> records;
    qint64 at = 0;
    while (at < file.size()) {
        EXPECT_LE(at + 24, file.size()) << "header cut at " << at;
        if (at + 24 > file.size())
            break;
        Rec r{at, u32(file, int(at)), u32(file, int(at) + 4), u32(file, int(at) + 8), u32(file, int(at) + 12),
              u32(file, int(at) + 16), u32(file, int(at) + 20), {}};
        EXPECT_LE(at + 24 + r.size, file.size()) << "data cut at " << at;
        r.data = file.mid(at + 24, r.size);
        records.push_back(r);
        at += 24 + r.size;
    }
    return records;
}

// Checks the structure every file must have and gives the records.
std::vector<Rec> readChecked(const QByteArray &file)
{
    const std::vector<Rec> records = readRecords(file);
    std::map<qint64, const Rec *> byOffset;
    for (size_t i = 0; i < records.size(); ++i) {
        byOffset[records[i].offset] = &records[i];
        const quint32 expected = i == 0 ? 0 : records[i - 1].size;
        EXPECT_EQ(records[i].previous, expected) << "record " << i;
    }
    if (records.empty())
        return records;
    EXPECT_EQ(records[0].type, 9u);
    std::vector<qint64> chain;
    for (qint64 at = 0;;) {
        const Rec *block = byOffset.count(at) ? byOffset[at] : nullptr;
        EXPECT_TRUE(block && block->type == 9) << "chain points at " << at;
        if (!block || block->type != 9)
            break;
        chain.push_back(at);
        EXPECT_EQ(block->size, 410u);
        EXPECT_EQ(block->relative, 0u);
        EXPECT_EQ(block->key, 1u);
        EXPECT_EQ(u16(block->data, 0), 1);
        EXPECT_EQ(u16(block->data, 4), 50);
        const quint16 count = u16(block->data, 2);
        EXPECT_LE(count, 50);
        for (int e = 0; e < 50; ++e) {
            const quint32 offset = u32(block->data, 6 + 4 * e), time = u32(block->data, 206 + 4 * e);
            if (e >= count) {
                EXPECT_EQ(offset | time, 0u);
                continue;
            }
            const Rec *target = byOffset.count(at + offset) ? byOffset[at + offset] : nullptr;
            EXPECT_TRUE(target) << "entry " << e << " of block at " << at;
            if (!target)
                continue;
            EXPECT_TRUE(target->type == fourCc("JPEG") || target->type == fourCc("MPEG") ||
                        target->type == fourCc("H264"));
            EXPECT_EQ(target->key, 1u);
            EXPECT_EQ(target->relative, time);
        }
        const quint32 next = u32(block->data, 406);
        if (next == 0)
            break;
        at += next;
    }
    size_t blocks = 0;
    for (const Rec &r : records)
        blocks += r.type == 9;
    EXPECT_EQ(chain.size(), blocks);
    return records;
}

// Offsets of the indexed records across all blocks.
std::vector<qint64> indexed(const std::vector<Rec> &records)
{
    std::vector<qint64> out;
    for (const Rec &r : records)
        if (r.type == 9)
            for (int e = 0; e < u16(r.data, 2); ++e)
                out.push_back(r.offset + u32(r.data, 6 + 4 * e));
    return out;
}

std::vector<Rec> ofType(const std::vector<Rec> &records, quint32 type)
{
    std::vector<Rec> out;
    for (const Rec &r : records)
        if (r.type == type)
            out.push_back(r);
    return out;
}

QByteArray text(const QByteArray &data, int at, int size)
{
    const QByteArray field = data.mid(at, size);
    const int end = int(field.indexOf('\0'));
    return end < 0 ? field : field.left(end);
}

// ---- messages ----

struct Msg
{
    PXRMsg *msg = PXRMsgCreate();
    PXRMsgElement *root;
    explicit Msg(const char *name) : root(PXRMsgElementCreate(name)) { PXRMsgSetChild(msg, root); }
    ~Msg() { PXRMsgDestroy(msg); }
    Msg &attr(const char *name, const QByteArray &value)
    {
        PXRMsgElementSetAttribute(root, name, value.constData());
        return *this;
    }
};

void video(PVTWriter &w, const char *codec, qint64 date, const QByteArray &bytes, const char *key = nullptr)
{
    Msg m("video");
    m.attr("codec", codec).attr("date", QByteArray::number(date));
    if (key)
        m.attr("key", key);
    PXRMsgElement *data = PXRMsgElementCreate("data");
    PXRMsgElementSetContentBinary(data, bytes.constData(), quint32(bytes.size()));
    PXRMsgElementAddChild(m.root, data);
    ASSERT_TRUE(w.write(m.msg));
}

void anpr(PVTWriter &w, const char *kind, qint64 date, const QByteArray &plate, const char *from = nullptr,
          const QByteArray &picture = {})
{
    Msg m("anpr");
    m.attr("date", QByteArray::number(date)).attr("session", "42");
    if (from)
        m.attr("plateFrom", from);
    PXRMsgElement *e = PXRMsgElementCreate(kind);
    if (!plate.isEmpty())
        PXRMsgElementSetAttribute(e, "plate", plate.constData());
    if (!picture.isEmpty()) {
        PXRMsgElement *jpeg = PXRMsgElementCreate("jpeg");
        PXRMsgElementSetContentBinary(jpeg, picture.constData(), quint32(picture.size()));
        PXRMsgElementAddChild(e, jpeg);
    }
    PXRMsgElementAddChild(m.root, e);
    ASSERT_TRUE(w.write(m.msg));
}

constexpr qint64 T0 = 1700000000000;

class PVTWriterTest : public ::testing::Test
{
protected:
    PVTWriter writer{QStringLiteral("BZK"), 7, 7, 0, 2, 632};
    QBuffer buffer;
    void SetUp() override
    {
        buffer.open(QIODevice::ReadWrite);
        ASSERT_TRUE(writer.start(&buffer));
    }
    std::vector<Rec> finish()
    {
        EXPECT_TRUE(writer.stop());
        return readChecked(buffer.data());
    }
};

QByteArray plateOf8(const Rec &r, int slot)
{
    return text(r.data, 4 + 324 * (slot - 1) + 4, 32);
}

} // namespace

TEST_F(PVTWriterTest, ScriptedStreamReadsBackWithEveryCheck)
{
    Msg config("config");
    ASSERT_TRUE(writer.write(config.msg));
    Msg info("information");
    ASSERT_TRUE(writer.write(info.msg));
    for (int i = 0; i < 14; ++i)
        video(writer, "jpeg", T0 + 40 * i, QByteArray(100 + i, char('a' + i)));
    video(writer, "mpeg", T0 + 600, "mpegkey", "true");
    video(writer, "mpeg", T0 + 640, "mpegdelta", "0");
    anpr(writer, "new", T0 + 80, "AB123CD");
    anpr(writer, "decision", T0 + 80, "AB123CD", "master", "pic1");
    anpr(writer, "decision", T0 + 80, "XY999ZZ", "master", "pic2");
    anpr(writer, "speed", T0 + 90, "");
    anpr(writer, "end", T0 + 120, "AB123CD");
    anpr(writer, "decision", T0 + 210, "SLAVE1", "slave");
    const std::vector<Rec> recs = finish();
    ASSERT_GE(recs.size(), 3u);

    // Configuration and information are timed 0 before the version message, then the version message.
    EXPECT_EQ(recs[1].type, fourCc("PXR-"));
    EXPECT_EQ(recs[1].relative, 0u);
    size_t version = 0;
    for (size_t i = 0; i < recs.size() && !version; ++i)
        if (recs[i].type == fourCc("PXR-")) {
            PXRMsg *m = pxrMsgFromByteArray(recs[i].data);
            ASSERT_TRUE(m);
            if (QByteArray(PXRMsgElementName(PXRMsgChild(m))) == "version") {
                version = i;
                PXRMsgElement *root = PXRMsgChild(m);
                EXPECT_STREQ(PXRMsgElementAttributeValue(root, "name"), "BZK v7.7.0.2 build 632");
                EXPECT_STREQ(PXRMsgElementAttributeValue(root, "BUILD"), "632");
                EXPECT_EQ(QByteArray(PXRMsgElementAttributeValue(root, "date")), QByteArray::number(T0));
            }
            PXRMsgDestroy(m);
        }
    ASSERT_GT(version, 0u);
    for (size_t i = 1; i < version; ++i)
        EXPECT_EQ(recs[i].relative, 0u);
    EXPECT_EQ(recs[version + 1].type, fourCc("JPEG"));

    // JPEG key frames 1, 7 and 13 (in file order, the slave plate's copy included) and the MPEG key frame are indexed.
    const std::vector<Rec> jpegs = ofType(recs, fourCc("JPEG"));
    std::vector<qint64> expected;
    int keyJpegs = 0;
    for (const Rec &r : jpegs)
        if (r.key && keyJpegs++ % 6 == 0)
            expected.push_back(r.offset);
    EXPECT_EQ(expected.size(), 3u);
    for (const Rec &r : ofType(recs, fourCc("MPEG")))
        if (r.key)
            expected.push_back(r.offset);
    std::vector<qint64> got = indexed(recs);
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(got, expected);

    // The first decision joins its frame; the second moves 1 ms with its own frame and picture.
    std::map<quint32, Rec> frames8;
    for (const Rec &r : ofType(recs, 8)) {
        EXPECT_EQ(r.size, 706u);
        EXPECT_EQ(u16(r.data, 0), 7);
        EXPECT_EQ(u16(r.data, 2), 3);
        EXPECT_EQ(quint8(r.data.at(106)), 1);
        EXPECT_EQ(quint8(r.data.at(430)), 2);
        EXPECT_EQ(r.data.mid(652, 6), QByteArray(6, '\0'));
        EXPECT_TRUE(frames8.emplace(r.relative, r).second) << "two frame records at " << r.relative;
    }
    EXPECT_EQ(plateOf8(frames8.at(80), 1), "AB123CD");
    EXPECT_EQ(plateOf8(frames8.at(81), 1), "XY999ZZ");
    bool synthesised = false;
    for (const Rec &r : jpegs)
        if (r.relative == 81) {
            synthesised = true;
            EXPECT_EQ(r.key, 0u);
            EXPECT_EQ(r.data, "pic2");
        }
    EXPECT_TRUE(synthesised);

    // The speed is written at its end's time; the slave plate copies the newest earlier frame.
    const std::vector<Rec> speeds = ofType(recs, 14);
    ASSERT_EQ(speeds.size(), 1u);
    EXPECT_EQ(speeds[0].relative, 120u);
    const Rec &slave = frames8.at(210);
    EXPECT_EQ(plateOf8(slave, 1), "SLAVE1");
    EXPECT_EQ(slave.key, 1u);
    std::map<quint32, QByteArray> jpegAt;
    for (const Rec &r : jpegs)
        jpegAt[r.relative] = r.data;
    ASSERT_TRUE(jpegAt.count(210));
    EXPECT_EQ(jpegAt[210], jpegAt.at(200));
}

TEST_F(PVTWriterTest, RecognitionRecordFieldsAreWrittenInPlace)
{
    anpr(writer, "decision", T0, "AB-123-CD", "Master", "jpegbytes");
    const std::vector<Rec> decisions = ofType(finish(), 11);
    ASSERT_EQ(decisions.size(), 1u);
    const QByteArray &d = decisions[0].data;
    ASSERT_EQ(d.size(), 148 + 9);
    EXPECT_EQ(u16(d, 0), 8);
    EXPECT_EQ(text(d, 2, 16), "AB-123-CD");
    EXPECT_EQ(u32(d, 42), 3u);
    EXPECT_EQ(u32(d, 110), 2u);
    EXPECT_EQ(u32(d, 114), 42u);
    EXPECT_EQ(quint8(d.at(118)), 1);
    EXPECT_EQ(quint8(d.at(119)), 2);
    EXPECT_EQ(u32(d, 120), 9u);
    EXPECT_EQ(u32(d, 124), 148u);
    EXPECT_EQ(d.mid(148), "jpegbytes");
}

TEST(PVTRecognitionTest, SpeedWithoutAttributesAndTextEdges)
{
    Msg m("anpr");
    m.attr("session", "7").attr("plateFrom", "other");
    PXRMsgElement *speed = PXRMsgElementCreate("speed");
    PXRMsgElementAddChild(m.root, speed);
    QByteArray d = PVTRecognition::fromMessage(m.root, 1, 1234).toBytes();
    ASSERT_EQ(d.size(), 148);
    QByteArray expected(148, '\0');
    expected[0] = 8;
    expected[42] = 3;
    expected[110] = 5;
    expected[114] = 7;
    expected[118] = 1;
    expected[119] = 1;
    expected[124] = char(148);
    expected[132] = char(1234 & 0xFF);
    expected[133] = char(1234 >> 8);
    EXPECT_EQ(d, expected);

    PXRMsgElementSetAttribute(speed, "direction", "Front");
    PXRMsgElementSetAttribute(speed, "plate", "ABCDEFGHIJKLMNO");
    d = PVTRecognition::fromMessage(m.root, 1, 0).toBytes();
    EXPECT_EQ(u32(d, 42), 3u);
    EXPECT_EQ(d.mid(2, 16), QByteArray("ABCDEFGHIJKLMNO") + '\0');
    // Fifteen ASCII bytes then a two-byte character: cut before the character, never inside it.
    PXRMsgElementSetAttribute(speed, "plate", "ABCDEFGHIJKLMNO\xC3\xA9");
    d = PVTRecognition::fromMessage(m.root, 1, 0).toBytes();
    EXPECT_EQ(d.mid(2, 16), QByteArray("ABCDEFGHIJKLMNO") + '\0');
    PVTRecognition back;
    ASSERT_TRUE(back.fromBytes(d));
    EXPECT_EQ(back.plate, "ABCDEFGHIJKLMNO");
    EXPECT_FALSE(back.fromBytes(d.left(118)));
}

TEST_F(PVTWriterTest, RecordingWithoutMessageIsEmpty)
{
    EXPECT_TRUE(writer.stop());
    EXPECT_TRUE(buffer.data().isEmpty());
}

TEST_F(PVTWriterTest, UndatedMessagesAreTimedZeroWithoutVersionMessage)
{
    for (int i = 0; i < 3; ++i) {
        Msg m("information");
        ASSERT_TRUE(writer.write(m.msg));
    }
    const std::vector<Rec> recs = finish();
    ASSERT_EQ(recs.size(), 4u);
    for (const Rec &r : recs)
        EXPECT_EQ(r.relative, 0u);
}

TEST_F(PVTWriterTest, MessageDatedBeforeFirstIsTimedZero)
{
    video(writer, "jpeg", T0, "first");
    anpr(writer, "new", T0 - 5000, "OLD");
    const std::vector<Rec> news = ofType(finish(), 12);
    ASSERT_EQ(news.size(), 1u);
    EXPECT_EQ(news[0].relative, 0u);
}

TEST_F(PVTWriterTest, DecisionWithoutPictureGetsNoEmptyFrame)
{
    anpr(writer, "decision", T0, "NOPIC", "master");
    const std::vector<Rec> recs = finish();
    EXPECT_TRUE(ofType(recs, fourCc("JPEG")).empty());
    const std::vector<Rec> frames8 = ofType(recs, 8);
    ASSERT_EQ(frames8.size(), 1u);
    EXPECT_EQ(plateOf8(frames8[0], 1), "NOPIC");
    EXPECT_EQ(frames8[0].key, 0u);
}

TEST_F(PVTWriterTest, FiftyKeyFramesCloseABlockAndTheNextPointsAtTheNextOne)
{
    for (int i = 0; i < 50; ++i)
        video(writer, "mpeg", T0 + 40 * i, "key", "1");
    std::vector<Rec> recs = finish();
    // The 50th key frame closed the block: its next points at the block the following record opened.
    std::vector<Rec> blocks = ofType(recs, 9);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(qint64(u32(recs[0].data, 406)), blocks[1].offset);
    EXPECT_EQ(blocks[1].previous, ofType(recs, fourCc("MPEG")).back().size);

    buffer.close();
    buffer.setData(QByteArray());
    buffer.open(QIODevice::ReadWrite);
    ASSERT_TRUE(writer.start(&buffer));
    for (int i = 0; i < 52; ++i)
        video(writer, "h264", T0 + 40 * i, "key", "true");
    recs = finish();
    blocks = ofType(recs, 9);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(u16(blocks[0].data, 2), 50);
    EXPECT_EQ(u16(blocks[1].data, 2), 2);
    EXPECT_EQ(recs[0].previous, 0u);
}

TEST_F(PVTWriterTest, StartStopAndWriteAreRefusedOutOfTurn)
{
    EXPECT_FALSE(writer.start(&buffer));
    EXPECT_TRUE(writer.stop());
    EXPECT_FALSE(writer.stop());
    Msg m("information");
    EXPECT_FALSE(writer.write(m.msg));
    EXPECT_TRUE(buffer.data().isEmpty());
}

namespace {
// A device that accepts a fixed number of bytes, then refuses, as a full disk does.
class FullDevice : public QBuffer
{
public:
    explicit FullDevice(qint64 room) : m_room(room) {}

protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        if (pos() + size > m_room) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QBuffer::writeData(data, size);
    }

private:
    qint64 m_room;
};
} // namespace

TEST(PVTWriterFailureTest, DeviceFailingPartWayIsReported)
{
    PVTWriter writer(QStringLiteral("BZK"), 7, 7, 0, 2, 632);
    FullDevice device(2000);
    device.open(QIODevice::ReadWrite);
    ASSERT_TRUE(writer.start(&device));
    bool refused = false;
    for (int i = 0; i < 2000 && !refused; ++i) {
        Msg m("video");
        m.attr("codec", "jpeg").attr("date", QByteArray::number(T0 + 40 * i));
        PXRMsgElement *data = PXRMsgElementCreate("data");
        const QByteArray bytes(100, 'x');
        PXRMsgElementSetContentBinary(data, bytes.constData(), quint32(bytes.size()));
        PXRMsgElementAddChild(m.root, data);
        refused = !writer.write(m.msg);
    }
    EXPECT_TRUE(refused);
    EXPECT_FALSE(writer.stop());
    EXPECT_TRUE(writer.lastError().contains(QStringLiteral("No space")));
}

TEST_F(PVTWriterTest, HeldSpeedIsWrittenOnlyAtItsEndAndTheLastOneWins)
{
    anpr(writer, "new", T0, "AB");
    anpr(writer, "speed", T0 + 10, "FIRST");
    anpr(writer, "speed", T0 + 20, "SECOND");
    anpr(writer, "end", T0 + 30, "AB");
    anpr(writer, "speed", T0 + 40, "NEVER");
    const std::vector<Rec> speeds = ofType(finish(), 14);
    ASSERT_EQ(speeds.size(), 1u);
    EXPECT_EQ(speeds[0].relative, 30u);
    EXPECT_EQ(text(speeds[0].data, 2, 16), "SECOND");
}

TEST_F(PVTWriterTest, H264FrameMovesOffAnyRecordAndLateDecisionIsWrittenOutOfOrder)
{
    video(writer, "jpeg", T0, "first");
    Msg info("information");
    info.attr("date", QByteArray::number(T0 + 40));
    ASSERT_TRUE(writer.write(info.msg));
    video(writer, "h264", T0 + 40, "h264", "1");
    // Push the frame at 40 out of the reorder window, then decide on it.
    for (int i = 2; i < 1100; ++i)
        video(writer, "jpeg", T0 + 40 * i, "j");
    anpr(writer, "decision", T0 + 40, "LATE", "master", "latepic");
    const std::vector<Rec> recs = finish();
    const std::vector<Rec> h264 = ofType(recs, fourCc("H264"));
    ASSERT_EQ(h264.size(), 1u);
    EXPECT_EQ(h264[0].relative, 41u);
    size_t lateAt = 0;
    for (size_t i = 0; i < recs.size(); ++i)
        if (recs[i].type == fourCc("JPEG") && recs[i].data == "latepic")
            lateAt = i;
    ASSERT_GT(lateAt, 0u);
    EXPECT_EQ(recs[lateAt].relative, 40u);
    quint32 latestBefore = 0;
    for (size_t i = 0; i < lateAt; ++i)
        latestBefore = std::max(latestBefore, recs[i].relative);
    EXPECT_GT(latestBefore, 40u * 100);  // after records already written with later times
}
