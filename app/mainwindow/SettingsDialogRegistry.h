// Puts the settings, network, security and integration dialogs into the dispatcher's table,
// under their class names. Run by the window at every construction: a test may have emptied
// the table since.
#pragma once

void registerSettingsDialogs();
