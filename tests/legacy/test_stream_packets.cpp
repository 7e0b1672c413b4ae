// Reception and dispatch of stream packets without sockets: the sensor's bytes come from a
// buffer, entries are dispatched on the test's thread, callbacks record what they got.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "KgvBlocks.h"
#include "LegacyTestSupport.h"
#include "SA_Internal.h"

using kgvsim::Block;
using kgvsim::fourcc;
using kgvsim::packet;

namespace {

struct Seen {
    std::vector<std::pair<uint32_t, std::string>> configs; // type, then the block's first bytes
    std::vector<uint32_t> exTypes;
    std::vector<LumatrekEvent *> events;
    std::vector<LumatrekRecognition *> recognitions;
    std::vector<LumatrekSpeed> speeds;
    std::vector<std::pair<int32_t, uint32_t>> inputs;
};

void onConfig(LumatrekHandle *, LumatrekConfigRecord *psRecord, void *pUser)
{
    static_cast<Seen *>(pUser)->configs.emplace_back(
        psRecord->u32Type, std::string(reinterpret_cast<const char *>(&psRecord->uBlock), 64));
}
void onConfigEx(LumatrekHandle *, LumatrekConfigRecord *psRecord, void *pUser)
{
    static_cast<Seen *>(pUser)->exTypes.push_back(psRecord->u32Type);
}
void onEvent(LumatrekHandle *, LumatrekEvent *psEvent, void *pUser)
{
    static_cast<Seen *>(pUser)->events.push_back(psEvent);
}
void onRecognition(LumatrekHandle *, LumatrekRecognition *psRecord, void *pUser)
{
    static_cast<Seen *>(pUser)->recognitions.push_back(psRecord);
}
void onSpeed(LumatrekHandle *, LumatrekSpeed *psSpeed, void *pUser)
{
    static_cast<Seen *>(pUser)->speeds.push_back(*psSpeed);
}
void onInput(LumatrekHandle *, int32_t i32State, uint32_t u32Time, void *pUser)
{
    static_cast<Seen *>(pUser)->inputs.emplace_back(i32State, u32Time);
}

std::string recognitionPayload(const std::string &plate, const std::string &image, bool bExtension)
{
    Block b(64);
    b.u32(0, 1000).u32(4, 3).u32(8, 77).u32(12, 5).u32(16, 900).u32(20, 950).u8(39, 2).text(40, 16, plate);
    b.u32(56, 88);
    if (bExtension)
        b.u32(60, LT_EXTENSION_MARK);
    std::string bytes = std::string(b) + image;
    if (bExtension) {
        Block ext(LT_RECOGNITION_EXTENSION);
        ext.u32(0, 10).u32(4, 20).u32(8, 30).u32(12, 40).text(24, 64, "lane 2").u32(88, 2).u16(92, 1).u8(94, 3);
        bytes += std::string(ext);
    }
    return bytes;
}

} // namespace

class StreamPacketTest : public LumatrekTest {
protected:
    void SetUp() override
    {
        LumatrekTest::SetUp();
        handle = create("127.0.0.1:0,0,0", LT_CREATE_STREAM);
        ASSERT_NE(handle, nullptr);
        int32_t i32Code = 0;
        LT_TextId eText = LT_TEXT_EMPTY;
        ASSERT_TRUE(LT_makeStreamArea(handle, &i32Code, &eText));
        handle->u32StreamOption = 1;
    }
    void TearDown() override
    {
        for (LumatrekEvent *psEvent : seen.events)
            LumatrekReleaseEvent(&psEvent);
        for (LumatrekRecognition *psRecord : seen.recognitions)
            LumatrekReleaseRecognition(&psRecord);
        LumatrekDestroy(&handle);
        LumatrekTest::TearDown();
    }

    // Reads the packets of the bytes as reception does, until one drops the connection; the
    // results of each call.
    std::vector<int> receive(const std::string &bytes)
    {
        LT_Link sLink = {nullptr, reinterpret_cast<const uint8_t *>(bytes.data()), uint32_t(bytes.size()), 0};
        std::vector<int> results;
        LumatrekMessageHeader sHeader;
        while ((results.empty() || results.back()) && LT_readHeader(&sLink, &sHeader, 0))
            results.push_back(ReceivePacket(handle, &sLink, &sHeader));
        return results;
    }
    // Dispatches every queued entry; their ids in order.
    std::vector<uint32_t> dispatchAll()
    {
        std::vector<uint32_t> ids;
        while (auto *psEntry = static_cast<LT_PacketEntry *>(SA_ReadQueue(handle->psStream->psNetQueue, 0))) {
            ids.push_back(psEntry->u32PacketId);
            LT_dispatchEntry(handle, psEntry);
            SA_WritePool(handle->psStream->psPool, psEntry);
        }
        return ids;
    }
    void feed(const std::string &bytes)
    {
        receive(bytes);
        dispatchAll();
    }
    void installAll()
    {
        ASSERT_TRUE(LumatrekAddConfigCallback(handle, &onConfig, &seen));
        ASSERT_TRUE(LumatrekAddConfigCallbackEx(handle, &onConfigEx, &seen));
        ASSERT_TRUE(LumatrekAddEventCallback(handle, &onEvent, &seen));
        ASSERT_TRUE(LumatrekAddRemoteRecognition(handle, 0, &onRecognition, &seen));
        ASSERT_TRUE(LumatrekAddRemoteDGRecognition(handle, 0, &onRecognition, &seen));
        ASSERT_TRUE(LumatrekAddSpeedCallback(handle, &onSpeed, &seen));
        ASSERT_TRUE(LumatrekAddIoCallback(handle, &onInput, &seen));
    }
    std::vector<uint32_t> configTypes()
    {
        std::vector<uint32_t> types;
        for (const auto &c : seen.configs)
            types.push_back(c.first);
        return types;
    }

    LumatrekHandle *handle = nullptr;
    Seen seen;
};

TEST_F(StreamPacketTest, EmptyKeepAliveAnswerNeverReachesDispatchButOtherEmptyPacketsDo)
{
    EXPECT_EQ(receive(packet(LT_CODE_KEEP_ALIVE) + packet(21862)), (std::vector<int>{1, 1}));
    EXPECT_EQ(dispatchAll(), std::vector<uint32_t>{21862});
}

TEST_F(StreamPacketTest, PacketsAboveTheCapAreRefusedWithoutAllocating)
{
    const size_t szMark = reported().size();
    std::string bytes = kgvsim::header(LT_MAX_PACKET + 1, fourcc("JPEG")) + std::string(600, 'x');
    EXPECT_EQ(receive(bytes), std::vector<int>{0});
    const auto errs = reported();
    ASSERT_EQ(errs.size(), szMark + 1);
    EXPECT_EQ(errs.back().i32Code, -300);
    EXPECT_EQ(errs.back().i32Critical, 0);
    // A 512 MiB claim (the protocol's old limit) is refused the same way.
    EXPECT_EQ(receive(kgvsim::header(0x20000000u, 34953)), std::vector<int>{0});
    EXPECT_TRUE(dispatchAll().empty());
}

TEST_F(StreamPacketTest, PacketAtTheCapIsAccepted)
{
    std::string bytes = packet(99, std::string(LT_MAX_PACKET, '\0'));
    EXPECT_EQ(receive(bytes), std::vector<int>{1});
    EXPECT_EQ(dispatchAll(), std::vector<uint32_t>{99});
}

TEST_F(StreamPacketTest, RecordSubHeaderMustAgreeWithTheMainHeader)
{
    const uint32_t kRecd = fourcc("RECD");
    struct Case {
        std::string name;
        std::string payload;
        int iResult;
        uint32_t u32Held;
    };
    const std::string data(40, 'd');
    Block block300(LT_RECD_BLOCK);
    block300.u32(12, 40);
    Block blockLocked(LT_RECD_BLOCK);
    blockLocked.u32(8, 3).u32(12, 40);
    const Case cases[] = {
        {"plain", std::string(Block(8).u32(0, 40).u32(4, 7)) + data, 1, 40},
        {"sub-header claims more", std::string(Block(8).u32(0, 400).u32(4, 7)) + data, 0, 0},
        {"sub-header claims less", std::string(Block(8).u32(0, 4).u32(4, 7)) + data, 0, 0},
        {"type 300 keeps a gap", std::string(Block(8).u32(0, 0).u32(4, 300)) + std::string(block300) + data, 1,
         40 + LT_RECD_GAP},
        {"type 302 without gap", std::string(Block(8).u32(0, 0).u32(4, 302)) + std::string(block300) + data, 1, 40},
        {"locked block", std::string(Block(8).u32(0, 0).u32(4, 300)) + std::string(blockLocked) + data, 0, 0},
        {"shorter than its sub-header", "abc", 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(receive(packet(kRecd, c.payload)), std::vector<int>{c.iResult});
        auto *psEntry = static_cast<LT_PacketEntry *>(SA_ReadQueue(handle->psStream->psNetQueue, 0));
        if (c.iResult) {
            ASSERT_NE(psEntry, nullptr);
            EXPECT_EQ(psEntry->u32Size, c.u32Held);
            EXPECT_EQ(std::string(reinterpret_cast<char *>(psEntry->pu8Data) + c.u32Held - 40, 40), data);
            SA_WritePool(handle->psStream->psPool, psEntry);
        } else {
            EXPECT_EQ(psEntry, nullptr);
        }
    }
}

TEST_F(StreamPacketTest, FullPoolDiscardsPacketsAndKeepsTheStreamInStep)
{
    std::string bytes;
    for (int i = 0; i < LT_PACKET_ENTRIES + 2; i++)
        bytes += packet(1000 + uint32_t(i), std::string(5000, char(i)));
    EXPECT_EQ(receive(bytes), std::vector<int>(LT_PACKET_ENTRIES + 2, 1));
    const auto ids = dispatchAll();
    ASSERT_EQ(ids.size(), size_t(LT_PACKET_ENTRIES));
    EXPECT_EQ(ids.back(), 1000u + LT_PACKET_ENTRIES - 1);
    // The discarded bodies were read whole: the next packet is read where it starts.
    EXPECT_EQ(receive(packet(4242, "abcd")), std::vector<int>{1});
    EXPECT_EQ(dispatchAll(), std::vector<uint32_t>{4242});
}

TEST_F(StreamPacketTest, TimeWordsAreRewrittenOnlyWhereThePayloadHasThem)
{
    // Payloads cut short of the words their kind carries: no word outside is touched
    // (the sanitizer run checks the reads and writes).
    const uint32_t ids[] = {fourcc("KGVL"), fourcc("KGVC"), fourcc("GETI"), fourcc("KGVX"), 8739, fourcc("NEWP")};
    for (uint32_t u32Id : ids) {
        for (uint32_t u32Size : {1u, 4u, 7u, 17u, 23u, 68u, 71u, 1012u, 1015u}) {
            std::string payload(u32Size, '\x7f');
            if (u32Size >= 1016)
                payload.replace(1012, 4, std::string(Block(4).u32(0, 0xFFFFFFFFu)));
            EXPECT_EQ(receive(packet(u32Id, payload)), std::vector<int>{1});
            auto *psEntry = static_cast<LT_PacketEntry *>(SA_ReadQueue(handle->psStream->psNetQueue, 0));
            ASSERT_NE(psEntry, nullptr);
            EXPECT_EQ(psEntry->u32Size, u32Size);
            SA_WritePool(handle->psStream->psPool, psEntry);
        }
    }
    // A speed packet's count from the sensor is bounded by the payload.
    Block speed(1036);
    speed.u32(1012, 0xFFFFFFFFu);
    EXPECT_EQ(receive(packet(fourcc("KGVX"), std::string(speed))), std::vector<int>{1});
    auto *psEntry = static_cast<LT_PacketEntry *>(SA_ReadQueue(handle->psStream->psNetQueue, 0));
    ASSERT_NE(psEntry, nullptr);
    EXPECT_EQ(LT_getU32(psEntry->pu8Data, 1012), 0xFFFFFFFFu);
    SA_WritePool(handle->psStream->psPool, psEntry);
}

TEST_F(StreamPacketTest, TriggerOffTimeIsZeroUnlessAfterTriggerOn)
{
    Block late(64), early(64);
    late.u32(16, 500).u32(20, 600);
    early.u32(16, 500).u32(20, 400);
    receive(packet(8739, std::string(late)) + packet(8739, std::string(early)));
    auto *psLate = static_cast<LT_PacketEntry *>(SA_ReadQueue(handle->psStream->psNetQueue, 0));
    auto *psEarly = static_cast<LT_PacketEntry *>(SA_ReadQueue(handle->psStream->psNetQueue, 0));
    ASSERT_TRUE(psLate && psEarly);
    EXPECT_NE(LT_getU32(psLate->pu8Data, 20), 0u);
    EXPECT_EQ(LT_getU32(psEarly->pu8Data, 20), 0u);
    SA_WritePool(handle->psStream->psPool, psLate);
    SA_WritePool(handle->psStream->psPool, psEarly);
}

TEST_F(StreamPacketTest, ConfigurationBlocksReachTheCallbackAndAreReplayedInOrder)
{
    ASSERT_TRUE(LumatrekAddConfigCallback(handle, &onConfig, &seen));
    EXPECT_TRUE(seen.configs.empty()) << "nothing cached yet";
    kgvsim::VideoForm video;
    feed(packet(274, kgvsim::versionBlock({})) + packet(43693, kgvsim::videoBlock(video)) +
         packet(273, std::string("KGV 4.8\0junk", 12)) + packet(43747, kgvsim::measuresBlock({1, 2, 3, 4}, 25)) +
         packet(21862));
    EXPECT_EQ(configTypes(), (std::vector<uint32_t>{3, 4, 2, 8, LUMATREK_CONFIG_END}));
    EXPECT_EQ(seen.configs[2].second.substr(0, 8), std::string("KGV 4.8\0", 8));

    // Installed late: every cached block once, in the replay's order; no end mark.
    seen.configs.clear();
    ASSERT_TRUE(LumatrekAddConfigCallback(handle, &onConfig, &seen));
    EXPECT_EQ(configTypes(), (std::vector<uint32_t>{2, 3, 4, 8}));
    EXPECT_EQ(seen.configs[0].second.substr(0, 8), std::string("KGV 4.8\0", 8));

    // A null callback clears the slot and delivers nothing.
    seen.configs.clear();
    ASSERT_TRUE(LumatrekAddConfigCallback(handle, nullptr, &seen));
    feed(packet(274, kgvsim::versionBlock({})));
    EXPECT_TRUE(seen.configs.empty());
}

TEST_F(StreamPacketTest, BlocksOfTheWrongSizeOrAnUnterminatedTextAreIgnored)
{
    installAll();
    feed(packet(274, std::string(15, '\0')) + packet(43693, std::string(113, '\0')) + packet(273, "no zero") +
         packet(273) + packet(273, std::string(300, '\0')) + packet(43691, "abc"));
    EXPECT_TRUE(seen.configs.empty());
}

TEST_F(StreamPacketTest, StatusIsDeliveredOnlyWhenItChanges)
{
    installAll();
    feed(packet(43691, std::string(Block(4).u32(0, 0x10))) + packet(43691, std::string(Block(4).u32(0, 0x10))) +
         packet(43691, std::string(Block(4).u32(0, 0x2010))));
    EXPECT_EQ(configTypes(), (std::vector<uint32_t>{1, 1}));
    EXPECT_EQ(handle->bTooCold, 1) << "bit 0x2000 means too cold";
}

TEST_F(StreamPacketTest, RecognitionsCarryTheirImagesAndExtension)
{
    installAll();
    const std::string image(300, 'J');
    Block kgvc(88);
    kgvc.text(40, 16, "AB123CD").u32(64, 100).u32(68, 4321);
    feed(packet(fourcc("KGVL"), recognitionPayload("AB123CD", image, true)) +
         packet(fourcc("KGVC"), std::string(kgvc) + image) + packet(fourcc("NOLG"), recognitionPayload("", "", false)));
    ASSERT_EQ(seen.recognitions.size(), 3u);
    const LumatrekRecognition *psKgvl = seen.recognitions[0];
    EXPECT_STREQ(psKgvl->aszPlate, "AB123CD");
    EXPECT_EQ(psKgvl->u32ResultType, uint32_t(LUMATREK_RESULT_DECISION));
    EXPECT_EQ(psKgvl->sImage.u32JpegSize, image.size());
    EXPECT_EQ(std::string(reinterpret_cast<char *>(psKgvl->sImage.pu8Jpeg), image.size()), image);
    EXPECT_EQ(psKgvl->u32Reliability, 88u);
    EXPECT_EQ(psKgvl->i32BoxHeight, 40);
    EXPECT_STREQ(psKgvl->aszContext, "lane 2");
    EXPECT_EQ(psKgvl->u32Direction, 2u);
    EXPECT_EQ(psKgvl->u32DataBase, 1u);
    EXPECT_EQ(psKgvl->u32Occurrences, 3u);
    EXPECT_EQ(psKgvl->u32PlateSource, 2u);
    EXPECT_EQ(psKgvl->u32Session, 77u);
    EXPECT_EQ(psKgvl->u32SensorTime, 1000u);
    EXPECT_EQ(psKgvl->sImage.u32Option, 1u);

    const LumatrekRecognition *psKgvc = seen.recognitions[1];
    EXPECT_EQ(psKgvc->sImage.u32JpegSize, 100u);
    EXPECT_EQ(psKgvc->sContextImage.u32JpegSize, 200u);
    EXPECT_EQ(seen.recognitions[2]->u32ResultType, uint32_t(LUMATREK_RESULT_NO_PLATE));
    EXPECT_EQ(seen.recognitions[2]->sImage.pu8Jpeg, nullptr);
}

TEST_F(StreamPacketTest, ShortOrInconsistentRecognitionsAreDroppedUnread)
{
    installAll();
    Block kgvcTooBig(88 + 50);
    kgvcTooBig.u32(64, 51);
    Block extensionMissing(100);
    extensionMissing.u32(60, LT_EXTENSION_MARK);
    feed(packet(fourcc("KGVL"), std::string(63, 'x')) + packet(fourcc("KGVC"), std::string(87, 'x')) +
         packet(fourcc("KGVC"), std::string(kgvcTooBig)) + packet(fourcc("KGVL"), std::string(extensionMissing)) +
         packet(fourcc("NEWP"), std::string(27, 'x')));
    EXPECT_TRUE(seen.recognitions.empty());
    EXPECT_TRUE(reported().empty()) << "a dropped packet is no allocation failure";
}

TEST_F(StreamPacketTest, PassageMarksAndDangerousGoodsGoToTheirGroups)
{
    ASSERT_TRUE(LumatrekAddRemoteDGRecognition(handle, 0, &onRecognition, &seen));
    Block mark(28);
    mark.u32(4, 1).u32(8, 2).u32(12, 3).u32(16, 4).u32(20, 9).u32(24, 1);
    feed(packet(fourcc("NEWP"), std::string(mark)) + packet(fourcc("NEWD"), std::string(mark)) +
         packet(fourcc("ENDD"), std::string(mark)) + packet(fourcc("KGVL"), recognitionPayload("X", "", false)));
    ASSERT_EQ(seen.recognitions.size(), 2u) << "only the dangerous-goods group has a callback";
    EXPECT_EQ(seen.recognitions[0]->u32ResultType, uint32_t(LUMATREK_RESULT_PASSAGE_BEGIN));
    EXPECT_EQ(seen.recognitions[1]->u32ResultType, uint32_t(LUMATREK_RESULT_PASSAGE_END));
    EXPECT_EQ(seen.recognitions[1]->u32Session, 9u);
    EXPECT_EQ(seen.recognitions[1]->i32BoxWidth, 3);
}

TEST_F(StreamPacketTest, EventsOfEachKind)
{
    installAll();
    const std::string jpeg(50, 'j');
    feed(packet(fourcc("GEXI"), std::string(Block(20).u32(4, 12).u32(8, 1))) +
         packet(fourcc("GEXI"), std::string(Block(20).u32(4, 13).u32(8, 0)) + jpeg) +
         packet(fourcc("GETI"), std::string(Block(4)) + jpeg) +
         packet(43688, std::string(Block(16).u32(0, fourcc("GETI")).u32(4, 7))) +
         packet(43688, std::string(Block(16).u32(0, 0x1234))) + packet(0xAADA, std::string(Block(4))) +
         packet(13109, std::string(Block(8).u32(4, 66))) + packet(8741, std::string(300, 't')));
    ASSERT_EQ(seen.events.size(), 7u);
    EXPECT_EQ(seen.events[0]->u32Type, uint32_t(LUMATREK_EVENT_IMAGE_ANSWER));
    EXPECT_EQ(seen.events[0]->uData.sAnswer.i32Status, 3);
    EXPECT_EQ(seen.events[0]->uData.sAnswer.sImage.pu8Jpeg, nullptr);
    EXPECT_EQ(seen.events[1]->uData.sAnswer.u32Request, 13u);
    EXPECT_EQ(seen.events[1]->uData.sAnswer.sImage.u32JpegSize, jpeg.size());
    EXPECT_EQ(seen.events[2]->u32Type, uint32_t(LUMATREK_EVENT_IMAGE));
    EXPECT_EQ(seen.events[2]->uData.sImage.u32JpegSize, jpeg.size());
    EXPECT_EQ(seen.events[3]->u32Type, uint32_t(LUMATREK_EVENT_COMMAND_FAILED));
    EXPECT_EQ(seen.events[3]->uData.sFailure.i32Code, -215);
    EXPECT_EQ(seen.events[3]->uData.sFailure.u32Kind, 1u);
    EXPECT_EQ(seen.events[3]->uData.sFailure.u32Value, 7u);
    EXPECT_EQ(seen.events[4]->u32Type, uint32_t(LUMATREK_EVENT_RUN_STATE));
    EXPECT_EQ(seen.events[5]->uData.sTimed.u32Value, 66u);
    EXPECT_EQ(seen.events[6]->u32Type, uint32_t(LUMATREK_EVENT_TRIGGER_ANSWER));
    EXPECT_EQ(seen.events[6]->uData.au8Trigger[273], 't');
}

TEST_F(StreamPacketTest, SpeedAndInputRecords)
{
    installAll();
    Block speed(1036);
    speed.u32(4, 88).u32(8, 5).u32(12, 0).u8(1024, 2).u32(1032, 350);
    Block gpio(8);
    gpio.u32(0, 0).u16(4, 3).u16(6, 0);
    Block otherKind(8);
    otherKind.u16(4, 1).u16(6, 1);
    feed(packet(fourcc("KGVX"), std::string(speed)) + packet(fourcc("KGVX"), std::string(40, 's')) +
         packet(fourcc("GPIO"), std::string(gpio)) + packet(fourcc("GPIO"), std::string(otherKind)) +
         packet(fourcc("GPIO"), "short"));
    ASSERT_EQ(seen.speeds.size(), 1u);
    EXPECT_EQ(seen.speeds[0].u32SpeedKmh, 88u);
    EXPECT_EQ(seen.speeds[0].u32Session, 5u);
    EXPECT_EQ(seen.speeds[0].u32PlateSource, 2u);
    EXPECT_EQ(seen.speeds[0].u32InterDistanceMs, 0xFFFFu) << "no version known: older sensor";
    ASSERT_EQ(seen.inputs.size(), 1u);
    EXPECT_EQ(seen.inputs[0].first, 3);
}

TEST_F(StreamPacketTest, DecompressedRecognitionIsRefusedAndKeepsThePreviousCallback)
{
    ASSERT_TRUE(LumatrekAddRemoteRecognition(handle, 0, &onRecognition, &seen));
    EXPECT_FALSE(LumatrekAddRemoteRecognition(handle, 1, &onRecognition, nullptr));
    const auto errs = reported();
    ASSERT_FALSE(errs.empty());
    EXPECT_EQ(errs.back().i32Code, -123);
    EXPECT_EQ(errs.back().text, "Video decompression not supported");
    feed(packet(fourcc("KGVL"), recognitionPayload("Z", "", false)));
    EXPECT_EQ(seen.recognitions.size(), 1u);
}

TEST_F(StreamPacketTest, RecognitionWithoutCallbackIsDropped)
{
    feed(packet(fourcc("KGVL"), recognitionPayload("Z", "img", false)));
    EXPECT_TRUE(seen.recognitions.empty());
    EXPECT_TRUE(reported().empty());
}

TEST_F(StreamPacketTest, FailedAllocationDropsThatPacketAndDispatchGoesOn)
{
    installAll();
    const std::string big(200000, 'J');
    receive(packet(fourcc("KGVL"), recognitionPayload("BIG", big, false)) +
            packet(fourcc("GETI"), std::string(Block(4)) + big));
    SA_FailAllocationsForTest(100000);
    dispatchAll();
    SA_FailAllocationsForTest(0);
    EXPECT_TRUE(seen.recognitions.empty());
    const auto errs = reported();
    ASSERT_EQ(errs.size(), 2u);
    EXPECT_EQ(errs[0].i32Code, LUMATREK_ERROR_NO_MEMORY);
    EXPECT_EQ(errs[0].i32Critical, 0);
    EXPECT_TRUE(LT_isRunning(handle));
    feed(packet(fourcc("KGVL"), recognitionPayload("NEXT", "img", false)));
    ASSERT_EQ(seen.recognitions.size(), 1u);
    EXPECT_STREQ(seen.recognitions[0]->aszPlate, "NEXT");
}

TEST_F(StreamPacketTest, CameraVariableAndSecondWordBlocks)
{
    installAll();
    // Before the camera block, a camera word update has nothing to deliver.
    feed(packet(43718, std::string(Block(4).u32(0, 7))));
    EXPECT_TRUE(seen.configs.empty());
    Block camera(80);
    camera.u32(4, 321).u32(12, 2).u32(36, 1);
    feed(packet(65529, std::string(Block(8).u32(0, 10).u32(4, 20))) + packet(43735, std::string(camera)) +
         packet(43718, std::string(Block(4).u32(0, 9))) +
         packet(43704, std::string(Block(32).u32(0, 5).u32(12, 1500).u32(28, 1600))));
    EXPECT_EQ(configTypes(), (std::vector<uint32_t>{6, 6, 6}));
    EXPECT_EQ(handle->sCamera.u32Iris, 9u);
    EXPECT_EQ(handle->sCamera.u32LedPower2, 1600u);
    EXPECT_EQ(handle->u32LedCard, 5u);
    EXPECT_EQ(handle->psStream->au32Focus[0], 321u) << "IR-cut on: the first focus value";

    seen.exTypes.clear();
    feed(packet(21864, std::string(Block(4).u16(0, 3)) + "data") +
         packet(21864, std::string(Block(4).u16(0, 1)) + "one") +
         packet(21864, std::string(Block(4).u16(0, 1)) + "again") +
         packet(fourcc("RELG"), std::string(Block(4).u32(0, 70))) + packet(fourcc("ENDG"), "abc"));
    EXPECT_EQ(seen.exTypes, (std::vector<uint32_t>{18, 18, 23}));
    EXPECT_EQ(std::string(reinterpret_cast<char *>(handle->asData[1].pu8Data), handle->asData[1].u32Size), "again");
    EXPECT_EQ(handle->asData[0].pu8Data, nullptr) << "slot 3 does not exist and touches no other";
    EXPECT_EQ(handle->asData[2].pu8Data, nullptr);
    EXPECT_EQ(handle->au32Received[1] & LT_RECEIVED_RELIABILITY, LT_RECEIVED_RELIABILITY);
}

TEST_F(StreamPacketTest, StoredReadsOnALightHandleAnswerFromWhatTheStreamPushed)
{
    std::array<uint32_t, 12> words{};
    words[0] = 3;
    feed(packet(21854, kgvsim::ocrBlock(words)));
    LumatrekOcrSettings sOcr{};
    EXPECT_EQ(LumatrekGetRemoteOcrSettings(handle, &sOcr), 0);
    EXPECT_EQ(sOcr.u32MaxPlateHeight, 3u);
    LumatrekDataBaseConfig sDataBase{};
    EXPECT_EQ(LumatrekGetDataBaseConfig(handle, &sDataBase), -1);
    EXPECT_EQ(reported().back().i32Code, -290) << "not pushed yet";
}
