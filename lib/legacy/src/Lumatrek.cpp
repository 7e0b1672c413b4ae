/* The legacy library's own version and its switch of the runtime's log file. */
#include "Lumatrek.h"
#include "SA_Log.h"

#include <cstring>

namespace {

const uint16_t kMajor = 10;
const uint16_t kMinor = 9;
const uint32_t kPatch = 6;
const char kVersionText[] = "10.9.6";
const uint32_t kBytesPerKb = 1024;

} // namespace

extern "C" {

void LumatrekGetVersion(LumatrekVersion *psVersion)
{
    if (!psVersion)
        return;
    memset(psVersion, 0, sizeof(*psVersion));
    memcpy(psVersion->aszVersion, kVersionText, sizeof(kVersionText));
    psVersion->u16Major = kMajor;
    psVersion->u16Minor = kMinor;
    psVersion->u32Patch = kPatch;
}

void LumatrekSetLogFile(const char *pcszLogFile, uint32_t u32MaxSizeKb)
{
    // A cap beyond what 32 bits of bytes hold is taken as the largest cap.
    if (pcszLogFile && u32MaxSizeKb != 0) {
        uint64_t u64Bytes = static_cast<uint64_t>(u32MaxSizeKb) * kBytesPerKb;
        SA_SetLogFileEx(pcszLogFile, u64Bytes > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(u64Bytes));
    } else {
        SA_SetLogFileEx(nullptr, 0);
    }
}

} // extern "C"
