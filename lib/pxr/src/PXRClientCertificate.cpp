/* The handle's TLS settings: the problem bits to accept, the bits the last handshake met,
 * and the client certificate with its key. */
#include "PXR_Internal.h"

#include <openssl/evp.h>

#include <cstdio>

namespace {

// Reads a whole PEM file of at most PXR_CERTIFICATE_FILE_MAX bytes into the buffer, which
// is terminated; null with the reason otherwise.
const char *readPemFile(const char *pcszPath, char *pszBuffer, uint32_t *pu32Length, const char *pcszOpenFailure,
                        const char *pcszTooBig)
{
    FILE *psFile = fopen(pcszPath, "rb");
    if (!psFile)
        return pcszOpenFailure;
    long lSize = -1;
    if (fseek(psFile, 0, SEEK_END) == 0)
        lSize = ftell(psFile);
    const char *pcszFailure = nullptr;
    if (lSize < 0 || fseek(psFile, 0, SEEK_SET) != 0)
        pcszFailure = pcszOpenFailure;
    else if (lSize > PXR_CERTIFICATE_FILE_MAX)
        pcszFailure = pcszTooBig;
    else if (fread(pszBuffer, 1, size_t(lSize), psFile) != size_t(lSize))
        pcszFailure = pcszOpenFailure;
    fclose(psFile);
    if (pcszFailure)
        return pcszFailure;
    pszBuffer[lSize] = '\0';
    *pu32Length = uint32_t(lSize);
    return nullptr;
}

} // namespace

extern "C" {

void PXR_freeClientCertificate(PXR *psPxr)
{
    SA_FreeX509(psPxr->psClientCert);
    psPxr->psClientCert = nullptr;
    EVP_PKEY_free(psPxr->psClientKey);
    psPxr->psClientKey = nullptr;
}

void PXRSetIgnoreSSLErrors(PXR *psPxr, uint32_t u32Mask)
{
    if (psPxr)
        SA_AtomicStoreU(&psPxr->u32IgnoreMask, u32Mask);
}

uint32_t PXRGetIgnoreSSLErrors(PXR *psPxr)
{
    return psPxr ? SA_AtomicLoadU(&psPxr->u32IgnoreMask) : 0;
}

uint32_t PXRGetSSLErrors(PXR *psPxr)
{
    return psPxr ? SA_AtomicLoadU(&psPxr->u32SslErrors) : 0;
}

// The TLS mutex keeps a connection thread's handshake from using a certificate being replaced.
int PXRUseClientCertificate(PXR *psPxr, const char *pcszCertificate, uint32_t u32CertificateLength,
                            const char *pcszKey, uint32_t u32KeyLength)
{
    if (!psPxr)
        return 0;
    PXR_clearHandleError(psPxr);
    SA_LockMutex(psPxr->hMutexTls);
    PXR_freeClientCertificate(psPxr);
    int bDone = 0;
    if (pcszCertificate && SA_PemToX509(pcszCertificate, u32CertificateLength, &psPxr->psClientCert) != SA_OK)
        PXR_setHandleError(psPxr, "Unable to load Certificate");
    else if (!pcszKey || SA_PemToPKEY(pcszKey, u32KeyLength, &psPxr->psClientKey) != SA_OK)
        PXR_setHandleError(psPxr, "Unable to load private Key");
    else
        bDone = 1;
    if (!bDone)
        PXR_freeClientCertificate(psPxr);
    SA_UnlockMutex(psPxr->hMutexTls);
    return bDone;
}

int PXRUseClientCertificateFile(PXR *psPxr, const char *pcszCertificateFile, const char *pcszKeyFile)
{
    if (!psPxr)
        return 0;
    PXR_clearHandleError(psPxr);
    static_assert(PXR_CERTIFICATE_FILE_MAX < 16384, "file buffers sized for the largest file");
    char aszCertificate[PXR_CERTIFICATE_FILE_MAX + 1];
    char aszKey[PXR_CERTIFICATE_FILE_MAX + 1];
    uint32_t u32CertificateLength = 0;
    uint32_t u32KeyLength = 0;
    const char *pcszFailure = nullptr;
    if (pcszCertificateFile)
        pcszFailure = readPemFile(pcszCertificateFile, aszCertificate, &u32CertificateLength,
                                  "Unable to open Cert file", "Cert file is too big");
    if (!pcszFailure && pcszKeyFile)
        pcszFailure = readPemFile(pcszKeyFile, aszKey, &u32KeyLength, "Unable to open Key file", "Key file is too big");
    if (pcszFailure) {
        PXR_setHandleError(psPxr, "%s", pcszFailure);
        return 0;
    }
    return PXRUseClientCertificate(psPxr, pcszCertificateFile ? aszCertificate : nullptr, u32CertificateLength,
                                   pcszKeyFile ? aszKey : nullptr, u32KeyLength);
}

} // extern "C"
