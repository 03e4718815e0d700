#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QString>
#include <vector>

// A bitmap file of a kind paint programs and converters write, made byte by byte, and what reading
// it must give: either the refusal or the exact picture.
struct OddBitmap {
    QString name;
    QByteArray bytes;
    // Part of the message a refused file gives; empty for a file that is read.
    QString refusal = {};
    int pixelFormatCode = 0;
    // The file's colour table; the picture's table is this padded with black to 256 entries.
    QList<QRgb> fileColours = {};
    // Palette files: every index, top row first.
    QList<int> indexes = {};
    // Other files: every colour, top row first.
    QList<QRgb> pixels = {};

    bool paletted() const { return !fileColours.isEmpty(); }
};

// Every kind, the pictures `width` * `height` pixels (at least 4 * 2) where the kind allows.
std::vector<OddBitmap> oddBitmaps(int width, int height);

// Writes each file into `folder` under its name.
void writeOddBitmaps(const std::vector<OddBitmap> &files, const QString &folder);
