// Tells the parts that cache a setting that it changed: the model wires the master player to the
// buffer duration, and each video player follows the display switch itself.
#include "AppSettingsNotifier.h"

AppSettingsNotifier *AppSettingsNotifier::instance()
{
    static AppSettingsNotifier notifier;
    return &notifier;
}
