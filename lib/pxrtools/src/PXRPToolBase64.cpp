/* Standard Base64 decoding of encrypted plates. Characters outside the alphabet count as
 * zero bits: a corrupted text is caught by the decryption that follows. */
#include "PXRPTool_Internal.h"

namespace {

constexpr int GROUP_CHARS = 4;
constexpr char PAD = '=';

struct Alphabet {
    uint8_t au8Value[128] = {};
    constexpr Alphabet()
    {
        const char *pcszChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (uint8_t i = 0; i < 64; i++)
            au8Value[static_cast<uint8_t>(pcszChars[i])] = i;
    }
};

constexpr Alphabet ALPHABET;

/* Appends the bytes of the first u8Chars characters of a group (2, 3 or 4 of them). */
void emitGroup(const uint8_t au8Group[GROUP_CHARS], int iChars, uint8_t *pu8Out, size_t *puOutLength)
{
    uint32_t u32Bits = (uint32_t)au8Group[0] << 18 | (uint32_t)au8Group[1] << 12 | (uint32_t)au8Group[2] << 6 |
                       au8Group[3];
    for (int i = 0; i < iChars - 1; i++)
        pu8Out[(*puOutLength)++] = static_cast<uint8_t>(u32Bits >> (16 - 8 * i));
}

} // namespace

size_t PXRPTool_base64MaxSize(size_t uLength)
{
    return uLength / GROUP_CHARS * 3 + 2;
}

int PXRPTool_base64Decode(const char *pcszText, size_t uLength, uint8_t *pu8Out, size_t *puOutLength)
{
    *puOutLength = 0;
    uint8_t au8Group[GROUP_CHARS] = {};
    int iChars = 0;
    size_t i = 0;
    for (; i < uLength && pcszText[i] != PAD; i++) {
        uint8_t u8Char = static_cast<uint8_t>(pcszText[i]);
        if (u8Char >= 128)
            return 0;
        au8Group[iChars++] = ALPHABET.au8Value[u8Char];
        if (iChars == GROUP_CHARS) {
            emitGroup(au8Group, GROUP_CHARS, pu8Out, puOutLength);
            iChars = 0;
        }
    }
    if (iChars == 0)
        return 1;
    /* A short last group is complete only when "=" ends it, and one character holds no byte. */
    if (i == uLength || iChars == 1)
        return 0;
    for (int j = iChars; j < GROUP_CHARS; j++)
        au8Group[j] = 0;
    emitGroup(au8Group, iChars, pu8Out, puOutLength);
    return 1;
}
