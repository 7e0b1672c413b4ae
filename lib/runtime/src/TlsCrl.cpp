/* Revocation lists for the TLS verification: looked up from the peer certificate's
 * distribution points and downloaded over plain HTTP. */
#include "NetInternal.h"

#include <openssl/err.h>
#include <openssl/x509v3.h>
#include <string.h>

/* Shorter URIs cannot hold a usable address. */
static const int kMinUriLength = 7;
/* One second at least: OpenSSL sets the deadline on the wall clock's whole seconds, so a time-out
 * of 1 could end a download started late in a second almost at once. */
static const int kDownloadTimeoutSeconds = 2;

/* The first plain-HTTP URI of one distribution point's full name, copied into the buffer. */
static int HttpUriOf(const DIST_POINT *psPoint, char *pszUri, size_t uSize)
{
    if (psPoint->distpoint == nullptr || psPoint->distpoint->type != 0)
        return 0;
    const GENERAL_NAMES *psNames = psPoint->distpoint->name.fullname;
    for (int i = 0; i < sk_GENERAL_NAME_num(psNames); i++) {
        int iType = 0;
        const ASN1_STRING *psUri =
            static_cast<const ASN1_STRING *>(GENERAL_NAME_get0_value(sk_GENERAL_NAME_value(psNames, i), &iType));
        if (iType != GEN_URI || psUri == nullptr || ASN1_STRING_length(psUri) < kMinUriLength)
            continue;
        size_t uLength = static_cast<size_t>(ASN1_STRING_length(psUri));
        const unsigned char *pu8Data = ASN1_STRING_get0_data(psUri);
        /* A URI with an embedded zero or too long for the buffer is not a usable text. */
        if (uLength >= uSize || memchr(pu8Data, 0, uLength) != nullptr)
            continue;
        if (strncmp(reinterpret_cast<const char *>(pu8Data), "http://", 7) != 0)
            continue;
        memcpy(pszUri, pu8Data, uLength);
        pszUri[uLength] = '\0';
        return 1;
    }
    return 0;
}

/* Downloads from the first plain-HTTP URI of the points; no further URI is tried. */
static X509_CRL *SA_SSL_private_DownloadCRL(const STACK_OF(DIST_POINT) * psPoints)
{
    char aszUri[2048];
    for (int i = 0; i < sk_DIST_POINT_num(psPoints); i++) {
        if (!HttpUriOf(sk_DIST_POINT_value(psPoints, i), aszUri, sizeof(aszUri)))
            continue;
        SA_Log("Load CRL at %s", aszUri);
        X509_CRL *psCrl = X509_CRL_load_http(aszUri, nullptr, nullptr, kDownloadTimeoutSeconds);
        SA_Log(psCrl != nullptr ? "CRL download succeed" : "CRL download failed");
        ERR_clear_error();
        return psCrl;
    }
    return nullptr;
}

static X509_CRL *DownloadFromExtension(X509 *psCert, int iNid)
{
    STACK_OF(DIST_POINT) *psPoints =
        static_cast<STACK_OF(DIST_POINT) *>(X509_get_ext_d2i(psCert, iNid, nullptr, nullptr));
    if (psPoints == nullptr)
        return nullptr;
    X509_CRL *psCrl = SA_SSL_private_DownloadCRL(psPoints);
    sk_DIST_POINT_pop_free(psPoints, DIST_POINT_free);
    return psCrl;
}

/* No list at all makes the verification report that none could be had. */
static STACK_OF(X509_CRL) * SA_SSL_private_LookupCRLs(const X509_STORE_CTX *psCtx, const X509_NAME *)
{
    X509 *psCert = X509_STORE_CTX_get_current_cert(psCtx);
    if (psCert == nullptr)
        return nullptr;
    X509_CRL *psCrl = DownloadFromExtension(psCert, NID_crl_distribution_points);
    if (psCrl == nullptr)
        return nullptr;
    STACK_OF(X509_CRL) *psList = sk_X509_CRL_new_null();
    if (psList == nullptr || sk_X509_CRL_push(psList, psCrl) == 0) {
        X509_CRL_free(psCrl);
        sk_X509_CRL_free(psList);
        return nullptr;
    }
    X509_CRL *psDelta = DownloadFromExtension(psCert, NID_freshest_crl);
    if (psDelta != nullptr && sk_X509_CRL_push(psList, psDelta) == 0)
        X509_CRL_free(psDelta);
    return psList;
}

extern "C" void SA_SSL_private_InstallCrlLookup(X509_STORE *store)
{
    X509_STORE_set_lookup_crls(store, SA_SSL_private_LookupCRLs);
}
