#include "indexedpicture.h"

#include "editorerror.h"
#include "fileio.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace {

const QByteArray PngSignature = QByteArrayLiteral("\x89PNG\r\n\x1a\n");
constexpr qsizetype IhdrDataStart = 16;
constexpr qsizetype IhdrLength = 13;
constexpr qsizetype BitDepthAt = IhdrDataStart + 8;
constexpr qsizetype ColourTypeAt = IhdrDataStart + 9;
constexpr quint8 GreyColourType = 0;
constexpr quint8 PaletteColourType = 3;
constexpr quint8 RgbColourType = 2;
constexpr quint8 RgbAlphaColourType = 6;

QString pngRefusal(const QString &path, const QString &reason) {
    return QStringLiteral("Cannot read PNG file \"%1\": %2").arg(path, reason);
}

struct PngPalette {
    QList<QRgb> colours;
    // Where its chunk starts in the file.
    qsizetype chunkAt = 0;
};

// The PLTE chunk, found by walking the chunks up to the first image data; the chunk lengths are
// checked against the file so a damaged one never reads past it.
PngPalette pngPalette(const QByteArray &bytes, const QString &path) {
    qsizetype at = PngSignature.size();
    while (at + 8 <= bytes.size()) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        const QByteArray type = bytes.mid(at + 4, 4);
        if (length > quint64(bytes.size() - at - 12))
            throw EditorError(pngRefusal(path, QStringLiteral("its %1 chunk runs past the end of the file.")
                                                   .arg(QString::fromLatin1(type))));
        if (type == "IDAT" || type == "IEND")
            break;
        if (type == "PLTE") {
            if (length % 3 != 0 || length == 0 || length > 256 * 3)
                throw EditorError(
                    pngRefusal(path, QStringLiteral("its palette of %1 bytes is damaged.").arg(length)));
            PngPalette palette{{}, at};
            for (qsizetype c = at + 8; c < at + 8 + qsizetype(length); c += 3)
                palette.colours.append(qRgb(quint8(bytes[c]), quint8(bytes[c + 1]), quint8(bytes[c + 2])));
            return palette;
        }
        at += 12 + qsizetype(length);
    }
    throw EditorError(pngRefusal(path, QStringLiteral("it has no colour table.")));
}

QByteArray bigEndian32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// Qt turns indexes past the end of the palette into 0, so the palette it reads is padded with
// black to all the indexes the pixel size can hold.
QByteArray withFullPalette(const QByteArray &bytes, const PngPalette &palette, quint8 bitDepth) {
    const qsizetype entries = std::min(256, 1 << std::min<int>(bitDepth, 8));
    if (palette.colours.size() >= entries)
        return bytes;
    const qsizetype length = palette.colours.size() * 3;
    const QByteArray data =
        bytes.mid(palette.chunkAt + 4, 4 + length) + QByteArray((entries - palette.colours.size()) * 3, '\0');
    const quint32 crc =
        quint32(crc32(0, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
    return bytes.left(palette.chunkAt) + bigEndian32(quint32(data.size() - 4)) + data + bigEndian32(crc) +
           bytes.mid(palette.chunkAt + 12 + length);
}

PixelFormatCode pngFormatCode(quint8 colourType, quint8 bitDepth) {
    if (colourType == PaletteColourType)
        return Pf8Bit;
    if (colourType == RgbColourType && bitDepth == 8)
        return Pf24Bit;
    if (colourType == RgbAlphaColourType && bitDepth == 8)
        return Pf32Bit;
    return PfCustom;
}

LoadedBitmap decodePng(const QByteArray &bytes, const QString &path) {
    if (bytes.size() < IhdrDataStart + IhdrLength || bytes.mid(12, 4) != "IHDR")
        throw EditorError(pngRefusal(path, QStringLiteral("the file ends inside its header.")));
    const quint8 bitDepth = quint8(bytes[BitDepthAt]);
    const quint8 colourType = quint8(bytes[ColourTypeAt]);
    const bool paletted = colourType == PaletteColourType;
    const PngPalette palette = paletted ? pngPalette(bytes, path) : PngPalette();

    QBuffer buffer;
    buffer.setData(paletted ? withFullPalette(bytes, palette, bitDepth) : bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImage image;
    if (!reader.read(&image))
        throw EditorError(pngRefusal(path, reader.errorString()));
    // Qt writes a picture whose colours are the grey ramp as an 8-bit grey PNG: each grey level is
    // the index.
    if (colourType == GreyColourType && bitDepth == 8 && image.format() == QImage::Format_Grayscale8) {
        QImage indexed(image.size(), QImage::Format_Indexed8);
        if (indexed.isNull())
            throw EditorError(
                pngRefusal(path, QStringLiteral("there is not enough memory for its picture.")));
        for (int y = 0; y < image.height(); ++y)
            std::memcpy(indexed.scanLine(y), image.constScanLine(y), std::size_t(image.width()));
        QList<QRgb> ramp;
        for (int level = 0; level < 256; ++level)
            ramp.append(qRgb(level, level, level));
        indexed.setColorTable(ramp);
        return {indexed, Pf8Bit, 256};
    }
    if (!paletted)
        return {image, pngFormatCode(colourType, bitDepth), 0};

    // Qt hands back 1-bit palette files as Mono; the conversion keeps each index.
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        image = image.convertToFormat(QImage::Format_Indexed8);
    if (image.format() != QImage::Format_Indexed8)
        throw EditorError(
            pngRefusal(path, QStringLiteral("its palette pixels could not be read as indexes.")));
    // The PNG's own colours, without what its transparency or colour space made of them.
    QList<QRgb> table = palette.colours;
    table.resize(256, qRgb(0, 0, 0));
    image.setColorTable(table);
    image.setColorSpace(QColorSpace());
    return {image, Pf8Bit, int(palette.colours.size())};
}

} // namespace

PictureFormat pictureFormatOf(const QString &path) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    return path.size() - nameStart > 4 && path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)
               ? PictureFormat::Png
               : PictureFormat::Bmp;
}

QString pictureExtension(PictureFormat format) {
    return format == PictureFormat::Png ? QStringLiteral(".png") : QStringLiteral(".bmp");
}

QString picturePath(const QString &path) {
    return pictureFormatOf(path) == PictureFormat::Png ? path : withExtension(path, QStringLiteral(".bmp"));
}

LoadedBitmap loadPicture(const QString &path) {
    return decodePicture(readWholeFile(path), path);
}

LoadedBitmap decodePicture(const QByteArray &bytes, const QString &path) {
    if (bytes.startsWith(PngSignature))
        return decodePng(bytes, path);
    return decodeBitmap(bytes, path);
}

void savePicture8(const QString &path, const QImage &indexed8, Durability durability) {
    if (pictureFormatOf(path) == PictureFormat::Bmp) {
        saveBitmap8(path, indexed8, durability);
        return;
    }
    if (indexed8.format() != QImage::Format_Indexed8)
        throw EditorError(
            QStringLiteral("Cannot write PNG file \"%1\": the picture is not 8 bit.").arg(path));
    QImage full = indexed8;
    QList<QRgb> table = full.colorTable();
    table.resize(256, qRgb(0, 0, 0));
    full.setColorTable(table);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(full))
        throw EditorError(QStringLiteral("Cannot write PNG file \"%1\": %2").arg(path, writer.errorString()));
    writeWholeFileAtomic(path, bytes, durability);
}
