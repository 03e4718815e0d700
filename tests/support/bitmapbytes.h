#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>
#include <optional>

// A Windows bitmap file described field by field, so the tests do not rely on the writer they check.
struct BitmapLayout {
    int width = 1;
    int height = 1;
    quint16 planes = 1;
    quint16 bitCount = 8;
    quint32 compression = 0;
    // 12 (OS/2 core header), 40, or 124 (the masks then sit inside the header).
    quint32 infoLength = 40;
    QList<QRgb> colours = {};
    // The header's count of used colours; the number of colours written when not set.
    std::optional<quint32> coloursUsed = {};
    // Red, green and blue masks for bit-field compression.
    QList<quint32> masks = {};
    // Packed pixel bytes, top row first; each row is padded to four bytes when written.
    QList<QByteArray> rows = {};
    // Stores the rows top row first under a negative height.
    bool topDown = false;
    // Pixel data written as it is instead of the rows (a run-length stream).
    std::optional<QByteArray> stored = {};
};

QByteArray bitmapBytes(const BitmapLayout &layout);

// Every pixel's index, row by row.
QList<int> pixelIndexes(const QImage &image);
