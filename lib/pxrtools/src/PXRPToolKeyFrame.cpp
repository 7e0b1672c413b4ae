/* The H.264 key-frame test: whether a picture's byte stream holds an IDR slice before any
 * other coded slice, so that decoding can start there. */
#include "PXRPTool_Internal.h"

namespace {

constexpr uint32_t SHORTEST_KEY_FRAME = 5;
constexpr uint8_t NAL_TYPE_MASK = 0x1F;
constexpr uint8_t NAL_SLICE = 1;
constexpr uint8_t NAL_PARTITION_C = 4;
constexpr uint8_t NAL_IDR_SLICE = 5;

/* Offset of the byte after the next start code (00 00 01, which a four-byte 00 00 00 01
 * ends with) at or after uFrom, or the length when there is none. */
uint32_t afterStartCode(const uint8_t *pu8Data, uint32_t u32Length, uint32_t u32From)
{
    for (uint32_t i = u32From; i + 3 <= u32Length; i++) {
        if (pu8Data[i + 2] > 1)
            i += 2; /* no start code can end at or before i + 2 */
        else if (pu8Data[i] == 0 && pu8Data[i + 1] == 0 && pu8Data[i + 2] == 1)
            return i + 3;
    }
    return u32Length;
}

} // namespace

extern "C" int PXRPToolIsH264KeyFrame(const uint8_t *pu8Data, uint32_t u32Length)
{
    if (!pu8Data || u32Length < SHORTEST_KEY_FRAME)
        return 0;
    for (uint32_t u32Unit = afterStartCode(pu8Data, u32Length, 0); u32Unit < u32Length;
         u32Unit = afterStartCode(pu8Data, u32Length, u32Unit)) {
        uint8_t u8Type = pu8Data[u32Unit] & NAL_TYPE_MASK;
        if (u8Type == NAL_IDR_SLICE)
            return 1;
        if (u8Type >= NAL_SLICE && u8Type <= NAL_PARTITION_C)
            return 0;
    }
    return 0;
}
