// The main window's pictures, compiled into this static library, which the linker would
// otherwise drop because no code names them.
#include "MainWindowResources.h"

#include <QtGlobal>

void loadMainWindowResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(mainwindow);
        return true;
    }();
    Q_UNUSED(loaded);
}
