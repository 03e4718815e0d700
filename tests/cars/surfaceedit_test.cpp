#include "cars/surfaceedit.h"

#include "support/scriptedprompts.h"

#include <gtest/gtest.h>

namespace {

constexpr std::size_t Water = 2;
constexpr std::size_t MetalWall = 7;

StyleDocument surfaceDocument() {
    StyleDocument doc;
    doc.SurfaceColumns[0] = {QStringLiteral("37"), QStringLiteral("4")};
    doc.SurfaceColumns[MetalWall] = {QStringLiteral("5"), QStringLiteral("37"), QStringLiteral("37")};
    return doc;
}

TEST(SurfaceEdit, ChecksTheListsHoldingTheTile) {
    const StyleDocument doc = surfaceDocument();
    const TileSurfaces holds = surfacesOfTile(doc, 37);
    for (std::size_t k = 0; k < holds.size(); ++k)
        EXPECT_EQ(holds[k], k == 0 || k == MetalWall) << "list " << k;
    EXPECT_EQ(surfacesOfTile(doc, 3), TileSurfaces{});
}

TEST(SurfaceEdit, CheckingAppendsAndUncheckingRemovesTheFirstLineOnly) {
    StyleDocument doc = surfaceDocument();
    ScriptedPrompts prompts;
    TileSurfaces checked = surfacesOfTile(doc, 37);
    checked[Water] = true;
    EXPECT_TRUE(setTileSurfaces(doc, 37, checked, prompts));
    EXPECT_EQ(doc.SurfaceColumns[Water], QStringList{"37"});
    EXPECT_EQ(doc.SurfaceColumns[0], QStringList({"37", "4"})) << "a checked list holding it stays";
    EXPECT_EQ(doc.SurfaceColumns[MetalWall], QStringList({"5", "37", "37"}));

    checked[Water] = false;
    checked[MetalWall] = false;
    EXPECT_TRUE(setTileSurfaces(doc, 37, checked, prompts));
    EXPECT_TRUE(doc.SurfaceColumns[Water].isEmpty());
    EXPECT_EQ(doc.SurfaceColumns[MetalWall], QStringList({"5", "37"})) << "duplicates are left alone";

    EXPECT_FALSE(setTileSurfaces(doc, 4, surfacesOfTile(doc, 4), prompts))
        << "the same checks change nothing";
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST(SurfaceEdit, RefusesTileZeroAndChangesNothing) {
    StyleDocument doc = surfaceDocument();
    const StyleDocument before = doc;
    ScriptedPrompts prompts;
    TileSurfaces all;
    all.fill(true);
    EXPECT_FALSE(tileSurfacesEditable(0, prompts));
    EXPECT_FALSE(setTileSurfaces(doc, 0, all, prompts));
    EXPECT_EQ(doc, before);
    ASSERT_EQ(prompts.messages().size(), 2);
    EXPECT_EQ(prompts.messages()[1], "tile 0 cannot be given a surface: a 0 ends a surface list in the style "
                                     "file, so the lists after it would move.");
    EXPECT_TRUE(tileSurfacesEditable(1, prompts));
}

} // namespace
