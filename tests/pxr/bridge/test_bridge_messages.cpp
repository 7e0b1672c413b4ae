// The messages the bridge pushes for a sensor's live data: recognitions of each kind with their
// pictures, speed (dated even before any recognition), frames, inputs, and answers handed to a
// waiting request instead of the queue.
#include <cstdlib>

#include "BridgeFeedSupport.h"
#include "PXRLT_Requests.h"

using kgvsim::fourcc;
using kgvsim::Form;

namespace {

struct MessageCase {
    const char *pcszName;
    Form form;
    std::string bytes;
    const char *pcszRoot;
    std::vector<std::pair<std::string, std::string>> values; // "path@attribute", text
};

kgvsim::Recognition recognition()
{
    return {};
}

std::vector<MessageCase> messageCases()
{
    kgvsim::Recognition trigger = recognition();
    trigger.code = 8743;
    trigger.triggerId = 9;
    trigger.triggerOn = 5000;
    trigger.triggerOff = 4000;
    kgvsim::Recognition noBox = recognition();
    noBox.width = 0;
    noBox.database = true;
    noBox.direction = 2;
    noBox.source = 1;
    kgvsim::Recognition dangerous = recognition();
    dangerous.code = fourcc("DPLG");
    dangerous.plate = "33/1203";
    return {
        {"Decision", Form::Anpr, kgvsim::recognitionPacket(recognition()), "anpr",
         {{"@session", "77"}, {"@plateFrom", "master"}, {"decision@plate", "AB123CD"},
          {"decision@reliability", "88"}, {"decision@context", "F"}, {"decision@plateOccurences", "4"},
          {"decision@contrast", "2"}, {"decision@direction", "front"}, {"decision@x", "10"},
          {"decision@height", "40"}, {"decision@sinus", "0.250000"}, {"decision/jpeg", "<element>"},
          {"decision/database", "<no element>"}}},
        {"TriggerDecision", Form::Anpr, kgvsim::recognitionPacket(trigger), "triggerResult",
         {{"@triggerId", "9"}, {"@triggerOffTimestamp", "0"}, {"decision@plate", "AB123CD"}}},
        {"DecisionWithoutBox", Form::Anpr, kgvsim::recognitionPacket(noBox), "anpr",
         {{"@plateFrom", "slave"}, {"decision@x", "<none>"}, {"decision@sinus", "<none>"},
          {"decision@direction", "rear"}, {"decision/database", "<element>"}}},
        {"PassageEnd", Form::Anpr, kgvsim::packet(fourcc("ENDP"), std::string(kgvsim::Block(28).u32(12, 5).u32(16, 6))),
         "anpr", {{"end@width", "5"}, {"end/jpeg", "<no element>"}}},
        {"DangerousGoods", Form::Dgpr, kgvsim::recognitionPacket(dangerous), "dgpr",
         {{"decision@plate", "33/1203"}, {"decision@plateOccurences", "4"}, {"decision@context", "<none>"},
          {"decision@contrast", "<none>"}}},
        {"InputLow", Form::Anpr, kgvsim::inputPacket(100, 0), "ioState", {{"@state", "false"}}},
        {"InputHigh", Form::Anpr, kgvsim::inputPacket(100, 1), "ioState", {{"@state", "true"}}},
        {"Speed", Form::Anpr, kgvsim::speedPacket(93, 12, 0, 1, 350), "anpr",
         {{"@session", "12"}, {"speed@instantSpeed_km_h", "93"}, {"speed@interdistance_ms", "65535"}, // protocol 4.8 does not give it
          {"speed@plateFrom", "slave"}}},
    };
}

class BridgeMessage : public BridgeTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(BridgeMessage, LivePacketBecomesItsMessage)
{
    kgvsim::StreamSetup setup;
    setup.form = GetParam().form;
    connect(setup);
    drain();
    feed(GetParam().bytes);
    std::vector<PXRMsg *> pushed = popAll();
    ASSERT_EQ(roots(pushed), std::vector<std::string>{GetParam().pcszRoot});
    PXRMsgElement *psRoot = PXRMsgChild(pushed[0]);
    for (const auto &value : GetParam().values)
        EXPECT_EQ(valueAt(psRoot, value.first), value.second) << value.first;
    EXPECT_NE(PXRMsgElementAttributeValue(psRoot, "date"), nullptr);
    destroyAll(pushed);
}

INSTANTIATE_TEST_SUITE_P(Packets, BridgeMessage, ::testing::ValuesIn(messageCases()),
                         [](const auto &info) { return std::string(info.param.pcszName); });

int64_t dateOf(PXRMsg *psMsg)
{
    return std::strtoll(PXRMsgElementAttributeValue(PXRMsgChild(psMsg), "date"), nullptr, 10);
}

TEST_F(BridgeTest, SpeedBeforeAnyRecognitionIsDatedFromItsFirstSample)
{
    connect({});
    drain();
    const int64_t i64Now = int64_t(SA_GetTimeMs());
    feed(kgvsim::speedPacket(50, 77, SA_GetTickMs() - 2000, 2, 100));
    std::vector<PXRMsg *> pushed = popAll();
    ASSERT_EQ(roots(pushed), std::vector<std::string>{"anpr"});
    EXPECT_NEAR(double(dateOf(pushed[0])), double(i64Now - 2000), 1000.0) << "not tick 0, long past";
    destroyAll(pushed);
}

TEST_F(BridgeTest, SpeedIsDatedFromTheLastRecognition)
{
    connect({});
    drain();
    feed(kgvsim::recognitionPacket(recognition()));
    feed(kgvsim::speedPacket(50, 77, 0, 2, 100));
    std::vector<PXRMsg *> pushed = popAll();
    ASSERT_EQ(roots(pushed), (std::vector<std::string>{"anpr", "anpr"}));
    // The same tick, turned into a date a moment apart.
    EXPECT_NEAR(double(dateOf(pushed[1])), double(dateOf(pushed[0])), 5.0);
    destroyAll(pushed);
}

TEST_F(BridgeTest, FramesCarryTheirCodec)
{
    connect({});
    drain();
    struct Case {
        uint32_t u32Codec;
        const char *pcszCodec;
        const char *pcszKey;
    } const asCases[] = {{fourcc("JPEG"), "jpeg", "<none>"}, {fourcc("MPEG"), "mpeg", "1"}};
    for (const Case &c : asCases) {
        feed(kgvsim::framePacket(c.u32Codec, 10, 1, 1, "frame-bytes"));
        std::vector<PXRMsg *> pushed = popAll();
        ASSERT_EQ(roots(pushed), std::vector<std::string>{"video"});
        PXRMsgElement *psRoot = PXRMsgChild(pushed[0]);
        EXPECT_EQ(valueAt(psRoot, "@cameraId"), "0");
        EXPECT_EQ(valueAt(psRoot, "@codec"), c.pcszCodec);
        EXPECT_EQ(valueAt(psRoot, "@key"), c.pcszKey);
        PXRMsgElement *psData = elementAt(psRoot, "data");
        ASSERT_EQ(PXRMsgElementContentSize(psData), 11u);
        EXPECT_EQ(std::string(static_cast<const char *>(PXRMsgElementContent(psData)), 11), "frame-bytes");
        destroyAll(pushed);
    }
    PXRLT_xpegCallback(light, 1, 0, 0, fourcc("H264"), 0, 3, reinterpret_cast<const uint8_t *>("abc"), pxr);
    std::vector<PXRMsg *> pushed = popAll();
    ASSERT_EQ(pushed.size(), 1u);
    EXPECT_EQ(valueAt(PXRMsgChild(pushed[0]), "@codec"), "<none>");
    EXPECT_EQ(traceCount("xpegCallback : Unknown codec type"), 1u);
    destroyAll(pushed);
}

// Records made here as the library makes them, so that their release can be checked.
LumatrekRecognition *makeRecord(uint32_t u32Request, bool bJpeg, bool bContext)
{
    auto *psRecord = static_cast<LumatrekRecognition *>(SA_Calloc(1, sizeof(LumatrekRecognition)));
    psRecord->u32LibraryAllocated = 1;
    psRecord->u32ResultType = LUMATREK_RESULT_DECISION;
    psRecord->u32RequestNumber = u32Request;
    if (bJpeg) {
        psRecord->sImage.pu8Jpeg = static_cast<uint8_t *>(SA_Malloc(4));
        psRecord->sImage.u32JpegSize = 4;
    }
    if (bContext) {
        psRecord->sContextImage.pu8Jpeg = static_cast<uint8_t *>(SA_Malloc(6));
        psRecord->sContextImage.u32JpegSize = 6;
    }
    return psRecord;
}

// The sanitizer run proves each record freed exactly once; here the pictures stay readable.
TEST_F(BridgeTest, PicturesAreAttachedWithoutCopyAndTheRecordGoesWithTheMessage)
{
    struct Case {
        bool bJpeg, bContext;
        const char *pcszJpeg, *pcszContext;
    } const asCases[] = {{true, true, "<element>", "<element>"},
                         {false, true, "<no element>", "<element>"},
                         {true, false, "<element>", "<no element>"},
                         {false, false, "<no element>", "<no element>"}};
    for (const Case &c : asCases) {
        LumatrekRecognition *psRecord = makeRecord(1, c.bJpeg, c.bContext);
        PXRMsg *psMsg = PXRMsgCreate();
        ASSERT_EQ(PXRLT_fillAnprMsg(psMsg, psRecord, pxr), 1);
        PXRMsgElement *psDecision = elementAt(PXRMsgChild(psMsg), "decision");
        EXPECT_EQ(valueAt(psDecision, "jpeg"), c.pcszJpeg);
        EXPECT_EQ(valueAt(psDecision, "contextJpeg"), c.pcszContext);
        if (c.bJpeg) {
            EXPECT_EQ(PXRMsgElementContent(elementAt(psDecision, "jpeg")), psRecord->sImage.pu8Jpeg);
        }
        PXRMsgDestroy(psMsg);
    }
}

TEST_F(BridgeTest, AnswersGoToTheWaitingRequestNotTheQueue)
{
    connect({});
    drain();
    PXRLT_anprCallback(light, makeRecord(12, true, false), pxr);
    EXPECT_EQ(bridge->psReceivedRecognition, nullptr) << "not the awaited number: released";
    bridge->bWaiting = 1;
    bridge->i32AwaitedKind = PXRLT_ANSWER_LOG;
    PXRLT_anprCallback(light, makeRecord(11, true, false), pxr);
    EXPECT_NE(bridge->psReceivedRecognition, nullptr);
    EXPECT_EQ(SA_WaitEventTimeout(bridge->hAnswerEvent, 0), SA_OK);
    PXRLT_anprCallback(light, makeRecord(11, false, true), pxr);
    EXPECT_TRUE(popAll().empty());
}

} // namespace
