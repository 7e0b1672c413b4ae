// Tests of the test sensor itself, driven with plain sockets and hand-written bytes.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <stdexcept>

#include "Announcer.h"
#include "FybSensor.h"
#include "WireBytes.h"

using namespace fybsim;
using namespace std::chrono_literals;

namespace {

// A blocking loopback client, plain or TLS, whose reads give up after five seconds.
class Client {
 public:
  explicit Client(std::uint16_t port, bool tls = false) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    timeval limit{5, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    if (connected_ && tls) {
      ctx_ = SSL_CTX_new(TLS_client_method());
      ssl_ = SSL_new(ctx_);
      SSL_set_fd(ssl_, fd_);
      connected_ = SSL_connect(ssl_) == 1;
    }
  }
  ~Client() {
    if (ssl_) SSL_free(ssl_);
    if (ctx_) SSL_CTX_free(ctx_);
    ::close(fd_);
  }
  bool connected() const { return connected_; }

  bool send(const std::string& bytes) {
    if (ssl_)
      return SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size())) == static_cast<int>(bytes.size());
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
  }

  // The next whole message; null on the end of the stream, an error or the time limit.
  std::optional<WireMessage> read() {
    for (;;) {
      ScanResult scan = scanWire(buffer_);
      if (scan.status == ScanStatus::Invalid) return std::nullopt;
      if (scan.status == ScanStatus::Complete) {
        auto m = parseWire(buffer_);
        buffer_.erase(0, scan.length);
        return m;
      }
      char chunk[4096];
      int n =
          ssl_ ? SSL_read(ssl_, chunk, sizeof chunk) : static_cast<int>(::recv(fd_, chunk, sizeof chunk, 0));
      if (n <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<std::size_t>(n));
      ++reads_;
    }
  }

  // True when nothing arrives within the wait.
  bool quietFor(int ms) {
    if (!buffer_.empty() || (ssl_ && SSL_pending(ssl_) > 0)) return false;
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, ms) == 0;
  }

  // The root of the next message, or an element without name when none came.
  Element readRoot() {
    auto m = read();
    return m && m->root ? *m->root : Element();
  }

  int reads() const { return reads_; }

 private:
  int fd_ = -1;
  bool connected_ = false;
  SSL_CTX* ctx_ = nullptr;
  SSL* ssl_ = nullptr;
  std::string buffer_;
  int reads_ = 0;
};

std::string modeMessage(const char* connection) {
  return wireOf(Element("setConnectionMode").set("connection", connection));
}

}  // namespace

TEST(WireBytes, BuildsTheLibraryWireFormByteForByte) {
  EXPECT_EQ(kSinglePartHeader.size(), 53u);
  EXPECT_EQ(kMultipartHeader.size(), 133u);
  EXPECT_EQ(partHeader("A", 3).size(), 106u + 1 + 19 + 1 + 5);
  EXPECT_EQ(wireOf(nullptr), std::string(kSinglePartHeader) + "<msg></msg>");
  EXPECT_EQ(xmlPartOf(Element("getXSD")), "<msg><getXSD/></msg>");
  EXPECT_EQ(xmlPartOf(Element("r").set("v", "a\"b&c'd<e>f")),
            "<msg><r v=\"a&quot;b&amp;c&apos;d&lt;e&gt;f\"/></msg>");

  Element outer("img");
  outer.withContent("12345").add(Element("inner").withContent("xy")).add(Element("x"));
  EXPECT_EQ(wireOf(outer),
            std::string(kMultipartHeader) +
                "<msg><img><xop:Include href=\"A\"/><inner><xop:Include href=\"B\"/></inner><x/>"
                "</img></msg>" +
                partHeader("A", 5) + "12345" + partHeader("B", 2) + "xy--MIME_boundary--");
}

TEST(WireBytes, ReadsBackTreesAndWaitsForEveryMissingByte) {
  Element root("answer");
  root.set("status", "ok")
      .add(Element("image").set("id", "3").withContent(std::string("\0\r\n--MIME_boundary", 18)));
  root.add(Element("xsd").withContent("<schema/>"));
  const std::string doc = wireOf(root);
  for (std::size_t cut = 0; cut < doc.size(); ++cut) {
    ASSERT_EQ(scanWire(doc.substr(0, cut)).status, ScanStatus::NeedMore) << "prefix of " << cut;
  }
  const std::string twoDocs = doc + wireOf(Element("keep-alive"));
  EXPECT_EQ(scanWire(twoDocs).length, doc.size());
  auto m = parseWire(twoDocs);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->root, root);
  EXPECT_EQ(m->raw, doc);

  std::string why;
  EXPECT_EQ(scanWire("\xEE\xEE\x01\x02").status, ScanStatus::Invalid);
  EXPECT_FALSE(parseWire(multipart("<msg><a/></msg>", {{"A", "zz"}}), &why));
  EXPECT_NE(why.find("not referenced"), std::string::npos);
}

TEST(FybSensor, SendsHelloAndAnswersScriptedRequestsOnTheSynchronousConnection) {
  FybSensor sensor;
  sensor.setReply("getXSD", Reply::message(Element("xsd").withContent("<schema/>")));
  sensor.queueReply(Reply::failed("Busy"));
  sensor.setResponder([](const WireMessage& request) -> std::optional<Reply> {
    if (request.rootName() != "getDate") return std::nullopt;
    return Reply::message(Element("date").set("date", "1700000000000"));
  });
  Client client(sensor.port());
  ASSERT_TRUE(client.connected());

  auto hello = client.read();
  ASSERT_TRUE(hello);
  EXPECT_EQ(hello->root, FybSensor::helloMessage(2));
  ASSERT_TRUE(client.send(modeMessage("synchronous")));
  ASSERT_TRUE(client.send(wireOf(Element("getXSD"))));
  EXPECT_EQ(client.readRoot(), Element("answer").set("status", "failed").set("errorText", "Busy"));
  ASSERT_TRUE(client.send(wireOf(Element("getXSD"))));
  EXPECT_EQ(client.readRoot().content, "<schema/>");
  ASSERT_TRUE(client.send(wireOf(Element("getDate"))));
  EXPECT_EQ(client.readRoot().name, "date");
  ASSERT_TRUE(client.send(wireOf(Element("keep-alive"))));
  EXPECT_EQ(client.readRoot().name, "keep-alive");

  auto mode = sensor.waitForRoot({}, "setConnectionMode", 5s);
  ASSERT_TRUE(mode);
  EXPECT_EQ(mode->role, Role::Synchronous);
  EXPECT_EQ(sensor.connectionCount(Role::Synchronous), 1u);
  EXPECT_EQ(sensor.waitForRoot({}, "getXSD", 5s, 1)->role, Role::Synchronous);
  EXPECT_TRUE(sensor.errors().empty());
}

TEST(FybSensor, AnswersGetDateWithItsSkewedClockAndRestartsOnceAfterTheArmedAnswer) {
  FybSensor sensor;
  sensor.setClockSkew(-1h);
  sensor.restartAfterAnswering("getDate", 200ms);
  Client client(sensor.port());
  ASSERT_TRUE(client.connected());
  ASSERT_TRUE(client.read());
  ASSERT_TRUE(client.send(modeMessage("synchronous")));
  const auto before = std::chrono::system_clock::now().time_since_epoch();
  ASSERT_TRUE(client.send(wireOf(Element("getDate"))));
  const Element date = client.readRoot();
  const auto after = std::chrono::system_clock::now().time_since_epoch();
  ASSERT_EQ(date.name, "date");
  const long long sensorMs = std::stoll(*date.attribute("date"));
  EXPECT_GE(sensorMs, std::chrono::duration_cast<Millis>(before - 1h).count());
  EXPECT_LE(sensorMs, std::chrono::duration_cast<Millis>(after - 1h).count());
  // The restart closes the connection; a new one is served and not restarted again.
  EXPECT_FALSE(client.read());
  Client next(sensor.port());
  ASSERT_TRUE(next.read());
  ASSERT_TRUE(next.send(modeMessage("synchronous")));
  ASSERT_TRUE(next.send(wireOf(Element("getDate"))));
  EXPECT_EQ(next.readRoot().name, "date");
  EXPECT_FALSE(sensor.waitForOpenCount(Role::Synchronous, 0, 500ms)) << "one restart only";
}

TEST(FybSensor, RepliesLateNeverOrByClosingAndStaysQuietWhenSilent) {
  FybSensor sensor;
  sensor.queueReply(Reply::never());
  sensor.queueReply(Reply::ok().after(300ms));
  sensor.queueReply(Reply::close());
  Client client(sensor.port());
  ASSERT_TRUE(client.read());
  ASSERT_TRUE(client.send(modeMessage("synchronous")));
  ASSERT_TRUE(client.send(wireOf(Element("reboot"))));
  ASSERT_TRUE(client.send(wireOf(Element("triggerOn"))));
  EXPECT_TRUE(client.quietFor(150));
  EXPECT_EQ(client.readRoot(), Element("answer").set("status", "ok"));
  auto late = sensor.waitForRoot({}, "triggerOn", 5s);
  ASSERT_TRUE(late);
  EXPECT_GE(std::chrono::steady_clock::now() - late->at, 300ms);

  sensor.setSilent(true);
  ASSERT_TRUE(client.send(wireOf(Element("keep-alive"))));
  EXPECT_TRUE(client.quietFor(150));
  sensor.setSilent(false);
  ASSERT_TRUE(client.send(wireOf(Element("triggerOff"))));
  EXPECT_FALSE(client.read());
  EXPECT_TRUE(sensor.waitForOpenCount(Role::Synchronous, 0, 5s));
}

TEST(FybSensor, PushesSplitMessagesAndSubscribedTreesOnTheAsynchronousConnection) {
  FybSensor sensor;
  Client client(sensor.port());
  ASSERT_TRUE(client.read());
  ASSERT_TRUE(client.send(modeMessage("asynchronous")));
  ASSERT_TRUE(
      client.send(wireOf(Element("setEnableStreams").set("configChanges", "1").set("infoChanges", "0"))));
  auto config = client.read();
  ASSERT_TRUE(config);
  EXPECT_EQ(config->rootName(), "config");
  EXPECT_TRUE(client.quietFor(100));  // no infos, and no answer to the mode

  const Element frame = Element("image").set("id", "1").withContent(std::string(3000, 'J'));
  const std::string both = wireOf(frame) + wireOf(Element("recognition").set("plate", "AB-123"));
  const int readsBefore = client.reads();
  auto pushed = std::async(std::launch::async, [&] {
    return sensor.push(both, {1, 140, 2000}, Role::Asynchronous, 50ms);
  });
  EXPECT_EQ(client.readRoot(), frame);
  EXPECT_EQ(client.readRoot(), Element("recognition").set("plate", "AB-123"));
  EXPECT_EQ(pushed.get(), 1u);
  EXPECT_GE(client.reads() - readsBefore, 2);
}

// setConfig is answered as scripted; an accepted change is folded into the configuration and
// pushed after the answer to the connection that follows configuration changes.
TEST(FybSensor, AcceptedSetConfigIsMergedAndPushedAfterTheAnswer) {
  const Element camera0 = Element("camera").set("id", "0").add(Element("stream").set("fps", "25"));
  const Element base = Element("config").add(Element("cameras").add(camera0).add(Element("camera").set("id", "1")));
  const Element change =
      Element("config")
          .add(Element("cameras").add(Element("camera").set("id", "1").add(Element("stream").set("fps", "12"))))
          .add(Element("lightings").add(Element("led").set("id", "2").set("power", "75")));
  Element merged = base;
  merged.children[0].children[1].add(Element("stream").set("fps", "12"));
  merged.add(Element("lightings").add(Element("led").set("id", "2").set("power", "75")));

  struct Case {
    Reply reply;
    std::string status;
    bool pushed;
  };
  const Case cases[] = {
      {Reply::ok(), "ok", true},
      {Reply::warning({{"Partly", "config/lightings", "here"}}), "warning", true},
      {Reply::failed("Refused"), "failed", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    FybSensor sensor;
    sensor.setConfig(base);
    sensor.queueReply(c.reply);
    Client events(sensor.port()), requests(sensor.port());
    ASSERT_TRUE(events.read() && requests.read());
    ASSERT_TRUE(events.send(modeMessage("asynchronous")));
    ASSERT_TRUE(events.send(wireOf(Element("setEnableStreams").set("configChanges", "1"))));
    ASSERT_EQ(events.readRoot(), base);
    ASSERT_TRUE(requests.send(modeMessage("synchronous")));
    ASSERT_TRUE(requests.send(wireOf(Element("setConfig").add(change))));
    EXPECT_EQ(*requests.readRoot().attribute("status"), c.status);
    if (c.pushed) {
      EXPECT_EQ(events.readRoot(), merged);
    }
    EXPECT_TRUE(events.quietFor(150));
    EXPECT_EQ(sensor.config(), c.pushed ? merged : base);
    ASSERT_TRUE(sensor.waitForRoot({}, "setConfig", 5s));
    EXPECT_EQ(*sensor.waitForRoot({}, "setConfig", 5s)->message.root->child("config"), change);
  }
}

TEST(FybSensor, TlsSensorSendsItsHelloAndDropsRefusesOrStopsListening) {
  FybSensor sensor(TlsIdentity::selfSigned());
  sensor.setHello(FybSensor::helloMessage(1));
  {
    Client client(sensor.port(), true);
    ASSERT_TRUE(client.connected());
    EXPECT_EQ(client.readRoot(), FybSensor::helloMessage(1));
    ASSERT_TRUE(client.send(modeMessage("asynchronous")));
    ASSERT_TRUE(sensor.waitForOpenCount(Role::Asynchronous, 1, 5s));
    sensor.dropConnections();
    EXPECT_FALSE(client.read());
  }
  ASSERT_TRUE(sensor.waitForOpenCount(Role::Unknown, 0, 5s));
  sensor.setRefuseConnections(true);
  Client refused(sensor.port());
  EXPECT_FALSE(refused.read());
  EXPECT_EQ(sensor.acceptedCount(), 2u);
  EXPECT_EQ(sensor.connectionCount(Role::Unknown), 1u);

  ASSERT_TRUE(sensor.setListening(false));
  EXPECT_FALSE(Client(sensor.port()).connected());
  // The port stays the sensor's: a server of another test cannot take it meanwhile.
  int other = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(sensor.port());
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_NE(::bind(other, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
  ::close(other);
  ASSERT_TRUE(sensor.setListening(true));
  EXPECT_TRUE(Client(sensor.port()).connected());
}

TEST(Announcer, SendsOnlyToLoopbackAddresses) {
  EXPECT_THROW(Announcer(22022, "127.0.0.1", "255.255.255.255"), std::runtime_error);
  EXPECT_THROW(Announcer(22022, "127.0.0.1", "192.0.2.1"), std::runtime_error);
  EXPECT_NO_THROW(Announcer(22022, "127.0.0.1", "127.255.255.255"));
}

TEST(Announcer, SendsEachAnnouncementAsOneDatagram) {
  int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof at;
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
  ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &len), 0);
  timeval limit{5, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  Announcer announcer(ntohs(at.sin_port), "127.0.0.2");

  LegacyCardInfo card;
  card.name = std::string(60, 'N');  // longer than its field: cut, no terminator
  const std::string datagrams[] = {wireOf(Announcer::announcement(10001, 12001)),
                                   Announcer::legacySensor(Mac{1, 2, 3, 4, 5, 6}, 0x2222),
                                   Announcer::legacySensor(LegacySensorInfo{}), Announcer::legacyCard(card)};
  for (const auto& d : datagrams) ASSERT_TRUE(announcer.send(d));
  char buffer[8192];
  for (const auto& d : datagrams) {
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    ssize_t n = ::recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n > 0 ? n : 0)), d);
    EXPECT_EQ(ntohl(from.sin_addr.s_addr), 0x7F000002u);
  }
  EXPECT_EQ(datagrams[1].substr(0, 4), std::string("\xEE\xEE\x01\x02", 4));
  EXPECT_EQ(datagrams[3].size(), 445u);
  EXPECT_EQ(datagrams[3][47], 'N');
  ::close(fd);
}
