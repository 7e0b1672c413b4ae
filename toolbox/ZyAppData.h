// The user's application-data folder, the "%AppData%" of log folders and key files.
#pragma once

#include <QString>

class ZyAppData
{
public:
    ZyAppData() = delete;

    // APPDATA when the environment sets it, else the platform's per-user data folder.
    static QString folder();
};
