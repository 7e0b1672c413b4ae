// The plate decryptor, with RSA keys generated at test time: plates restored from every PEM
// form of a key, the replacement text and error of each failure, and keys that stay in use.
#include "PXRPTool_Internal.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

using tooltest::AttributeOf;
using tooltest::Message;
using tooltest::MsgPtr;

namespace {

constexpr char PLATE[] = "AB-123-CD";
constexpr char PASS_PHRASE[] = "tr\xC3\xA8s secret";

struct KeyDeleter {
    void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyDeleter>;
struct DecryptorDeleter {
    void operator()(PXRPToolPlateDecryptor *decryptor) const { PXRPToolPlateDecryptorDestroy(decryptor); }
};
using DecryptorPtr = std::unique_ptr<PXRPToolPlateDecryptor, DecryptorDeleter>;

enum class PemForm { Pkcs8, Traditional };

std::string ToPem(EVP_PKEY *key, PemForm form, const char *passPhrase = nullptr)
{
    BIO *bio = BIO_new(BIO_s_mem());
    const EVP_CIPHER *cipher = passPhrase ? EVP_aes_256_cbc() : nullptr;
    auto *phrase = reinterpret_cast<unsigned char *>(const_cast<char *>(passPhrase));
    int length = passPhrase ? static_cast<int>(strlen(passPhrase)) : 0;
    int written = form == PemForm::Pkcs8
                      ? PEM_write_bio_PrivateKey(bio, key, cipher, phrase, length, nullptr, nullptr)
                      : PEM_write_bio_PrivateKey_traditional(bio, key, cipher, phrase, length, nullptr, nullptr);
    EXPECT_EQ(written, 1);
    char *data = nullptr;
    long size = BIO_get_mem_data(bio, &data);
    std::string pem(data, static_cast<size_t>(size));
    BIO_free(bio);
    return pem;
}

// The plate as a sensor sends it: RSA with PKCS#1 v1.5 padding under the public key, in Base64.
std::string Encrypt(EVP_PKEY *key, const std::string &plate)
{
    EVP_PKEY_CTX *context = EVP_PKEY_CTX_new(key, nullptr);
    EXPECT_GT(EVP_PKEY_encrypt_init(context), 0);
    EXPECT_GT(EVP_PKEY_CTX_set_rsa_padding(context, RSA_PKCS1_PADDING), 0);
    std::vector<unsigned char> cipher(static_cast<size_t>(EVP_PKEY_get_size(key)));
    size_t length = cipher.size();
    EXPECT_GT(EVP_PKEY_encrypt(context, cipher.data(), &length, reinterpret_cast<const unsigned char *>(plate.data()),
                               plate.size()),
              0);
    EVP_PKEY_CTX_free(context);
    std::string text(4 * ((length + 2) / 3) + 1, '\0');
    text.resize(static_cast<size_t>(EVP_EncodeBlock(reinterpret_cast<unsigned char *>(text.data()), cipher.data(),
                                                    static_cast<int>(length))));
    return text;
}

int SetKey(PXRPToolPlateDecryptor *decryptor, const std::string &pem, const char *passPhrase = nullptr)
{
    return PXRPToolPlateDecryptorSetKey(decryptor, pem.data(), static_cast<uint32_t>(pem.size()), passPhrase);
}

MsgPtr Recognition(const std::string &crypted)
{
    return Message("anpr", {{"date", "1700000000000"}}, "decision", {{"plateCrypted", crypted}, {"reliability", "90"}});
}

class Decryptor : public ::testing::Test {
protected:
    // Generating RSA keys is slow: one pair of keys serves every test of the program.
    static void SetUpTestSuite()
    {
        key_ = EVP_RSA_gen(2048);
        otherKey_ = EVP_RSA_gen(1024);
    }
    static void TearDownTestSuite()
    {
        EVP_PKEY_free(key_);
        EVP_PKEY_free(otherKey_);
    }

    // Decrypts a recognition carrying the cipher and returns (result, plate).
    std::pair<int, std::string> Run(const std::string &crypted, const char *replacement = nullptr)
    {
        MsgPtr msg = Recognition(crypted);
        int result = PXRPToolPlateDecryptorDecrypt(decryptor_.get(), msg.get(), replacement);
        EXPECT_EQ(PXRMsgIsReadOnly(msg.get()), 1) << "the message is read-only again";
        EXPECT_EQ(AttributeOf(msg.get(), "decision", "plateCrypted"), crypted);
        return {result, AttributeOf(msg.get(), "decision", "plate")};
    }

    std::string LastError() { return PXRPToolPlateDecryptorLastError(decryptor_.get()); }

    static EVP_PKEY *key_;
    static EVP_PKEY *otherKey_;
    DecryptorPtr decryptor_{PXRPToolPlateDecryptorCreate()};
};

EVP_PKEY *Decryptor::key_ = nullptr;
EVP_PKEY *Decryptor::otherKey_ = nullptr;

// ---- restoring plates ----

TEST_F(Decryptor, RestoresPlatesWithKeysInEveryPemForm)
{
    struct Form {
        const char *label;
        PemForm form;
        const char *passPhrase;
    } forms[] = {{"plain PKCS#8", PemForm::Pkcs8, nullptr},
                 {"plain traditional", PemForm::Traditional, nullptr},
                 {"protected PKCS#8", PemForm::Pkcs8, PASS_PHRASE},
                 {"protected traditional", PemForm::Traditional, PASS_PHRASE}};
    const std::string crypted = Encrypt(key_, PLATE);
    for (const Form &f : forms) {
        SCOPED_TRACE(f.label);
        DecryptorPtr fresh(PXRPToolPlateDecryptorCreate());
        decryptor_.swap(fresh);
        EXPECT_EQ(PXRPToolPlateDecryptorHasKey(decryptor_.get()), 0);
        ASSERT_EQ(SetKey(decryptor_.get(), ToPem(key_, f.form, f.passPhrase), f.passPhrase), 1) << LastError();
        EXPECT_EQ(PXRPToolPlateDecryptorHasKey(decryptor_.get()), 1);
        EXPECT_EQ(Run(crypted), std::make_pair(1, std::string(PLATE)));
        EXPECT_EQ(LastError(), "");
    }
}

TEST_F(Decryptor, PlateEndsAtTheFirstZeroByte)
{
    ASSERT_EQ(SetKey(decryptor_.get(), ToPem(key_, PemForm::Pkcs8)), 1);
    EXPECT_EQ(Run(Encrypt(key_, std::string("AB1\0XYZ", 7))), std::make_pair(1, std::string("AB1")));
}

TEST_F(Decryptor, DecisionsWithNothingToDecryptAreLeftAlone)
{
    ASSERT_EQ(SetKey(decryptor_.get(), ToPem(key_, PemForm::Pkcs8)), 1);
    const std::string crypted = Encrypt(key_, PLATE);
    struct Case {
        const char *label;
        MsgPtr msg;
    } cases[] = {
        {"plate and plateCrypted", Message("anpr", {}, "decision", {{"plate", "XY-999"}, {"plateCrypted", crypted}})},
        {"no plateCrypted", Message("anpr", {}, "decision", {{"reliability", "80"}})},
        {"no decision", Message("anpr", {}, "vehicle", {{"plateCrypted", crypted}})},
        {"no root", MsgPtr(PXRMsgCreate())},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.label);
        MsgPtr before(PXRMsgCopy(c.msg.get()));
        EXPECT_EQ(PXRPToolPlateDecryptorDecrypt(decryptor_.get(), c.msg.get(), nullptr), 1);
        EXPECT_EQ(AttributeOf(c.msg.get(), "decision", "plate"), AttributeOf(before.get(), "decision", "plate"));
        EXPECT_EQ(LastError(), "");
    }
}

// ---- failures: the plate becomes the replacement text ----

TEST_F(Decryptor, WithoutAKeyEveryPlateGetsTheReplacementText)
{
    EXPECT_EQ(Run(Encrypt(key_, PLATE)), std::make_pair(0, std::string("[CRYPTED]")));
    EXPECT_EQ(LastError(), "No key has been provided");
    EXPECT_EQ(Run(Encrypt(key_, PLATE), "[Chiffr\xC3\xA9]"), std::make_pair(0, std::string("[Chiffr\xC3\xA9]")));
    EXPECT_EQ(LastError(), "No key has been provided");
}

TEST_F(Decryptor, UndecryptableTextsGetTheReplacementAndOpenSslsReason)
{
    ASSERT_EQ(SetKey(decryptor_.get(), ToPem(key_, PemForm::Pkcs8)), 1);
    const std::string good = Encrypt(key_, PLATE);
    const std::string texts[] = {
        good.substr(0, good.size() - 1 - (good.back() == '=')),  // cut mid-group, no "="
        "QUJDR",                                                   // odd length without "="
        "\xC3\xA9" + good.substr(2),                               // a character above 127
        Encrypt(otherKey_, PLATE),                                 // another key's cipher
        std::string(good.size(), 'A'),                             // zeros of the right size
        "",
    };
    for (const std::string &text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Run(text), std::make_pair(0, std::string("[CRYPTED]")));
        EXPECT_NE(LastError(), "");
        EXPECT_NE(LastError(), "No key has been provided");
    }
    // The key is still the one set, and the error text is cleared by the next success.
    EXPECT_EQ(Run(good), std::make_pair(1, std::string(PLATE)));
    EXPECT_EQ(LastError(), "");
}

TEST_F(Decryptor, SharedMessageIsNotWritten)
{
    ASSERT_EQ(SetKey(decryptor_.get(), ToPem(key_, PemForm::Pkcs8)), 1);
    MsgPtr msg = Recognition(Encrypt(key_, PLATE));
    ASSERT_EQ(PXRMsgAddRef(msg.get()), 1);
    EXPECT_EQ(PXRPToolPlateDecryptorDecrypt(decryptor_.get(), msg.get(), nullptr), 0);
    EXPECT_EQ(LastError(), "Unable to write in PXRMsg");
    EXPECT_EQ(AttributeOf(msg.get(), "decision", "plate"), "<absent>");
    PXRMsgDestroy(msg.get());
}

TEST_F(Decryptor, WritableMessageStaysWritable)
{
    ASSERT_EQ(SetKey(decryptor_.get(), ToPem(key_, PemForm::Pkcs8)), 1);
    MsgPtr msg = Recognition(Encrypt(key_, PLATE));
    ASSERT_EQ(PXRMsgSetReadOnly(msg.get(), 0), 1);
    EXPECT_EQ(PXRPToolPlateDecryptorDecrypt(decryptor_.get(), msg.get(), nullptr), 1);
    EXPECT_EQ(AttributeOf(msg.get(), "decision", "plate"), PLATE);
    EXPECT_EQ(PXRMsgIsReadOnly(msg.get()), 0);
}

// ---- setting and removing keys ----

TEST_F(Decryptor, RefusedKeysLeaveTheKeyInUse)
{
    ASSERT_EQ(SetKey(decryptor_.get(), ToPem(key_, PemForm::Pkcs8)), 1);
    KeyPtr ecKey(EVP_EC_gen("P-256"));
    struct Case {
        const char *label;
        std::string pem;
        const char *passPhrase;
        const char *reason;  // part of OpenSSL's text
    } cases[] = {
        {"wrong pass phrase", ToPem(otherKey_, PemForm::Pkcs8, PASS_PHRASE), "wrong", "error:"},
        {"wrong pass phrase, traditional", ToPem(otherKey_, PemForm::Traditional, PASS_PHRASE), "wrong", "error:"},
        {"no pass phrase for a protected key", ToPem(otherKey_, PemForm::Pkcs8, PASS_PHRASE), nullptr, "error:"},
        {"not an RSA key", ToPem(ecKey.get(), PemForm::Pkcs8), nullptr, "expecting an rsa key"},
        {"not PEM", "-----BEGIN NOTHING-----\nAAAA\n", nullptr, "error:"},
        {"empty", "", nullptr, "error:"},
    };
    const std::string crypted = Encrypt(key_, PLATE);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(SetKey(decryptor_.get(), c.pem, c.passPhrase), 0);
        EXPECT_NE(LastError().find(c.reason), std::string::npos) << LastError();
        EXPECT_EQ(PXRPToolPlateDecryptorHasKey(decryptor_.get()), 1);
        EXPECT_EQ(Run(crypted), std::make_pair(1, std::string(PLATE)));
    }
}

TEST_F(Decryptor, NoDataRemovesTheKey)
{
    ASSERT_EQ(SetKey(decryptor_.get(), ToPem(key_, PemForm::Pkcs8)), 1);
    EXPECT_EQ(PXRPToolPlateDecryptorSetKey(decryptor_.get(), nullptr, 0, nullptr), 1);
    EXPECT_EQ(PXRPToolPlateDecryptorHasKey(decryptor_.get()), 0);
    EXPECT_EQ(Run(Encrypt(key_, PLATE)), std::make_pair(0, std::string("[CRYPTED]")));
}

TEST_F(Decryptor, NullDecryptorIsRefused)
{
    MsgPtr msg = Recognition(Encrypt(key_, PLATE));
    EXPECT_EQ(PXRPToolPlateDecryptorSetKey(nullptr, nullptr, 0, nullptr), 0);
    EXPECT_EQ(PXRPToolPlateDecryptorHasKey(nullptr), 0);
    EXPECT_EQ(PXRPToolPlateDecryptorDecrypt(nullptr, msg.get(), nullptr), 0);
    EXPECT_STREQ(PXRPToolPlateDecryptorLastError(nullptr), "");
    PXRPToolPlateDecryptorDestroy(nullptr);
}

// OpenSSL's own fallback for a protected key without pass phrase asks for one on the
// controlling terminal, which blocks a program started from a shell. The key is loaded here in
// a child whose controlling terminal the test holds: nothing may be asked there.
TEST_F(Decryptor, ProtectedKeyWithoutPassPhraseIsNeverAskedForOnTheTerminal)
{
    const std::string pem = ToPem(otherKey_, PemForm::Pkcs8, PASS_PHRASE);
    int terminal = -1;
    pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_NE(child, -1);
    if (child == 0) {
        PXRPToolPlateDecryptor *decryptor = PXRPToolPlateDecryptorCreate();
        int result = SetKey(decryptor, pem);
        _exit(result == 0 && !PXRPToolPlateDecryptorHasKey(decryptor) ? 0 : 1);
    }
    std::string shown;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    bool answered = false;
    for (;;) {
        int left = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count());
        pollfd fd{terminal, POLLIN, 0};
        if (left <= 0 || poll(&fd, 1, left) <= 0)
            break;
        char bytes[256];
        ssize_t count = read(terminal, bytes, sizeof(bytes));
        if (count <= 0)
            break;  // the child has ended
        shown.append(bytes, static_cast<size_t>(count));
        if (!answered && shown.find("phrase") != std::string::npos) {
            answered = true;  // let a child that asks finish, so the test fails rather than hangs
            ASSERT_GT(write(terminal, "wrong\n", 6), 0);
        }
    }
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == 0)
        kill(child, SIGKILL);
    waitpid(child, &status, 0);
    close(terminal);
    EXPECT_EQ(shown.find("phrase"), std::string::npos) << "asked on the terminal: " << shown;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the key should have been refused";
}

// ---- Base64 ----

struct Base64Case {
    const char *text;
    bool decodable;
    std::string bytes;
};

void PrintTo(const Base64Case &c, std::ostream *os)
{
    *os << '"' << c.text << '"';
}

class PlateBase64 : public ::testing::TestWithParam<Base64Case> {};

TEST_P(PlateBase64, DecodesStandardBase64UpToTheEnd)
{
    const Base64Case &c = GetParam();
    size_t length = strlen(c.text);
    std::vector<uint8_t> out(PXRPTool_base64MaxSize(length));
    size_t outLength = 99;
    ASSERT_EQ(PXRPTool_base64Decode(c.text, length, out.data(), &outLength), c.decodable ? 1 : 0);
    if (c.decodable) {
        EXPECT_EQ(std::string(reinterpret_cast<char *>(out.data()), outLength), c.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PlateBase64,
    ::testing::Values(Base64Case{"TWFu", true, "Man"}, Base64Case{"TWE=", true, "Ma"}, Base64Case{"TQ==", true, "M"},
                      Base64Case{"TWFuTWE=", true, "ManMa"}, Base64Case{"TWFu=ignored", true, "Man"},
                      Base64Case{"", true, ""}, Base64Case{"=", true, ""}, Base64Case{"+/+/", true, "\xFB\xFF\xBF"},
                      Base64Case{"TWFuTQ", false, ""}, Base64Case{"TWF", false, ""}, Base64Case{"T===", false, ""},
                      Base64Case{"TW\xC3\xA9", false, ""}),
    [](const auto &info) { return "Case" + std::to_string(info.index); });

}  // namespace
