#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

// A palette PNG written chunk by chunk as Pillow writes one: the palette only as long as the colours
// used, and 1, 2 or 4 bits per pixel when that palette fits them; so the tests do not rely on
// Qt's PNG writer.
struct PalettePngLayout {
    int width = 1;
    int height = 1;
    int bitDepth = 8;
    QList<QRgb> palette;
    // Alpha per palette entry (a tRNS chunk) when not empty.
    QByteArray transparency;
    // One palette index per pixel, row by row.
    QByteArray indexes;
};

QByteArray pngFromLayout(const PalettePngLayout &layout);
// An 8-bit picture saved as Pillow saves an indexed PNG after quantizing: a palette of only the
// colours the pixels use, numbered by falling pixel count (ties by first appearance), and the
// fewest bits per pixel (1, 2, 4 or 8) that number them.
QByteArray pillowPng(const QImage &picture);
// A true-colour PNG (8-bit RGB) of one colour.
QByteArray rgbPngBytes(int width, int height, QRgb colour);
