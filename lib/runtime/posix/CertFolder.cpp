/* Where the certificate stores live on disk: the per-user data folder (XDG_DATA_HOME,
 * else ~/.local/share), the machine-wide one (/etc), and a folder's files. */
#include "NetPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

static int CopyPath(char *pszPath, uint32_t u32Size, const char *pcszFirst, const char *pcszSecond)
{
    int iLength = snprintf(pszPath, u32Size, "%s%s", pcszFirst, pcszSecond);
    return (iLength < 0 || static_cast<uint32_t>(iLength) >= u32Size) ? -1 : 0;
}

extern "C" {

int SA_OsUserDataFolder(char *pszPath, uint32_t u32Size)
{
    const char *pcszData = getenv("XDG_DATA_HOME");
    if (pcszData != nullptr && pcszData[0] == '/')
        return CopyPath(pszPath, u32Size, pcszData, "");
    const char *pcszHome = getenv("HOME");
    if (pcszHome == nullptr || pcszHome[0] == '\0') {
        const struct passwd *psUser = getpwuid(getuid());
        if (psUser == nullptr || psUser->pw_dir == nullptr)
            return -1;
        pcszHome = psUser->pw_dir;
    }
    return CopyPath(pszPath, u32Size, pcszHome, "/.local/share");
}

int SA_OsMachineDataFolder(char *pszPath, uint32_t u32Size) { return CopyPath(pszPath, u32Size, "/etc", ""); }

int SA_OsListFolder(const char *pcszFolder, SA_OsFolderEntryCallback rCallback, void *pArgument)
{
    DIR *psDir = opendir(pcszFolder);
    if (psDir == nullptr)
        return -1;
    char aszPath[4096];
    for (const struct dirent *psEntry = readdir(psDir); psEntry != nullptr; psEntry = readdir(psDir)) {
        if (psEntry->d_name[0] == '.')
            continue;
        if (CopyPath(aszPath, sizeof(aszPath), pcszFolder, "/") != 0)
            continue;
        size_t uUsed = strlen(aszPath);
        if (CopyPath(aszPath + uUsed, sizeof(aszPath) - uUsed, psEntry->d_name, "") != 0)
            continue;
        struct stat sStat;
        if (stat(aszPath, &sStat) == 0 && S_ISREG(sStat.st_mode))
            rCallback(aszPath, pArgument);
    }
    closedir(psDir);
    return 0;
}

} /* extern "C" */
