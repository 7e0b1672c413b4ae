// Save-file dialog that remembers its folder per purpose, and message boxes with details.
#include "ZyDialogs.h"

#include "ZyModalRunner.h"

#include <QFileDialog>
#include <QSettings>

namespace {
QString folderKey(const QString &key)
{
    return "SaveFileDialogs/" + key + "_dir";
}
} // namespace

QString ZyDialogs::getSaveFileName(QWidget *parent, const QString &key, const QString &caption,
                                   const QString &filter, const QString &proposedFile)
{
    QFileDialog dialog(parent, caption);
    dialog.setNameFilter(filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QSettings settings;
    if (!proposedFile.isEmpty())
        dialog.selectFile(proposedFile);
    else
        dialog.setDirectory(settings.value(folderKey(key)).toString());
    if (ZyModalRunner::exec(&dialog) != QDialog::Accepted)
        return QString();
    settings.setValue(folderKey(key), dialog.directory().absolutePath());
    return dialog.selectedFiles().value(0);
}

QMessageBox::StandardButton ZyDialogs::critical(QWidget *parent, const QString &title, const QString &text,
                                                const QString &detailedText)
{
    return showBox(QMessageBox::Critical, parent, title, text, detailedText);
}

QMessageBox::StandardButton ZyDialogs::warning(QWidget *parent, const QString &title, const QString &text,
                                               const QString &detailedText)
{
    return showBox(QMessageBox::Warning, parent, title, text, detailedText);
}

QMessageBox::StandardButton ZyDialogs::showBox(QMessageBox::Icon icon, QWidget *parent, const QString &title,
                                               const QString &text, const QString &detailedText)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setDetailedText(detailedText);
    return QMessageBox::StandardButton(ZyModalRunner::exec(&box));
}
