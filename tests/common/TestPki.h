// Certificates, keys and revocation lists made at test time with OpenSSL, and their
// PEM and PKCS#12 forms, for tests that need a real TLS peer.
#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>
#include <vector>

namespace testpki {

struct X509Deleter {
    void operator()(X509 *p) const { X509_free(p); }
};
struct KeyDeleter {
    void operator()(EVP_PKEY *p) const { EVP_PKEY_free(p); }
};
struct CrlDeleter {
    void operator()(X509_CRL *p) const { X509_CRL_free(p); }
};
using CertPtr = std::unique_ptr<X509, X509Deleter>;
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyDeleter>;
using CrlPtr = std::unique_ptr<X509_CRL, CrlDeleter>;

// A certificate with the key it was made for.
struct Identity {
    CertPtr cert;
    KeyPtr key;
};

struct CertSpec {
    std::string commonName = "test";
    long serial = 1;
    long notBeforeOffsetSeconds = -3600;  // from now
    long notAfterOffsetSeconds = 86400;   // from now
    bool isCa = false;
    int pathLength = -1;                  // CA path length constraint; -1: none
    std::vector<std::string> dnsNames;    // subjectAltName DNS entries
    std::vector<std::string> ipAddresses; // subjectAltName IP entries
    std::vector<std::string> crlUris;     // CRL distribution point URIs
};

KeyPtr MakeKey();
// Signed by the issuer, or self-signed when issuer is null. Signing key: issuerKey, or own.
Identity MakeCert(const CertSpec &spec, const Identity *issuer = nullptr, EVP_PKEY *issuerKey = nullptr);
// A CRL of the issuer listing the serials; signed with signingKey when given, else the issuer's key.
CrlPtr MakeCrl(const Identity &issuer, const std::vector<long> &revokedSerials, EVP_PKEY *signingKey = nullptr);

std::string ToPem(X509 *cert);
std::string ToPem(EVP_PKEY *key);
std::string ToPem(X509_CRL *crl);
std::string ToDer(X509_CRL *crl);
std::string ToPkcs12(const Identity &id, const char *password);
void WriteFile(const std::string &path, const std::string &data);

} // namespace testpki
