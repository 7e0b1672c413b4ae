// The remembered plate-decryption key: its file under the user's application data, enciphered
// with the runtime's built-in AES key.
#pragma once

#include <QByteArray>
#include <QString>

class PrivateKeyFile
{
public:
    PrivateKeyFile() = delete;

    // Longest key and longest pass phrase a file may state.
    static constexpr quint32 maxLength = 10000;

    // "BZK/pkey" in the application-data folder.
    static QString path();
    // Enciphers the key and pass phrase into the file, readable by its owner only; the folder is
    // made for the owner alone when missing. An old file stays whole when the write fails.
    static bool write(const QString &path, const QByteArray &key, const QByteArray &passPhrase);
    // The key and pass phrase of the file; false, with both outputs untouched, for a missing,
    // unreadable, damaged or short file.
    static bool read(const QString &path, QByteArray &key, QByteArray &passPhrase);

    // The enciphered form of a key and pass phrase, and back.
    static QByteArray encipher(const QByteArray &key, const QByteArray &passPhrase);
    static bool decipher(QByteArray data, QByteArray &key, QByteArray &passPhrase);
};
