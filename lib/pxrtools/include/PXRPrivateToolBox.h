/* The private toolbox's whole exported interface: the video frame decoder, the H.264
 * key-frame test, the plate decryptor and the status-answer helpers. C linkage. */
#ifndef PXR_PRIVATE_TOOLBOX_H
#define PXR_PRIVATE_TOOLBOX_H

#include <stdint.h>

#include "PXR.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PXRPTOOL_API __attribute__((visibility("default")))

/* Root name of a sensor's status answer. */
#define PXRPToolStrAnswer "answer"
/* Plate text used when a plate cannot be decrypted and the caller gives none. */
#define PXRPTOOL_DEFAULT_CRYPTED_TEXT "[CRYPTED]"
/* Size of the decryptor's error text, terminating zero included. */
#define PXRPTOOL_ERROR_TEXT_SIZE 512

/* Decoder results. Opening happens inside the first decode, so a decode call may give
 * any of them. */
#define PXRPTOOL_OK 0
/* Opening: already open, or the codec name is absent or unknown. Decoding: empty input. */
#define PXRPTOOL_ERR_INVALID (-1)
/* Opening: no codec context. Decoding: the codec gave no picture for this input. */
#define PXRPTOOL_ERR_NO_PICTURE (-2)
/* Opening: the codec would not open. */
#define PXRPTOOL_ERR_OPEN (-3)
/* Opening: a frame could not be allocated. */
#define PXRPTOOL_ERR_FRAME (-4)
/* Decoding: no buffer-size pointer was given. */
#define PXRPTOOL_ERR_NO_SIZE (-52)
/* Decoding: the buffer is too small; the size needed was written to the buffer-size value.
 * The picture is kept: calling again with the same data converts it without decoding again. */
#define PXRPTOOL_ERR_TOO_SMALL (-53)

typedef struct PXRPToolDecoder PXRPToolDecoder;               /* one video decoder */
typedef struct PXRPToolPlateDecryptor PXRPToolPlateDecryptor; /* RSA key and last error */

/* ---- frame decoder (one thread at a time per decoder) ---- */

/* A new decoder handing out pictures in the given FFmpeg pixel format (an AVPixelFormat
 * value, AV_PIX_FMT_BGRA for 32-bit BGRA; -1 for the codec's own), or null; the caller
 * destroys it with PXRPToolDecoderDestroy. */
PXRPTOOL_API PXRPToolDecoder *PXRPToolDecoderCreate(int iOutputPixelFormat);
/* Frees the decoder and everything it holds; null is ignored. */
PXRPTOOL_API void PXRPToolDecoderDestroy(PXRPToolDecoder *psDecoder);
/* Decodes the content of the root's first "data" child of a video message, opening the
 * decoder with the root's "codec" ("jpeg", "mpeg", "h264") when it is not open or when the
 * message names another of these codecs. *piBufferSize is read and written; the other
 * outputs may be null. A PXRPTOOL_ result; the message stays the caller's. */
PXRPTOOL_API int PXRPToolDecoderDecodeMsg(PXRPToolDecoder *psDecoder, PXRMsg *psMsg, uint8_t *pu8Buffer,
                                          int *piBufferSize, int *piWidth, int *piHeight,
                                          int *piPixelFormat, int *piKeyFrame);
/* Decodes one compressed picture into the caller's buffer (at most *piBufferSize bytes are
 * written); a null buffer asks for the size needed, written to *piBufferSize. The decoder
 * must have been opened by PXRPToolDecoderDecodeMsg. A PXRPTOOL_ result. */
PXRPTOOL_API int PXRPToolDecoderDecode(PXRPToolDecoder *psDecoder, const uint8_t *pu8Data, int iSize,
                                       uint8_t *pu8Buffer, int *piBufferSize, int *piWidth, int *piHeight,
                                       int *piPixelFormat, int *piKeyFrame);
/* 1 when the H.264 byte stream holds an IDR slice before any other coded slice, else 0. */
PXRPTOOL_API int PXRPToolIsH264KeyFrame(const uint8_t *pu8Data, uint32_t u32Length);

/* ---- plate decryptor (one thread at a time per decryptor) ---- */

/* A new decryptor without key, or null; the caller destroys it. */
PXRPTOOL_API PXRPToolPlateDecryptor *PXRPToolPlateDecryptorCreate(void);
/* Releases the key and frees the decryptor; null is ignored. */
PXRPTOOL_API void PXRPToolPlateDecryptorDestroy(PXRPToolPlateDecryptor *psDecryptor);
/* Null data: removes the key, 1. Otherwise loads a PEM RSA private key from the bytes (the
 * pass phrase, UTF-8, unlocks a protected key; null for none): 1 when it replaced the key
 * held, 0 when it cannot be read (the key held stays; the error text says why). */
PXRPTOOL_API int PXRPToolPlateDecryptorSetKey(PXRPToolPlateDecryptor *psDecryptor, const void *pData,
                                              uint32_t u32Length, const char *pcszPassPhrase);
/* 1 while a key is held, else 0. */
PXRPTOOL_API int PXRPToolPlateDecryptorHasKey(PXRPToolPlateDecryptor *psDecryptor);
/* Writes the clear text of the "decision" element's plateCrypted as its "plate", or the
 * replacement text (null: PXRPTOOL_DEFAULT_CRYPTED_TEXT) when it cannot. 1 when nothing was
 * to be done or the plate was decrypted; 0 on failure (the error text says why). */
PXRPTOOL_API int PXRPToolPlateDecryptorDecrypt(PXRPToolPlateDecryptor *psDecryptor, PXRMsg *psMsg,
                                               const char *pcszReplacement);
/* The reason of the last failure, "" after a success; owned by the decryptor. */
PXRPTOOL_API const char *PXRPToolPlateDecryptorLastError(PXRPToolPlateDecryptor *psDecryptor);

/* ---- status answers and numbers ---- */

/* 1 when the message's root is named exactly "answer", else 0 (also without root). */
PXRPTOOL_API int PXRPToolIsAnswer(PXRMsg *psMsg);
/* The root's errorText (owned by the message) or null when absent; a static text when the
 * message has no root. A root not named "answer" is reported to the runtime's assertion
 * handler and its errorText returned all the same. */
PXRPTOOL_API const char *PXRPToolAnswerError(PXRMsg *psMsg);
/* The text's leading decimal number (blanks and a sign allowed), 0 when there is none or for
 * null; clamped to the 64-bit range. */
PXRPTOOL_API int64_t PXRPToolAtoi64(const char *pcszText);

#ifdef __cplusplus
}
#endif

#endif
