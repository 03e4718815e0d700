#pragma once

#include "platform/bitmapfile.h"

#include <QByteArray>
#include <QImage>

// Palette PNGs through libpng. Qt's PNG support is not exact for them: it saves an 8-bit picture
// whose colours are all grey as a grey PNG, and reads indexes past a short palette as 0.

// The bytes of a palette PNG holding an 8-bit picture: 8 bits per pixel, the colour table (padded
// with black to 256 entries) as the palette, every index kept. Empty for a picture that is not 8-bit;
// throws std::bad_alloc when memory runs out.
QByteArray palettePngBytes(const QImage &indexed8);

// What a PNG file holds, in the terms of the bitmap reader:
// - a palette PNG of 1, 2, 4 or 8 bits: Format_Indexed8 with every stored index and a 256-entry
//   colour table (the palette, opaque, then black), pixel format 8 bit, `fileColours` its entries;
// - an 8-bit grey PNG: each level an index over the grey ramp, pixel format 8 bit;
// - any other PNG: as Qt decodes it, with the pixel format of its colours, for the imports to refuse.
// Throws EditorError naming `path` for a file that is damaged or too large to hold.
LoadedBitmap decodePng(const QByteArray &bytes, const QString &path);

bool isPng(const QByteArray &bytes);
