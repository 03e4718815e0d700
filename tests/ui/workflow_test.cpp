// The modder's whole round through the real main window: a car sprite out to a bitmap and back
// with every palette choice, the car editor, the deltas out and back, publishing, save as and
// reopening, with every other chunk of the file byte for byte as it was.

#include "ui/twnd_editor.h"

#include "cars/carrecords.h"
#include "cars/carscript.h"
#include "findcaptioned.h"
#include "graphics/deltasheet.h"
#include "graphics/deltaunit.h"
#include "graphics/spriteentries.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"
#include "support/tempdir.h"
#include "ui/careditordialog.h"
#include "ui/deltaspage.h"
#include "ui/spritelistpage.h"
#include "ui/spritespage.h"
#include "ui/spritestripview.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

namespace {

// A point of the strip where the sprite is the one a click selects.
QPoint pointOf(const StyleDocument &doc, int sprite) {
    const QRect rect = spriteRect(doc.SpriteIndex[std::size_t(sprite)]);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (spriteAtPoint(doc, {x, y}) == sprite)
                return {x, y};
    ADD_FAILURE() << "sprite " << sprite << " is covered everywhere";
    return {};
}

TEST(Workflow, ACarGoesOutAndComesBackWithOnlyItsOwnChunksChanged) {
    TestDir dir;
    ScriptedPrompts prompts;
    StyleDocument sample = makeSampleStyle();
    SilentProgress progress;
    LineLog log;
    ASSERT_TRUE(QDir().mkdir(dir.path("game")));
    const QString original = writeStyle(sample, dir.path("game/sample.sty"), prompts, progress, log);
    writeWholeFileAtomic(dir.path("game/nyc.gci"), carScriptBytes(makeSampleCarScript(sample)));
    const QByteArray originalBytes = readWholeFile(original);

    Twnd_editor window;
    window.setPrompts(&prompts);
    window.setFileOpener([](const QString &) { return true; });
    window.resize(1000, 700);
    window.show();
    window.opensty(original);
    SpritesPage *sprites = window.spritesPage();

    // Select the bus in the strip and export it.
    const int bus = 3;
    QTest::mouseClick(sprites->strip(), Qt::LeftButton, {}, pointOf(sample, bus));
    ASSERT_EQ(sprites->selectedSprite(), bus);
    prompts.queueText(dir.path("bus"));
    findCaptioned<QAction>(sprites, "export")->trigger();
    const QString exported = dir.path("bus.bmp");
    QImage painted = loadBitmap(exported).image;
    for (int x = 2; x < 12; ++x)
        painted.setPixel(x, 5, 200);
    saveBitmap8(dir.path("painted.bmp"), painted);

    // Every palette choice in turn: pixels only; over the current palette; into palette 100; back
    // to the sprite's own palette without importing; the palette hack into palette 101.
    const int own = *spritePhysicalPalette(sample, bus);
    const std::vector<std::pair<SpriteImportChoice, std::optional<QString>>> choices = {
        {SpriteImportChoice::PixelsOnly, std::nullopt},
        {SpriteImportChoice::ImportOverCurrent, std::nullopt},
        {SpriteImportChoice::ImportIntoChosen, "100"},
        {SpriteImportChoice::ChangePaletteOnly, QString::number(own)},
        {SpriteImportChoice::PaletteHack, "101"}};
    for (const auto &[choice, palette] : choices) {
        prompts.queueText(dir.path("painted.bmp"));
        prompts.queueChoice(choice);
        if (palette)
            prompts.queueText(*palette);
        findCaptioned<QAction>(sprites, "import")->trigger();
    }
    EXPECT_EQ(*spritePhysicalPalette(window.document(), bus), own);
    EXPECT_EQ(ClutToPal(window.document(), 100), painted.colorTable());
    EXPECT_EQ(ClutToPal(window.document(), 101), painted.colorTable());
    EXPECT_EQ(spriteGlyph(window.document(), bus).pixelIndex(7, 5), 200);

    // The car editor: one door more.
    const int car = carOfSprite(sample, bus);
    Twnd_caredit *editor = window.carEditor();
    QTimer::singleShot(0, editor, [&] {
        editor->findChild<QPushButton *>(QStringLiteral("btn_adddoor"))->click();
        editor->findChild<QPushButton *>(QStringLiteral("btn_ok"))->click();
    });
    findCaptioned<QAction>(sprites, "edit car")->trigger();
    EXPECT_EQ(window.document().CarInfoTable[std::size_t(car)].num_doors,
              sample.CarInfoTable[std::size_t(car)].num_doors + 1);

    // The deltas: drawn, exported, one cell painted, imported back.
    findCaptioned<QAction>(sprites, "Deltas")->trigger();
    DeltasPage *deltas = window.deltasPage();
    findCaptioned<QAction>(deltas, "Draw deltas")->trigger();
    prompts.queueText(dir.path("sheet"));
    findCaptioned<QAction>(deltas, "Export deltas")->trigger();
    QImage sheet = loadBitmap(dir.path("sheet.bmp")).image;
    const QSize size = spriteGlyph(window.document(), bus).size();
    const QPoint cell = deltaCellOrigin(size, 19);
    sheet.setPixel(cell + QPoint(1, 1), 201);
    saveBitmap8(dir.path("sheet.bmp"), sheet);
    prompts.queueText(dir.path("sheet.bmp"));
    findCaptioned<QAction>(deltas, "Import deltas")->trigger();
    const QImage drawn = renderDeltaSheet(window.document(), bus, DeltaView::Draw);
    EXPECT_EQ(drawn.pixelIndex(cell + QPoint(1, 1)), 201);

    // Publishing from the sprite list.
    SpriteListPage *list = window.spriteListPage();
    list->list()->setCurrentRow(bus);
    prompts.queueText(dir.path("bus-release"));
    findCaptioned<QAction>(list, "create zip and gif file of this car for publishing")->trigger();
    EXPECT_TRUE(QFile::exists(dir.path("bus-release.zip")));
    EXPECT_TRUE(QFile::exists(dir.path("bus-release.gif")));

    // Save as, reopen, and compare.
    const StyleDocument edited = window.document();
    prompts.queueText(dir.path("game/edited.sty"));
    findCaptioned<QAction>(&window, "save as")->trigger();
    EXPECT_FALSE(window.isModified());
    window.opensty(dir.path("game/edited.sty"));
    EXPECT_EQ(window.document().SpriteStore, edited.SpriteStore);
    EXPECT_EQ(window.document().PhysicalPalettes, edited.PhysicalPalettes);
    EXPECT_EQ(window.document().CarInfoTable, edited.CarInfoTable);
    EXPECT_EQ(window.document().DeltaStore, edited.DeltaStore);
    EXPECT_EQ(window.document().DeltaIndex, edited.DeltaIndex);

    const auto before = styleChunks(originalBytes);
    const auto after = styleChunks(readWholeFile(dir.path("game/edited.sty")));
    ASSERT_EQ(before.size(), after.size());
    const std::set<QByteArray> changed = {"PPAL", "SPRG", "CARI", "DELX", "DELS"};
    for (const auto &[tag, payload] : before) {
        SCOPED_TRACE(tag.toStdString());
        ASSERT_TRUE(after.count(tag));
        if (changed.count(tag))
            EXPECT_NE(after.at(tag), payload);
        else
            EXPECT_EQ(firstDifference(after.at(tag), payload), -1);
    }
    EXPECT_TRUE(prompts.allAnswersUsed());
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('\n').toStdString();
}

} // namespace
