/* The plate decryptor: holds the operator's RSA private key and writes the clear plate of a
 * recognition's encrypted plateCrypted back into the message as its plate. */
#include "PXRPTool_Internal.h"

#include "SA_Core.h"

#include <limits.h>
#include <string.h>

#include <openssl/bio.h>
#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

struct PXRPToolPlateDecryptor {
    char aszErrorText[PXRPTOOL_ERROR_TEXT_SIZE];
    EVP_PKEY *psKey;
};

namespace {

void setError(PXRPToolPlateDecryptor *psDecryptor, const char *pcszText)
{
    snprintf(psDecryptor->aszErrorText, sizeof(psDecryptor->aszErrorText), "%s", pcszText);
}

/* OpenSSL's description of the first error it queued; the rest of the queue is dropped. */
void setOpenSslError(PXRPToolPlateDecryptor *psDecryptor)
{
    unsigned long ulCode = ERR_get_error();
    if (ulCode == 0)
        setError(psDecryptor, "Unknown cryptographic error");
    else
        ERR_error_string_n(ulCode, psDecryptor->aszErrorText, sizeof(psDecryptor->aszErrorText));
    ERR_clear_error();
}

/* Hands OpenSSL the caller's pass phrase. Without one it fails rather than letting OpenSSL
 * ask for it on the terminal, which would block the program. */
int passPhrase(char *pszBuffer, int iSize, int, void *pUser)
{
    const char *pcszPassPhrase = static_cast<const char *>(pUser);
    if (!pcszPassPhrase)
        return -1;
    size_t uLength = strlen(pcszPassPhrase);
    if (uLength > static_cast<size_t>(iSize))
        return -1;
    memcpy(pszBuffer, pcszPassPhrase, uLength);
    return static_cast<int>(uLength);
}

EVP_PKEY *readKey(PXRPToolPlateDecryptor *psDecryptor, const void *pData, uint32_t u32Length,
                  const char *pcszPassPhrase)
{
    if (u32Length > INT_MAX) {
        setError(psDecryptor, "Key data too long");
        return nullptr;
    }
    ERR_clear_error();
    BIO *psBio = BIO_new_mem_buf(pData, static_cast<int>(u32Length));
    EVP_PKEY *psKey = psBio ? PEM_read_bio_PrivateKey(psBio, nullptr, passPhrase, const_cast<char *>(pcszPassPhrase))
                            : nullptr;
    BIO_free(psBio);
    if (psKey && !EVP_PKEY_is_a(psKey, "RSA")) {
        EVP_PKEY_free(psKey);
        psKey = nullptr;
        ERR_raise(ERR_LIB_EVP, EVP_R_EXPECTING_AN_RSA_KEY);
    }
    if (!psKey)
        setOpenSslError(psDecryptor);
    return psKey;
}

/* The decoded bytes of the plateCrypted text (empty when it is not decodable), or null when
 * memory ran out. The caller frees them. */
uint8_t *cipherOf(const char *pcszCrypted, size_t *puLength)
{
    size_t uTextLength = strlen(pcszCrypted);
    size_t uCapacity = PXRPTool_base64MaxSize(uTextLength);
    uint8_t *pu8Cipher = uCapacity > UINT32_MAX ? nullptr : static_cast<uint8_t *>(SA_Malloc(static_cast<uint32_t>(uCapacity)));
    if (pu8Cipher && !PXRPTool_base64Decode(pcszCrypted, uTextLength, pu8Cipher, puLength))
        *puLength = 0;
    return pu8Cipher;
}

/* Decrypts with PKCS#1 v1.5 padding into pszPlate (room for the key size and a zero); 1 on
 * success, 0 with the error text set. */
int decryptInto(PXRPToolPlateDecryptor *psDecryptor, const uint8_t *pu8Cipher, size_t uCipherLength,
                char *pszPlate, size_t uPlateCapacity)
{
    EVP_PKEY_CTX *psContext = EVP_PKEY_CTX_new(psDecryptor->psKey, nullptr);
    /* Newer OpenSSL answers a bad padding with random bytes instead of an error; a wrong
     * plate must show as undecryptable, so that is switched off where it exists. */
    unsigned int uImplicitRejection = 0;
    OSSL_PARAM asParams[] = {OSSL_PARAM_construct_uint("implicit-rejection", &uImplicitRejection),
                             OSSL_PARAM_construct_end()};
    size_t uPlateLength = uPlateCapacity - 1;
    bool bOk = psContext && EVP_PKEY_decrypt_init(psContext) > 0 &&
               EVP_PKEY_CTX_set_rsa_padding(psContext, RSA_PKCS1_PADDING) > 0;
    if (bOk) {
        EVP_PKEY_CTX_set_params(psContext, asParams);
        bOk = EVP_PKEY_decrypt(psContext, reinterpret_cast<unsigned char *>(pszPlate), &uPlateLength, pu8Cipher,
                               uCipherLength) > 0;
    }
    EVP_PKEY_CTX_free(psContext);
    if (!bOk) {
        setOpenSslError(psDecryptor);
        return 0;
    }
    pszPlate[uPlateLength] = '\0';
    return 1;
}

/* The clear plate into pszPlate, or 0 with the error text set. */
int decryptPlate(PXRPToolPlateDecryptor *psDecryptor, const char *pcszCrypted, char *pszPlate, size_t uPlateCapacity)
{
    size_t uCipherLength = 0;
    uint8_t *pu8Cipher = cipherOf(pcszCrypted, &uCipherLength);
    if (!pu8Cipher) {
        setError(psDecryptor, "Out of memory");
        return 0;
    }
    int iOk = decryptInto(psDecryptor, pu8Cipher, uCipherLength, pszPlate, uPlateCapacity);
    SA_Free(&pu8Cipher);
    return iOk;
}

/* Sets the plate of the decision: the clear text, or the replacement when there is none. */
int writePlate(PXRPToolPlateDecryptor *psDecryptor, PXRMsgElement *psDecision, const char *pcszCrypted,
               const char *pcszReplacement)
{
    if (!psDecryptor->psKey) {
        setError(psDecryptor, "No key has been provided");
        PXRMsgElementSetAttribute(psDecision, "plate", pcszReplacement);
        return 0;
    }
    size_t uPlateCapacity = static_cast<size_t>(EVP_PKEY_get_size(psDecryptor->psKey)) + 1;
    char *pszPlate = static_cast<char *>(SA_Malloc(static_cast<uint32_t>(uPlateCapacity)));
    int iOk = 0;
    if (!pszPlate)
        setError(psDecryptor, "Out of memory");
    else
        iOk = decryptPlate(psDecryptor, pcszCrypted, pszPlate, uPlateCapacity);
    PXRMsgElementSetAttribute(psDecision, "plate", iOk ? pszPlate : pcszReplacement);
    SA_Free(&pszPlate);
    return iOk;
}

} // namespace

extern "C" {

PXRPToolPlateDecryptor *PXRPToolPlateDecryptorCreate(void)
{
    return static_cast<PXRPToolPlateDecryptor *>(SA_Calloc(1, sizeof(PXRPToolPlateDecryptor)));
}

void PXRPToolPlateDecryptorDestroy(PXRPToolPlateDecryptor *psDecryptor)
{
    if (!psDecryptor)
        return;
    EVP_PKEY_free(psDecryptor->psKey);
    SA_Free(&psDecryptor);
}

int PXRPToolPlateDecryptorSetKey(PXRPToolPlateDecryptor *psDecryptor, const void *pData, uint32_t u32Length,
                                 const char *pcszPassPhrase)
{
    if (!psDecryptor)
        return 0;
    psDecryptor->aszErrorText[0] = '\0';
    EVP_PKEY *psKey = nullptr;
    if (pData && !(psKey = readKey(psDecryptor, pData, u32Length, pcszPassPhrase)))
        return 0;
    EVP_PKEY_free(psDecryptor->psKey);
    psDecryptor->psKey = psKey;
    return 1;
}

int PXRPToolPlateDecryptorHasKey(PXRPToolPlateDecryptor *psDecryptor)
{
    return psDecryptor && psDecryptor->psKey ? 1 : 0;
}

const char *PXRPToolPlateDecryptorLastError(PXRPToolPlateDecryptor *psDecryptor)
{
    return psDecryptor ? psDecryptor->aszErrorText : "";
}

int PXRPToolPlateDecryptorDecrypt(PXRPToolPlateDecryptor *psDecryptor, PXRMsg *psMsg, const char *pcszReplacement)
{
    if (!psDecryptor)
        return 0;
    psDecryptor->aszErrorText[0] = '\0';
    PXRMsgElement *psDecision = PXRMsgElementFirstChild(PXRMsgChild(psMsg), "decision");
    const char *pcszCrypted = PXRMsgElementAttributeValue(psDecision, "plateCrypted");
    if (!psDecision || PXRMsgElementAttributeValue(psDecision, "plate") || !pcszCrypted)
        return 1;
    /* Received messages are read-only; one shared with another holder stays untouched. */
    int iReadOnly = PXRMsgIsReadOnly(psMsg);
    if (iReadOnly && !PXRMsgSetReadOnly(psMsg, 0)) {
        setError(psDecryptor, "Unable to write in PXRMsg");
        return 0;
    }
    int iOk = writePlate(psDecryptor, psDecision, pcszCrypted,
                         pcszReplacement ? pcszReplacement : PXRPTOOL_DEFAULT_CRYPTED_TEXT);
    if (iReadOnly)
        PXRMsgSetReadOnly(psMsg, 1);
    return iOk;
}

} // extern "C"
