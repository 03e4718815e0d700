#pragma once

#include "platform/fileio.h"

#include <QImage>
#include <QString>

// The number messages print for a bitmap's pixel format.
enum PixelFormatCode : int {
    PfDevice = 0,
    Pf1Bit = 1,
    Pf4Bit = 2,
    Pf8Bit = 3,
    Pf15Bit = 4,
    Pf16Bit = 5,
    Pf24Bit = 6,
    Pf32Bit = 7,
    PfCustom = 8,
};

// A decoded bitmap file. Palette files (1, 4 and 8 bits, run-length compressed or not) come as
// Format_Indexed8 with the file's indexes unchanged and a 256-entry colour table: the file's
// entries, then black. All others come as Qt decodes them (RGB32 or ARGB32).
struct LoadedBitmap {
    QImage image;
    // Taken from the file's header, because Qt widens 1-, 4- and 16-bit files when decoding.
    int pixelFormatCode = PfDevice;
    // How many leading entries of the colour table came from the file; 0 without a table.
    int fileColours = 0;
};

// Throws EditorError naming `path` when the file cannot be read, is no Windows bitmap, or would be
// misread: a cut-off file, a damaged run-length stream, a colour table overlapping the pixels, colour
// masks other than one run of 1 to 8 bits each, or a header kind or compression Qt does not read.
LoadedBitmap loadBitmap(const QString &path);
// The same for bytes already in memory; `path` is only used in the error text.
LoadedBitmap decodeBitmap(const QByteArray &bytes, const QString &path);

// Writes an 8-bit bitmap with a 256-entry colour table (a shorter table is padded with black).
void saveBitmap8(const QString &path, const QImage &indexed8, Durability durability = Durability::Synced);
// Writes a 24-bit bitmap of any image.
void saveBitmap24(const QString &path, const QImage &image);
