// The statistics accumulator: what a decision adds, decisions without plate left out, the count
// stopping at its limit, and a sinus beyond [-1, 1] that cannot make the angle NaN.
#include "RecognitionStats.h"
#include "RecognitionViewSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace recotest;

namespace {

MsgPtr decision(const char *plate, const char *sinus, const char *reliability = "90")
{
    return build(Node("anpr").add(Node("decision")
                                      .set("plate", plate)
                                      .set("reliability", reliability)
                                      .set("width", "120")
                                      .set("sinus", sinus)
                                      .set("plateOccurences", "5")));
}

TEST(RecognitionStatsTest, DecisionsWithPlateAddTheirValuesAndTheCountStopsAtItsLimit)
{
    RecognitionStats stats;
    EXPECT_EQ(stats.averageReliability(), 0.0f);
    const MsgPtr read = decision("AB1", "-0.5");
    const MsgPtr vehicle = decision("", "0.5", "10");
    stats.add(vehicle.get());
    stats.add(nullptr);
    EXPECT_EQ(stats.count(), 0);
    for (int i = 0; i < 70000; ++i)
        stats.add(read.get());
    EXPECT_EQ(stats.count(), 65535);
    EXPECT_FLOAT_EQ(stats.averageReliability(), 90.0f);
    EXPECT_FLOAT_EQ(stats.averagePlateWidth(), 120.0f);
    EXPECT_NEAR(stats.averagePlateAngle(), 30.0f, 0.01f);
    EXPECT_FLOAT_EQ(stats.averageOccurrence(), 5.0f);
    stats.clear();
    EXPECT_EQ(stats.count(), 0);
    EXPECT_EQ(stats.averagePlateAngle(), 0.0f);
}

TEST(RecognitionStatsTest, SinusBeyondItsRangeCountsAsAQuarterTurn)
{
    for (const char *sinus : {"1.0001", "-3", "nan"}) {
        RecognitionStats stats;
        const MsgPtr read = decision("AB1", sinus);
        stats.add(read.get());
        EXPECT_FALSE(std::isnan(stats.averagePlateAngle())) << sinus;
        EXPECT_NEAR(stats.averagePlateAngle(), std::string(sinus) == "nan" ? 0.0f : 90.0f, 0.01f) << sinus;
    }
}

} // namespace
