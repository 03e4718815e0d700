#include "support/stylebytes.h"

#include <algorithm>
#include <vector>

namespace {
void appendLittle(QByteArray &out, quint64 v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xff));
}
} // namespace

QByteArray u16s(std::initializer_list<int> words) {
    QByteArray out;
    for (const int w : words)
        appendLittle(out, static_cast<quint16>(w), 2);
    return out;
}

QByteArray u8s(std::initializer_list<int> bytes) {
    QByteArray out;
    for (const int b : bytes)
        out.append(static_cast<char>(b));
    return out;
}

QByteArray styleFile(const std::vector<Chunk> &chunks, quint16 version) {
    QByteArray out("GBST");
    appendLittle(out, version, 2);
    for (const Chunk &c : chunks) {
        out.append(c.tag, 4);
        appendLittle(out, c.claimedSize >= 0 ? quint64(c.claimedSize) : quint64(c.payload.size()), 4);
        out.append(c.payload);
    }
    return out;
}

QByteArray styleFile(std::initializer_list<Chunk> chunks, quint16 version) {
    return styleFile(std::vector<Chunk>(chunks), version);
}

qsizetype firstDifference(const QByteArray &a, const QByteArray &b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i)
        if (a[i] != b[i])
            return i;
    return a.size() == b.size() ? -1 : n;
}

QByteArray withPayload(const QByteArray &file, const QByteArray &tag, const QByteArray &payload) {
    qsizetype at = 6;
    while (at + 8 <= file.size()) {
        quint32 size = 0;
        for (int i = 0; i < 4; ++i)
            size |= quint32(quint8(file[at + 4 + i])) << (8 * i);
        if (file.mid(at, 4) == tag) {
            QByteArray header = tag;
            appendLittle(header, quint64(payload.size()), 4);
            return file.left(at) + header + payload + file.mid(at + 8 + qsizetype(size));
        }
        at += 8 + qsizetype(size);
    }
    return file;
}

std::map<QByteArray, QByteArray> styleChunks(const QByteArray &file) {
    std::map<QByteArray, QByteArray> chunks;
    qsizetype at = 6;
    while (at + 8 <= file.size()) {
        quint32 size = 0;
        for (int i = 0; i < 4; ++i)
            size |= quint32(quint8(file[at + 4 + i])) << (8 * i);
        chunks[file.mid(at, 4)] = file.mid(at + 8, size);
        at += 8 + qsizetype(size);
    }
    return chunks;
}
