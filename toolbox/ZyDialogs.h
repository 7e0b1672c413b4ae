// Message boxes, questions and file choosers, each run through the modal seam so that tests
// answer them; the save chooser remembers its folder per purpose.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

class ZyDialogs
{
public:
    ZyDialogs() = delete;

    // The chosen file, or an empty text when the operator cancelled.
    static QString getSaveFileName(QWidget *parent, const QString &key, const QString &caption,
                                   const QString &filter, const QString &proposedFile);
    static QString getOpenFileName(QWidget *parent, const QString &caption, const QString &startPath,
                                   const QString &filter);

    // Boxes with one OK button.
    static QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text,
                                                const QString &detailedText = QString());
    static QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text,
                                               const QString &detailedText = QString());
    static QMessageBox::StandardButton information(QWidget *parent, const QString &title, const QString &text);
    // Titled with the parent's window title.
    static void warning(QWidget *parent, const QString &text);
    static void information(QWidget *parent, const QString &text);

    // Yes and No, no default button; titled with the parent's window title. The button pressed.
    static int question(QWidget *parent, QMessageBox::Icon icon, const QString &text);

private:
    static QMessageBox::StandardButton showBox(QMessageBox::Icon icon, QWidget *parent, const QString &title,
                                               const QString &text, const QString &detailedText);
    static QString windowTitleOf(QWidget *parent);
};
