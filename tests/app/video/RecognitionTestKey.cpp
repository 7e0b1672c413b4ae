// A plate encrypted as a sensor does: RSA with PKCS#1 v1.5 padding under the public half of the
// test key, in Base64.
#include "CoreTestSupport.h"
#include "RecognitionTestSupport.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

namespace recotest {

CryptedPlate encryptWithTestKey(const std::string &plate)
{
    CryptedPlate result{testRsaKey(QByteArray()), {}};
    BIO *bio = BIO_new_mem_buf(result.pem.constData(), int(result.pem.size()));
    EVP_PKEY *key = PEM_read_bio_PrivateKey(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    EVP_PKEY_CTX *context = EVP_PKEY_CTX_new(key, nullptr);
    std::vector<unsigned char> cipher(size_t(EVP_PKEY_get_size(key)));
    size_t length = cipher.size();
    const bool encrypted = EVP_PKEY_encrypt_init(context) > 0 &&
                           EVP_PKEY_CTX_set_rsa_padding(context, RSA_PKCS1_PADDING) > 0 &&
                           EVP_PKEY_encrypt(context, cipher.data(), &length,
                                            reinterpret_cast<const unsigned char *>(plate.data()), plate.size()) > 0;
    EXPECT_TRUE(encrypted);
    EVP_PKEY_CTX_free(context);
    EVP_PKEY_free(key);
    result.crypted = QByteArray(reinterpret_cast<const char *>(cipher.data()), qsizetype(length)).toBase64().toStdString();
    return result;
}

} // namespace recotest
