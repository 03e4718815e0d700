#include "ui/twnd_editor.h"

#include "everypage.h"
#include "findcaptioned.h"
#include "graphics/deltaunit.h"
#include "opensample.h"
#include "platform/fileio.h"
#include "sample/samplestyle.h"
#include "support/stylebytes.h"
#include "ui/deltaspage.h"
#include "ui/drawingcanvas.h"
#include "ui/drawingpanel.h"
#include "ui/selectedsprite.h"
#include "ui/spritespage.h"
#include "ui/tilegridview.h"
#include "widgets/paletteswatch.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <vector>

namespace {

using DrawnPixel = std::pair<int, int>;
using DeltaChanges = std::map<DrawnPixel, int>;

struct Drawing : ::testing::Test {
    Drawing() {
        makeEveryPage(window);
        samplePath = showAndOpen(window, prompts, dir, makeSampleStyle());
    }

    QWidget *page(const QString &tab) {
        for (int i = 0; i < window.mainPages()->count(); ++i)
            if (window.mainPages()->tabText(i) == tab)
                return shownPage(window.mainPages()->widget(i));
        return nullptr;
    }
    // The user's key B on a page, and the panel it shows.
    DrawingPanel *drawOn(QWidget *on) {
        on->setFocus();
        QTest::keyClick(on, Qt::Key_B);
        auto *panel = on->findChild<DrawingPanel *>();
        EXPECT_TRUE(panel->isVisible());
        return panel;
    }
    void choose(DrawingPanel *panel, int index, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(panel->swatch(), button, {}, panel->swatch()->cellCentre(index));
    }
    void useTool(DrawingPanel *panel, const QString &caption) {
        findCaptioned<QAction>(panel, caption)->trigger();
    }
    // A press, moves through `points` and a release, each in the middle of its picture pixel. (QTest
    // takes the widget point (0, 0) for the widget's centre, so pixel (0, 0) at 1x is no point here.)
    void drag(DrawingPanel *panel, std::vector<QPoint> points, Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers modifiers = {}) {
        drag(panel->canvas(), points, button, modifiers);
    }
    void drag(DrawingCanvas *canvas, std::vector<QPoint> points, Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers modifiers = {}) {
        const auto at = [&](QPoint p) {
            return p * canvas->zoom() + QPoint(1, 1) * (canvas->zoom() / 2);
        };
        QTest::mousePress(canvas, button, modifiers, at(points.front()));
        for (QPoint p : points)
            QTest::mouseMove(canvas, at(p));
        QTest::mouseRelease(canvas, button, modifiers, at(points.back()));
    }
    std::map<QByteArray, QByteArray> saved(const QString &name) {
        prompts.queueText(dir.path(name));
        findCaptioned<QAction>(&window, "save as")->trigger();
        return styleChunks(readWholeFile(dir.path(name)));
    }

    ScriptedPrompts prompts;
    TestDir dir;
    Twnd_editor window;
    QString samplePath;
};

// The deltas of `sprite` as the saved "DELX" and "DELS" chunks hold them.
std::vector<QByteArray> savedDeltas(const std::map<QByteArray, QByteArray> &chunks, int sprite) {
    const QByteArray index = chunks.at("DELX"), store = chunks.at("DELS");
    qsizetype offset = 0;
    for (qsizetype at = 0; at + 4 <= index.size();) {
        const int owner = quint8(index[at]) | quint8(index[at + 1]) << 8, count = quint8(index[at + 2]);
        std::vector<QByteArray> deltas;
        for (int d = 0; d < count; ++d) {
            const int size = quint8(index[at + 4 + 2 * d]) | quint8(index[at + 5 + 2 * d]) << 8;
            deltas.push_back(store.mid(offset, size));
            offset += size;
        }
        if (owner == sprite)
            return deltas;
        at += 4 + 2 * count;
    }
    return {};
}

// The pixels a delta writes, decoded by the codec over two backgrounds.
DeltaChanges changesOf(const QByteArray &delta, QSize size) {
    QImage zero(size, QImage::Format_Indexed8), one(size, QImage::Format_Indexed8);
    zero.fill(0u);
    one.fill(1u);
    decodeDelta(delta, zero, QPoint(0, 0), zero.rect());
    decodeDelta(delta, one, QPoint(0, 0), one.rect());
    DeltaChanges changes;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (zero.pixelIndex(x, y) != 0 || one.pixelIndex(x, y) != 1)
                changes[{x, y}] = one.pixelIndex(x, y);
    return changes;
}

TEST_F(Drawing, StrokesOnASpriteAtOneAndFourTimesChangeOnlyItsPixels) {
    const auto original = styleChunks(readWholeFile(samplePath));
    window.mainPages()->setCurrentWidget(window.spritesPage());
    const int sprite = 5;
    window.spritesPage()->selectByNumber(sprite);
    DrawingPanel *panel = drawOn(window.spritesPage());
    const SpriteEntry entry = window.document().SpriteIndex[sprite];
    const int w = entry.w, h = entry.h;
    ASSERT_GE(w, 6);
    ASSERT_GE(h, 6);

    // Drawn in place, over the selected sprite in the strip.
    DrawingCanvas *inStrip = window.spritesPage()->stripCanvas();
    ASSERT_TRUE(inStrip->isVisible());
    EXPECT_EQ(inStrip->geometry(), window.spritesPage()->activesprite()->geometry());

    // 1x: a pencil stroke along row 1 from outside the sprite to outside it again.
    choose(panel, 201);
    choose(panel, 202, Qt::RightButton);
    EXPECT_TRUE(panel->statusLine().startsWith("primary 201 (")) << panel->statusLine().toStdString();
    drag(inStrip, {QPoint(-3, 1), QPoint(w + 3, 1)});
    EXPECT_EQ(window.history().stack().undoText(), "draw on sprite 5");
    EXPECT_EQ(panel->readout(), QStringLiteral("X: %1, Y: 1").arg(w + 3));
    EXPECT_EQ(window.spritesPage()->overlay().pixel(spriteRect(entry).topLeft() + QPoint(2, 1)),
              panel->canvas()->picture().color(201));

    // 4x: a filled rectangle with the right button (secondary), an eraser, then Alt+click picks.
    // The page's zoom keys work with the focus in the drawing, which follows them; Ctrl + wheel
    // over the panel's view zooms that view alone.
    inStrip->setFocus();
    for (int k = 0; k < 3; ++k)
        QTest::keyClick(inStrip, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(window.spritesPage()->zoom(), 4);
    EXPECT_EQ(inStrip->zoom(), 4);
    QWidget *panelView = panel->canvas()->parentWidget();
    QWheelEvent wheel(QPointF(5, 5), panelView->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(panelView, &wheel);
    EXPECT_EQ(panel->zoom(), 2);
    EXPECT_EQ(window.spritesPage()->zoom(), 4);
    EXPECT_EQ(inStrip->geometry(), window.spritesPage()->activesprite()->geometry());
    useTool(panel, "filled rectangle");
    drag(inStrip, {QPoint(1, 3), QPoint(2, 4)}, Qt::RightButton);
    useTool(panel, "eraser");
    drag(panel, {QPoint(w - 1, 1)}); // the panel's own view of the drawing at 1x
    drag(inStrip, {QPoint(2, 4)}, Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(panel->swatch()->primary(), 202);
    EXPECT_EQ(window.history().stack().count(), 3);
    // A hover without a button (QTest would move the system's cursor, which may be off the view).
    const QPointF over = QPoint(1, 3) * 4 + QPoint(2, 2);
    QMouseEvent hover(QEvent::MouseMove, over, inStrip->mapToGlobal(over), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(inStrip, &hover);
    EXPECT_EQ(panel->readout(), "X: 1, Y: 3, index: 202");

    std::map<DrawnPixel, int> expected;
    for (int x = 0; x < w; ++x)
        expected[{x, 1}] = 201;
    for (int y = 3; y <= 4; ++y)
        for (int x = 1; x <= 2; ++x)
            expected[{x, y}] = 202;
    expected[{w - 1, 1}] = 0;

    const auto chunks = saved("drawn.sty");
    const QByteArray before = original.at("SPRG"), after = chunks.at("SPRG");
    ASSERT_EQ(before.size(), after.size());
    const int top = entry.page() * PageSide + entry.y();
    for (qsizetype at = 0; at < after.size(); ++at) {
        const int x = int(at % PageSide) - entry.x(), y = int(at / PageSide) - top;
        const auto drawn = expected.find({x, y});
        const int want = drawn != expected.end() && x >= 0 && y >= 0 ? drawn->second : quint8(before[at]);
        ASSERT_EQ(quint8(after[at]), want) << x << "," << y;
    }
    for (const auto &[tag, bytes] : original) {
        if (tag != "SPRG") {
            EXPECT_EQ(chunks.at(tag), bytes) << tag.constData();
        }
    }

    // Each stroke was one step.
    for (int k = 0; k < 3; ++k)
        window.history().stack().undo();
    EXPECT_EQ(window.document().SpriteStore, StyleDocument(makeSampleStyle()).SpriteStore);
}

TEST_F(Drawing, AFillOfATileAtFourTimesTakesTheAreaOfOneIndex) {
    QWidget *textures = page("Textures");
    window.mainPages()->setCurrentWidget(tabOf(textures));
    auto *grid = window.findChild<TileGridView *>();
    grid->setCurrentCell(2, 1);
    const int tile = grid->currentTile();
    DrawingPanel *panel = drawOn(textures);
    // Drawn in place, over the current cell of the grid at 4x.
    grid->setZoom(4);
    DrawingCanvas *inGrid = textures->findChild<DrawingCanvas *>("cellcanvas");
    ASSERT_TRUE(inGrid->isVisible());
    EXPECT_EQ(inGrid->geometry(), grid->cellRect(QPoint(2, 1)));
    EXPECT_EQ(inGrid->zoom(), 4);
    // A pixel with a neighbour of its index, so that the area is more than itself.
    const QByteArray before = styleChunks(readWholeFile(samplePath)).at("TILE");
    const QPoint origin = tileOrigin(tile);
    const auto byteAt = [&](const QByteArray &store, int x, int y) {
        return quint8(store[(origin.y() + y) * PageSide + origin.x() + x]);
    };
    QPoint seed(1, 1);
    while (byteAt(before, seed.x(), seed.y()) != byteAt(before, seed.x() + 1, seed.y()))
        seed = seed.x() < TileSide - 3 ? seed + QPoint(1, 0) : QPoint(1, seed.y() + 1);
    useTool(panel, "fill");
    choose(panel, 250);
    drag(inGrid, {seed});
    EXPECT_EQ(window.history().stack().undoText(), QStringLiteral("draw on tile %1").arg(tile));
    EXPECT_TRUE(panel->sharingLine().startsWith("palette ")) << panel->sharingLine().toStdString();

    // The area, found in the bytes of the file as it was opened.
    const int target = byteAt(before, seed.x(), seed.y());
    std::set<DrawnPixel> area;
    std::vector<DrawnPixel> pending{{seed.x(), seed.y()}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (x < 0 || y < 0 || x >= TileSide || y >= TileSide || area.count({x, y}) ||
            byteAt(before, x, y) != target)
            continue;
        area.insert({x, y});
        pending.insert(pending.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    ASSERT_GT(area.size(), 1u);
    const QByteArray after = saved("filled.sty").at("TILE");
    for (qsizetype at = 0; at < after.size(); ++at) {
        const int x = int(at % PageSide) - origin.x(), y = int(at / PageSide) - origin.y();
        ASSERT_EQ(quint8(after[at]), area.count({x, y}) ? 250 : quint8(before[at])) << x << "," << y;
    }
}

TEST_F(Drawing, DeltaLayersTakeStrokesAsChangesAndSaveThemEncoded) {
    const int car = 2;
    window.mainPages()->setCurrentWidget(window.spritesPage());
    window.spritesPage()->selectByNumber(car);
    findCaptioned<QAction>(window.spritesPage(), "Deltas")->trigger();
    DeltasPage *deltas = window.deltasPage();
    const auto original = styleChunks(readWholeFile(samplePath));
    const std::vector<QByteArray> before = savedDeltas(original, car);
    ASSERT_GE(before.size(), 2u);
    const QSize size(window.document().SpriteIndex[car].w, window.document().SpriteIndex[car].h);

    DrawingPanel *panel = drawOn(deltas);
    ASSERT_EQ(panel->layerList()->count(), int(before.size()));
    panel->layerList()->setCurrentRow(1);
    EXPECT_EQ(panel->selectedDelta(), 1);
    // Delta 0 hidden: its changes leave the picture, which shows the sprite there.
    panel->layerList()->item(0)->setCheckState(Qt::Unchecked);

    DeltaChanges expected = changesOf(before[1], size);
    ASSERT_FALSE(expected.empty());
    const DrawnPixel erased = expected.begin()->first;
    panel->setZoom(1);
    choose(panel, 77);
    drag(panel, {QPoint(1, 0), QPoint(4, 0)});
    expected[{1, 0}] = expected[{2, 0}] = expected[{3, 0}] = expected[{4, 0}] = 77;
    panel->setZoom(4);
    useTool(panel, "eraser");
    drag(panel, {QPoint(erased.first, erased.second)});
    expected.erase(erased);
    EXPECT_EQ(window.history().stack().undoText(), "draw on delta 1 of sprite 2");

    // A new delta at the end, drawn on at 4x.
    findCaptioned<QAction>(panel, "add delta")->trigger();
    EXPECT_EQ(window.history().stack().undoText(), "add delta");
    const int added = int(before.size());
    EXPECT_EQ(panel->selectedDelta(), added);
    useTool(panel, "line");
    choose(panel, 9);
    drag(panel, {QPoint(1, 2), QPoint(4, 2), QPoint(1, 5)});
    EXPECT_EQ(window.history().stack().undoText(), QStringLiteral("draw on delta %1 of sprite 2").arg(added));

    const auto chunks = saved("deltas.sty");
    const std::vector<QByteArray> after = savedDeltas(chunks, car);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(changesOf(after[1], size), expected);
    EXPECT_EQ(changesOf(after[std::size_t(added)], size),
              (DeltaChanges{{{1, 2}, 9}, {{1, 3}, 9}, {{1, 4}, 9}, {{1, 5}, 9}}));
    for (std::size_t d = 0; d < before.size(); ++d) {
        if (d != 1) {
            EXPECT_EQ(after[d], before[d]) << d;
        }
    }
    EXPECT_EQ(chunks.at("SPRG"), original.at("SPRG"));

    findCaptioned<QAction>(panel, "remove delta")->trigger();
    EXPECT_EQ(savedDeltas(saved("removed.sty"), car).size(), before.size());
    window.history().stack().undo();
    EXPECT_EQ(panel->layerList()->count(), added + 1);
}

TEST_F(Drawing, SelectionKeysFlipAndColourEditWorkOnTheDrawing) {
    QWidget *textures = page("Textures");
    window.mainPages()->setCurrentWidget(tabOf(textures));
    auto *grid = window.findChild<TileGridView *>();
    grid->setCurrentCell(1, 0);
    const int tile = grid->currentTile();
    DrawingPanel *panel = drawOn(textures);
    panel->setZoom(4);
    // Four known pixels to work on, then a selection of the two on the left.
    useTool(panel, "pencil");
    for (const auto &[x, index] : std::vector<std::pair<int, int>>{{1, 11}, {2, 12}, {3, 13}, {4, 14}}) {
        choose(panel, index);
        drag(panel, {QPoint(x, 1)});
    }
    const int steps = window.history().stack().count();
    // Without a selection Ctrl+C is still the page's: the whole tile goes to the clipboard.
    QGuiApplication::clipboard()->clear();
    panel->canvas()->setFocus();
    QTest::keyClick(panel->canvas(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(TileSide, TileSide));
    useTool(panel, "select");
    drag(panel, {QPoint(1, 1), QPoint(2, 1)});
    EXPECT_EQ(panel->canvas()->selection(), QRect(1, 1, 2, 1));

    // Ctrl+C copies the selected pixels, not the whole tile; Ctrl+V puts them at the selection,
    // which is then dragged to column 10; Ctrl+X empties the pixels selected.
    QTest::keyClick(panel->canvas(), Qt::Key_C, Qt::ControlModifier);
    drag(panel, {QPoint(6, 3), QPoint(7, 3)});
    QTest::keyClick(panel->canvas(), Qt::Key_V, Qt::ControlModifier);
    drag(panel, {QPoint(6, 3), QPoint(10, 3)});
    EXPECT_EQ(panel->canvas()->selection(), QRect(10, 3, 2, 1));
    drag(panel, {QPoint(3, 1), QPoint(4, 1)});
    QTest::keyClick(panel->canvas(), Qt::Key_X, Qt::ControlModifier);
    findCaptioned<QAction>(panel, "flip horizontally")->trigger(); // the empty pair: nothing changes
    drag(panel, {QPoint(1, 1), QPoint(2, 1)});
    findCaptioned<QAction>(panel, "flip horizontally")->trigger();
    EXPECT_EQ(window.history().stack().count(), steps + 4); // paste, move, cut, flip
    EXPECT_EQ(window.history().stack().undoText(), QStringLiteral("draw on tile %1").arg(tile));

    const QPoint origin = tileOrigin(tile);
    const QByteArray before = styleChunks(readWholeFile(samplePath)).at("TILE");
    std::map<DrawnPixel, int> expected = {{{1, 1}, 12}, {{2, 1}, 11}, {{3, 1}, 0},   {{4, 1}, 0},
                                          {{6, 3}, 0},  {{7, 3}, 0},  {{10, 3}, 11}, {{11, 3}, 12}};
    const QByteArray after = saved("selection.sty").at("TILE");
    for (qsizetype at = 0; at < after.size(); ++at) {
        const int x = int(at % PageSide) - origin.x(), y = int(at / PageSide) - origin.y();
        const auto drawn = expected.find({x, y});
        ASSERT_EQ(quint8(after[at]), drawn != expected.end() ? drawn->second : quint8(before[at]))
            << x << "," << y;
    }

    // The swatch marks what the tile uses; a double click edits a colour as one step, and a text
    // that is no colour is refused.
    const int palette = window.document().PaletteIndex[std::size_t(tile)];
    EXPECT_TRUE(panel->sharingLine().startsWith(QStringLiteral("palette %1 ").arg(palette)))
        << panel->sharingLine().toStdString();
    prompts.queueText(QStringLiteral("300,0,0"));
    QTest::mouseDClick(panel->swatch(), Qt::LeftButton, {}, panel->swatch()->cellCentre(12));
    EXPECT_EQ(prompts.messages().last(),
              "\"300,0,0\" is no colour: give red, green and blue from 0 to 255, such as 255,128,0.");
    prompts.queueText(QStringLiteral(" 10, 20,30 "));
    QTest::mouseDClick(panel->swatch(), Qt::LeftButton, {}, panel->swatch()->cellCentre(12));
    EXPECT_EQ(window.history().stack().undoText(), "edit colour");
    const QByteArray palettes = saved("colour.sty").at("PPAL");
    const int at = physicalColourOffset(palette, 12);
    EXPECT_EQ(palettes.mid(at, 3), QByteArray("\x1e\x14\x0a", 3)); // blue, green, red
    EXPECT_EQ(panel->canvas()->picture().color(12), qRgb(10, 20, 30));
    window.history().stack().undo();
    EXPECT_EQ(window.document().PhysicalPalettes, StyleDocument(makeSampleStyle()).PhysicalPalettes);
}

// What a drawing should hold after the strokes, worked out apart from the editor: the picture
// shown and, on a delta layer, that delta's changes.
struct ExpectedDrawing {
    QImage shown;    // 8-bit
    QImage erasedTo; // what the eraser brings back
    DeltaChanges changes;

    bool inside(QPoint p) const { return shown.rect().contains(p); }
    void draw(QPoint p, int index) {
        if (!inside(p))
            return;
        shown.setPixel(p, uint(index));
        changes[{p.x(), p.y()}] = index;
    }
    void erase(QPoint p) {
        if (!inside(p))
            return;
        shown.setPixel(p, uint(erasedTo.pixelIndex(p)));
        changes.erase({p.x(), p.y()});
    }
    void fill(QPoint seed, int index) {
        const int target = shown.pixelIndex(seed);
        std::set<DrawnPixel> area;
        std::vector<QPoint> pending{seed};
        while (!pending.empty()) {
            const QPoint p = pending.back();
            pending.pop_back();
            if (!inside(p) || area.count({p.x(), p.y()}) || shown.pixelIndex(p) != target)
                continue;
            area.insert({p.x(), p.y()});
            pending.insert(pending.end(),
                           {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
        }
        for (const auto &[x, y] : area)
            draw(QPoint(x, y), index);
    }
};

QImage indexedPicture(QSize size, const std::function<int(int, int)> &index) {
    QImage picture(size, QImage::Format_Indexed8);
    picture.setColorCount(256);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, uint(index(x, y)));
    return picture;
}

TEST_F(Drawing, EveryPaintingToolAtOneAndFourTimesOnSpritesTilesAndDeltaLayers) {
    const auto original = styleChunks(readWholeFile(samplePath));
    // Each tool at both zooms, with the expected drawing following each stroke.
    const auto paintEveryTool = [&](DrawingPanel *panel, DrawingCanvas *canvas,
                                    const std::function<void(int)> &zoomTo, ExpectedDrawing &expected) {
        for (const int zoom : {1, 4}) {
            zoomTo(zoom);
            ASSERT_EQ(canvas->zoom(), zoom);
            const int base = zoom == 1 ? 200 : 220;
            useTool(panel, "pencil");
            choose(panel, base + 1);
            drag(canvas, {QPoint(1, 1), QPoint(4, 1)});
            for (int x = 1; x <= 4; ++x)
                expected.draw(QPoint(x, 1), base + 1);
            useTool(panel, "line");
            choose(panel, base + 2);
            drag(canvas, {QPoint(1, 2), QPoint(5, 2), QPoint(3, 4)});
            for (int k = 0; k < 3; ++k)
                expected.draw(QPoint(1 + k, 2 + k), base + 2);
            useTool(panel, "rectangle");
            choose(panel, base + 3);
            drag(canvas, {QPoint(4, 5), QPoint(2, 3)});
            for (int x = 2; x <= 4; ++x)
                for (int y = 3; y <= 5; ++y)
                    if (x != 3 || y != 4)
                        expected.draw(QPoint(x, y), base + 3);
            useTool(panel, "filled rectangle");
            choose(panel, base + 4, Qt::RightButton);
            drag(canvas, {QPoint(3, 4), QPoint(2, 4)}, Qt::RightButton);
            expected.draw(QPoint(2, 4), base + 4);
            expected.draw(QPoint(3, 4), base + 4);
            useTool(panel, "eraser");
            drag(canvas, {QPoint(2, 1), QPoint(3, 1)});
            expected.erase(QPoint(2, 1));
            expected.erase(QPoint(3, 1));
            useTool(panel, "fill");
            choose(panel, base + 5);
            drag(canvas, {QPoint(5, 5)});
            expected.fill(QPoint(5, 5), base + 5);
            useTool(panel, "eyedropper");
            drag(canvas, {QPoint(1, 2)});
            EXPECT_EQ(panel->swatch()->primary(), base + 2) << zoom;
        }
    };
    const auto storeRegion = [](const QByteArray &store, QPoint topLeft, QSize size) {
        return indexedPicture(size, [&](int x, int y) {
            return quint8(store[(topLeft.y() + y) * PageSide + topLeft.x() + x]);
        });
    };
    // The store's bytes: the region as expected, everything else as it was.
    const auto checkStore = [](const QByteArray &before, const QByteArray &after, QPoint topLeft,
                               const QImage &expected) {
        ASSERT_EQ(before.size(), after.size());
        for (qsizetype at = 0; at < after.size(); ++at) {
            const QPoint p = QPoint(int(at % PageSide), int(at / PageSide)) - topLeft;
            const int want = expected.rect().contains(p) ? expected.pixelIndex(p) : quint8(before[at]);
            ASSERT_EQ(quint8(after[at]), want) << p.x() << "," << p.y();
        }
    };

    // A sprite, in place in the strip.
    const int sprite = 5;
    window.mainPages()->setCurrentWidget(window.spritesPage());
    window.spritesPage()->selectByNumber(sprite);
    DrawingPanel *spritePanel = drawOn(window.spritesPage());
    const SpriteEntry entry = window.document().SpriteIndex[sprite];
    const QPoint spriteAt(entry.x(), entry.page() * PageSide + entry.y());
    ExpectedDrawing spriteDrawing;
    spriteDrawing.shown = storeRegion(original.at("SPRG"), spriteAt, QSize(entry.w, entry.h));
    spriteDrawing.erasedTo = indexedPicture(spriteDrawing.shown.size(), [](int, int) { return 0; });
    paintEveryTool(
        spritePanel, window.spritesPage()->stripCanvas(),
        [&](int zoom) { window.spritesPage()->setZoom(zoom); }, spriteDrawing);

    // A tile, in place in the grid.
    QWidget *textures = page("Textures");
    window.mainPages()->setCurrentWidget(tabOf(textures));
    auto *grid = window.findChild<TileGridView *>();
    grid->setCurrentCell(4, 2);
    const int tile = grid->currentTile();
    DrawingPanel *tilePanel = drawOn(textures);
    ExpectedDrawing tileDrawing;
    tileDrawing.shown = storeRegion(original.at("TILE"), tileOrigin(tile), QSize(TileSide, TileSide));
    tileDrawing.erasedTo = indexedPicture(tileDrawing.shown.size(), [](int, int) { return 0; });
    paintEveryTool(
        tilePanel, textures->findChild<DrawingCanvas *>("cellcanvas"), [&](int zoom) { grid->setZoom(zoom); },
        tileDrawing);

    // Delta 2 of a car, every layer shown.
    const int car = 2, delta = 2;
    window.mainPages()->setCurrentWidget(window.spritesPage());
    window.spritesPage()->selectByNumber(car);
    findCaptioned<QAction>(window.spritesPage(), "Deltas")->trigger();
    DrawingPanel *deltaPanel = drawOn(window.deltasPage());
    deltaPanel->layerList()->setCurrentRow(delta);
    const std::vector<QByteArray> deltas = savedDeltas(original, car);
    ASSERT_GT(deltas.size(), std::size_t(delta));
    const SpriteEntry carEntry = window.document().SpriteIndex[car];
    const QImage carSprite =
        storeRegion(original.at("SPRG"), QPoint(carEntry.x(), carEntry.page() * PageSide + carEntry.y()),
                    QSize(carEntry.w, carEntry.h));
    const auto composed = [&](bool withDelta) {
        QImage picture = carSprite.copy();
        for (std::size_t d = 0; d < deltas.size(); ++d)
            for (const auto &[p, index] : changesOf(deltas[d], picture.size()))
                if (withDelta || d != std::size_t(delta))
                    picture.setPixel(p.first, p.second, uint(index));
        return picture;
    };
    ExpectedDrawing deltaDrawing{composed(true), composed(false), changesOf(deltas[delta], carSprite.size())};
    paintEveryTool(
        deltaPanel, deltaPanel->canvas(), [&](int zoom) { deltaPanel->setZoom(zoom); }, deltaDrawing);

    const auto chunks = saved("every-tool.sty");
    checkStore(original.at("SPRG"), chunks.at("SPRG"), spriteAt, spriteDrawing.shown);
    checkStore(original.at("TILE"), chunks.at("TILE"), tileOrigin(tile), tileDrawing.shown);
    const std::vector<QByteArray> after = savedDeltas(chunks, car);
    ASSERT_EQ(after.size(), deltas.size());
    EXPECT_EQ(changesOf(after[delta], carSprite.size()), deltaDrawing.changes);
    for (std::size_t d = 0; d < deltas.size(); ++d) {
        if (d != std::size_t(delta)) {
            EXPECT_EQ(after[d], deltas[d]) << d;
        }
    }
}

} // namespace
