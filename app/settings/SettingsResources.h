// The settings dialogs' pictures, compiled into this static library, which the linker would
// otherwise drop because no code names them.
#pragma once

void loadSettingsResources();
