// AES checked against the FIPS-197 example vectors and against OpenSSL's AES-ECB.
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstring>
#include <vector>

#include "SA.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes fromHex(const char *pcszHex)
{
    Bytes out;
    for (size_t i = 0; pcszHex[i] && pcszHex[i + 1]; i += 2) {
        char acPair[3] = {pcszHex[i], pcszHex[i + 1], 0};
        out.push_back((uint8_t)strtoul(acPair, nullptr, 16));
    }
    return out;
}

Bytes randomBytes(size_t n)
{
    Bytes out(n);
    if (n) {
        EXPECT_EQ(RAND_bytes(out.data(), (int)n), 1);
    }
    return out;
}

const EVP_CIPHER *opensslCipher(size_t keyBytes)
{
    return keyBytes == 16 ? EVP_aes_128_ecb() : keyBytes == 24 ? EVP_aes_192_ecb() : EVP_aes_256_ecb();
}

// Reference ECB without padding; the input is a whole number of blocks.
Bytes opensslEcb(const Bytes &key, const Bytes &in, bool encrypt)
{
    Bytes out(in.size() + 16);
    EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
    int len = 0, tail = 0;
    EXPECT_EQ(EVP_CipherInit_ex(ctx, opensslCipher(key.size()), nullptr, key.data(), nullptr, encrypt), 1);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    EXPECT_EQ(EVP_CipherUpdate(ctx, out.data(), &len, in.data(), (int)in.size()), 1);
    EXPECT_EQ(EVP_CipherFinal_ex(ctx, out.data() + len, &tail), 1);
    EVP_CIPHER_CTX_free(ctx);
    out.resize((size_t)(len + tail));
    return out;
}

class Aes : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SA_Init(0, 0, -1), SA_OK); }
    void TearDown() override { SA_Release(); }
};

struct Fips197Case {
    int32_t nk;
    const char *key;
    const char *cipher;
};

TEST_F(Aes, MatchesFips197ExampleVectorsBothWays)
{
    const char *plain = "00112233445566778899aabbccddeeff";
    const Fips197Case cases[] = {
        {4, "000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {6, "000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {8, "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
         "8ea2b7ca516745bfeafc49904b496089"},
    };
    for (const Fips197Case &c : cases) {
        SCOPED_TRACE(c.nk);
        Bytes key = fromHex(c.key), in = fromHex(plain), expected = fromHex(c.cipher);
        AES_Handle h = AES_CreateHandle(key.data(), c.nk);
        ASSERT_NE(h, nullptr);
        uint8_t out[16], back[16];
        AES_EncryptBlock(h, in.data(), out);
        EXPECT_EQ(Bytes(out, out + 16), expected);
        AES_DecryptBlock(h, out, back);
        EXPECT_EQ(Bytes(back, back + 16), in);
        AES_ReleaseHandle(&h);
        EXPECT_EQ(h, nullptr);
    }
}

TEST_F(Aes, BuffersMatchOpenSslEcbOnRandomKeysAndData)
{
    const size_t sizes[] = {16, 32, 160, 4096, 65536};
    for (int32_t nk : {4, 6, 8}) {
        for (int round = 0; round < 8; round++) {
            size_t size = sizes[round % 5];
            SCOPED_TRACE(testing::Message() << "nk " << nk << " size " << size);
            Bytes key = randomBytes(4 * (size_t)nk), plain = randomBytes(size);
            AES_Handle h = AES_CreateHandle(key.data(), nk);
            ASSERT_NE(h, nullptr);
            Bytes cipher(size), back(size);
            ASSERT_EQ(AES_EncryptBuffer(h, plain.data(), cipher.data(), (uint32_t)size), SA_OK);
            EXPECT_EQ(cipher, opensslEcb(key, plain, true));
            Bytes foreign = randomBytes(size);
            ASSERT_EQ(AES_DecryptBuffer(h, foreign.data(), back.data(), (uint32_t)size), SA_OK);
            EXPECT_EQ(back, opensslEcb(key, foreign, false));
            AES_ReleaseHandle(&h);
        }
    }
}

TEST_F(Aes, ShortTailIsZeroFilledIntoAWholeBlock)
{
    Bytes key = randomBytes(32), plain = randomBytes(20);
    AES_Handle h = AES_CreateHandle(key.data(), 8);
    ASSERT_NE(h, nullptr);
    Bytes cipher(33, 0xEE);
    ASSERT_EQ(AES_EncryptBuffer(h, plain.data(), cipher.data(), 20), SA_OK);
    EXPECT_EQ(cipher[32], 0xEE) << "wrote past AES_RoundUpToBlock(20)";
    cipher.resize(32);
    Bytes padded = plain;
    padded.resize(32, 0);
    EXPECT_EQ(cipher, opensslEcb(key, padded, true));

    Bytes back(32);
    ASSERT_EQ(AES_DecryptBuffer(h, cipher.data(), back.data(), 32), SA_OK);
    EXPECT_EQ(back, padded);
    AES_ReleaseHandle(&h);
}

TEST_F(Aes, DecryptRefusesAPartialBlockInsteadOfReadingPastTheBuffer)
{
    AES_Handle h = AES_CreateDefaultHandle();
    ASSERT_NE(h, nullptr);
    // The exact-size heap buffer lets the sanitizer build catch any read past it.
    for (uint32_t length : {1u, 15u, 20u, 31u}) {
        SCOPED_TRACE(length);
        std::vector<uint8_t> in(length, 0x5A);
        Bytes out(length, 0xEE);
        EXPECT_EQ(AES_DecryptBuffer(h, in.data(), out.data(), length), SA_ERROR);
        EXPECT_EQ(out, Bytes(length, 0xEE));
    }
    AES_ReleaseHandle(&h);
}

TEST_F(Aes, RoundUpToBlockGivesTheNextMultipleOf16)
{
    const uint32_t cases[][2] = {{0, 0}, {1, 16}, {15, 16}, {16, 16}, {17, 32}, {32, 32}, {33, 48}};
    for (const auto &c : cases)
        EXPECT_EQ(AES_RoundUpToBlock(c[0]), c[1]) << c[0];
}

TEST_F(Aes, InPlaceGivesTheSameBytesAsSeparateBuffers)
{
    AES_Handle h = AES_CreateDefaultHandle();
    ASSERT_NE(h, nullptr);
    Bytes plain = randomBytes(37), separate(48);
    ASSERT_EQ(AES_EncryptBuffer(h, plain.data(), separate.data(), 37), SA_OK);
    Bytes inPlace = plain;
    inPlace.resize(48);
    ASSERT_EQ(AES_EncryptBuffer(h, inPlace.data(), inPlace.data(), 37), SA_OK);
    EXPECT_EQ(inPlace, separate);
    ASSERT_EQ(AES_DecryptBuffer(h, inPlace.data(), inPlace.data(), 48), SA_OK);
    inPlace.resize(37);
    EXPECT_EQ(inPlace, plain);
    AES_ReleaseHandle(&h);
}

TEST_F(Aes, BuiltInKeyIsStableAcrossHandlesAndRestarts)
{
    Bytes plain = randomBytes(64), first(64), second(64), afterRestart(64);
    AES_Handle a = AES_CreateDefaultHandle();
    AES_Handle b = AES_CreateHandle(nullptr, 4);  // a null key always means the 256-bit built-in key
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    AES_EncryptBuffer(a, plain.data(), first.data(), 64);
    AES_EncryptBuffer(b, plain.data(), second.data(), 64);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, plain);
    AES_ReleaseHandle(&a);
    AES_ReleaseHandle(&b);

    SA_Release();
    ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
    a = AES_CreateDefaultHandle();
    ASSERT_NE(a, nullptr);
    AES_EncryptBuffer(a, plain.data(), afterRestart.data(), 64);
    EXPECT_EQ(afterRestart, first);
    AES_ReleaseHandle(&a);
}

TEST_F(Aes, RefusesKeySizesOtherThan128192And256Bits)
{
    Bytes key = randomBytes(40);
    for (int32_t nk : {0, 3, 5, 7, 10})
        EXPECT_EQ(AES_CreateHandle(key.data(), nk), nullptr) << nk;
    AES_Handle h = nullptr;
    AES_ReleaseHandle(&h);
    AES_ReleaseHandle(nullptr);
}

}  // namespace
