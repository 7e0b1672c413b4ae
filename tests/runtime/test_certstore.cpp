// Client certificate look-up in the certificate stores: folders of PEM and PKCS#12 files
// under the per-user data folder, searched by issuer text, handed over with their key.
#include "NetInternal.h"
#include "NetTestFixture.h"
#include "TestPki.h"

#include <openssl/x509.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

using testpki::CertSpec;
using testpki::Identity;

namespace {

class CertStoreTest : public NetTest {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/bzk_store_XXXXXX";
        data_ = mkdtemp(pattern);
        for (const char *part : {"/BZK", "/BZK/certs", "/BZK/certs/MY", "/BZK/certs/CA"})
            mkdir((data_ + part).c_str(), 0700);
        setenv("XDG_DATA_HOME", data_.c_str(), 1);
        setenv("SSL_CERT_FILE", (data_ + "/none.pem").c_str(), 1);
        setenv("SSL_CERT_DIR", (data_ + "/none").c_str(), 1);
        CertSpec ca;
        ca.isCa = true;
        ca.commonName = "BZK Store CA";
        ca_ = testpki::MakeCert(ca);
        NetTest::SetUp();
    }
    void TearDown() override
    {
        X509_free(cert_);
        EVP_PKEY_free(key_);
        std::filesystem::remove_all(data_);
        NetTest::TearDown();
    }

    Identity Client(const std::string &name, long notBefore = -3600, long notAfter = 86400)
    {
        CertSpec spec;
        spec.commonName = name;
        spec.notBeforeOffsetSeconds = notBefore;
        spec.notAfterOffsetSeconds = notAfter;
        return testpki::MakeCert(spec, &ca_);
    }
    void Put(const std::string &file, const std::string &content)
    {
        testpki::WriteFile(data_ + "/BZK/certs/" + file, content);
    }
    int Find(const std::string &issuerText)
    {
        X509_NAME *name = X509_NAME_new();
        X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("BZK"), -1, -1, 0);
        if (!issuerText.empty())
            X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                       reinterpret_cast<const unsigned char *>(issuerText.c_str()), -1, -1, 0);
        int result = SA_SSL_private_FindClientCert(name, &cert_, &key_);
        X509_NAME_free(name);
        return result;
    }
    std::string FoundName()
    {
        char name[256] = "";
        X509_NAME_get_text_by_NID(X509_get_subject_name(cert_), NID_commonName, name, sizeof(name));
        return name;
    }

    std::string data_;
    Identity ca_;
    X509 *cert_ = nullptr;
    EVP_PKEY *key_ = nullptr;
};

TEST_F(CertStoreTest, PersonalStoreCertificateIsHandedOverWithItsKey)
{
    Identity client = Client("alice");
    Put("MY/alice.p12", testpki::ToPkcs12(client, nullptr));
    ASSERT_EQ(Find("BZK Store CA"), SA_OK);
    EXPECT_EQ(X509_cmp(cert_, client.cert.get()), 0);
    EXPECT_EQ(X509_check_private_key(cert_, key_), 1);
    std::vector<std::string> expected = {"Looking for certificate in store with issuer='BZK Store CA'",
                                         "Found certificate 'alice' in user store 'MY'", "Certificate OK"};
    EXPECT_EQ(LogLines(), expected);
}

TEST_F(CertStoreTest, IssuerSearchIgnoresLetterCaseAndMatchesPartOfTheName)
{
    Identity client = Client("bob");
    Put("CA/bob.pem", testpki::ToPem(client.cert.get()) + testpki::ToPem(client.key.get()));
    EXPECT_EQ(Find("store ca"), SA_OK);
    EXPECT_EQ(FoundName(), "bob");
}

TEST_F(CertStoreTest, PemFileKeysArePairedWithTheirOwnCertificates)
{
    Identity first = Client("first");
    Identity second = Client("second");
    Put("MY/pair.pem", testpki::ToPem(second.key.get()) + testpki::ToPem(first.cert.get()) +
                           testpki::ToPem(first.key.get()) + testpki::ToPem(second.cert.get()));
    ASSERT_EQ(Find("BZK Store CA"), SA_OK);
    EXPECT_EQ(X509_check_private_key(cert_, key_), 1);
}

TEST_F(CertStoreTest, ExpiredAndFutureCertificatesAreSkippedWithReason)
{
    Put("MY/old.p12", testpki::ToPkcs12(Client("old", -172800, -86400), ""));
    Put("CA/future.p12", testpki::ToPkcs12(Client("future", 86400, 172800), ""));
    EXPECT_EQ(Find("BZK Store CA"), SA_ERROR);
    std::vector<std::string> lines = LogLines();
    auto has = [&](const std::string &line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has("This certificate is not valid anymore"));
    EXPECT_TRUE(has("This certificate is not valid yet"));
    EXPECT_FALSE(has("Certificate OK"));
}

TEST_F(CertStoreTest, CertificateWithoutKeyOrOtherIssuerIsNotFound)
{
    Put("MY/keyless.pem", testpki::ToPem(Client("keyless").cert.get()));
    Put("CA/junk.p12", "not a certificate file");
    EXPECT_EQ(Find("Other CA"), SA_ERROR);
    EXPECT_EQ(Find("BZK Store CA"), SA_ERROR);
    EXPECT_EQ(cert_, nullptr);
    EXPECT_EQ(key_, nullptr);
}

TEST_F(CertStoreTest, IssuerWithoutCommonNameFindsNothingAndMissingStoresAreLogged)
{
    EXPECT_EQ(Find(""), SA_ERROR);
    EXPECT_TRUE(LogLines().empty());
    rmdir((data_ + "/BZK/certs/MY").c_str());
    EXPECT_EQ(Find("BZK Store CA"), SA_ERROR);
    std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Unable to open Certificate store MY");
}

} // namespace
