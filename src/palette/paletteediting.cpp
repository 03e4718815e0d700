#include "palette/paletteediting.h"

#include "palette/palettelookup.h"
#include "palette/paletteusage.h"
#include "platform/prompts.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr quint32 Magenta = colourValue(255, 0, 255);
constexpr quint32 Black = colourValue(0, 0, 0);

} // namespace

std::optional<int> paletteKindOf(const StyleDocument &doc, int row) {
    std::optional<int> kind;
    for (int k = 0; k < PaletteKindCount; ++k) {
        const int end = k + 1 < PaletteKindCount ? doc.PaletteBases[k + 1] : doc.PaletteIndexCount();
        if (inRange(doc.PaletteBases[k], end, row))
            kind = k;
    }
    return kind;
}

QString paletteKindLabel(int kind) {
    static const QString labels[PaletteKindCount] = {
        QStringLiteral(" (Tile)"),           QStringLiteral(" (Sprite)"),
        QStringLiteral(" (carremap)"),       QStringLiteral(" (ped)"),
        QStringLiteral(" (code obj remap)"), QStringLiteral(" (map obj)"),
        QStringLiteral(" (user)"),           QStringLiteral(" (font)")};
    return labels[kind];
}

QRgb paletteKindColour(int kind) {
    switch (kind) {
    case PalTile:
        return qRgb(255, 0, 0);
    case PalSprite:
        return qRgb(0, 255, 255);
    case PalCarRemap:
        return qRgb(255, 128, 0);
    default:
        return qRgb(0, 128, 128);
    }
}

QString palindexRowText(const StyleDocument &doc, int row) {
    const std::optional<int> kind = paletteKindOf(doc, row);
    const std::optional<int> physical = physicalPaletteOf(doc, row);
    if (!kind || !physical)
        return QString();
    return QStringLiteral("%1 - %2%3").arg(row).arg(*physical).arg(paletteKindLabel(*kind));
}

bool remapPalindexes(StyleDocument &doc, const std::vector<int> &selectedRows, bool hasCurrentRow,
                     Prompts &prompts) {
    if (!hasCurrentRow)
        return false;
    prompts.message(
        QStringLiteral("You will be asked for a palette clut, this will change the palette indexes that "
                       "is used by this sprites/tiles, it will not copy the palettes! export and import "
                       "for that!\rpalette selected is number 0, range od choosen palettes will be "
                       "changed to that number."));
    const std::optional<int> picked = pickStoredPalette(doc, QStringLiteral("0"), prompts);
    if (!picked)
        return false;
    const int palette = *picked;
    bool changed = false;
    for (const int row : selectedRows) {
        if (!inRange(0, doc.PaletteIndexCount(), row))
            continue;
        quint16 &entry = doc.PaletteIndex[static_cast<std::size_t>(row)];
        changed = changed || entry != palette;
        entry = static_cast<quint16>(palette);
    }
    return changed;
}

void viewUnusedPalettes(StyleDocument &doc) {
    for (const quint16 physical : doc.PaletteIndex)
        writetoclut(doc, physical, 0, Magenta);
}

void transparencyBlack(StyleDocument &doc) {
    for (int p = 0; p < doc.PhysicalPaletteCount; ++p)
        writetoclut(doc, p, 0, Black);
}

namespace {

// The new count after ">>" or "<<": the next or previous whole page of 64 palettes, since the store
// keeps palettes in pages of 64 and a file's last page is only whole at a multiple of 64.
int pageAbove(int count) {
    return std::min(MaximumPhysicalPalettes, (count / PaletteStep + 1) * PaletteStep);
}

int pageBelow(int count) {
    return std::max(MinimumPhysicalPalettes, (count - 1) / PaletteStep * PaletteStep);
}

// Palettes that come and go start and end black, so no colours of an earlier file or of removed
// palettes show up again.
void clearPalettes(StyleDocument &doc, int from, int to) {
    for (int p = from; p < to; ++p)
        for (int c = 0; c < 256; ++c)
            std::memset(doc.PhysicalPalettes.data() + physicalColourOffset(p, c), 0, 4);
}

} // namespace

bool addPalettes(StyleDocument &doc, Prompts &prompts) {
    if (doc.PhysicalPaletteCount >= MaximumPhysicalPalettes) {
        prompts.message(
            QStringLiteral("vyr2 sty tool has internal performance limit allowing palette clut to reach "
                           "maximum 640 palettes."));
        return false;
    }
    const int count = pageAbove(doc.PhysicalPaletteCount);
    if (prompts.confirm(
            QStringLiteral("This will increase amount of palettes in vyr2 for %1 palettes, are you sure "
                           "you want to do this?\rThe game mostly copes with more palettes, but the "
                           "game's own style editor will not load the file any more.")
                .arg(count - doc.PhysicalPaletteCount)) == Answer::No ||
        !confirmPaletteCount(doc, count, prompts))
        return false;
    clearPalettes(doc, doc.PhysicalPaletteCount, count);
    doc.PhysicalPaletteCount = count;
    return true;
}

bool removePalettes(StyleDocument &doc, Prompts &prompts) {
    if (doc.PhysicalPaletteCount <= MinimumPhysicalPalettes) {
        prompts.message(
            QStringLiteral("vyr2 sty file format will not allow you to have less than 64 palettes."));
        return false;
    }
    const int count = pageBelow(doc.PhysicalPaletteCount);
    if (prompts.confirm(QStringLiteral("This will decrease amout of palettes in vyr2 for %1 palettes, are "
                                       "you sure you want to do this?")
                            .arg(doc.PhysicalPaletteCount - count)) == Answer::No ||
        !confirmPaletteCount(doc, count, prompts))
        return false;
    clearPalettes(doc, count, doc.PhysicalPaletteCount);
    doc.PhysicalPaletteCount = count;
    return true;
}
