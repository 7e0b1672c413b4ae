/* Number texts for the wire: always the C locale's digits and decimal point, whatever
 * locale the process has set. */
#include "PXR_Internal.h"

#include <charconv>

namespace {

const int kFloatDecimals = 6;

// A value that does not fit leaves an empty text.
void terminateText(char *pszBuffer, std::to_chars_result sResult)
{
    if (sResult.ec == std::errc())
        *sResult.ptr = '\0';
    else
        pszBuffer[0] = '\0';
}

} // namespace

extern "C" {

// Each writer keeps the last byte for the terminator.
void PXRMsg_formatInt64(char *pszBuffer, size_t szSize, int64_t i64Value)
{
    if (!pszBuffer || szSize == 0)
        return;
    terminateText(pszBuffer, std::to_chars(pszBuffer, pszBuffer + szSize - 1, i64Value));
}

void PXRMsg_formatUInt64(char *pszBuffer, size_t szSize, uint64_t u64Value)
{
    if (!pszBuffer || szSize == 0)
        return;
    terminateText(pszBuffer, std::to_chars(pszBuffer, pszBuffer + szSize - 1, u64Value));
}

void PXRMsg_formatDouble(char *pszBuffer, size_t szSize, double dValue)
{
    if (!pszBuffer || szSize == 0)
        return;
    terminateText(pszBuffer,
              std::to_chars(pszBuffer, pszBuffer + szSize - 1, dValue, std::chars_format::fixed, kFloatDecimals));
}

} // extern "C"
