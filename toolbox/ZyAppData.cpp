// The user's application-data folder, the "%AppData%" of log folders and key files.
#include "ZyAppData.h"

#include <QProcessEnvironment>
#include <QStandardPaths>

QString ZyAppData::folder()
{
    const QString fromEnv = QProcessEnvironment::systemEnvironment().value("APPDATA");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}
