// Runs under a real X server (xvfb-run): the window with the sample open on the "Palettes" page is
// grabbed from the screen as the user would see it, saved as a PNG, and the palette picture in it
// is checked against the sample's colours.

#include "deltaspage.h"
#include "editorapplication.h"
#include "palettelookup.h"
#include "samplestyle.h"
#include "scriptedprompts.h"
#include "spriteentries.h"
#include "spritespage.h"
#include "spritestripview.h"
#include "stylewriter.h"
#include "tempdir.h"
#include "tvyr_sprite.h"
#include "twnd_editor.h"

#include "log.h"
#include "progress.h"

#include <QAction>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The sample style opened in a window shown on the screen.
struct Screenshot : ::testing::Test {
    void SetUp() override {
        SilentProgress progress;
        LineLog log;
        const QString path = writeStyle(sample, dir.path("sample.sty"), prompts, progress, log);
        window.setPrompts(&prompts);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.opensty(path);
    }

    TestDir dir;
    ScriptedPrompts prompts;
    StyleDocument sample = makeSampleStyle();
    Twnd_editor window;
};

TEST_F(Screenshot, ThePalettesPageShowsTheSampleColours) {
    QTabWidget *pages = window.mainPages();
    for (int i = 0; i < pages->count(); ++i)
        if (pages->tabText(i) == QStringLiteral("Palettes"))
            pages->setCurrentIndex(i);
    QTest::qWait(200);

    const QImage shot = window.screen()->grabWindow(0).toImage();
    shot.save(QStringLiteral("palettes-page.png"));
    const auto *clut = window.mainPages()->findChild<QWidget *>(QStringLiteral("clut1"));
    ASSERT_NE(clut, nullptr);
    const QPoint origin = clut->mapToGlobal(QPoint(0, 0)) - window.screen()->geometry().topLeft();
    int checked = 0;
    for (const QPoint p : {QPoint(0, 0), QPoint(3, 17), QPoint(40, 90), QPoint(100, 120), QPoint(127, 60)}) {
        if (!clut->rect().contains(p) || p.x() >= sample.PhysicalPaletteCount)
            continue;
        const QRgb expected = toRgb(directclutacces(sample, p.x(), p.y(), false));
        EXPECT_EQ(shot.pixel(origin + p) & 0xffffff, expected & 0xffffff) << p.x() << "," << p.y();
        ++checked;
    }
    EXPECT_GE(checked, 4);
}

TEST_F(Screenshot, TheSpritesPageShowsTheStripWithTheSelectedSprite) {
    window.spritesPage()->selectByNumber(12);
    QTest::qWait(200);

    const QImage shot = window.screen()->grabWindow(0).toImage();
    shot.save(QStringLiteral("sprites-page.png"));
    const QWidget *strip = window.spritesPage()->strip();
    const QPoint origin = strip->mapToGlobal(QPoint(0, 0)) - window.screen()->geometry().topLeft();
    int checked = 0;
    for (int sprite = 0; sprite < sample.spriteCount(); sprite += 7) {
        const QPoint p = spriteRect(sample.SpriteIndex[std::size_t(sprite)]).center();
        const QPoint onScreen = origin + p;
        if (spriteAtPoint(sample, p) != sprite || !shot.rect().contains(onScreen) ||
            !strip->visibleRegion().contains(p) ||
            window.spritesPage()->activesprite()->geometry().contains(p))
            continue;
        const SpriteEntry &e = sample.SpriteIndex[std::size_t(sprite)];
        const int index = sample.SpriteStore.pixelIndex(p.x() % 256, e.page() * 256 + p.y());
        EXPECT_EQ(shot.pixel(onScreen) & 0xffffff, spriteColours(sample, sprite)[index] & 0xffffff) << sprite;
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

TEST_F(Screenshot, TheDeltasPageShowsTheSheetOfTheSelectedCar) {
    const int bus = 3;
    window.spritesPage()->selectByNumber(bus);
    for (QAction *action : window.spritesPage()->findChildren<QAction *>())
        if (action->text() == QStringLiteral("Deltas"))
            action->trigger();
    QTest::qWait(200);
    const QImage shot = window.screen()->grabWindow(0).toImage();
    shot.save(QStringLiteral("deltas-page.png"));
    const QWidget *view = window.deltasPage()->findChild<QWidget *>(QStringLiteral("deltasheet"));
    ASSERT_NE(view, nullptr);
    const QImage sheet = window.deltasPage()->sheet();
    const QPoint origin = view->mapToGlobal(QPoint(0, 0)) - window.screen()->geometry().topLeft();
    int checked = 0;
    for (const QPoint p :
         {QPoint(5, 5), QPoint(20, 40), QPoint(60, 90), QPoint(100, 30), QPoint(45, 1), QPoint(46, 150)}) {
        if (!view->visibleRegion().contains(p) || !sheet.rect().contains(p))
            continue;
        EXPECT_EQ(shot.pixel(origin + p) & 0xffffff, sheet.pixel(p) & 0xffffff) << p.x() << "," << p.y();
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

} // namespace

int main(int argc, char **argv) {
    EditorApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
