#include "ui/tilegridview.h"

#include "graphics/tilegrid.h"
#include "palette/palettelookup.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Three tile pages, every tile in physical palette 1, whose colour c is (c, 0, 255 - c); tile t
// is filled with value t.
StyleDocument gridDocument() {
    StyleDocument doc;
    doc.TileStore = makePixelStore(3 * PageSide);
    for (int t = 0; t < 48; ++t) {
        const QPoint origin = tileOrigin(t);
        for (int y = 0; y < TileSide; ++y)
            std::fill_n(doc.TileStore.scanLine(origin.y() + y) + origin.x(), TileSide, static_cast<uchar>(t));
        doc.PaletteIndex.append(1);
    }
    doc.PhysicalPaletteCount = 2;
    for (int c = 0; c < 256; ++c)
        writetoclut(doc, 1, c, colourValue(c, 0, 255 - c));
    return doc;
}

class TileGridViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(300, view.sizeHint().height());
        view.setDocument(&doc);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    void click(QPoint at) { QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at); }

    StyleDocument doc = gridDocument();
    TileGridView view;
};

TEST_F(TileGridViewTest, APressSelectsTheTileUnderItAfterScrolling) {
    QSignalSpy selected(&view, &TileGridView::tileSelected);
    EXPECT_EQ(view.columnCount(), 12);
    EXPECT_EQ(view.viewport()->height(), 4 * TileSide);

    click(QPoint(64 + 10, 64 + 10));
    EXPECT_EQ(view.currentCell(), QPoint(1, 1));
    EXPECT_EQ(view.currentTile(), 5);

    view.horizontalScrollBar()->setValue(4 * TileSide);
    click(QPoint(64 + 10, 2 * 64 + 10));
    EXPECT_EQ(view.currentTile(), 25);
    ASSERT_EQ(selected.size(), 2);
    EXPECT_EQ(selected[1][0].toInt(), 25);

    view.setCurrentCell(11, 3);
    EXPECT_EQ(view.currentTile(), 47);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 12 * TileSide - view.viewport()->width())
        << "the current cell is scrolled into view";
    view.setCurrentCell(12, 0);
    EXPECT_EQ(view.currentTile(), 47) << "no such cell";
    EXPECT_EQ(selected.size(), 3);
}

TEST_F(TileGridViewTest, RefreshFollowsTheStoreAndTheSurfaceLabels) {
    view.setCurrentCell(9, 0);
    doc.TileStore = makePixelStore(2 * PageSide);
    doc.SurfaceColumns[2] = {QStringLiteral("0"), QStringLiteral("1")};
    view.refresh();
    EXPECT_EQ(view.columnCount(), 8);
    EXPECT_EQ(view.currentCell(), QPoint(0, 0)) << "the old cell is gone";

    view.horizontalScrollBar()->setValue(0);
    const QImage grab = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(view.picture(), renderTileGrid(doc));
    EXPECT_EQ(grab.pixel(TileSide, 0), 0xffffffff) << "tile 1 carries the water label";
    EXPECT_EQ(grab.pixel(2 * TileSide + 30, 30), qRgb(0, 0, 255)) << "tile 2, in colour 0, has none";
    bool ink = false;
    for (int x = TileSide; x < 2 * TileSide; ++x)
        ink = ink || grab.pixel(x, 6) == 0xff000000;
    EXPECT_TRUE(ink);
}

} // namespace
