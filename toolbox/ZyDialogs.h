// Save-file dialog that remembers its folder per purpose, and message boxes with details.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

class ZyDialogs
{
public:
    ZyDialogs() = delete;

    static QString getSaveFileName(QWidget *parent, const QString &key, const QString &caption,
                                   const QString &filter, const QString &proposedFile);
    static QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text,
                                                const QString &detailedText);
    static QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text,
                                               const QString &detailedText);

private:
    static QMessageBox::StandardButton showBox(QMessageBox::Icon icon, QWidget *parent, const QString &title,
                                               const QString &text, const QString &detailedText);
};
