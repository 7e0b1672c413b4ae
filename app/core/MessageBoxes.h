// Information and warning boxes titled like the widget they belong to, run through the modal seam.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

class MessageBoxes
{
public:
    MessageBoxes() = delete;

    // One OK button; the parent's window title is the box's title.
    static void information(QWidget *parent, const QString &text);
    static void warning(QWidget *parent, const QString &text);

private:
    static void show(QMessageBox::Icon icon, QWidget *parent, const QString &text);
};
