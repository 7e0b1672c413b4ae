/* Status answers of the sensor ("answer" roots with their errorText) and the decimal number
 * reader used for message dates. */
#include "PXRPTool_Internal.h"

#include "SA_Core.h"

#include <string.h>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

extern "C" {

int PXRPToolIsAnswer(PXRMsg *psMsg)
{
    const char *pcszName = PXRMsgElementName(PXRMsgChild(psMsg));
    return pcszName && strcmp(pcszName, PXRPToolStrAnswer) == 0 ? 1 : 0;
}

const char *PXRPToolAnswerError(PXRMsg *psMsg)
{
    PXRMsgElement *pElt = PXRMsgChild(psMsg);
    if (!pElt)
        return "No sub element in message";
    SA_ASSERT(strcmp(PXRMsgElementName(pElt), PXRPToolStrAnswer) == 0);
    return PXRMsgElementAttributeValue(pElt, "errorText");
}

int64_t PXRPToolAtoi64(const char *pcszText)
{
    if (!pcszText)
        return 0;
    while (isBlank(*pcszText))
        pcszText++;
    bool bNegative = *pcszText == '-';
    if (*pcszText == '-' || *pcszText == '+')
        pcszText++;
    /* Magnitudes are gathered up to 2^63, the largest a negative result can take. */
    const uint64_t u64Limit = static_cast<uint64_t>(INT64_MAX) + 1;
    uint64_t u64Value = 0;
    for (; *pcszText >= '0' && *pcszText <= '9'; pcszText++) {
        uint64_t u64Digit = static_cast<uint64_t>(*pcszText - '0');
        if (u64Value > (u64Limit - u64Digit) / 10) {
            u64Value = u64Limit;
            break;
        }
        u64Value = u64Value * 10 + u64Digit;
    }
    if (bNegative)
        return u64Value == u64Limit ? INT64_MIN : -static_cast<int64_t>(u64Value);
    return u64Value >= u64Limit ? INT64_MAX : static_cast<int64_t>(u64Value);
}

} // extern "C"
