/* The legacy protocol library's interface: C linkage, results 0 or 1 plus an error record. */
#ifndef LUMATREK_H
#define LUMATREK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define LUMATREK_VERSION_TEXT_SIZE 32

/* The legacy library's version, filled by LumatrekGetVersion. */
typedef struct LumatrekVersion {
    char aszVersion[LUMATREK_VERSION_TEXT_SIZE];
    uint16_t u16Major;
    uint16_t u16Minor;
    uint32_t u32Patch;
} LumatrekVersion;

/* Fills the caller's record with the version text and numbers; a null record is left alone. */
void LumatrekGetVersion(LumatrekVersion *psVersion);
/* With a name and a non-zero size (kilobytes) sets the runtime's log file with that cap;
 * otherwise switches the runtime's log file off. Returns nothing. */
void LumatrekSetLogFile(const char *pcszLogFile, uint32_t u32MaxSizeKb);

#ifdef __cplusplus
}
#endif

#endif
