// Where the program's own files lie: the folder of the executable, where translations sit.
#include "AppPaths.h"

#include <QCoreApplication>

namespace {
QString g_programFolder;
}

QString AppPaths::programFolder()
{
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    return QCoreApplication::applicationDirPath();
}

void AppPaths::setProgramFolder(const QString &folder)
{
    g_programFolder = folder;
}
