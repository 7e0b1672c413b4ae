// The open-file dialog, run through the modal seam so that tests answer it.
#pragma once

#include <QString>

class QWidget;

class OpenFileDialog
{
public:
    OpenFileDialog() = delete;

    // The chosen existing file, or an empty text when the operator cancelled.
    static QString getOpenFileName(QWidget *parent, const QString &caption, const QString &startPath,
                                   const QString &filter);
};
