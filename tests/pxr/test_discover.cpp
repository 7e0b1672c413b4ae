// Discovery of sensors: announcements of current sensors, the list handed out as copies,
// listening on loopback (two listeners on one port, expiry, malformed datagrams) and stopping.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Announcer.h"
#include "DiscoverTestSupport.h"
#include "PXR_Internal.h"

// The runtime's test hook of its tick (declared with the runtime's internals, out of reach here).
extern "C" void SA_SetTickOffsetForTest(uint32_t u32Offset);

namespace {

using fybsim::Announcer;
using fybsim::Element;
using fybsim::Mac;
using Sensors = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

const int kWaitMs = 10000;
const std::string kListening = "[PXRDiscover]Listening on UDP port";

std::string announcementText(const std::string &key, const std::string &ports, const std::string &sender)
{
    return "discover(uniqueKey=" + key + "," + ports + ",macAddress=00:11:22:33:44:55,equipment=FybSim,ipAddress=" +
           sender + ")";
}

bool hasKey(const Sensors &sensors, const std::string &key)
{
    return std::any_of(sensors.begin(), sensors.end(), [&](const std::string &text) {
        return text.find("uniqueKey=" + key + ",") != std::string::npos;
    });
}

// The library started; every trace line recorded from whatever thread; listeners destroyed
// at the end. A trace line containing blockOn_ holds its thread until release().
class DiscoverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(PXR_initLibrary(), 1);
        PXRSetTraceFunction(&DiscoverTest::record, this);
        port_ = Announcer::unusedPort();
    }
    void TearDown() override
    {
        release();
        for (PXRDiscover *psDiscover : listeners_)
            PXRDiscoverDestroy(psDiscover);
        PXRSetTraceFunction(nullptr, nullptr);
        PXR_releaseLibrary();
        SA_SetTickOffsetForTest(0);
    }

    PXRDiscover *created(uint32_t u32ExpiryMs = PXR_DISCOVER_EXPIRY_MS)
    {
        PXRDiscover *psDiscover = PXRDiscoverCreate();
        EXPECT_NE(psDiscover, nullptr);
        if (psDiscover) {
            psDiscover->u16Port = port_;
            psDiscover->u32ExpiryMs = u32ExpiryMs;
            listeners_.push_back(psDiscover);
        }
        return psDiscover;
    }
    // Started, and listening once this returns: nothing sent afterwards is lost.
    PXRDiscover *started(uint32_t u32ExpiryMs = PXR_DISCOVER_EXPIRY_MS)
    {
        PXRDiscover *psDiscover = created(u32ExpiryMs);
        size_t szSince = mark();
        EXPECT_EQ(PXRDiscoverStart(psDiscover), 1);
        EXPECT_TRUE(waitTrace(szSince, kListening));
        return psDiscover;
    }
    // The listener's sensors once they satisfy the condition, or as they are at the time-out.
    Sensors waitSensors(PXRDiscover *psDiscover, const std::function<bool(const Sensors &)> &condition,
                        const std::function<void()> &eachPass = [] {})
    {
        Clock::time_point end = Clock::now() + std::chrono::milliseconds(kWaitMs);
        Sensors sensors = discovertest::sensors(psDiscover);
        while (!condition(sensors) && Clock::now() < end) {
            eachPass();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            sensors = discovertest::sensors(psDiscover);
        }
        return sensors;
    }
    // The number of trace lines so far: waits count only the lines after such a mark.
    size_t mark()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_.size();
    }
    // Until that many trace lines after the mark contain the part.
    bool waitTrace(size_t szSince, const std::string &part, size_t szCount = 1)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(kWaitMs),
                                 [&] { return countLocked(part, szSince) >= szCount; });
    }
    size_t traceCount(const std::string &part)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return countLocked(part, 0);
    }
    bool traced(const std::string &part) { return traceCount(part) > 0; }
    void blockOn(const std::string &part)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        blockOn_ = part;
    }
    bool waitBlocked()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(kWaitMs), [&] { return blocked_; });
    }
    void release()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        blockOn_.clear();
        changed_.notify_all();
    }

    uint16_t port_ = 0;

private:
    size_t countLocked(const std::string &part, size_t szFrom) const
    {
        auto from = lines_.begin() + static_cast<std::ptrdiff_t>(std::min(szFrom, lines_.size()));
        return static_cast<size_t>(std::count_if(from, lines_.end(), [&](const std::string &line) {
            return line.find(part) != std::string::npos;
        }));
    }
    static int record(PXR *, int, const char *pcszText, void *pUser)
    {
        DiscoverTest *psTest = static_cast<DiscoverTest *>(pUser);
        std::unique_lock<std::mutex> lock(psTest->mutex_);
        psTest->lines_.push_back(pcszText);
        if (!psTest->blockOn_.empty() && psTest->lines_.back().find(psTest->blockOn_) != std::string::npos) {
            psTest->blocked_ = true;
            psTest->changed_.notify_all();
            psTest->changed_.wait(lock, [&] { return psTest->blockOn_.empty(); });
        }
        psTest->changed_.notify_all();
        return 0;
    }

    std::vector<PXRDiscover *> listeners_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::string blockOn_;
    bool blocked_ = false;
};

// ---- current sensors' announcements, handed to the listener directly ----

TEST_F(DiscoverTest, CurrentSensorIsKeyedBySenderPortAndSslPort)
{
    PXRDiscover *psDiscover = created();
    discovertest::receive(psDiscover, fybsim::wireOf(Announcer::announcement(10001, 12001)), "10.0.0.5");
    discovertest::receive(psDiscover, fybsim::wireOf(Announcer::announcement(10001)), "10.0.0.6");
    EXPECT_EQ(discovertest::sensors(psDiscover),
              (Sensors{announcementText("10.0.0.5:10001/12001", "port=10001,portSSL=12001", "10.0.0.5"),
                       announcementText("10.0.0.6:10001/0", "port=10001", "10.0.0.6")}));
}

TEST_F(DiscoverTest, RepeatedAnnouncementIsMergedIntoItsEntry)
{
    PXRDiscover *psDiscover = created();
    Element first("discover");
    first.set("port", "10001").set("a", "1").set("b", "2");
    Element second("discover");
    second.set("port", "10001").set("a", "3").set("uniqueKey", "forged").add(Element("enabledAlgorithms"));
    discovertest::receive(psDiscover, fybsim::wireOf(first), "10.0.0.5");
    discovertest::receive(psDiscover, fybsim::wireOf(second), "10.0.0.5");
    // The sensor's own uniqueKey does not replace the one the listener makes.
    EXPECT_EQ(discovertest::sensors(psDiscover),
              Sensors{"discover(uniqueKey=10.0.0.5:10001/0,port=10001,a=3,b=2,ipAddress=10.0.0.5){enabledAlgorithms}"});
}

TEST_F(DiscoverTest, MalformedDatagramsAreDroppedWithATrace)
{
    PXRDiscover *psDiscover = created();
    const std::string whole = fybsim::wireOf(Announcer::announcement(10001, 12001));
    const std::string withPart = fybsim::wireOf(Announcer::announcement(10001).withContent(std::string(100, 'z')));
    struct {
        const char *pcszName;
        std::string datagram;
        const char *pcszTrace;
    } cases[] = {
        {"truncated announcement", whole.substr(0, whole.size() / 2), "dropped : Incomplete message"},
        {"announcement cut after its header", std::string(fybsim::kSinglePartHeader), "dropped : Incomplete message"},
        {"two bytes MI", "MI", "dropped : Incomplete message"},
        {"announcement cut in its binary part", withPart.substr(0, withPart.size() - 60),
         "dropped : Content-Length exceeds the data left (100 bytes announced)"},
        {"MI then garbage", "MIxxxxxxxxxxxxxxxxxxxxxxxx", "dropped : Invalid data received"},
        {"announcement without element", fybsim::singlePart("<msg></msg>"), "dropped : Announcement without element"},
        {"one byte", "M", "dropped : Datagram too short"},
        {"above 5006 bytes", whole + std::string(5007 - whole.size(), ' '), "dropped : Datagram too large"},
        {"unknown kind", "AB", "ignored : unknown kind 41 42"},
    };
    for (const auto &item : cases) {
        discovertest::receive(psDiscover, item.datagram, "10.0.0.5");
        EXPECT_TRUE(traced(std::string("Datagram from 10.0.0.5 ") + item.pcszTrace)) << item.pcszName;
    }
    EXPECT_TRUE(traced("[PXR]ASSERT File="));
    EXPECT_TRUE(discovertest::sensors(psDiscover).empty());
    // The largest datagram accepted is still read.
    discovertest::receive(psDiscover, whole + std::string(5006 - whole.size(), ' '), "10.0.0.5");
    EXPECT_EQ(discovertest::sensors(psDiscover).size(), 1u);
}

// ---- the list handed out ----

TEST_F(DiscoverTest, CopiesAreHandedOutInTheOrderFirstHeardUpToTheCountGiven)
{
    PXRDiscover *psDiscover = created();
    const char *senders[] = {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5"};
    for (const char *pcszSender : senders)
        discovertest::receive(psDiscover, fybsim::wireOf(Announcer::announcement(10001)), pcszSender);
    discovertest::receive(psDiscover, fybsim::wireOf(Announcer::announcement(10001)), "10.0.0.1");

    uint32_t u32Count = 0;
    EXPECT_EQ(PXRDiscoverGetDiscovered(psDiscover, nullptr, &u32Count), 1);
    EXPECT_EQ(u32Count, 5u);

    PXRMsg *copies[8] = {};
    u32Count = 2;
    ASSERT_EQ(PXRDiscoverGetDiscovered(psDiscover, copies, &u32Count), 1);
    ASSERT_EQ(u32Count, 2u);
    EXPECT_STREQ(PXRMsgElementAttributeValue(PXRMsgChild(copies[0]), "uniqueKey"), "10.0.0.1:10001/0");
    EXPECT_STREQ(PXRMsgElementAttributeValue(PXRMsgChild(copies[1]), "uniqueKey"), "10.0.0.2:10001/0");
    EXPECT_EQ(copies[2], nullptr);
    // The copies are the caller's: changing one leaves the listener's entry alone.
    EXPECT_EQ(PXRMsgElementSetAttribute(PXRMsgChild(copies[0]), "port", "1"), 1);
    PXRMsgDestroy(copies[0]);
    PXRMsgDestroy(copies[1]);

    u32Count = 8;
    ASSERT_EQ(PXRDiscoverGetDiscovered(psDiscover, copies, &u32Count), 1);
    ASSERT_EQ(u32Count, 5u);
    EXPECT_STREQ(PXRMsgElementAttributeValue(PXRMsgChild(copies[0]), "port"), "10001");
    EXPECT_STREQ(PXRMsgElementAttributeValue(PXRMsgChild(copies[4]), "uniqueKey"), "10.0.0.5:10001/0");
    for (uint32_t i = 0; i < u32Count; ++i)
        PXRMsgDestroy(copies[i]);
}

TEST_F(DiscoverTest, SecondStartIsRefusedAndSensorsSurviveAStop)
{
    PXRDiscover *psDiscover = created();
    discovertest::receive(psDiscover, fybsim::wireOf(Announcer::announcement(10001)), "10.0.0.5");
    ASSERT_EQ(PXRDiscoverStart(psDiscover), 1);
    EXPECT_EQ(PXRDiscoverStart(psDiscover), 0);
    EXPECT_STREQ(PXRGetLastError(psDiscover), "Already started");
    EXPECT_TRUE(traced("PXRDiscoverStart error : Already started"));
    EXPECT_EQ(PXRDiscoverStop(psDiscover), 1);
    EXPECT_STREQ(PXRGetLastError(psDiscover), "");
    EXPECT_EQ(PXRDiscoverStop(psDiscover), 1);
    EXPECT_EQ(PXRDiscoverStart(psDiscover), 1);
    EXPECT_EQ(discovertest::sensors(psDiscover).size(), 1u);
}

// ---- listening on loopback ----

TEST_F(DiscoverTest, SensorsOfBothFamiliesAreHeardOnLoopback)
{
    PXRDiscover *psDiscover = started();
    Announcer current(port_, "127.0.0.2"), sensor(port_, "127.0.0.3"), card(port_, "127.0.0.4");
    ASSERT_TRUE(current.announce(Announcer::announcement(10001, 12001)));
    ASSERT_TRUE(sensor.send(Announcer::legacySensor(Mac{1, 2, 3, 4, 5, 6}, 0x2222)));
    ASSERT_TRUE(card.send(Announcer::legacyCard(fybsim::LegacyCardInfo{})));
    Sensors sensors = waitSensors(psDiscover, [](const Sensors &s) { return s.size() == 3; });
    EXPECT_TRUE(hasKey(sensors, "127.0.0.2:10001/12001"));
    EXPECT_TRUE(hasKey(sensors, "127.0.0.3:11011"));
    EXPECT_TRUE(hasKey(sensors, "127.0.0.4:10001"));
}

TEST_F(DiscoverTest, TwoListenersOnOnePortBothHearABroadcast)
{
    PXRDiscover *psMainWindow = started();
    PXRDiscover *psDialog = started();
    Announcer broadcaster(port_, "127.0.0.2", "127.255.255.255");
    ASSERT_TRUE(broadcaster.announce(Announcer::announcement(10001, 12001)));
    auto heard = [](const Sensors &s) { return hasKey(s, "127.0.0.2:10001/12001"); };
    EXPECT_TRUE(heard(waitSensors(psMainWindow, heard)));
    EXPECT_TRUE(heard(waitSensors(psDialog, heard)));
}

TEST_F(DiscoverTest, BusyPortOnlyDelaysListening)
{
    // A socket of the port that does not share it keeps the listener out until it closes.
    int blocker = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port_);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(blocker, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    PXRDiscover *psDiscover = created();
    const size_t szStart = mark();
    ASSERT_EQ(PXRDiscoverStart(psDiscover), 1);
    EXPECT_TRUE(waitTrace(szStart, "[PXRDiscover]Unable to listen on UDP port " + std::to_string(port_) + ", trying again"));
    const size_t szClosed = mark();
    close(blocker);
    ASSERT_TRUE(waitTrace(szClosed, kListening));
    EXPECT_EQ(traceCount("Unable to listen"), 1u);
    Announcer sensor(port_, "127.0.0.2");
    ASSERT_TRUE(sensor.announce(Announcer::announcement(10001)));
    EXPECT_EQ(waitSensors(psDiscover, [](const Sensors &s) { return s.size() == 1; }).size(), 1u);
}

TEST_F(DiscoverTest, SilentSensorIsForgottenAfterTheExpiry)
{
    PXRDiscover *psDiscover = started(300);
    Announcer silent(port_, "127.0.0.2"), alive(port_, "127.0.0.3");
    silent.announce(Announcer::announcement(10001));
    alive.announce(Announcer::announcement(10001));
    ASSERT_EQ(waitSensors(psDiscover, [](const Sensors &s) { return s.size() == 2; }).size(), 2u);
    Sensors sensors = waitSensors(
        psDiscover, [](const Sensors &s) { return !hasKey(s, "127.0.0.2:10001/0"); },
        [&] { alive.announce(Announcer::announcement(10001)); });
    EXPECT_FALSE(hasKey(sensors, "127.0.0.2:10001/0"));
    EXPECT_TRUE(hasKey(sensors, "127.0.0.3:10001/0"));
}

TEST_F(DiscoverTest, ExpiryIsMeasuredAcrossTheTickWrap)
{
    // The tick wraps a few seconds after the announcement (room for a loaded machine to start
    // the listener and hear it first); the sensor must outlive the wrap.
    SA_SetTickOffsetForTest(0);
    SA_SetTickOffsetForTest(0xFFFFFFFFu - 2500u - SA_GetTickMs());
    PXRDiscover *psDiscover = started(5000);
    Announcer sensor(port_, "127.0.0.2"), other(port_, "127.0.0.3");
    sensor.announce(Announcer::announcement(10001));
    ASSERT_EQ(waitSensors(psDiscover, [](const Sensors &s) { return s.size() == 1; }).size(), 1u);
    ASSERT_GT(SA_GetTickMs(), 0x80000000u) << "heard after the wrap: the case is not tested";
    Clock::time_point end = Clock::now() + std::chrono::milliseconds(kWaitMs);
    while (SA_GetTickMs() > 0x80000000u && Clock::now() < end)
        std::this_thread::yield();
    ASSERT_LT(SA_GetTickMs(), 0x80000000u);
    // Each handled datagram follows a pass of the expiry check; the second one's pass came
    // after the wrap.
    size_t szSent = mark();
    other.send("A1");
    ASSERT_TRUE(waitTrace(szSent, "Datagram from 127.0.0.3 ignored : unknown kind 41 31"));
    szSent = mark();
    other.send("A2");
    ASSERT_TRUE(waitTrace(szSent, "Datagram from 127.0.0.3 ignored : unknown kind 41 32"));
    EXPECT_TRUE(hasKey(discovertest::sensors(psDiscover), "127.0.0.2:10001/0"));
    EXPECT_TRUE(waitSensors(psDiscover, [](const Sensors &s) { return s.empty(); }).empty());
}

TEST_F(DiscoverTest, MalformedDatagramsLeaveTheListenerListening)
{
    PXRDiscover *psDiscover = started();
    Announcer first(port_, "127.0.0.2"), second(port_, "127.0.0.3"), later(port_, "127.0.0.4");
    const std::string whole = fybsim::wireOf(Announcer::announcement(10001, 12001));
    // A whole 0xEEEF datagram first, so that a short one would find its bytes in the buffer.
    ASSERT_TRUE(first.send(Announcer::legacySensor(fybsim::LegacySensorInfo{})));
    ASSERT_TRUE(waitSensors(psDiscover, [](const Sensors &s) { return s.size() == 1; }).size() == 1);
    struct {
        std::string datagram;
        const char *pcszTrace;
    } cases[] = {
        {Announcer::legacySensor(fybsim::LegacySensorInfo{}).substr(0, 12), "0xEEEF of 12 bytes, 32 expected"},
        {whole.substr(0, whole.size() - 5), "Datagram from 127.0.0.3 dropped : Incomplete message"},
        {std::string(6000, 'x'), "Datagram from 127.0.0.3 dropped : Datagram too large"},
        {std::string(40000, 'x'), "Datagram dropped : empty or above 30720 bytes"},
        {"", "Datagram dropped : empty or above 30720 bytes"},
    };
    for (const auto &item : cases) {
        const size_t szSent = mark();
        ASSERT_TRUE(second.send(item.datagram));
        EXPECT_TRUE(waitTrace(szSent, item.pcszTrace)) << item.pcszTrace;
    }
    // Each was dropped alone: the socket, and what waits in it, were kept.
    ASSERT_TRUE(later.announce(Announcer::announcement(10001)));
    Sensors sensors = waitSensors(psDiscover, [](const Sensors &s) { return s.size() == 2; });
    EXPECT_TRUE(hasKey(sensors, "127.0.0.2:11011"));
    EXPECT_TRUE(hasKey(sensors, "127.0.0.4:10001/0"));
    EXPECT_EQ(sensors.size(), 2u);
    EXPECT_EQ(traceCount(kListening), 1u);
}

TEST_F(DiscoverTest, ReceiveFailuresInARowReopenTheSocket)
{
    PXRDiscover *psDiscover = started();
    Announcer sender(port_, "127.0.0.2");
    const size_t szSent = mark();
    for (int i = 0; i < PXR_DISCOVER_RECEIVE_FAILURES; ++i)
        ASSERT_TRUE(sender.send(""));
    EXPECT_TRUE(waitTrace(szSent, "Receive failed, listening socket reopened"));
    ASSERT_TRUE(waitTrace(szSent, kListening));
    EXPECT_EQ(traceCount("Datagram dropped : empty"), size_t(PXR_DISCOVER_RECEIVE_FAILURES - 1));
    ASSERT_TRUE(sender.announce(Announcer::announcement(10001)));
    EXPECT_EQ(waitSensors(psDiscover, [](const Sensors &s) { return s.size() == 1; }).size(), 1u);
}

TEST_F(DiscoverTest, StopWaitsForASlowThreadBeforeTheObjectIsFreed)
{
    PXRDiscover *psDiscover = PXRDiscoverCreate();
    ASSERT_NE(psDiscover, nullptr);
    psDiscover->u16Port = port_;
    psDiscover->u32StopWaitMs = 100;
    const size_t szStart = mark();
    ASSERT_EQ(PXRDiscoverStart(psDiscover), 1);
    ASSERT_TRUE(waitTrace(szStart, kListening));
    // The thread is held inside a trace call, as a slow trace receiver would hold it.
    blockOn("ignored : unknown kind 5A 5A");
    Announcer sender(port_, "127.0.0.2");
    ASSERT_TRUE(sender.send("ZZ"));
    ASSERT_TRUE(waitBlocked());
    std::atomic<bool> destroyed{false};
    const size_t szStopping = mark();
    std::thread destroyer([&] {
        PXRDiscoverDestroy(psDiscover);
        destroyed = true;
    });
    EXPECT_TRUE(waitTrace(szStopping, "Listening thread still running after 100 ms, waiting for its end"));
    EXPECT_FALSE(destroyed);
    // Released, the thread goes on with the object, which must still be there.
    release();
    destroyer.join();
    EXPECT_TRUE(destroyed);
}

} // namespace
