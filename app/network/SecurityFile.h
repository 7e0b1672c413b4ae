// The files the security dialogs hand to the sensor or to the plate decryptor: read whole up to a
// cap, and picked with a chooser whose choice is remembered.
#pragma once

#include "AppSettings.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QLineEdit;
class QWidget;

class SecurityFile
{
public:
    SecurityFile() = delete;

    // Largest file read, in bytes: the size of the largest message file the window sends.
    static constexpr qint64 kLimit = 10000000;

    // The whole file; nothing, after a critical box with the error text, when it cannot be
    // opened (an empty path included) or is larger than the cap.
    static std::optional<QByteArray> read(QWidget *parent, const QString &path, const QString &error);
    // Asks for a file from the start path; a chosen one goes into the field and under the key.
    static void pick(QWidget *parent, QLineEdit *field, AppSettings::SecurityPath key, const QString &start,
                     const QString &filter);
    // The filters of the choosers ("*.*" would hide the many key files without a dot).
    static QString anyFileFilter();
    static QString pfxFilter();
};
