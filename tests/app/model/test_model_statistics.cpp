// Statistics of video blocks and recognition delays, and the graph drawn from them.
#include "ModelStatistics.h"
#include "ModelTestSupport.h"

#include <limits>

namespace {

constexpr qint64 kBase = 1700000000000;

// A recognition message with a first element of that name, dated on the sensor's clock.
PXRMsg *recognition(const char *first, qint64 date)
{
    return receivedMessage(Element("anpr").set("date", text(date)).add(Element(first)));
}

} // namespace

TEST(ModelStatistics, StartsEmpty)
{
    ModelStatistics stats;
    EXPECT_EQ(stats.averageVideoSize(), 0u);
    EXPECT_EQ(stats.maxVideoSize(), 0u);
    EXPECT_EQ(stats.averageVideoInterval(), 0);
    EXPECT_EQ(stats.minVideoInterval(), 0);
    EXPECT_EQ(stats.maxVideoInterval(), 0);
    EXPECT_EQ(stats.averageNewLatency(), 0);
    EXPECT_EQ(stats.averageDecisionLatency(), 0);
    EXPECT_EQ(stats.averageEndLatency(), 0);
    const QImage graph = stats.pixmap().toImage();
    EXPECT_EQ(graph.size(), QSize(100, 300));
    EXPECT_EQ(graph.pixelColor(50, 150), QColor(Qt::white));
}

TEST(ModelStatistics, KeepsTheLastSamplesAndTheExtremesOfAll)
{
    ModelStatistics stats;
    stats.addVideoSample(1, kBase);
    for (int i = 1; i <= ModelStatistics::kMaxSamples; ++i)
        stats.addVideoSample(quint32(1000 + i), kBase + 40 * i);
    stats.addVideoSample(2000, kBase + 40 * 200 + 100);

    ASSERT_EQ(stats.sizes().size(), ModelStatistics::kMaxSamples);
    EXPECT_EQ(stats.sizes().first(), 1002u);
    EXPECT_EQ(stats.dates().size(), ModelStatistics::kMaxSamples);
    EXPECT_EQ(stats.minVideoSize(), 1u);
    EXPECT_EQ(stats.maxVideoSize(), 2000u);
    EXPECT_EQ(stats.minVideoInterval(), 40);
    EXPECT_EQ(stats.maxVideoInterval(), 100);
    // (1002 + ... + 1200 + 2000) / 200
    EXPECT_EQ(stats.averageVideoSize(), quint32((199 * (1002 + 1200) / 2 + 2000) / 200));
    EXPECT_EQ(stats.averageVideoInterval(), (40 * 198 + 100) / 199);
}

TEST(ModelStatistics, DatesOutOfOrderGiveNoInterval)
{
    ModelStatistics stats;
    stats.addVideoSample(10, kBase);
    stats.addVideoSample(10, kBase - 5);
    stats.addVideoSample(10, kBase - 5);
    EXPECT_EQ(stats.maxVideoInterval(), 0);
    EXPECT_EQ(stats.minVideoInterval(), 0);
    stats.addVideoSample(10, kBase + 35);
    EXPECT_EQ(stats.maxVideoInterval(), 40);
    EXPECT_EQ(stats.minVideoInterval(), 40);
}

TEST(ModelStatistics, LargeBlocksAverageWithoutOverflow)
{
    ModelStatistics stats;
    stats.addVideoSample(3000000000u, kBase);
    stats.addVideoSample(3000000000u, kBase + 40);
    EXPECT_EQ(stats.averageVideoSize(), 3000000000u);
}

TEST(ModelStatistics, OnlyPositiveDelaysOfKnownKindsAreCounted)
{
    struct Sample {
        const char *first;
        qint64 delay;
    };
    const Sample samples[] = {
        {"decision", 120}, {"decision", 80}, {"decision", 0}, {"decision", -30},
        {"NEW", 10},       {"end", 50},      {"speed", 500},
    };
    ModelStatistics stats;
    const qint64 offset = 1000; // the local clock runs 1 s ahead of the sensor's
    const qint64 now = kBase + 10000;
    for (const Sample &sample : samples) {
        PXRMsg *msg = recognition(sample.first, now - sample.delay - offset);
        stats.addLatencySample(msg, offset, now);
        PXRMsgDestroy(msg);
    }
    EXPECT_EQ(stats.averageDecisionLatency(), 100);
    EXPECT_EQ(stats.averageNewLatency(), 10);
    EXPECT_EQ(stats.averageEndLatency(), 50);

    PXRMsg *undated = receivedMessage(Element("anpr").add(Element("decision")));
    PXRMsg *empty = receivedMessage(Element("anpr").set("date", text(kBase)));
    stats.addLatencySample(undated, offset, now);
    stats.addLatencySample(empty, offset, now);
    PXRMsgDestroy(undated);
    PXRMsgDestroy(empty);
    EXPECT_EQ(stats.averageDecisionLatency(), 100);

    stats.reset();
    EXPECT_EQ(stats.averageDecisionLatency(), 0);
}

TEST(ModelStatistics, GraphDrawsIntervalsInGreenAndSizesInRedFourPixelsPerDate)
{
    ModelStatistics stats;
    for (int i = 0; i < 100; ++i)
        stats.addVideoSample(i % 2 ? 5000u : 2500u, kBase + 40 * i + (i == 50 ? 60 : 0));
    const QImage graph = stats.pixmap().toImage();

    ASSERT_EQ(graph.size(), QSize(400, 300));
    EXPECT_EQ(graph.pixelColor(0, 150), QColor(Qt::black));
    EXPECT_EQ(graph.pixelColor(399, 150), QColor(Qt::black));
    EXPECT_EQ(graph.pixelColor(200, 299), QColor(Qt::black));
    int green = 0, red = 0;
    for (int y = 0; y < graph.height(); ++y) {
        for (int x = 1; x < graph.width() - 1; ++x) {
            green += graph.pixelColor(x, y) == QColor(0, 180, 0);
            red += graph.pixelColor(x, y) == QColor(180, 0, 0);
        }
    }
    EXPECT_GT(green, 400);
    EXPECT_GT(red, 400);
    // The largest size reaches 24 px under the top (300 - 5000 / 5000 * 276), just under the band
    // of the scale labels, which no curve enters.
    bool redAtTop = false;
    for (int x = 10; x < 390; ++x)
        redAtTop |= graph.pixelColor(x, 24) == QColor(180, 0, 0);
    EXPECT_TRUE(redAtTop);
    for (int y = 0; y < 23; ++y)
        for (int x = 110; x < 290; ++x)
            ASSERT_EQ(graph.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
}

TEST_F(ModelTest, DelaysAreTakenOnlyWithAValidClockOffset)
{
    const auto decision = [&] {
        push(Element("anpr").set("date", text(nowMs() - 200)).add(Element("decision")));
    };
    decision();
    EXPECT_EQ(model->averageDecisionLatency(), 0);
    model->requestSensorDate();
    decision();
    EXPECT_GE(model->averageDecisionLatency(), 200);
    model->clear();
    EXPECT_EQ(model->averageDecisionLatency(), 0);
    EXPECT_FALSE(model->clockOffsetValid());
}
