// The program from start to end: libraries, names, translations, the start-up password, the
// model and the main window, the event loop, and the tear-down in its fixed order.
#pragma once

class AppStartup
{
public:
    AppStartup() = delete;

    // The whole program; main's result: 1 when the start-up password is refused, otherwise the
    // event loop's.
    static int run(int &argc, char **argv);

    // The platform to ask for when the operator chose none: X11 where an X display is there, so
    // that the documentation panel of the settings dialogs can be placed beside its dialog (a
    // Wayland client cannot place its windows). Before the application object exists.
    static void choosePlatform(int argc, char **argv);
    // The names under which every setting is kept; before the application object exists.
    static void nameApplication();
    // The translation files beside the program, in their fixed order; missing ones are skipped.
    static void installTranslations();
    // True when no start-up password is set or the operator gave it.
    static bool passwordAccepted();
};
