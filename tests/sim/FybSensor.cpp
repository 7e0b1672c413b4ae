// The test sensor: one listening thread, one thread per connection that sends the hello,
// records what arrives and answers as scripted.
#include "FybSensor.h"

#include <openssl/ssl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "Channel.h"
#include "Listener.h"

namespace fybsim {

struct FybSensor::Connection {
  Connection(std::size_t number, int fd, SSL_CTX* tls) : id(number), channel(fd, tls) {}

  const std::size_t id;
  Channel channel;
  std::thread thread;
  // Guarded by the sensor's mutex.
  Role role = Role::Unknown;
  bool open = true;
  bool dropped = false;
  bool configChanges = false;
};

namespace {

bool isOn(const std::string* value) {
  return value && (*value == "1" || strcasecmp(value->c_str(), "true") == 0);
}

// A change is kept when the answer says "ok" or "warning".
bool accepted(const Reply& reply) {
  if (reply.action != Reply::Action::Send) return false;
  const std::optional<WireMessage> answer = parseWire(reply.bytes);
  const std::string* status = answer && answer->root ? answer->root->attribute("status") : nullptr;
  return answer && answer->rootName() == "answer" && status && (*status == "ok" || *status == "warning");
}

// Attributes of the change replace the kept ones; a child goes into the kept child of the same
// name and id (both without id also match), or is appended.
void merge(Element& kept, const Element& change) {
  for (const auto& [key, value] : change.attributes) kept.set(key, value);
  if (!change.content.empty()) kept.content = change.content;
  for (const Element& child : change.children) {
    const std::string* id = child.attribute("id");
    auto same = std::find_if(kept.children.begin(), kept.children.end(), [&](const Element& k) {
      const std::string* keptId = k.attribute("id");
      return k.name == child.name && (id ? keptId && *keptId == *id : keptId == nullptr);
    });
    if (same == kept.children.end())
      kept.children.push_back(child);
    else
      merge(*same, child);
  }
}

std::string printable(std::string_view bytes) {
  std::string out;
  for (char ch : bytes.substr(0, 32)) out += (ch >= 32 && ch < 127) ? ch : '.';
  return out;
}

}  // namespace

Reply Reply::failed(std::string_view errorText) {
  return message(Element("answer").set("status", "failed").set("errorText", errorText));
}

Reply Reply::warning(const std::vector<Warning>& warnings) {
  Element answer("answer");
  answer.set("status", "warning");
  for (const auto& w : warnings) {
    Element child("warning");
    child.set("text", w.text);
    if (!w.configPath.empty()) child.set("configPath", w.configPath);
    if (!w.sourceLocation.empty()) child.set("sourceLocation", w.sourceLocation);
    answer.add(std::move(child));
  }
  return message(answer);
}

Element FybSensor::helloMessage(std::optional<unsigned> protocolVersion) {
  Element hello("hello");
  if (protocolVersion) hello.set("protocolVersion", std::to_string(*protocolVersion));
  hello.set("serverType", "FybSim");
  Element camera("camera");
  camera.set("id", "0").add(Element("enabledAlgorithms").add(Element("anpr")));
  hello.add(Element("infos").add(Element("cameras").add(std::move(camera))));
  return hello;
}

std::string FybSensor::legacyBytes() {
  // Payload length 16 and code 0x0101, little-endian, then the payload.
  std::string bytes = {16, 0, 0, 0, 1, 1, 0, 0};
  bytes += std::string(16, '\x5A');
  return bytes;
}

FybSensor::FybSensor() {
  start();
}

FybSensor::FybSensor(const TlsIdentity& identity, bool requestClientCertificate) {
  tls_ = makeServerContext(identity, requestClientCertificate);
  start();
}

void FybSensor::start() {
  hello_ = wireOf(helloMessage());
  config_ = Element("config").add(Element("device").set("name", "fybsim"));
  infos_ = Element("infos").add(Element("device").set("serialNumber", "SIM-0001").set("version", "1.0.0"));
  try {
    listener_ = std::make_unique<Listener>([this](int fd) { acceptOne(fd); });
  } catch (...) {
    if (tls_) SSL_CTX_free(tls_);
    throw;
  }
  port_ = listener_->port();
}

FybSensor::~FybSensor() {
  {
    std::lock_guard lock(m_);
    stop_ = true;
    changed_.notify_all();
  }
  listener_->stop();
  for (auto& c : connections_) c->channel.shutdown();
  for (auto& c : connections_) c->thread.join();
  if (restarter_.joinable()) restarter_.join();
  connections_.clear();
  if (tls_) SSL_CTX_free(tls_);
}

void FybSensor::acceptOne(int fd) {
  std::lock_guard lock(m_);
  ++accepted_;
  if (refuse_ || stop_) {
    ::close(fd);
  } else {
    auto c = std::make_shared<Connection>(accepted_, fd, tls_);
    connections_.push_back(c);
    c->thread = std::thread([this, c] { serve(c); });
  }
  changed_.notify_all();
}

void FybSensor::serve(const std::shared_ptr<Connection>& c) {
  if (!c->channel.handshake(stop_, 10000)) {
    std::lock_guard lock(m_);
    if (!stop_) errors_.push_back("connection " + std::to_string(c->id) + ": TLS handshake failed");
  } else {
    std::string pem = c->channel.peerCertificatePem();
    std::string hello;
    bool breakNow;
    {
      std::lock_guard lock(m_);
      if (!pem.empty()) clientCertificates_.push_back(pem);
      hello = hello_;
      breakNow = break_ == Break::AfterHello;
    }
    if ((hello.empty() || c->channel.write(hello)) && !breakNow) readMessages(c);
  }
  c->channel.shutdown();
  {
    std::lock_guard lock(m_);
    c->open = false;
    changed_.notify_all();
  }
  c->channel.close();
}

void FybSensor::readMessages(const std::shared_ptr<Connection>& c) {
  std::string buffer;
  std::vector<char> chunk(64 * 1024);
  while (!stop_) {
    int n = c->channel.readSome(chunk.data(), chunk.size(), 50);
    if (n < 0) return;
    buffer.append(chunk.data(), static_cast<std::size_t>(n));
    while (!buffer.empty()) {
      ScanResult scan = scanWire(buffer);
      if (scan.status == ScanStatus::NeedMore) break;
      std::string why = scan.error;
      std::optional<WireMessage> m;
      if (scan.status == ScanStatus::Complete)
        m = parseWire(std::string_view(buffer).substr(0, scan.length), &why);
      if (!m) {
        std::lock_guard lock(m_);
        errors_.push_back("connection " + std::to_string(c->id) + ": " + why + " in \"" + printable(buffer) +
                          "\"");
        return;
      }
      buffer.erase(0, scan.length);
      if (!handle(c, *m)) return;
    }
  }
}

bool FybSensor::handle(const std::shared_ptr<Connection>& c, const WireMessage& m) {
  const std::string root = m.rootName();
  Role role;
  bool silent;
  {
    std::lock_guard lock(m_);
    if (root == "setConnectionMode") {
      const std::string* mode = m.root->attribute("connection");
      if (mode && *mode == "asynchronous") c->role = Role::Asynchronous;
      if (mode && *mode == "synchronous") c->role = Role::Synchronous;
    }
    received_.push_back({c->id, c->role, m, std::chrono::steady_clock::now()});
    role = c->role;
    silent = role == Role::Asynchronous ? silentAsync_ : silentSync_;
    changed_.notify_all();
  }
  // The mode message gets no reply: the client reads none.
  if (root == "setConnectionMode" || silent) return true;
  if (root == "keep-alive") return c->channel.write(wireOf(Element("keep-alive")));
  if (role != Role::Asynchronous) return answer(c, m);
  return root != "setEnableStreams" || subscribe(c, *m.root);
}

bool FybSensor::subscribe(const std::shared_ptr<Connection>& c, const Element& subscription) {
  std::string config, infos;
  bool breakNow;
  {
    std::lock_guard lock(m_);
    if (const std::string* changes = subscription.attribute("configChanges")) c->configChanges = isOn(changes);
    config = wireOf(config_);
    infos = wireOf(infos_);
    breakNow = break_ == Break::AfterFirstPush;
  }
  if (isOn(subscription.attribute("configChanges"))) c->channel.write(config);
  if (isOn(subscription.attribute("infoChanges"))) c->channel.write(infos);
  return !breakNow;
}

Reply FybSensor::nextReply(const WireMessage& request) {
  Responder responder;
  {
    std::lock_guard lock(m_);
    if (!queued_.empty()) {
      Reply r = std::move(queued_.front());
      queued_.pop_front();
      return r;
    }
    responder = responder_;
  }
  // Outside the lock: the responder may call back into the sensor.
  if (responder) {
    if (std::optional<Reply> r = responder(request)) return *r;
  }
  std::lock_guard lock(m_);
  auto it = standing_.find(request.rootName());
  if (it != standing_.end()) return it->second;
  return request.rootName() == "getDate" ? clockAnswer() : default_;
}

// Called with m_ held.
Reply FybSensor::clockAnswer() const {
  const auto now = std::chrono::system_clock::now().time_since_epoch() + clockSkew_;
  const auto ms = std::chrono::duration_cast<Millis>(now).count();
  return Reply::message(Element("date").set("date", std::to_string(ms)));
}

void FybSensor::restartIfArmed(const std::string& root) {
  std::thread previous;
  {
    std::lock_guard lock(m_);
    if (restartAfter_.empty() || root != restartAfter_ || stop_) return;
    restartAfter_.clear();
    previous = std::move(restarter_);
  }
  if (previous.joinable()) previous.join();
  std::lock_guard lock(m_);
  restarter_ = std::thread([this, delay = restartDelay_] {
    {
      std::unique_lock wait(m_);
      if (changed_.wait_for(wait, delay, [&] { return stop_.load(); })) return;
    }
    dropConnections();
  });
}

void FybSensor::setClockSkew(Millis skew) {
  std::lock_guard lock(m_);
  clockSkew_ = skew;
}

void FybSensor::restartAfterAnswering(const std::string& requestRoot, Millis delay) {
  std::lock_guard lock(m_);
  restartAfter_ = requestRoot;
  restartDelay_ = delay;
}

bool FybSensor::answer(const std::shared_ptr<Connection>& c, const WireMessage& request) {
  const Reply r = nextReply(request);
  if (!pauseFor(c, r.delay)) return false;
  switch (r.action) {
    case Reply::Action::Never: return true;
    case Reply::Action::Close: return false;
    case Reply::Action::Send: break;
  }
  if (!c->channel.write(r.bytes)) return false;
  if (request.rootName() == "setConfig") {
    Millis pushDelay;
    {
      std::lock_guard lock(m_);
      pushDelay = configPushDelay_;
    }
    if (!pauseFor(c, pushDelay)) return false;
    applyConfigChange(request, r);
  }
  restartIfArmed(request.rootName());
  return true;
}

void FybSensor::applyConfigChange(const WireMessage& request, const Reply& reply) {
  const Element* change = request.root->child("config");
  if (change && accepted(reply)) foldConfig(*change);
}

void FybSensor::endAutofocus(const std::string& cameraId) {
  Element change("config");
  change.add(Element("cameras").add(
      Element("camera").set("id", cameraId).add(Element("optics").set("autofocus", "0"))));
  foldConfig(change);
}

void FybSensor::foldConfig(const Element& change) {
  std::string config;
  std::vector<std::shared_ptr<Connection>> targets;
  {
    std::lock_guard lock(m_);
    merge(config_, change);
    config = wireOf(config_);
    for (const auto& c : openLocked(Role::Asynchronous)) {
      if (c->configChanges) targets.push_back(c);
    }
  }
  for (const auto& c : targets) c->channel.write(config);
}

bool FybSensor::pauseFor(const std::shared_ptr<Connection>& c, Millis wait) {
  std::unique_lock lock(m_);
  changed_.wait_for(lock, wait, [&] { return stop_ || c->dropped; });
  return !stop_ && !c->dropped;
}

void FybSensor::setHello(std::string bytes) {
  std::lock_guard lock(m_);
  hello_ = std::move(bytes);
}

void FybSensor::queueReply(Reply reply) {
  std::lock_guard lock(m_);
  queued_.push_back(std::move(reply));
}

void FybSensor::setResponder(Responder responder) {
  std::lock_guard lock(m_);
  responder_ = std::move(responder);
}

void FybSensor::setReply(const std::string& requestRoot, Reply reply) {
  std::lock_guard lock(m_);
  standing_[requestRoot] = std::move(reply);
}

void FybSensor::setDefaultReply(Reply reply) {
  std::lock_guard lock(m_);
  default_ = std::move(reply);
}

void FybSensor::setConfigPushDelay(Millis delay) {
  std::lock_guard lock(m_);
  configPushDelay_ = delay;
}

void FybSensor::setConfig(const Element& config) {
  std::lock_guard lock(m_);
  config_ = config;
}

Element FybSensor::config() const {
  std::lock_guard lock(m_);
  return config_;
}

void FybSensor::setInfos(const Element& infos) {
  std::lock_guard lock(m_);
  infos_ = infos;
}

void FybSensor::setSilent(bool silent, Role role) {
  std::lock_guard lock(m_);
  if (role != Role::Synchronous) silentAsync_ = silent;
  if (role != Role::Asynchronous) silentSync_ = silent;
}

void FybSensor::setBreakConnections(Break when) {
  std::lock_guard lock(m_);
  break_ = when;
}

void FybSensor::setRefuseConnections(bool refuse) {
  std::lock_guard lock(m_);
  refuse_ = refuse;
}

bool FybSensor::setListening(bool listening) {
  return listener_->setListening(listening);
}

void FybSensor::dropConnections(Role role) {
  std::lock_guard lock(m_);
  for (auto& c : openLocked(role)) {
    c->dropped = true;
    c->channel.shutdown();
  }
  changed_.notify_all();
}

std::size_t FybSensor::push(std::string_view bytes, const std::vector<std::size_t>& splitAt, Role role,
                            Millis pause) {
  std::vector<std::shared_ptr<Connection>> targets;
  {
    std::lock_guard lock(m_);
    targets = openLocked(role);
  }
  std::size_t written = 0;
  for (auto& c : targets) {
    if (c->channel.write(bytes, splitAt, static_cast<int>(pause.count()))) ++written;
  }
  return written;
}

template <typename Pred>
bool FybSensor::waitUntil(Millis timeout, Pred pred) const {
  std::unique_lock lock(m_);
  return changed_.wait_for(lock, timeout, pred);
}

bool FybSensor::matches(Role filter, Role role) {
  return filter == Role::Unknown || filter == role;
}

std::vector<std::shared_ptr<FybSensor::Connection>> FybSensor::openLocked(Role role) const {
  std::vector<std::shared_ptr<Connection>> open;
  for (const auto& c : connections_) {
    if (c->open && matches(role, c->role)) open.push_back(c);
  }
  return open;
}

std::size_t FybSensor::countLocked(Role role, std::size_t from) const {
  std::size_t n = 0;
  for (std::size_t i = from; i < connections_.size(); ++i) n += matches(role, connections_[i]->role) ? 1 : 0;
  return n;
}

FybSensor::Mark FybSensor::mark() const {
  std::lock_guard lock(m_);
  return {accepted_, connections_.size(), received_.size()};
}

std::size_t FybSensor::acceptedCount() const {
  std::lock_guard lock(m_);
  return accepted_;
}

std::size_t FybSensor::connectionCount(Role role) const {
  std::lock_guard lock(m_);
  return countLocked(role);
}

std::size_t FybSensor::openCount(Role role) const {
  std::lock_guard lock(m_);
  return openLocked(role).size();
}

bool FybSensor::waitForConnections(const Mark& since, Role role, std::size_t count, Millis timeout) const {
  return waitUntil(timeout, [&] { return countLocked(role, since.connections) >= count; });
}

bool FybSensor::waitForOpenCount(Role role, std::size_t count, Millis timeout) const {
  return waitUntil(timeout, [&] { return openLocked(role).size() == count; });
}

std::vector<Received> FybSensor::received() const {
  std::lock_guard lock(m_);
  return received_;
}

std::size_t FybSensor::receivedCount() const {
  std::lock_guard lock(m_);
  return received_.size();
}

std::optional<Received> FybSensor::waitForMessage(std::size_t index, Millis timeout) const {
  std::unique_lock lock(m_);
  if (!changed_.wait_for(lock, timeout, [&] { return received_.size() > index; })) return std::nullopt;
  return received_[index];
}

std::optional<Received> FybSensor::waitForRoot(const Mark& since, std::string_view root, Millis timeout,
                                               std::size_t nth, Role role) const {
  std::optional<Received> found;
  waitUntil(timeout, [&] {
    std::size_t seen = 0;
    for (std::size_t i = since.received; i < received_.size(); ++i) {
      const Received& r = received_[i];
      if (r.rootName() == root && matches(role, r.role) && seen++ == nth) {
        found = r;
        return true;
      }
    }
    return false;
  });
  return found;
}

std::vector<std::string> FybSensor::errors() const {
  std::lock_guard lock(m_);
  return errors_;
}

std::vector<std::string> FybSensor::clientCertificates() const {
  std::lock_guard lock(m_);
  return clientCertificates_;
}

}  // namespace fybsim
