// The offset between the local clock and the sensor's, measured with a getDate request that
// leaves the GUI turning while it waits.
#include "ModelTestSupport.h"

#include <QElapsedTimer>

namespace {

constexpr qint64 kDayMs = 24 * 3600 * 1000LL;

struct ClockCase {
    const char *what;
    // The sensor's answer, given its clock skew, or none (the connection closes).
    std::function<fybsim::Reply()> reply;
    bool valid;
    qint64 offset;
};

fybsim::Reply dateAnswer(qint64 skewMs)
{
    return fybsim::Reply::message(Element("date").set("date", text(nowMs() - skewMs)));
}

} // namespace

class ModelClockTest : public ModelTest, public ::testing::WithParamInterface<ClockCase>
{
};

TEST_P(ModelClockTest, OffsetFollowsTheSensorsAnswer)
{
    fybsim::FybSensor server;
    const ClockCase &c = GetParam();
    server.setResponder([&](const fybsim::WireMessage &request) -> std::optional<fybsim::Reply> {
        if (request.rootName() != "getDate")
            return std::nullopt;
        return c.reply();
    });
    connectSensor(model->masterSensor(), server);
    ASSERT_EQ(model->masterSensor().detectedProtocol(), "FYB");

    model->requestSensorDate();

    EXPECT_EQ(model->clockOffsetValid(), c.valid);
    EXPECT_NEAR(double(model->clockOffsetMs()), double(c.offset), 2000.0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ModelClockTest,
    ::testing::Values(ClockCase{"in step", [] { return dateAnswer(0); }, true, 0},
                      ClockCase{"an hour behind", [] { return dateAnswer(3600 * 1000); }, true, 3600 * 1000},
                      ClockCase{"unset after a reboot, 30 days behind", [] { return dateAnswer(30 * kDayMs); }, true,
                                30 * kDayMs},
                      ClockCase{"60 days ahead", [] { return dateAnswer(-60 * kDayMs); }, true, -60 * kDayMs},
                      ClockCase{"status answer", [] { return fybsim::Reply::failed("no clock"); }, false, 0},
                      ClockCase{"date without its date",
                                [] { return fybsim::Reply::message(Element("date")); }, false, 0},
                      ClockCase{"no answer", [] { return fybsim::Reply::close(); }, false, 0}),
    [](const ::testing::TestParamInfo<ClockCase> &info) { return "case" + std::to_string(info.index); });

TEST_F(ModelTest, WithoutCurrentSensorDatesAreLocalAndNothingIsAsked)
{
    ASSERT_NE(model->masterSensor().detectedProtocol(), "FYB");
    model->requestSensorDate();
    EXPECT_TRUE(model->clockOffsetValid());
    EXPECT_EQ(model->clockOffsetMs(), 0);
}

TEST_F(ModelTest, PushesKeepArrivingWhileTheDateIsAwaited)
{
    fybsim::FybSensor server;
    server.setReply("getDate", dateAnswer(0).after(500ms));
    connectSensor(model->masterSensor(), server);
    bool waiting = false;
    int duringWait = 0;
    QObject context;
    QObject::connect(&model->masterSensor(), &Sensor::signalMsgReceived, &context, [&] { duringWait += waiting; });
    const fybsim::FybSensor::Mark since = server.mark();
    QTimer::singleShot(0, &context, [&] {
        server.waitForRoot(since, "getDate", 5s);
        server.push(Element("config").add(Element("anpr")));
    });

    waiting = true;
    model->requestSensorDate();
    waiting = false;

    EXPECT_TRUE(model->clockOffsetValid());
    EXPECT_EQ(duringWait, 1);
    EXPECT_NE(model->config(), nullptr);
}
