// Tests of the test KGV sensor itself, driven with plain sockets and hand-written bytes.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "KgvDevice.h"
#include "KgvSensor.h"
#include "LoopbackServer.h"

using namespace kgvsim;
using namespace std::chrono_literals;

namespace {

// A blocking loopback client whose reads give up after five seconds.
class Client {
 public:
  explicit Client(std::uint16_t port) : fd_(testnet::ConnectLoopback(port)) {
    timeval limit{5, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  }
  ~Client() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool connected() const { return fd_ >= 0; }

  bool send(std::string_view bytes) {
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
  }
  // Exactly n bytes, or what came before the end of the stream or the time limit.
  std::string read(std::size_t n) {
    std::string out;
    char chunk[4096];
    while (out.size() < n) {
      ssize_t got = ::recv(fd_, chunk, std::min(sizeof chunk, n - out.size()), 0);
      if (got <= 0) break;
      out.append(chunk, static_cast<std::size_t>(got));
    }
    return out;
  }
  // True when the sensor closed the connection.
  bool closed() {
    char c;
    return ::recv(fd_, &c, 1, 0) == 0;
  }
  bool quietFor(int ms) {
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, ms) == 0;
  }

 private:
  int fd_ = -1;
};

}  // namespace

TEST(KgvBlocks, WritesLittleEndianFieldsAndCutsTextsToTheirWidth) {
  Block b(12);
  b.u8(0, 0x01).u16(1, 0x0302).u32(3, 0x07060504).text(7, 4, "abcdef");
  EXPECT_EQ(b.bytes(), std::string("\x01\x02\x03\x04\x05\x06\x07" "abcd\0", 12));
  EXPECT_EQ(readU32(b.bytes(), 3), 0x07060504u);
  EXPECT_THROW(Block(4).u32(1, 0), std::out_of_range);

  EXPECT_EQ(fourcc("JPEG"), 0x4745504Au);
  EXPECT_EQ(packet(fourcc("GPIO"), "xy"), std::string("\x02\0\0\0GPIOxy", 10));
  EXPECT_EQ(header(0, 0xAAB2), std::string("\0\0\0\0\xB2\xAA\0\0", 8));
}

TEST(KgvBlocks, EveryBlockHasTheSizeTheSensorSends) {
  const struct {
    const char* name;
    std::string bytes;
    std::size_t size;
  } kBlocks[] = {
      {"version", versionBlock({}), 16},
      {"anpr", anprBlock({}), 468},
      {"dgpr", dgprBlock({}), 136},
      {"signature", signatureBlock({}), 468},
      {"video", videoBlock({}), 112},
      {"board", boardBlock({}), 16},
      {"camera", cameraBlock({}), 48},
      {"ocr", ocrBlock({}), 48},
      {"measures", measuresBlock({}, 0), 12},
      {"late stack", lateStackBlock(1, 2, 3), 24},
      {"unicast", unicastBlock({{"a", 1}, {"b", 2}}), 56},
      {"database", databaseBlock(1, 1, 1, 1), 20},
      {"speed", speedBlock(1, 2, 3), 24},
      {"kept type", keptTypeBlock(0x2222, {}), 52},
      {"area", areaBlock({}), 44},
      {"led", ledBlock({}, 0, 0), 56},
      {"kept shorts", keptShortsBlock({}), 20},
      {"master addresses", masterAddressesBlock({}), 72},
      {"kept words", keptWordsBlock({}), 20},
      {"activation", activationBlock({}), 36},
      {"master parameters", masterParametersBlock({}), 40},
      {"slave parameters", slaveParametersBlock({}), 24},
      {"kept word", keptWordBlock(1), 28},
      {"remote enslave", remoteEnslaveBlock({}, 1), 20},
      {"signature picture", signaturePictureBlock(1, 2, "12345678"), 40},
      {"led trigger", ledTriggerBlock(1, 1, 1, 1, 1), 28},
      {"network ports", networkPortsBlock(1, 2, 3, 4), 16},
      {"description", descriptionBlock({}), 488},
  };
  for (const auto& b : kBlocks) EXPECT_EQ(b.bytes.size(), b.size) << b.name;

  // A few fields where the protocol puts them.
  AnprForm anpr;
  anpr.uniqueName = std::string(40, 'N');
  const std::string a = anprBlock(anpr);
  EXPECT_EQ(readU32(a, 456), anpr.cameraWord);
  EXPECT_EQ(a.substr(72, 32), std::string(32, 'N')) << "a full-width text has no terminator";
  EXPECT_EQ(std::uint8_t(a[104]), anpr.jpeg);
  EXPECT_EQ(readU32(dgprBlock({}), 124), DgprForm{}.cameraWord);
  EXPECT_EQ(readU32(videoBlock({}), 100), VideoForm{}.cameraWord);
  const std::string d = descriptionBlock({});
  EXPECT_EQ(readU32(d, 8), 0x2222u);
  EXPECT_EQ(readU16(d, 450), 0x01C2u);
  EXPECT_EQ(std::uint8_t(d[451]), Description{}.mac446[5]);
}

TEST(KgvSensor, ListensOnThreeLoopbackPortsNamedByTheConnectionText) {
  KgvSensor sensor;
  const std::uint16_t command = sensor.port(Port::Command), stream = sensor.port(Port::Stream),
                      time = sensor.port(Port::Time);
  EXPECT_NE(command, stream);
  EXPECT_NE(stream, time);
  EXPECT_NE(command, time);
  EXPECT_EQ(sensor.connectionText(),
            "127.0.0.1:" + std::to_string(command) + "," + std::to_string(stream) + "," + std::to_string(time));
}

TEST(KgvSensor, RecordsPacketsCutAnywhereWithTheirPortAndConnection) {
  KgvSensor sensor;
  Client first(sensor.port(Port::Time));
  ASSERT_TRUE(sensor.waitForConnections(Port::Time, 1, 5s));
  const std::string bytes = packet(0xAAB1) + packet(0x1111, "abc") + packet(0x1112, std::string(3000, 'z'));
  for (char byte : bytes) ASSERT_TRUE(first.send(std::string(1, byte)));
  ASSERT_TRUE(sensor.waitForPacketCount(Port::Time, 3, 5s));

  Client second(sensor.port(Port::Time));
  const auto mark = std::chrono::steady_clock::now();
  ASSERT_TRUE(second.send(packet(0xAAB1)));
  auto later = sensor.waitForPacket(Port::Time, 0xAAB1, 5s, 1);
  ASSERT_TRUE(later);
  EXPECT_EQ(later->connection, 2u);
  EXPECT_GE(later->at, mark);

  const auto got = sensor.packets(Port::Time);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[1].code, 0x1111u);
  EXPECT_EQ(got[1].payload, "abc");
  EXPECT_EQ(got[2].payload.size(), 3000u);
  EXPECT_EQ(got[0].connection, 1u);
  EXPECT_TRUE(sensor.packets(Port::Command).empty());
}

TEST(KgvSensor, GreetsRepliesSplitLateOrByClosing) {
  KgvSensor sensor;
  sensor.setGreeting(Port::Stream, packet(274, versionBlock({})));
  sensor.setResponder(Port::Stream, [](const Packet& p) -> std::optional<Reply> {
    if (p.code == 1) return Reply::send(packet(0xAAAA, "reply")).split({1, 9, 10}, 30ms);
    if (p.code == 2) return Reply::send(packet(0xAAA9)).after(300ms);
    if (p.code == 3) return Reply::closing();
    return std::nullopt;
  });
  Client client(sensor.port(Port::Stream));
  EXPECT_EQ(client.read(8 + 16), packet(274, versionBlock({})));
  ASSERT_TRUE(client.send(packet(9)));
  EXPECT_TRUE(client.quietFor(100)) << "no reply unless scripted";
  ASSERT_TRUE(client.send(packet(1)));
  EXPECT_EQ(client.read(13), packet(0xAAAA, "reply"));
  const auto mark = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.send(packet(2)));
  EXPECT_EQ(client.read(8), packet(0xAAA9));
  EXPECT_GE(std::chrono::steady_clock::now() - mark, 300ms);
  ASSERT_TRUE(client.send(packet(3)));
  EXPECT_TRUE(client.closed());
  EXPECT_TRUE(sensor.waitForOpenCount(Port::Stream, 0, 5s));
}

TEST(KgvSensor, SendsScriptedBytesToOpenConnectionsOfOnePort) {
  KgvSensor sensor;
  Client command(sensor.port(Port::Command));
  Client time(sensor.port(Port::Time));
  ASSERT_TRUE(sensor.waitForOpenCount(Port::Command, 1, 5s));
  const std::string bytes = packet(0xAAB2) + packet(7, "payload");
  EXPECT_EQ(sensor.send(Port::Command, bytes, {3, 4, 12}, 10ms), 1u);
  EXPECT_EQ(command.read(bytes.size()), bytes);
  EXPECT_TRUE(time.quietFor(100));
}

TEST(KgvSensor, DropsRefusesStopsListeningAndRejectsOversizedLengths) {
  KgvSensor sensor;
  {
    Client client(sensor.port(Port::Command));
    ASSERT_TRUE(sensor.waitForOpenCount(Port::Command, 1, 5s));
    sensor.dropConnections(Port::Command);
    EXPECT_TRUE(client.closed());
  }
  {
    Client client(sensor.port(Port::Command));
    ASSERT_TRUE(client.send(header(KgvSensor::kMaxPayload + 1, 5)));
    EXPECT_TRUE(client.closed());
    ASSERT_EQ(sensor.errors().size(), 1u);
    EXPECT_NE(sensor.errors()[0].find("command connection 2"), std::string::npos);
  }
  sensor.setRefuseConnections(Port::Time, true);
  Client refused(sensor.port(Port::Time));
  EXPECT_TRUE(refused.closed());
  EXPECT_EQ(sensor.acceptedCount(Port::Time), 1u);
  EXPECT_EQ(sensor.connectionCount(Port::Time), 0u);

  ASSERT_TRUE(sensor.setListening(Port::Stream, false));
  EXPECT_FALSE(Client(sensor.port(Port::Stream)).connected());
  ASSERT_TRUE(sensor.setListening(Port::Stream, true));
  EXPECT_TRUE(Client(sensor.port(Port::Stream)).connected());
}

TEST(KgvDevice, AnswersReadsKeepsWritesAndFollowsItsScripts) {
  KgvSensor sensor;
  DeviceSetup setup;
  setup.notSupported = {0xFFF7};
  KgvDevice device(sensor, setup);
  Client client(sensor.port(Port::Command));
  ASSERT_TRUE(client.send(packet(0x112)));
  EXPECT_EQ(client.read(8 + 16), packet(0x112, versionBlock(setup.version)));
  ASSERT_TRUE(client.send(packet(0xAAAC)));
  EXPECT_EQ(client.read(8 + 468), header(468, 0xAAAE) + anprBlock(setup.anpr));
  ASSERT_TRUE(client.send(packet(0xFFF7)));
  EXPECT_EQ(client.read(8), header(0, kNotSupported));

  const std::string master = masterParametersBlock({});
  ASSERT_TRUE(client.send(packet(0x666E, master)));
  EXPECT_EQ(client.read(8), header(0, kAck));
  ASSERT_TRUE(client.send(packet(0x666F)));
  EXPECT_EQ(client.read(8 + 40), packet(0x666F, master)) << "a read returns what was written";
  ASSERT_TRUE(client.send(packet(0xAADB, Block(11).text(0, 11, "AB1").bytes())));
  EXPECT_EQ(client.read(8), header(0, kAck));
  EXPECT_EQ(device.plates(), std::vector<std::string>{"AB1"});

  device.script(0xAABA, Answer::reply(kBusy, 4), 1);
  ASSERT_TRUE(client.send(packet(0xAABA, Block(4).u32(0, 9).bytes())));
  EXPECT_EQ(client.read(12), header(4, kBusy) + std::string(4, '\0'));
  ASSERT_TRUE(client.send(packet(0xAABA, Block(4).u32(0, 9).bytes())));
  EXPECT_EQ(client.read(8), header(0, kAck)) << "the script was for one answer";
  EXPECT_EQ(device.camera()[0], 9u);

  ASSERT_TRUE(client.send(packet(kKeepAlive)));
  EXPECT_TRUE(client.quietFor(100)) << "keep-alives are never answered";
  EXPECT_EQ(device.keepAlives(), 1u);
  device.script(0xAAAB, Answer::drop(), 1);
  ASSERT_TRUE(client.send(packet(0xAAAB)));
  EXPECT_TRUE(client.closed());
}

TEST(KgvClock, CountsFromItsStartAcrossTheWrapAndAnswersAsScripted) {
  KgvSensor sensor;
  KgvClock clock(sensor, 0xFFFFFFF0u);
  Client client(sensor.port(Port::Time));
  ASSERT_TRUE(client.send(packet(kTimeCode)));
  const std::string first = client.read(12);
  ASSERT_EQ(first.size(), 12u);
  EXPECT_EQ(readU32(first, 0), 4u);
  EXPECT_EQ(readU32(first, 4), kTimeCode);
  const auto mark = std::chrono::steady_clock::now();
  while (clock.now() >= 0xFFFFFFF0u) ASSERT_LT(std::chrono::steady_clock::now() - mark, 5s);
  EXPECT_LT(clock.now(), 1000u) << "wrapped";
  clock.script({{KgvClock::Kind::WrongLength, 0ms, 3}, {KgvClock::Kind::Silence, 0ms, 3}});
  ASSERT_TRUE(client.send(packet(kTimeCode)));
  EXPECT_EQ(readU32(client.read(16), 0), 8u);
  ASSERT_TRUE(client.send(packet(kTimeCode)));
  EXPECT_TRUE(client.quietFor(100));
  ASSERT_TRUE(client.send(packet(kRebooting)));
  EXPECT_EQ(client.read(8), header(0, kRebooting));
  EXPECT_EQ(clock.reboots(), 1u);
  EXPECT_EQ(clock.requests(), 3u);
}
