/* TLS client connections over OpenSSL: context set-up, the handshake within the connect's
 * time-out, the verification problem bits, session I/O and the PEM readers. */
#include "NetInternal.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <stdio.h>

static const uint32_t kDefaultKeepAliveMs = 30000;

struct SA_VerifyBit {
    int iError;
    uint32_t u32Bit;
};

static const SA_VerifyBit kVerifyBits[] = {
    {X509_V_ERR_UNABLE_TO_GET_CRL, SA_SSL_ERROR_NO_CRL},
    {X509_V_ERR_CERT_NOT_YET_VALID, SA_SSL_ERROR_NOT_YET_VALID},
    {X509_V_ERR_CRL_NOT_YET_VALID, SA_SSL_ERROR_NOT_YET_VALID},
    {X509_V_ERR_CERT_HAS_EXPIRED, SA_SSL_ERROR_EXPIRED},
    {X509_V_ERR_CRL_HAS_EXPIRED, SA_SSL_ERROR_EXPIRED},
    {X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT, SA_SSL_ERROR_UNTRUSTED},
    {X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN, SA_SSL_ERROR_UNTRUSTED},
    {X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY, SA_SSL_ERROR_UNTRUSTED},
    {X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE, SA_SSL_ERROR_UNTRUSTED},
    {X509_V_ERR_CERT_CHAIN_TOO_LONG, SA_SSL_ERROR_UNTRUSTED},
    {X509_V_ERR_PATH_LENGTH_EXCEEDED, SA_SSL_ERROR_PATH_LENGTH},
    {X509_V_ERR_CERT_REVOKED, SA_SSL_ERROR_REVOKED},
    {X509_V_ERR_CERT_UNTRUSTED, SA_SSL_ERROR_NOT_TRUSTED},
    {X509_V_ERR_INVALID_NON_CA, SA_SSL_ERROR_NOT_TRUSTED},
    {X509_V_ERR_INVALID_CA, SA_SSL_ERROR_NOT_TRUSTED},
    {X509_V_ERR_HOSTNAME_MISMATCH, SA_SSL_ERROR_HOST_MISMATCH},
    {X509_V_ERR_IP_ADDRESS_MISMATCH, SA_SSL_ERROR_HOST_MISMATCH},
};

/* Every error outside the table still counts, so a forged signature cannot pass unnoticed. */
static uint32_t VerifyBitOf(int iError)
{
    for (const SA_VerifyBit &sEntry : kVerifyBits)
        if (sEntry.iError == iError)
            return sEntry.u32Bit;
    return SA_SSL_ERROR_OTHER;
}

/* Records the problem and lets the handshake go on: the ignore mask decides afterwards. */
static int VerifyCallback(int iPreverifyOk, X509_STORE_CTX *psStoreCtx)
{
    if (iPreverifyOk)
        return 1;
    SSL *psSsl = static_cast<SSL *>(X509_STORE_CTX_get_ex_data(psStoreCtx, SSL_get_ex_data_X509_STORE_CTX_idx()));
    SA_Socket psSocket = psSsl != nullptr ? static_cast<SA_Socket>(SSL_get_app_data(psSsl)) : nullptr;
    if (psSocket != nullptr)
        psSocket->u32VerifyFlags |= VerifyBitOf(X509_STORE_CTX_get_error(psStoreCtx));
    return 1;
}

/* PEM texts are read without a pass phrase, and never by asking on a terminal. */
static int NoPassPhrase(char *, int, int, void *) { return 0; }

/* Reads one PEM object from the text with the given reader: 0, or -1 with *ppsObject null. */
template <typename T>
static int ReadPem(const char *pcszPem, uint32_t u32Length, T **ppsObject, T *(*rRead)(BIO *, T **, pem_password_cb *, void *))
{
    if (pcszPem == nullptr || ppsObject == nullptr || u32Length > INT32_MAX) {
        SA_ASSERT(0);
        return SA_ERROR;
    }
    BIO *psBio = BIO_new_mem_buf(pcszPem, static_cast<int>(u32Length));
    *ppsObject = psBio != nullptr ? rRead(psBio, nullptr, NoPassPhrase, nullptr) : nullptr;
    BIO_free(psBio);
    ERR_clear_error();
    return *ppsObject != nullptr ? SA_OK : SA_ERROR;
}

static enum SA_IoWait WaitOfSslError(int iError, int bWrite)
{
    switch (iError) {
    case SSL_ERROR_WANT_READ:
        return bWrite ? SA_IO_WAIT_BOTH : SA_IO_WAIT_READ;
    case SSL_ERROR_WANT_WRITE:
        return bWrite ? SA_IO_WAIT_WRITE : SA_IO_WAIT_BOTH;
    case SSL_ERROR_NONE:
        return SA_IO_RETRY;
    default:
        /* A close notification or an end of stream is a closed connection. */
        return SA_IO_FAILED;
    }
}

/* Drives SSL_connect or SSL_accept with waits of at most 1000 ms: 0, 1 or -1 (*piStatus: SSL error). */
static int RunHandshake(SA_Socket psSocket, int bServer, uint32_t u32StartTick, uint32_t u32TimeoutMs, int *piStatus)
{
    for (;;) {
        ERR_clear_error();
        int iResult = bServer ? SSL_accept(psSocket->psSsl) : SSL_connect(psSocket->psSsl);
        if (iResult == 1)
            return SA_OK;
        *piStatus = SSL_get_error(psSocket->psSsl, iResult);
        enum SA_IoWait eWait = *piStatus == SSL_ERROR_WANT_READ    ? SA_IO_WAIT_READ
                               : *piStatus == SSL_ERROR_WANT_WRITE ? SA_IO_WAIT_WRITE
                                                                   : SA_IO_FAILED;
        if (eWait == SA_IO_FAILED)
            return SA_ERROR;
        int iWait = SA_WaitSlice(psSocket, u32StartTick, u32TimeoutMs, eWait);
        if (iWait != SA_OK)
            return iWait;
    }
}

static void UseClientCertificate(SSL_CTX *psCtx, X509 *psCert, EVP_PKEY *psKey)
{
    if (psCert != nullptr && psKey != nullptr) {
        SA_Log("Using specified cert/key as client certificate");
        if (SSL_CTX_use_certificate(psCtx, psCert) != 1 || SSL_CTX_use_PrivateKey(psCtx, psKey) != 1 ||
            SSL_CTX_check_private_key(psCtx) != 1)
            SA_Log("WARNING private key is invalid");
        ERR_clear_error();
        return;
    }
    SSL_CTX_set_client_cert_cb(psCtx, SA_SSL_private_ClientCertCallback);
}

static SSL_CTX *NewClientContext(X509 *psCert, EVP_PKEY *psKey)
{
    SSL_CTX *psCtx = SSL_CTX_new(TLS_client_method());
    if (psCtx == nullptr)
        return nullptr;
    SSL_CTX_set_min_proto_version(psCtx, TLS1_2_VERSION);
    SSL_CTX_set_verify_depth(psCtx, 3);
    X509_STORE *psStore = SSL_CTX_get_cert_store(psCtx);
    SA_SSL_private_LoadX509Store(psStore);
    SA_SSL_private_InstallCrlLookup(psStore);
    X509_STORE_set_flags(psStore, X509_V_FLAG_CRL_CHECK);
    SSL_CTX_set_verify(psCtx, SSL_VERIFY_PEER, VerifyCallback);
    UseClientCertificate(psCtx, psCert, psKey);
    return psCtx;
}

/* The certificate must name the host we asked for, or the address when we dialled one. */
static int ExpectPeerName(SSL *psSsl, const char *pcszHost)
{
    X509_VERIFY_PARAM *psParam = SSL_get0_param(psSsl);
    uint32_t u32Addr = 0;
    if (SA_OsParseIPv4(pcszHost, &u32Addr) == 0)
        return X509_VERIFY_PARAM_set1_ip_asc(psParam, pcszHost) == 1 ? SA_OK : SA_ERROR;
    return X509_VERIFY_PARAM_set1_host(psParam, pcszHost, 0) == 1 ? SA_OK : SA_ERROR;
}

static int ClientHandshake(SA_Socket psSocket, const char *pcszHost, X509 *psCert, EVP_PKEY *psKey,
                           uint32_t u32StartTick, uint32_t u32TimeoutMs)
{
    psSocket->psSslCtx = NewClientContext(psCert, psKey);
    if (psSocket->psSslCtx == nullptr)
        return SA_ERROR;
    psSocket->u32VerifyFlags = 0;
    psSocket->psSsl = SSL_new(psSocket->psSslCtx);
    if (psSocket->psSsl == nullptr)
        return SA_ERROR;
    SSL_set_app_data(psSocket->psSsl, psSocket);
    if (SSL_set_fd(psSocket->psSsl, psSocket->iSocket) != 1 || ExpectPeerName(psSocket->psSsl, pcszHost) != SA_OK)
        return SA_ERROR;
    int iStatus = 0;
    int iResult = RunHandshake(psSocket, 0, u32StartTick, u32TimeoutMs, &iStatus);
    if (iResult != SA_OK)
        return iResult;
    return (psSocket->u32VerifyFlags & ~psSocket->u32IgnoreMask) != 0 ? SA_ERROR : SA_OK;
}

extern "C" {

int SA_TlsInit(void)
{
    uint64_t u64Options = OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS |
                          OPENSSL_INIT_ADD_ALL_CIPHERS | OPENSSL_INIT_ADD_ALL_DIGESTS;
    return OPENSSL_init_ssl(u64Options, nullptr) == 1 ? SA_OK : SA_ERROR;
}

void SA_TlsFree(SA_Socket psSocket)
{
    SSL_free(psSocket->psSsl);
    psSocket->psSsl = nullptr;
    SSL_CTX_free(psSocket->psSslCtx);
    psSocket->psSslCtx = nullptr;
}

int32_t SA_TlsMove(SA_Socket psSocket, void *pBuffer, uint32_t u32Size, int bWrite, enum SA_IoWait *peWait)
{
    size_t uMoved = 0;
    size_t uSize = u32Size > INT32_MAX ? INT32_MAX : u32Size;
    ERR_clear_error();
    int iResult = bWrite ? SSL_write_ex(psSocket->psSsl, pBuffer, uSize, &uMoved)
                         : SSL_read_ex(psSocket->psSsl, pBuffer, uSize, &uMoved);
    if (iResult == 1 && uMoved > 0)
        return static_cast<int32_t>(uMoved);
    *peWait = WaitOfSslError(SSL_get_error(psSocket->psSsl, iResult), bWrite);
    return 0;
}

int SA_TlsPending(SA_Socket psSocket, uint32_t *pu32Count, enum SA_IoWait *peWait)
{
    unsigned char u8Byte = 0;
    size_t uPeeked = 0;
    *pu32Count = 0;
    ERR_clear_error();
    int iResult = SSL_peek_ex(psSocket->psSsl, &u8Byte, 1, &uPeeked);
    if (iResult == 1 && uPeeked > 0) {
        int iPending = SSL_pending(psSocket->psSsl);
        *pu32Count = iPending > 0 ? static_cast<uint32_t>(iPending) : 1;
        return SA_OK;
    }
    *peWait = WaitOfSslError(SSL_get_error(psSocket->psSsl, iResult), 0);
    return *peWait == SA_IO_FAILED ? SA_ERROR : SA_OK;
}

int SA_TlsAccept(SA_Socket psListening, SA_Socket psConnected, uint32_t u32StartTick, uint32_t u32TimeoutMs)
{
    psConnected->psSsl = SSL_new(psListening->psSslCtx);
    if (psConnected->psSsl == nullptr || SSL_set_fd(psConnected->psSsl, psConnected->iSocket) != 1)
        return SA_ERROR;
    SSL_set_app_data(psConnected->psSsl, psConnected);
    int iStatus = 0;
    int iResult = RunHandshake(psConnected, 1, u32StartTick, u32TimeoutMs, &iStatus);
    if (iResult != SA_OK)
        printf("Error during SSL handshake,status:%d\n", iResult == SA_TIMEOUT ? SSL_ERROR_WANT_READ : iStatus);
    return iResult;
}

int SA_ConnectSocketTCPsTimeoutEx(const char *pcszRemoteAddr, uint16_t u16Port, SA_Socket *ppsSocket,
                                  const uint32_t *pu32SendBufferSize, const uint32_t *pu32ReceiveBufferSize,
                                  uint32_t u32TimeoutMs, uint32_t u32IgnoreMask, uint32_t *pu32VerifyFlags,
                                  X509 *psClientCert, EVP_PKEY *psClientKey, uint32_t u32KeepAliveMs)
{
    uint32_t u32Start = SA_GetTickMs();
    if (pu32VerifyFlags != nullptr)
        *pu32VerifyFlags = 0;
    if (SA_CheckConnectArguments(pcszRemoteAddr, ppsSocket) != SA_OK)
        return SA_ERROR;
    char aszHost[256];
    SA_Socket psSocket = nullptr;
    int iResult = SA_ConnectTcpRecord(pcszRemoteAddr, u16Port, &psSocket, pu32SendBufferSize, pu32ReceiveBufferSize,
                                      u32Start, u32TimeoutMs, u32KeepAliveMs, aszHost, sizeof(aszHost));
    if (iResult == SA_OK) {
        psSocket->u32IgnoreMask = u32IgnoreMask;
        iResult = ClientHandshake(psSocket, aszHost, psClientCert, psClientKey, u32Start, u32TimeoutMs);
    }
    if (pu32VerifyFlags != nullptr && psSocket != nullptr)
        *pu32VerifyFlags = psSocket->u32VerifyFlags;
    return SA_KeepOrCloseSocket(iResult, psSocket, ppsSocket);
}

int SA_ConnectSocketTCPsTimeout(const char *pcszRemoteAddr, uint16_t u16Port, SA_Socket *ppsSocket,
                                const uint32_t *pu32SendBufferSize, const uint32_t *pu32ReceiveBufferSize,
                                uint32_t u32TimeoutMs, uint32_t u32IgnoreMask, uint32_t *pu32VerifyFlags,
                                X509 *psClientCert, EVP_PKEY *psClientKey)
{
    return SA_ConnectSocketTCPsTimeoutEx(pcszRemoteAddr, u16Port, ppsSocket, pu32SendBufferSize,
                                         pu32ReceiveBufferSize, u32TimeoutMs, u32IgnoreMask, pu32VerifyFlags,
                                         psClientCert, psClientKey, kDefaultKeepAliveMs);
}

int SA_PemToX509(const char *pcszPem, uint32_t u32Length, X509 **ppsX509)
{
    return ReadPem(pcszPem, u32Length, ppsX509, PEM_read_bio_X509);
}

int SA_PemToPKEY(const char *pcszPem, uint32_t u32Length, EVP_PKEY **ppsKey)
{
    return ReadPem(pcszPem, u32Length, ppsKey, PEM_read_bio_PrivateKey);
}

int SA_FreeX509(X509 *psX509)
{
    X509_free(psX509);
    return 1;
}

} /* extern "C" */
