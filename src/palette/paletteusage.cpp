#include "palette/paletteusage.h"

#include "palette/palettelookup.h"
#include "platform/prompts.h"

#include <algorithm>

std::vector<bool> usedPhysicalPalettes(const StyleDocument &doc) {
    std::vector<bool> used(static_cast<std::size_t>(std::max(0, doc.PhysicalPaletteCount)), false);
    for (const quint16 physical : doc.PaletteIndex)
        if (physical < used.size())
            used[physical] = true;
    return used;
}

bool confirmPaletteCount(const StyleDocument &doc, int count, Prompts &prompts) {
    const auto pastCount = [&](int virtualPalette) {
        const std::optional<int> physical = physicalPaletteOf(doc, virtualPalette);
        return physical && *physical >= count;
    };
    int palettes = 0, tiles = 0, sprites = 0;
    for (int v = 0; v < doc.PaletteIndexCount(); ++v)
        palettes += pastCount(v);
    if (palettes == 0)
        return true;
    for (int tile = 0; tile < doc.tilePageCount() * TilesPerPage; ++tile)
        tiles += pastCount(tileVirtualPalette(tile));
    for (int sprite = 0; sprite < doc.spriteCount(); ++sprite)
        sprites += pastCount(spriteVirtualPalette(doc, sprite));
    return prompts.confirmLoss(
               QStringLiteral("%1 virtual palettes would point past the %2 physical palettes the file then "
                              "keeps: %3 tiles and %4 sprites would show black. Go on?")
                   .arg(palettes)
                   .arg(count)
                   .arg(tiles)
                   .arg(sprites)) == Answer::Yes;
}
