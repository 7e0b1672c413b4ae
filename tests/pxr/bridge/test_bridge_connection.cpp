// The bridge's connection reporting and cached trees: connected at the end of the sensor's
// configuration (at once with older firmware), a too-cold status and its return on the same
// stream, a dropped stream, and the changes pushed to subscribers.
#include "BridgeFeedSupport.h"

using kgvsim::packet;

namespace {

struct FirmwareCase {
    std::array<uint16_t, 3> firmware;
    bool bConnectedBeforeEnd;
};

class BridgeFirmware : public BridgeTest, public ::testing::WithParamInterface<FirmwareCase> {};

TEST_P(BridgeFirmware, ConnectedAtTheEndOfConfigurationOrAtOnceWithOldFirmware)
{
    kgvsim::StreamSetup setup;
    setup.version.firmware = GetParam().firmware;
    const std::string all = kgvsim::streamConfiguration(setup);
    const std::string end = packet(21862);
    stream(true);
    EXPECT_FALSE(connected()) << "a ready stream alone reports nothing";
    feed(all.substr(0, all.size() - end.size()));
    EXPECT_EQ(connected(), GetParam().bConnectedBeforeEnd);
    feed(end);
    EXPECT_TRUE(connected());
    EXPECT_EQ(valueAt(cachedRoot(bridge->psCachedInfos), "sensor@firmwareVersion"),
              std::to_string(GetParam().firmware[0]) + "." + std::to_string(GetParam().firmware[1]) + "." +
                  std::to_string(GetParam().firmware[2]));
    EXPECT_EQ(valueAt(cachedRoot(bridge->psCachedConfig), "cameras/camera/anpr@context"), "F|GB");
    const size_t szWarnings = traceCount("KGV firmwares < 6.1.4");
    feed(packet(274, kgvsim::versionBlock(setup.version)));
    EXPECT_EQ(traceCount("KGV firmwares < 6.1.4"), GetParam().bConnectedBeforeEnd ? szWarnings + 1 : 0u)
        << "the warning comes with every version record of an old firmware";
}

INSTANTIATE_TEST_SUITE_P(Firmwares, BridgeFirmware,
                         ::testing::Values(FirmwareCase{{6, 1, 3}, true}, FirmwareCase{{6, 1, 4}, false},
                                           FirmwareCase{{7, 0, 0}, false}));

TEST_F(BridgeTest, TooColdStatusDisconnectsAndItsEndReconnectsWithTheTreesOnTheSameStream)
{
    kgvsim::StreamSetup setup;
    connect(setup);
    ASSERT_TRUE(connected());
    feed(kgvsim::statusPacket(0x2001));
    EXPECT_FALSE(connected());
    EXPECT_EQ(cachedRoot(bridge->psCachedInfos), nullptr);
    EXPECT_EQ(cachedRoot(bridge->psCachedConfig), nullptr);
    feed(kgvsim::statusPacket(0x1));
    EXPECT_TRUE(connected()) << "no new end of configuration comes on this stream";
    EXPECT_EQ(valueAt(cachedRoot(bridge->psCachedInfos), "sensor@status"), "RUNNING");
    EXPECT_EQ(valueAt(cachedRoot(bridge->psCachedConfig), "network/interface@ipAddress"), "192.168.1.40");
}

TEST_F(BridgeTest, ConfigurationInBeforeTheCallbacksStillEndsTheWait)
{
    // The stream runs from the light connection's creation, ahead of the callbacks' installation.
    LumatrekCancelConfigCallback(light);
    connect({});
    EXPECT_FALSE(connected());
    PXRLT_installCallbacks(pxr, light);
    EXPECT_TRUE(connected());
    EXPECT_EQ(valueAt(cachedRoot(bridge->psCachedConfig), "cameras/camera/anpr@context"), "F|GB");
}

TEST_F(BridgeTest, DroppedStreamDisconnectsAndTheNextOneWaitsForItsConfiguration)
{
    kgvsim::StreamSetup setup;
    connect(setup);
    ASSERT_TRUE(connected());
    stream(false);
    EXPECT_FALSE(connected());
    EXPECT_EQ(cachedRoot(bridge->psCachedConfig), nullptr);
    stream(true);
    EXPECT_FALSE(connected());
    EXPECT_STREQ(PXRMsgElementName(cachedRoot(bridge->psCachedConfig)), "config");
    EXPECT_EQ(PXRMsgElementChildCount(cachedRoot(bridge->psCachedConfig), nullptr), 0u) << "bare until the end";
    feed(kgvsim::streamConfiguration(setup));
    EXPECT_TRUE(connected());
}

TEST_F(BridgeTest, OtherSocketsChangingBesideAReadyStreamChangeNothing)
{
    connect({});
    ASSERT_TRUE(connected());
    SetConnectionState(light, LT_SOCKET_TIME, LT_SOCKET_CONNECTED);
    SetConnectionState(light, LT_SOCKET_TIME, 0);
    EXPECT_TRUE(connected());
    EXPECT_EQ(valueAt(cachedRoot(bridge->psCachedConfig), "cameras/camera/anpr@context"), "F|GB");
}

TEST_F(BridgeTest, EndMarkOfAStreamAlreadyGoneDoesNotCountForTheNext)
{
    stream(true);
    stream(false);
    feed(kgvsim::packet(21862)); // still queued when the stream went
    stream(true);
    EXPECT_FALSE(connected()) << "nothing of this stream's configuration came yet";
    feed(kgvsim::streamConfiguration({}));
    EXPECT_TRUE(connected());
}

TEST_F(BridgeTest, SubscribersGetTheTreesThenOnlyWhatChanged)
{
    kgvsim::StreamSetup setup;
    connect(setup);
    subscribe("1", "1");
    std::vector<PXRMsg *> pushed = popAll();
    EXPECT_EQ(roots(pushed), (std::vector<std::string>{"infos", "config"}));
    destroyAll(pushed);

    feed(kgvsim::configurationForm(setup));
    pushed = popAll();
    EXPECT_TRUE(pushed.empty()) << "an unchanged configuration pushes nothing";
    destroyAll(pushed);

    setup.anpr.context = "D|SQUARE_PLATES";
    feed(kgvsim::configurationForm(setup));
    pushed = popAll();
    ASSERT_EQ(roots(pushed), std::vector<std::string>{"config"});
    PXRMsgElement *psAnpr = elementAt(PXRMsgChild(pushed[0]), "cameras/camera/anpr");
    ASSERT_NE(psAnpr, nullptr);
    EXPECT_STREQ(PXRMsgElementAttributeValue(psAnpr, "context"), "D");
    EXPECT_STREQ(PXRMsgElementAttributeValue(psAnpr, "squarePlates"), "1");
    EXPECT_EQ(PXRMsgElementAttributeValue(psAnpr, "direction"), nullptr) << "unchanged attributes are left out";
    EXPECT_EQ(elementAt(PXRMsgChild(pushed[0]), "network"), nullptr);
    destroyAll(pushed);

    subscribe("0", "0");
    destroyAll(pushed = popAll());
    feed(kgvsim::statusPacket(0x2000 | 0x1));
    feed(kgvsim::statusPacket(0x1));
    setup.anpr.direction = 2;
    feed(kgvsim::configurationForm(setup));
    EXPECT_TRUE(popAll().empty()) << "nothing pushed once unsubscribed";
    EXPECT_EQ(valueAt(cachedRoot(bridge->psCachedConfig), "cameras/camera/anpr@direction"), "rear");
}

TEST_F(BridgeTest, LegacyErrorsAreTracedAtTheirLevel)
{
    ReportError(light, "ReceiveThread", 0, -30, "Unknown status", 0);
    LumatrekErrorInfo sError{-10, nullptr, 1, 0, nullptr};
    PXRLT_errorCallback(light, &sError, pxr);
    EXPECT_EQ(traceCount("[LTDLL]ReceiveThread : Unknown status"), 1u);
    EXPECT_EQ(traceCount("[LTDLL]Unknown : "), 1u);
}

} // namespace
