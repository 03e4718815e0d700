#include "graphics/spriteentries.h"
#include "graphics/spritefields.h"
#include "graphics/spriteoperations.h"
#include "graphics/spritepages.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "platform/log.h"
#include "sample/samplestyle.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

SpriteEntry entryAt(int page, int x, int y, int w, int h) {
    return {quint32(page) * 65536 + quint32(y) * 256 + quint32(x), quint8(w), quint8(h), 0};
}

// Four pages of store whose pixel at (x, row) is (x + row) mod 256, sprites laid out by the test,
// and physical palette p holding colour (p, c, 255 - c) at entry c.
struct Sprites : ::testing::Test {
    void SetUp() override {
        doc.SpriteStore = makePixelStore(4 * PageSide);
        for (int y = 0; y < doc.SpriteStore.height(); ++y)
            for (int x = 0; x < PageSide; ++x)
                doc.SpriteStore.scanLine(y)[x] = uchar((x + y) % 256);
        doc.PhysicalPaletteCount = 64;
        for (int p = 0; p < 64; ++p)
            for (int c = 0; c < 256; ++c)
                writetoclut(doc, p, c, colourValue(p, c, 255 - c));
        doc.PaletteCounts[PalTile] = 4;
    }

    void setSprites(std::initializer_list<SpriteEntry> entries, std::array<quint16, SpriteKindCount> bases) {
        doc.SpriteIndex.clear();
        for (const SpriteEntry &e : entries)
            doc.SpriteIndex.append(e);
        doc.SpriteIndexSize = quint32(entries.size()) * SpriteEntryBytes;
        doc.SpriteBases = bases;
        doc.PaletteCounts[PalSprite] = quint16(entries.size());
        doc.PaletteIndex.clear();
        for (int v = 0; v < 4 + int(entries.size()); ++v)
            doc.PaletteIndex.append(quint16(v % 64));
    }

    QString saveInput(const QString &name, const QImage &image) {
        saveBitmap8(dir.path(name), image);
        return dir.path(name);
    }

    StyleDocument doc;
    ScriptedPrompts prompts;
    LineLog log;
    TestDir dir;
};

QImage pattern(int w, int h, uchar seed) {
    QImage image(w, h, QImage::Format_Indexed8);
    QList<QRgb> colours(256);
    for (int c = 0; c < 256; ++c)
        colours[c] = qRgb(c, 255 - c, seed);
    image.setColorTable(colours);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.scanLine(y)[x] = uchar(seed + x * 7 + y);
    return image;
}

QByteArray storeRect(const StyleDocument &doc, const SpriteEntry &e) {
    QByteArray bytes;
    for (int row = 0; row < e.h; ++row)
        bytes.append(
            reinterpret_cast<const char *>(doc.SpriteStore.constScanLine(e.page() * 256 + e.y() + row)) +
                e.x(),
            e.w);
    return bytes;
}

QByteArray pixels(const QImage &image) {
    QByteArray bytes;
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char *>(image.constScanLine(y)), image.width());
    return bytes;
}

} // namespace

TEST_F(Sprites, KindsFileNamesAndCarsFollowTheCounts) {
    setSprites({}, {10, 5, 3, 2, 1, 0});
    const std::pair<int, const char *> kinds[] = {
        {0, "CAR"},         {9, "CAR"},          {10, "PED"},  {17, "CODE OBJECT"},
        {19, "MAP OBJECT"}, {20, "USER OBJECT"}, {21, "FONT"}, {400, "FONT"}};
    for (const auto &[sprite, kind] : kinds)
        EXPECT_EQ(SpriteKind(doc, sprite), kind) << sprite;
    EXPECT_EQ(SpriteFileName(doc, 17), "VYR2_CODE OBJECT_17.bmp");
    EXPECT_TRUE(isCarSprite(doc, 9));
    EXPECT_FALSE(isCarSprite(doc, 10));

    // Sums 1, 3, 3, 0, 6: sprite 2 is car 1, sprite 0 car 0; the zero sum ends the walk.
    for (const quint8 sprites : {1, 2, 0, 0, 3}) {
        CarInfoRecord car;
        car.sprite = sprites;
        doc.CarInfoTable.append(car);
    }
    doc.deriveSpriteSums();
    doc.CarInfoTable[3].sprite_sum = 0;
    EXPECT_EQ(carOfSprite(doc, 0), 0);
    EXPECT_EQ(carOfSprite(doc, 2), 1);
    EXPECT_EQ(carOfSprite(doc, 1), 1);
    EXPECT_EQ(carOfSprite(doc, 5), 5);
}

TEST_F(Sprites, StripShowsEachSpriteInItsPaletteAndSkipsEntriesOffTheirPage) {
    setSprites({entryAt(3, 16, 32, 4, 3), entryAt(0, 250, 0, 10, 2), entryAt(4, 0, 0, 2, 2),
                entryAt(1, 0, 0, 0, 5), entryAt(1, 10, 10, 3, 3)},
               {5, 0, 0, 0, 0, 0});
    doc.PaletteIndex[4] = 7;
    const QImage strip = buildSpriteOverlay(doc, false);
    ASSERT_EQ(strip.size(), QSize(4 * 256, 256));
    // The first sprite's top-left pixel is store row 800, column 16, drawn at (784, 32).
    EXPECT_EQ(strip.pixel(784, 32), toRgb(directclutacces(doc, 7, (16 + 800) % 256, false)));
    EXPECT_EQ(strip.pixel(787, 34), toRgb(directclutacces(doc, 7, (19 + 802) % 256, false)));
    EXPECT_EQ(strip.pixel(788, 32), SpriteStripBackground);
    // Across the page edge, beyond the store, zero wide: nothing painted.
    EXPECT_EQ(strip.pixel(250, 0), SpriteStripBackground);

    const QImage outlined = buildSpriteOverlay(doc, true);
    EXPECT_EQ(outlined.pixel(784, 32), SpriteOutlineColour);
    EXPECT_EQ(outlined.pixel(787, 34), SpriteOutlineColour);
    EXPECT_EQ(outlined.pixel(785, 33), strip.pixel(785, 33));
    EXPECT_EQ(outlined.pixel(250, 0), SpriteStripBackground);

    QImage repainted = strip;
    outlineSprite(repainted, doc, 4);
    EXPECT_EQ(repainted.pixel(256 + 10, 10), SpriteOutlineColour);
    EXPECT_EQ(repainted.pixel(256 + 11, 11), strip.pixel(256 + 11, 11));
}

// The window's strip paints a page the first time it is shown. A page painted late must look as
// the whole strip would have when it was made, with the sprites repainted since over it.
TEST_F(Sprites, AStripPaintedPageByPageLooksAsTheWholeStripWithLaterRepaintsOverIt) {
    setSprites(
        {entryAt(0, 0, 0, 8, 8), entryAt(2, 4, 4, 6, 6), entryAt(2, 8, 8, 6, 6), entryAt(3, 0, 0, 4, 4)},
        {4, 0, 0, 0, 0, 0});
    const StyleDocument made = doc;
    SpriteStrip strip(made, true);
    strip.painted(QRect(10, 0, 5, 5));
    EXPECT_TRUE(strip.pagePainted(0));
    EXPECT_FALSE(strip.pagePainted(2));

    // Sprite 1 is changed and repainted before its page was ever shown; the page's other sprite
    // overlaps it and is painted before it, from the strip's own copy.
    doc.SpriteStore.scanLine(2 * PageSide + 6)[6] = 200;
    strip.repaintSprite(doc, 1, false);
    // A change the strip was not told of stays out of it.
    doc.SpriteStore.scanLine(3 * PageSide)[0] = 201;
    EXPECT_FALSE(strip.shows(made, true));

    QImage expected = buildSpriteOverlay(made, true);
    StyleDocument repainted = made;
    repainted.SpriteStore.scanLine(2 * PageSide + 6)[6] = 200;
    paintSprite(expected, repainted, 1);
    EXPECT_EQ(strip.paintedWhole(), expected);
    EXPECT_EQ(expected.pixel(2 * PageSide + 6, 6), toRgb(directclutacces(doc, 5, 200, false)));
}

TEST_F(Sprites, PointHitsTheHighestNumberedSpriteOnItsPage) {
    setSprites({entryAt(0, 0, 0, 40, 40), entryAt(0, 20, 20, 40, 40), entryAt(0, 30, 30, 5, 5),
                entryAt(5, 0, 0, 50, 50), entryAt(0, 240, 0, 30, 30)},
               {0, 0, 0, 0, 0, 5});
    EXPECT_EQ(spriteAtPoint(doc, {25, 25}), 1);
    EXPECT_EQ(spriteAtPoint(doc, {31, 31}), 2);
    EXPECT_EQ(spriteAtPoint(doc, {5, 5}), 0);
    EXPECT_EQ(spriteAtPoint(doc, {59, 59}), 1);
    EXPECT_EQ(spriteAtPoint(doc, {60, 60}), std::nullopt);
    // Entries beyond the store or across a page edge cannot be hit.
    EXPECT_EQ(spriteAtPoint(doc, {5 * 256 + 1, 1}), std::nullopt);
    EXPECT_EQ(spriteAtPoint(doc, {245, 5}), std::nullopt);
}

TEST_F(Sprites, GlyphAndInfoDescribeTheSprite) {
    setSprites({entryAt(0, 0, 0, 2, 2), entryAt(2, 5, 6, 3, 2), entryAt(0, 250, 255, 10, 4)},
               {1, 1, 0, 0, 0, 0});
    doc.PaletteIndex[5] = 33;
    const QImage glyph = spriteGlyph(doc, 1);
    ASSERT_EQ(glyph.format(), QImage::Format_Indexed8);
    EXPECT_EQ(pixels(glyph), storeRect(doc, doc.SpriteIndex[1]));
    EXPECT_EQ(glyph.colorTable(), ClutToPal(doc, 33));
    EXPECT_EQ(spriteInfo(doc, 1),
              (QStringList{"PED", "1", "file name: \"VYR2_PED_1.bmp\"", "Page: 2", "X: 5", "Y: 6", "width: 3",
                           "height: 2", "Virtual palette: 5", "Physical palette: 33"}));
    // Pixels beyond the page's right edge or the store's end read as 0.
    const QImage edge = spriteGlyph(doc, 2);
    EXPECT_EQ(edge.pixelIndex(5, 0), (250 + 5 + 255) % 256);
    EXPECT_EQ(edge.pixelIndex(6, 0), 0);
    EXPECT_EQ(edge.pixelIndex(0, 1), (250 + 256) % 256);

    doc.PaletteIndex.resize(doc.PaletteIndex.size() - 1);
    EXPECT_EQ(spriteInfo(doc, 2).last(), "Physical palette: none");
}

TEST_F(Sprites, ImportChoicesPickWriteAndCopyInTheirOrder) {
    setSprites({entryAt(1, 8, 8, 6, 4), entryAt(1, 30, 8, 6, 4)}, {2, 0, 0, 0, 0, 0});
    const QImage picture = pattern(6, 4, 40);
    const QString file = saveInput("in.bmp", picture);
    const SpriteEntry e = doc.SpriteIndex[0];
    const int v = spriteVirtualPalette(doc, 0);
    const int p = doc.PaletteIndex[std::size_t(v)];
    const StyleDocument original = doc;
    const QImage originalClut = makeClut1(doc);

    using C = SpriteImportChoice;
    struct Case {
        SpriteImportChoice choice;
        std::optional<QString> picked; // nothing: no picker; "cancel": picker cancelled
        int mapped;                    // palette the sprite uses afterwards
        int written;                   // palette holding the bitmap's colours, -1 none
        bool copied;
    };
    const Case cases[] = {
        {C::ImportOverCurrent, std::nullopt, p, p, true}, {C::ImportIntoChosen, "40", 40, 40, true},
        {C::ImportIntoChosen, "cancel", p, p, true},      {C::ChangePaletteOnly, "41", 41, -1, false},
        {C::ChangePaletteOnly, "cancel", p, -1, false},   {C::PaletteHack, "42", p, 42, false},
        {C::PaletteHack, "cancel", p, p, false},          {C::PixelsOnly, std::nullopt, p, -1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "choice " << int(c.choice) << " picked " << c.picked.value_or("-").toStdString());
        doc = original;
        prompts.queueText(file);
        prompts.queueChoice(c.choice);
        if (c.picked)
            prompts.queueText(*c.picked == "cancel" ? std::nullopt : c.picked);
        // The sprite's palette lacks the pattern's colours; the stored indexes are kept.
        if (c.choice == SpriteImportChoice::PixelsOnly)
            prompts.queueColours(MissingColoursAnswer::KeepIndexes);
        ASSERT_TRUE(importSprite(doc, 0, prompts, log));
        EXPECT_TRUE(prompts.allAnswersUsed());
        EXPECT_EQ(doc.PaletteIndex[std::size_t(v)], c.mapped);
        for (int palette = 0; palette < 64; ++palette) {
            const bool written = palette == c.written;
            EXPECT_EQ(ClutToPal(doc, palette) == picture.colorTable(), written) << palette;
            EXPECT_EQ(makeClut1(doc).pixel(palette, 100),
                      written ? picture.colorTable()[100] : originalClut.pixel(palette, 100));
        }
        EXPECT_EQ(storeRect(doc, e), c.copied ? pixels(picture) : storeRect(original, e));
        // The neighbour keeps its pixels whatever the choice.
        EXPECT_EQ(storeRect(doc, doc.SpriteIndex[1]), storeRect(original, original.SpriteIndex[1]));
    }

    // Cancel at the choice changes nothing at all.
    doc = original;
    prompts.queueText(file);
    prompts.queueChoice(SpriteImportChoice::Cancel);
    EXPECT_FALSE(importSprite(doc, 0, prompts, log));
    EXPECT_EQ(doc, original);
}

TEST_F(Sprites, ImportRefusalsLeaveTheDocumentAsItWas) {
    setSprites({entryAt(0, 8, 8, 6, 4), entryAt(0, 252, 0, 6, 4)}, {2, 0, 0, 0, 0, 0});
    const StyleDocument original = doc;

    prompts.queueText(saveInput("wide.bmp", pattern(7, 4, 1)));
    EXPECT_FALSE(importSprite(doc, 0, prompts, log));
    EXPECT_EQ(prompts.messages().last(),
              "error: bitmap must be 8 bit size: 6*4 pixels.\ryour bitmap pixel format "
              "is: 3 bit size: 7*4 pixels.");
    saveBitmap24(dir.path("deep.bmp"), pattern(6, 4, 1));
    prompts.queueText(dir.path("deep.bmp"));
    prompts.queueChoice(SpriteImportChoice::ImportOverCurrent);
    EXPECT_FALSE(importSprite(doc, 0, prompts, log));
    EXPECT_TRUE(
        prompts.messages().last().contains("your bitmap pixel format is: 6 bit size: 6*4 pixels.\rThis "
                                           "is a true-colour file"));

    // A picked palette outside the store.
    prompts.queueText(saveInput("ok.bmp", pattern(6, 4, 1)));
    prompts.queueChoice(SpriteImportChoice::ImportIntoChosen);
    prompts.queueText(QStringLiteral("64"));
    EXPECT_FALSE(importSprite(doc, 0, prompts, log));
    EXPECT_EQ(prompts.messages().last(),
              "There is no palette 64: this style file has 64 palettes (0 to 63).");

    // Across the page edge: refused before any dialog.
    EXPECT_FALSE(importSprite(doc, 1, prompts, log));
    EXPECT_TRUE(prompts.messages().last().startsWith("Sprite 1 does not lie wholly on a page"));
    prompts.queueText(dir.path("missing.bmp"));
    EXPECT_THROW(importSprite(doc, 0, prompts, log), EditorError);
    EXPECT_TRUE(prompts.allAnswersUsed());
    EXPECT_EQ(doc, original);
}

TEST_F(Sprites, ExportedSpriteImportsBackUnchanged) {
    setSprites({entryAt(2, 100, 40, 17, 9)}, {0, 1, 0, 0, 0, 0});
    const StyleDocument original = doc;
    prompts.queueText(dir.path("out"));
    EXPECT_EQ(exportSprite(doc, 0, prompts), dir.path("out.bmp"));
    EXPECT_EQ(prompts.presets().last(), "VYR2_PED_0.bmp");
    prompts.queueText(dir.path("out.bmp"));
    prompts.queueChoice(SpriteImportChoice::ImportOverCurrent);
    EXPECT_TRUE(importSprite(doc, 0, prompts, log));
    EXPECT_EQ(doc, original);
}

TEST_F(Sprites, PagesGrowAndShrinkAskingEachTimeWithinTheFilesLimits) {
    setSprites({entryAt(3, 0, 0, 8, 8)}, {1, 0, 0, 0, 0, 0});
    const QByteArray firstPages = pixels(doc.SpriteStore.copy(0, 0, 256, 3 * 256));
    prompts.queue(Answer::No);
    EXPECT_FALSE(addSpritePage(doc, prompts));
    prompts.queue(Answer::Yes);
    EXPECT_TRUE(addSpritePage(doc, prompts));
    EXPECT_EQ(doc.spritePageCount(), 5);
    EXPECT_EQ(prompts.shown().last(), AddSpritePageQuestion);
    for (int pages = 5; pages > 1; --pages) {
        prompts.queue(Answer::Yes);
        ASSERT_TRUE(removeSpritePage(doc, prompts));
    }
    EXPECT_EQ(prompts.shown().last(), RemoveSpritePageQuestion);
    EXPECT_FALSE(removeSpritePage(doc, prompts));
    EXPECT_EQ(doc.spritePageCount(), 1);
    // The entry on a dropped page is kept as it was.
    EXPECT_EQ(doc.SpriteIndex[0].page(), 3);
    EXPECT_EQ(buildSpriteOverlay(doc, true).width(), 256);
    for (int pages = 1; pages < 3; ++pages) {
        prompts.queue(Answer::Yes);
        ASSERT_TRUE(addSpritePage(doc, prompts));
    }
    EXPECT_EQ(pixels(doc.SpriteStore).left(256 * 256), firstPages.left(256 * 256));

    doc.SpriteStore = makePixelStore(PixelStorePageCapacity * PageSide);
    EXPECT_FALSE(addSpritePage(doc, prompts));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Sprites, RawStoreRoundTripsAndRefusesOtherShapes) {
    setSprites({entryAt(0, 0, 0, 4, 4)}, {1, 0, 0, 0, 0, 0});
    const StyleDocument original = doc;
    prompts.queueText(dir.path("raw"));
    EXPECT_EQ(exportRawSprites(doc, prompts), dir.path("raw.bmp"));
    const LoadedBitmap raw = loadBitmap(dir.path("raw.bmp"));
    EXPECT_EQ(raw.image.colorTable(), greyRamp());

    for (const QSize size : {QSize(255, 256), QSize(256, 300), QSize(256, 257 * 256)}) {
        prompts.queueText(saveInput("bad.bmp", pattern(size.width(), size.height(), 0)));
        EXPECT_FALSE(importRawSprites(doc, prompts, log)) << size.width() << "x" << size.height();
        EXPECT_TRUE(prompts.messages().last().startsWith("error: sprite graphics must be an 8 bit bitmap"));
    }
    EXPECT_EQ(doc, original);
    prompts.queueText(saveInput("two.bmp", pattern(256, 512, 3)));
    // The pattern's colours are not grey; its indexes are taken as stored.
    prompts.queueColours(MissingColoursAnswer::KeepIndexes);
    EXPECT_TRUE(importRawSprites(doc, prompts, log));
    EXPECT_EQ(doc.spritePageCount(), 2);
    EXPECT_EQ(pixels(doc.SpriteStore), pixels(pattern(256, 512, 3)));
}

TEST_F(Sprites, RangeExportRaisesEndAndWritesEachFileIntoTheFolder) {
    setSprites({entryAt(0, 0, 0, 4, 4), entryAt(0, 10, 0, 5, 3), entryAt(0, 20, 0, 6, 2),
                entryAt(0, 30, 0, 2, 2), entryAt(0, 40, 0, 3, 3), entryAt(1, 0, 0, 9, 9),
                entryAt(0, 50, 0, 0, 7), entryAt(0, 250, 0, 8, 8)},
               {3, 3, 0, 0, 0, 0});
    std::vector<int> selected;
    LineLog log;
    ASSERT_TRUE(QDir().mkdir(dir.path("five")));
    prompts.queueText(dir.path("five"));
    EXPECT_EQ(exportSpriteRange(doc, 5, 3, prompts, log, [&](int n) { selected.push_back(n); }), 1);
    EXPECT_EQ(prompts.shown().last(), SpriteFolderTitle);
    EXPECT_EQ(selected, std::vector<int>{5});
    EXPECT_TRUE(QFileInfo::exists(dir.path("five/VYR2_PED_5.bmp")));

    ASSERT_TRUE(QDir().mkdir(dir.path("range")));
    prompts.queueText(dir.path("range") + "/");
    EXPECT_EQ(exportSpriteRange(doc, 1, 3, prompts, log), 3);
    EXPECT_EQ(QDir(dir.path("range")).entryList(QDir::Files),
              (QStringList{"VYR2_CAR_1.bmp", "VYR2_CAR_2.bmp", "VYR2_PED_3.bmp"}));
    EXPECT_TRUE(log.lines().isEmpty());

    // A sprite of no pixels and one reaching past its page's right edge are skipped and named;
    // the sprites around them are written. Alone, each export says why it cannot.
    ASSERT_TRUE(QDir().mkdir(dir.path("gaps")));
    prompts.queueText(dir.path("gaps"));
    EXPECT_EQ(exportSpriteRange(doc, 5, 7, prompts, log), 1);
    EXPECT_EQ(QDir(dir.path("gaps")).entryList(QDir::Files), QStringList{"VYR2_PED_5.bmp"});
    EXPECT_EQ(log.lines(), (QStringList{"sprite 6 skipped: it is 0*7 pixels, so it has no picture.",
                                        "sprite 7 skipped: it does not lie wholly on a page of the sprite "
                                        "graphics (page 0, x 250, y 0, 8*8 pixels)."}));
    const qsizetype shown = prompts.messages().size();
    EXPECT_EQ(exportSprite(doc, 6, prompts), QString());
    EXPECT_EQ(exportSprite(doc, 7, prompts), QString());
    EXPECT_EQ(prompts.messages().mid(shown),
              (QStringList{"Sprite 6 cannot be exported: it is 0*7 pixels, so it has no picture.",
                           "Sprite 7 cannot be exported: it does not lie wholly on a page of the sprite "
                           "graphics (page 0, x 250, y 0, 8*8 pixels)."}));
    EXPECT_EQ(pixels(loadBitmap(dir.path("range/VYR2_CAR_2.bmp")).image), pixels(spriteGlyph(doc, 2)));

    // The import asks for every sprite of the range in turn; a cancelled one is skipped.
    std::vector<int> imported;
    prompts.queueText(dir.path("range/VYR2_CAR_1.bmp"));
    prompts.queueChoice(SpriteImportChoice::PixelsOnly);
    prompts.queueText(std::nullopt);
    prompts.queueText(dir.path("range/VYR2_PED_3.bmp"));
    prompts.queueChoice(SpriteImportChoice::PixelsOnly);
    const StyleDocument before = doc;
    EXPECT_EQ(importSpriteRange(doc, 1, 3, prompts, log, {}, [&](int n) { imported.push_back(n); }), 2);
    EXPECT_EQ(imported, (std::vector<int>{1, 3}));
    EXPECT_EQ(prompts.presets().mid(prompts.presets().size() - 3),
              (QStringList{"VYR2_CAR_1.bmp", "VYR2_CAR_2.bmp", "VYR2_PED_3.bmp"}));
    EXPECT_EQ(doc, before);
}

TEST(SpriteFields, ClampingFollowsTheTableAndItsOrder) {
    using F = SpriteField;
    const auto fix = [](SpriteFieldTexts texts) {
        return spriteFieldCorrection(texts);
    };
    EXPECT_EQ(fix({"300", "0", "0", "10", "10"}), std::pair(F::X, QString("251")));
    EXPECT_EQ(fix({"0", "256", "0", "10", "10"}), std::pair(F::Y, QString("251")));
    EXPECT_EQ(fix({"0", "0", "999", "10", "10"}), std::pair(F::Page, QString("255")));
    EXPECT_EQ(fix({"0", "0", "0", "200", "10"}), std::pair(F::Width, QString("128")));
    EXPECT_EQ(fix({"0", "0", "0", "1", "10"}), std::pair(F::Width, QString("2")));
    EXPECT_EQ(fix({"0", "0", "0", "10", "0"}), std::pair(F::Height, QString("2")));
    // Upper limits of every field come before lower ones.
    EXPECT_EQ(fix({"0", "0", "0", "1", "129"}), std::pair(F::Height, QString("128")));
    EXPECT_EQ(fix({"99999999999999999999999", "0", "0", "1", "1"}), std::pair(F::X, QString("251")));
    // A field that is no number ends the checks.
    EXPECT_EQ(fix({"0", "", "999", "1", "1"}), std::nullopt);
    EXPECT_EQ(fix({"255", "255", "255", "128", "2"}), std::nullopt);
}

TEST_F(Sprites, FieldsReaimTheEntryUpToTheFirstFieldThatIsNoNumber) {
    setSprites({entryAt(1, 10, 20, 30, 40)}, {1, 0, 0, 0, 0, 0});
    doc.SpriteIndex[0].ptr |= 0x7f000000;
    doc.SpriteIndex[0].pad = 0x1234;
    EXPECT_TRUE(applySpriteFields(doc, 0, {"251", "3", "2", "128", "2"}));
    EXPECT_EQ(doc.SpriteIndex[0], (SpriteEntry{0x7f000000u | (2 * 65536 + 3 * 256 + 251), 128, 2, 0x1234}));
    EXPECT_FALSE(applySpriteFields(doc, 0, {"7", "", "0", "9", "9"}));
    EXPECT_EQ(doc.SpriteIndex[0], (SpriteEntry{0x7f000000u | (2 * 65536 + 3 * 256 + 7), 128, 2, 0x1234}));
    EXPECT_EQ(spriteFieldTexts(doc.SpriteIndex[0]), (SpriteFieldTexts{"7", "3", "2", "128", "2"}));
}

TEST_F(Sprites, DropStoresPageAndPositionWrappingEachByte) {
    setSprites({entryAt(2, 250, 10, 8, 8)}, {1, 0, 0, 0, 0, 0});
    dropSprite(doc, 0, {2 * 256 + 250 + 10, 10});
    EXPECT_EQ(doc.SpriteIndex[0].page(), 3);
    EXPECT_EQ(doc.SpriteIndex[0].x(), 4);
    EXPECT_EQ(doc.SpriteIndex[0].y(), 10);
    dropSprite(doc, 0, {20, -3});
    EXPECT_EQ(doc.SpriteIndex[0].y(), 253);
    dropSprite(doc, 0, {20, 300});
    EXPECT_EQ(doc.SpriteIndex[0].y(), 44);
    EXPECT_EQ(doc.SpriteIndex[0].w, 8);
    EXPECT_EQ(spritePointerReadout({3 * 256 + 17, 99}), "X: 17, Y: 99, P: 3");
}
