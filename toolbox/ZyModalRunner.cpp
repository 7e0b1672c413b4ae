// Runs modal dialogs; tests install a handler that answers them without a person.
#include "ZyModalRunner.h"

#include "ZyModalPreparation.h"

#include <QDialog>

namespace {
ZyModalRunner::Handler g_handler;
ZyModalRunner::ShowHandler g_showHandler;
}

int ZyModalRunner::exec(QDialog *dialog)
{
    auto *preparation = dynamic_cast<ZyModalPreparation *>(dialog);
    if (preparation != nullptr && !preparation->prepareRun())
        return QDialog::Rejected;
    if (g_handler)
        return g_handler(dialog);
    return dialog->QDialog::exec();
}

void ZyModalRunner::setHandler(Handler handler)
{
    g_handler = std::move(handler);
}

void ZyModalRunner::show(QDialog *dialog)
{
    dialog->show();
    if (g_showHandler)
        g_showHandler(dialog);
}

void ZyModalRunner::setShowHandler(ShowHandler handler)
{
    g_showHandler = std::move(handler);
}
