#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>
#include <array>
#include <optional>

// The SHA-1 digest of bytes given piece by piece, the same as QCryptographicHash's, made with the
// processor's SHA instructions where it has them: the megabytes of pixels of a style are digested
// on every unpack, several times as fast so.
class Sha1Digest {
public:
    Sha1Digest();
    void addData(QByteArrayView bytes);
    // The 20 bytes of the digest of all the bytes added; asked once, at the end.
    QByteArray result();

private:
    std::optional<QCryptographicHash> portable_; // where the processor has no SHA instructions
    std::array<quint32, 5> state_{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    std::array<uchar, 64> block_{};
    qsizetype filled_ = 0; // bytes of block_ waiting for the rest of their block
    quint64 length_ = 0;
};
