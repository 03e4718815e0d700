#include "folderpng.h"

#include "editorerror.h"
#include "pngwriter.h"

#include <QBuffer>
#include <QImageReader>
#include <cstring>

namespace {

constexpr char Signature[] = "\x89PNG\r\n\x1a\n";
constexpr int BitDepthOffset = 24; // in the IHDR chunk that follows the signature
constexpr int ColourTypeOffset = 25;
constexpr int GreyColourType = 0;
constexpr int PaletteColourType = 3;

QString colourTypeName(int type) {
    switch (type) {
    case 2:
        return QStringLiteral("a true-colour");
    case 4:
        return QStringLiteral("a greyscale with alpha");
    case 6:
        return QStringLiteral("a true-colour with alpha");
    default:
        return QStringLiteral("an unknown kind of");
    }
}

QImage decoded(const QByteArray &bytes, const QString &name) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImage image = reader.read();
    if (image.isNull())
        throw EditorError(QStringLiteral("%1: not a readable PNG file (%2); nothing was written.")
                              .arg(name, reader.errorString()));
    return image;
}

} // namespace

QByteArray indexedPngBytes(const QImage &indexed8, const QString &name) {
    QByteArray png = palettePngBytes(indexed8);
    if (png.isEmpty())
        throw EditorError(QStringLiteral("%1: only an 8-bit picture is saved as a palette PNG.").arg(name));
    return png;
}

QByteArray colourPngBytes(const QImage &picture, const QString &name) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.convertToFormat(QImage::Format_RGB32).save(&buffer, "PNG"))
        throw EditorError(QStringLiteral("%1: the picture could not be encoded as PNG.").arg(name));
    return png;
}

LoadedBitmap readIndexedPng(const QByteArray &bytes, const QString &name) {
    // Qt widens greyscale and true-colour files to other formats, so the header decides.
    if (bytes.size() <= ColourTypeOffset || !bytes.startsWith(QByteArray(Signature, 8)) ||
        bytes.mid(12, 4) != "IHDR")
        throw EditorError(QStringLiteral("%1: not a PNG file; nothing was written.").arg(name));
    const int colourType = uchar(bytes[ColourTypeOffset]);
    if (colourType != PaletteColourType && colourType != GreyColourType)
        throw EditorError(QStringLiteral("%1: %2 PNG; it must be saved as an indexed (palette) PNG of 256 "
                                         "colours or fewer; nothing was written.")
                              .arg(name, colourTypeName(colourType)));
    if (colourType == GreyColourType && uchar(bytes[BitDepthOffset]) > 8)
        throw EditorError(
            QStringLiteral("%1: a 16-bit greyscale PNG; it must be saved as an indexed (palette) PNG "
                           "of 256 colours or fewer; nothing was written.")
                .arg(name));
    QImage image = decoded(bytes, name);
    if (image.format() == QImage::Format_Grayscale8) {
        // A greyscale PNG shows the grey ramp: grey level g is index g.
        QImage indexed(image.size(), QImage::Format_Indexed8);
        for (int y = 0; y < image.height(); ++y)
            std::memcpy(indexed.scanLine(y), image.constScanLine(y), std::size_t(image.width()));
        QList<QRgb> ramp;
        for (int g = 0; g < 256; ++g)
            ramp.append(qRgb(g, g, g));
        indexed.setColorTable(ramp);
        image = indexed;
    } else if (image.format() != QImage::Format_Indexed8) {
        image = image.convertToFormat(QImage::Format_Indexed8); // 1-bit files come as Format_Mono
    }
    LoadedBitmap loaded;
    loaded.fileColours = int(image.colorCount());
    QList<QRgb> colours = image.colorTable();
    while (colours.size() < 256)
        colours.append(qRgb(0, 0, 0));
    image.setColorTable(colours);
    loaded.image = image;
    loaded.pixelFormatCode = Pf8Bit;
    return loaded;
}

QImage readColourPng(const QByteArray &bytes, const QString &name) {
    return decoded(bytes, name).convertToFormat(QImage::Format_RGB32);
}
