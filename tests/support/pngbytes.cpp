#include "support/pngbytes.h"

#include <QHash>
#include <QtEndian>
#include <algorithm>
#include <vector>

namespace {

quint32 crc32(const QByteArray &bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray rgbBytes(QRgb colour) {
    QByteArray bytes;
    bytes += char(qRed(colour));
    bytes += char(qGreen(colour));
    bytes += char(qBlue(colour));
    return bytes;
}

QByteArray chunk(const char *type, const QByteArray &data) {
    const QByteArray typed = QByteArray(type) + data;
    return bigEndian32(quint32(data.size())) + typed + bigEndian32(crc32(typed));
}

QByteArray png(int width, int height, int bitDepth, int colourType, const QByteArray &middle,
               const QByteArray &rows) {
    QByteArray header = bigEndian32(quint32(width)) + bigEndian32(quint32(height));
    header += char(bitDepth);
    header += char(colourType);
    header += QByteArray(3, '\0');
    // qCompress puts the length in front of the zlib stream.
    return QByteArrayLiteral("\x89PNG\r\n\x1a\n") + chunk("IHDR", header) + middle +
           chunk("IDAT", qCompress(rows).mid(4)) + chunk("IEND", {});
}

} // namespace

QByteArray pngFromLayout(const PalettePngLayout &layout) {
    QByteArray palette;
    for (const QRgb colour : layout.palette)
        palette += rgbBytes(colour);
    QByteArray middle = chunk("PLTE", palette);
    if (!layout.transparency.isEmpty())
        middle += chunk("tRNS", layout.transparency);
    const int perByte = 8 / layout.bitDepth;
    QByteArray rows;
    for (int y = 0; y < layout.height; ++y) {
        rows += '\0'; // filter: none
        QByteArray row((layout.width + perByte - 1) / perByte, '\0');
        for (int x = 0; x < layout.width; ++x) {
            const int shift = 8 - layout.bitDepth * (x % perByte + 1);
            row[x / perByte] =
                char(quint8(row[x / perByte]) | (quint8(layout.indexes[y * layout.width + x]) << shift));
        }
        rows += row;
    }
    return png(layout.width, layout.height, layout.bitDepth, 3, middle, rows);
}

QByteArray rgbPngBytes(int width, int height, QRgb colour) {
    QByteArray rows;
    for (int y = 0; y < height; ++y) {
        rows += '\0';
        for (int x = 0; x < width; ++x)
            rows += rgbBytes(colour);
    }
    return png(width, height, 8, 2, {}, rows);
}

QByteArray pillowPng(const QImage &picture) {
    QHash<QRgb, qint64> counts;
    std::vector<QRgb> order;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = picture.pixel(x, y) | 0xFF000000u;
            if (!counts.contains(colour))
                order.push_back(colour);
            ++counts[colour];
        }
    std::stable_sort(order.begin(), order.end(), [&](QRgb a, QRgb b) { return counts[a] > counts[b]; });
    PalettePngLayout layout;
    layout.width = picture.width();
    layout.height = picture.height();
    QHash<QRgb, int> entry;
    for (const QRgb colour : order) {
        entry[colour] = int(layout.palette.size());
        layout.palette.append(colour);
    }
    const qsizetype colours = layout.palette.size();
    layout.bitDepth = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            layout.indexes += char(entry[picture.pixel(x, y) | 0xFF000000u]);
    return pngFromLayout(layout);
}
