// The bridge's requests on the test KGV sensor: answers awaited on the stream (late, never,
// twice, misnumbered), the cached trees, the commands, inputs and outputs, the serial port and
// the plate database.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BridgeTestSupport.h"

using kgvsim::fourcc;
using kgvsim::StreamAnswer;

namespace {

const uint32_t kGexi = fourcc("GEXI");
const uint32_t kTriggerOn = fourcc("TRGN");
const uint32_t kTriggerOff = fourcc("TRGF");
const uint32_t kLog = kgvsim::kCurrentLogCode;

class BridgeRequests : public BridgeOnSensor {};

TEST_F(BridgeRequests, StreamAnswersAreTakenOnlyByTheRequestThatAwaitsThem)
{
    start({}, 1500);
    struct Case {
        const char *pcszName;
        Node request;
        uint32_t u32Code;
        std::vector<StreamAnswer> script;
        std::string answer;
    } const asCases[] = {
        {"image", Node{"getImage", {{"id", "0"}}}, kGexi, {}, "image date="},
        {"other camera", Node{"getImage", {{"id", "1"}}}, 0, {}, "answer status=failed errorText=No camera with this ID"},
        {"too early", Node{"getImage"}, kGexi, {StreamAnswer::image(-1)}, "answer status=failed errorText=too early"},
        {"too late", Node{"getImage"}, kGexi, {StreamAnswer::image(1)}, "answer status=failed errorText=too late"},
        {"other status", Node{"getImage"}, kGexi, {StreamAnswer::image(7)},
         "answer status=failed errorText=Unknown error"},
        {"no answer", Node{"getImage"}, kGexi, {StreamAnswer::never()},
         "answer status=failed errorText=request timeouted"},
        {"another number", Node{"getImage"}, kGexi, {StreamAnswer::numbered(3)},
         "answer status=failed errorText=request timeouted"},
        {"answered twice", Node{"getImage"}, kGexi, {StreamAnswer::twice()}, "image date="},
        // The late answer is too late; the next request must still get its own picture.
        {"late", Node{"getImage"}, kGexi, {StreamAnswer::image(1).late(2000ms)},
         "answer status=failed errorText=request timeouted"},
        {"after a late one", Node{"getImage", {{"date", "1700000000000"}}}, kGexi, {}, "image date="},
        {"forced trigger", Node{"triggerOn", {{"forceTriggerId", "42"}}}, kTriggerOn, {},
         "triggerAnswer status=ok triggerId=42"},
        {"trigger error", Node{"triggerOn"}, kTriggerOn, {StreamAnswer::trigger("failed", "no lane")},
         "triggerAnswer status=failed errorText=no lane triggerId="},
        {"trigger off unanswered", Node{"triggerOff"}, kTriggerOff, {StreamAnswer::never()},
         "triggerAnswer status=failed errorText=request timeouted"},
        {"current log", Node{"getCurrentLog"}, kLog, {}, "anpr date="},
        {"current log misnumbered", Node{"getCurrentLog"}, kLog, {StreamAnswer::numbered(-1)},
         "answer status=failed errorText=request timeouted"},
        {"current log late", Node{"getCurrentLog"}, kLog, {StreamAnswer::normal().late(2000ms)},
         "answer status=failed errorText=request timeouted"},
        {"current log after a late one", Node{"getCurrentLog"}, kLog, {}, "anpr date="},
        {"forced trigger misnumbered", Node{"triggerOn", {{"forceTriggerId", "7"}}}, kTriggerOn,
         {StreamAnswer::numbered(1)}, "triggerAnswer status=failed errorText=request timeouted"},
    };
    for (const Case &sCase : asCases) {
        SCOPED_TRACE(sCase.pcszName);
        for (const StreamAnswer &sAnswer : sCase.script)
            stream->script(sCase.u32Code, sAnswer);
        const size_t szMark = streamMark();
        const uint32_t u32Before = pxr->psBridge->u32RequestId;
        const std::string answer = send(sCase.request);
        EXPECT_EQ(answer.substr(0, sCase.answer.size()), sCase.answer);
        if (sCase.u32Code == 0) {
            EXPECT_TRUE(streamPacketsSince(szMark, kGexi).empty());
            continue;
        }
        // Every request that was sent has its own number, answered or not.
        EXPECT_EQ(pxr->psBridge->u32RequestId, u32Before + 1);
        const auto sent = streamPacketsSince(szMark, sCase.u32Code);
        ASSERT_EQ(sent.size(), 1u);
        if (sCase.u32Code == kGexi || sCase.u32Code == kLog) {
            EXPECT_EQ(kgvsim::readU32(sent[0].payload, 0), u32Before);
        }
    }
    SA_LockMutex(pxr->psBridge->hEventMutex);
    EXPECT_EQ(pxr->psBridge->psReceivedEvent, nullptr) << "an answer nobody waits for is not kept";
    EXPECT_EQ(pxr->psBridge->psReceivedRecognition, nullptr);
    SA_UnlockMutex(pxr->psBridge->hEventMutex);
}

TEST_F(BridgeRequests, ForcedTriggerIdTravelsInTheFirstBytesWithItsFlag)
{
    start();
    const size_t szMark = streamMark();
    EXPECT_EQ(send(Node{"triggerOn", {{"forceTriggerId", "42"}}}), "triggerAnswer status=ok triggerId=42");
    EXPECT_EQ(send(Node{"triggerOff"}).substr(0, 33), "triggerAnswer status=ok triggerId");
    const auto on = streamPacketsSince(szMark, kTriggerOn);
    const auto off = streamPacketsSince(szMark, kTriggerOff);
    ASSERT_EQ(on.size(), 1u);
    ASSERT_EQ(off.size(), 1u);
    std::string expected(20, '\0');
    expected[0] = 42;
    expected[4] = 1;
    EXPECT_EQ(on[0].payload, expected);
    EXPECT_EQ(off[0].payload, std::string(20, '\0'));
}

std::string jpegOf(PXRMsgElement *psParent)
{
    PXRMsgElement *psJpeg = PXRMsgElementFirstChild(psParent, "jpeg");
    return psJpeg ? std::string(static_cast<const char *>(PXRMsgElementContent(psJpeg)), PXRMsgElementContentSize(psJpeg))
                  : "<no jpeg>";
}

TEST_F(BridgeRequests, ImageAndLogAnswersCarryThePicture)
{
    start();
    PXRMsg *psImage = request_(Node{"getImage"});
    ASSERT_NE(psImage, nullptr);
    EXPECT_EQ(jpegOf(PXRMsgChild(psImage)), kgvsim::KgvStream::jpeg());
    PXRMsgDestroy(psImage);
    PXRMsg *psLog = request_(Node{"getCurrentLog"});
    ASSERT_NE(psLog, nullptr);
    PXRMsgElement *psDecision = PXRMsgElementFirstChild(PXRMsgChild(psLog), "decision");
    ASSERT_NE(psDecision, nullptr) << summary(psLog);
    EXPECT_STREQ(PXRMsgElementAttributeValue(psDecision, "plate"), "LOG123");
    EXPECT_EQ(jpegOf(psDecision), kgvsim::KgvStream::jpeg());
    PXRMsgDestroy(psLog);
}

TEST_F(BridgeRequests, CachedTreesAndInputsAnswerWithoutLock)
{
    start();
    EXPECT_EQ(send(Node{"getConfig"}), "config");
    EXPECT_EQ(send(Node{"getInfos"}), "infos");
    SA_LockMutex(pxr->psBridge->hConfigMutex);
    PXRMsgSetChild(pxr->psBridge->psCachedConfig, Node{"config", {{"x", "1"}}}.build());
    SA_UnlockMutex(pxr->psBridge->hConfigMutex);
    EXPECT_EQ(send(Node{"getConfig"}), "config x=1");
    EXPECT_EQ(send(Node{"getIOState"}), "ioState state=true");
}

TEST_F(BridgeRequests, CommandsNeedTheLockAndAnswerWithTheSensorsResult)
{
    start();
    const char *const apcszLocked[] = {"reboot",        "openBarrier", "eraseDatabase", "getDatabase",
                                       "editDatabase",  "setIOState",  "resetCounters", "lockRS232",
                                       "unlockRS232",   "writeRS232",  "readRS232",     "setConfig"};
    const size_t szMark = commandMark();
    for (const char *pcszName : apcszLocked)
        EXPECT_EQ(send(Node{pcszName}), "answer status=failed errorText=Must be locked") << pcszName;
    EXPECT_TRUE(commandCodesSince(szMark).empty());

    lock();
    struct Case {
        Node request;
        std::string answer;
        std::vector<uint32_t> codes;
    } const asCases[] = {
        {Node{"openBarrier"}, "answer status=ok", {0x666B}},
        {Node{"setIOState", {{"state", "true"}}}, "answer status=ok", {fourcc("GPIO")}},
        {Node{"resetCounters"}, "answer status=ok", {0xC01D}},
        {Node{"lockRS232", {{"number", "1"}}}, "answer status=ok", {0xAAD8}},
        {Node{"writeRS232", {}, {Node{"data", {}, {}, std::string(256, 'w')}}}, "answer status=ok", {0xAAAF}},
        {Node{"writeRS232", {}, {Node{"data", {}, {}, std::string(257, 'w')}}},
         "answer status=failed errorText=Data too big, max size is 256",
         {}},
        {Node{"writeRS232"}, "answer status=failed errorText=LumatrekWriteRS232 : Command invalid argument", {}},
        {Node{"unlockRS232"}, "answer status=ok", {0xAAD9}},
        {Node{"lockRS232", {{"number", "9"}}}, "answer status=failed errorText=LumatrekSwitchAndLockRS232 : Invalid argument",
         {}},
        {Node{"eraseDatabase"}, "answer status=ok", {0xAADD}},
    };
    for (const Case &sCase : asCases) {
        const size_t szAt = commandMark();
        EXPECT_EQ(send(sCase.request), sCase.answer) << sCase.request.name;
        EXPECT_EQ(commandCodesSince(szAt), sCase.codes) << sCase.request.name;
    }
    EXPECT_EQ(device->serialOutput(), std::string(256, 'w'));
    device->script(0x666B, kgvsim::Answer::reply(kgvsim::kNack), 1);
    EXPECT_EQ(send(Node{"openBarrier"}), "answer status=failed errorText=LumatrekSetOpenBarrier : Command nacked");
}

TEST_F(BridgeRequests, SerialReadsGiveWhatThePortHeld)
{
    start();
    lock();
    ASSERT_EQ(send(Node{"lockRS232"}), "answer status=ok");
    device->serialInput("abc\rdef");
    struct Case {
        Node request;
        std::string data;
        std::string payload;
    } const asCases[] = {
        {Node{"readRS232", {{"delimiter", "13"}, {"timeout_ms", "40"}}}, "abc\r", std::string("\r\x28\0\0\0", 5)},
        {Node{"readRS232", {{"readSize", "2"}}}, "de", std::string("\x02\0\0\0\xF4\x01\0\0", 8)},
        {Node{"readRS232"}, std::string("f") + std::string(255, '\0'), std::string("\0\x01\0\0\xF4\x01\0\0", 8)},
    };
    for (const Case &sCase : asCases) {
        const size_t szAt = commandMark();
        PXRMsg *psAnswer = request_(sCase.request);
        ASSERT_NE(psAnswer, nullptr);
        PXRMsgElement *psData = PXRMsgElementFirstChild(PXRMsgChild(psAnswer), "data");
        ASSERT_NE(psData, nullptr) << summary(psAnswer);
        EXPECT_EQ(std::string(static_cast<const char *>(PXRMsgElementContent(psData)), PXRMsgElementContentSize(psData)),
                  sCase.data);
        PXRMsgDestroy(psAnswer);
        const auto packets = sensor->packets(kgvsim::Port::Command);
        ASSERT_GT(packets.size(), szAt);
        EXPECT_EQ(packets.back().payload, sCase.payload);
    }
}

std::vector<std::string> platesOf(PXRMsg *psAnswer)
{
    std::vector<std::string> plates;
    PXRMsgElement *psRoot = PXRMsgChild(psAnswer);
    for (PXRMsgElement *psPlate = PXRMsgElementFirstChild(psRoot, "plate"); psPlate;
         psPlate = PXRMsgElementNextChild(psRoot, psPlate, "plate"))
        plates.emplace_back(PXRMsgElementAttributeValue(psPlate, "value"));
    return plates;
}

TEST_F(BridgeRequests, DatabaseEditRemovesThenAddsEachPlateOnce)
{
    start();
    lock();
    PXRMsg *psEmpty = request_(Node{"getDatabase"});
    ASSERT_NE(psEmpty, nullptr);
    EXPECT_EQ(summary(psEmpty), "database");
    EXPECT_TRUE(platesOf(psEmpty).empty());
    PXRMsgDestroy(psEmpty);

    const size_t szTraces = traceMark();
    EXPECT_EQ(send(Node{"editDatabase",
                        {},
                        {Node{"addPlate", {{"value", "ab12cd"}}}, Node{"delPlate", {{"value", "zz99"}}},
                         Node{"addPlate", {{"value", "AB12CD"}}}, Node{"addPlate", {{"value", "x1"}}}}}),
              "answer status=ok");
    EXPECT_EQ(device->plates(), (std::vector<std::string>{"AB12CD", "X1"}));
    const auto traced = tracesSince(szTraces);
    EXPECT_NE(std::find(traced.begin(), traced.end(), "delPlate : 'ZZ99' is not in sensor database"), traced.end());
    EXPECT_NE(std::find(traced.begin(), traced.end(), "addPlate : 'AB12CD' already in sensor database"), traced.end());

    EXPECT_EQ(send(Node{"editDatabase", {}, {Node{"delPlate", {{"value", "x1"}}}}}), "answer status=ok");
    PXRMsg *psList = request_(Node{"getDatabase"});
    ASSERT_NE(psList, nullptr);
    EXPECT_EQ(platesOf(psList), std::vector<std::string>{"AB12CD"});
    PXRMsgDestroy(psList);
}

TEST_F(BridgeRequests, DatabaseEditRefusesBadValuesBeforeTouchingTheSensor)
{
    start();
    lock();
    const std::string refused = "answer status=failed errorText=Invalid plate value: missing or longer than 10 characters";
    const Node asRequests[] = {
        Node{"editDatabase", {}, {Node{"addPlate", {{"value", "A1"}}}, Node{"addPlate", {{"value", "ABCDEFGHIJK"}}}}},
        Node{"editDatabase", {}, {Node{"delPlate"}}},
        Node{"editDatabase", {}, {Node{"addPlate", {{"value", std::string(300, 'q')}}}}},
    };
    for (const Node &sRequest : asRequests) {
        const size_t szAt = commandMark();
        EXPECT_EQ(send(sRequest), refused);
        EXPECT_TRUE(commandCodesSince(szAt).empty());
    }
    EXPECT_EQ(send(Node{"editDatabase", {}, {Node{"addPlate", {{"value", "ABCDEFGHIJ"}}}}}), "answer status=ok");
    device->script(0xAADB, kgvsim::Answer::reply(kgvsim::kFull), 1);
    const size_t szTraces = traceMark();
    EXPECT_EQ(send(Node{"editDatabase", {}, {Node{"addPlate", {{"value", "Q1"}}}}}).substr(0, 51),
              "answer status=failed errorText=LumatrekAddToDataBas");
    const auto traced = tracesSince(szTraces);
    EXPECT_NE(std::find(traced.begin(), traced.end(), "addPlate failed"), traced.end());
}

} // namespace
