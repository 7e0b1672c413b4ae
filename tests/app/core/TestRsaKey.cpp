// A PEM RSA private key made at test time, locked with a pass phrase.
#include "CoreTestSupport.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

QByteArray testRsaKey(const QByteArray &passPhrase)
{
    static EVP_PKEY *key = EVP_RSA_gen(2048);
    BIO *bio = BIO_new(BIO_s_mem());
    const EVP_CIPHER *cipher = passPhrase.isEmpty() ? nullptr : EVP_aes_256_cbc();
    PEM_write_bio_PrivateKey(bio, key, cipher, reinterpret_cast<const unsigned char *>(passPhrase.constData()),
                             int(passPhrase.size()), nullptr, nullptr);
    char *data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    const QByteArray pem(data, length);
    BIO_free(bio);
    return pem;
}
