// libFuzzer target of the remembered key file's reader. The input is the file's content before
// enciphering (two lengths, the key and the pass phrase, as the writer lays them out, or any
// bytes); it is enciphered with the built-in key, written and read back, and the raw input is
// deciphered as a damaged file would be. Never a crash; what is read is written again the same.
#include "PrivateKeyFile.h"
#include "SA.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray enciphered(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    bytes.resize(AES_RoundUpToBlock(uint32_t(size)), '\0');
    AES_Handle handle = AES_CreateDefaultHandle();
    if (!handle || AES_EncryptBuffer(handle, bytes.data(), bytes.data(), uint32_t(bytes.size())) != 0)
        abort();
    AES_ReleaseHandle(&handle);
    return bytes;
}

const QString &scratchPath()
{
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("pkey"));
    return path;
}

void readFile(const QByteArray &content)
{
    QFile file(scratchPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        abort();
    file.close();
    QByteArray key;
    QByteArray passPhrase;
    if (!PrivateKeyFile::read(scratchPath(), key, passPhrase))
        return;
    if (key.size() > qsizetype(PrivateKeyFile::maxLength) || passPhrase.size() > qsizetype(PrivateKeyFile::maxLength))
        __builtin_trap();
    QByteArray keyAgain;
    QByteArray passPhraseAgain;
    if (!PrivateKeyFile::decipher(PrivateKeyFile::encipher(key, passPhrase), keyAgain, passPhraseAgain) ||
        keyAgain != key || passPhraseAgain != passPhrase)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool started = SA_Init(0, 0, -1) == SA_OK;
    if (!started || size > 4 * PrivateKeyFile::maxLength)
        return 0;
    readFile(enciphered(data, size));
    QByteArray key;
    QByteArray passPhrase;
    PrivateKeyFile::decipher(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), key, passPhrase);
    return 0;
}
