// Runs the application core's tests inside a Qt application, offscreen, with the sensor library
// started and the settings in a temporary folder. The sanitizer build has no widgets.
#include "QtTestMain.h"

#ifdef BZK_CORE_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
using TestApplication = QCoreApplication;
#endif

#include "PXR.h"

int main(int argc, char **argv)
{
    QTemporaryDir settingsDir;
    prepareQtTests(&argc, argv, settingsDir);
    TestApplication app(argc, argv);
    nameQtTestApplication();
    if (PXR_initLibrary() != 1)
        return 1;
    const int result = RUN_ALL_TESTS();
    PXR_releaseLibrary();
    return result;
}
