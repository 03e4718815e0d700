#include "style/styledocument.h"
#include "style/textnumbers.h"

#include "platform/editorerror.h"

#include <gtest/gtest.h>

namespace {

TEST(Document, PaletteOffsetsFollowThePageLayout) {
    EXPECT_EQ(physicalColourOffset(63, 255), 65532);
    EXPECT_EQ(physicalColourOffset(64, 0), 65536);
    EXPECT_EQ(physicalColourOffset(127, 1), 65536 + 256 + 252);
    EXPECT_EQ(physicalColourOffset(703, 255) + 4, PhysicalPalettesBytes);
}

TEST(Document, PaletteBasesWrapInSixteenBits) {
    StyleDocument doc;
    doc.PaletteCounts = {60000, 6000, 1, 0, 0, 0, 0, 0};
    doc.derivePaletteBases();
    EXPECT_EQ(doc.PaletteBases[2], static_cast<quint16>(66000));
}

TEST(Document, TablesRefuseToGrowPastTheirCapacityOrToBeReadPastTheirEnd) {
    StyleDocument doc;
    doc.RecycleList.resize(RecycleListCapacity);
    EXPECT_THROW(doc.RecycleList.append(1), EditorError);
    EXPECT_THROW(doc.CarInfoTable[0], EditorError);
    EXPECT_THROW(doc.SpriteIndex.resize(SpriteIndexCapacity + 1), EditorError);
    EXPECT_EQ(doc.RecycleList.count(), RecycleListCapacity);
}

TEST(Document, CopiesShareTheirStoresUntilOneIsChanged) {
    StyleDocument doc;
    doc.TileStore = makePixelStore(256);
    StyleDocument copy = doc;
    EXPECT_EQ(copy.TileStore.constBits(), doc.TileStore.constBits());
    copy.TileStore.scanLine(0)[0] = 9;
    EXPECT_EQ(doc.TileStore.constScanLine(0)[0], 0);
    EXPECT_NE(copy, doc);
}

TEST(TextNumbers, AcceptsPlainDecimalOnly) {
    EXPECT_EQ(textToInteger("42"), 42);
    EXPECT_EQ(textToInteger("-7"), -7);
    EXPECT_EQ(textToInteger("+7"), 7);
    for (const char *bad : {"", "4 2", "0x10", "12a", "99999999999"}) {
        try {
            textToInteger(bad);
            ADD_FAILURE() << bad;
        } catch (const EditorError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("'%1' is not a valid integer value").arg(bad));
        }
    }
}

} // namespace
