// Message boxes, questions and file choosers, each run through the modal seam so that tests
// answer them; the save chooser remembers its folder per purpose.
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

QString ZyDialogs::getOpenFileName(QWidget *parent, const QString &caption, const QString &startPath,
                                   const QString &filter)
{
    QFileDialog dialog(parent, caption, startPath, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (ZyModalRunner::exec(&dialog) != QDialog::Accepted)
        return QString();
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

QMessageBox::StandardButton ZyDialogs::information(QWidget *parent, const QString &title, const QString &text)
{
    return showBox(QMessageBox::Information, parent, title, text, QString());
}

void ZyDialogs::warning(QWidget *parent, const QString &text)
{
    showBox(QMessageBox::Warning, parent, windowTitleOf(parent), text, QString());
}

void ZyDialogs::information(QWidget *parent, const QString &text)
{
    showBox(QMessageBox::Information, parent, windowTitleOf(parent), text, QString());
}

int ZyDialogs::question(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, windowTitleOf(parent), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::NoButton);
    return ZyModalRunner::exec(&box);
}

QMessageBox::StandardButton ZyDialogs::showBox(QMessageBox::Icon icon, QWidget *parent, const QString &title,
                                               const QString &text, const QString &detailedText)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setDetailedText(detailedText);
    return QMessageBox::StandardButton(ZyModalRunner::exec(&box));
}

QString ZyDialogs::windowTitleOf(QWidget *parent)
{
    return parent != nullptr ? parent->windowTitle() : QString();
}
