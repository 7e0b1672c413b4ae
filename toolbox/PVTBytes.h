// Little-endian field access for the recording records: fields are written one by one, never as structs.
#pragma once

#include <QByteArray>
#include <cstring>

namespace PVTBytes {

template <typename T> inline void put(QByteArray &out, T value)
{
    for (size_t i = 0; i < sizeof(T); ++i)
        out.append(static_cast<char>((static_cast<unsigned long long>(value) >> (8 * i)) & 0xFF));
}

inline void putFloat(QByteArray &out, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    put<quint32>(out, bits);
}

template <typename T> inline T get(const QByteArray &in, int offset)
{
    unsigned long long value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<unsigned long long>(static_cast<quint8>(in.at(offset + int(i)))) << (8 * i);
    return static_cast<T>(value);
}

inline float getFloat(const QByteArray &in, int offset)
{
    const quint32 bits = get<quint32>(in, offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The text cut to the field, never inside a UTF-8 sequence; shorter texts are zero-padded.
inline QByteArray fitUtf8(const QByteArray &text, int size)
{
    int length = qMin<int>(int(text.size()), size);
    if (length < text.size())
        while (length > 0 && (static_cast<quint8>(text.at(length)) & 0xC0) == 0x80)
            --length;
    return text.left(length);
}

inline void putText(QByteArray &out, const QByteArray &text, int size, bool utf8 = true)
{
    const QByteArray cut = utf8 ? fitUtf8(text, size) : text.left(size);
    out.append(cut);
    out.append(QByteArray(size - int(cut.size()), '\0'));
}

inline QByteArray getText(const QByteArray &in, int offset, int size)
{
    const QByteArray field = in.mid(offset, size);
    const int end = int(field.indexOf('\0'));
    return end < 0 ? field : field.left(end);
}

} // namespace PVTBytes
