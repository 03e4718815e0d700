// Zooming the picture views: at every zoom a click, a right-button drag, the pointer readout and
// a dropped tile land on the picture pixel under the pointer, and Ctrl + wheel keeps that pixel
// under it.

#include "ui/twnd_editor.h"

#include "everypage.h"
#include "findcaptioned.h"
#include "graphics/spriteentries.h"
#include "graphics/tilegrid.h"
#include "graphics/tilenumbering.h"
#include "opensample.h"
#include "sample/samplestyle.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "ui/deltaspage.h"
#include "ui/selectedsprite.h"
#include "ui/spritespage.h"
#include "ui/spritestripview.h"
#include "ui/tilegridview.h"
#include "widgets/stretchedimageview.h"
#include "widgets/zoom.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// Turns the wheel by `notches` with Ctrl held over `pointer` of `viewport`, and lets the layout follow.
// The picture widget under the pointer leaves wheel turns to the viewport, where this one goes.
void ctrlWheel(QWidget *viewport, QPoint pointer, int notches) {
    QWheelEvent wheel(pointer, viewport->mapToGlobal(pointer), QPoint(),
                      QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    QTest::qWait(20);
}

struct ZoomedWindow : ::testing::Test {
    ZoomedWindow() {
        makeEveryPage(window);
        showAndOpen(window, prompts, dir, sample);
        // Shortcuts reach only the active window.
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        page = window.spritesPage();
        grid = window.findChild<TileGridView *>(QStringLiteral("DrawGrid1"));
    }

    const SpriteEntry &entry(int sprite) { return window.document().SpriteIndex[std::size_t(sprite)]; }
    // The last screen pixel of strip pixel `p` at `zoom`: rounding it to the nearest would land on
    // the next picture pixel.
    static QPoint lastScreenPixel(QPoint p, int zoom) { return p * zoom + QPoint(zoom - 1, zoom - 1); }

    TestDir dir;
    ScriptedPrompts prompts;
    StyleDocument sample = makeSampleStyle();
    Twnd_editor window;
    SpritesPage *page = nullptr;
    TileGridView *grid = nullptr;
};

TEST_F(ZoomedWindow, ClicksDragsAndTheReadoutHitThePicturePixelAtEveryZoom) {
    const int target = sample.SpriteBases[SprCar] + 2;
    const int moved = 2;
    for (const int zoom : {1, 2, 4, 8}) {
        SCOPED_TRACE(zoom);
        page->selectByNumber(0);
        page->setZoom(zoom);
        EXPECT_EQ(page->strip()->size(), page->overlay().size() * zoom);

        const QPoint inside = spriteRect(entry(target)).center();
        QTest::mouseClick(page->strip(), Qt::LeftButton, {}, lastScreenPixel(inside, zoom));
        EXPECT_EQ(page->selectedSprite(), target);

        // A move to where the pointer already is sends nothing, and an earlier test may have left
        // it there.
        QTest::mouseMove(page->strip(), QPoint(0, 0));
        QTest::mouseMove(page->strip(), lastScreenPixel(QPoint(256 + 17, 40), zoom));
        EXPECT_EQ(page->findChild<QLabel *>(QStringLiteral("readout"))->text(), "X: 17, Y: 40, P: 1");

        // The selected sprite covers its entry's pixels, each `zoom` screen pixels wide.
        page->selectByNumber(moved);
        TVyr_sprite *control = page->activesprite();
        const QRect rect = spriteRect(entry(moved));
        EXPECT_EQ(control->geometry(), QRect(rect.topLeft() * zoom, rect.size() * zoom));
        // A drag moves by whole picture pixels: a pointer short of the next one stays on this one.
        const SpriteEntry before = entry(moved);
        const QPoint grip(1, 1);
        const QPoint by = QPoint(3, 2) * zoom + QPoint(zoom - 1, zoom - 1);
        QTest::mousePress(control, Qt::RightButton, {}, grip);
        QTest::mouseMove(control, grip + by);
        QTest::mouseRelease(control, Qt::RightButton, {}, grip + by);
        EXPECT_EQ(entry(moved).x(), before.x() + 3);
        EXPECT_EQ(entry(moved).y(), before.y() + 2);
        EXPECT_EQ(entry(moved).page(), before.page());
        EXPECT_EQ(control->pos(), (spriteRect(entry(moved)).topLeft()) * zoom);
    }

    // Tiles: the cell under the pointer becomes current, wherever the grid is scrolled, and the
    // click leaves the grid where it is, though the cell shows only in part.
    QTabWidget *pages = window.mainPages();
    pages->setCurrentIndex(1);
    for (const int zoom : {1, 2, 4, 8}) {
        SCOPED_TRACE(zoom);
        grid->setZoom(zoom);
        const QPoint cell(5, zoom == 1 ? 3 : 2);
        const QPoint pixel = QPoint(cell.x() * TileSide + 63, cell.y() * TileSide + 63) * zoom;
        grid->horizontalScrollBar()->setValue(pixel.x() - 10);
        if (zoom > 1)
            grid->verticalScrollBar()->setValue(pixel.y() - 10);
        const QPoint offset(grid->horizontalScrollBar()->value(),
                            zoom > 1 ? grid->verticalScrollBar()->value() : 0);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, pixel + QPoint(zoom - 1, zoom - 1) - offset);
        EXPECT_EQ(
            QPoint(grid->horizontalScrollBar()->value(), zoom > 1 ? grid->verticalScrollBar()->value() : 0),
            offset);
        EXPECT_EQ(grid->currentCell(), cell);
        EXPECT_EQ(grid->currentTile(), tileAtCell(cell.x(), cell.y()));
    }

    // A surface label keeps its 1x size over the zoomed tile: its top-left pixels match the 1x
    // picture, and just below the label the tile's own pixel shows, zoomed.
    std::optional<QPoint> labelled;
    for (int tile = 0; tile < tileCount(sample.TileStore) && !labelled; ++tile)
        if (!surfaceLabel(sample, tile).isEmpty())
            labelled = cellOfTile(tile);
    ASSERT_TRUE(labelled);
    const int zoom = 2;
    grid->setZoom(zoom);
    grid->horizontalScrollBar()->setValue(labelled->x() * TileSide * zoom);
    grid->verticalScrollBar()->setValue(labelled->y() * TileSide * zoom);
    const QPoint origin = *labelled * TileSide * zoom -
                          QPoint(grid->horizontalScrollBar()->value(), grid->verticalScrollBar()->value());
    const QImage shown = grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage label =
        renderTileGrid(sample).copy(labelled->x() * TileSide, labelled->y() * TileSide, 16, 6);
    for (int y = 0; y < label.height(); ++y)
        for (int x = 0; x < label.width(); ++x)
            ASSERT_EQ(shown.pixel(origin + QPoint(x, y)), label.pixel(x, y)) << x << "," << y;
    const QImage tile = renderTileCell(sample, labelled->x(), labelled->y());
    EXPECT_EQ(shown.pixel(origin + QPoint(5, 30) * zoom), tile.pixel(5, 30));
}

TEST_F(ZoomedWindow, APlainWheelLeavesTheZoomAndKeysStepItAndGoBackToActualSize) {
    auto *scroll = page->findChild<QScrollArea *>();
    ASSERT_NE(scroll, nullptr);
    QWidget *viewport = scroll->viewport();
    page->setZoom(3);
    const QPoint pointer(150, 60);

    // A plain wheel scrolls and leaves the zoom alone.
    QWheelEvent plain(pointer, viewport->mapToGlobal(pointer), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &plain);
    EXPECT_EQ(page->zoom(), 3);

    page->strip()->setFocus();
    QTest::keyClick(page->strip(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(page->zoom(), 4);
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(page->strip(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(page->zoom(), 8);
    QTest::keyClick(page->strip(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(page->zoom(), 7);
    QTest::keyClick(page->strip(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(page->zoom(), 1);
    EXPECT_EQ(page->strip()->size(), page->overlay().size());

    // The delta sheet zooms by the same keys, in whole multiples of the sheet.
    page->selectByNumber(0);
    findCaptioned<QAction>(page, "Deltas")->trigger();
    DeltasPage *deltas = window.deltasPage();
    deltas->setFocus();
    QTest::keyClick(deltas, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(deltas, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(deltas->zoom(), 3);
    EXPECT_EQ(deltas->shownSize(), deltas->sheet().size() * 3);
    EXPECT_FALSE(window.isModified());
}

// One zoomable picture as the test reaches it: its scroll area, its zoom, its picture at 1x and the
// picture pixel its own hit test finds under a viewport point.
struct ZoomablePicture {
    QAbstractScrollArea *area;
    std::function<int()> zoom;
    QImage picture;
    std::function<QPoint(QPoint)> pixelAt;
};

// From 1x, where the picture fits its view, Ctrl + wheel zooms in to where it fits still (pushing it
// past the view's top-left), on to where it does not, then from the picture's top-left back out (leaving
// blank room before it) to 1x. After every turn the hit test finds the pixel that was under the
// pointer, that pixel's colour is drawn there, and the scroll bars still reach the whole picture.
// `keepsRowAt1x` false: the view itself goes back to the picture's height at 1x.
void zoomAroundPointer(const ZoomablePicture &view, QPoint pointer, bool keepsRowAt1x,
                       const std::function<void(QPoint)> &alsoCheck) {
    QWidget *viewport = view.area->viewport();
    QScrollBar *across = view.area->horizontalScrollBar();
    QScrollBar *down = view.area->verticalScrollBar();
    const auto fits = [&] {
        return view.picture.width() * view.zoom() <= viewport->width() &&
               view.picture.height() * view.zoom() <= viewport->height();
    };
    ASSERT_EQ(view.zoom(), 1);
    ASSERT_TRUE(fits());
    QPoint under = view.pixelAt(pointer);
    struct Step {
        bool fromTopLeft;
        int notches;
        int zoom;
        std::optional<bool> fits;
    };
    for (const Step step : {Step{false, 1, 2, true}, Step{false, 2, 4, false}, Step{true, -1, 3, {}},
                            Step{false, -2, 1, true}}) {
        SCOPED_TRACE(step.zoom);
        if (step.fromTopLeft) {
            across->setValue(across->minimum());
            down->setValue(down->minimum());
            under = view.pixelAt(pointer);
        }
        ASSERT_TRUE(view.picture.rect().contains(under)) << under.x() << "," << under.y();
        ctrlWheel(viewport, pointer, step.notches);
        ASSERT_EQ(view.zoom(), step.zoom);
        if (step.fits) {
            EXPECT_EQ(fits(), *step.fits);
        }
        const QPoint now = view.pixelAt(pointer);
        EXPECT_EQ(now.x(), under.x());
        if (step.zoom > 1 || keepsRowAt1x) {
            EXPECT_EQ(now.y(), under.y());
        }
        // From PixelGridZoom on, the pointer may sit on the grid line at the pixel's edge.
        if (step.zoom < PixelGridZoom) {
            EXPECT_EQ(viewport->grab().toImage().pixel(pointer) & 0xffffff,
                      view.picture.pixel(now) & 0xffffff);
        }
        alsoCheck(now);

        const QPoint scrolled(across->value(), down->value());
        across->setValue(across->minimum());
        down->setValue(down->minimum());
        const QPoint first = view.pixelAt(QPoint(0, 0));
        EXPECT_LE(first.x(), 0);
        EXPECT_LE(first.y(), 0);
        across->setValue(across->maximum());
        down->setValue(down->maximum());
        const QPoint last = view.pixelAt(viewport->rect().bottomRight());
        EXPECT_GE(last.x(), view.picture.width() - 1);
        EXPECT_GE(last.y(), view.picture.height() - 1);
        across->setValue(scrolled.x());
        down->setValue(scrolled.y());
        ASSERT_EQ(view.pixelAt(pointer), now);
    }
    // Back at 1x the picture fits and stands off the view's left edge, where the pointer left it;
    // the scroll bar takes it back to the edge.
    EXPECT_LT(view.pixelAt(QPoint(0, 0)).x(), 0);
    view.area->horizontalScrollBar()->setValue(view.area->horizontalScrollBar()->maximum());
    EXPECT_EQ(view.pixelAt(QPoint(0, 0)).x(), 0);
}

TEST_F(ZoomedWindow, CtrlWheelKeepsThePixelUnderThePointerWhetherThePictureFitsItsViewOrNot) {
    window.resize(1600, 1000);
    QTest::qWait(20);

    // The sprite pages: the pointer readout, from a real mouse move, names the same pixel.
    auto *stripArea = page->findChild<QScrollArea *>();
    SpriteStripView *strip = page->strip();
    auto *readout = page->findChild<QLabel *>(QStringLiteral("readout"));
    const auto stripPixel = [strip, stripArea](QPoint point) {
        return unzoomed(strip->mapFrom(stripArea->viewport(), point), strip->zoom());
    };
    const QPoint pointer(300, 200);
    const auto readoutAt = [&](QPoint pixel) {
        QTest::mouseMove(stripArea->viewport(), pointer + QPoint(3, 3));
        readout->clear();
        QTest::mouseMove(stripArea->viewport(), pointer);
        EXPECT_EQ(
            readout->text(),
            QStringLiteral("X: %1, Y: %2, P: %3").arg(pixel.x() % 256).arg(pixel.y()).arg(pixel.x() / 256));
    };
    ASSERT_EQ(stripPixel(pointer), pointer);
    zoomAroundPointer({stripArea, [this] { return page->zoom(); }, page->overlay(), stripPixel}, pointer,
                      true, readoutAt);

    // The texture grid, whose height at 1x is that of its four rows.
    window.mainPages()->setCurrentIndex(1);
    QTest::qWait(20);
    const QPoint onGrid(300, 150);
    zoomAroundPointer({grid, [this] { return grid->zoom(); }, grid->picture(),
                       [this](QPoint point) {
                           return grid->pixelAt(point);
                       }},
                      onGrid, false, [this, onGrid](QPoint pixel) {
                          const QPoint cell(pixel.x() / TileSide, pixel.y() / TileSide);
                          EXPECT_EQ(grid->cellAt(onGrid), cell);
                          QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, onGrid);
                          EXPECT_EQ(grid->currentCell(), cell);
                      });

    // The delta sheet of the first sprite, a car.
    window.mainPages()->setCurrentIndex(0);
    page->selectByNumber(0);
    findCaptioned<QAction>(page, "Deltas")->trigger();
    QTest::qWait(20);
    DeltasPage *deltas = window.deltasPage();
    auto *sheet = deltas->findChild<StretchedImageView *>(QStringLiteral("deltasheet"));
    auto *sheetArea = deltas->findChild<QScrollArea *>();
    ASSERT_TRUE(sheet->isVisible());
    const auto sheetPixel = [sheet, sheetArea, deltas](QPoint point) {
        return unzoomed(sheet->mapFrom(sheetArea->viewport(), point), deltas->zoom());
    };
    zoomAroundPointer({sheetArea, [deltas] { return deltas->zoom(); }, deltas->sheet(), sheetPixel},
                      QPoint(200, 80), true, [](QPoint) {});
    // Off the picture, the picture's nearest corner stays where it is, and the picture in sight.
    const QPoint corner =
        sheet->mapTo(sheetArea->viewport(), QPoint(sheet->width() - 1, sheet->height() - 1));
    ASSERT_TRUE(sheetArea->viewport()->rect().contains(corner + QPoint(300, 200)));
    ctrlWheel(sheetArea->viewport(), corner + QPoint(300, 200), 1);
    ASSERT_EQ(deltas->zoom(), 2);
    EXPECT_EQ(sheetPixel(corner), QPoint(deltas->sheet().width() - 1, deltas->sheet().height() - 1));
    EXPECT_FALSE(window.isModified());
}

} // namespace
