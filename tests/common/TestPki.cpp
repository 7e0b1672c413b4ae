// Test-time certificate authority: keys, certificates, revocation lists and their encodings.
#include "TestPki.h"

#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/x509v3.h>

#include <fstream>
#include <stdexcept>

namespace testpki {

static void Check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

KeyPtr MakeKey()
{
    KeyPtr key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "EVP_EC_gen");
    return key;
}

static void AddExtension(X509 *cert, X509 *issuer, int nid, const std::string &value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION *ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    Check(ext != nullptr, "X509V3_EXT_conf_nid");
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

static std::string Join(const std::vector<std::string> &items, const char *prefix)
{
    std::string out;
    for (const std::string &item : items)
        out += (out.empty() ? "" : ",") + std::string(prefix) + item;
    return out;
}

static void AddExtensions(X509 *cert, X509 *issuer, const CertSpec &spec)
{
    if (spec.isCa) {
        std::string constraints = "critical,CA:TRUE";
        if (spec.pathLength >= 0)
            constraints += ",pathlen:" + std::to_string(spec.pathLength);
        AddExtension(cert, issuer, NID_basic_constraints, constraints);
        AddExtension(cert, issuer, NID_key_usage, "critical,keyCertSign,cRLSign,digitalSignature");
    } else {
        AddExtension(cert, issuer, NID_basic_constraints, "CA:FALSE");
    }
    std::string alt = Join(spec.dnsNames, "DNS:");
    std::string ips = Join(spec.ipAddresses, "IP:");
    if (!ips.empty())
        alt += (alt.empty() ? "" : ",") + ips;
    if (!alt.empty())
        AddExtension(cert, issuer, NID_subject_alt_name, alt);
    if (!spec.crlUris.empty())
        AddExtension(cert, issuer, NID_crl_distribution_points, Join(spec.crlUris, "URI:"));
}

Identity MakeCert(const CertSpec &spec, const Identity *issuer, EVP_PKEY *issuerKey)
{
    Identity id{CertPtr(X509_new()), MakeKey()};
    X509 *cert = id.cert.get();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), spec.serial);
    X509_gmtime_adj(X509_getm_notBefore(cert), spec.notBeforeOffsetSeconds);
    X509_gmtime_adj(X509_getm_notAfter(cert), spec.notAfterOffsetSeconds);
    X509_set_pubkey(cert, id.key.get());
    X509_NAME *name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("BZK tests"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char *>(spec.commonName.c_str()), -1, -1, 0);
    X509 *issuerCert = issuer != nullptr ? issuer->cert.get() : cert;
    X509_set_issuer_name(cert, X509_get_subject_name(issuerCert));
    AddExtensions(cert, issuerCert, spec);
    EVP_PKEY *signer = issuerKey != nullptr ? issuerKey : (issuer != nullptr ? issuer->key.get() : id.key.get());
    Check(X509_sign(cert, signer, EVP_sha256()) > 0, "X509_sign");
    return id;
}

CrlPtr MakeCrl(const Identity &issuer, const std::vector<long> &revokedSerials, EVP_PKEY *signingKey)
{
    CrlPtr crl(X509_CRL_new());
    X509_CRL_set_version(crl.get(), 1);
    X509_CRL_set_issuer_name(crl.get(), X509_get_subject_name(issuer.cert.get()));
    ASN1_TIME *now = X509_gmtime_adj(nullptr, -60);
    ASN1_TIME *next = X509_gmtime_adj(nullptr, 86400);
    X509_CRL_set1_lastUpdate(crl.get(), now);
    X509_CRL_set1_nextUpdate(crl.get(), next);
    for (long serial : revokedSerials) {
        X509_REVOKED *revoked = X509_REVOKED_new();
        ASN1_INTEGER *number = ASN1_INTEGER_new();
        ASN1_INTEGER_set(number, serial);
        X509_REVOKED_set_serialNumber(revoked, number);
        X509_REVOKED_set_revocationDate(revoked, now);
        X509_CRL_add0_revoked(crl.get(), revoked);
        ASN1_INTEGER_free(number);
    }
    ASN1_TIME_free(now);
    ASN1_TIME_free(next);
    X509_CRL_sort(crl.get());
    Check(X509_CRL_sign(crl.get(), signingKey != nullptr ? signingKey : issuer.key.get(), EVP_sha256()) > 0,
          "X509_CRL_sign");
    return crl;
}

template <typename Writer> static std::string WithBio(Writer write)
{
    BIO *bio = BIO_new(BIO_s_mem());
    Check(write(bio) == 1, "PEM write");
    char *data = nullptr;
    long length = BIO_get_mem_data(bio, &data);
    std::string out(data, static_cast<size_t>(length));
    BIO_free(bio);
    return out;
}

std::string ToPem(X509 *cert)
{
    return WithBio([&](BIO *bio) { return PEM_write_bio_X509(bio, cert); });
}

std::string ToPem(EVP_PKEY *key)
{
    return WithBio([&](BIO *bio) { return PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr); });
}

std::string ToPem(X509_CRL *crl)
{
    return WithBio([&](BIO *bio) { return PEM_write_bio_X509_CRL(bio, crl); });
}

std::string ToDer(X509_CRL *crl)
{
    return WithBio([&](BIO *bio) { return i2d_X509_CRL_bio(bio, crl); });
}

std::string ToPkcs12(const Identity &id, const char *password)
{
    PKCS12 *p12 = PKCS12_create(password, "test", id.key.get(), id.cert.get(), nullptr, 0, 0, 0, 0, 0);
    Check(p12 != nullptr, "PKCS12_create");
    std::string out = WithBio([&](BIO *bio) { return i2d_PKCS12_bio(bio, p12); });
    PKCS12_free(p12);
    return out;
}

void WriteFile(const std::string &path, const std::string &data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
    Check(static_cast<bool>(out), "write file");
}

} // namespace testpki
