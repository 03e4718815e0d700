#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>

// A Windows bitmap file described field by field, so the tests do not rely on the writer they check.
struct BitmapLayout {
    int width = 1;
    int height = 1;
    quint16 bitCount = 8;
    quint32 compression = 0;
    // 12 (OS/2 core header), 40, or 124 (the masks then sit inside the header).
    quint32 infoLength = 40;
    QList<QRgb> colours = {};
    // Red, green and blue masks for bit-field compression.
    QList<quint32> masks = {};
    // Packed pixel bytes, top row first; each row is padded to four bytes when written.
    QList<QByteArray> rows = {};
};

QByteArray bitmapBytes(const BitmapLayout &layout);
