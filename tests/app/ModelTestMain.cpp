// Runs the tests of the model's widgets (video page, sensor panels) inside a QApplication
// (offscreen unless the platform is given), with the sensor library started as the program does,
// settings and application data in a temporary folder, and the model deleted before the library stops.
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
