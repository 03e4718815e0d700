#include "graphics/tileoperations.h"

#include "graphics/tilenumbering.h"
#include "graphics/tilepattern.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "platform/log.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/bitmapbytes.h"
#include "support/recordingprogress.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QByteArray styleBytes(const StyleDocument &doc) {
    StyleDocument saved;
    SilentProgress progress;
    LineLog log;
    return serializeStyle(doc, saved, progress, log);
}

// The indexes of an 8-bit image row by row, whatever its colours.
QByteArray indexes(const QImage &image) {
    QByteArray bytes;
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char *>(image.constScanLine(y)), image.width());
    return bytes;
}

QByteArray tilePixels(const StyleDocument &doc, int tile) {
    const QPoint origin = tileOrigin(tile);
    return indexes(doc.TileStore.copy(origin.x(), origin.y(), TileSide, TileSide));
}

// An 8-bit picture whose pixels and colours differ from every sample tile.
QImage stripes(int width, int height) {
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> colours(256);
    for (int c = 0; c < 256; ++c)
        colours[c] = qRgb(255 - c, c / 2, 7);
    image.setColorTable(colours);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = uchar((x * 3 + y * 5) % 251);
    return image;
}

TEST(TileNumbering, PagesAreFourByFourBlocksSideBySide) {
    EXPECT_EQ(tileOrigin(0), QPoint(0, 0));
    EXPECT_EQ(tileOrigin(5), QPoint(64, 64));
    EXPECT_EQ(tileOrigin(15), QPoint(192, 192));
    EXPECT_EQ(tileOrigin(17), QPoint(64, 256));
    EXPECT_EQ(tileAtCell(1, 1), 5);
    EXPECT_EQ(tileAtCell(5, 0), 17);
    EXPECT_EQ(tileGridColumns(makePixelStore(PageSide)), 4);
    EXPECT_EQ(tileCount(makePixelStore(3 * PageSide)), 48);
    // Every cell of the largest grid shows a different tile, found where the cell sits in the store.
    std::vector<bool> seen(MaxTilePages * TilesPerPage);
    for (int column = 0; column < MaxTilePages * 4; ++column) {
        for (int row = 0; row < TileGridRows; ++row) {
            const int tile = tileAtCell(column, row);
            ASSERT_TRUE(inRange(0, int(seen.size()), tile) && !seen[std::size_t(tile)]);
            seen[std::size_t(tile)] = true;
            ASSERT_EQ(cellOfTile(tile), QPoint(column, row));
            ASSERT_EQ(tileOrigin(tile), QPoint(column % 4 * 64, column / 4 * 256 + row * 64));
        }
    }
}

struct Tiles : ::testing::Test {

    QString saveInput(const QString &name, const QImage &image) {
        saveBitmap8(dir.path(name), image);
        return dir.path(name);
    }

    StyleDocument doc = makeSampleStyle();
    const StyleDocument original = doc;
    ScriptedPrompts prompts;
    LineLog log;
    TestDir dir;
};

TEST_F(Tiles, ExportWritesTheStoresIndexesWithTheTilesPalette) {
    doc.PaletteIndex[3] = 9;
    prompts.queueText(dir.path("three.tga"));
    ASSERT_EQ(exportTile(doc, 3, DefaultTilePattern, prompts), dir.path("three.bmp"));
    EXPECT_EQ(prompts.presets(), QStringList{"VYR2_TILE_3.bmp"});
    const LoadedBitmap written = loadBitmap(dir.path("three.bmp"));
    EXPECT_EQ(written.pixelFormatCode, Pf8Bit);
    EXPECT_EQ(written.image.colorTable(), ClutToPal(doc, 9));
    EXPECT_EQ(indexes(written.image), tilePixels(doc, 3));

    prompts.queueText(dir.path("tile3"));
    EXPECT_EQ(exportTile(doc, 3, QStringLiteral("tile%d"), prompts), dir.path("tile3.bmp"));
    EXPECT_EQ(prompts.presets().last(), QStringLiteral("tile3"));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Tiles, ExportAndImportRefuseBadPatternsAndTilesBeforeAnyDialog) {
    QString reason;
    TilePattern::parse(QStringLiteral("%s"), reason);
    EXPECT_TRUE(exportTile(doc, 0, QStringLiteral("%s"), prompts).isEmpty());
    EXPECT_FALSE(importTile(doc, 0, QStringLiteral("%s"), prompts, log));
    EXPECT_TRUE(exportTile(doc, 32, DefaultTilePattern, prompts).isEmpty());
    EXPECT_FALSE(importTile(doc, -1, DefaultTilePattern, prompts, log));
    EXPECT_EQ(prompts.shown(),
              QStringList({reason, reason, "There is no tile 32; the tiles are numbered 0 to 31.",
                           "There is no tile -1; the tiles are numbered 0 to 31."}));
    EXPECT_EQ(doc, original);
}

TEST_F(Tiles, ImportRefusesWrongDepthOrSizeWithTheFormatAndSize) {
    QImage colour(64, 64, QImage::Format_RGB32);
    colour.fill(Qt::red);
    saveBitmap24(dir.path("deep.bmp"), colour);
    prompts.queueText(dir.path("deep.bmp"));
    // A true-colour file has no palette to import.
    prompts.queue(Answer::Yes);
    prompts.queueText(saveInput("short.bmp", stripes(64, 32)));
    EXPECT_FALSE(importTile(doc, 5, DefaultTilePattern, prompts, log));
    EXPECT_FALSE(importTile(doc, 5, DefaultTilePattern, prompts, log));
    EXPECT_EQ(prompts.messages(),
              QStringList({"error: bitmap must be 8 bit size: 64*64 pixels.\ryour bitmap pixel "
                           "format is: 6 bit size: 64*64 pixels.\rThis is a true-colour file, which has no "
                           "palette to write; save it with 256 colours (an 8-bit bitmap or a PNG with a "
                           "palette) and import it again.",
                           "error: bitmap must be 8 bit size: 64*64 pixels.\ryour bitmap pixel "
                           "format is: 3 bit size: 64*32 pixels."}));
    EXPECT_EQ(prompts.presets(), QStringList({"VYR2_TILE_5.bmp", "VYR2_TILE_5.bmp"}));
    EXPECT_EQ(doc, original);
}

TEST_F(Tiles, ImportAlwaysCopiesThePixelsWhateverThePaletteAnswer) {
    const QImage picture = stripes(64, 64);
    const QString input = saveInput("in.bmp", picture);
    const QByteArray pixels = indexes(picture);
    const int mapped = doc.PaletteIndex[5];
    const struct {
        Answer answer;
        std::optional<QString> picked;
        int palette;
        bool coloursWritten;
    } cases[] = {
        {Answer::Cancel, std::nullopt, mapped, false}, {Answer::Yes, std::nullopt, mapped, false},
        {Answer::No, std::nullopt, mapped, false},     {Answer::No, QStringLiteral("40"), 40, false},
        {Answer::Yes, QStringLiteral("40"), 40, true},
    };
    for (const auto &c : cases) {
        doc = original;
        ScriptedPrompts asked;
        asked.queueText(input);
        asked.queue(c.answer);
        if (c.answer != Answer::Cancel)
            asked.queueText(c.picked);
        // Kept palettes lack the stripes' colours; keeping the stored indexes copies them as they are.
        if (c.palette == mapped)
            asked.queueColours(MissingColoursAnswer::KeepIndexes);
        ASSERT_TRUE(importTile(doc, 5, DefaultTilePattern, asked, log));
        EXPECT_TRUE(asked.allAnswersUsed());
        EXPECT_EQ(asked.shown()[1], TileImportQuestion);
        if (c.answer != Answer::Cancel) {
            EXPECT_EQ(asked.shown()[2], QStringLiteral("palette picker %1").arg(mapped));
        }
        EXPECT_TRUE(asked.messages().isEmpty());
        EXPECT_EQ(tilePixels(doc, 5), pixels);
        EXPECT_EQ(tilePixels(doc, 4), tilePixels(original, 4));
        EXPECT_EQ(doc.PaletteIndex[5], c.palette);
        EXPECT_EQ(ClutToPal(doc, 40) == picture.colorTable(), c.coloursWritten);
        doc.TileStore = original.TileStore;
        doc.PaletteIndex = original.PaletteIndex;
        EXPECT_EQ(doc == original, !c.coloursWritten);
    }
}

// The tile keeps palette 40, laid out for the rules: entries 10 and 20 hold the same colour, as do
// entries 0 and 30; entries 40 and 41 are equally near a colour the palette lacks. The tile shows
// entry 1 in its first row, transparent entry 0 in rows 1 to 31 and entry 2 below. The file
// numbers its colours its own way; expected entries follow from that layout.
TEST_F(Tiles, KeptPaletteShowsTheFilesColoursIndexByColour) {
    constexpr int palette = 40;
    doc.PaletteIndex[5] = palette;
    for (int c = 0; c < 256; ++c)
        writetoclut(doc, palette, c, colourValue(c, 100, 200));
    const QRgb shared = qRgb(1, 2, 3), transparent = qRgb(9, 9, 9);
    for (const auto &[entry, colour] : {std::pair{10, shared},
                                        {20, shared},
                                        {0, transparent},
                                        {30, transparent},
                                        {40, qRgb(50, 50, 50)},
                                        {41, qRgb(50, 50, 60)}})
        writetoclut(doc, palette, entry, fromRgb(colour));
    const QPoint origin = tileOrigin(5);
    for (int y = 0; y < 64; ++y)
        std::memset(doc.TileStore.scanLine(origin.y() + y) + origin.x(), y == 0 ? 1 : y < 32 ? 0 : 2, 64);
    const StyleDocument prepared = doc;
    // File index, its colour, and the entry the rules give it; block k of the first row holds k + 1
    // pixels of it, the rest of the tile is index 0: transparent where the tile shows entry 0, entry
    // 30 (the same colour, not transparent) elsewhere.
    const struct {
        int index;
        QRgb colour;
        int entry;
    } used[] = {
        {20, shared, 20},            // its own entry holds the colour
        {7, shared, 10},             // the lowest of several entries
        {3, transparent, 30},        // not 0 while another entry holds it
        {5, qRgb(77, 100, 200), 77}, // a colour of the palette under another index
        {6, qRgb(50, 50, 55), 40},   // missing: the nearest, the lower of two as near
    };
    QList<QRgb> table(21, qRgb(255, 255, 255));
    table[0] = transparent;
    QByteArray pixels(64 * 64, '\0');
    for (int k = 0, x = 0; k < 5; ++k) {
        table[used[k].index] = used[k].colour;
        for (int p = 0; p <= k; ++p)
            pixels[x++] = char(used[k].index);
    }
    QList<QByteArray> rows;
    for (int y = 0; y < 64; ++y)
        rows.append(pixels.mid(y * 64, 64));
    const QString input = dir.path("renumbered.bmp");
    QFile file(input);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bitmapBytes({.width = 64, .height = 64, .colours = table, .rows = rows}));
    file.close();

    for (const MissingColoursAnswer answer :
         {MissingColoursAnswer::Cancel, MissingColoursAnswer::KeepIndexes, MissingColoursAnswer::Nearest}) {
        doc = prepared;
        LineLog lines;
        ScriptedPrompts asked;
        asked.queueText(input);
        asked.queue(Answer::Cancel);
        asked.queueColours(answer);
        EXPECT_EQ(importTile(doc, 5, DefaultTilePattern, asked, lines),
                  answer != MissingColoursAnswer::Cancel);
        EXPECT_TRUE(asked.allAnswersUsed());
        EXPECT_EQ(
            asked.shown().last(),
            QStringLiteral("1 colour (5 pixels) that \"%1\" uses is not in palette 40, which shows tile 5.")
                .arg(input));
        if (answer == MissingColoursAnswer::Cancel) {
            EXPECT_EQ(doc, prepared);
            continue;
        }
        if (answer == MissingColoursAnswer::KeepIndexes) {
            EXPECT_EQ(tilePixels(doc, 5), pixels);
            // Rows 32 to 63 and the first row past the blocks turn transparent.
            EXPECT_EQ(lines.lines().last(),
                      "tile 5: 2097 pixels become transparent, 0 stop being transparent.");
            continue;
        }
        QByteArray expected = pixels;
        for (int k = 0, x = 0; k < 5; ++k)
            for (int p = 0; p <= k; ++p)
                expected[x++] = char(used[k].entry);
        for (qsizetype i = 15; i < expected.size(); ++i)
            expected[i] = char(i >= 64 && i < 32 * 64 ? 0 : 30);
        EXPECT_EQ(tilePixels(doc, 5), expected);
        EXPECT_EQ(
            lines.lines(),
            QStringList({"tile 5: 5 pixels of 1 colour missing from palette 40 took the nearest colours.",
                         "tile 5: 1984 pixels of colour #090909 (index 0 in the file) took entry 0 of "
                         "palette 40, one of 2 entries holding that colour.",
                         "tile 5: 2097 pixels of colour #090909 (index 0 in the file) took entry 30 of "
                         "palette 40, one of 2 entries holding that colour.",
                         "tile 5: 3 pixels of colour #090909 (index 3 in the file) took entry 30 of "
                         "palette 40, one of 2 entries holding that colour.",
                         "tile 5: 2 pixels of colour #010203 (index 7 in the file) took entry 10 of "
                         "palette 40, one of 2 entries holding that colour.",
                         "tile 5: 1 pixel of colour #010203 (index 20 in the file) took entry 20 of "
                         "palette 40, one of 2 entries holding that colour.",
                         QStringLiteral("tile 5: the colours of \"%1\" were matched to palette 40; 2111 "
                                        "pixels took another index.")
                             .arg(input)}));
    }
}

TEST_F(Tiles, ImportRefusesAPickedPaletteTheFileDoesNotHave) {
    prompts.queueText(saveInput("in.bmp", stripes(64, 64)));
    prompts.queue(Answer::Yes);
    prompts.queueText(QStringLiteral("128"));
    EXPECT_FALSE(importTile(doc, 5, DefaultTilePattern, prompts, log));
    EXPECT_EQ(prompts.messages(),
              QStringList{"There is no palette 128: this style file has 128 palettes (0 to 127)."});
    EXPECT_EQ(doc, original);
}

TEST_F(Tiles, AnExportedTileImportedBackLeavesTheStyleBytesAsTheyWere) {
    const QByteArray before = styleBytes(doc);
    for (const Answer answer : {Answer::Cancel, Answer::Yes}) {
        prompts.queueText(dir.path("t.bmp"));
        ASSERT_FALSE(exportTile(doc, 21, DefaultTilePattern, prompts).isEmpty());
        prompts.queueText(dir.path("t.bmp"));
        prompts.queue(answer);
        if (answer == Answer::Yes)
            prompts.queueText(QString::number(doc.PaletteIndex[21]));
        ASSERT_TRUE(importTile(doc, 21, DefaultTilePattern, prompts, log));
        EXPECT_EQ(styleBytes(doc), before);
    }
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Tiles, ExportAllWritesGridOrderToTheDirectoryTextAsTyped) {
    RecordingProgress progress;
    QString lastDirectory = QStringLiteral("earlier/");
    std::vector<int> order;
    prompts.queueText(dir.path("out"));
    ASSERT_EQ(exportAllTiles(doc, QStringLiteral("t%02d.bmp"), lastDirectory, prompts, progress,
                             [&](int tile) { order.push_back(tile); }),
              32);
    EXPECT_EQ(prompts.shown(),
              QStringList{"all-textures-extractor:Enter directory that exists ending with backslash."});
    EXPECT_EQ(prompts.presets(), QStringList{"earlier/"});
    EXPECT_EQ(lastDirectory, dir.path("out"));
    const std::vector<int> firstRow = {0, 1, 2, 3, 16, 17, 18, 19};
    ASSERT_EQ(order.size(), 32u);
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 8), firstRow);
    EXPECT_EQ(order[8], 4);
    EXPECT_EQ(order.back(), 31);
    for (int tile = 0; tile < 32; ++tile)
        EXPECT_TRUE(QFile::exists(dir.path(QStringLiteral("outt%1.bmp").arg(tile, 2, 10, QLatin1Char('0')))));
    EXPECT_EQ(progress.maximum, 32);
    EXPECT_EQ(progress.repaints, 32);
    EXPECT_EQ(progress.position, 0);
}

TEST_F(Tiles, ExportAllStopsAtABadPatternOrACancelledDirectory) {
    RecordingProgress progress;
    QString lastDirectory;
    EXPECT_EQ(exportAllTiles(doc, QStringLiteral("%d%d"), lastDirectory, prompts, progress), 0);
    EXPECT_EQ(prompts.shown().size(), 1);
    prompts.queueText(std::nullopt);
    EXPECT_EQ(exportAllTiles(doc, DefaultTilePattern, lastDirectory, prompts, progress), 0);
    EXPECT_EQ(progress.repaints, 0);
    EXPECT_TRUE(QDir(dir.path("")).isEmpty());
}

TEST_F(Tiles, PagesGrowTo62AndShrinkTo1AskingEachTime) {
    prompts.queue(Answer::No);
    EXPECT_FALSE(addTilePage(doc, prompts));
    EXPECT_EQ(doc, original);
    for (int pages = 3; pages <= MaxTilePages; ++pages) {
        prompts.queue(Answer::Yes);
        ASSERT_TRUE(addTilePage(doc, prompts));
    }
    EXPECT_EQ(doc.TileStore.height(), 15872);
    EXPECT_FALSE(addTilePage(doc, prompts));
    EXPECT_EQ(prompts.shown().size(), 61);
    EXPECT_EQ(prompts.shown().last(), AddTilePageQuestion);
    EXPECT_EQ(doc.TileStore.copy(0, 0, 256, 512), original.TileStore);
    EXPECT_EQ(doc.TileStore.copy(0, 512, 256, 256), makePixelStore(256));
    EXPECT_EQ(doc.PaletteIndex, original.PaletteIndex);

    prompts.queue(Answer::No);
    EXPECT_FALSE(removeTilePage(doc, prompts));
    for (int pages = MaxTilePages; pages > 1; --pages) {
        prompts.queue(Answer::Yes);
        ASSERT_TRUE(removeTilePage(doc, prompts));
    }
    EXPECT_FALSE(removeTilePage(doc, prompts));
    EXPECT_EQ(prompts.shown().last(), RemoveTilePageQuestion);
    EXPECT_EQ(doc.TileStore, original.TileStore.copy(0, 0, 256, 256));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Tiles, RawImportRefusesAnythingButOneTo62Pages) {
    QImage colour(256, 256, QImage::Format_RGB32);
    colour.fill(Qt::blue);
    saveBitmap24(dir.path("deep.bmp"), colour);
    const struct {
        QString path;
        const char *shape;
    } cases[] = {
        {saveInput("narrow.bmp", stripes(255, 256)), "3 bit size: 255*256"},
        {saveInput("low.bmp", stripes(256, 300)), "3 bit size: 256*300"},
        {saveInput("tall.bmp", stripes(256, 63 * 256)), "3 bit size: 256*16128"},
    };
    for (const auto &c : cases) {
        ScriptedPrompts asked;
        asked.queueText(c.path);
        EXPECT_FALSE(importRawTiles(doc, asked, log));
        EXPECT_EQ(
            asked.messages(),
            QStringList{QStringLiteral("error: tile graphics must be an 8 bit bitmap 256 pixels wide and 256 "
                                       "to 15872 pixels high in steps of 256 (1 to 62 pages of 16 tiles)."
                                       "\ryour bitmap pixel format is: %1 pixels.")
                            .arg(QLatin1String(c.shape))});
    }
    // A true-colour store is read by its colours: blue is no grey level, and the user cancels.
    ScriptedPrompts asked;
    asked.queueText(dir.path("deep.bmp"));
    asked.queueColours(MissingColoursAnswer::Cancel);
    EXPECT_FALSE(importRawTiles(doc, asked, log));
    EXPECT_TRUE(asked.allAnswersUsed());
    EXPECT_TRUE(asked.messages().isEmpty());
    prompts.queueText(saveInput("most.bmp", stripes(256, 62 * 256)));
    // The stripes are not grey; their indexes are taken as stored.
    prompts.queueColours(MissingColoursAnswer::KeepIndexes);
    EXPECT_TRUE(importRawTiles(doc, prompts, log));
    EXPECT_EQ(tileCount(doc.TileStore), 992);
    prompts.queueText(dir.path("missing.bmp"));
    EXPECT_THROW(importRawTiles(doc, prompts, log), EditorError);
}

} // namespace
