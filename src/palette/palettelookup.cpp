#include "palette/palettelookup.h"

#include "platform/editorerror.h"
#include "platform/imagememory.h"
#include "platform/prompts.h"
#include "style/textnumbers.h"

#include <algorithm>
#include <cstring>

bool isStoredPalette(int palette) {
    return inRange(0, PaletteStoreCapacity, palette);
}

quint32 directclutacces(const StyleDocument &doc, int palette, int colour, bool swap) {
    if (!isStoredPalette(palette) || !inRange(0, 256, colour))
        return MissingPaletteColour;
    const auto *e = reinterpret_cast<const uchar *>(doc.PhysicalPalettes.constData()) +
                    physicalColourOffset(palette, colour);
    const int blue = e[0], green = e[1], red = e[2];
    return swap ? colourValue(blue, green, red) : colourValue(red, green, blue);
}

void writetoclut(StyleDocument &doc, int palette, int colour, quint32 value) {
    if (!isStoredPalette(palette) || !inRange(0, 256, colour))
        return;
    char *e = doc.PhysicalPalettes.data() + physicalColourOffset(palette, colour);
    e[0] = static_cast<char>(blueOf(value));
    e[1] = static_cast<char>(greenOf(value));
    e[2] = static_cast<char>(redOf(value));
}

QList<QRgb> ClutToPal(const StyleDocument &doc, int palette) {
    if (!isStoredPalette(palette))
        return QList<QRgb>(256, toRgb(MissingPaletteColour));
    // Made for every tile and sprite a folder shows: the colours are read straight from the store,
    // each one page row after the one before.
    const auto *e =
        reinterpret_cast<const uchar *>(doc.PhysicalPalettes.constData()) + physicalColourOffset(palette, 0);
    QList<QRgb> table(256);
    QRgb *colour = table.data();
    for (int c = 0; c < 256; ++c, e += PageSide)
        colour[c] = qRgb(e[2], e[1], e[0]);
    return table;
}

void changepalette(QImage &image, const QList<QRgb> &palette) {
    // QImage::setColorTable never remaps indexes, so the table alone changes.
    image.setColorTable(palette);
}

void rawpixelcopy(const QImage &source, QImage &target, int rowOffset, int columnOffset, Prompts &prompts) {
    const bool sourceOk = source.format() == QImage::Format_Indexed8;
    const bool targetOk = target.format() == QImage::Format_Indexed8;
    if (!sourceOk)
        prompts.message(QStringLiteral("rawpixelcopy from error, not 8 bit image!"));
    if (!targetOk)
        prompts.message(QStringLiteral("rawpixelcopy to error, not 8 bit image!"));
    if (!sourceOk || !targetOk)
        return;
    // 64-bit sums, so that no offset can wrap the clipping around.
    const qint64 firstColumn = std::max<qint64>(0, -qint64(columnOffset));
    const qint64 lastColumn = std::min<qint64>(source.width(), qint64(target.width()) - columnOffset);
    const qint64 firstRow = std::max<qint64>(0, -qint64(rowOffset));
    const qint64 lastRow = std::min<qint64>(source.height(), qint64(target.height()) - rowOffset);
    if (firstColumn >= lastColumn)
        return;
    for (qint64 y = firstRow; y < lastRow; ++y)
        std::memcpy(writableLine(target, int(y + rowOffset)) + columnOffset + firstColumn,
                    source.constScanLine(int(y)) + firstColumn,
                    static_cast<std::size_t>(lastColumn - firstColumn));
}

QImage makeClut1(const StyleDocument &doc) {
    const int width = std::clamp(doc.PhysicalPaletteCount, 0, PaletteStoreCapacity);
    if (width == 0)
        return QImage();
    QImage picture = makeImage(width, 256, QImage::Format_RGB32);
    const auto *store = reinterpret_cast<const uchar *>(doc.PhysicalPalettes.constData());
    for (int c = 0; c < 256; ++c) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(c));
        for (int p = 0; p < width; ++p) {
            const uchar *e = store + physicalColourOffset(p, c);
            row[p] = qRgb(e[2], e[1], e[0]);
        }
    }
    return picture;
}

int tileVirtualPalette(int tile) {
    return tile;
}

int spriteVirtualPalette(const StyleDocument &doc, int sprite) {
    return doc.PaletteCounts[PalTile] + sprite;
}

int carRemapVirtualPalette(const StyleDocument &doc, int remap) {
    return doc.PaletteCounts[PalTile] + doc.PaletteCounts[PalSprite] + remap;
}

int pedRemapVirtualPalette(const StyleDocument &doc, int remap) {
    return doc.PaletteCounts[PalTile] + doc.PaletteCounts[PalSprite] + doc.PaletteCounts[PalCarRemap] + remap;
}

std::optional<int> physicalPaletteOf(const StyleDocument &doc, int virtualPalette) {
    if (!inRange(0, doc.PaletteIndexCount(), virtualPalette))
        return std::nullopt;
    return doc.PaletteIndex[static_cast<std::size_t>(virtualPalette)];
}

QString missingPaletteMessage(const StyleDocument &doc, int palette) {
    if (inRange(0, doc.PhysicalPaletteCount, palette))
        return QString();
    if (doc.PhysicalPaletteCount <= 0)
        return QStringLiteral("There is no palette %1: this style file has no palettes.").arg(palette);
    return QStringLiteral("There is no palette %1: this style file has %2 palettes (0 to %3).")
        .arg(palette)
        .arg(doc.PhysicalPaletteCount)
        .arg(doc.PhysicalPaletteCount - 1);
}

std::optional<int> pickStoredPalette(const StyleDocument &doc, const QString &preset, Prompts &prompts,
                                     bool *refused) {
    const std::optional<QString> picked = prompts.pickPalette(preset);
    if (!picked)
        return std::nullopt;
    QString refusal;
    int palette = 0;
    try {
        palette = textToInteger(*picked);
        refusal = missingPaletteMessage(doc, palette);
    } catch (const EditorError &error) {
        refusal = error.text();
    }
    if (!refusal.isEmpty()) {
        prompts.message(refusal);
        if (refused)
            *refused = true;
        return std::nullopt;
    }
    return palette;
}
