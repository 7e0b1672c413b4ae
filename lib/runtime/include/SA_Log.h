/* The runtime's process-wide log: an optional file with a size cap and one
 * ".old" copy, dated lines, hex dumps, and a callback for plain lines. */
#ifndef SA_LOG_H
#define SA_LOG_H

#include "SA_Core.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Receives each plain line (at most 124 characters, no line end). */
typedef void (*SA_LogCallback)(const char *pcszLine);

/* Sets the log file and its size cap in bytes (0: no rotation); a null path switches
 * the file off. Returns 0, or -1 for a path of 260 characters or more (refused). */
int SA_SetLogFileEx(const char *pcszLogFile, uint32_t u32MaxSize);
/* Installs the plain-line callback, or none. */
void SA_SetLogCallback(SA_LogCallback rCallback);
/* A plain line, to the file and to the callback. */
void SA_Log(const char *pcszFormat, ...) __attribute__((format(printf, 1, 2)));
/* A dated entry; the caller ends it with a line end. */
void SA_WriteLogDateV(const char *pcszFormat, ...) __attribute__((format(printf, 1, 2)));
/* A hex dump, 16 bytes a line, offsets starting at u32Offset. */
void SA_WriteLogDump(const void *pData, uint32_t u32Length, uint32_t u32Offset);

/* 1 with the file's size, 0 when it cannot be read. */
int SA_FileGetSizeDirect(const char *pcszPath, uint64_t *pu64Size);
/* Renames, replacing an existing file of the new name; 1 on success, 0 otherwise. */
int SA_FileRename(const char *pcszOldPath, const char *pcszNewPath);
/* 1 when the file was deleted, 0 otherwise. */
int SA_FileDelete(const char *pcszPath);

#ifdef __cplusplus
}
#endif

#endif
