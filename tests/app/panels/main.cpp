// Runs the sensor panels' tests inside a QApplication, offscreen, with the sensor library started
// as the program does, and both settings scopes and the application-data folder in a temporary
// folder.
#include "QtTestMain.h"

#include "Model.h"
#include "PXR.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QTemporaryDir scratch;
    prepareQtTests(&argc, argv, scratch);
    qputenv("APPDATA", scratch.filePath("appdata").toUtf8());
    int result = 1;
    {
        QApplication app(argc, argv);
        nameQtTestApplication();
        if (PXR_initLibrary() != 1)
            return 1;
        result = RUN_ALL_TESTS();
        Model::deleteInstance();
        PXR_releaseLibrary();
    }
    return result;
}
