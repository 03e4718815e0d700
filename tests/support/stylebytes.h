#pragma once

#include <QByteArray>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

// Hand-made style files for reader and writer tests.

struct Chunk {
    const char *tag;
    QByteArray payload;
    // When set, the header claims this size instead of the payload's.
    qint64 claimedSize = -1;
};

QByteArray u16s(std::initializer_list<int> words);
QByteArray u8s(std::initializer_list<int> bytes);
QByteArray styleFile(std::initializer_list<Chunk> chunks, quint16 version = 700);
QByteArray styleFile(const std::vector<Chunk> &chunks, quint16 version = 700);

// Offset of the first byte where the two differ (the shorter length when one is a prefix of the
// other), or -1 when they are equal: readable failures for whole-file comparisons.
qsizetype firstDifference(const QByteArray &a, const QByteArray &b);

// The file with the payload of its first chunk `tag` replaced (the size in its header follows),
// every other byte in place.
QByteArray withPayload(const QByteArray &file, const QByteArray &tag, const QByteArray &payload);

// The chunks of a style file by tag, in the order they appear (a tag seen twice keeps its last).
std::map<QByteArray, QByteArray> styleChunks(const QByteArray &file);
