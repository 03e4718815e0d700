// Tiles and sprites of the sample go out through vyr2-sty, are painted and saved the way each paint
// program saves an indexed picture, and come back through vyr2-sty with every palette choice
// showing exactly the painted colours, or are refused.

#include "clitest.h"

#include "graphics/spriteentries.h"
#include "graphics/spriteoperations.h"
#include "graphics/tileoperations.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "support/bitmapbytes.h"
#include "support/paintprograms.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <array>
#include <climits>
#include <gtest/gtest.h>

namespace {

QByteArray indexesOf(const QImage &indexed8) {
    QByteArray indexes;
    for (int y = 0; y < indexed8.height(); ++y)
        indexes.append(reinterpret_cast<const char *>(indexed8.constScanLine(y)), indexed8.width());
    return indexes;
}

// The colour every pixel shows, row by row.
QList<QRgb> shownColours(const QImage &picture) {
    QList<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            colours.append(picture.pixel(x, y) | 0xFF000000u);
    return colours;
}

// An 8-bit picture with a block of pixels painted in the colour of entry `entry`.
QImage painted(QImage picture, int entry) {
    for (int y = 1; y < picture.height() / 2; ++y)
        for (int x = 1; x < picture.width() / 2; ++x)
            picture.setPixel(x, y, uint(entry));
    return picture;
}

struct PaintPrograms : CliTest {
    void SetUp() override {
        ASSERT_EQ(run({"sample", dir.path("start.sty")}), 0) << err.toStdString();
        ASSERT_TRUE(QDir().mkdir(dir.path("out")));
    }

    StyleDocument load(const QString &name) {
        StyleDocument doc;
        ScriptedPrompts prompts;
        SilentProgress progress;
        LineLog log;
        EXPECT_TRUE(opensty(doc, dir.path(name), prompts, progress, log)) << name.toStdString();
        return doc;
    }

    QString save(const QString &name, const QByteArray &bytes) {
        writeWholeFileAtomic(dir.path(name), bytes);
        return dir.path(name);
    }
};

TEST_F(PaintPrograms, TilesAndSpritesComeBackWithThePaintedColoursWithEveryChoice) {
    constexpr int tile = 3;
    ASSERT_EQ(run({"export-tiles", dir.path("start.sty"), dir.path("out")}), 0) << err.toStdString();
    const QImage tilePicture = painted(loadBitmap(dir.path("out/VYR2_TILE_3.bmp")).image, 77);
    const StyleDocument start = load("start.sty");
    int sprite = 0;
    // A width that leaves padding in every row.
    while (sprite + 1 < start.spriteCount() &&
           (spriteGlyph(start, sprite).width() < 6 || spriteGlyph(start, sprite).width() % 4 == 0))
        ++sprite;
    ASSERT_EQ(run({"export-sprites", dir.path("start.sty"), dir.path("out"), "--start",
                   QString::number(sprite), "--end", QString::number(sprite)}),
              0)
        << err.toStdString();
    const QImage spritePicture =
        painted(loadBitmap(dir.path("out/" + SpriteFileName(start, sprite))).image, 200);
    ASSERT_EQ(run({"export-raw-tiles", dir.path("start.sty"), dir.path("raw.bmp")}), 0) << err.toStdString();
    const QImage rawPicture = painted(loadBitmap(dir.path("raw.bmp")).image, 99);
    ASSERT_EQ(run({"export-raw-sprites", dir.path("start.sty"), dir.path("rawsprites.bmp")}), 0)
        << err.toStdString();
    const QImage exportedSprites = loadBitmap(dir.path("rawsprites.bmp")).image;
    const QImage rawSprites = painted(exportedSprites, 150);
    // Transparent pixels under the painted block turn opaque, which standard error tells.
    int opaqued = 0;
    for (int y = 0; y < exportedSprites.height(); ++y)
        for (int x = 0; x < exportedSprites.width(); ++x)
            opaqued += exportedSprites.pixelIndex(x, y) == 0 && rawSprites.pixelIndex(x, y) != 0;
    ASSERT_GT(opaqued, 0);

    for (const PaintProgram program : AllPaintPrograms) {
        SCOPED_TRACE(programName(program).toStdString());
        const QString tileFile = save("tile.bmp", paintProgramBitmap(tilePicture, program));
        for (const char *choice : {"keep", "map:77", "import:77"}) {
            SCOPED_TRACE(choice);
            const int status = run({"import-tile", dir.path("start.sty"), QString::number(tile), tileFile,
                                    dir.path("back.sty"), "--palette", choice});
            if (QByteArray(choice) == "map:77") {
                // Pointing the tile at another palette takes the indexes as stored, its colours
                // being that palette's business.
                ASSERT_EQ(status, 0) << err.toStdString();
                EXPECT_EQ(indexesOf(tileBitmap(load("back.sty"), tile)),
                          indexesOf(loadBitmap(tileFile).image));
                continue;
            }
            ASSERT_EQ(status, 0) << err.toStdString();
            EXPECT_EQ(shownColours(tileBitmap(load("back.sty"), tile)), shownColours(tilePicture));
        }

        const QString spriteFile = save("sprite.bmp", paintProgramBitmap(spritePicture, program));
        for (const SpriteImportChoice choice :
             {SpriteImportChoice::PixelsOnly, SpriteImportChoice::ImportOverCurrent}) {
            ASSERT_EQ(run({"import-sprite", dir.path("start.sty"), QString::number(sprite), spriteFile,
                           dir.path("back.sty"), "--choice", QString::number(int(choice))}),
                      0)
                << err.toStdString();
            EXPECT_EQ(shownColours(spriteGlyph(load("back.sty"), sprite)), shownColours(spritePicture));
        }

        // The raw store's indexes are the grey levels its export wrote.
        ASSERT_EQ(run({"import-raw-tiles", dir.path("start.sty"),
                       save("raw-back.bmp", paintProgramBitmap(rawPicture, program)), dir.path("back.sty")}),
                  0)
            << err.toStdString();
        EXPECT_EQ(indexesOf(load("back.sty").TileStore), indexesOf(rawPicture));
        ASSERT_EQ(run({"import-raw-sprites", dir.path("start.sty"),
                       save("raw-back.bmp", paintProgramBitmap(rawSprites, program)), dir.path("back.sty")}),
                  0)
            << err.toStdString();
        EXPECT_EQ(indexesOf(load("back.sty").SpriteStore), indexesOf(rawSprites));
        EXPECT_EQ(err,
                  QStringLiteral("warning: the sprite graphics: 0 pixels become transparent, %1 stop being "
                                 "transparent.\n")
                      .arg(opaqued));
    }
}

TEST_F(PaintPrograms, ColoursThePaletteLacksAreRefusedOrTakenAsTheOptionSays) {
    ASSERT_EQ(run({"export-tiles", dir.path("start.sty"), dir.path("out")}), 0) << err.toStdString();
    const StyleDocument start = load("start.sty");
    const QList<QRgb> palette = ClutToPal(start, start.PaletteIndex[3]);
    QRgb foreign = qRgb(0, 0, 0);
    while (palette.contains(foreign))
        foreign += 0x010305;
    QImage picture = loadBitmap(dir.path("out/VYR2_TILE_3.bmp")).image.convertToFormat(QImage::Format_RGB32);
    for (int x = 0; x < 3; ++x)
        picture.setPixel(x, 10, foreign);
    const QString file = save("tile.bmp", paintProgramBitmap(picture, PaintProgram::Gimp));
    const QStringList import = {"import-tile", dir.path("start.sty"), "3", file, dir.path("back.sty")};

    EXPECT_EQ(run(import), 1);
    EXPECT_EQ(err,
              QStringLiteral("1 colour (3 pixels) that \"%1\" uses is not in palette %2, which shows tile 3. "
                             "Nothing was imported; --colours nearest takes the nearest colours, --colours "
                             "indexes the stored indexes.\n")
                  .arg(file)
                  .arg(start.PaletteIndex[3]));
    EXPECT_FALSE(QFile::exists(dir.path("back.sty")));
    EXPECT_EQ(run(import + QStringList{"--colours", "grey"}), 2);
    EXPECT_TRUE(err.contains("--colours takes match, nearest or indexes"));

    ASSERT_EQ(run(import + QStringList{"--colours", "nearest"}), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("took the nearest colours")) << out.toStdString();
    const QList<QRgb> shown = shownColours(tileBitmap(load("back.sty"), 3));
    const auto distance = [](QRgb a, QRgb b) {
        return (qRed(a) - qRed(b)) * (qRed(a) - qRed(b)) + (qGreen(a) - qGreen(b)) * (qGreen(a) - qGreen(b)) +
               (qBlue(a) - qBlue(b)) * (qBlue(a) - qBlue(b));
    };
    // Entry 0 is transparent: a missing colour takes the nearest of the others.
    int nearest = INT_MAX;
    for (const QRgb colour : palette.mid(1))
        nearest = std::min(nearest, distance(colour, foreign));
    const QList<QRgb> painted = shownColours(picture);
    for (int i = 0; i < shown.size(); ++i) {
        if (painted[i] == (foreign | 0xFF000000u))
            EXPECT_EQ(distance(shown[i], foreign), nearest) << i;
        else
            EXPECT_EQ(shown[i], painted[i]) << i;
    }

    ASSERT_EQ(run(import + QStringList{"--colours", "indexes"}), 0) << err.toStdString();
    EXPECT_EQ(indexesOf(tileBitmap(load("back.sty"), 3)), indexesOf(loadBitmap(file).image));
}

// The sprite's palette holds its most used body colour a second time in transparent entry 0, so a
// paint program that merges equal colours gives transparent and body pixels one index. Saved again
// by each program, also as a 24-bit file, the sprite comes back leaving the style file as it was:
// every pixel keeps the index it showed.
TEST_F(PaintPrograms, ASpriteWhoseEntryZeroRepeatsABodyColourComesBackUnchanged) {
    const int sprite = 4;
    StyleDocument twice = load("start.sty");
    const QImage glyph = spriteGlyph(twice, sprite);
    std::array<int, 256> counts{};
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            ++counts[std::size_t(glyph.pixelIndex(x, y))];
    ASSERT_GT(counts[0], 0);
    const int body = int(std::max_element(counts.begin() + 1, counts.end()) - counts.begin());
    writetoclut(twice, twice.PaletteIndex[std::size_t(spriteVirtualPalette(twice, sprite))], 0,
                fromRgb(glyph.color(body)));
    ScriptedPrompts prompts;
    SilentProgress progress;
    LineLog log;
    ASSERT_FALSE(writeStyle(twice, dir.path("twice.sty"), prompts, progress, log).isEmpty());
    const QByteArray original = readWholeFile(dir.path("twice.sty"));
    ASSERT_EQ(run({"export-sprites", dir.path("twice.sty"), dir.path("out"), "--start", "4", "--end", "4"}),
              0);
    const QImage exported = loadBitmap(dir.path("out/" + SpriteFileName(twice, sprite))).image;
    ASSERT_EQ(exported.color(0), exported.color(body));

    QStringList files;
    for (const PaintProgram program : AllPaintPrograms)
        files << save(programName(program) + ".bmp", paintProgramBitmap(exported, program));
    saveBitmap24(dir.path("true.bmp"), exported.convertToFormat(QImage::Format_RGB32));
    files << dir.path("true.bmp");
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        ASSERT_EQ(run({"import-sprite", dir.path("twice.sty"), "4", file, dir.path("back.sty"), "--choice",
                       "pixels-only"}),
                  0)
            << err.toStdString();
        EXPECT_EQ(err, "");
        EXPECT_EQ(firstDifference(readWholeFile(dir.path("back.sty")), original), -1);
    }
}

// What a true-colour pixel of `colour` becomes in `palette`: the lowest entry other than 0 holding
// it, 0 when none does (these files hold only the palette's colours).
int entryOf(const QList<QRgb> &palette, QRgb colour) {
    for (int i = 1; i < palette.size(); ++i)
        if ((palette[i] | 0xFF000000u) == (colour | 0xFF000000u))
            return i;
    return 0;
}

QByteArray expectedIndexes(const QImage &picture, const QList<QRgb> &palette) {
    QByteArray indexes;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            indexes.append(
                char(qAlpha(picture.pixel(x, y)) == 0 ? 0 : entryOf(palette, picture.pixel(x, y))));
    return indexes;
}

const QString TrueColourLine =
    QStringLiteral("\nThis is a true-colour file, which has no palette to write; save it with 256 colours "
                   "(an 8-bit bitmap or a PNG with a palette) and import it again.\n");

// GraphicsMagick's and ImageMagick's default 24- and 32-bit output: the imports that keep the
// palette read it by colour (a fully transparent PNG pixel is index 0), those that would write its
// colours refuse it saying how to save it.
TEST_F(PaintPrograms, TrueColourFilesAreReadByColourOrRefusedWhereAPaletteWouldBeWritten) {
    ASSERT_EQ(run({"export-tiles", dir.path("start.sty"), dir.path("out")}), 0) << err.toStdString();
    const QImage tile = loadBitmap(dir.path("out/VYR2_TILE_3.bmp")).image;
    const QImage rgb = tile.convertToFormat(QImage::Format_RGB32);
    saveBitmap24(dir.path("tile24.bmp"), rgb);
    ASSERT_TRUE(rgb.save(dir.path("tile.png"), "PNG"));
    for (const QString &file :
         {save("os2.bmp", os2TrueColourBitmap(rgb)), dir.path("tile24.bmp"), dir.path("tile.png")}) {
        SCOPED_TRACE(file.toStdString());
        ASSERT_EQ(run({"import-tile", dir.path("start.sty"), "3", file, dir.path("back.sty")}), 0)
            << err.toStdString();
        EXPECT_EQ(indexesOf(tileBitmap(load("back.sty"), 3)), expectedIndexes(tile, tile.colorTable()));
        EXPECT_EQ(run({"import-tile", dir.path("start.sty"), "3", file, dir.path("no.sty"), "--palette",
                       "import:5"}),
                  1);
        EXPECT_TRUE(err.startsWith("error: bitmap must be 8 bit size: 64*64 pixels.\nyour bitmap pixel "
                                   "format is: 6 bit size: 64*64 pixels."))
            << err.toStdString();
        EXPECT_TRUE(err.endsWith(TrueColourLine)) << err.toStdString();
    }

    const StyleDocument start = load("start.sty");
    const int sprite = 4;
    ASSERT_EQ(run({"export-sprites", dir.path("start.sty"), dir.path("out"), "--start", "4", "--end", "4"}),
              0);
    const QImage indexed = loadBitmap(dir.path("out/" + SpriteFileName(start, sprite))).image;
    QImage rgba = indexed.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < rgba.width(); ++x)
        rgba.setPixel(x, 1, qRgba(0, 0, 0, 0));
    ASSERT_TRUE(rgba.save(dir.path("sprite.png"), "PNG"));
    ASSERT_EQ(run({"import-sprite", dir.path("start.sty"), "4", dir.path("sprite.png"), dir.path("back.sty"),
                   "--choice", "pixels-only"}),
              0)
        << err.toStdString();
    EXPECT_EQ(indexesOf(spriteGlyph(load("back.sty"), sprite)), expectedIndexes(rgba, indexed.colorTable()));
    EXPECT_EQ(run({"import-sprite", dir.path("start.sty"), "4", dir.path("sprite.png"), dir.path("no.sty"),
                   "--choice", "over-current"}),
              1);
    EXPECT_TRUE(err.contains("your bitmap pixel format is: 7 bit")) << err.toStdString();
    EXPECT_TRUE(err.endsWith(TrueColourLine)) << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.path("no.sty")));

    // The raw store by its grey levels.
    ASSERT_EQ(run({"export-raw-tiles", dir.path("start.sty"), dir.path("raw.bmp")}), 0);
    const QImage raw = loadBitmap(dir.path("raw.bmp")).image;
    saveBitmap24(dir.path("raw24.bmp"), raw.convertToFormat(QImage::Format_RGB32));
    ASSERT_EQ(run({"import-raw-tiles", dir.path("start.sty"), dir.path("raw24.bmp"), dir.path("back.sty")}),
              0)
        << err.toStdString();
    EXPECT_EQ(indexesOf(load("back.sty").TileStore), indexesOf(raw));
}

TEST_F(PaintPrograms, SixteenColourBitmapsAreRefusedSayingHowToSaveThem) {
    // GIMP saves a picture of 16 colours or fewer with 4 bits a pixel.
    QList<QRgb> colours;
    for (int c = 0; c < 16; ++c)
        colours.append(qRgb(c * 16, 0, 0));
    const QString file =
        save("four.bmp", bitmapBytes({.width = 64,
                                      .height = 64,
                                      .bitCount = 4,
                                      .infoLength = 124,
                                      .colours = colours,
                                      .rows = QList<QByteArray>(64, QByteArray(32, '\x12'))}));
    EXPECT_EQ(run({"import-tile", dir.path("start.sty"), "3", file, dir.path("back.sty")}), 1);
    EXPECT_EQ(
        err, QStringLiteral("error: bitmap must be 8 bit size: 64*64 pixels.\nyour bitmap pixel format is: 2 "
                            "bit size: 64*64 pixels.\nThis is a 16-colour bitmap; save it with 256 colours "
                            "(8 bits per pixel) and import it again.\n"));
}

} // namespace
