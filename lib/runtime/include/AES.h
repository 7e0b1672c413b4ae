/* The runtime's AES block cipher (128-, 192- and 256-bit keys) in ECB mode over
 * whole buffers, with a handle that can carry a built-in 256-bit key. */
#ifndef AES_H
#define AES_H

#include "SA_Core.h"

#ifdef __cplusplus
extern "C" {
#endif

#define AES_BLOCK_SIZE 16

typedef struct AES_HandleRec *AES_Handle;

/* Generates the cipher tables; run once by the runtime's start-up, harmless again. */
void AES_InitTables(void);
/* Handle with both key schedules for a key of i32Nk 32-bit words (4, 6 or 8), given as
 * its FIPS-197 byte string; a null key selects the built-in key (Nk 8). Null when out of
 * memory or for another Nk. Caller releases it with AES_ReleaseHandle. */
AES_Handle AES_CreateHandle(const void *pKey, int32_t i32Nk);
/* AES_CreateHandle(null, 8): the built-in key. Caller releases it. */
AES_Handle AES_CreateDefaultHandle(void);
/* Frees the handle and sets the variable null; a null variable is left alone. */
void AES_ReleaseHandle(AES_Handle *phHandle);
/* Enciphers u32Length bytes in ECB mode; a short tail is zero-filled to a whole block, so
 * the output receives AES_RoundUpToBlock(u32Length) bytes. In place allowed. 0, or -1 for
 * a null argument. */
int AES_EncryptBuffer(AES_Handle hHandle, const void *pInput, void *pOutput, uint32_t u32Length);
/* Deciphers u32Length bytes in ECB mode, in place allowed. 0; -1 for a null argument or a
 * length that is not a multiple of 16 (nothing written: a partial block cannot be read). */
int AES_DecryptBuffer(AES_Handle hHandle, const void *pInput, void *pOutput, uint32_t u32Length);
/* Enciphers one 16-byte block (in place allowed); nothing happens for a null argument. */
void AES_EncryptBlock(AES_Handle hHandle, const uint8_t *pu8Input, uint8_t *pu8Output);
/* Deciphers one 16-byte block (in place allowed); nothing happens for a null argument. */
void AES_DecryptBlock(AES_Handle hHandle, const uint8_t *pu8Input, uint8_t *pu8Output);
/* The next multiple of 16 at or above u32Length (0 for 0). */
uint32_t AES_RoundUpToBlock(uint32_t u32Length);

#ifdef __cplusplus
}
#endif

#endif
