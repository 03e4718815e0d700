#include "ui/twnd_editor.h"

#include "cars/pedremap.h"
#include "everypage.h"
#include "findcaptioned.h"
#include "graphics/spritepages.h"
#include "graphics/tilegrid.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "ui/careditordialog.h"
#include "ui/pedremapview.h"
#include "ui/selectedsprite.h"
#include "ui/spritespage.h"
#include "ui/tilegridview.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

struct Undo : ::testing::Test {
    Undo() {
        makeEveryPage(window);
        StyleDocument sample = makeSampleStyle();
        SilentProgress progress;
        LineLog log;
        samplePath = writeStyle(sample, dir.path("sample.sty"), prompts, progress, log);
        window.setPrompts(&prompts);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        window.opensty(samplePath);
        opened = window.document();
    }

    QAction *action(const QString &caption, QWidget *on = nullptr) {
        return findCaptioned<QAction>(on ? on : &window, caption);
    }
    QWidget *page(const QString &tab) {
        for (int i = 0; i < window.mainPages()->count(); ++i)
            if (window.mainPages()->tabText(i) == tab)
                return window.mainPages()->widget(i);
        return nullptr;
    }
    void click(const QString &caption) {
        for (QPushButton *b : window.findChildren<QPushButton *>())
            if (b->text() == caption)
                return b->click();
        ADD_FAILURE() << "no button " << caption.toStdString();
    }
    // The standard keys, pressed on the window once it is active again after any dialog, with the
    // focus outside the text fields (which keep their own undo).
    void press(QKeyCombination key) {
        // A dialog closed at once can still be the active window of the offscreen platform.
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.mainPages()->setFocus();
        QTest::keyClick(window.mainPages(), key.key(), key.keyboardModifiers());
    }
    void pressUndo() { press(Qt::CTRL | Qt::Key_Z); }
    void pressRedo() { press(Qt::CTRL | Qt::Key_Y); }
    QByteArray savedBytes(const QString &name) {
        prompts.queueText(dir.path(name));
        action("save as")->trigger();
        return readWholeFile(dir.path(name));
    }

    TestDir dir;
    ScriptedPrompts prompts;
    QString samplePath;
    Twnd_editor window;
    StyleDocument opened;
};

TEST_F(Undo, ThreeEditsUndoneThreeTimesSaveTheFileAsItWasOpened) {
    // The grid and the strip redraw only what a step changed; they must still show what drawing the
    // whole document afresh shows.
    const auto viewsShowTheDocument = [&](int step) {
        EXPECT_EQ(window.findChild<TileGridView *>()->picture(), renderTileGrid(window.document())) << step;
        EXPECT_EQ(window.spritesPage()->overlay(), buildSpriteOverlay(window.document(), false)) << step;
    };
    // Import a changed tile.
    window.findChild<TileGridView *>()->setCurrentCell(3, 1);
    prompts.queueText(dir.path("tile"));
    action("export", page("Textures"))->trigger();
    QImage tile = loadBitmap(dir.path("tile.bmp")).image;
    // Below the surface label, in a colour other than the pixel's, so that the grid shows it.
    int painted = (tile.pixelIndex(40, 50) + 7) % 256;
    while (tile.color(painted) == tile.color(tile.pixelIndex(40, 50)))
        painted = (painted + 1) % 256;
    tile.setPixel(40, 50, painted);
    saveBitmap8(dir.path("tile.bmp"), tile);
    prompts.queueText(dir.path("tile.bmp"));
    prompts.queue(Answer::Cancel);
    action("import", page("Textures"))->trigger();
    EXPECT_NE(window.document().TileStore, opened.TileStore);
    EXPECT_NE(window.findChild<TileGridView *>()->picture(), renderTileGrid(opened));
    viewsShowTheDocument(-1);
    EXPECT_TRUE(window.isWindowModified());

    prompts.queue(Answer::Yes);
    action(">>")->trigger();
    EXPECT_EQ(window.document().PhysicalPaletteCount, opened.PhysicalPaletteCount + 64);

    window.spritesPage()->selectByNumber(3);
    Twnd_caredit *editor = window.carEditor();
    QTimer::singleShot(0, editor, [&] {
        editor->findChild<QPushButton *>(QStringLiteral("btn_adddoor"))->click();
        editor->findChild<QPushButton *>(QStringLiteral("btn_ok"))->click();
    });
    action("edit car")->trigger();
    EXPECT_NE(window.document().CarInfoTable, opened.CarInfoTable);
    EXPECT_EQ(window.history().stack().count(), 3);
    EXPECT_NE(action("Undo edit car"), nullptr);

    for (int k = 0; k < 3; ++k) {
        pressUndo();
        viewsShowTheDocument(k);
    }
    EXPECT_EQ(window.document(), opened);
    EXPECT_FALSE(window.isModified());
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(savedBytes("undone.sty"), readWholeFile(samplePath));

    // Redo brings the three back, and every view follows.
    for (int k = 0; k < 3; ++k) {
        pressRedo();
        viewsShowTheDocument(k);
    }
    EXPECT_EQ(window.document().PhysicalPaletteCount, opened.PhysicalPaletteCount + 64);
    EXPECT_EQ(window.clut1().width(), opened.PhysicalPaletteCount + 64);
    EXPECT_TRUE(window.isModified());
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Undo, AnOpenedPedPictureKeepsItsColoursUntilTheRemapNumberChanges) {
    QImage walker(6, 4, QImage::Format_Indexed8);
    walker.setColorTable(QList<QRgb>(256, qRgb(10, 200, 30)));
    walker.fill(9);
    saveBitmap8(dir.path("walker.bmp"), walker);
    auto *ped = window.findChild<PedRemapView *>();
    prompts.queueText(dir.path("walker.bmp"));
    window.findChild<QPushButton *>(QStringLiteral("btn_pedopen"))->click();
    ASSERT_EQ(ped->picture().colorTable(), walker.colorTable());

    click("transparency black");
    EXPECT_EQ(ped->picture().colorTable(), walker.colorTable()) << "a command";
    pressUndo();
    EXPECT_EQ(ped->picture().colorTable(), walker.colorTable()) << "undo";
    savedBytes("saved.sty");
    EXPECT_EQ(ped->picture().colorTable(), walker.colorTable()) << "save";

    window.findChild<QSpinBox *>(QStringLiteral("pedremap"))->setValue(1);
    const QList<QRgb> remapped = ped->picture().colorTable();
    EXPECT_EQ(remapped, ClutToPal(opened, *pedRemapPalette(opened, 1)));
    // From now on the picture shows the remap, and follows the palettes.
    click("transparency black");
    EXPECT_EQ(qRgb(0, 0, 0), ped->picture().color(0));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Undo, EachCommandUndoesToItsStartAndRedoesToItsEnd) {
    const std::vector<std::pair<const char *, std::function<void()>>> commands = {
        {"remove palettes",
         [&] {
             // Once for the count, once for the sprites that then show black.
             prompts.queue(Answer::Yes);
             prompts.queue(Answer::Yes);
             action("<<")->trigger();
         }},
        {"View unused palettes",
         [&] {
             click("View unused palettes");
         }},
        {"add tile page",
         [&] {
             prompts.queue(Answer::Yes);
             action("add page", page("Textures"))->trigger();
         }},
        {"remove sprite page",
         [&] {
             prompts.queue(Answer::Yes);
             action("remove page", page("Sprites"))->trigger();
         }},
        {"mirror all door locations",
         [&] {
             click("mirror all door locations");
         }},
        {"edit sprite 4",
         [&] {
             window.spritesPage()->selectByNumber(4);
             auto *x = window.spritesPage()->findChild<QLineEdit *>(QStringLiteral("spritex"));
             x->selectAll();
             QTest::keyClicks(x, "123");
         }},
        {"move sprite 4",
         [&] {
             window.spritesPage()->selectByNumber(4);
             TVyr_sprite *control = window.spritesPage()->activesprite();
             QTest::mousePress(control, Qt::RightButton, {}, QPoint(1, 1));
             QTest::mouseMove(control, QPoint(31, 11));
             QTest::mouseRelease(control, Qt::RightButton, {}, QPoint(31, 11));
         }},
    };
    for (const auto &[name, run] : commands) {
        SCOPED_TRACE(name);
        const StyleDocument before = window.document();
        const QImage clutBefore = window.clut1();
        run();
        const StyleDocument after = window.document();
        ASSERT_NE(after, before);
        EXPECT_EQ(window.history().stack().undoText(), name);
        pressUndo();
        EXPECT_EQ(window.document(), before);
        EXPECT_EQ(window.clut1(), clutBefore);
        pressRedo();
        EXPECT_EQ(window.document(), after);
        pressUndo();
    }
    EXPECT_EQ(window.document(), opened);
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Undo, TypingANumberIsOneStepAndSelectingIsNone) {
    window.spritesPage()->selectByNumber(6);
    window.spritesPage()->selectByNumber(2);
    EXPECT_EQ(window.history().stack().count(), 0);
    auto *width = window.spritesPage()->findChild<QLineEdit *>(QStringLiteral("spritewidth"));
    width->selectAll();
    QTest::keyClicks(width, "17");
    EXPECT_EQ(window.history().stack().count(), 1);
    pressUndo();
    EXPECT_EQ(window.document(), opened);
    // The field shows the restored entry.
    EXPECT_EQ(width->text(), QString::number(opened.SpriteIndex[2].w));
}

TEST_F(Undo, TheSavedStateIsCleanWhereverUndoAndRedoLeadBack) {
    click("mirror all door locations");
    savedBytes("mirrored.sty");
    EXPECT_FALSE(window.isModified());
    pressUndo();
    EXPECT_TRUE(window.isModified());
    EXPECT_TRUE(window.isWindowModified());
    pressRedo();
    EXPECT_FALSE(window.isModified());
    // A new file starts a new history.
    window.opensty(samplePath);
    EXPECT_EQ(window.history().stack().count(), 0);
    EXPECT_FALSE(window.isModified());
}

TEST_F(Undo, ARangeImportStoppedByAnErrorKeepsWhatItImportedAsOneStep) {
    ASSERT_TRUE(QDir().mkdir(dir.path("range")));
    prompts.queueText(dir.path("range"));
    window.findChild<QSpinBox *>(QStringLiteral("rangestart"))->setValue(1);
    window.findChild<QSpinBox *>(QStringLiteral("rangeend"))->setValue(2);
    click("Export");
    QImage first = loadBitmap(dir.path("range/VYR2_CAR_1.bmp")).image;
    first.setPixel(0, 0, (first.pixelIndex(0, 0) + 1) % 256);
    saveBitmap8(dir.path("range/VYR2_CAR_1.bmp"), first);
    prompts.queueText(dir.path("range/VYR2_CAR_1.bmp"));
    prompts.queueChoice(SpriteImportChoice::PixelsOnly);
    prompts.queueText(dir.path("range/missing.bmp"));
    click("Import");
    // The missing file is reported; what was imported before it stays.
    EXPECT_TRUE(prompts.messages().last().contains("missing.bmp"))
        << prompts.messages().join('\n').toStdString();
    EXPECT_NE(window.document().SpriteStore, opened.SpriteStore);
    EXPECT_EQ(window.history().stack().undoText(), "import sprites 1 to 2");
    pressUndo();
    EXPECT_EQ(window.document(), opened);
    EXPECT_TRUE(prompts.allAnswersUsed());
}

} // namespace
