// The model's dispatch of pushed messages: kept trees and their refresh signals, video,
// recognitions, traces, and the three forms of clearing.
#include "ModelTestSupport.h"

#include "MsgManager.h"
#include "VideoFrame.h"

#include <QElapsedTimer>
#include <QSignalSpy>

namespace {

Element infosWithCameras(std::vector<Element> cameras)
{
    Element list("cameras");
    for (Element &c : cameras)
        list.add(std::move(c));
    return Element("infos").add(std::move(list));
}

Element video(const char *root = "video")
{
    return Element(root).set("cameraId", "0").set("date", text(nowMs())).add(Element("data").withContent("bytes"));
}

} // namespace

TEST_F(ModelTest, BurstOfPushesGivesOneSignalPerKindAfterItsLastPush)
{
    QElapsedTimer clock;
    QList<qint64> configAt, infosAt;
    QObject context;
    QObject::connect(model, &Model::signalConfigReceived, &context, [&] { configAt << clock.elapsed(); });
    QObject::connect(model, &Model::signalInfosReceived, &context, [&] { infosAt << clock.elapsed(); });
    qint64 lastConfig = -1, lastInfos = -1;
    int pushes = 0;
    // Each mark is taken before its push, which restarts the refresh timer while it runs.
    const auto config = [&] {
        lastConfig = clock.elapsed();
        push(Element("config").add(Element("anpr").set("push", text(++pushes))));
    };
    clock.start();
    config();
    QTimer::singleShot(100, Qt::PreciseTimer, &context, config);
    QTimer::singleShot(150, Qt::PreciseTimer, &context, [&] {
        lastInfos = clock.elapsed();
        push(Element("infos").add(Element("sensor").set("productVersion", "1")));
    });
    QTimer::singleShot(200, Qt::PreciseTimer, &context, config);

    ASSERT_TRUE(waitUntil([&] { return !configAt.isEmpty() && !infosAt.isEmpty(); }));
    ASSERT_EQ(configAt.size(), 1);
    EXPECT_GE(configAt[0], lastConfig + Model::kRefreshDelayMs);
    EXPECT_GE(infosAt[0], lastInfos + Model::kRefreshDelayMs);
    EXPECT_EQ(keptAttribute(model->config(), {"anpr"}, "push"), "3");
}

TEST_F(ModelTest, FirstTreeIsKeptAsCopyAndLaterPushesUpdateAndAddWithoutRemoving)
{
    push(infosWithCameras({camera("0", {{"cameraModel", "A"}}), camera("1", {{"cameraModel", "B"}})}));
    PXRMsg *kept = model->infos();
    ASSERT_NE(kept, nullptr);
    push(infosWithCameras({camera("1", {{"cameraModel", "C"}}), camera("2", {{"cameraModel", "D"}})}));

    EXPECT_EQ(model->infos(), kept);
    model->parseInfos();
    ASSERT_EQ(model->cameraCount(), 3);
    EXPECT_EQ(model->cameraLabel("0"), "[0] A");
    EXPECT_EQ(model->cameraLabel("1"), "[1] C");
    EXPECT_EQ(model->cameraLabel("2"), "[2] D");
}

TEST_F(ModelTest, VideoFromTheMasterInAnyCaseIsSampledWhileTheSlaveTakesOnlyLowerCaseVideo)
{
    push(video("VIDEO"));
    EXPECT_EQ(model->statistics().sizes(), QList<quint32>{5});

    model->slavePlayer().setCameraId(0);
    QSignalSpy frames(&model->slavePlayer(), &VideoPlayer::displayFrame);
    pushFromSlave(video("VIDEO"));
    EXPECT_EQ(frames.count(), 0);
    pushFromSlave(video("video"));
    EXPECT_EQ(frames.count(), 1);
    EXPECT_EQ(model->statistics().sizes().size(), 1) << "the slave's video is not sampled";
}

TEST_F(ModelTest, VideoWithoutDataOrDateGivesNoSample)
{
    struct Case {
        const char *what;
        Element message;
        qsizetype samples;
    };
    const Case cases[] = {
        {"data and date", video(), 1},
        {"no data", Element("video").set("date", text(nowMs())), 0},
        {"no date", Element("video").add(Element("data").withContent("x")), 0},
        {"date not a number", Element("video").set("date", "soon").add(Element("data").withContent("x")), 0},
    };
    for (const Case &c : cases) {
        model->resetStatistics();
        push(c.message);
        EXPECT_EQ(model->statistics().sizes().size(), c.samples) << c.what;
        EXPECT_EQ(model->statistics().dates().size(), c.samples) << c.what;
    }
}

TEST_F(ModelTest, RecognitionsReachTheGroupsAndOnlyDatedOnesAddDelays)
{
    model->requestSensorDate(); // no sensor: dates are local already
    ASSERT_TRUE(model->clockOffsetValid());
    QSignalSpy groups(&model->masterRecognitions(), &RecognitionManager::recognitionGroupChanged);

    push(Element("triggerResult").set("triggerId", "7").set("date", text(nowMs() - 500)).add(Element("decision")));
    EXPECT_EQ(groups.count(), 1);
    EXPECT_EQ(model->averageDecisionLatency(), 0);

    push(Element("anpr").set("date", text(nowMs() - 100)).add(Element("decision").set("plate", "AB123")));
    EXPECT_EQ(groups.count(), 2);
    EXPECT_GE(model->averageDecisionLatency(), 100);
    EXPECT_EQ(model->averageNewLatency(), 0);
}

TEST_F(ModelTest, TraceIsLoggedAtItsSeverity)
{
    struct Case {
        Element message;
        const char *line;
    };
    const Case cases[] = {
        {Element("trace").set("severity", "3").set("text", "cam\xc3\xa9ra hot"), "[3] SensorTrace: caméra hot"},
        {Element("trace").set("text", "plain"), "[6] SensorTrace: plain"},
        {Element("trace").set("severity", "4"), "[4] SensorTrace: \r\n"},
    };
    for (const Case &c : cases) {
        push(c.message);
        EXPECT_TRUE(sensorLog().contains(QString::fromUtf8(c.line))) << c.line;
    }
}

TEST_F(ModelTest, ClearDropsTreesAndSignalsConfigurationThenInformation)
{
    push(Element("config").add(Element("anpr").set("old", "1")));
    push(Element("infos").add(Element("sensor")));
    push(video());
    model->slaveSensor().connect("127.0.0.1", fybsim::Announcer::unusedPort(), {}, false, true, false, {}, {});
    QStringList order;
    QObject context;
    QObject::connect(model, &Model::signalConfigReceived, &context, [&] { order << "config"; });
    QObject::connect(model, &Model::signalInfosReceived, &context, [&] { order << "infos"; });

    model->clear();

    EXPECT_EQ(model->config(), nullptr);
    EXPECT_EQ(model->infos(), nullptr);
    EXPECT_EQ(order, QStringList({"config", "infos"}));
    EXPECT_EQ(model->slaveSensor().handle(), nullptr);
    EXPECT_TRUE(model->statistics().sizes().isEmpty());
    push(Element("config").add(Element("anpr").set("new", "1")));
    EXPECT_EQ(keptAttribute(model->config(), {"anpr"}, "old"), "");
    EXPECT_EQ(keptAttribute(model->config(), {"anpr"}, "new"), "1");
}

TEST_F(ModelTest, NetworkLossDropsTreesButKeepsSlaveAndRecording)
{
    QTemporaryDir folder;
    push(Element("config"));
    model->slaveSensor().connect("127.0.0.1", fybsim::Announcer::unusedPort(), {}, false, true, false, {}, {});
    PXR *slave = model->slaveSensor().handle();
    model->recorder().start(folder.filePath("kept.rec"));
    ASSERT_TRUE(model->recorder().isRecording());
    QSignalSpy cleared(model, &Model::signalInfosReceived);

    emit model->masterSensor().signalDisconnected();

    ASSERT_TRUE(waitUntil([&] { return cleared.count() == 1; }));
    EXPECT_EQ(model->config(), nullptr);
    EXPECT_EQ(model->slaveSensor().handle(), slave);
    EXPECT_TRUE(model->recorder().isRecording());
}

// A request's caller may read the kept trees while it waits; trees pushed meanwhile are not lost.
TEST_F(ModelTest, LossDuringRequestWaitsForItsEndAndKeepsTreesPushedMeanwhile)
{
    fybsim::FybSensor server;
    server.setReply("getSomething", fybsim::Reply::ok().after(600ms));
    connectSensor(model->masterSensor(), server);
    push(Element("config").add(Element("anpr").set("state", "before")));
    PXRMsg *before = model->config();
    QObject context;
    PXRMsg *duringWait = nullptr;
    QTimer::singleShot(0, &context, [&] {
        emit model->masterSensor().signalDisconnected();
        server.push(Element("config").add(Element("anpr").set("state", "after")));
    });
    QTimer::singleShot(400, &context, [&] { duringWait = model->config(); });

    PXRMsg *request = receivedMessage(Element("getSomething"));
    PXRMsg *answer = MsgManager::sendRequest(request);
    EXPECT_NE(answer, nullptr);
    PXRMsgDestroy(answer);
    PXRMsgDestroy(request);

    EXPECT_EQ(duringWait, before);
    ASSERT_TRUE(waitUntil([&] { return keptAttribute(model->config(), {"anpr"}, "state") == "after"; }));
}
