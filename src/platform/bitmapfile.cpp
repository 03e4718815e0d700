#include "platform/bitmapfile.h"

#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/imagememory.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>
#include <algorithm>
#include <bit>

namespace {

// Offsets into a bitmap file: the 14-byte file header, then the info header.
constexpr qsizetype FileHeaderLength = 14;
constexpr qsizetype PixelOffset = 10;
constexpr qsizetype InfoLength = 14;
constexpr qsizetype Width = 18;
constexpr qsizetype InfoHeight = 22;
constexpr qsizetype InfoPlanes = 26;
constexpr qsizetype InfoBitCount = 28;
constexpr qsizetype InfoCompression = 30;
constexpr qsizetype InfoColoursUsed = 46;
constexpr qsizetype CoreHeight = 20;
constexpr qsizetype CorePlanes = 22;
constexpr qsizetype CoreBitCount = 24;
// The colour masks follow a 40-byte info header and sit at the same place inside the longer ones,
// which alone hold an alpha mask.
constexpr qsizetype RedMask = 54;
constexpr qsizetype GreenMask = 58;
constexpr qsizetype BlueMask = 62;
constexpr qsizetype AlphaMask = 66;
constexpr qsizetype MasksLength = 12;

// The header kinds Qt reads: OS/2 core, Windows 3 info, and the version 4 and 5 extensions of it.
constexpr quint32 CoreInfoLength = 12;
constexpr quint32 WindowsInfoLength = 40;
constexpr quint32 Version4InfoLength = 108;
constexpr quint32 Version5InfoLength = 124;

constexpr quint32 CompressionRgb = 0;
constexpr quint32 CompressionRle8 = 1;
constexpr quint32 CompressionRle4 = 2;
constexpr quint32 CompressionBitfields = 3;

// Qt reads the size in a core header as signed 16-bit numbers.
constexpr qint64 MaxCoreSide = 32767;

// Reads a little-endian field; 0 when the bytes end before it.
template <typename T> T field(const QByteArray &bytes, qsizetype offset) {
    if (bytes.size() < offset + qsizetype(sizeof(T)))
        return 0;
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

struct Header {
    quint32 infoLength = 0;
    qint64 width = 0;
    qint64 height = 0;
    quint16 planes = 0;
    quint16 bitCount = 0;
    quint32 compression = CompressionRgb;
    quint32 coloursUsed = 0;
    qint64 pixelOffset = 0;

    bool core() const { return infoLength == CoreInfoLength; }
    bool bitfields() const { return compression == CompressionBitfields; }
    bool runLength() const { return compression == CompressionRle8 || compression == CompressionRle4; }
    bool paletted() const { return bitCount <= 8; }
    qint64 headerEnd() const {
        return FileHeaderLength + infoLength +
               (bitfields() && infoLength == WindowsInfoLength ? MasksLength : 0);
    }
    qint64 colourEntryLength() const { return core() ? 3 : 4; }
    // The entries the header asks for; the file may have room for fewer.
    qint64 declaredColours() const {
        return !core() && coloursUsed != 0 ? coloursUsed : qint64(1) << bitCount;
    }
};

Header readHeader(const QByteArray &bytes) {
    Header header;
    header.infoLength = field<quint32>(bytes, InfoLength);
    header.pixelOffset = field<quint32>(bytes, PixelOffset);
    if (header.core()) {
        header.width = field<quint16>(bytes, Width);
        header.height = field<quint16>(bytes, CoreHeight);
        header.planes = field<quint16>(bytes, CorePlanes);
        header.bitCount = field<quint16>(bytes, CoreBitCount);
    } else {
        header.width = field<qint32>(bytes, Width);
        header.height = field<qint32>(bytes, InfoHeight);
        header.planes = field<quint16>(bytes, InfoPlanes);
        header.bitCount = field<quint16>(bytes, InfoBitCount);
        header.compression = field<quint32>(bytes, InfoCompression);
        header.coloursUsed = field<quint32>(bytes, InfoColoursUsed);
    }
    return header;
}

// Qt scales a channel right only when its mask is one unbroken run of at most 8 bits.
bool isChannelMask(quint32 mask) {
    if (mask == 0)
        return false;
    const quint32 run = mask >> std::countr_zero(mask);
    return std::popcount(run) <= 8 && (run & (run + 1)) == 0;
}

bool masksReadable(const Header &header, const QByteArray &bytes) {
    const quint32 alpha = header.infoLength > WindowsInfoLength ? field<quint32>(bytes, AlphaMask) : 0;
    return isChannelMask(field<quint32>(bytes, RedMask)) && isChannelMask(field<quint32>(bytes, GreenMask)) &&
           isChannelMask(field<quint32>(bytes, BlueMask)) && (alpha == 0 || isChannelMask(alpha));
}

bool compressionFits(const Header &header) {
    switch (header.compression) {
    case CompressionRgb:
        return true;
    case CompressionRle8:
        return header.bitCount == 8;
    case CompressionRle4:
        return header.bitCount == 4;
    case CompressionBitfields:
        return header.bitCount == 16 || header.bitCount == 32;
    default:
        return false;
    }
}

// The colour entries that fit between the header and the pixels, at most what the header asks for
// and what the pixel size can address.
qint64 colourEntries(const Header &header) {
    if (!header.paletted())
        return 0;
    const qint64 room = (header.pixelOffset - header.headerEnd()) / header.colourEntryLength();
    return std::min({header.declaredColours(), qint64(1) << header.bitCount, room});
}

// Decodes a run-length stream into `image` (the picture's size, filled with index 0). The stream
// must end, with its end mark or its last row, before the file does. Paint programs let runs cover
// a row's padding to four bytes; those pixels are dropped, but a run past the padding, or a jump
// past the picture, is refused.
QString readRunLength(const Header &header, const QByteArray &bytes, QImage &image) {
    const QString early = QStringLiteral("its run-length pixel data ends before the picture does.");
    const QString past = QStringLiteral("its run-length pixel data reaches past the edge of the picture.");
    const bool fourBit = header.compression == CompressionRle4;
    const qint64 paddedWidth = (header.width * header.bitCount + 31) / 32 * 32 / header.bitCount;
    const auto byteAt = [&](qint64 at) {
        return quint8(bytes[at]);
    };
    qint64 x = 0;
    qint64 y = 0;
    qint64 at = header.pixelOffset;
    uchar *row = image.scanLine(int(header.height - 1));
    const auto put = [&](qint64 count, const auto &pixel) {
        if (x + count > paddedWidth)
            return false;
        for (qint64 i = 0; i < count; ++i, ++x)
            if (x < header.width)
                row[x] = pixel(i);
        return true;
    };
    while (y < header.height) {
        if (at + 2 > bytes.size())
            return early;
        const quint8 count = byteAt(at);
        const quint8 code = byteAt(at + 1);
        at += 2;
        if (count > 0) {
            // Four-bit runs alternate the byte's two pixels, the high one first.
            const auto pixel = [&](qint64 i) {
                return fourBit ? uchar(i % 2 == 0 ? code >> 4 : code & 0x0F) : uchar(code);
            };
            if (!put(count, pixel))
                return past;
        } else if (code == 0 || code == 2) {
            if (code == 0) {
                x = 0;
                ++y;
            } else {
                if (at + 2 > bytes.size())
                    return early;
                x += byteAt(at);
                y += byteAt(at + 1);
                at += 2;
                if (x > header.width || y >= header.height)
                    return past;
            }
            if (y < header.height)
                row = image.scanLine(int(header.height - 1 - y));
        } else if (code == 1) {
            return QString();
        } else {
            // Absolute mode: `code` pixels, their bytes padded to an even count.
            const qint64 length = fourBit ? (code + 1) / 2 : code;
            if (at + length + length % 2 > bytes.size())
                return early;
            const qint64 first = at;
            const auto pixel = [&](qint64 i) {
                if (!fourBit)
                    return byteAt(first + i);
                const quint8 pair = byteAt(first + i / 2);
                return quint8(i % 2 == 0 ? pair >> 4 : pair & 0x0F);
            };
            if (!put(code, pixel))
                return past;
            at += length + length % 2;
        }
    }
    return QString();
}

// Why Qt would refuse or misread the file, or nothing when it reads it right.
QString problemOf(const Header &header, const QByteArray &bytes) {
    const QString cutHeader = QStringLiteral("the file ends inside its header.");
    if (bytes.size() < InfoLength + 4)
        return cutHeader;
    if (header.infoLength != CoreInfoLength && header.infoLength != WindowsInfoLength &&
        header.infoLength != Version4InfoLength && header.infoLength != Version5InfoLength)
        return QStringLiteral("its info header of %1 bytes is of a kind this program does not read.")
            .arg(header.infoLength);
    if (bytes.size() < header.headerEnd())
        return cutHeader;
    if (header.planes != 1)
        return QStringLiteral("it has %1 colour planes instead of 1.").arg(header.planes);
    if (header.bitCount != 1 && header.bitCount != 4 && header.bitCount != 8 && header.bitCount != 16 &&
        header.bitCount != 24 && header.bitCount != 32)
        return QStringLiteral("%1 bits per pixel is no bitmap pixel format.").arg(header.bitCount);
    if (!compressionFits(header))
        return QStringLiteral("compression %1 does not go with %2 bits per pixel.")
            .arg(header.compression)
            .arg(header.bitCount);
    const qint64 height = qAbs(header.height);
    if (header.width < 1 || height < 1)
        return QStringLiteral("its size of %1*%2 pixels holds no pixel.")
            .arg(header.width)
            .arg(header.height);
    if (header.core() && (header.width > MaxCoreSide || height > MaxCoreSide))
        return QStringLiteral("its size of %1*%2 pixels is more than this program reads from an OS/2 header.")
            .arg(header.width)
            .arg(header.height);
    // Run-length pictures are made before Qt sees them, so Qt's own allocation limit is applied here.
    const qint64 imageBytes = header.width * height * (header.paletted() ? 1 : 4);
    if (imageBytes > qint64(QImageReader::allocationLimit()) * 1024 * 1024)
        return QStringLiteral("its size of %1*%2 pixels is more than this program reads.")
            .arg(header.width)
            .arg(header.height);
    if (header.runLength() && header.height < 0)
        return QStringLiteral("its rows run top-down, which run-length compression does not allow.");
    if (header.bitfields() && !masksReadable(header, bytes))
        return QStringLiteral("its colour masks are not one run of 1 to 8 bits each.");
    if (header.pixelOffset < header.headerEnd())
        return QStringLiteral("its pixel data would start inside its header.");
    const qint64 colours = colourEntries(header);
    if (header.paletted() && colours < 1)
        return QStringLiteral("it has no colour table.");
    // A core header has no count of used colours to shorten the table with.
    if (header.core() && header.paletted() && colours < header.declaredColours())
        return QStringLiteral("its colour table is cut short by its pixel data.");
    // The stream is checked as it is decoded.
    if (header.runLength())
        return QString();
    // Qt decodes what is there of cut-off pixel rows and leaves the rest blank.
    const qint64 rowBytes = (header.width * header.bitCount + 31) / 32 * 4;
    if (bytes.size() < header.pixelOffset + rowBytes * height)
        return QStringLiteral("the file ends before its last pixel row.");
    return QString();
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
            (header.bitfields() && hasMasks(bytes, 0x7C00, 0x03E0, 0x001F)))
            return Pf15Bit;
        if (header.bitfields() && hasMasks(bytes, 0xF800, 0x07E0, 0x001F))
            return Pf16Bit;
        return PfCustom;
    case 24:
        return Pf24Bit;
    case 32:
        if (header.compression == CompressionRgb ||
            (header.bitfields() && hasMasks(bytes, 0xFF0000, 0xFF00, 0xFF)))
            return Pf32Bit;
        return PfCustom;
    default:
        return PfCustom;
    }
}

QRgb fileColour(const Header &header, const QByteArray &bytes, int index) {
    const qsizetype at = header.headerEnd() + index * header.colourEntryLength();
    return qRgb(quint8(bytes[at + 2]), quint8(bytes[at + 1]), quint8(bytes[at]));
}

// Qt swaps the two indexes of a 1-bit file with two colours whose first colour is the darker one.
void undoIndexSwap(QImage &indexed8, const Header &header, const QByteArray &bytes, qint64 fileColours) {
    if (fileColours != 2 || indexed8.color(0) == fileColour(header, bytes, 0))
        return;
    for (int y = 0; y < indexed8.height(); ++y) {
        uchar *line = indexed8.scanLine(y);
        for (int x = 0; x < indexed8.width(); ++x)
            line[x] ^= 1;
    }
    const QRgb first = indexed8.color(0);
    indexed8.setColor(0, indexed8.color(1));
    indexed8.setColor(1, first);
}

// Every index a byte can hold gets an entry, so no index ever points past the table. Entries the
// file did not have are black, whatever Qt filled in.
QImage withFullColourTable(const QImage &indexed8, qsizetype fileColours) {
    QList<QRgb> table = indexed8.colorTable();
    if (table.size() == 256 && fileColours == 256)
        return indexed8;
    table.resize(std::min(fileColours, table.size()));
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
    const auto refusal = [&](const QString &reason) {
        return EditorError(QStringLiteral("Cannot read bitmap file \"%1\": %2").arg(path, reason));
    };
    if (!bytes.startsWith("BM"))
        throw refusal(QStringLiteral("it is not a Windows bitmap."));
    const Header header = readHeader(bytes);
    if (const QString problem = problemOf(header, bytes); !problem.isEmpty())
        throw refusal(problem);

    const qint64 colours = colourEntries(header);
    // Qt drops or misplaces the pixels of runs that cover a row's padding, so run-length files are
    // decoded here.
    if (header.runLength()) {
        QImage image(int(header.width), int(header.height), QImage::Format_Indexed8);
        if (image.isNull())
            throw refusal(QStringLiteral("there is not enough memory for its picture."));
        image.fill(0);
        if (const QString problem = readRunLength(header, bytes, image); !problem.isEmpty())
            throw refusal(problem);
        QList<QRgb> table(256, qRgb(0, 0, 0));
        for (int i = 0; i < colours; ++i)
            table[i] = fileColour(header, bytes, i);
        image.setColorTable(table);
        return {image, formatCode(header, bytes), int(colours)};
    }

    // Qt reads as many colours as the header asks for, into the pixels if need be; it is told
    // how many fit.
    QByteArray readable = bytes;
    if (header.paletted() && !header.core() && colours != header.declaredColours())
        qToLittleEndian<quint32>(quint32(colours), readable.data() + InfoColoursUsed);

    QBuffer buffer(&readable);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image;
    if (!reader.read(&image))
        throw refusal(reader.errorString());

    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB) {
        image = allocated(image.convertToFormat(QImage::Format_Indexed8));
        undoIndexSwap(image, header, bytes, colours);
    }
    if (image.format() == QImage::Format_Indexed8)
        image = withFullColourTable(image, colours);
    return {image, formatCode(header, bytes), int(colours)};
}

void saveBitmap8(const QString &path, const QImage &indexed8, Durability durability) {
    if (indexed8.format() != QImage::Format_Indexed8)
        throw EditorError(
            QStringLiteral("Cannot write bitmap file \"%1\": the picture is not 8 bit.").arg(path));
    // Qt writes a table of 16 or fewer colours as a 1- or 4-bit file.
    saveBitmap(path, withFullColourTable(indexed8, indexed8.colorCount()), durability);
}

void saveBitmap24(const QString &path, const QImage &image) {
    // Qt writes an indexed picture with its table, every other format as 24 bits.
    saveBitmap(path, allocated(image.convertToFormat(QImage::Format_RGB32)), Durability::Synced);
}
