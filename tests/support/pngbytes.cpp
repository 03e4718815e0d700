#include "pngbytes.h"

#include <QMap>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <vector>

namespace {

quint32 crc32(const QByteArray &bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = table[(c ^ uchar(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendBigEndian(QByteArray &out, quint32 v) {
    char bytes[4];
    qToBigEndian(v, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray &out, const char *tag, const QByteArray &data) {
    appendBigEndian(out, quint32(data.size()));
    const QByteArray tagged = QByteArray(tag, 4) + data;
    out += tagged;
    appendBigEndian(out, crc32(tagged));
}

} // namespace

QByteArray pillowPng(const QImage &picture) {
    // Colours by falling pixel count; equal counts by their first appearance.
    QMap<QRgb, qint64> counts;
    std::vector<QRgb> order;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = picture.pixel(x, y) | 0xFF000000u;
            if (!counts.contains(colour))
                order.push_back(colour);
            ++counts[colour];
        }
    std::stable_sort(order.begin(), order.end(), [&](QRgb a, QRgb b) { return counts[a] > counts[b]; });
    QMap<QRgb, int> entry;
    QByteArray palette;
    for (int i = 0; i < int(order.size()); ++i) {
        entry[order[std::size_t(i)]] = i;
        palette.append(char(qRed(order[std::size_t(i)])));
        palette.append(char(qGreen(order[std::size_t(i)])));
        palette.append(char(qBlue(order[std::size_t(i)])));
    }
    const int colours = int(order.size());
    const int bits = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;

    QByteArray rows;
    for (int y = 0; y < picture.height(); ++y) {
        rows.append('\0'); // filter: none
        QByteArray row((picture.width() * bits + 7) / 8, '\0');
        for (int x = 0; x < picture.width(); ++x) {
            const int value = entry[picture.pixel(x, y) | 0xFF000000u];
            const int bit = x * bits;
            row[bit / 8] = char(uchar(row[bit / 8]) | (value << (8 - bits - bit % 8)));
        }
        rows += row;
    }

    QByteArray header;
    appendBigEndian(header, quint32(picture.width()));
    appendBigEndian(header, quint32(picture.height()));
    header.append(char(bits));
    header.append(char(3)); // palette
    header.append(3, '\0'); // deflate, adaptive filtering, no interlace

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "PLTE", palette);
    appendChunk(png, "IDAT", qCompress(rows, 9).mid(4)); // qCompress prefixes the zlib stream with its length
    appendChunk(png, "IEND", QByteArray());
    return png;
}
