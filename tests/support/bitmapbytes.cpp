#include "support/bitmapbytes.h"

namespace {

void put16(QByteArray &out, quint32 value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void put32(QByteArray &out, quint32 value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// The rows in file order, each padded to four bytes.
QByteArray storedRows(const BitmapLayout &layout) {
    QByteArray pixels;
    for (qsizetype i = 0; i < layout.rows.size(); ++i) {
        QByteArray bytes = layout.rows[layout.topDown ? i : layout.rows.size() - 1 - i];
        bytes.append((4 - bytes.size() % 4) % 4, '\0');
        pixels += bytes;
    }
    return pixels;
}

} // namespace

QByteArray bitmapBytes(const BitmapLayout &layout) {
    const QByteArray pixels = layout.stored ? *layout.stored : storedRows(layout);
    const int height = layout.topDown ? -layout.height : layout.height;

    QByteArray info;
    put32(info, layout.infoLength);
    if (layout.infoLength == 12) {
        put16(info, layout.width);
        put16(info, height);
        put16(info, layout.planes);
        put16(info, layout.bitCount);
    } else {
        put32(info, layout.width);
        put32(info, height);
        put16(info, layout.planes);
        put16(info, layout.bitCount);
        put32(info, layout.compression);
        put32(info, pixels.size());
        put32(info, 2835);
        put32(info, 2835);
        put32(info, layout.coloursUsed.value_or(layout.colours.size()));
        put32(info, 0);
        for (quint32 mask : layout.masks)
            put32(info, mask);
        if (layout.infoLength > 40)
            info.append(layout.infoLength - info.size(), '\0');
    }

    for (QRgb colour : layout.colours) {
        info.append(char(qBlue(colour)));
        info.append(char(qGreen(colour)));
        info.append(char(qRed(colour)));
        if (layout.infoLength != 12)
            info.append('\0');
    }

    QByteArray file("BM");
    const quint32 pixelOffset = 14 + info.size();
    put32(file, pixelOffset + pixels.size());
    put32(file, 0);
    put32(file, pixelOffset);
    return file + info + pixels;
}

QList<int> pixelIndexes(const QImage &image) {
    QList<int> indexes;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            indexes.append(image.constScanLine(y)[x]);
    return indexes;
}
