// Information and warning boxes titled like the widget they belong to, run through the modal seam.
#include "MessageBoxes.h"

#include "ZyModalRunner.h"

#include <QWidget>

void MessageBoxes::information(QWidget *parent, const QString &text)
{
    show(QMessageBox::Information, parent, text);
}

void MessageBoxes::warning(QWidget *parent, const QString &text)
{
    show(QMessageBox::Warning, parent, text);
}

void MessageBoxes::show(QMessageBox::Icon icon, QWidget *parent, const QString &text)
{
    QMessageBox box(icon, parent ? parent->windowTitle() : QString(), text, QMessageBox::Ok, parent);
    ZyModalRunner::exec(&box);
}
