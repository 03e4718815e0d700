#include "pngbytes.h"

#include <QtEndian>

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

QByteArray palettePngBytes(const PalettePngLayout &layout) {
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
