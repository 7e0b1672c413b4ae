/* The socket record and the helpers shared by the TCP, UDP, TLS and store modules. */
#ifndef NET_INTERNAL_H
#define NET_INTERNAL_H

#include "SA_Internal.h"
#include "NetPlatform.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ssl_ctx_st SSL_CTX;
typedef struct ssl_st SSL;
typedef struct x509_store_st X509_STORE;
typedef struct X509_name_st X509_NAME;

struct SA_SocketRec {
    SA_OsSocket iSocket;
    SA_SocketCancelCallback rCancel;
    void *pCancelArgument;
    SSL_CTX *psSslCtx;
    SSL *psSsl;
    uint32_t u32IgnoreMask;
    uint32_t u32VerifyFlags;
};

/* What a read or write that moved nothing asks for next. */
enum SA_IoWait { SA_IO_WAIT_READ, SA_IO_WAIT_WRITE, SA_IO_WAIT_BOTH, SA_IO_RETRY, SA_IO_FAILED };

/* A zeroed record with no platform socket yet, or null. */
SA_Socket SA_NewSocketRecord(void);
/* Stores the record in the caller's variable on success, else closes it; returns the result. */
int SA_KeepOrCloseSocket(int iResult, SA_Socket psSocket, SA_Socket *ppsSocket);
/* Remaining ms of a time-out started at the tick; 0 when over; SA_INFINITE stays. */
uint32_t SA_RemainingTime(uint32_t u32StartTick, uint32_t u32TimeoutMs);
/* One wait of at most 1000 ms within a time-out started at the tick: 0 go on, 1 time-out, -1 error. */
int SA_WaitSlice(SA_Socket psSocket, uint32_t u32StartTick, uint32_t u32TimeoutMs, enum SA_IoWait eWait);
/* Reports a missing address or socket variable of a connect: 0 or -1. */
int SA_CheckConnectArguments(const char *pcszRemoteAddr, SA_Socket *ppsSocket);
/* The TCP part of a connect, the time-out counted from the start tick: 0, 1 or -1; the
 * record is made in *ppsSocket whatever the result (null only when none could be made). */
int SA_ConnectTcpRecord(const char *pcszRemoteAddr, uint16_t u16Port, SA_Socket *ppsSocket,
                        const uint32_t *pu32SendBufferSize, const uint32_t *pu32ReceiveBufferSize,
                        uint32_t u32StartTick, uint32_t u32TimeoutMs, uint32_t u32KeepAliveMs,
                        char *pszHost, uint32_t u32HostSize);

/* TLS session I/O: bytes moved, or 0 with *peWait telling what to wait for. */
int32_t SA_TlsMove(SA_Socket psSocket, void *pBuffer, uint32_t u32Size, int bWrite, enum SA_IoWait *peWait);
/* Decrypted bytes ready: 0 with the count (0 when none yet), -1 closed or failed. */
int SA_TlsPending(SA_Socket psSocket, uint32_t *pu32Count, enum SA_IoWait *peWait);
/* The server side of a handshake on an accepted socket, using the listening socket's context. */
int SA_TlsAccept(SA_Socket psListening, SA_Socket psConnected, uint32_t u32StartTick, uint32_t u32TimeoutMs);
/* Frees the session and the context of a record. */
void SA_TlsFree(SA_Socket psSocket);
/* Starts the TLS library. */
int SA_TlsInit(void);

/* Trust store: the TLS library's default file and folder; 0 or -1. */
int SA_SSL_private_LoadX509Store(X509_STORE *store);
/* Looks for a currently valid certificate with its key issued by the named CA in the stores. */
int SA_SSL_private_FindClientCert(const X509_NAME *psIssuer, X509 **ppsCert, EVP_PKEY **ppsKey);
/* Client-certificate callback of the TLS library (session, certificate, key). */
int SA_SSL_private_ClientCertCallback(SSL *psSsl, X509 **ppsCert, EVP_PKEY **ppsKey);
/* Installs the revocation-list lookup with its HTTP download on a store. */
void SA_SSL_private_InstallCrlLookup(X509_STORE *store);

#ifdef __cplusplus
}
#endif

#endif
