// Self-signed certificates and the server context of the test sensor, through OpenSSL 3.
#include "TlsIdentity.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>

namespace fybsim {

namespace {

template <typename T, void (*Free)(T*)>
struct Deleter {
  void operator()(T* p) const { Free(p); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using CertPtr = std::unique_ptr<X509, Deleter<X509, X509_free>>;
using BioPtr = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;

[[noreturn]] void fail(const std::string& what) {
  unsigned long code = ERR_get_error();
  char text[256] = "";
  if (code) ERR_error_string_n(code, text, sizeof text);
  throw std::runtime_error("fybsim TLS: " + what + " " + text);
}

void addExtension(X509* cert, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (!ext || !X509_add_ext(cert, ext, -1)) fail("certificate extension");
  X509_EXTENSION_free(ext);
}

CertPtr signedCertificate(EVP_PKEY* key, const std::string& commonName) {
  CertPtr cert(X509_new());
  if (!cert) fail("X509_new");
  X509_set_version(cert.get(), 2);
  unsigned char serial[8];
  RAND_bytes(serial, sizeof serial);
  serial[0] &= 0x7F;
  BIGNUM* bn = BN_bin2bn(serial, sizeof serial, nullptr);
  BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert.get()));
  BN_free(bn);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
  X509_set_issuer_name(cert.get(), name);
  X509_set_pubkey(cert.get(), key);
  // Marked as a CA so that a test can hand the same PEM to a client as its trust anchor.
  addExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE");
  addExtension(cert.get(), NID_key_usage, "critical,digitalSignature,keyCertSign");
  addExtension(cert.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
  if (!X509_sign(cert.get(), key, EVP_sha256())) fail("X509_sign");
  return cert;
}

std::string bioText(BIO* bio) {
  char* data = nullptr;
  long size = BIO_get_mem_data(bio, &data);
  return std::string(data, static_cast<std::size_t>(size));
}

BioPtr readOnlyBio(const std::string& text) {
  return BioPtr(BIO_new_mem_buf(text.data(), static_cast<int>(text.size())));
}

}  // namespace

TlsIdentity TlsIdentity::selfSigned(const std::string& commonName) {
  KeyPtr key(EVP_EC_gen("P-256"));
  if (!key) fail("EC key generation");
  CertPtr cert = signedCertificate(key.get(), commonName);
  BioPtr certBio(BIO_new(BIO_s_mem())), keyBio(BIO_new(BIO_s_mem()));
  if (!PEM_write_bio_X509(certBio.get(), cert.get()) ||
      !PEM_write_bio_PrivateKey(keyBio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr)) {
    fail("PEM output");
  }
  return {bioText(certBio.get()), bioText(keyBio.get())};
}

SSL_CTX* makeServerContext(const TlsIdentity& identity, bool requestClientCertificate) {
  BioPtr certBio = readOnlyBio(identity.certificatePem), keyBio = readOnlyBio(identity.privateKeyPem);
  CertPtr cert(PEM_read_bio_X509(certBio.get(), nullptr, nullptr, nullptr));
  KeyPtr key(PEM_read_bio_PrivateKey(keyBio.get(), nullptr, nullptr, nullptr));
  if (!cert || !key) fail("reading the certificate or key PEM");
  SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
  if (!ctx) fail("SSL_CTX_new");
  SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
  if (SSL_CTX_use_certificate(ctx, cert.get()) != 1 || SSL_CTX_use_PrivateKey(ctx, key.get()) != 1) {
    SSL_CTX_free(ctx);
    fail("loading the certificate or key");
  }
  if (requestClientCertificate) {
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, [](int, X509_STORE_CTX*) { return 1; });
  }
  return ctx;
}

}  // namespace fybsim
