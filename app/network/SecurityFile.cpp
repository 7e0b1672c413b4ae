// Capped reading and remembered picking of the security dialogs' files.
#include "SecurityFile.h"

#include "ZyDialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>

std::optional<QByteArray> SecurityFile::read(QWidget *parent, const QString &path, const QString &error)
{
    QFile file(path);
    // One byte past the cap tells a file at the cap from a larger one, without reading it all.
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly)) {
        QByteArray bytes = file.read(kLimit + 1);
        if (bytes.size() <= kLimit && file.error() == QFileDevice::NoError)
            return bytes;
    }
    ZyDialogs::critical(parent, QCoreApplication::translate("SecurityFile", "Error"), error);
    return std::nullopt;
}

void SecurityFile::pick(QWidget *parent, QLineEdit *field, AppSettings::SecurityPath key, const QString &start,
                        const QString &filter)
{
    const QString chosen =
        ZyDialogs::getOpenFileName(parent, QCoreApplication::translate("SecurityFile", "Select file"), start, filter);
    if (chosen.isEmpty())
        return;
    field->setText(chosen);
    AppSettings().setSecurityPath(key, chosen);
}

QString SecurityFile::anyFileFilter()
{
    return QCoreApplication::translate("SecurityFile", "All files (*)");
}

QString SecurityFile::pfxFilter()
{
    return QCoreApplication::translate("SecurityFile", "PFX file (*.pfx);;All files (*)");
}
