// The slave sensor found by discovery and bound when the master's configuration names it.
#include "ModelTestSupport.h"

#include <QSignalSpy>

namespace {

const char kSlaveMac[] = "00:1A:2B:3C:4D:5E";

// The master's configuration naming the slave, with a marker to know when it is kept.
Element configNamingSlave(const std::string &mac, const std::string &marker)
{
    return Element("config")
        .add(Element("slaves").add(Element("slaveAnpr").set("macAddress", mac)))
        .add(Element("anpr").set("marker", marker));
}

} // namespace

class ModelSlaveTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        const uint16_t port = fybsim::Announcer::unusedPort();
        PXRDiscover *discover = PXRDiscoverCreate();
        ASSERT_NE(discover, nullptr);
        discover->u16Port = port;
        ASSERT_EQ(PXRDiscoverStart(discover), 1);
        window->setDiscover(discover);
        announcer = std::make_unique<fybsim::Announcer>(port);
    }
    void TearDown() override
    {
        ModelTest::TearDown();
        if (PXRDiscover *discover = window ? window->discover() : nullptr)
            PXRDiscoverDestroy(discover);
    }

    // Announces the slave until the listener holds the announcement with that time port.
    bool announceSlave(uint16_t port, const char *commandPort, const char *timePort)
    {
        Element announcement = fybsim::Announcer::announcement(port).set("macAddress", kSlaveMac);
        if (commandPort != nullptr)
            announcement.set("commandPort", commandPort);
        if (timePort != nullptr)
            announcement.set("timePort", timePort);
        return waitUntil([&] {
            announcer->announce(announcement);
            return heardTimePort() == (timePort != nullptr ? timePort : "");
        });
    }

    QString heardTimePort() const
    {
        PXRMsg *heard[4] = {};
        uint32_t count = 4;
        PXRDiscoverGetDiscovered(window->discover(), heard, &count);
        const QString timePort = count > 0 ? keptAttribute(heard[0], {}, "timePort") : "none";
        for (uint32_t i = 0; i < count; ++i)
            PXRMsgDestroy(heard[i]);
        return timePort;
    }

    // Pushes the configuration through the master sensor and waits until the model keeps it.
    void pushFromMaster(fybsim::FybSensor &master, const std::string &mac, const std::string &marker)
    {
        master.push(configNamingSlave(mac, marker));
        ASSERT_TRUE(waitUntil([&] { return keptAttribute(model->config(), {"anpr"}, "marker") == marker.c_str(); }));
    }

    std::unique_ptr<fybsim::Announcer> announcer;
};

TEST_F(ModelSlaveTest, SlaveNamedByTheMasterIsBoundSubscribedAndItsVideoReachesTheSlavePlayer)
{
    fybsim::FybSensor master, slave;
    connectSensor(model->masterSensor(), master);
    ASSERT_TRUE(announceSlave(slave.port(), "11011", "10005"));
    const fybsim::FybSensor::Mark bound = slave.mark();

    pushFromMaster(master, "00:1a:2b:3c:4d:5e", "first");

    ASSERT_TRUE(slave.waitForConnections(bound, fybsim::Role::Asynchronous, 1, 5s));
    ASSERT_TRUE(slave.waitForConnections(bound, fybsim::Role::Synchronous, 1, 5s));
    const std::optional<fybsim::Received> streams = slave.waitForRoot(bound, "setEnableStreams", 5s);
    ASSERT_TRUE(streams.has_value());
    const Element *camera = streams->message.root->child("cameras")->child("camera");
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(*camera->attribute("id"), "0");
    EXPECT_EQ(*camera->attribute("enabled"), "1");
    EXPECT_EQ(model->slaveSensor().handle()->u16TimePort, 10005);
    EXPECT_EQ(model->slavePlayer().cameraId(), 0);

    QSignalSpy frames(&model->slavePlayer(), &VideoPlayer::displayFrame);
    slave.push(Element("video").set("cameraId", "0").set("date", text(nowMs())).add(Element("data").withContent("x")));
    ASSERT_TRUE(waitUntil([&] { return frames.count() == 1; }));
    EXPECT_TRUE(model->statistics().sizes().isEmpty());

    // The same slave named again keeps its connection.
    const PXR *handle = model->slaveSensor().handle();
    const fybsim::FybSensor::Mark again = slave.mark();
    pushFromMaster(master, kSlaveMac, "second");
    EXPECT_EQ(model->slaveSensor().handle(), handle);
    EXPECT_EQ(slave.mark().accepted, again.accepted);

    // Moved to another time port, it is bound again.
    ASSERT_TRUE(announceSlave(slave.port(), "11011", "10007"));
    pushFromMaster(master, kSlaveMac, "third");
    EXPECT_EQ(model->slaveSensor().handle()->u16TimePort, 10007);
    EXPECT_TRUE(slave.waitForConnections(again, fybsim::Role::Asynchronous, 1, 5s));
}

struct PortsCase {
    const char *commandPort, *timePort;
    uint16_t expectedCommand, expectedTime;
};

class ModelSlavePortsTest : public ModelSlaveTest, public ::testing::WithParamInterface<PortsCase>
{
};

TEST_P(ModelSlavePortsTest, AnnouncedPortsOtherThanTheDefaultsBecomeOptions)
{
    const PortsCase &c = GetParam();
    fybsim::FybSensor master, slave;
    connectSensor(model->masterSensor(), master);
    ASSERT_TRUE(announceSlave(slave.port(), c.commandPort, c.timePort));
    pushFromMaster(master, kSlaveMac, "named");

    ASSERT_NE(model->slaveSensor().handle(), nullptr);
    EXPECT_EQ(model->slaveSensor().handle()->u16CommandPort, c.expectedCommand);
    EXPECT_EQ(model->slaveSensor().handle()->u16TimePort, c.expectedTime);
    EXPECT_EQ(model->slaveSensor().address(), "127.0.0.1");
    EXPECT_EQ(model->slaveSensor().port(), slave.port());
}

INSTANTIATE_TEST_SUITE_P(Announcements, ModelSlavePortsTest,
                         ::testing::Values(PortsCase{"11011", "10005", 11011, 10005},
                                           PortsCase{"11011", "10000", 11011, 10000},
                                           PortsCase{"11012", nullptr, 11012, 10000},
                                           PortsCase{nullptr, "0", 11011, 10000}));

TEST_F(ModelSlaveTest, SlaveNotHeardStaysUnbound)
{
    fybsim::FybSensor master, slave;
    connectSensor(model->masterSensor(), master);
    ASSERT_TRUE(announceSlave(slave.port(), nullptr, "10005"));
    pushFromMaster(master, "00:00:00:00:00:01", "other");
    EXPECT_EQ(model->slaveSensor().handle(), nullptr);
}
