// The input dialogs and questions of the main window's commands, run through the modal seam.
#include "ModalInputs.h"

#include "ZyModalRunner.h"

#include <QInputDialog>
#include <QWidget>

namespace {

bool accepted(QInputDialog &dialog)
{
    return ZyModalRunner::exec(&dialog) == QDialog::Accepted;
}

} // namespace

std::optional<QString> ModalInputs::getText(QWidget *parent, const QString &title, const QString &label,
                                            const QString &text, QLineEdit::EchoMode echo)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(echo);
    dialog.setTextValue(text);
    if (!accepted(dialog))
        return std::nullopt;
    return dialog.textValue();
}

std::optional<int> ModalInputs::getInt(QWidget *parent, const QString &title, const QString &label, int value,
                                       int minimum, int maximum)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(minimum, maximum);
    dialog.setIntStep(1);
    dialog.setIntValue(value);
    if (!accepted(dialog))
        return std::nullopt;
    return dialog.intValue();
}

std::optional<QString> ModalInputs::getItem(QWidget *parent, const QString &title, const QString &label,
                                            const QStringList &items, int current)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    dialog.setTextValue(items.value(current));
    if (!accepted(dialog))
        return std::nullopt;
    return dialog.textValue();
}

int ModalInputs::question(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, parent != nullptr ? parent->windowTitle() : QString(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::NoButton);
    return ZyModalRunner::exec(&box);
}

void ModalInputs::critical(QWidget *parent, const QString &title, const QString &text)
{
    box(parent, QMessageBox::Critical, title, text);
}

void ModalInputs::information(QWidget *parent, const QString &title, const QString &text)
{
    box(parent, QMessageBox::Information, title, text);
}

void ModalInputs::box(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    ZyModalRunner::exec(&box);
}
