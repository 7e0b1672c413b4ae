// Runs the toolbox tests inside a QApplication, offscreen, with settings in a temporary folder.
#include "QtTestMain.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QTemporaryDir settingsDir;
    prepareQtTests(&argc, argv, settingsDir);
    QApplication app(argc, argv);
    nameQtTestApplication();
    return RUN_ALL_TESTS();
}
