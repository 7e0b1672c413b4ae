// Runs modal dialogs; tests install a handler that answers them without a person.
#pragma once

#include <functional>

class QDialog;

class ZyModalRunner
{
public:
    using Handler = std::function<int(QDialog *dialog)>;

    ZyModalRunner() = delete;

    // The dialog's exec(), or the installed handler's answer when there is one.
    static int exec(QDialog *dialog);
    // An empty handler restores the normal modal run.
    static void setHandler(Handler handler);
};
