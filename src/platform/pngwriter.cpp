#include "pngwriter.h"

#include <png.h>
#include <vector>

// Written with libpng rather than Qt: Qt saves an 8-bit picture whose colours are all grey as a
// greyscale PNG, which shows the indexes as grey levels instead of the palette's colours.

namespace {

void appendTo(png_structp png, png_bytep data, png_size_t length) {
    static_cast<QByteArray *>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char *>(data), static_cast<qsizetype>(length));
}

void noFlush(png_structp) {}

// libpng reports errors by a long jump back here, so nothing in this frame has a destructor.
bool writePalettePng(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height,
                     png_colorp palette, png_bytepp rows, QByteArray *out) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, appendTo, noFlush);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, 256);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

} // namespace

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
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    QByteArray bytes;
    const bool written =
        info && writePalettePng(png, info, png_uint_32(indexed8.width()), png_uint_32(indexed8.height()),
                                palette.data(), rows.data(), &bytes);
    png_destroy_write_struct(&png, &info);
    return written ? bytes : QByteArray();
}
