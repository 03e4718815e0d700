#include "ui/twnd_editor.h"

#include "everypage.h"
#include "findcaptioned.h"
#include "graphics/deltaunit.h"
#include "graphics/spriteentries.h"
#include "graphics/tilegrid.h"
#include "graphics/tilenumbering.h"
#include "platform/forwardingprompts.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "ui/deltaspage.h"
#include "ui/spritelistpage.h"
#include "ui/spritespage.h"
#include "ui/tilegridview.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPaintEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>
#include <algorithm>
#include <gtest/gtest.h>
#include <new>

namespace {

// Counts the paint events of one widget and gathers what they painted.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *watched) { watched->installEventFilter(this); }
    int paints = 0;
    QRegion painted;

    void clear() {
        paints = 0;
        painted = QRegion();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            painted += static_cast<QPaintEvent *>(event)->region();
        }
        return false;
    }
};

// The user's answers, except that the questions dialogs answer (the sprite import's palette question,
// the palette picker) run out of memory.
class OutOfMemoryInDialogs final : public ForwardingPrompts {
public:
    using ForwardingPrompts::ForwardingPrompts;
    std::optional<QString> pickPalette(const QString &) override { throw std::bad_alloc(); }
    SpriteImportChoice importChoice() override { throw std::bad_alloc(); }
};

struct Runner : ::testing::Test {
    Runner() {
        makeEveryPage(window);
        SilentProgress progress;
        LineLog log;
        StyleDocument sample = makeSampleStyle();
        const QString path = writeStyle(sample, dir.path("sample.sty"), prompts, progress, log);
        window.setPrompts(&prompts);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.opensty(path);
        opened = window.document();
    }
    void showPage(const QString &tab) {
        for (int i = 0; i < window.mainPages()->count(); ++i)
            if (window.mainPages()->tabText(i) == tab)
                window.mainPages()->setCurrentIndex(i);
        ASSERT_EQ(window.mainPages()->tabText(window.mainPages()->currentIndex()), tab);
        QTest::qWait(50);
    }
    // Gives one pixel of the document another colour index.
    static void changePixel(QImage &store, QPoint at) {
        store.setPixel(at, (store.pixelIndex(at) + 1) % 256);
    }
    void changeTilePixel(int tile) {
        ASSERT_TRUE(window.runner().run(QStringLiteral("tile"), [tile](StyleDocument &doc) {
            changePixel(doc.TileStore, tileOrigin(tile) + QPoint(5, 7));
        }));
        QTest::qWait(50);
    }
    void changeSpritePixel(int sprite) {
        ASSERT_TRUE(window.runner().run(QStringLiteral("sprite"), [sprite](StyleDocument &doc) {
            const SpriteEntry &entry = doc.SpriteIndex[std::size_t(sprite)];
            changePixel(doc.SpriteStore,
                        QPoint(entry.x(), entry.page() * PageSide + entry.y()) + QPoint(1, 1));
        }));
        QTest::qWait(50);
    }
    void changeColour(int palette) {
        ASSERT_TRUE(window.runner().run(QStringLiteral("colour"), [palette](StyleDocument &doc) {
            doc.PhysicalPalettes[physicalColourOffset(palette, 9)] ^= 0x40;
        }));
        QTest::qWait(50);
    }
    void click(const QString &caption) {
        for (QPushButton *b : window.findChildren<QPushButton *>())
            if (b->text() == caption)
                return b->click();
        ADD_FAILURE() << "no button " << caption.toStdString();
    }
    // The window's part of a failed change: the document as it was, no step, the reason shown.
    void expectUnchanged(const QString &reason) {
        EXPECT_EQ(window.document(), opened);
        EXPECT_EQ(window.history().stack().count(), 0);
        EXPECT_FALSE(window.isWindowModified());
        ASSERT_FALSE(prompts.messages().isEmpty());
        EXPECT_TRUE(prompts.messages().last().contains(reason))
            << prompts.messages().join('\n').toStdString();
    }

    TestDir dir;
    ScriptedPrompts prompts;
    Twnd_editor window;
    StyleDocument opened;
};

TEST_F(Runner, AnOperationThatFailsPartWayLeavesTheDocumentAsItWas) {
    EXPECT_FALSE(window.runner().run(QStringLiteral("edit car"), [](StyleDocument &doc) {
        doc.CarInfoTable[0].num_doors = 3;
        doc.CarScript << QStringLiteral("half written");
        throw std::bad_alloc();
    }));
    expectUnchanged(QStringLiteral("There is not enough memory for this command."));
    // The next change starts from the document as it was.
    EXPECT_TRUE(window.runner().run(QStringLiteral("edit car"),
                                    [](StyleDocument &doc) { doc.CarInfoTable[0].num_doors = 3; }));
    EXPECT_EQ(window.history().stack().count(), 1);
    EXPECT_EQ(window.document().CarScript, opened.CarScript);
}

TEST_F(Runner, AFailedImportFromTheSpritesPageRecordsNothing) {
    prompts.queueText(dir.path("missing.bmp"));
    findCaptioned<QAction>(window.spritesPage(), QStringLiteral("import"))->trigger();
    expectUnchanged(QStringLiteral("missing.bmp"));

    // Running out of memory in the page's command is reported the same way, not left to unwind
    // through the event loop.
    prompts.queueText(dir.path("sprite.bmp"));
    findCaptioned<QAction>(window.spritesPage(), QStringLiteral("export"))->trigger();
    OutOfMemoryInDialogs failing(prompts);
    window.setPrompts(&failing);
    prompts.queueText(dir.path("sprite.bmp"));
    findCaptioned<QAction>(window.spritesPage(), QStringLiteral("import"))->trigger();
    expectUnchanged(QStringLiteral("There is not enough memory for this command."));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Runner, RunningOutOfMemoryInTheDialogOfACommandRecordsNothing) {
    QByteArray text = "JASC-PAL\r\n0100\r\n256\r\n";
    for (int c = 0; c < 256; ++c)
        text += "1 2 3\r\n";
    QFile file(dir.path("colours.pal"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    OutOfMemoryInDialogs failing(prompts);
    window.setPrompts(&failing);
    prompts.queueText(dir.path("colours.pal"));
    findCaptioned<QAction>(&window, QStringLiteral("Import .pal"))->trigger();
    expectUnchanged(QStringLiteral("There is not enough memory for this command."));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Runner, APaletteViewRedrawsOnlyForChangesOfPalettes) {
    QWidget *clut = window.mainPages()->findChild<QWidget *>(QStringLiteral("clut1"));
    ASSERT_NE(clut, nullptr);
    window.mainPages()->setCurrentWidget(window.mainPages()->widget(4));
    ASSERT_EQ(window.mainPages()->tabText(4), QStringLiteral("Palettes"));
    QTest::qWait(50);
    PaintCounter counter(clut);

    click(QStringLiteral("mirror all door locations"));
    QTest::qWait(50);
    ASSERT_NE(window.document().CarInfoTable, opened.CarInfoTable);
    EXPECT_EQ(counter.paints, 0);

    click(QStringLiteral("View unused palettes"));
    QTest::qWait(50);
    ASSERT_NE(window.document().PhysicalPalettes, opened.PhysicalPalettes);
    EXPECT_GT(counter.paints, 0);
}

TEST_F(Runner, TheTextureGridRedrawsOnlyTheCellsOfTheTilesAChangeTouched) {
    showPage(QStringLiteral("Textures"));
    auto *grid = window.findChild<TileGridView *>();
    ASSERT_NE(grid, nullptr);
    PaintCounter counter(grid->viewport());
    const auto cellsOf = [&](const std::vector<int> &tiles) {
        QRegion cells;
        for (const int tile : tiles)
            cells += grid->cellRect(cellOfTile(tile));
        return cells & grid->viewport()->rect();
    };

    // Sprites, and the colours of a palette no tile uses, are no business of the grid.
    changeSpritePixel(2);
    const int spritePalette = *spritePhysicalPalette(window.document(), 2);
    for (int tile = 0; tile < tileCount(window.document().TileStore); ++tile)
        ASSERT_NE(window.document().PaletteIndex[std::size_t(tile)], spritePalette);
    changeColour(spritePalette);
    EXPECT_EQ(counter.paints, 0);

    // One tile: its cell alone, also when the change is undone and redone.
    changeTilePixel(5);
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(counter.painted, cellsOf({5}));
    for (const char *verb : {"Undo", "Redo"}) {
        counter.clear();
        findCaptioned<QAction>(&window, QString::fromLatin1(verb) + QStringLiteral(" tile"))->trigger();
        QTest::qWait(50);
        EXPECT_EQ(counter.painted, cellsOf({5})) << verb;
    }

    // A tile pointed at the palette of another: its cell. Then that palette: the cells of every
    // tile drawn in it, which the palette index names.
    const quint16 palette = window.document().PaletteIndex[9];
    counter.clear();
    ASSERT_TRUE(window.runner().run(QStringLiteral("repoint"),
                                    [palette](StyleDocument &doc) { doc.PaletteIndex[6] = palette; }));
    QTest::qWait(50);
    EXPECT_EQ(counter.painted, cellsOf({6}));
    std::vector<int> coloured;
    for (int tile = 0; tile < tileCount(window.document().TileStore); ++tile)
        if (window.document().PaletteIndex[std::size_t(tile)] == palette)
            coloured.push_back(tile);
    ASSERT_GT(coloured.size(), 1u);
    counter.clear();
    changeColour(palette);
    EXPECT_EQ(counter.painted, cellsOf(coloured));
    // What the grid shows is what drawing the whole document afresh shows.
    EXPECT_EQ(grid->picture(), renderTileGrid(window.document()));
}

TEST_F(Runner, TheSpriteListRedrawsOnlyTheItemsOfTheSpritesAChangeTouched) {
    showPage(QStringLiteral("sprite list"));
    QListWidget *list = window.spriteListPage()->list();
    PaintCounter counter(list->viewport());
    const auto itemOf = [&](int sprite) {
        return QRegion(list->visualItemRect(list->item(sprite)));
    };
    list->setCurrentRow(4);
    QTest::qWait(50);
    counter.clear();

    changeTilePixel(5);
    changeColour(window.document().PaletteIndex[5]);
    EXPECT_EQ(counter.paints, 0);

    changeSpritePixel(2);
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(counter.painted, itemOf(2));
    counter.clear();
    // The item of a moved sprite says where it lies now; the selection stays.
    ASSERT_TRUE(
        window.runner().run(QStringLiteral("move"), [](StyleDocument &doc) { doc.SpriteIndex[3].ptr += 1; }));
    QTest::qWait(50);
    EXPECT_EQ(counter.painted, itemOf(3));
    EXPECT_EQ(list->currentRow(), 4);
    counter.clear();
    findCaptioned<QAction>(&window, QStringLiteral("Undo move"))->trigger();
    QTest::qWait(50);
    EXPECT_EQ(counter.painted, itemOf(3));
}

TEST_F(Runner, TheDeltasPageRedrawsOnlyForItsOwnSprite) {
    const int car = 3;
    window.spritesPage()->selectByNumber(car);
    findCaptioned<QAction>(window.spritesPage(), QStringLiteral("Deltas"))->trigger();
    QTest::qWait(50);
    QWidget *sheet = window.deltasPage()->findChild<QWidget *>(QStringLiteral("deltasheet"));
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->isVisible());
    PaintCounter counter(sheet);

    // A tile, another car's sprite and another car's deltas.
    changeTilePixel(5);
    changeSpritePixel(car + 1);
    const auto other = std::find_if(opened.DeltaIndex.begin(), opened.DeltaIndex.end(),
                                    [&](const DeltaIndexEntry &entry) { return entry.sprite != car; });
    ASSERT_NE(other, opened.DeltaIndex.end());
    const qint64 start = deltaEntryStart(opened, int(other - opened.DeltaIndex.begin()));
    ASSERT_TRUE(window.runner().run(QStringLiteral("delta"),
                                    [start](StyleDocument &doc) { doc.DeltaStore[start + 1] ^= 1; }));
    QTest::qWait(50);
    EXPECT_EQ(counter.paints, 0);

    changeSpritePixel(car);
    EXPECT_GT(counter.paints, 0);
}

} // namespace
