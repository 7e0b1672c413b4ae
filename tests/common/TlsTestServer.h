// A TLS server on loopback for client tests: presents a given certificate chain, can ask
// for a client certificate, then echoes or closes as told.
#pragma once

#include "LoopbackServer.h"
#include "TestPki.h"

#include <openssl/ssl.h>

#include <memory>
#include <string>
#include <vector>

namespace testnet {

struct TlsServerOptions {
    const testpki::Identity *identity = nullptr;
    std::vector<X509 *> chain;          // extra certificates sent after the server's own
    X509 *clientCa = nullptr;           // asks for a client certificate issued by this CA
    bool requireClientCert = false;     // fails the handshake without one
    enum Action { Echo, CloseAfterHandshake, SendThenClose } action = Echo;
    std::string greeting;               // sent by SendThenClose before its close notification
};

class TlsTestServer {
public:
    explicit TlsTestServer(const TlsServerOptions &options);
    ~TlsTestServer();

    uint16_t port() const { return server_->port(); }
    bool waitServed(int count, int timeoutMs) { return server_->waitServed(count, timeoutMs); }
    int handshakes() { return handshakes_; }
    // Common name of the last client certificate received ("" when none).
    std::string lastClientName();

private:
    void serve(int fd, const std::atomic<bool> &stopping);

    TlsServerOptions options_;
    SSL_CTX *ctx_ = nullptr;
    std::mutex mutex_;
    std::string clientName_;
    std::atomic<int> handshakes_{0};
    std::unique_ptr<LoopbackServer> server_;
};

} // namespace testnet
