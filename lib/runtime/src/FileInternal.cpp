/* Small file operations of the log's rotation: size, rename over, delete. */
#include <filesystem>
#include <system_error>

#include "SA_Internal.h"

namespace fs = std::filesystem;

extern "C" {

int SA_FileGetSizeDirect(const char *pcszPath, uint64_t *pu64Size)
{
    if (pcszPath == nullptr || pu64Size == nullptr)
        return 0;
    std::error_code error;
    uintmax_t uSize = fs::file_size(fs::path(pcszPath), error);
    if (error)
        return 0;
    *pu64Size = (uint64_t)uSize;
    return 1;
}

int SA_FileRename(const char *pcszOldPath, const char *pcszNewPath)
{
    if (pcszOldPath == nullptr || pcszNewPath == nullptr)
        return 0;
    std::error_code error;
    fs::rename(fs::path(pcszOldPath), fs::path(pcszNewPath), error);
    return error ? 0 : 1;
}

int SA_FileDelete(const char *pcszPath)
{
    if (pcszPath == nullptr)
        return 0;
    std::error_code error;
    fs::path sPath(pcszPath);
    /* Files only: the platform's delete leaves folders alone. */
    if (fs::is_directory(fs::symlink_status(sPath, error)))
        return 0;
    return fs::remove(sPath, error) ? 1 : 0;
}

}  // extern "C"
