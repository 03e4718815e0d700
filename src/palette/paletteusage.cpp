#include "paletteusage.h"

#include <algorithm>

std::vector<bool> usedPhysicalPalettes(const StyleDocument &doc) {
    std::vector<bool> used(static_cast<std::size_t>(std::max(0, doc.PhysicalPaletteCount)), false);
    for (const quint16 physical : doc.PaletteIndex)
        if (physical < used.size())
            used[physical] = true;
    return used;
}
