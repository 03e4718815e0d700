#include "bitmapfile.h"

#include "editorerror.h"
#include "fileio.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

namespace {

// Offsets into a bitmap file: the 14-byte file header, then the info header.
constexpr qsizetype PixelOffset = 10;
constexpr qsizetype InfoLength = 14;
constexpr qsizetype Width = 18;
constexpr qsizetype InfoHeight = 22;
constexpr qsizetype InfoBitCount = 28;
constexpr qsizetype InfoCompression = 30;
constexpr qsizetype CoreHeight = 20;
constexpr qsizetype CoreBitCount = 24;
// The colour masks follow a 40-byte info header and sit at the same place inside the longer ones.
constexpr qsizetype RedMask = 54;
constexpr qsizetype GreenMask = 58;
constexpr qsizetype BlueMask = 62;
constexpr quint32 CoreInfoLength = 12;

constexpr quint32 CompressionRgb = 0;
constexpr quint32 CompressionBitfields = 3;
constexpr quint32 CompressionAlphaBitfields = 6;

// Reads a little-endian field; 0 when the bytes end before it.
template <typename T> T field(const QByteArray &bytes, qsizetype offset) {
    if (bytes.size() < offset + qsizetype(sizeof(T)))
        return 0;
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

struct Header {
    qint64 width = 0;
    qint64 height = 0;
    quint16 bitCount = 0;
    quint32 compression = CompressionRgb;
    bool bitfields = false;
};

Header readHeader(const QByteArray &bytes) {
    Header header;
    if (field<quint32>(bytes, InfoLength) == CoreInfoLength) {
        header.width = field<quint16>(bytes, Width);
        header.height = field<quint16>(bytes, CoreHeight);
        header.bitCount = field<quint16>(bytes, CoreBitCount);
    } else {
        header.width = field<qint32>(bytes, Width);
        header.height = field<qint32>(bytes, InfoHeight);
        header.bitCount = field<quint16>(bytes, InfoBitCount);
        header.compression = field<quint32>(bytes, InfoCompression);
    }
    header.bitfields =
        header.compression == CompressionBitfields || header.compression == CompressionAlphaBitfields;
    return header;
}

bool hasMasks(const QByteArray &bytes, quint32 red, quint32 green, quint32 blue) {
    return field<quint32>(bytes, RedMask) == red && field<quint32>(bytes, GreenMask) == green &&
           field<quint32>(bytes, BlueMask) == blue;
}

PixelFormatCode formatCode(const Header &header, const QByteArray &bytes) {
    switch (header.bitCount) {
    case 1:
        return Pf1Bit;
    case 4:
        return Pf4Bit;
    case 8:
        return Pf8Bit;
    case 16:
        if (header.compression == CompressionRgb ||
            (header.bitfields && hasMasks(bytes, 0x7C00, 0x03E0, 0x001F)))
            return Pf15Bit;
        if (header.bitfields && hasMasks(bytes, 0xF800, 0x07E0, 0x001F))
            return Pf16Bit;
        return PfCustom;
    case 24:
        return Pf24Bit;
    case 32:
        if (header.compression == CompressionRgb ||
            (header.bitfields && hasMasks(bytes, 0xFF0000, 0xFF00, 0xFF)))
            return Pf32Bit;
        return PfCustom;
    default:
        return PfCustom;
    }
}

// Qt decodes what is there of cut-off pixel rows and leaves the rest blank; such a file is refused.
// Run-length data has no fixed size and is left to Qt.
bool pixelsComplete(const Header &header, const QByteArray &bytes) {
    if (header.compression != CompressionRgb && !header.bitfields)
        return true;
    const qint64 rowBytes = (header.width * header.bitCount + 31) / 32 * 4;
    const qint64 end = qint64(field<quint32>(bytes, PixelOffset)) + rowBytes * qAbs(header.height);
    return bytes.size() >= end;
}

// Every index a byte can hold gets an entry, so no index ever points past the table.
QImage withFullColourTable(const QImage &indexed8) {
    QList<QRgb> table = indexed8.colorTable();
    if (table.size() == 256)
        return indexed8;
    table.resize(256, qRgb(0, 0, 0));
    QImage padded = indexed8;
    padded.setColorTable(table);
    return padded;
}

void saveBitmap(const QString &path, const QImage &image, Durability durability) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image))
        throw EditorError(
            QStringLiteral("Cannot write bitmap file \"%1\": %2").arg(path, writer.errorString()));
    writeWholeFileAtomic(path, bytes, durability);
}

} // namespace

LoadedBitmap loadBitmap(const QString &path) {
    return decodeBitmap(readWholeFile(path), path);
}

LoadedBitmap decodeBitmap(const QByteArray &bytes, const QString &path) {
    const QString failure = QStringLiteral("Cannot read bitmap file \"%1\": %2");
    if (!bytes.startsWith("BM"))
        throw EditorError(failure.arg(path, QStringLiteral("it is not a Windows bitmap.")));

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image = reader.read();
    if (image.isNull())
        throw EditorError(failure.arg(path, reader.errorString()));
    const Header header = readHeader(bytes);
    if (!pixelsComplete(header, bytes))
        throw EditorError(failure.arg(path, QStringLiteral("the file ends before its last pixel row.")));

    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        image = image.convertToFormat(QImage::Format_Indexed8);
    if (image.format() == QImage::Format_Indexed8)
        image = withFullColourTable(image);
    return {image, formatCode(header, bytes)};
}

void saveBitmap8(const QString &path, const QImage &indexed8, Durability durability) {
    if (indexed8.format() != QImage::Format_Indexed8)
        throw EditorError(
            QStringLiteral("Cannot write bitmap file \"%1\": the picture is not 8 bit.").arg(path));
    // Qt writes a table of 16 or fewer colours as a 1- or 4-bit file.
    saveBitmap(path, withFullColourTable(indexed8), durability);
}

void saveBitmap24(const QString &path, const QImage &image) {
    // Qt writes an indexed picture with its table, every other format as 24 bits.
    saveBitmap(path, image.convertToFormat(QImage::Format_RGB32), Durability::Synced);
}
