#include "graphics/drawingtools.h"

#include "graphics/palettesharing.h"
#include "graphics/spritepicture.h"
#include "graphics/tilenumbering.h"
#include "platform/editorerror.h"
#include "sample/samplestyle.h"

#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace {

using Pixels = std::set<std::pair<int, int>>;

QImage blankPicture(int width, int height, int value) {
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorCount(256);
    image.fill(static_cast<uint>(value));
    return image;
}

// The pixels of an 8-bit picture (or of the marks) holding `value`.
Pixels pixelsOf(const QImage &picture, int value) {
    Pixels found;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.constScanLine(y)[x] == value)
                found.insert({x, y});
    return found;
}

Pixels rectangleOutline(int left, int top, int right, int bottom) {
    Pixels pixels;
    for (int x = left; x <= right; ++x)
        pixels.insert({{x, top}, {x, bottom}});
    for (int y = top; y <= bottom; ++y)
        pixels.insert({{left, y}, {right, y}});
    return pixels;
}

TEST(DrawingTools, EachPaintingToolStaysInsideThePicture) {
    const QImage blank = blankPicture(10, 6, 3);

    PictureEdit pencil(blank);
    pencil.begin(DrawTool::Pencil, 7, QPoint(-5, 2));
    pencil.moveTo(QPoint(14, 2)); // through the whole row, both ends far outside
    pencil.moveTo(QPoint(14, 40));
    Pixels row;
    for (int x = 0; x < 10; ++x)
        row.insert({x, 2});
    EXPECT_EQ(pixelsOf(pencil.picture(), 7), row);
    EXPECT_EQ(pixelsOf(pencil.marks(), int(PixelMark::Drawn)), row);

    // The line is drawn anew from the press point at every move: only the last one stays.
    PictureEdit line(blank);
    line.begin(DrawTool::Line, 9, QPoint(0, 0));
    line.moveTo(QPoint(9, 5));
    line.moveTo(QPoint(3, 3));
    EXPECT_EQ(pixelsOf(line.picture(), 9), (Pixels{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));

    PictureEdit outline(blank);
    outline.begin(DrawTool::Rectangle, 1, QPoint(8, 4));
    outline.moveTo(QPoint(0, 0));
    outline.moveTo(QPoint(2, 1));
    EXPECT_EQ(pixelsOf(outline.picture(), 1), rectangleOutline(2, 1, 8, 4));

    // A rectangle reaching past the picture keeps only its inside sides.
    PictureEdit clipped(blank);
    clipped.begin(DrawTool::Rectangle, 1, QPoint(7, 3));
    clipped.moveTo(QPoint(30, -9));
    Pixels inside;
    for (int y = 0; y <= 3; ++y)
        inside.insert({7, y});
    for (int x = 7; x < 10; ++x)
        inside.insert({x, 3});
    EXPECT_EQ(pixelsOf(clipped.picture(), 1), inside);

    PictureEdit box(blank);
    box.begin(DrawTool::FilledRectangle, 2, QPoint(-3, 4));
    box.moveTo(QPoint(1, 90));
    EXPECT_EQ(pixelsOf(box.picture(), 2), (Pixels{{0, 4}, {1, 4}, {0, 5}, {1, 5}}));

    PictureEdit eraser(box.picture());
    eraser.begin(DrawTool::Eraser, 2, QPoint(0, 5));
    eraser.moveTo(QPoint(1, 5));
    EXPECT_EQ(pixelsOf(eraser.picture(), 0), (Pixels{{0, 5}, {1, 5}}));
    EXPECT_EQ(pixelsOf(eraser.marks(), int(PixelMark::Erased)), (Pixels{{0, 5}, {1, 5}}));
    EXPECT_TRUE(eraser.changed());

    PictureEdit outside(blank);
    outside.begin(DrawTool::Pencil, 5, QPoint(-1, -1));
    outside.moveTo(QPoint(-1, 20));
    EXPECT_FALSE(outside.changed());
    EXPECT_EQ(pixelsOf(outside.marks(), 0).size(), 60u);
}

TEST(DrawingTools, FillTakesTheFourConnectedAreaOfOneIndex) {
    // A diagonal wall of 1: the fill does not leak through its corners.
    QImage picture = blankPicture(5, 5, 0);
    for (int i = 0; i < 5; ++i)
        picture.setPixel(i, 4 - i, 1);
    PictureEdit fill(picture);
    fill.begin(DrawTool::Fill, 6, QPoint(0, 0));
    fill.moveTo(QPoint(4, 4)); // moves after the press change nothing
    Pixels upperLeft;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 4 - y; ++x)
            upperLeft.insert({x, y});
    EXPECT_EQ(pixelsOf(fill.picture(), 6), upperLeft);
    EXPECT_EQ(pixelsOf(fill.picture(), 0).size(), 10u);

    // Filling with the index already there changes no pixel but marks the area as drawn.
    PictureEdit same(picture);
    same.begin(DrawTool::Fill, 1, QPoint(2, 2));
    EXPECT_FALSE(same.changed());
    EXPECT_EQ(pixelsOf(same.marks(), int(PixelMark::Drawn)), (Pixels{{2, 2}}));

    const QImage large = blankPicture(64, 64, 4);
    PictureEdit whole(large);
    whole.begin(DrawTool::Fill, 8, QPoint(63, 63));
    EXPECT_EQ(pixelsOf(whole.picture(), 8).size(), 64u * 64u);
    PictureEdit off(large);
    off.begin(DrawTool::Fill, 8, QPoint(64, 0));
    EXPECT_FALSE(off.changed());
}

TEST(DrawingTools, SelectionMovesCutsPastesAndFlipsWithinThePicture) {
    QImage picture = blankPicture(6, 4, 0);
    picture.setPixel(0, 0, 1);
    picture.setPixel(1, 0, 2);
    picture.setPixel(0, 1, 3);
    picture.setPixel(1, 1, 4);
    const QRect selection = pixelSpan(QPoint(1, 1), QPoint(-4, -7), picture.size());
    EXPECT_EQ(selection, QRect(0, 0, 2, 2));
    const QImage piece = copyPixels(picture, selection);
    EXPECT_EQ(piece.size(), QSize(2, 2));
    EXPECT_EQ(piece.pixelIndex(1, 1), 4);

    PictureEdit move(picture);
    move.beginMove(selection, QPoint(0, 0));
    move.moveTo(QPoint(9, 9));
    move.moveTo(QPoint(5, 3)); // half of it hangs out: that half is dropped
    EXPECT_EQ(move.moved(), QRect(5, 3, 2, 2));
    EXPECT_EQ(pixelsOf(move.picture(), 0).size(), 23u);
    EXPECT_EQ(move.picture().pixelIndex(5, 3), 1);
    Pixels marked = pixelsOf(move.marks(), int(PixelMark::Erased));
    EXPECT_EQ(marked, (Pixels{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
    EXPECT_EQ(pixelsOf(move.marks(), int(PixelMark::Drawn)), (Pixels{{5, 3}}));

    PictureEdit paste(picture);
    paste.paste(piece, QPoint(-1, 2));
    EXPECT_EQ(paste.picture().pixelIndex(0, 2), 2);
    EXPECT_EQ(paste.picture().pixelIndex(0, 3), 4);
    EXPECT_EQ(pixelsOf(paste.marks(), int(PixelMark::Drawn)), (Pixels{{0, 2}, {0, 3}}));
    EXPECT_THROW(paste.paste(QImage(2, 2, QImage::Format_RGB32), QPoint(0, 0)), EditorError);

    PictureEdit cut(picture);
    cut.erase(QRect(1, 0, 20, 20));
    EXPECT_EQ(pixelsOf(cut.picture(), 0).size(), 22u);
    EXPECT_EQ(cut.picture().pixelIndex(0, 0), 1);

    PictureEdit flip(picture);
    flip.flip(selection, Qt::Horizontal);
    EXPECT_EQ(flip.picture().pixelIndex(0, 0), 2);
    EXPECT_EQ(flip.picture().pixelIndex(1, 1), 3);
    flip.flip(flip.picture().rect(), Qt::Vertical);
    EXPECT_EQ(flip.picture().pixelIndex(0, 3), 2);
    EXPECT_EQ(flip.picture().pixelIndex(1, 2), 3);
    EXPECT_EQ(pixelsOf(flip.picture(), 0).size(), 20u);
}

TEST(DrawingTools, AStoredDrawingChangesOnlyItsGraphicsPixels) {
    StyleDocument doc = makeSampleStyle();
    const StyleDocument before = doc;
    const int sprite = 3;
    const SpriteEntry &entry = checkedSprite(doc, sprite);
    const QImage picture = graphicPicture(doc, {GraphicKind::Sprite, sprite});
    PictureEdit edit(picture);
    edit.begin(DrawTool::Pencil, 201, QPoint(-10, 0));
    edit.moveTo(QPoint(entry.w + 10, 0));
    edit.begin(DrawTool::FilledRectangle, 202, QPoint(entry.w - 1, entry.h - 1));
    edit.moveTo(QPoint(entry.w + 50, entry.h + 50));
    EXPECT_TRUE(storeDrawing(doc, {GraphicKind::Sprite, sprite}, edit.picture()));
    EXPECT_FALSE(storeDrawing(doc, {GraphicKind::Sprite, sprite}, edit.picture()));

    const int storeTop = entry.page() * PageSide + entry.y();
    for (int y = 0; y < doc.SpriteStore.height(); ++y)
        for (int x = 0; x < PageSide; ++x) {
            const int sx = x - entry.x(), sy = y - storeTop;
            int expected = before.SpriteStore.pixelIndex(x, y);
            if (sy == 0 && sx >= 0 && sx < entry.w)
                expected = 201;
            if (sx == entry.w - 1 && sy == entry.h - 1)
                expected = 202;
            ASSERT_EQ(doc.SpriteStore.pixelIndex(x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(doc.TileStore, before.TileStore);
    EXPECT_EQ(drawingStepName({GraphicKind::Sprite, sprite}), "draw on sprite 3");

    const int tile = 21;
    PictureEdit tileEdit(graphicPicture(doc, {GraphicKind::Tile, tile}));
    tileEdit.begin(DrawTool::Fill, 0, QPoint(0, 0));
    tileEdit.begin(DrawTool::Pencil, 99, QPoint(63, 63));
    EXPECT_TRUE(storeDrawing(doc, {GraphicKind::Tile, tile}, tileEdit.picture()));
    const QPoint origin = tileOrigin(tile);
    for (int y = 0; y < doc.TileStore.height(); ++y)
        for (int x = 0; x < PageSide; ++x) {
            const QPoint p = QPoint(x, y) - origin;
            const bool inside = p.x() >= 0 && p.y() >= 0 && p.x() < TileSide && p.y() < TileSide;
            const int expected = !inside               ? before.TileStore.pixelIndex(x, y)
                                 : p == QPoint(63, 63) ? 99
                                                       : tileEdit.picture().pixelIndex(p);
            ASSERT_EQ(doc.TileStore.pixelIndex(x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(drawingStepName({GraphicKind::Tile, tile}), "draw on tile 21");

    const StyleDocument drawn = doc;
    EXPECT_THROW(storeDrawing(doc, {GraphicKind::Tile, tile}, blankPicture(63, 64, 0)), EditorError);
    EXPECT_THROW(storeDrawing(doc, {GraphicKind::Tile, tileCount(doc.TileStore)}, blankPicture(64, 64, 0)),
                 EditorError);
    EXPECT_THROW(storeDrawing(doc, {GraphicKind::Sprite, doc.spriteCount()}, blankPicture(1, 1, 0)),
                 EditorError);
    EXPECT_EQ(doc, drawn);
}

TEST(DrawingTools, ThePaletteLineNamesTheOtherGraphicsShowingThePalette) {
    StyleDocument doc = makeSampleStyle();
    ASSERT_GT(doc.PhysicalPaletteCount, 40);
    ASSERT_GT(doc.spriteCount(), 20);
    const int sprites = doc.PaletteCounts[PalTile];
    for (int v = 0; v < doc.PaletteIndexCount(); ++v)
        doc.PaletteIndex[std::size_t(v)] = 0;
    for (const int sprite : {5, 10, 11})
        doc.PaletteIndex[std::size_t(sprites + sprite)] = 36;
    doc.PaletteIndex[std::size_t(sprites + 12)] = 37;
    doc.PaletteIndex[std::size_t(sprites + 13)] = 9999; // past the stored palettes
    doc.PaletteIndex[3] = 36;

    EXPECT_EQ(paletteSharingLine(doc, {GraphicKind::Sprite, 5}),
              "palette 36 also shows sprites 10 and 11, tile 3");
    EXPECT_EQ(paletteSharingLine(doc, {GraphicKind::Tile, 3}), "palette 36 also shows sprites 5, 10 and 11");
    EXPECT_EQ(paletteSharingLine(doc, {GraphicKind::Sprite, 12}), "palette 37 shows nothing else");
    EXPECT_EQ(paletteSharingLine(doc, {GraphicKind::Sprite, 13}), "this sprite shows no stored palette");
    const QString many = paletteSharingLine(doc, {GraphicKind::Sprite, 0});
    EXPECT_TRUE(many.startsWith("palette 0 also shows sprites 1, 2, 3, 4, 6, 7, 8, 9 and "))
        << many.toStdString();
    EXPECT_TRUE(many.contains(", tiles 0, 1, 2, 4, 5, 6, 7, 8 and ")) << many.toStdString();
}

} // namespace
