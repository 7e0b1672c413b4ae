/* Certificate stores: "ROOT" is the TLS library's default trust file and folder; "MY" and
 * "CA" are folders of PEM and PKCS#12 files, <data>/BZK/certs/<name> per user and
 * /etc/BZK/certs/<name> for the machine. Client certificates are looked up here by issuer. */
#include "NetInternal.h"

#include <ctype.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/ssl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Protects the in-memory hand-over of a found certificate and its key. */
static const char kExportPassword[] = "quillomar";
static const char *const kStoreNames[] = {"MY", "ROOT", "CA"};

/* One certificate of a store, with its private key when the store holds it. */
struct SA_CertEntry {
    SA_CertEntry *psNext;
    X509 *psCert;
    EVP_PKEY *psKey;
};

struct SA_CertStore {
    SA_CertEntry *psFirst;
};

static int NoPassPhrase(char *, int, int, void *) { return 0; }

static void AddEntry(SA_CertStore *psStore, X509 *psCert, EVP_PKEY *psKey)
{
    SA_CertEntry *psEntry = static_cast<SA_CertEntry *>(SA_Calloc(1, sizeof(SA_CertEntry)));
    if (psEntry == nullptr) {
        X509_free(psCert);
        EVP_PKEY_free(psKey);
        return;
    }
    psEntry->psCert = psCert;
    psEntry->psKey = psKey;
    psEntry->psNext = psStore->psFirst;
    psStore->psFirst = psEntry;
}

static void FreeStore(SA_CertStore *psStore)
{
    while (psStore->psFirst != nullptr) {
        SA_CertEntry *psEntry = psStore->psFirst;
        psStore->psFirst = psEntry->psNext;
        X509_free(psEntry->psCert);
        EVP_PKEY_free(psEntry->psKey);
        SA_Free(&psEntry);
    }
}

/* A file BIO reports a successful rewind as 0, unlike other BIOs. */
static bool RewindFile(BIO *psBio) { return BIO_reset(psBio) == 0; }

/* Keys beyond this many in one PEM file are not paired with its certificates. */
static const int kMaxKeysPerFile = 8;

/* The key of the file that belongs to the certificate, as a new reference, or null. */
static EVP_PKEY *MatchingKey(EVP_PKEY *const *ppsKeys, int iKeys, X509 *psCert)
{
    for (int i = 0; i < iKeys; i++)
        if (X509_check_private_key(psCert, ppsKeys[i]) == 1 && EVP_PKEY_up_ref(ppsKeys[i]) == 1)
            return ppsKeys[i];
    ERR_clear_error();
    return nullptr;
}

/* Every certificate of a PEM file, each with its key when the file holds it; the count read. */
static int AddPemFile(SA_CertStore *psStore, BIO *psBio)
{
    EVP_PKEY *apsKeys[kMaxKeysPerFile];
    int iKeys = 0;
    while (iKeys < kMaxKeysPerFile &&
           (apsKeys[iKeys] = PEM_read_bio_PrivateKey(psBio, nullptr, NoPassPhrase, nullptr)) != nullptr)
        iKeys++;
    int iCount = 0;
    if (RewindFile(psBio)) {
        for (X509 *psCert; (psCert = PEM_read_bio_X509(psBio, nullptr, NoPassPhrase, nullptr)) != nullptr; iCount++)
            AddEntry(psStore, psCert, MatchingKey(apsKeys, iKeys, psCert));
    }
    for (int i = 0; i < iKeys; i++)
        EVP_PKEY_free(apsKeys[i]);
    ERR_clear_error();
    return iCount;
}

/* A PKCS#12 file without a password (or with an empty one). */
static void AddPkcs12File(SA_CertStore *psStore, BIO *psBio)
{
    PKCS12 *psP12 = RewindFile(psBio) ? d2i_PKCS12_bio(psBio, nullptr) : nullptr;
    X509 *psCert = nullptr;
    EVP_PKEY *psKey = nullptr;
    STACK_OF(X509) *psChain = nullptr;
    if (psP12 != nullptr && PKCS12_parse(psP12, nullptr, &psKey, &psCert, &psChain) == 1) {
        if (psCert != nullptr)
            AddEntry(psStore, psCert, psKey);
        else
            EVP_PKEY_free(psKey);
        for (X509 *psOther; (psOther = sk_X509_shift(psChain)) != nullptr;)
            AddEntry(psStore, psOther, nullptr);
        sk_X509_free(psChain);
    }
    PKCS12_free(psP12);
    ERR_clear_error();
}

static void AddFile(const char *pcszPath, void *pArgument)
{
    SA_CertStore *psStore = static_cast<SA_CertStore *>(pArgument);
    BIO *psBio = BIO_new_file(pcszPath, "rb");
    if (psBio == nullptr) {
        ERR_clear_error();
        return;
    }
    if (AddPemFile(psStore, psBio) == 0)
        AddPkcs12File(psStore, psBio);
    BIO_free(psBio);
}

/* The default trust file and every file of the default trust folders (a ':' list). */
static int OpenRootStore(SA_CertStore *psStore)
{
    const char *pcszFile = getenv(X509_get_default_cert_file_env());
    AddFile(pcszFile != nullptr ? pcszFile : X509_get_default_cert_file(), psStore);
    const char *pcszDirs = getenv(X509_get_default_cert_dir_env());
    if (pcszDirs == nullptr)
        pcszDirs = X509_get_default_cert_dir();
    char aszDir[1024];
    while (*pcszDirs != '\0') {
        size_t uLength = strcspn(pcszDirs, ":");
        if (uLength > 0 && uLength < sizeof(aszDir)) {
            memcpy(aszDir, pcszDirs, uLength);
            aszDir[uLength] = '\0';
            SA_OsListFolder(aszDir, AddFile, psStore);
        }
        pcszDirs += uLength + (pcszDirs[uLength] == ':' ? 1 : 0);
    }
    return SA_OK;
}

static int OpenStore(SA_CertStore *psStore, int bMachine, const char *pcszStoreName)
{
    psStore->psFirst = nullptr;
    if (strcmp(pcszStoreName, "ROOT") == 0)
        return OpenRootStore(psStore);
    char aszBase[1024], aszFolder[1280];
    int iBase = bMachine ? SA_OsMachineDataFolder(aszBase, sizeof(aszBase)) : SA_OsUserDataFolder(aszBase, sizeof(aszBase));
    if (iBase != 0)
        return SA_ERROR;
    int iLength = snprintf(aszFolder, sizeof(aszFolder), "%s/BZK/certs/%s", aszBase, pcszStoreName);
    if (iLength < 0 || static_cast<size_t>(iLength) >= sizeof(aszFolder))
        return SA_ERROR;
    return SA_OsListFolder(aszFolder, AddFile, psStore) == 0 ? SA_OK : SA_ERROR;
}

static int ContainsNoCase(const char *pcszText, const char *pcszPart)
{
    size_t uPart = strlen(pcszPart);
    for (; *pcszText != '\0'; pcszText++) {
        size_t i = 0;
        while (i < uPart && pcszText[i] != '\0' &&
               tolower(static_cast<unsigned char>(pcszText[i])) == tolower(static_cast<unsigned char>(pcszPart[i])))
            i++;
        if (i == uPart)
            return 1;
    }
    return uPart == 0;
}

static void DisplayNameOf(X509 *psCert, char *pszName, int iSize)
{
    if (X509_NAME_get_text_by_NID(X509_get_subject_name(psCert), NID_commonName, pszName, iSize) < 0)
        X509_NAME_oneline(X509_get_subject_name(psCert), pszName, iSize);
}

/* The store copy goes out and back in as a password-protected PKCS#12, as the key would
 * leave a system store; 0 with both certificate and key, -1 otherwise. */
static int HandOver(X509 *psCert, EVP_PKEY *psKey, X509 **ppsCert, EVP_PKEY **ppsKey)
{
    X509 *psCopy = X509_dup(psCert);
    if (psCopy == nullptr) {
        SA_Log("CertAddCertificateContextToStore failed");
        return SA_ERROR;
    }
    PKCS12 *psExport = PKCS12_create(kExportPassword, nullptr, psKey, psCopy, nullptr, 0, 0, 0, 0, 0);
    X509_free(psCopy);
    if (psExport == nullptr) {
        unsigned long ulError = ERR_peek_last_error();
        SA_Log("PFXExportCertStoreEx failed : %u %s", static_cast<unsigned>(ulError), ERR_reason_error_string(ulError));
        ERR_clear_error();
        return SA_ERROR;
    }
    BIO *psBlob = BIO_new(BIO_s_mem());
    int iWritten = psBlob != nullptr ? i2d_PKCS12_bio(psBlob, psExport) : 0;
    PKCS12_free(psExport);
    int iResult = SA_ERROR;
    if (iWritten != 1) {
        SA_Log("PFXExportCertStoreEx2 failed");
    } else if (BIO_pending(psBlob) <= 0) {
        SA_Log("dataBlob.cbData invalid");
    } else {
        PKCS12 *psImport = d2i_PKCS12_bio(psBlob, nullptr);
        if (psImport == nullptr || PKCS12_parse(psImport, kExportPassword, ppsKey, ppsCert, nullptr) != 1)
            SA_Log("PKCS12_parse failed");
        else
            iResult = (*ppsCert != nullptr && *ppsKey != nullptr) ? SA_OK : SA_ERROR;
        PKCS12_free(psImport);
    }
    BIO_free(psBlob);
    ERR_clear_error();
    return iResult;
}

/* Whether the certificate may be presented now, logging why not. */
static int IsCurrentlyValid(X509 *psCert)
{
    if (X509_cmp_current_time(X509_get0_notAfter(psCert)) < 0) {
        SA_Log("This certificate is not valid anymore");
        return 0;
    }
    if (X509_cmp_current_time(X509_get0_notBefore(psCert)) > 0) {
        SA_Log("This certificate is not valid yet");
        return 0;
    }
    return 1;
}

static int SA_SSL_private_FindCertInStore(const char *pcszCommonName, int bMachine, const char *pcszStoreName,
                                          X509 **ppsCert, EVP_PKEY **ppsKey)
{
    SA_CertStore sStore;
    if (OpenStore(&sStore, bMachine, pcszStoreName) != SA_OK) {
        SA_Log("Unable to open Certificate store %s", pcszStoreName);
        FreeStore(&sStore);
        return SA_ERROR;
    }
    X509 *psCert = nullptr;
    EVP_PKEY *psKey = nullptr;
    char aszIssuer[256], aszName[256];
    for (SA_CertEntry *psEntry = sStore.psFirst; psEntry != nullptr; psEntry = psEntry->psNext) {
        X509_NAME_oneline(X509_get_issuer_name(psEntry->psCert), aszIssuer, sizeof(aszIssuer));
        if (!ContainsNoCase(aszIssuer, pcszCommonName))
            continue;
        DisplayNameOf(psEntry->psCert, aszName, sizeof(aszName));
        SA_Log("Found certificate '%s' in %s store '%s'", aszName, bMachine ? "system" : "user", pcszStoreName);
        if (!IsCurrentlyValid(psEntry->psCert))
            continue;
        HandOver(psEntry->psCert, psEntry->psKey, &psCert, &psKey);
        break;
    }
    FreeStore(&sStore);
    if (psCert == nullptr || psKey == nullptr) {
        X509_free(psCert);
        EVP_PKEY_free(psKey);
        return SA_ERROR;
    }
    *ppsCert = psCert;
    *ppsKey = psKey;
    SA_Log("Certificate OK");
    return SA_OK;
}

static int SA_SSL_private_FindCertInSystemStores(const char *pcszCommonName, X509 **ppsCert, EVP_PKEY **ppsKey)
{
    for (int bMachine = 0; bMachine <= 1; bMachine++)
        for (const char *pcszStore : kStoreNames)
            if (SA_SSL_private_FindCertInStore(pcszCommonName, bMachine, pcszStore, ppsCert, ppsKey) == SA_OK)
                return SA_OK;
    return SA_ERROR;
}

/* The common name of a one-line name ("/C=FR/CN=Name/O=..."); 0 when it has none. */
static int CommonNameOf(const char *pcszOneLine, char *pszName, size_t uSize)
{
    const char *pcszStart = strstr(pcszOneLine, "/CN=");
    if (pcszStart == nullptr)
        return 0;
    pcszStart += 4;
    size_t uLength = strcspn(pcszStart, "/");
    if (uLength >= uSize)
        uLength = uSize - 1;
    memcpy(pszName, pcszStart, uLength);
    pszName[uLength] = '\0';
    return 1;
}

extern "C" {

int SA_SSL_private_LoadX509Store(X509_STORE *store)
{
    SA_ASSERT(store);
    if (store == nullptr)
        return SA_ERROR;
    /* The "ROOT" store of this platform is these same default locations. */
    X509_LOOKUP *psFile = X509_STORE_add_lookup(store, X509_LOOKUP_file());
    if (psFile == nullptr)
        return SA_ERROR;
    X509_LOOKUP_load_file(psFile, nullptr, X509_FILETYPE_DEFAULT);
    X509_LOOKUP *psDir = X509_STORE_add_lookup(store, X509_LOOKUP_hash_dir());
    if (psDir == nullptr)
        return SA_ERROR;
    X509_LOOKUP_add_dir(psDir, nullptr, X509_FILETYPE_DEFAULT);
    ERR_clear_error();
    return SA_OK;
}

int SA_SSL_private_FindClientCert(const X509_NAME *psIssuer, X509 **ppsCert, EVP_PKEY **ppsKey)
{
    char aszOneLine[256], aszCommonName[256];
    if (X509_NAME_oneline(psIssuer, aszOneLine, sizeof(aszOneLine)) == nullptr)
        return SA_ERROR;
    if (!CommonNameOf(aszOneLine, aszCommonName, sizeof(aszCommonName)))
        return SA_ERROR;
    SA_Log("Looking for certificate in store with issuer='%s'", aszCommonName);
    return SA_SSL_private_FindCertInSystemStores(aszCommonName, ppsCert, ppsKey);
}

int SA_SSL_private_ClientCertCallback(SSL *psSsl, X509 **ppsCert, EVP_PKEY **ppsKey)
{
    /* The library takes over the certificate and key it is handed here. */
    const STACK_OF(X509_NAME) *psNames = SSL_get_client_CA_list(psSsl);
    for (int i = 0; i < sk_X509_NAME_num(psNames); i++)
        if (SA_SSL_private_FindClientCert(sk_X509_NAME_value(psNames, i), ppsCert, ppsKey) == SA_OK)
            return 1;
    return 0;
}

} /* extern "C" */
