// The main window's pictures, compiled into this static library, which the linker would
// otherwise drop because no code names them.
#include "MainWindowResources.h"

#include "SettingsResources.h"

#include <QtGlobal>

void loadMainWindowResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(mainwindow);
        loadSettingsResources(); // the window's disconnect picture is the settings dialogs'
        return true;
    }();
    Q_UNUSED(loaded);
}
