/* FFmpeg's log lines go to the runtime's log, which the application shows among its library
 * traces, rather than to the standard error of a program that has no console. */
#include "PXRPTool_Internal.h"

#include "SA_Log.h"

#include <mutex>
#include <string.h>

extern "C" {
#include <libavutil/log.h>
}

namespace {

constexpr size_t LINE_SIZE = 1024;

void forwardLine(void *pClass, int iLevel, const char *pcszFormat, va_list vlArguments)
{
    /* The runtime's log exists only while the runtime is started. */
    if (iLevel > av_log_get_level() || SA_GetInitCount() <= 0)
        return;
    /* A line may come in pieces; the prefix belongs only to a line's first piece. */
    static thread_local int iPrintPrefix = 1;
    char aszLine[LINE_SIZE];
    av_log_format_line2(pClass, iLevel, pcszFormat, vlArguments, aszLine, sizeof(aszLine), &iPrintPrefix);
    size_t uLength = strnlen(aszLine, sizeof(aszLine));
    while (uLength > 0 && (aszLine[uLength - 1] == '\n' || aszLine[uLength - 1] == '\r'))
        aszLine[--uLength] = '\0';
    if (uLength > 0)
        SA_Log("FFmpeg: %s", aszLine);
}

} // namespace

void PXRPTool_routeFFmpegLog(void)
{
    static std::once_flag sInstalled;
    std::call_once(sInstalled, [] { av_log_set_callback(forwardLine); });
}
