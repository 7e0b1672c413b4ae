// Where the program's own files lie: the folder of the executable, where translations sit.
#pragma once

#include <QString>

class AppPaths
{
public:
    AppPaths() = delete;

    // The executable's folder, unless a test put another in its place.
    static QString programFolder();
    // An empty folder goes back to the executable's.
    static void setProgramFolder(const QString &folder);
};
