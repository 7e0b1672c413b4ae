// The remembered plate-decryption key: its file under the user's application data, enciphered
// with the runtime's built-in AES key.
#include "PrivateKeyFile.h"

#include "SA.h"
#include "ZyAppData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

namespace {

constexpr qsizetype kLengthSize = 4;
// Two lengths, the longest key and pass phrase, and the padding of the last block.
constexpr qint64 kLargestFile = 2 * kLengthSize + 2 * PrivateKeyFile::maxLength + AES_BLOCK_SIZE;

// The cipher's tables belong to the runtime: hold a start of it while they are used.
class RuntimeHold
{
public:
    RuntimeHold() : m_started(SA_Init(0, 0, -1) == SA_OK) {}
    ~RuntimeHold()
    {
        if (m_started)
            SA_Release();
    }
    bool started() const { return m_started; }

private:
    bool m_started;
};

// Enciphers or deciphers the whole buffer in place with the built-in key.
bool applyCipher(QByteArray &data, bool encipher)
{
    RuntimeHold runtime;
    if (!runtime.started())
        return false;
    AES_Handle handle = AES_CreateDefaultHandle();
    if (handle == nullptr)
        return false;
    const uint32_t length = uint32_t(data.size());
    const int result = encipher ? AES_EncryptBuffer(handle, data.data(), data.data(), length)
                                : AES_DecryptBuffer(handle, data.data(), data.data(), length);
    AES_ReleaseHandle(&handle);
    return result == 0;
}

void appendLength(QByteArray &data, qsizetype length)
{
    char bytes[kLengthSize];
    qToLittleEndian(quint32(length), bytes);
    data.append(bytes, kLengthSize);
}

// The length stored at offset, when the data holds it and it is not above the limit.
bool lengthAt(const QByteArray &data, qsizetype offset, quint32 &length)
{
    if (offset + kLengthSize > data.size())
        return false;
    length = qFromLittleEndian<quint32>(data.constData() + offset);
    return length <= PrivateKeyFile::maxLength;
}

bool makeOwnerOnlyFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    return QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

QString PrivateKeyFile::path()
{
    return ZyAppData::folder() + "/BZK/pkey";
}

QByteArray PrivateKeyFile::encipher(const QByteArray &key, const QByteArray &passPhrase)
{
    QByteArray data;
    appendLength(data, key.size());
    data.append(key);
    appendLength(data, passPhrase.size());
    data.append(passPhrase);
    data.resize(AES_RoundUpToBlock(uint32_t(data.size())), '\0');
    if (!applyCipher(data, true))
        return QByteArray();
    return data;
}

bool PrivateKeyFile::decipher(QByteArray data, QByteArray &key, QByteArray &passPhrase)
{
    if (data.isEmpty() || data.size() > kLargestFile || !applyCipher(data, false))
        return false;
    quint32 keyLength = 0;
    quint32 passLength = 0;
    if (!lengthAt(data, 0, keyLength) || !lengthAt(data, kLengthSize + keyLength, passLength))
        return false;
    const qsizetype passOffset = 2 * kLengthSize + keyLength;
    if (passOffset + passLength > data.size())
        return false;
    key = data.mid(kLengthSize, keyLength);
    passPhrase = data.mid(passOffset, passLength);
    return true;
}

bool PrivateKeyFile::write(const QString &path, const QByteArray &key, const QByteArray &passPhrase)
{
    if (qsizetype(maxLength) < key.size() || qsizetype(maxLength) < passPhrase.size())
        return false;
    const QByteArray data = encipher(key, passPhrase);
    if (data.isEmpty() || !makeOwnerOnlyFolder(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
        return false;
    return file.write(data) == data.size() && file.commit();
}

bool PrivateKeyFile::read(const QString &path, QByteArray &key, QByteArray &passPhrase)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
        return false;
    return decipher(file.readAll(), key, passPhrase);
}
