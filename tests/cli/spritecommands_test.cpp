#include "clitest.h"

#include "graphics/spriteentries.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"

#include <QDir>
#include <QImage>
#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace {

struct SpriteCommands : CliTest {
    void SetUp() override {
        ASSERT_EQ(run({"sample", dir.path("start.sty")}), 0) << err.toStdString();
        ASSERT_TRUE(load(start, "start.sty"));
    }

    bool load(StyleDocument &doc, const QString &name) {
        ScriptedPrompts prompts;
        SilentProgress progress;
        LineLog log;
        return opensty(doc, dir.path(name), prompts, progress, log);
    }

    StyleDocument start;
};

TEST_F(SpriteCommands, ExportedSpritesImportBackWithEveryChoiceKeepingTheFile) {
    ASSERT_TRUE(QDir().mkdir(dir.path("sprites")));
    ASSERT_EQ(
        run({"export-sprites", dir.path("start.sty"), dir.path("sprites"), "--start", "3", "--end", "6"}), 0)
        << err.toStdString();
    EXPECT_EQ(QDir(dir.path("sprites")).entryList(QDir::Files).size(), 4);
    const QString file = dir.path("sprites/" + SpriteFileName(start, 4));
    const LoadedBitmap bitmap = loadBitmap(file);
    EXPECT_EQ(bitmap.pixelFormatCode, Pf8Bit);

    const int palette = start.PaletteIndex[std::size_t(spriteVirtualPalette(start, 4))];
    for (const QStringList &choice :
         {QStringList{"--choice", "5"}, QStringList{"--choice", "pixels-only"},
          QStringList{"--choice", "change-only", "--palette", QString::number(palette)}}) {
        ASSERT_EQ(run(QStringList{"import-sprite", dir.path("start.sty"), "4", file, dir.path("back.sty")} +
                      choice),
                  0)
            << err.toStdString();
        EXPECT_EQ(readWholeFile(dir.path("back.sty")), readWholeFile(dir.path("start.sty")))
            << choice.join(' ').toStdString();
    }
}

// The import dialog's result codes, by number and by name, each doing what its row of the dialog's
// table says: picker (here --palette 40), colours written, pixels copied, mapping afterwards.
TEST_F(SpriteCommands, ImportChoicesTakeTheDialogsResultCodesAndNames) {
    const int sprite = 4;
    const int v = spriteVirtualPalette(start, sprite);
    const int own = start.PaletteIndex[std::size_t(v)];
    const int chosen = 40;
    ASSERT_NE(own, chosen);
    QImage painted = spriteGlyph(start, sprite);
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x)
            painted.setPixel(x, y, (x + 3 * y) % 256);
    QList<QRgb> colours;
    for (int c = 0; c < 256; ++c)
        colours.append(qRgb(c, 255 - c, (c * 7) % 256));
    painted.setColorTable(colours);
    saveBitmap8(dir.path("painted.bmp"), painted);

    struct Row {
        int code;
        const char *name;
        int writtenInto; // -1: no colours written
        bool copied;
        int mappedTo;
    };
    const Row rows[] = {
        {5, "over-current", own, true, own},   {1, "into-chosen", chosen, true, chosen},
        {2, "change-only", -1, false, chosen}, {3, "palette-hack", chosen, false, own},
        {4, "pixels-only", -1, true, own},
    };
    for (const Row &row : rows) {
        for (const QString &choice : {QString::number(row.code), QString::fromLatin1(row.name)}) {
            SCOPED_TRACE(choice.toStdString());
            const QStringList picked =
                row.code <= 3 ? QStringList{"--palette", QString::number(chosen)} : QStringList{};
            ASSERT_EQ(run(QStringList{"import-sprite", dir.path("start.sty"), QString::number(sprite),
                                      dir.path("painted.bmp"), dir.path("out.sty"), "--choice", choice,
                                      "--colours", "indexes"} +
                          picked),
                      0)
                << err.toStdString();
            StyleDocument saved;
            ASSERT_TRUE(load(saved, "out.sty"));
            EXPECT_EQ(saved.PaletteIndex[std::size_t(v)], row.mappedTo);
            for (const int p : {own, chosen})
                EXPECT_EQ(ClutToPal(saved, p), p == row.writtenInto ? colours : ClutToPal(start, p)) << p;
            const QImage glyph = spriteGlyph(saved, sprite);
            const QImage before = spriteGlyph(start, sprite);
            for (int y = 0; y < glyph.height(); ++y)
                ASSERT_EQ(QByteArray(reinterpret_cast<const char *>(glyph.constScanLine(y)), glyph.width()),
                          QByteArray(reinterpret_cast<const char *>(
                                         (row.copied ? painted : before).constScanLine(y)),
                                     glyph.width()))
                    << y;
        }
    }
    EXPECT_EQ(run({"import-sprite", dir.path("start.sty"), "4", dir.path("painted.bmp"), dir.path("o.sty"),
                   "--choice", "6"}),
              2);
    EXPECT_TRUE(err.contains("--choice needs one of 5 or over-current")) << err.toStdString();
}

TEST_F(SpriteCommands, EverySpriteExportedImportsBackLeavingTheFileAsItWas) {
    ASSERT_TRUE(QDir().mkdir(dir.path("all")));
    ASSERT_EQ(run({"export-sprites", dir.path("start.sty"), dir.path("all")}), 0) << err.toStdString();
    const QByteArray original = readWholeFile(dir.path("start.sty"));
    for (int sprite = 0; sprite < start.spriteCount(); ++sprite) {
        const QString file = dir.path("all/" + SpriteFileName(start, sprite));
        const LoadedBitmap bitmap = loadBitmap(file);
        const SpriteEntry &entry = start.SpriteIndex[std::size_t(sprite)];
        ASSERT_EQ(bitmap.pixelFormatCode, Pf8Bit) << sprite;
        ASSERT_EQ(bitmap.image.size(), QSize(entry.w, entry.h)) << sprite;
        ASSERT_EQ(bitmap.image.colorTable(), spriteColours(start, sprite)) << sprite;
        ASSERT_EQ(run({"import-sprite", dir.path("start.sty"), QString::number(sprite), file,
                       dir.path("back.sty"), "--choice", "pixels-only"}),
                  0)
            << err.toStdString();
        ASSERT_EQ(readWholeFile(dir.path("back.sty")), original) << sprite;
    }
}

TEST_F(SpriteCommands, RefusalsFailWithTheirReason) {
    EXPECT_EQ(run({"import-sprite", dir.path("start.sty"), "4", dir.path("x.bmp"), dir.path("o.sty")}), 2);
    EXPECT_TRUE(err.contains("--choice needs one of"));
    saveBitmap8(dir.path("small.bmp"), QImage(3, 3, QImage::Format_Indexed8));
    EXPECT_EQ(run({"import-sprite", dir.path("start.sty"), "4", dir.path("small.bmp"), dir.path("o.sty"),
                   "--choice", "4"}),
              1);
    EXPECT_TRUE(err.contains("error: bitmap must be 8 bit size")) << err.toStdString();
    EXPECT_EQ(run({"sprite-info", dir.path("start.sty"), "5000"}), 1);
    EXPECT_TRUE(err.contains("There is no sprite 5000"));
    EXPECT_FALSE(QFile::exists(dir.path("o.sty")));
}

// The picker's choices cannot run without a palette number (a cancelled picker would write the
// sprite's own palette), and the others have no use for one. A sprite mapped to a palette the file
// does not save cannot have colours written there.
TEST_F(SpriteCommands, PaletteNumbersAreNeededExactlyWhereThePickerOpensAndMustBeSaved) {
    const int sprite = 4;
    ASSERT_EQ(run({"export-sprites", dir.path("start.sty"), dir.path(""), "--start", "4", "--end", "4"}), 0);
    const QString file = dir.path(SpriteFileName(start, sprite));
    const auto importing = [&](const QString &style, const QStringList &options) {
        return run(
            QStringList{"import-sprite", dir.path(style), QString::number(sprite), file, dir.path("o.sty")} +
            options);
    };
    for (const char *choice : {"into-chosen", "1", "change-only", "palette-hack"}) {
        EXPECT_EQ(importing("start.sty", {"--choice", choice}), 2) << choice;
        EXPECT_EQ(err, QStringLiteral("vyr2-sty: --choice %1 needs --palette N\n").arg(choice));
    }
    for (const char *choice : {"pixels-only", "over-current", "5"}) {
        EXPECT_EQ(importing("start.sty", {"--choice", choice, "--palette", "3"}), 2) << choice;
        EXPECT_EQ(err, QStringLiteral("vyr2-sty: --choice %1 takes no --palette\n").arg(choice));
    }
    EXPECT_FALSE(QFile::exists(dir.path("o.sty")));

    StyleDocument past = start;
    const int count = past.PhysicalPaletteCount;
    past.PaletteIndex[std::size_t(spriteVirtualPalette(past, sprite))] = quint16(count + 2);
    ScriptedPrompts prompts;
    SilentProgress progress;
    LineLog log;
    ASSERT_FALSE(writeStyle(past, dir.path("past.sty"), prompts, progress, log).isEmpty());
    EXPECT_EQ(importing("past.sty", {"--choice", "over-current"}), 1);
    EXPECT_EQ(err, QStringLiteral("There is no palette %1: this style file has %2 palettes (0 to %3).\n")
                       .arg(count + 2)
                       .arg(count)
                       .arg(count - 1));
    EXPECT_FALSE(QFile::exists(dir.path("o.sty")));
    // Picked in its place, a palette the file saves takes the colours as usual.
    EXPECT_EQ(importing("past.sty", {"--choice", "palette-hack", "--palette", "7"}), 0) << err.toStdString();
}

// A paint program that put the body colour in entry 0: "over current palette" writes that order,
// so the body turns transparent and the transparent pixels opaque; the log and standard error
// say how many.
TEST_F(SpriteCommands, AnImportThatMovesTransparencySaysHowManyPixels) {
    const int sprite = 4;
    ASSERT_EQ(run({"export-sprites", dir.path("start.sty"), dir.path(""), "--start", "4", "--end", "4"}), 0);
    QImage picture = loadBitmap(dir.path(SpriteFileName(start, sprite))).image;
    std::array<int, 256> counts{};
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ++counts[std::size_t(picture.pixelIndex(x, y))];
    const int body = int(std::max_element(counts.begin() + 1, counts.end()) - counts.begin());
    ASSERT_GT(counts[0], 0);
    QList<QRgb> table = picture.colorTable();
    std::swap(table[0], table[body]);
    picture.setColorTable(table);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (const int index = picture.pixelIndex(x, y); index == 0 || index == body)
                picture.setPixel(x, y, uint(index == 0 ? body : 0));
    saveBitmap8(dir.path("swapped.bmp"), picture);

    ASSERT_EQ(run({"import-sprite", dir.path("start.sty"), "4", dir.path("swapped.bmp"), dir.path("o.sty"),
                   "--choice", "over-current"}),
              0)
        << err.toStdString();
    const QString change =
        QStringLiteral("sprite 4: %1 pixels become transparent, %2 stop being transparent.")
            .arg(counts[std::size_t(body)])
            .arg(counts[0]);
    EXPECT_EQ(err, "warning: " + change + "\n");
    EXPECT_TRUE(out.contains(change + "\n")) << out.toStdString();
    // The same picture with the sprite's own numbering changes nothing and says nothing.
    ASSERT_EQ(run({"import-sprite", dir.path("start.sty"), "4", dir.path(SpriteFileName(start, sprite)),
                   dir.path("o.sty"), "--choice", "over-current"}),
              0);
    EXPECT_EQ(err, "");
    EXPECT_FALSE(out.contains("transparent")) << out.toStdString();
}

TEST_F(SpriteCommands, InfoAndRenderShowWhatTheSpritesPageShows) {
    ASSERT_EQ(run({"sprite-info", dir.path("start.sty"), "12"}), 0);
    EXPECT_EQ(out, spriteInfo(start, 12).join('\n') + '\n');
    // A car sprite's lines end with its script name, as on the info panel: car 3 is model 11.
    ASSERT_EQ(run({"sprite-info", dir.path("start.sty"), "3"}), 0);
    EXPECT_EQ(out, spriteInfo(start, 3).join('\n') + "\nscript car name: BUS\n");
    ASSERT_EQ(run({"render-sprites", dir.path("start.sty"), dir.path("strip.png"), "--borders"}), 0);
    const QImage strip(dir.path("strip.png"));
    EXPECT_EQ(strip.size(), QSize(start.SpriteStore.height(), 256));
    EXPECT_EQ(strip.pixel(spriteRect(start.SpriteIndex[12]).topLeft()), qRgb(255, 0, 0));
}

TEST_F(SpriteCommands, RangeExportSkipsSpritesWithoutAPictureAndWritesTheRest) {
    StyleDocument gaps = start;
    gaps.SpriteIndex[4].w = 0;
    gaps.SpriteIndex[5].ptr = (gaps.SpriteIndex[5].ptr & 0xff00ffffu) | (200u << 16); // page 200
    ScriptedPrompts prompts;
    SilentProgress progress;
    LineLog log;
    ASSERT_FALSE(writeStyle(gaps, dir.path("gaps.sty"), prompts, progress, log).isEmpty());
    ASSERT_TRUE(QDir().mkdir(dir.path("sprites")));
    ASSERT_EQ(
        run({"export-sprites", dir.path("gaps.sty"), dir.path("sprites"), "--start", "3", "--end", "6"}), 0)
        << err.toStdString();
    EXPECT_EQ(QDir(dir.path("sprites")).entryList(QDir::Files),
              (QStringList{SpriteFileName(start, 3), SpriteFileName(start, 6)}));
    EXPECT_EQ(out, QStringLiteral("sprite 4 skipped: it is 0*%1 pixels, so it has no picture.\n"
                                  "sprite 5 skipped: it does not lie wholly on a page of the sprite graphics "
                                  "(page 200, x %2, y %3, %4*%5 pixels).\n"
                                  "2 sprites saved to \"%6\"\n")
                       .arg(start.SpriteIndex[4].h)
                       .arg(start.SpriteIndex[5].x())
                       .arg(start.SpriteIndex[5].y())
                       .arg(start.SpriteIndex[5].w)
                       .arg(start.SpriteIndex[5].h)
                       .arg(dir.path("sprites")));
    EXPECT_EQ(
        run({"export-sprites", dir.path("gaps.sty"), dir.path("sprites"), "--start", "4", "--end", "4"}), 1);
    EXPECT_EQ(err, "No sprite of the range has a picture to save.\n");
}

} // namespace
