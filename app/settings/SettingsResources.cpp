// The settings dialogs' pictures, compiled into this static library, which the linker would
// otherwise drop because no code names them.
#include "SettingsResources.h"

#include <QtGlobal>

void loadSettingsResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(settings);
        return true;
    }();
    Q_UNUSED(loaded);
}
