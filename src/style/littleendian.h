#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <cstring>

// Little-endian field access for the style file; callers check the bounds before reading.

inline quint16 readU16(const char *p) {
    const auto *u = reinterpret_cast<const uchar *>(p);
    return static_cast<quint16>(u[0] | (u[1] << 8));
}

inline quint32 readU32(const char *p) {
    const auto *u = reinterpret_cast<const uchar *>(p);
    return static_cast<quint32>(u[0]) | (static_cast<quint32>(u[1]) << 8) |
           (static_cast<quint32>(u[2]) << 16) | (static_cast<quint32>(u[3]) << 24);
}

inline void appendU8(QByteArray &out, quint8 v) {
    out.append(static_cast<char>(v));
}

inline void appendU16(QByteArray &out, quint16 v) {
    const char bytes[2] = {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)};
    out.append(bytes, 2);
}

inline void appendU32(QByteArray &out, quint32 v) {
    const char bytes[4] = {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                           static_cast<char>((v >> 16) & 0xff), static_cast<char>(v >> 24)};
    out.append(bytes, 4);
}

inline void storeU32(char *p, quint32 v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xff);
}
