#include "clitest.h"

#include "bitmapfile.h"
#include "fileio.h"
#include "log.h"
#include "palettelookup.h"
#include "progress.h"
#include "scriptedprompts.h"
#include "spriteentries.h"
#include "stylereader.h"
#include "stylewriter.h"

#include <QDir>
#include <QImage>
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
            ASSERT_EQ(run({"import-sprite", dir.path("start.sty"), QString::number(sprite),
                           dir.path("painted.bmp"), dir.path("out.sty"), "--choice", choice, "--palette",
                           QString::number(chosen), "--colours", "indexes"}),
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
              1);
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
    EXPECT_EQ(run({"import-sprite", dir.path("start.sty"), "4", dir.path("x.bmp"), dir.path("o.sty")}), 1);
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
