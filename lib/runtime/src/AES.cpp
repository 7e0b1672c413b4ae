/* AES (FIPS-197) with generated tables: key schedules, the table-driven block cipher and
 * its equivalent inverse, and ECB over whole buffers. */
#include "SA_Internal.h"

namespace {

constexpr int MAX_ROUND_KEY_WORDS = 60;
constexpr int ROUND_CONSTANTS = 30;

uint8_t g_au8Pow[256];
uint8_t g_au8Log[256];
uint8_t g_au8SBox[256];
uint8_t g_au8InvSBox[256];
uint32_t g_au32RoundConstant[ROUND_CONSTANTS];
uint32_t g_au32Forward[256];
uint32_t g_au32Inverse[256];
/* Source column of each row for ShiftRows and for its inverse. */
int g_aaiShift[4][4];
int g_aaiInvShift[4][4];
/* InvMixColumns coefficients, lowest row rotation first: 11, 13, 9, 14. */
const uint8_t g_au8InvMixCoefficients[4] = {0x0B, 0x0D, 0x09, 0x0E};

/* The built-in key never sits whole in the binary: these two pieces are XORed at run time. */
const uint32_t g_au32KeyWords[8] = {0x6C1B3F92u, 0xA4D7085Eu, 0x39E2C6B1u, 0x0F8A5D73u,
                                    0xD25C91E4u, 0x7B0346AFu, 0xE8F16C28u, 0x5496BD0Cu};
const char g_aszKeyText[10] = "Kq7#vR2mZ";

}  // namespace

struct AES_HandleRec {
    int32_t i32Nk;
    int32_t i32Nr;
    uint32_t au32EncryptKeys[MAX_ROUND_KEY_WORDS];
    uint32_t au32DecryptKeys[MAX_ROUND_KEY_WORDS];
};

namespace {

uint8_t xtime(uint8_t u8Value)
{
    return (uint8_t)((u8Value << 1) ^ ((u8Value & 0x80) ? 0x1B : 0x00));
}

uint8_t fieldMultiply(uint8_t a, uint8_t b)
{
    if (a == 0 || b == 0)
        return 0;
    return g_au8Pow[(g_au8Log[a] + g_au8Log[b]) % 255];
}

uint32_t rotateLeft8(uint32_t u32Word)
{
    return (u32Word << 8) | (u32Word >> 24);
}

uint32_t packBytes(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    return (uint32_t)b0 | ((uint32_t)b1 << 8) | ((uint32_t)b2 << 16) | ((uint32_t)b3 << 24);
}

uint8_t byteOf(uint32_t u32Word, int iIndex)
{
    return (uint8_t)(u32Word >> (8 * iIndex));
}

uint32_t loadWord(const uint8_t *pu8Bytes)
{
    return packBytes(pu8Bytes[0], pu8Bytes[1], pu8Bytes[2], pu8Bytes[3]);
}

void storeWord(uint32_t u32Word, uint8_t *pu8Bytes)
{
    for (int i = 0; i < 4; i++)
        pu8Bytes[i] = byteOf(u32Word, i);
}

void makeFieldTables(void)
{
    uint8_t u8Value = 1;
    for (int i = 0; i < 255; i++) {
        g_au8Pow[i] = u8Value;
        g_au8Log[u8Value] = (uint8_t)i;
        u8Value ^= xtime(u8Value); /* times the generator 3 */
    }
    g_au8Pow[255] = g_au8Pow[0];
    g_au8Log[0] = 0;
}

void makeSBoxes(void)
{
    for (int x = 0; x < 256; x++) {
        uint8_t u8Inverse = x ? g_au8Pow[255 - g_au8Log[x]] : 0;
        uint8_t u8Out = 0x63;
        for (int iShift = 0; iShift < 5; iShift++)
            u8Out ^= (uint8_t)((u8Inverse << iShift) | (u8Inverse >> (8 - iShift)));
        g_au8SBox[x] = u8Out;
        g_au8InvSBox[u8Out] = (uint8_t)x;
    }
}

void makeRoundTables(void)
{
    uint8_t u8Constant = 1;
    for (int i = 0; i < ROUND_CONSTANTS; i++) {
        g_au32RoundConstant[i] = u8Constant;
        u8Constant = xtime(u8Constant);
    }
    for (int x = 0; x < 256; x++) {
        uint8_t s = g_au8SBox[x];
        g_au32Forward[x] = packBytes(xtime(s), s, s, (uint8_t)(xtime(s) ^ s));
        uint8_t y = g_au8InvSBox[x];
        const uint8_t *c = g_au8InvMixCoefficients;
        g_au32Inverse[x] = packBytes(fieldMultiply(c[3], y), fieldMultiply(c[2], y),
                                     fieldMultiply(c[1], y), fieldMultiply(c[0], y));
    }
    for (int iColumn = 0; iColumn < 4; iColumn++) {
        for (int iRow = 0; iRow < 4; iRow++) {
            g_aaiShift[iColumn][iRow] = (iColumn + iRow) % 4;
            g_aaiInvShift[iColumn][iRow] = (iColumn - iRow + 4) % 4;
        }
    }
}

uint32_t subWord(uint32_t u32Word)
{
    return packBytes(g_au8SBox[byteOf(u32Word, 0)], g_au8SBox[byteOf(u32Word, 1)],
                     g_au8SBox[byteOf(u32Word, 2)], g_au8SBox[byteOf(u32Word, 3)]);
}

/* Sum of the four table words of one output column, each row's word rotated into place. */
uint32_t mixColumn(const uint32_t *pu32Table, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    uint32_t u32Out = pu32Table[b3];
    u32Out = rotateLeft8(u32Out) ^ pu32Table[b2];
    u32Out = rotateLeft8(u32Out) ^ pu32Table[b1];
    return rotateLeft8(u32Out) ^ pu32Table[b0];
}

/* InvMixColumns of a key word: the inverse table undoes the S-box it contains. */
uint32_t invMixWord(uint32_t u32Word)
{
    return mixColumn(g_au32Inverse, g_au8SBox[byteOf(u32Word, 0)], g_au8SBox[byteOf(u32Word, 1)],
                     g_au8SBox[byteOf(u32Word, 2)], g_au8SBox[byteOf(u32Word, 3)]);
}

void expandEncryptKeys(AES_HandleRec *psHandle, const uint8_t *pu8Key)
{
    int iNk = psHandle->i32Nk;
    int iTotal = 4 * (psHandle->i32Nr + 1);
    uint32_t *w = psHandle->au32EncryptKeys;
    for (int i = 0; i < iNk; i++)
        w[i] = loadWord(pu8Key + 4 * i);
    for (int i = iNk; i < iTotal; i++) {
        uint32_t u32Temp = w[i - 1];
        if (i % iNk == 0)
            u32Temp = subWord((u32Temp >> 8) | (u32Temp << 24)) ^ g_au32RoundConstant[i / iNk - 1];
        else if (iNk > 6 && i % iNk == 4)
            u32Temp = subWord(u32Temp);
        w[i] = w[i - iNk] ^ u32Temp;
    }
}

void expandDecryptKeys(AES_HandleRec *psHandle)
{
    int iNr = psHandle->i32Nr;
    const uint32_t *e = psHandle->au32EncryptKeys;
    uint32_t *d = psHandle->au32DecryptKeys;
    for (int i = 0; i < 4; i++) {
        d[i] = e[4 * iNr + i];
        d[4 * iNr + i] = e[i];
    }
    for (int r = 1; r < iNr; r++)
        for (int i = 0; i < 4; i++)
            d[4 * r + i] = invMixWord(e[4 * (iNr - r) + i]);
}

void buildDefaultKey(uint8_t *pu8Key)
{
    for (int i = 0; i < 32; i++)
        pu8Key[i] = (uint8_t)(byteOf(g_au32KeyWords[i / 4], i % 4) ^ (uint8_t)g_aszKeyText[i % 9]);
}

/* One direction of the cipher: table rounds, then a last round of S-box and shift only. */
void cipherBlock(const uint32_t *pu32Keys, int iNr, const uint32_t *pu32Table, const uint8_t *pu8Box,
                 const int (*paaiShift)[4], const uint8_t *pu8Input, uint8_t *pu8Output)
{
    uint32_t au32State[4], au32Next[4];
    for (int c = 0; c < 4; c++)
        au32State[c] = loadWord(pu8Input + 4 * c) ^ pu32Keys[c];
    for (int r = 1; r < iNr; r++) {
        for (int c = 0; c < 4; c++) {
            const int *s = paaiShift[c];
            au32Next[c] = mixColumn(pu32Table, byteOf(au32State[s[0]], 0), byteOf(au32State[s[1]], 1),
                                    byteOf(au32State[s[2]], 2), byteOf(au32State[s[3]], 3)) ^
                          pu32Keys[4 * r + c];
        }
        for (int c = 0; c < 4; c++)
            au32State[c] = au32Next[c];
    }
    for (int c = 0; c < 4; c++) {
        const int *s = paaiShift[c];
        au32Next[c] = packBytes(pu8Box[byteOf(au32State[s[0]], 0)], pu8Box[byteOf(au32State[s[1]], 1)],
                                pu8Box[byteOf(au32State[s[2]], 2)], pu8Box[byteOf(au32State[s[3]], 3)]) ^
                      pu32Keys[4 * iNr + c];
    }
    for (int c = 0; c < 4; c++)
        storeWord(au32Next[c], pu8Output + 4 * c);
}

bool argumentsGiven(const void *pHandle, const void *pInput, const void *pOutput)
{
    SA_ASSERT(pHandle && pInput && pOutput);
    return pHandle != nullptr && pInput != nullptr && pOutput != nullptr;
}

/* ECB over u32Length bytes, a whole number of blocks. */
void cipherBlocks(AES_Handle hHandle, bool bDecrypt, const uint8_t *pu8Input, uint8_t *pu8Output,
                  uint32_t u32Length)
{
    for (uint32_t u32Pos = 0; u32Pos < u32Length; u32Pos += AES_BLOCK_SIZE) {
        if (bDecrypt)
            cipherBlock(hHandle->au32DecryptKeys, hHandle->i32Nr, g_au32Inverse, g_au8InvSBox,
                        g_aaiInvShift, pu8Input + u32Pos, pu8Output + u32Pos);
        else
            cipherBlock(hHandle->au32EncryptKeys, hHandle->i32Nr, g_au32Forward, g_au8SBox, g_aaiShift,
                        pu8Input + u32Pos, pu8Output + u32Pos);
    }
}

}  // namespace

extern "C" {

void AES_InitTables(void)
{
    makeFieldTables();
    makeSBoxes();
    makeRoundTables();
}

AES_Handle AES_CreateHandle(const void *pKey, int32_t i32Nk)
{
    uint8_t au8DefaultKey[32];
    if (pKey == nullptr) {
        buildDefaultKey(au8DefaultKey);
        pKey = au8DefaultKey;
        i32Nk = 8;
    }
    SA_ASSERT(i32Nk == 4 || i32Nk == 6 || i32Nk == 8);
    if (i32Nk != 4 && i32Nk != 6 && i32Nk != 8)
        return nullptr;
    AES_HandleRec *psHandle = (AES_HandleRec *)SA_Malloc(sizeof(AES_HandleRec));
    if (psHandle != nullptr) {
        psHandle->i32Nk = i32Nk;
        psHandle->i32Nr = i32Nk + 6;
        expandEncryptKeys(psHandle, (const uint8_t *)pKey);
        expandDecryptKeys(psHandle);
    }
    SA_MemZero(au8DefaultKey, sizeof(au8DefaultKey));
    return psHandle;
}

AES_Handle AES_CreateDefaultHandle(void)
{
    return AES_CreateHandle(nullptr, 8);
}

void AES_ReleaseHandle(AES_Handle *phHandle)
{
    if (phHandle != nullptr)
        SA_Free(phHandle);
}

void AES_EncryptBlock(AES_Handle hHandle, const uint8_t *pu8Input, uint8_t *pu8Output)
{
    if (argumentsGiven(hHandle, pu8Input, pu8Output))
        cipherBlocks(hHandle, false, pu8Input, pu8Output, AES_BLOCK_SIZE);
}

void AES_DecryptBlock(AES_Handle hHandle, const uint8_t *pu8Input, uint8_t *pu8Output)
{
    if (argumentsGiven(hHandle, pu8Input, pu8Output))
        cipherBlocks(hHandle, true, pu8Input, pu8Output, AES_BLOCK_SIZE);
}

int AES_EncryptBuffer(AES_Handle hHandle, const void *pInput, void *pOutput, uint32_t u32Length)
{
    if (!argumentsGiven(hHandle, pInput, pOutput))
        return SA_ERROR;
    const uint8_t *pu8In = (const uint8_t *)pInput;
    uint8_t *pu8Out = (uint8_t *)pOutput;
    uint32_t u32Whole = u32Length & ~(uint32_t)(AES_BLOCK_SIZE - 1);
    cipherBlocks(hHandle, false, pu8In, pu8Out, u32Whole);
    if (u32Whole < u32Length) {
        uint8_t au8Tail[AES_BLOCK_SIZE] = {0};
        memcpyC(au8Tail, pu8In + u32Whole, u32Length - u32Whole);
        cipherBlocks(hHandle, false, au8Tail, pu8Out + u32Whole, AES_BLOCK_SIZE);
    }
    return SA_OK;
}

int AES_DecryptBuffer(AES_Handle hHandle, const void *pInput, void *pOutput, uint32_t u32Length)
{
    if (!argumentsGiven(hHandle, pInput, pOutput))
        return SA_ERROR;
    /* A tail shorter than a block would have to be read past the caller's length. */
    SA_ASSERT((u32Length % AES_BLOCK_SIZE) == 0);
    if ((u32Length % AES_BLOCK_SIZE) != 0)
        return SA_ERROR;
    cipherBlocks(hHandle, true, (const uint8_t *)pInput, (uint8_t *)pOutput, u32Length);
    return SA_OK;
}

uint32_t AES_RoundUpToBlock(uint32_t u32Length)
{
    return ((u32Length - 1) & ~(uint32_t)(AES_BLOCK_SIZE - 1)) + AES_BLOCK_SIZE;
}

}  // extern "C"
