/* The runtime's network layer: IPv4 TCP and UDP sockets with time-outs and a cancel
 * callback, and TLS client connections over OpenSSL with certificate stores.
 * Results are SA_OK, SA_TIMEOUT or SA_ERROR unless a comment says otherwise. */
#ifndef SA_NET_H
#define SA_NET_H

#include "SA_Core.h"

#ifdef __cplusplus
extern "C" {
#endif

/* OpenSSL's own certificate and key types; callers that use them include its headers. */
typedef struct x509_st X509;
typedef struct evp_pkey_st EVP_PKEY;

/* Record of every TCP, UDP and TLS connection. */
typedef struct SA_SocketRec *SA_Socket;

/* Polled during reads and writes: 0 goes on, any other value ends the operation with it. */
typedef int32_t (*SA_SocketCancelCallback)(SA_Socket psSocket, void *pArgument);

/* TLS verification problems: the verify flags a connect reports, and the ignore mask. */
#define SA_SSL_ERROR_NO_CRL 0x01u        /* revocation list unavailable */
#define SA_SSL_ERROR_NOT_YET_VALID 0x02u /* certificate or revocation list not yet valid */
#define SA_SSL_ERROR_EXPIRED 0x04u       /* certificate or revocation list expired */
#define SA_SSL_ERROR_UNTRUSTED 0x08u     /* self-signed, unknown issuer, chain too long */
#define SA_SSL_ERROR_PATH_LENGTH 0x10u   /* path length constraint exceeded */
#define SA_SSL_ERROR_REVOKED 0x20u       /* certificate revoked */
#define SA_SSL_ERROR_NOT_TRUSTED 0x40u   /* not trusted for this use, invalid (non-)CA */
#define SA_SSL_ERROR_HOST_MISMATCH 0x80u /* certificate not issued for the host or address */
#define SA_SSL_ERROR_OTHER 0x100u        /* any other verification error (bad signature...) */

/* Connects to "host" or "host_localaddress" within the time-out, keep-alive 30000 ms.
 * 0 with *ppsSocket set (caller closes it), 1 time-out, -1 error or refused. */
int SA_ConnectSocketTCPTimeout(const char *pcszRemoteAddr, uint16_t u16Port, SA_Socket *ppsSocket,
                               const uint32_t *pu32SendBufferSize, const uint32_t *pu32ReceiveBufferSize,
                               uint32_t u32TimeoutMs);
/* As SA_ConnectSocketTCPTimeout with a keep-alive time in ms (at least 30000). */
int SA_ConnectSocketTCPTimeoutEx(const char *pcszRemoteAddr, uint16_t u16Port, SA_Socket *ppsSocket,
                                 const uint32_t *pu32SendBufferSize, const uint32_t *pu32ReceiveBufferSize,
                                 uint32_t u32TimeoutMs, uint32_t u32KeepAliveMs);
/* Reads exactly the length (above 0); 0, 1 time-out, -1 error or closed, or the cancel value. */
int32_t SA_ReadSocketLength(SA_Socket psSocket, void *pBuffer, uint32_t u32SizeOfBuffer, uint32_t u32TimeoutMs);
/* Writes every byte; 0, 1 time-out, -1 error or closed, or the cancel value. */
int32_t SA_WriteSocketLength(SA_Socket psSocket, const void *pData, uint32_t u32Length, uint32_t u32TimeoutMs);
/* Waits for readable data: 0 with the byte count, 1 time-out, -1 error or closed. */
int SA_WaitForDataOnSocket(SA_Socket psSocket, uint32_t *pu32Count, uint32_t u32TimeoutMs);
/* Bytes waiting on the platform socket: 0 with the count, -1 on error. */
int SA_GetReadableBytesSocket(SA_Socket psSocket, uint32_t *pu32Count);
/* Waits until readable and/or writable: 0 ready, 1 time-out, -1 error. */
int SA_SelectSocket(SA_Socket psSocket, uint32_t u32TimeoutMs, int bRead, int bWrite);
/* Installs (or with null removes) the cancel callback and its argument. */
void SA_SetCancelCallbackSocket(SA_Socket psSocket, SA_SocketCancelCallback rCallback, void *pArgument);
/* Keep-alive probing sized to detect a dead peer in about the given ms: 1 done, 0 failed. */
int SA_SetKeepAliveSocket(SA_Socket psSocket, uint32_t u32KeepAliveMs);
/* Linger on close for the given seconds (0 with on: closing resets); 0 or -1. */
int SA_SetLingerSocket(SA_Socket psSocket, int bOn, uint32_t u32Seconds);
/* Switches blocking mode; always 0. */
int SA_SetBlockingSocket(SA_Socket psSocket, int bBlocking);
/* Ends any TLS session, shuts down and closes the socket, frees it, sets the variable null; 0. */
int SA_CloseSocket(SA_Socket *ppsSocket);

/* UDP socket bound to the local port, shareable with other listeners of that port;
 * optionally reports the largest datagram size. 0 with *ppsSocket set, or -1. */
int SA_CreateUnconnectedSocketUDPReuseAddr(SA_Socket *ppsSocket, uint16_t u16LocalPort,
                                           const uint32_t *pu32SendBufferSize,
                                           const uint32_t *pu32ReceiveBufferSize, uint32_t *pu32MaxDatagramSize);
/* Receives one datagram: 0 with its size in *pu32SizeOfBuffer (in: buffer size), 1 time-out,
 * -1 error, empty datagram or a datagram larger than the buffer. Sender text needs 16 bytes. */
int SA_ReadUnconnectedSocketUDP(SA_Socket psSocket, void *pBuffer, uint32_t *pu32SizeOfBuffer,
                                char *pszSenderAddr, uint16_t *pu16SenderPort, uint32_t u32TimeoutMs);

/* Listening TCP socket on every local address: 0 with *ppsSocket set, or -1. */
int SA_ServerInitializeConnectionTCP(uint16_t u16Port, SA_Socket *ppsSocket, const uint32_t *pu32SendSize,
                                     const uint32_t *pu32ReceiveSize);
/* Accepts one connection: 0 with the new socket (caller closes it), 1 time-out, -1 error.
 * The peer address text needs 16 bytes. */
int SA_WaitConnectionTCP(SA_Socket hSocket, uint32_t u32PeerAddrSize, SA_Socket *ppsConnectedSocket,
                         char *pszPeerAddr, uint32_t u32TimeoutMs);
/* As SA_WaitConnectionTCP, also giving the peer's port. */
int SA_WaitConnectionTCPEx(SA_Socket hSocket, uint32_t u32PeerAddrSize, SA_Socket *ppsConnectedSocket,
                           char *pszPeerAddr, uint16_t *pu16PeerPort, uint32_t u32TimeoutMs);

/* TLS connect within one time-out for connection and handshake; keep-alive 30000 ms.
 * 0 connected and verified, 1 time-out, -1 error or a problem outside the ignore mask.
 * *pu32VerifyFlags (may be null) gets the problems met. Certificate and key stay the caller's. */
int SA_ConnectSocketTCPsTimeout(const char *pcszRemoteAddr, uint16_t u16Port, SA_Socket *ppsSocket,
                                const uint32_t *pu32SendBufferSize, const uint32_t *pu32ReceiveBufferSize,
                                uint32_t u32TimeoutMs, uint32_t u32IgnoreMask, uint32_t *pu32VerifyFlags,
                                X509 *psClientCert, EVP_PKEY *psClientKey);
/* As SA_ConnectSocketTCPsTimeout with a keep-alive time in ms. */
int SA_ConnectSocketTCPsTimeoutEx(const char *pcszRemoteAddr, uint16_t u16Port, SA_Socket *ppsSocket,
                                  const uint32_t *pu32SendBufferSize, const uint32_t *pu32ReceiveBufferSize,
                                  uint32_t u32TimeoutMs, uint32_t u32IgnoreMask, uint32_t *pu32VerifyFlags,
                                  X509 *psClientCert, EVP_PKEY *psClientKey, uint32_t u32KeepAliveMs);
/* Reads one PEM certificate: 0 with *ppsX509 set (release with SA_FreeX509), or -1 with it null. */
int SA_PemToX509(const char *pcszPem, uint32_t u32Length, X509 **ppsX509);
/* Reads one unencrypted PEM private key: 0 with *ppsKey set (release with EVP_PKEY_free), or -1. */
int SA_PemToPKEY(const char *pcszPem, uint32_t u32Length, EVP_PKEY **ppsKey);
/* Releases a certificate (null accepted); always 1. */
int SA_FreeX509(X509 *psX509);

#ifdef __cplusplus
}
#endif

#endif
