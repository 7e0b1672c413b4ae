/* The library's table of texts: error texts, status names, function and thread names. */
#include "Lumatrek_Internal.h"

namespace {

const char *const kTexts[LT_TEXT_COUNT] = {
#define LT_TEXT_ENTRY(name, text) text,
    LT_TEXT_LIST(LT_TEXT_ENTRY)
#undef LT_TEXT_ENTRY
};

// Status 0 to -16 by its negation; -12 (closing) has no name of its own.
const LT_TextId kStatusNames[] = {
    LT_TEXT_STATUS_ACK,           LT_TEXT_STATUS_NACK,           LT_TEXT_STATUS_DISCONNECTED,
    LT_TEXT_STATUS_BUSY,          LT_TEXT_STATUS_EMPTY,          LT_TEXT_STATUS_FULL,
    LT_TEXT_STATUS_NOTSUPPORTED,  LT_TEXT_STATUS_INVALIDARGUMENT, LT_TEXT_STATUS_INVALIDANSWER,
    LT_TEXT_STATUS_RS232LOCKED,   LT_TEXT_STATUS_RS232NOTLOCKED, LT_TEXT_STATUS_TIMEOUT,
    LT_TEXT_STATUS_UNKNOWN,       LT_TEXT_STATUS_FLASHCORRUPTED, LT_TEXT_STATUS_TOOCOLD,
    LT_TEXT_STATUS_FILECORRUPTED, LT_TEXT_STATUS_READONLY,
};

} // namespace

extern "C" {

const char *LT_text(LT_TextId eId)
{
    return eId >= 0 && eId < LT_TEXT_COUNT ? kTexts[eId] : kTexts[LT_TEXT_UNKNOWN];
}

const char *LT_statusName(int32_t i32Status)
{
    const int32_t i32Count = int32_t(sizeof(kStatusNames) / sizeof(kStatusNames[0]));
    if (i32Status > 0 || i32Status <= -i32Count)
        return LT_text(LT_TEXT_STATUS_UNKNOWN);
    return LT_text(kStatusNames[-i32Status]);
}

} // extern "C"
