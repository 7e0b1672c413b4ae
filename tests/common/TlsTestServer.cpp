// Loopback TLS server on OpenSSL's blocking API, one connection at a time.
#include "TlsTestServer.h"

#include <openssl/err.h>
#include <openssl/x509v3.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/time.h>

namespace testnet {

static int AcceptAnyClient(int, X509_STORE_CTX *) { return 1; }

TlsTestServer::TlsTestServer(const TlsServerOptions &options) : options_(options)
{
    ctx_ = SSL_CTX_new(TLS_server_method());
    if (ctx_ == nullptr || SSL_CTX_use_certificate(ctx_, options.identity->cert.get()) != 1 ||
        SSL_CTX_use_PrivateKey(ctx_, options.identity->key.get()) != 1)
        throw std::runtime_error("TLS server context");
    for (X509 *extra : options.chain) {
        X509_up_ref(extra);
        SSL_CTX_add_extra_chain_cert(ctx_, extra);
    }
    if (options.clientCa != nullptr) {
        SSL_CTX_add_client_CA(ctx_, options.clientCa);
        int mode = SSL_VERIFY_PEER | (options.requireClientCert ? SSL_VERIFY_FAIL_IF_NO_PEER_CERT : 0);
        SSL_CTX_set_verify(ctx_, mode, AcceptAnyClient);
    }
    server_ = std::make_unique<LoopbackServer>([this](int fd, const std::atomic<bool> &stopping) { serve(fd, stopping); });
}

TlsTestServer::~TlsTestServer()
{
    server_.reset();
    SSL_CTX_free(ctx_);
}

std::string TlsTestServer::lastClientName()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return clientName_;
}

static std::string CommonName(X509 *cert)
{
    char name[256] = "";
    if (cert != nullptr)
        X509_NAME_get_text_by_NID(X509_get_subject_name(cert), NID_commonName, name, sizeof(name));
    return name;
}

void TlsTestServer::serve(int fd, const std::atomic<bool> &stopping)
{
    // Blocking I/O with a bound, so that a client that gives up cannot hang the server.
    timeval limit{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    SSL *ssl = SSL_new(ctx_);
    SSL_set_fd(ssl, fd);
    if (SSL_accept(ssl) == 1) {
        handshakes_++;
        X509 *peer = SSL_get1_peer_certificate(ssl);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            clientName_ = CommonName(peer);
        }
        X509_free(peer);
        if (options_.action == TlsServerOptions::Echo) {
            char buffer[4096];
            size_t got = 0;
            while (!stopping && (SSL_pending(ssl) > 0 || WaitReadable(fd, stopping, 60000)) &&
                   SSL_read_ex(ssl, buffer, sizeof(buffer), &got) == 1) {
                size_t sent = 0;
                if (SSL_write_ex(ssl, buffer, got, &sent) != 1)
                    break;
            }
        } else {
            size_t sent = 0;
            if (!options_.greeting.empty())
                SSL_write_ex(ssl, options_.greeting.data(), options_.greeting.size(), &sent);
            SSL_shutdown(ssl);
            WaitReadable(fd, stopping, 2000);
        }
    }
    SSL_free(ssl);
    ERR_clear_error();
}

} // namespace testnet
