#include "ui/twnd_editor.h"

#include "cars/carrecords.h"
#include "everypage.h"
#include "findcaptioned.h"
#include "graphics/deltaunit.h"
#include "graphics/spriteentries.h"
#include "graphics/spriteoperations.h"
#include "graphics/spritepages.h"
#include "opensample.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/paintprograms.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"
#include "support/tempdir.h"
#include "ui/deltaspage.h"
#include "ui/selectedsprite.h"
#include "ui/spritelistpage.h"
#include "ui/spritespage.h"
#include "ui/spritestripview.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct SpritesWindow : ::testing::Test {
    SpritesWindow() {
        makeEveryPage(window);
        showAndOpen(window, prompts, dir, makeSampleStyle());
        page = window.spritesPage();
        opened = window.document();
    }

    QAction *pageAction(QWidget *on, const QString &caption) { return findCaptioned<QAction>(on, caption); }
    QLineEdit *field(const char *name) { return page->findChild<QLineEdit *>(QString::fromLatin1(name)); }
    QPushButton *toolButton(const QString &caption, const QString &group = QString()) {
        for (QPushButton *b : window.findChildren<QPushButton *>())
            if (b->text() == caption && (group.isEmpty() || b->parentWidget()->objectName() == group ||
                                         b->parentWidget()->property("title").toString() == group))
                return b;
        ADD_FAILURE() << "no button " << caption.toStdString();
        return nullptr;
    }
    QStringList info() {
        return window.findChild<QPlainTextEdit *>(QStringLiteral("info"))->toPlainText().split('\n');
    }
    const SpriteEntry &entry(int sprite) { return window.document().SpriteIndex[std::size_t(sprite)]; }
    // A point of the sprite that the selected sprite's control does not cover.
    QPoint insideOf(int sprite) { return spriteRect(entry(sprite)).center(); }

    TestDir dir;
    ScriptedPrompts prompts;
    Twnd_editor window;
    SpritesPage *page = nullptr;
    StyleDocument opened;
};

TEST_F(SpritesWindow, LoadingSelectsSpriteZeroAndAClickSelectsTheSpriteUnderIt) {
    EXPECT_EQ(page->selectedSprite(), 0);
    // A car sprite's lines end with its car's script name.
    EXPECT_EQ(info(), spriteInfo(opened, 0) << scriptCarNameLine(opened, 0));
    EXPECT_EQ(info().first(), "CAR");
    EXPECT_EQ(page->activesprite()->geometry(), spriteRect(entry(0)));

    const int target = opened.SpriteBases[SprCar] + 2; // a ped
    QTest::mouseClick(page->strip(), Qt::LeftButton, {}, insideOf(target));
    EXPECT_EQ(page->selectedSprite(), target);
    EXPECT_EQ(info(), spriteInfo(opened, target));
    EXPECT_EQ(window.findChild<QSpinBox *>(QStringLiteral("spriteselector"))->value(), target);
    EXPECT_EQ(field("spritex")->text(), QString::number(entry(target).x()));
    EXPECT_EQ(field("spriteheight")->text(), QString::number(entry(target).h));
    EXPECT_EQ(page->activesprite()->Glyph().size(), QSize(entry(target).w, entry(target).h));
    EXPECT_EQ(page->activesprite()->Glyph().colorTable(), spriteColours(opened, target));
    // Selecting and viewing change nothing.
    EXPECT_FALSE(window.isModified());
    EXPECT_EQ(window.document(), opened);

    QTest::mouseMove(page->strip(), QPoint(256 + 17, 40));
    EXPECT_EQ(page->findChild<QLabel *>(QStringLiteral("readout"))->text(), "X: 17, Y: 40, P: 1");

    // "select it" on the tool tab selects by number.
    window.findChild<QSpinBox *>(QStringLiteral("spriteselector"))->setValue(7);
    toolButton("select it")->click();
    EXPECT_EQ(page->selectedSprite(), 7);
}

TEST_F(SpritesWindow, StripShowsEverySpriteInItsPaletteAndBordersOnRequest) {
    const QImage strip = page->strip()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(strip.size(), QSize(opened.SpriteStore.height(), 256));
    int checked = 0;
    for (const int sprite : {3, 12, 40, 72}) {
        const QPoint p = spriteRect(entry(sprite)).center();
        // The highest-numbered sprite there is the one painted last.
        const int shown = spriteAtPoint(opened, p).value_or(-1);
        if (page->activesprite()->geometry().contains(p) || shown < 0)
            continue;
        const SpriteEntry &e = entry(shown);
        const int index = opened.SpriteStore.pixelIndex(p.x() % 256, e.page() * 256 + p.y());
        EXPECT_EQ(strip.pixel(p), spriteColours(opened, shown)[index]) << sprite;
        ++checked;
    }
    EXPECT_GE(checked, 3);
    page->findChild<QCheckBox *>(QStringLiteral("cb_noborder"))->setChecked(false);
    pageAction(page, "redraw overlay")->trigger();
    EXPECT_EQ(pageAction(page, "redraw overlay")->text(), "redraw overlay");
    EXPECT_EQ(page->overlay().pixel(spriteRect(entry(40)).topLeft()), SpriteOutlineColour);
}

TEST_F(SpritesWindow, FieldsClampAndReaimTheEntry) {
    const int sprite = 5;
    page->selectByNumber(sprite);
    field("spritex")->selectAll();
    QTest::keyClicks(field("spritex"), "300");
    EXPECT_EQ(field("spritex")->text(), "251");
    EXPECT_EQ(entry(sprite).x(), 251);
    EXPECT_EQ(page->activesprite()->x(), 256 * entry(sprite).page() + 251);
    field("spritewidth")->selectAll();
    QTest::keyClicks(field("spritewidth"), "1");
    EXPECT_EQ(field("spritewidth")->text(), "2");
    EXPECT_EQ(entry(sprite).w, 2);
    const SpriteEntry before = entry(sprite);
    field("spritey")->clear();
    EXPECT_EQ(entry(sprite), before);
    EXPECT_TRUE(window.isModified());
    // Pixels never move.
    EXPECT_EQ(window.document().SpriteStore, opened.SpriteStore);
}

TEST_F(SpritesWindow, RightButtonDragReaimsTheEntryAtTheDropPoint) {
    const int sprite = 2;
    page->selectByNumber(sprite);
    TVyr_sprite *control = page->activesprite();
    const SpriteEntry before = entry(sprite);
    const QPoint grip(1, 1);
    QTest::mousePress(control, Qt::RightButton, {}, grip);
    QTest::mouseMove(control, grip + QPoint(300, 7));
    QTest::mouseRelease(control, Qt::RightButton, {}, grip + QPoint(300, 7));
    const int left = 256 * before.page() + before.x() + 300;
    EXPECT_EQ(entry(sprite).page(), left / 256);
    EXPECT_EQ(entry(sprite).x(), left % 256);
    EXPECT_EQ(entry(sprite).y(), before.y() + 7);
    EXPECT_EQ(field("spritepage")->text(), QString::number(left / 256));
    EXPECT_EQ(field("spritex")->text(), QString::number(left % 256));
    EXPECT_EQ(control->pos(), QPoint(left, before.y() + 7));
    EXPECT_EQ(entry(sprite).w, before.w);
    EXPECT_TRUE(window.isModified());
}

TEST_F(SpritesWindow, ExportAndImportThroughTheDialogsOutlineTheSprite) {
    const int sprite = 20;
    page->selectByNumber(sprite);
    prompts.queueText(dir.path("out"));
    pageAction(page, "export")->trigger();
    EXPECT_EQ(prompts.presets().last(), SpriteFileName(opened, sprite));

    QImage edited = loadBitmap(dir.path("out.bmp")).image;
    edited.setPixel(0, 0, (edited.pixelIndex(0, 0) + 1) % 256);
    saveBitmap8(dir.path("edited.bmp"), edited);
    prompts.queueText(dir.path("edited.bmp"));
    prompts.queueChoice(SpriteImportChoice::PixelsOnly);
    pageAction(page, "import")->trigger();
    EXPECT_TRUE(prompts.allAnswersUsed());
    const SpriteEntry &e = entry(sprite);
    EXPECT_EQ(window.document().SpriteStore.pixelIndex(e.x(), e.page() * 256 + e.y()),
              edited.pixelIndex(0, 0));
    EXPECT_EQ(window.document().PhysicalPalettes, opened.PhysicalPalettes);
    // Outlined although "No border" is ticked.
    EXPECT_TRUE(page->findChild<QCheckBox *>(QStringLiteral("cb_noborder"))->isChecked());
    EXPECT_EQ(page->overlay().pixel(spriteRect(e).topLeft()), SpriteOutlineColour);
    EXPECT_TRUE(window.isModified());
}

// GIMP numbers the colours its own way; one pixel is painted in a colour the palette lacks.
TEST_F(SpritesWindow, PixelsOnlyImportShowsThePaintedColoursAndAsksAboutMissingOnes) {
    const int sprite = 20;
    page->selectByNumber(sprite);
    prompts.queueText(dir.path("out"));
    pageAction(page, "export")->trigger();
    QImage painted = loadBitmap(dir.path("out.bmp")).image.convertToFormat(QImage::Format_RGB32);
    const QList<QRgb> palette = spriteColours(opened, sprite);
    QRgb foreign = qRgb(1, 2, 3);
    while (palette.contains(foreign))
        foreign += 0x010101;
    painted.setPixel(0, 0, foreign);
    writeWholeFileAtomic(dir.path("gimp.bmp"), paintProgramBitmap(painted, PaintProgram::Gimp));

    for (const MissingColoursAnswer answer : {MissingColoursAnswer::Cancel, MissingColoursAnswer::Nearest}) {
        prompts.queueText(dir.path("gimp.bmp"));
        prompts.queueChoice(SpriteImportChoice::PixelsOnly);
        prompts.queueColours(answer);
        pageAction(page, "import")->trigger();
        EXPECT_TRUE(prompts.allAnswersUsed());
        EXPECT_EQ(
            prompts.shown().last(),
            QStringLiteral("1 colour (1 pixel) that \"%1\" uses is not in palette %2, which shows sprite %3.")
                .arg(dir.path("gimp.bmp"))
                .arg(*spritePhysicalPalette(opened, sprite))
                .arg(sprite));
        EXPECT_EQ(window.isModified(), answer == MissingColoursAnswer::Nearest);
    }
    const QImage glyph = spriteGlyph(window.document(), sprite);
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if (x != 0 || y != 0) {
                EXPECT_EQ(glyph.pixel(x, y), painted.pixel(x, y)) << x << "," << y;
            }
    EXPECT_TRUE(
        window.findChild<QPlainTextEdit *>(QStringLiteral("log"))
            ->toPlainText()
            .contains(QStringLiteral("sprite %1: 1 pixel of 1 colour missing from palette").arg(sprite)));
}

TEST_F(SpritesWindow, PagesAndRawStoreFollowTheirButtons) {
    prompts.queue(Answer::Yes);
    pageAction(page, "add page")->trigger();
    EXPECT_EQ(window.document().spritePageCount(), opened.spritePageCount() + 1);
    EXPECT_EQ(page->overlay().width(), window.document().SpriteStore.height());

    // The raw store saved again by ImageMagick, which keeps only the used colours, sorted: the
    // import brings every pixel back to the grey level the export gave its index.
    page->selectByNumber(5);
    prompts.queueText(dir.path("raw.bmp"));
    toolButton("export raw", " Sprites ")->click();
    const QImage exported = loadBitmap(dir.path("raw.bmp")).image;
    EXPECT_EQ(exported.height(), window.document().SpriteStore.height());
    writeWholeFileAtomic(dir.path("magick.bmp"), paintProgramBitmap(exported, PaintProgram::ImageMagick));
    const QImage store = window.document().SpriteStore;
    prompts.queue(Answer::Yes);
    pageAction(page, "remove page")->trigger();
    prompts.queueText(dir.path("magick.bmp"));
    toolButton("import raw", " Sprites ")->click();
    EXPECT_EQ(window.document().spritePageCount(), opened.spritePageCount() + 1);
    for (int y = 0; y < store.height(); ++y)
        ASSERT_EQ(
            QByteArray(reinterpret_cast<const char *>(window.document().SpriteStore.constScanLine(y)), 256),
            QByteArray(reinterpret_cast<const char *>(store.constScanLine(y)), 256))
            << y;
    EXPECT_EQ(page->overlay().width(), window.document().SpriteStore.height());
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(SpritesWindow, RangeExportSelectsEachSpriteAndWritesItsFile) {
    auto *start = window.findChild<QSpinBox *>(QStringLiteral("rangestart"));
    auto *end = window.findChild<QSpinBox *>(QStringLiteral("rangeend"));
    EXPECT_EQ(start->maximum(), opened.spriteCount() - 1);
    end->setValue(3);
    start->setValue(5);
    EXPECT_EQ(end->value(), 5);
    end->setValue(7);
    prompts.queueText(dir.path(""));
    toolButton("Export", "Range of sprites")->click();
    EXPECT_EQ(page->selectedSprite(), 7);
    for (int sprite = 5; sprite <= 7; ++sprite)
        EXPECT_TRUE(QFile::exists(dir.path(SpriteFileName(opened, sprite)))) << sprite;

    // Sprite 6 moved to x 251 reaches past its page: the range skips it and says so in the log,
    // and its own export says why it cannot.
    page->selectByNumber(6);
    field("spritex")->selectAll();
    QTest::keyClicks(field("spritex"), "300");
    ASSERT_FALSE(spriteOnItsPage(window.document(), entry(6)));
    ASSERT_TRUE(QDir().mkdir(dir.path("again")));
    prompts.queueText(dir.path("again"));
    toolButton("Export", "Range of sprites")->click();
    EXPECT_EQ(QDir(dir.path("again")).entryList(QDir::Files),
              (QStringList{SpriteFileName(opened, 5), SpriteFileName(opened, 7)}));
    // "as PNG" writes the same names with the PNG extension, as palette PNGs.
    window.findChild<QCheckBox *>(QStringLiteral("rangepng"))->setChecked(true);
    ASSERT_TRUE(QDir().mkdir(dir.path("png")));
    prompts.queueText(dir.path("png"));
    toolButton("Export", "Range of sprites")->click();
    const QString png5 =
        QString(SpriteFileName(opened, 5)).replace(QStringLiteral(".bmp"), QStringLiteral(".png"));
    EXPECT_EQ(QDir(dir.path("png")).entryList(QDir::Files).size(), 2);
    EXPECT_TRUE(readWholeFile(dir.path("png/" + png5)).startsWith("\x89PNG")) << png5.toStdString();
    const QString reason = QStringLiteral("it does not lie wholly on a page of the sprite graphics (page "
                                          "%1, x 251, y %2, %3*%4 pixels)")
                               .arg(entry(6).page())
                               .arg(entry(6).y())
                               .arg(entry(6).w)
                               .arg(entry(6).h);
    EXPECT_TRUE(window.findChild<QPlainTextEdit *>(QStringLiteral("log"))
                    ->toPlainText()
                    .endsWith(QStringLiteral("sprite 6 skipped: %1.").arg(reason)));
    page->selectByNumber(6);
    pageAction(page, "export")->trigger();
    EXPECT_EQ(prompts.messages().last(), QStringLiteral("Sprite 6 cannot be exported: %1.").arg(reason));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(SpritesWindow, SpriteListShowsEveryEntryAndLeadsBackToTheSprite) {
    SpriteListPage *list = window.spriteListPage();
    EXPECT_EQ(list->list()->count(), opened.spriteCount());
    EXPECT_EQ(list->list()->currentRow(), 0);
    window.mainPages()->setCurrentWidget(tabOf(list));
    list->list()->setCurrentRow(30);
    pageAction(list, "Show sprite")->trigger();
    EXPECT_EQ(window.mainPages()->currentWidget(), page);
    EXPECT_EQ(page->selectedSprite(), 30);
    const QImage shot = list->list()->viewport()->grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

TEST_F(SpritesWindow, DeltasButtonOpensTheSheetWhoseImportReplacesTheDeltas) {
    EXPECT_FALSE(pageAction(page, "Deltas")->isEnabled() && !isCarSprite(opened, page->selectedSprite()));
    const int car = 3;
    page->selectByNumber(car);
    ASSERT_TRUE(pageAction(page, "Deltas")->isEnabled());
    pageAction(page, "Deltas")->trigger();
    DeltasPage *deltas = window.deltasPage();
    EXPECT_EQ(shownPage(window.mainPages()->currentWidget()), deltas);
    EXPECT_EQ(deltas->sheet().size(), deltaSheetSize(QSize(entry(car).w, entry(car).h)));
    EXPECT_EQ(deltas->shownSize(), deltas->sheet().size());
    // The buttons step through whole zooms only, from wherever the wheel left the sheet.
    QAction *in = deltas->findChild<QAction *>(QStringLiteral("zoomin"));
    QAction *out = deltas->findChild<QAction *>(QStringLiteral("zoomout"));
    in->trigger();
    EXPECT_EQ(deltas->shownSize(), deltas->sheet().size() * 2);
    deltas->setZoom(3);
    std::vector<int> zooms;
    for (QAction *button : {in, out, out, out, in, in, in, in}) {
        button->trigger();
        zooms.push_back(deltas->shownSize().width() / deltas->sheet().width());
        EXPECT_EQ(deltas->shownSize(), deltas->sheet().size() * zooms.back());
    }
    EXPECT_EQ(zooms, (std::vector<int>{6, 3, 1, 1, 2, 4, 8, 8}));

    pageAction(deltas, "View Cars only")->trigger();
    prompts.queueText(dir.path("plain.bmp"));
    pageAction(deltas, "Export deltas")->trigger();
    EXPECT_EQ(prompts.presets().last(), "D_" + SpriteFileName(opened, car));
    // Whatever view is shown, the export is the "Draw deltas" sheet.
    EXPECT_EQ(loadBitmap(dir.path("plain.bmp")).image, renderDeltaSheet(opened, car, DeltaView::Draw));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(SpritesWindow, SheetImportsKeepDeltasPastTwentyAndReexportsDoNotWhitenTheCar) {
    // Car 3 gets 24 deltas: its own, empty ones up to 19, and four one-pixel deltas past the sheet.
    const int car = 3;
    std::vector<QByteArray> deltas;
    for (int d = 0; d < 20; ++d)
        deltas.push_back(deltaBytes(opened, car, d).toByteArray());
    const std::vector<QByteArray> extra = {
        QByteArray("\x05\x00\x01\x07", 4), QByteArray("\x06\x00\x01\x08", 4),
        QByteArray("\x07\x01\x01\x09", 4), QByteArray("\x08\x01\x01\x0a", 4)};
    deltas.insert(deltas.end(), extra.begin(), extra.end());
    StyleDocument many = opened;
    replaceSpriteDeltas(many, car, deltas);
    SilentProgress progress;
    LineLog saveLog;
    window.opensty(writeStyle(many, dir.path("many.sty"), prompts, progress, saveLog));
    const QImage drawn = renderDeltaSheet(many, car, DeltaView::Draw);
    auto *logPage = qobject_cast<QPlainTextEdit *>(window.mainPages()->widget([&] {
        for (int i = 0; i < window.mainPages()->count(); ++i)
            if (window.mainPages()->tabText(i) == "Log")
                return i;
        return -1;
    }()));
    ASSERT_NE(logPage, nullptr);

    page->selectByNumber(car);
    pageAction(page, "Deltas")->trigger();
    DeltasPage *sheetPage = window.deltasPage();
    for (const char *name : {"first.bmp", "again.bmp"}) {
        // The second export follows an import, which leaves "View changes only" shown.
        prompts.queueText(dir.path(name));
        pageAction(sheetPage, "Export deltas")->trigger();
        prompts.queueText(dir.path(name));
        pageAction(sheetPage, "Import deltas")->trigger();
        EXPECT_EQ(renderDeltaSheet(window.document(), car, DeltaView::Draw), drawn) << name;
        const DeltaIndexEntry &entry =
            window.document().DeltaIndex[std::size_t(*findDeltaEntry(window.document(), car))];
        EXPECT_EQ(entry.delta_count, 24) << name;
        for (int d = 20; d < 24; ++d)
            EXPECT_EQ(deltaBytes(window.document(), car, d).toByteArray(), extra[std::size_t(d - 20)])
                << name << d;
        EXPECT_TRUE(logPage->toPlainText().endsWith(
            "sprite 3 has 24 deltas: the sheet replaced deltas 0 to 19, deltas 20 to 23 were kept."))
            << name;
    }
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(SpritesWindow, PublishingIsOfferedForCarsAndWritesTheArchiveAndPicture) {
    SpriteListPage *list = window.spriteListPage();
    QAction *publish = pageAction(list, "create zip and gif file of this car for publishing");
    list->list()->setCurrentRow(opened.SpriteBases[SprCar]);
    EXPECT_FALSE(publish->isEnabled());
    list->list()->setCurrentRow(3);
    ASSERT_TRUE(publish->isEnabled());
    QStringList opened;
    window.setFileOpener([&](const QString &path) {
        opened << path;
        return true;
    });
    // A name beyond ASCII reaches the archive as UTF-8.
    prompts.queueText(dir.path("bus-käfer"));
    publish->trigger();
    EXPECT_TRUE(QFile::exists(dir.path("bus-käfer.gif")));
    // The central directory record of the GIF: its name 46 bytes in, bit 11 of its flags set.
    const QByteArray zip = readWholeFile(dir.path("bus-käfer.zip"));
    const qsizetype record = zip.lastIndexOf("bus-käfer.gif") - 46;
    ASSERT_EQ(zip.mid(record, 4), QByteArray("PK\x01\x02"));
    EXPECT_EQ(uchar(zip[record + 9]) & 0x08, 0x08);
    EXPECT_EQ(opened, QStringList{dir.path("bus-käfer.zip")});
}

TEST(SpritesPage, AStyleWithoutSpritesShowsAnEmptyStrip) {
    TestDir dir;
    ScriptedPrompts prompts;
    writeWholeFileAtomic(dir.path("bare.sty"), styleFile({}));
    Twnd_editor window;
    window.setPrompts(&prompts);
    window.opensty(dir.path("bare.sty"));
    SpritesPage *page = window.spritesPage();
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('\n').toStdString();
    EXPECT_EQ(page->selectedSprite(), -1);
    EXPECT_TRUE(page->overlay().isNull());
    EXPECT_FALSE(page->activesprite()->isVisible());
    EXPECT_EQ(window.spriteListPage()->list()->count(), 0);
    QTest::mouseClick(page->strip(), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(page->selectedSprite(), -1);
}

TEST(SpriteThumbnail, SitsRightOfTheTextOrAcrossTheItemForWideSprites) {
    const QRect inset(3, 3, 124, 72);
    // Tall sprite: right-aligned, 3 pixels short of the right edge, item height - 7 high.
    const QRect tall = spriteThumbnailRect(inset, 78, 400, 20, 40);
    EXPECT_EQ(tall, QRect(QPoint(127 - 39, 3), QPoint(123, 73)));
    // Wider than the list's proportions: across the inset rectangle, centred in the item.
    const QRect wide = spriteThumbnailRect(inset, 78, 100, 128, 16);
    EXPECT_EQ(wide.left(), 3);
    EXPECT_EQ(wide.right(), 123);
    EXPECT_EQ(wide.height(), 13);
    EXPECT_EQ(wide.top(), (78 - 13) / 2);
    // Never left of the inset rectangle, nothing for an empty sprite.
    EXPECT_EQ(spriteThumbnailRect(inset, 78, 4000, 120, 60).left(), 3);
    EXPECT_TRUE(spriteThumbnailRect(inset, 78, 400, 0, 10).isEmpty());
}

} // namespace
