#include "platform/pngfile.h"

#include "platform/editorerror.h"

#include <QBuffer>
#include <QImageReader>
#include <cstring>
#include <new>
#include <png.h>
#include <vector>

namespace {

// Larger than any picture the editor writes (the whole sprite store is 256 pixels wide and at most
// 65536 rows), small enough that a forged header cannot ask for gigabytes.
constexpr png_uint_32 MaxSide = 65536;
constexpr quint64 MaxPixels = quint64(256) * 65536;

QString pngRefusal(const QString &path, const QString &reason) {
    return QStringLiteral("Cannot read PNG file \"%1\": %2").arg(path, reason);
}

QList<QRgb> greyRamp256() {
    QList<QRgb> ramp;
    for (int level = 0; level < 256; ++level)
        ramp.append(qRgb(level, level, level));
    return ramp;
}

struct MemoryReader {
    const QByteArray *bytes;
    qsizetype at;
};

void readFromMemory(png_structp png, png_bytep data, png_size_t length) {
    auto *reader = static_cast<MemoryReader *>(png_get_io_ptr(png));
    if (quint64(reader->bytes->size() - reader->at) < length)
        png_error(png, "the file ends too early");
    std::memcpy(data, reader->bytes->constData() + reader->at, length);
    reader->at += qsizetype(length);
}

// No exception may pass through libpng's C frames: a failed append becomes libpng's own error.
void appendToMemory(png_structp png, png_bytep data, png_size_t length) {
    bool appended = true;
    try {
        static_cast<QByteArray *>(png_get_io_ptr(png))
            ->append(reinterpret_cast<const char *>(data), qsizetype(length));
    } catch (const std::bad_alloc &) {
        appended = false;
    }
    if (!appended)
        png_error(png, "insufficient memory");
}

void noFlush(png_structp) {}

// libpng's errors come back as a long jump; its message is kept for the refusal.
void keepError(png_structp png, png_const_charp message) {
    std::strncpy(static_cast<char *>(png_get_error_ptr(png)), message, 127);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// The functions below call libpng, which leaves them by a long jump on an error: nothing in their
// frames has a destructor.

bool writePalettePng(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height,
                     png_colorp palette, png_bytepp rows, QByteArray *out) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, appendToMemory, noFlush);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, 256);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    png_colorp palette = nullptr;
    int paletteEntries = 0;
};

bool readHeader(png_structp png, png_infop info, MemoryReader *reader, PngHeader *header) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, reader, readFromMemory);
    png_set_user_limits(png, MaxSide, MaxSide);
    png_read_info(png, info);
    png_get_IHDR(png, info, &header->width, &header->height, &header->bitDepth, &header->colourType, nullptr,
                 nullptr, nullptr);
    if (header->colourType == PNG_COLOR_TYPE_PALETTE &&
        !png_get_PLTE(png, info, &header->palette, &header->paletteEntries))
        png_error(png, "it has no colour table");
    return true;
}

// One byte per pixel: palette indexes unpacked from 1, 2 and 4 bits, grey levels as they are.
bool readIndexRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_packing(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_read_image(png, rows);
    return true;
}

LoadedBitmap decodedByQt(const QByteArray &bytes, const QString &path, int pixelFormatCode) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImage image;
    if (!reader.read(&image))
        throw EditorError(pngRefusal(path, reader.errorString()));
    return {image, pixelFormatCode, 0};
}

int pixelFormatOf(int colourType, int bitDepth) {
    if (colourType == PNG_COLOR_TYPE_RGB && bitDepth == 8)
        return Pf24Bit;
    if (colourType == PNG_COLOR_TYPE_RGB_ALPHA && bitDepth == 8)
        return Pf32Bit;
    return PfCustom;
}

} // namespace

bool isPng(const QByteArray &bytes) {
    return bytes.size() >= 8 && png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.constData()), 0, 8) == 0;
}

QByteArray palettePngBytes(const QImage &indexed8) {
    if (indexed8.isNull() || indexed8.format() != QImage::Format_Indexed8)
        return QByteArray();
    std::vector<png_color> palette(256, png_color{0, 0, 0});
    for (int c = 0; c < 256 && c < indexed8.colorCount(); ++c) {
        const QRgb colour = indexed8.color(c);
        palette[std::size_t(c)] =
            png_color{png_byte(qRed(colour)), png_byte(qGreen(colour)), png_byte(qBlue(colour))};
    }
    std::vector<png_bytep> rows(std::size_t(indexed8.height()));
    for (int y = 0; y < indexed8.height(); ++y)
        rows[std::size_t(y)] = const_cast<png_bytep>(indexed8.constScanLine(y));
    char error[128] = "";
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, error, keepError, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    QByteArray bytes;
    const bool written =
        info && writePalettePng(png, info, png_uint_32(indexed8.width()), png_uint_32(indexed8.height()),
                                palette.data(), rows.data(), &bytes);
    png_destroy_write_struct(&png, &info);
    // An 8-bit picture written into memory fails only for want of memory.
    if (!written)
        throw std::bad_alloc();
    return bytes;
}

LoadedBitmap decodePng(const QByteArray &bytes, const QString &path) {
    char error[128] = "the file is damaged";
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, error, keepError, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const auto refuse = [&](const QString &reason) {
        png_destroy_read_struct(&png, &info, nullptr);
        return EditorError(pngRefusal(path, reason));
    };
    MemoryReader reader{&bytes, 0};
    PngHeader header;
    if (!info || !readHeader(png, info, &reader, &header))
        throw refuse(QString::fromLatin1(error) + QLatin1Char('.'));

    const bool paletted = header.colourType == PNG_COLOR_TYPE_PALETTE;
    const bool grey8 = header.colourType == PNG_COLOR_TYPE_GRAY && header.bitDepth == 8;
    if (!paletted && !grey8) {
        png_destroy_read_struct(&png, &info, nullptr);
        return decodedByQt(bytes, path, pixelFormatOf(header.colourType, header.bitDepth));
    }
    if (quint64(header.width) * header.height > MaxPixels)
        throw refuse(
            QStringLiteral("its picture of %1*%2 pixels is too large.").arg(header.width).arg(header.height));
    QImage image(int(header.width), int(header.height), QImage::Format_Indexed8);
    if (image.isNull())
        throw refuse(QStringLiteral("there is not enough memory for its picture."));
    QList<QRgb> table = grey8 ? greyRamp256() : QList<QRgb>();
    for (int c = 0; c < header.paletteEntries; ++c)
        table.append(qRgb(header.palette[c].red, header.palette[c].green, header.palette[c].blue));
    table.resize(256, qRgb(0, 0, 0));
    std::vector<png_bytep> rows(header.height);
    for (png_uint_32 y = 0; y < header.height; ++y)
        rows[y] = image.scanLine(int(y));
    if (!readIndexRows(png, info, rows.data()))
        throw refuse(QString::fromLatin1(error) + QLatin1Char('.'));
    png_destroy_read_struct(&png, &info, nullptr);
    image.setColorTable(table);
    return {image, Pf8Bit, grey8 ? 256 : header.paletteEntries};
}
