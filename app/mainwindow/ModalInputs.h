// The input dialogs and questions of the main window's commands, run through the modal seam so
// that tests answer them.
#pragma once

#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

class ModalInputs
{
public:
    ModalInputs() = delete;

    // The typed text; nothing when cancelled.
    static std::optional<QString> getText(QWidget *parent, const QString &title, const QString &label, const QString &text,
                                          QLineEdit::EchoMode echo = QLineEdit::Normal);
    // Nothing when cancelled.
    static std::optional<int> getInt(QWidget *parent, const QString &title, const QString &label, int value,
                                     int minimum, int maximum);
    static std::optional<QString> getItem(QWidget *parent, const QString &title, const QString &label,
                                          const QStringList &items, int current);
    // Yes and No, no default button; titled with the parent's window title. The button pressed.
    static int question(QWidget *parent, QMessageBox::Icon icon, const QString &text);
    // Boxes with one OK button.
    static void critical(QWidget *parent, const QString &title, const QString &text);
    static void information(QWidget *parent, const QString &title, const QString &text);

private:
    static void box(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text);
};
