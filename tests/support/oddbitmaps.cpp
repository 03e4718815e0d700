#include "support/oddbitmaps.h"

#include "support/bitmapbytes.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <bit>

namespace {

using Rows = QList<QList<int>>;

// Runs of four on even rows and a different index almost every pixel on odd ones, so run-length
// streams hold both kinds of code.
Rows indexRows(int width, int height, int limit) {
    Rows rows;
    for (int y = 0; y < height; ++y) {
        QList<int> row;
        for (int x = 0; x < width; ++x)
            row.append(((x / 4 + y) * 37 + (y % 2 == 1 ? x * 11 : 0)) % limit);
        rows.append(row);
    }
    return rows;
}

QList<int> flattened(const Rows &rows) {
    QList<int> all;
    for (const QList<int> &row : rows)
        all += row;
    return all;
}

QByteArray packedRow(const QList<int> &row, int bits) {
    QByteArray bytes((row.size() * bits + 7) / 8, '\0');
    for (int x = 0; x < row.size(); ++x) {
        const int shift = 8 - bits - x * bits % 8;
        bytes[x * bits / 8] = char(quint8(bytes[x * bits / 8]) | row[x] << shift);
    }
    return bytes;
}

QList<QByteArray> packedRows(const Rows &rows, int bits) {
    QList<QByteArray> packed;
    for (const QList<int> &row : rows)
        packed.append(packedRow(row, bits));
    return packed;
}

// Distinct colours, so a moved index or a swapped entry shows.
QList<QRgb> colourTable(int count) {
    QList<QRgb> colours;
    for (int i = 0; i < count; ++i)
        colours.append(qRgb(i, 255 - i, (i * 7 + 3) & 0xFF));
    return colours;
}

void putCode(QByteArray &out, int count, int code) {
    out.append(char(count));
    out.append(char(code));
}

// A stretch of `count` pixels written as they are: escape, count, the pixels, padded to an even
// number of bytes.
void putAbsolute(QByteArray &out, const QList<int> &pixels, bool fourBit) {
    putCode(out, 0, int(pixels.size()));
    QByteArray data = fourBit ? packedRow(pixels, 4) : packedRow(pixels, 8);
    data.append(data.size() % 2, '\0');
    out += data;
}

// The rows bottom first as run-length codes: equal neighbours as runs, other stretches of three or
// more as absolute codes. Every row but the last ends with an end-of-line code; the last with the
// end mark or, when there is none, with another end-of-line.
QByteArray runLength(const Rows &rows, bool fourBit, bool endMark) {
    QByteArray out;
    for (qsizetype r = rows.size() - 1; r >= 0; --r) {
        const QList<int> &row = rows[r];
        qsizetype x = 0;
        while (x < row.size()) {
            qsizetype run = 1;
            while (x + run < row.size() && run < 255 && row[x + run] == row[x])
                ++run;
            qsizetype stretch = 0;
            while (run == 1 && x + stretch < row.size() && stretch < 255 &&
                   !(x + stretch + 1 < row.size() && row[x + stretch] == row[x + stretch + 1]))
                ++stretch;
            if (stretch >= 3) {
                putAbsolute(out, row.mid(x, stretch), fourBit);
                x += stretch;
            } else {
                putCode(out, int(run), fourBit ? row[x] << 4 | row[x] : row[x]);
                x += run;
            }
        }
        putCode(out, 0, r == 0 && endMark ? 1 : 0);
    }
    return out;
}

QRgb colourAt(int x, int y) {
    // Each channel's low bits are clear, so five- and six-bit masks hold the colour exactly.
    return qRgb((x * 40 + 8) & 0xF8, (y * 36 + 4) & 0xFC, ((x + y) * 24) & 0xF8);
}

int alphaAt(int x, int y) {
    return (x * 50 + y * 90 + 10) & 0xFF;
}

// The colour in the bits the masks (red, green, blue, then alpha if any) give each channel.
quint32 maskedColour(QRgb colour, const QList<quint32> &masks) {
    const int channels[] = {qRed(colour), qGreen(colour), qBlue(colour), qAlpha(colour)};
    quint32 value = 0;
    for (qsizetype c = 0; c < masks.size(); ++c) {
        const quint32 mask = masks[c];
        value |= quint32(channels[c] >> (8 - std::popcount(mask))) << std::countr_zero(mask);
    }
    return value;
}

QList<QByteArray> colourRows(int width, int height, int bits, const QList<quint32> &masks, bool alpha,
                             quint8 filler = 0) {
    QList<QByteArray> rows;
    for (int y = 0; y < height; ++y) {
        QByteArray row;
        for (int x = 0; x < width; ++x) {
            const QRgb colour = alpha ? qRgba(qRed(colourAt(x, y)), qGreen(colourAt(x, y)),
                                              qBlue(colourAt(x, y)), alphaAt(x, y))
                                      : colourAt(x, y);
            quint32 value = masks.isEmpty() ? colour & 0xFFFFFF : maskedColour(colour, masks);
            if (bits == 32 && masks.isEmpty())
                value |= quint32(filler) << 24;
            for (int b = 0; b < bits / 8; ++b)
                row.append(char(value >> (8 * b)));
        }
        rows.append(row);
    }
    return rows;
}

QList<QRgb> colourPixels(int width, int height, bool alpha) {
    QList<QRgb> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.append(alpha ? qRgba(qRed(colourAt(x, y)), qGreen(colourAt(x, y)), qBlue(colourAt(x, y)),
                                        alphaAt(x, y))
                                : colourAt(x, y));
    return pixels;
}

OddBitmap refused(const QString &name, const QByteArray &bytes, const QString &reason) {
    return {.name = name, .bytes = bytes, .refusal = reason};
}

} // namespace

std::vector<OddBitmap> oddBitmaps(int width, int height) {
    const int w = width;
    const int h = height;
    const QList<QRgb> blackWhite{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    const QList<QRgb> whiteBlack{qRgb(255, 255, 255), qRgb(0, 0, 0)};
    const Rows two = indexRows(w, h, 2);
    const Rows sixteen = indexRows(w, h, 16);
    const Rows all = indexRows(w, h, 256);
    const QList<quint32> bgr{0xFF0000, 0xFF00, 0xFF};
    std::vector<OddBitmap> files;

    const auto palette = [&](const QString &name, BitmapLayout layout, const Rows &rows, int code,
                             qsizetype fileColours) {
        layout.width = w;
        layout.height = h;
        if (!layout.stored)
            layout.rows = packedRows(rows, layout.bitCount);
        files.push_back({.name = name,
                         .bytes = bitmapBytes(layout),
                         .pixelFormatCode = code,
                         .fileColours = layout.colours.first(fileColours),
                         .indexes = flattened(rows)});
    };
    palette("1-bit-black-first.bmp", {.bitCount = 1, .colours = blackWhite}, two, 1, 2);
    palette("1-bit-white-first-top-down.bmp", {.bitCount = 1, .colours = whiteBlack, .topDown = true}, two, 1,
            2);
    palette("1-bit-black-first-top-down.bmp", {.bitCount = 1, .colours = blackWhite, .topDown = true}, two, 1,
            2);
    palette("1-bit-256-used-colours.bmp", {.bitCount = 1, .colours = blackWhite, .coloursUsed = 256}, two, 1,
            2);
    palette("1-bit-one-colour.bmp", {.bitCount = 1, .colours = {qRgb(200, 10, 20)}}, two, 1, 1);
    palette("4-bit.bmp", {.bitCount = 4, .colours = colourTable(16)}, sixteen, 2, 16);
    palette("4-bit-top-down.bmp", {.bitCount = 4, .colours = colourTable(16), .topDown = true}, sixteen, 2,
            16);
    palette("4-bit-indexes-past-3-colours.bmp", {.bitCount = 4, .colours = colourTable(3)}, sixteen, 2, 3);
    palette("4-bit-256-used-colours.bmp", {.bitCount = 4, .colours = colourTable(16), .coloursUsed = 256},
            sixteen, 2, 16);
    palette("8-bit-top-down.bmp", {.colours = colourTable(256), .topDown = true}, all, 3, 256);
    palette("8-bit-indexes-past-16-colours.bmp", {.colours = colourTable(16)}, all, 3, 16);
    palette("8-bit-no-used-colours-16-entries.bmp", {.colours = colourTable(16), .coloursUsed = 0}, all, 3,
            16);
    palette("8-bit-300-used-colours.bmp", {.colours = colourTable(256), .coloursUsed = 300}, all, 3, 256);
    palette("8-bit-20-used-colours-256-entries.bmp", {.colours = colourTable(256), .coloursUsed = 20}, all, 3,
            20);
    palette("8-bit-version-4-header.bmp", {.infoLength = 108, .colours = colourTable(256)}, all, 3, 256);
    palette("8-bit-version-5-header-top-down.bmp",
            {.infoLength = 124, .colours = colourTable(256), .topDown = true}, all, 3, 256);
    palette("8-bit-os2-header.bmp", {.infoLength = 12, .colours = colourTable(256)}, all, 3, 256);
    palette("rle8.bmp",
            {.compression = 1, .colours = colourTable(256), .stored = runLength(all, false, true)}, all, 3,
            256);
    palette("rle8-version-5-header.bmp",
            {.compression = 1,
             .infoLength = 124,
             .colours = colourTable(256),
             .stored = runLength(all, false, true)},
            all, 3, 256);
    palette("rle8-no-end-mark.bmp",
            {.compression = 1, .colours = colourTable(256), .stored = runLength(all, false, false)}, all, 3,
            256);
    palette("rle4.bmp",
            {.bitCount = 4,
             .compression = 2,
             .colours = colourTable(16),
             .stored = runLength(sixteen, true, true)},
            sixteen, 2, 16);

    // ImageMagick and GraphicsMagick let the runs cover each row's padding to four bytes.
    const auto padRows = [](Rows rows, int bits) {
        for (QList<int> &row : rows)
            row.resize((row.size() * bits + 31) / 32 * 32 / bits, 0);
        return rows;
    };
    palette(
        "rle8-runs-cover-padding.bmp",
        {.compression = 1, .colours = colourTable(256), .stored = runLength(padRows(all, 8), false, true)},
        all, 3, 256);
    palette("rle4-runs-cover-padding.bmp",
            {.bitCount = 4,
             .compression = 2,
             .colours = colourTable(16),
             .stored = runLength(padRows(sixteen, 4), true, true)},
            sixteen, 2, 16);

    // A jump to the third pixel of the second row, two pixels of 9, and the end: the rest is 0.
    Rows skipped = indexRows(w, h, 1);
    skipped[h - 2][2] = skipped[h - 2][3] = 9;
    palette("rle8-jump-and-early-end.bmp",
            {.compression = 1, .colours = colourTable(256), .stored = QByteArray("\0\2\2\1\2\x09\0\1", 8)},
            skipped, 3, 256);
    palette("rle4-jump-and-early-end.bmp",
            {.bitCount = 4,
             .compression = 2,
             .colours = colourTable(16),
             .stored = QByteArray("\0\2\2\1\2\x99\0\1", 8)},
            skipped, 2, 16);

    const auto colour = [&](const QString &name, BitmapLayout layout, int code, bool alpha) {
        layout.width = w;
        layout.height = h;
        files.push_back({.name = name,
                         .bytes = bitmapBytes(layout),
                         .pixelFormatCode = code,
                         .pixels = colourPixels(w, h, alpha)});
    };
    const QList<quint32> fiveSixFive{0xF800, 0x07E0, 0x001F};
    colour("16-bit-5-6-5-version-4-header.bmp",
           {.bitCount = 16,
            .compression = 3,
            .infoLength = 108,
            .masks = fiveSixFive,
            .rows = colourRows(w, h, 16, fiveSixFive, false)},
           5, false);
    colour("24-bit-os2-header.bmp",
           {.bitCount = 24, .infoLength = 12, .rows = colourRows(w, h, 24, {}, false)}, 6, false);
    colour("24-bit-top-down.bmp", {.bitCount = 24, .rows = colourRows(w, h, 24, {}, false), .topDown = true},
           6, false);
    colour("32-bit-masks.bmp",
           {.bitCount = 32, .compression = 3, .masks = bgr, .rows = colourRows(w, h, 32, bgr, false)}, 7,
           false);
    const QList<quint32> rgbHigh{0xFF000000, 0xFF0000, 0xFF00};
    colour("32-bit-masks-red-high.bmp",
           {.bitCount = 32, .compression = 3, .masks = rgbHigh, .rows = colourRows(w, h, 32, rgbHigh, false)},
           8, false);
    const QList<quint32> bgra{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    colour("32-bit-version-5-header-alpha.bmp",
           {.bitCount = 32,
            .compression = 3,
            .infoLength = 124,
            .masks = bgra,
            .rows = colourRows(w, h, 32, bgra, true)},
           7, true);
    // Without compression the fourth byte of each pixel means nothing, whatever it holds.
    colour("32-bit-version-5-header-filled-fourth-byte.bmp",
           {.bitCount = 32, .infoLength = 124, .rows = colourRows(w, h, 32, {}, false, 0x77)}, 7, false);

    const QByteArray eightBit =
        bitmapBytes({.width = w, .height = h, .colours = colourTable(256), .rows = packedRows(all, 8)});
    const QString cutRow = QStringLiteral("the file ends before its last pixel row.");
    const QString edge = QStringLiteral("its run-length pixel data reaches past the edge of the picture.");
    const QString masks = QStringLiteral("its colour masks are not one run of 1 to 8 bits each.");
    files.push_back(refused("not-a-bitmap.bmp", QByteArray("GIF89a"), "it is not a Windows bitmap."));
    files.push_back(refused("cut-in-header.bmp", eightBit.left(30), "the file ends inside its header."));
    files.push_back(refused("cut-in-colour-table.bmp", eightBit.left(100), cutRow));
    files.push_back(refused("cut-in-last-row.bmp", eightBit.chopped(1), cutRow));
    const auto layoutOf = [&](BitmapLayout layout) {
        layout.width = w;
        layout.height = h;
        if (layout.rows.isEmpty() && !layout.stored)
            layout.rows = packedRows(indexRows(w, h, 2), layout.bitCount);
        return bitmapBytes(layout);
    };
    const QList<QRgb> table = colourTable(256);
    files.push_back(refused(
        "rle8-cut-short.bmp",
        layoutOf({.compression = 1, .colours = table, .stored = runLength(all, false, true).chopped(3)}),
        "its run-length pixel data ends before the picture does."));
    // Runs may cover a row's padding to four bytes, but not reach past it.
    const int padded = (w + 3) / 4 * 4;
    QByteArray pastPadding;
    for (int left = padded + 1; left > 0; left -= 255)
        putCode(pastPadding, std::min(left, 255), 5);
    files.push_back(refused(
        "rle8-run-past-padding.bmp",
        layoutOf({.compression = 1, .colours = table, .stored = pastPadding + QByteArray("\0\1", 2)}), edge));
    QByteArray absolute;
    putAbsolute(absolute, QList<int>(padded + 1, 4), false);
    files.push_back(refused(
        "rle8-absolute-past-padding.bmp",
        layoutOf({.compression = 1, .colours = table, .stored = absolute + QByteArray("\0\1", 2)}), edge));
    files.push_back(refused("rle8-jump-past-top.bmp",
                            layoutOf({.compression = 1,
                                      .colours = table,
                                      .stored = QByteArray("\0\2\0", 3) + char(h) + QByteArray("\0\1", 2)}),
                            edge));
    files.push_back(refused(
        "rle8-top-down.bmp",
        layoutOf(
            {.compression = 1, .colours = table, .topDown = true, .stored = runLength(all, false, true)}),
        "its rows run top-down, which run-length compression does not allow."));
    files.push_back(
        refused("rle4-in-8-bit.bmp",
                layoutOf({.compression = 2, .colours = table, .stored = runLength(sixteen, true, true)}),
                "compression 2 does not go with 8 bits per pixel."));
    files.push_back(refused("too-large-rle8.bmp",
                            bitmapBytes({.width = 32767,
                                         .height = 32767,
                                         .compression = 1,
                                         .colours = table,
                                         .stored = QByteArray("\0\1", 2)}),
                            "its size of 32767*32767 pixels is more than this program reads."));
    const QList<quint32> alphaMasks{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    files.push_back(refused("32-bit-alpha-bit-fields-compression.bmp",
                            layoutOf({.bitCount = 32,
                                      .compression = 6,
                                      .masks = alphaMasks,
                                      .rows = colourRows(w, h, 32, alphaMasks, true)}),
                            "compression 6 does not go with 32 bits per pixel."));
    for (const auto &[name, bad] :
         {std::pair{"32-bit-10-bit-masks.bmp", QList<quint32>{0x3FF00000, 0xFFC00, 0x3FF}},
          std::pair{"32-bit-split-mask.bmp", QList<quint32>{0xF00F00, 0xF0F0, 0x0F}},
          std::pair{"32-bit-no-blue-mask.bmp", QList<quint32>{0xFF0000, 0xFF00, 0}}})
        files.push_back(refused(
            name,
            layoutOf(
                {.bitCount = 32, .compression = 3, .masks = bad, .rows = colourRows(w, h, 32, bgr, false)}),
            masks));
    files.push_back(refused("version-3-header.bmp", layoutOf({.infoLength = 56, .colours = table}),
                            "its info header of 56 bytes is of a kind this program does not read."));
    files.push_back(refused("2-bit.bmp", layoutOf({.bitCount = 2, .colours = colourTable(4)}),
                            "2 bits per pixel is no bitmap pixel format."));
    files.push_back(refused("two-planes.bmp", layoutOf({.planes = 2, .colours = table}),
                            "it has 2 colour planes instead of 1."));
    files.push_back(
        refused("8-bit-no-colour-table.bmp", layoutOf({.coloursUsed = 0}), "it has no colour table."));
    files.push_back(refused("os2-header-16-colours-for-8-bit.bmp",
                            layoutOf({.infoLength = 12, .colours = colourTable(16)}),
                            "its colour table is cut short by its pixel data."));
    files.push_back(refused("os2-header-40000-wide.bmp",
                            bitmapBytes({.width = 40000, .height = h, .infoLength = 12, .colours = table}),
                            QStringLiteral("its size of 40000*%1 pixels is more than this program reads "
                                           "from an OS/2 header.")
                                .arg(h)));
    QByteArray early = eightBit;
    qToLittleEndian<quint32>(30, early.data() + 10);
    files.push_back(
        refused("pixels-inside-header.bmp", early, "its pixel data would start inside its header."));
    files.push_back(refused("no-pixels.bmp", bitmapBytes({.width = 0, .height = h, .colours = table}),
                            QStringLiteral("its size of 0*%1 pixels holds no pixel.").arg(h)));
    return files;
}

void writeOddBitmaps(const std::vector<OddBitmap> &files, const QString &folder) {
    for (const OddBitmap &file : files) {
        QFile out(QDir(folder).filePath(file.name));
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size())
            qFatal("cannot write %s", qPrintable(out.fileName()));
    }
}
