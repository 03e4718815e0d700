#include "palette/paletteusage.h"

#include <gtest/gtest.h>

namespace {

TEST(PaletteUsage, MarksEveryPhysicalPaletteThatSomeVirtualPaletteUses) {
    StyleDocument doc;
    doc.PhysicalPaletteCount = 8;
    for (quint16 physical : {3, 3, 0, 6, 8, 65535})
        doc.PaletteIndex.append(physical);
    // 8 and 65535 lie beyond the document and are not counted.
    EXPECT_EQ(usedPhysicalPalettes(doc),
              (std::vector<bool>{true, false, false, true, false, false, true, false}));

    doc.PhysicalPaletteCount = 0;
    EXPECT_TRUE(usedPhysicalPalettes(doc).empty());
}

} // namespace
