// A scriptable FYB sensor on a free loopback port, plain or TLS, for tests that talk to a
// sensor: hello, connection modes, scripted answers, pushes, silence and dropped connections.
//
//   fybsim::FybSensor sensor;                        // listening on 127.0.0.1:sensor.port()
//   sensor.setReply("getXSD", Reply::message(Element("xsd").withContent(schema)));
//   auto mark = sensor.mark();
//   ... bind the client to sensor.port() ...
//   sensor.waitForConnections(mark, Role::Asynchronous, 1, 5s);
//   sensor.push(Element("recognition").set("plate", "AB123"));
//   auto sub = sensor.waitForRoot(mark, "setEnableStreams", 5s);
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "Listener.h"
#include "TlsIdentity.h"
#include "WireBytes.h"

namespace fybsim {

using Millis = std::chrono::milliseconds;

// What a connection announced with setConnectionMode; Unknown until then. As a filter in the
// sensor's calls, Unknown stands for every connection.
enum class Role { Unknown, Asynchronous, Synchronous };

struct Warning {
  std::string text, configPath, sourceLocation;
};

// How the sensor meets one request on the synchronous connection.
struct Reply {
  enum class Action { Send, Never, Close };
  Action action = Action::Send;
  std::string bytes;  // the answer's wire bytes, for Send
  Millis delay{0};    // before sending or closing

  static Reply message(const Element& root) { return raw(wireOf(root)); }
  static Reply raw(std::string bytes) { return {Action::Send, std::move(bytes), Millis(0)}; }
  static Reply ok() { return message(Element("answer").set("status", "ok")); }
  static Reply failed(std::string_view errorText);
  static Reply warning(const std::vector<Warning>& warnings);
  static Reply never() { return {Action::Never, {}, Millis(0)}; }
  static Reply close() { return {Action::Close, {}, Millis(0)}; }
  Reply after(Millis wait) const {
    Reply r = *this;
    r.delay = wait;
    return r;
  }
};

// One message the sensor received, as it came.
struct Received {
  std::size_t connection = 0;  // accept order, from 1
  Role role = Role::Unknown;   // the connection's role once the message was handled
  WireMessage message;
  std::chrono::steady_clock::time_point at;

  std::string rootName() const { return message.rootName(); }
  const std::string* attribute(std::string_view key) const {
    return message.root ? message.root->attribute(key) : nullptr;
  }
};

class FybSensor {
 public:
  FybSensor();  // plain TCP
  // TLS; with requestClientCertificate any client certificate is accepted and kept.
  explicit FybSensor(const TlsIdentity& identity, bool requestClientCertificate = false);
  ~FybSensor();  // closes every connection and joins every thread
  FybSensor(const FybSensor&) = delete;
  FybSensor& operator=(const FybSensor&) = delete;

  std::uint16_t port() const { return port_; }

  // Hello of a current sensor: root hello, protocolVersion unless null, serverType, and the
  // infos/cameras/camera id "0"/enabledAlgorithms/anpr child.
  static Element helloMessage(std::optional<unsigned> protocolVersion = 2);
  // First bytes of a legacy-family sensor: an 8-byte header (length, code) and its payload.
  static std::string legacyBytes();

  // First bytes of every later connection; empty: the sensor sends nothing.
  void setHello(std::string bytes);
  void setHello(const Element& hello) { setHello(wireOf(hello)); }

  // Answers to messages on the synchronous connection (and on one without a role yet):
  // one-shot replies first (in order), then the responder, then a standing reply for the
  // request's root, then the default (Reply::ok()). keep-alive is answered with keep-alive on
  // both connections, and setConnectionMode never.
  using Responder = std::function<std::optional<Reply>(const WireMessage& request)>;
  void queueReply(Reply reply);
  // Called on the connection's thread; nullopt passes the request on to the standing replies.
  void setResponder(Responder responder);
  void setReply(const std::string& requestRoot, Reply reply);
  void setDefaultReply(Reply reply);

  // getDate is answered, unless scripted otherwise, with root "date" and the sensor's clock in
  // milliseconds since the epoch: the local clock moved by the skew.
  void setClockSkew(Millis skew);
  // After the next answer to a request with that root, the sensor restarts once the delay is
  // over: every connection is closed (new ones are served as before).
  void restartAfterAnswering(const std::string& requestRoot, Millis delay);

  // Pushed on the asynchronous connection when setEnableStreams has configChanges or
  // infoChanges "1"; by default a small config and infos. A setConfig request answered "ok" or
  // "warning" is folded into the config, which is then pushed again to the connections whose
  // subscription has configChanges on, after the answer, as a real sensor does.
  void setConfig(const Element& config);
  // How long after answering a setConfig the change is folded and pushed (none by default).
  void setConfigPushDelay(Millis delay);
  Element config() const;
  void setInfos(const Element& infos);
  // The camera's focus detection is over: its optics' autofocus "0" is folded into the config,
  // which is pushed as after an accepted setConfig (a setConfig of autofocus "1" is folded as any).
  void endAutofocus(const std::string& cameraId);

  // A silent connection reads and records but writes nothing on its own: no answers, no
  // keep-alive replies, no subscription pushes (explicit push() still writes). Role Unknown
  // sets both roles; a connection without a role follows the synchronous setting.
  void setSilent(bool silent, Role role = Role::Unknown);
  // When the sensor closes each later connection: never, right after its hello, or (an
  // asynchronous one) right after the pushes that answer its subscription.
  enum class Break { Never, AfterHello, AfterFirstPush };
  void setBreakConnections(Break when);
  // Refused connections are accepted and closed at once, before any byte.
  void setRefuseConnections(bool refuse);
  // Stops listening, so that connects fail, or listens again on the same port; true once
  // the change is in effect.
  bool setListening(bool listening);
  // Closes the open connections of the role (the client sees the end of the stream).
  void dropConnections(Role role = Role::Unknown);

  // Writes the bytes on every open connection of the role, split into separate writes at the
  // given ascending offsets with a pause between them; returns the number of connections
  // written.
  std::size_t push(std::string_view bytes, const std::vector<std::size_t>& splitAt = {},
                   Role role = Role::Asynchronous, Millis pause = Millis(20));
  std::size_t push(const Element& message, Role role = Role::Asynchronous) {
    return push(wireOf(message), {}, role);
  }

  // What the sensor had seen at one moment: the waits below count only what came after a mark
  // taken when the action under test starts.
  struct Mark {
    std::size_t accepted = 0, connections = 0, received = 0;
  };
  Mark mark() const;

  // Connections accepted, refused ones included; connections served that announced the role.
  std::size_t acceptedCount() const;
  std::size_t connectionCount(Role role) const;
  std::size_t openCount(Role role) const;
  // Until at least count connections accepted since the mark have announced the role.
  bool waitForConnections(const Mark& since, Role role, std::size_t count, Millis timeout) const;
  // Until exactly count connections of the role are open.
  bool waitForOpenCount(Role role, std::size_t count, Millis timeout) const;

  std::vector<Received> received() const;
  std::size_t receivedCount() const;
  // The index-th message (from 0) of all connections, once it has arrived.
  std::optional<Received> waitForMessage(std::size_t index, Millis timeout) const;
  // The nth message (from 0) with that root received since the mark, on connections of the
  // role (Unknown: any).
  std::optional<Received> waitForRoot(const Mark& since, std::string_view root, Millis timeout,
                                      std::size_t nth = 0, Role role = Role::Unknown) const;
  // Why connections ended badly: bytes the sensor could not read as a message, failed TLS
  // handshakes (the connection was then closed).
  std::vector<std::string> errors() const;
  // PEM of the client certificate of each TLS connection that presented one.
  std::vector<std::string> clientCertificates() const;

 private:
  struct Connection;

  void start();
  void acceptOne(int fd);
  void serve(const std::shared_ptr<Connection>& c);
  void readMessages(const std::shared_ptr<Connection>& c);
  bool handle(const std::shared_ptr<Connection>& c, const WireMessage& m);
  bool answer(const std::shared_ptr<Connection>& c, const WireMessage& request);
  // False when the connection is to be closed after the pushes.
  bool subscribe(const std::shared_ptr<Connection>& c, const Element& subscription);
  void applyConfigChange(const WireMessage& request, const Reply& reply);
  // Folds the change into the config and pushes it to the connections following its changes.
  void foldConfig(const Element& change);
  Reply nextReply(const WireMessage& request);
  Reply clockAnswer() const;
  void restartIfArmed(const std::string& root);
  bool pauseFor(const std::shared_ptr<Connection>& c, Millis wait);
  template <typename Pred>
  bool waitUntil(Millis timeout, Pred pred) const;
  static bool matches(Role filter, Role role);
  // Called with m_ held.
  std::vector<std::shared_ptr<Connection>> openLocked(Role role) const;
  std::size_t countLocked(Role role, std::size_t from = 0) const;

  SSL_CTX* tls_ = nullptr;
  std::unique_ptr<Listener> listener_;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};

  mutable std::mutex m_;
  mutable std::condition_variable changed_;
  std::string hello_;
  std::deque<Reply> queued_;
  Responder responder_;
  std::map<std::string, Reply> standing_;
  Reply default_ = Reply::ok();
  Millis clockSkew_{0};
  std::string restartAfter_;
  Millis restartDelay_{0};
  std::thread restarter_;
  Element config_, infos_;
  Millis configPushDelay_{0};
  bool silentAsync_ = false, silentSync_ = false;
  Break break_ = Break::Never;
  bool refuse_ = false;
  std::size_t accepted_ = 0;
  std::vector<std::shared_ptr<Connection>> connections_;
  std::vector<Received> received_;
  std::vector<std::string> errors_;
  std::vector<std::string> clientCertificates_;
};

}  // namespace fybsim
