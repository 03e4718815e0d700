#include "folderpng.h"

#include "editorerror.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <array>
#include <cstring>

namespace {

constexpr char Signature[] = "\x89PNG\r\n\x1a\n";
constexpr int BitDepthOffset = 24; // in the IHDR chunk that follows the signature
constexpr int ColourTypeOffset = 25;
constexpr int GreyColourType = 0;
constexpr int PaletteColourType = 3;
constexpr int DeflateLevel = 6;

quint32 crc32(const QByteArray &bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = table[(c ^ uchar(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendBigEndian(QByteArray &out, quint32 v) {
    char bytes[4];
    qToBigEndian(v, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray &out, const char *tag, const QByteArray &data) {
    appendBigEndian(out, quint32(data.size()));
    const qsizetype start = out.size();
    out.append(tag, 4);
    out += data;
    appendBigEndian(out, crc32(out.sliced(start)));
}

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
    // Written here rather than by Qt, which saves a picture with grey colours as a greyscale PNG
    // and so loses the indexes of a palette that holds a grey twice.
    if (indexed8.format() != QImage::Format_Indexed8 || indexed8.isNull())
        throw EditorError(QStringLiteral("%1: only an 8-bit picture is saved as a palette PNG.").arg(name));
    QByteArray header;
    appendBigEndian(header, quint32(indexed8.width()));
    appendBigEndian(header, quint32(indexed8.height()));
    header.append(char(8));
    header.append(char(PaletteColourType));
    header.append(3, '\0'); // deflate, adaptive filtering, no interlace
    QByteArray palette(3 * 256, '\0');
    for (int c = 0; c < 256 && c < indexed8.colorCount(); ++c) {
        palette[3 * c] = char(qRed(indexed8.color(c)));
        palette[3 * c + 1] = char(qGreen(indexed8.color(c)));
        palette[3 * c + 2] = char(qBlue(indexed8.color(c)));
    }
    QByteArray rows;
    rows.reserve(qsizetype(indexed8.width() + 1) * indexed8.height());
    for (int y = 0; y < indexed8.height(); ++y) {
        rows.append('\0'); // no filter
        rows.append(reinterpret_cast<const char *>(indexed8.constScanLine(y)), indexed8.width());
    }
    QByteArray png(Signature, 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "PLTE", palette);
    appendChunk(png, "IDAT", qCompress(rows, DeflateLevel).sliced(4)); // after qCompress's length prefix
    appendChunk(png, "IEND", QByteArray());
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
