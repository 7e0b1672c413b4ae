// Runs modal dialogs; tests install a handler that answers them without a person.
#include "ZyModalRunner.h"

#include <QDialog>

namespace {
ZyModalRunner::Handler g_handler;
}

int ZyModalRunner::exec(QDialog *dialog)
{
    if (g_handler)
        return g_handler(dialog);
    return dialog->exec();
}

void ZyModalRunner::setHandler(Handler handler)
{
    g_handler = std::move(handler);
}
