// The open-file dialog, run through the modal seam so that tests answer it.
#include "OpenFileDialog.h"

#include "ZyModalRunner.h"

#include <QFileDialog>

QString OpenFileDialog::getOpenFileName(QWidget *parent, const QString &caption, const QString &startPath,
                                        const QString &filter)
{
    QFileDialog dialog(parent, caption, startPath, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (ZyModalRunner::exec(&dialog) != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}
