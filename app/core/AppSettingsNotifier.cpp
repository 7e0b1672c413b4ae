// Tells the parts that cache a setting that it changed; the model wires the video player to it.
#include "AppSettingsNotifier.h"

AppSettingsNotifier *AppSettingsNotifier::instance()
{
    static AppSettingsNotifier notifier;
    return &notifier;
}
