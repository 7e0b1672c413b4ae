// Text, number and choice inputs, run through the modal seam so that tests answer them.
#include "ZyInputs.h"

#include "ZyModalRunner.h"

#include <QInputDialog>

namespace {

bool accepted(QInputDialog &dialog)
{
    return ZyModalRunner::exec(&dialog) == QDialog::Accepted;
}

} // namespace

std::optional<QString> ZyInputs::getText(QWidget *parent, const QString &title, const QString &label,
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

std::optional<int> ZyInputs::getInt(QWidget *parent, const QString &title, const QString &label, int value,
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

std::optional<QString> ZyInputs::getItem(QWidget *parent, const QString &title, const QString &label,
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
