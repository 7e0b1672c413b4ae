// The joint iris and gain scale split back into the attributes it sets, entries the sensor's
// lists could hold but the panel's own never do included.
#include "IrisGainScale.h"

#include <gtest/gtest.h>

namespace {

TEST(IrisGainScale, EntrySplitsIntoItsAttributes)
{
    struct Case
    {
        QString entry;
        QString zeroGain;
        QStringList names, values;
    } cases[] = {
        {"F1.4+6 dB", "0 dB", {"iris", "gain"}, {"F1.4", "6 dB"}},
        {"F1.4-3 dB", "0 dB", {"iris", "gain"}, {"F1.4", "-3 dB"}},
        {"F2.0", "0.0 dB", {"iris", "gain"}, {"F2.0", "0.0 dB"}},
        {"F2.0", "", {"iris"}, {"F2.0"}},
        {"+6 dB", "0 dB", {"gain"}, {"6 dB"}},
        {"-3 dB", "0 dB", {"gain"}, {"-3 dB"}},
        // A second separator of one kind leaves a part no attribute takes: nothing is sent.
        {"F1.4+6+ dB", "0 dB", {}, {}},
        {"F1.4-3-1 dB", "0 dB", {}, {}},
    };
    for (const Case &c : cases) {
        const IrisGainScale::Split split = IrisGainScale::split(c.entry, c.zeroGain);
        EXPECT_EQ(split.names, c.names) << c.entry.toStdString();
        EXPECT_EQ(split.values, c.values) << c.entry.toStdString();
    }
}

TEST(IrisGainScale, ZeroGainIsTheLastTextMeaningNone)
{
    EXPECT_EQ(IrisGainScale::zeroGain({"0 dB", "0.0 dB", "10 dB", "6 dB"}), "0.0 dB");
    EXPECT_EQ(IrisGainScale::zeroGain({"00 dB", "0dB", "10 dB"}), "");
}

} // namespace
