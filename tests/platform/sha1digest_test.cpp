#include "platform/sha1digest.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <gtest/gtest.h>

// The digests end up in files that other versions of the program read: each must be SHA-1's own,
// whatever the lengths and however the bytes are cut into pieces.
TEST(Sha1Digest, EqualsSha1ForEveryLengthAroundTheBlocksAndAnyPieces) {
    Sha1Digest abc;
    abc.addData("abc");
    EXPECT_EQ(abc.result().toHex(), "a9993e364706816aba3e25717850c26c9cd0d89d");

    QRandomGenerator random(23);
    QByteArray bytes(3 * 64 * 64 + 7, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    for (qsizetype length = 0; length < 3 * 64 + 2; ++length) {
        Sha1Digest whole;
        whole.addData(QByteArrayView(bytes).first(length));
        EXPECT_EQ(whole.result(), QCryptographicHash::hash(bytes.first(length), QCryptographicHash::Sha1))
            << length << " bytes";
    }
    for (int round = 0; round < 20; ++round) {
        Sha1Digest pieces;
        for (qsizetype at = 0; at < bytes.size();) {
            const qsizetype piece = std::min<qsizetype>(random.bounded(200), bytes.size() - at);
            pieces.addData(QByteArrayView(bytes).sliced(at, piece));
            at += piece;
        }
        EXPECT_EQ(pieces.result(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha1))
            << "round " << round;
    }
}
