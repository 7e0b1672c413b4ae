// Runs modal dialogs; tests install a handler that answers them without a person.
#pragma once

#include <functional>

class QDialog;

class ZyModalRunner
{
public:
    using Handler = std::function<int(QDialog *dialog)>;
    using ShowHandler = std::function<void(QDialog *dialog)>;

    ZyModalRunner() = delete;

    // A dialog that is a ZyModalPreparation prepares its run first and may refuse it (rejected).
    // Then the installed handler's answer, or QDialog's own modal run: never a subclass's
    // exec(), which may well come back here.
    static int exec(QDialog *dialog);
    // An empty handler restores the normal modal run.
    static void setHandler(Handler handler);

    // Shows a modal dialog that the caller polls (a progress dialog); an installed handler is
    // told of it after it is shown.
    static void show(QDialog *dialog);
    static void setShowHandler(ShowHandler handler);
};
