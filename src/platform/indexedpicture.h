#pragma once

#include "platform/bitmapfile.h"

#include <optional>

// The files every export and import of a tile, sprite, pixel store, delta sheet or ped picture
// writes and reads: an 8-bit Windows bitmap, or a PNG with a palette.

enum class PictureFormat { Bmp, Png };

// The file dialogs' filter for these files.
inline const QString IndexedPictureFilter = QStringLiteral("*.bmp|*.bmp|*.png|*.png");

// A name ending in ".png" (any case) asks for a PNG; every other name for a bitmap.
PictureFormat pictureFormatOf(const QString &path);
QString pictureExtension(PictureFormat format);
// `path` as a save writes it: a ".png" name as it is, any other name with the ".bmp" extension.
QString picturePath(const QString &path);

// Reads a bitmap or, when the file starts with the PNG signature, a PNG. A palette PNG of 1, 2, 4
// or 8 bits per pixel comes as the 8-bit bitmaps do: Format_Indexed8 with every stored index and
// a 256-entry colour table (the PNG palette, opaque, then black), pixel format 8 bit; so does an
// 8-bit grey PNG, each level an index over the grey ramp. Other PNGs come as Qt decodes them with
// the pixel format of their colours (an RGBA PNG keeps its alpha); true-colour bitmaps come
// without alpha.
// Throws EditorError naming `path` when the file cannot be read or decoded.
LoadedBitmap loadPicture(const QString &path);
LoadedBitmap decodePicture(const QByteArray &bytes, const QString &path);

// Writes an 8-bit picture with a 256-entry colour table, as a PNG when `path` asks for one
// (8 bits per pixel, the table as its palette) and as a bitmap otherwise.
void savePicture8(const QString &path, const QImage &indexed8, Durability durability = Durability::Synced);

// The picture an import takes: a file, read only once the import's own checks have passed, or a
// picture already in hand (the clipboard's, a paint program's work file read once) with the name
// the import's messages give it.
class PictureSource {
public:
    static PictureSource file(const QString &path) { return PictureSource(path, std::nullopt); }
    static PictureSource picture(const LoadedBitmap &bitmap, const QString &name) {
        return PictureSource(name, bitmap);
    }

    const QString &name() const { return name_; }
    // Throws EditorError naming the file when it cannot be read or decoded.
    LoadedBitmap read() const { return bitmap_ ? *bitmap_ : loadPicture(name_); }

private:
    PictureSource(const QString &name, const std::optional<LoadedBitmap> &bitmap)
        : name_(name), bitmap_(bitmap) {}

    QString name_;
    std::optional<LoadedBitmap> bitmap_;
};
