/* Where the LEDs fire inside the camera's exposure, and how strongly, for a shutter setting
 * and the handle's LED board. */
#include "Lumatrek_Internal.h"

namespace {

// Exposure time in microseconds by shutter setting.
const uint32_t kExposureUs[] = {20000, 20000, 20000, 20000, 20000, 20000, 20000, 13400, 10000, 8400, 6700,
                                4700,  3400,  2400,  1700,  1000,  800,   600,   400,   300,   200,  100};
const uint32_t kFrameUs = 20000;
const uint32_t kShortExposureUs = 1000;

uint32_t boardClass(LumatrekHandle *psHandle)
{
    const uint32_t u32CameraWord = psHandle ? psHandle->sConfig.u32CameraWord : 0;
    if (LT_protocolAtLeast(psHandle, 2, 2))
        return u32CameraWord & 0x3F000000u;
    return u32CameraWord != 0 ? 0x2000000u : 0;
}

} // namespace

extern "C" {

int LT_shutterKnown(uint32_t u32Shutter)
{
    return u32Shutter < sizeof(kExposureUs) / sizeof(kExposureUs[0]);
}

int GetShutterTiming(LumatrekHandle *psHandle, uint32_t u32Shutter, uint32_t *pu32LedStart, uint32_t *pu32LedEnd,
                     uint32_t *pu32PowerLimit)
{
    if (u32Shutter >= sizeof(kExposureUs) / sizeof(kExposureUs[0]))
        return 0;
    const uint32_t u32Exposure = kExposureUs[u32Shutter];
    uint32_t u32Start = u32Exposure;
    uint32_t u32End = kFrameUs - u32Exposure;
    int bKnown = 1;
    switch (boardClass(psHandle)) {
    case 0x1000000u:
        u32Start = u32Exposure + 300;
        u32End = 19800 - u32Exposure;
        break;
    case 0x2000000u: break;
    case 0x3000000u:
    case 0x4000000u:
    case 0x5000000u:
    case 0x6000000u:
        u32Start = u32Exposure + 200;
        u32End = 19600 - u32Exposure;
        break;
    default: bKnown = 0; break;
    }
    if (pu32LedStart)
        *pu32LedStart = u32Start;
    if (pu32LedEnd)
        *pu32LedEnd = u32End;
    if (pu32PowerLimit)
        *pu32PowerLimit = u32Exposure <= kShortExposureUs ? 2000 : 1000;
    return bKnown;
}

} // extern "C"
