#include "ui/twnd_editor.h"

#include "findcaptioned.h"
#include "graphics/tilegrid.h"
#include "opensample.h"
#include "sample/samplestyle.h"
#include "ui/deltaspage.h"
#include "ui/spritelistpage.h"
#include "ui/spritespage.h"
#include "ui/texturespage.h"
#include "ui/tilegridview.h"
#include "widgets/textrefresh.h"

#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

struct WindowPages : ::testing::Test {
    WindowPages() {
        window.setFileOpener([](const QString &) { return true; });
        window.setPrompts(&prompts);
        window.resize(900, 600);
        window.show();
        for (QTabWidget *tabs : window.findChildren<QTabWidget *>())
            if (tabs != window.mainPages())
                side = tabs;
    }

    void showTab(QTabWidget *tabs, const QString &tab) {
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == tab)
                tabs->setCurrentIndex(i);
    }

    TestDir dir;
    ScriptedPrompts prompts;
    Twnd_editor window;
    QTabWidget *side = nullptr;
};

TEST_F(WindowPages, EachPageIsMadeWhenFirstShownAndShowsTheDocumentAsItIsThen) {
    // A page shown before a style is open offers none of its commands, and the load fills it.
    showTab(window.mainPages(), "Textures");
    ASSERT_EQ(window.findChildren<TileGridView *>().size(), 1);
    EXPECT_FALSE(findCaptioned<QAction>(window.mainPages(), "import")->isEnabled());
    const StyleDocument opened = makeSampleStyle();
    showAndOpen(window, prompts, dir, opened);
    EXPECT_TRUE(findCaptioned<QAction>(window.mainPages(), "import")->isEnabled());
    EXPECT_EQ(window.findChild<TileGridView *>()->picture(), renderTileGrid(window.document()));

    // The load shows the Sprites page: the pages not shown yet were not made.
    ASSERT_EQ(window.mainPages()->tabText(window.mainPages()->currentIndex()), "Sprites");
    EXPECT_EQ(window.mainPages()->findChild<QWidget *>("clut1"), nullptr);
    EXPECT_EQ(window.findChild<QPlainTextEdit *>("gcitext"), nullptr);
    EXPECT_EQ(window.findChild<QListWidget *>("rawSurfaces"), nullptr);
    EXPECT_EQ(window.findChild<SpriteListPage *>(), nullptr);
    EXPECT_EQ(window.findChild<DeltasPage *>(), nullptr);
    EXPECT_EQ(window.findChild<QListWidget *>("palindex"), nullptr);

    // A change made while they are not shown: the pages made afterwards show it.
    showTab(side, "pal index");
    auto *palindex = window.findChild<QListWidget *>("palindex");
    ASSERT_NE(palindex, nullptr);
    EXPECT_TRUE(palindex->isVisible());
    EXPECT_EQ(palindex->count(), window.document().PaletteIndexCount());
    findCaptioned<QPushButton>(side, "View unused palettes")->click();
    ASSERT_NE(window.document().PhysicalPalettes, opened.PhysicalPalettes);
    showTab(window.mainPages(), "Palettes");
    QWidget *clut = window.mainPages()->findChild<QWidget *>("clut1");
    ASSERT_NE(clut, nullptr);
    EXPECT_TRUE(clut->isVisible());
    EXPECT_EQ(clut->size(), window.clut1().size());
    EXPECT_TRUE(findCaptioned<QAction>(window.mainPages(), ">>")->isEnabled());

    // The text pages start without steps of their own to undo.
    showTab(window.mainPages(), "GCI raw editor");
    auto *script = window.findChild<QPlainTextEdit *>("gcitext");
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(viewLines(script), window.document().CarScript);
    EXPECT_FALSE(script->document()->isUndoAvailable());
    showTab(window.mainPages(), "Surfaces");
    auto *column = window.findChild<QPlainTextEdit *>("spec1");
    ASSERT_NE(column, nullptr);
    EXPECT_TRUE(column->isVisible());
    EXPECT_EQ(viewLines(column), window.document().SurfaceColumns[0]);
    EXPECT_FALSE(column->document()->isUndoAvailable());

    // Asking the window for a page makes it without showing it; a page is made once.
    SpriteListPage *list = window.spriteListPage();
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->list()->count(), window.document().spriteCount());
    showTab(window.mainPages(), "sprite list");
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(window.findChildren<SpriteListPage *>().size(), 1);
    EXPECT_EQ(window.findChildren<TileGridView *>().size(), 1);
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(WindowPages, APageMadeWhileThePaintProgramEditsCanEndTheEdit) {
    showAndOpen(window, prompts, dir, makeSampleStyle());
    findCaptioned<QAction>(window.spritesPage(), "edit in paint program")->trigger();
    ASSERT_TRUE(findCaptioned<QAction>(window.spritesPage(), "stop editing")->isEnabled());
    showTab(window.mainPages(), "Textures");
    QAction *stop = findCaptioned<QAction>(window.texturesPage(), "stop editing");
    ASSERT_TRUE(stop->isEnabled());
    stop->trigger();
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_FALSE(findCaptioned<QAction>(window.spritesPage(), "stop editing")->isEnabled());
    EXPECT_TRUE(prompts.messages().isEmpty());
}

} // namespace
