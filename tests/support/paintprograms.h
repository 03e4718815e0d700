#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The paint programs and converters whose bitmap habits the imports must survive.
enum class PaintProgram { Gimp, ImageMagick, GraphicsMagick, Pillow };

inline const PaintProgram AllPaintPrograms[] = {PaintProgram::Gimp, PaintProgram::ImageMagick,
                                                PaintProgram::GraphicsMagick, PaintProgram::Pillow};

QString programName(PaintProgram program);

// An 8-bit picture saved the way the program saves an indexed picture, byte by byte: only the
// colours the pixels use, numbered in the program's own order (never the picture's). GIMP: a
// version 5 header and a table of the used colours in the order they first appear. ImageMagick:
// a version 5 header, the colours sorted by value, run-length compressed with runs covering each
// row's padding. GraphicsMagick: a 40-byte header, the colours in reverse order of appearance,
// compressed the same way. Pillow: a 40-byte header, the colours by falling pixel count and a
// table of 256 entries padded with black.
QByteArray paintProgramBitmap(const QImage &picture, PaintProgram program);

// A 24-bit file with an OS/2 (12-byte) header, as GraphicsMagick writes for "BMP2:".
QByteArray os2TrueColourBitmap(const QImage &picture);
