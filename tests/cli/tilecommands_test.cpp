#include "clitest.h"

#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "style/stylereader.h"
#include "support/scriptedprompts.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct TileCommands : CliTest {
    void SetUp() override { ASSERT_EQ(run({"sample", dir.path("start.sty")}), 0) << err.toStdString(); }

    bool load(StyleDocument &doc, const QString &name) {
        ScriptedPrompts prompts;
        SilentProgress progress;
        LineLog log;
        return opensty(doc, dir.path(name), prompts, progress, log);
    }
};

TEST_F(TileCommands, ExportedTilesImportedBackKeepEveryByte) {
    // The folder is made.
    ASSERT_EQ(run({"export-tiles", dir.path("start.sty"), dir.path("tiles"), "--pattern", "t%03d.bmp"}), 0)
        << err.toStdString();
    EXPECT_EQ(out, QStringLiteral("32 tiles saved to \"%1/\"\n").arg(dir.path("tiles")));
    EXPECT_EQ(QDir(dir.path("tiles")).entryList(QDir::Files).size(), 32);
    const LoadedBitmap tile = loadBitmap(dir.path("tiles/t017.bmp"));
    EXPECT_EQ(tile.pixelFormatCode, Pf8Bit);
    EXPECT_EQ(tile.image.size(), QSize(64, 64));

    for (const char *choice : {"keep", "import:17"}) {
        ASSERT_EQ(run({"import-tile", dir.path("start.sty"), "17", dir.path("tiles/t017.bmp"),
                       dir.path("back.sty"), "--palette", choice}),
                  0)
            << err.toStdString();
        EXPECT_EQ(readWholeFile(dir.path("back.sty")), readWholeFile(dir.path("start.sty"))) << choice;
    }
}

TEST_F(TileCommands, ImportTileMapsTheTileToTheGivenPalette) {
    ASSERT_EQ(run({"export-tiles", dir.path("start.sty"), dir.path("") + "/"}), 0) << err.toStdString();
    ASSERT_EQ(run({"import-tile", dir.path("start.sty"), "3", dir.path("VYR2_TILE_3.bmp"),
                   dir.path("mapped.sty"), "--palette", "map:77"}),
              0)
        << err.toStdString();
    StyleDocument start, mapped;
    ASSERT_TRUE(load(start, "start.sty"));
    ASSERT_TRUE(load(mapped, "mapped.sty"));
    EXPECT_EQ(mapped.PaletteIndex[3], 77);
    mapped.PaletteIndex[3] = start.PaletteIndex[3];
    EXPECT_EQ(mapped, start);
}

TEST_F(TileCommands, BadArgumentsAndBitmapsFailWithTheReason) {
    EXPECT_EQ(run({"import-tile", dir.path("start.sty"), "3", dir.path("x.bmp"), dir.path("o.sty"),
                   "--palette", "map:"}),
              2);
    EXPECT_TRUE(err.contains("--palette takes keep, map:N or import:N, not \"map:\""));
    EXPECT_EQ(run({"import-tile", dir.path("start.sty"), "three", dir.path("x.bmp"), dir.path("o.sty")}), 2);
    EXPECT_TRUE(err.contains("\"three\" is not a tile number"));
    EXPECT_EQ(run({"export-tiles", dir.path("start.sty"), dir.path(""), "--pattern", "%s"}), 1);
    EXPECT_TRUE(err.contains("The file name pattern \"%s\" cannot be used"));

    ASSERT_EQ(run({"export-raw-tiles", dir.path("start.sty"), dir.path("raw")}), 0) << err.toStdString();
    EXPECT_EQ(run({"import-tile", dir.path("start.sty"), "0", dir.path("raw.bmp"), dir.path("o.sty")}), 1);
    // The message's second line starts a line of its own on the terminal.
    EXPECT_TRUE(err.contains("\nyour bitmap pixel format is: 3 bit size: 256*512 pixels.\n"))
        << err.toStdString();
    EXPECT_FALSE(err.contains('\r'));
    EXPECT_FALSE(QFile::exists(dir.path("o.sty")));
}

TEST_F(TileCommands, RawTilesGoOutAndComeBackUnchanged) {
    ASSERT_EQ(run({"export-raw-tiles", dir.path("start.sty"), dir.path("raw.tga")}), 0) << err.toStdString();
    EXPECT_EQ(out, QStringLiteral("saved to \"%1\"\n").arg(dir.path("raw.bmp")));
    ASSERT_EQ(run({"import-raw-tiles", dir.path("start.sty"), dir.path("raw.bmp"), dir.path("back.sty")}), 0)
        << err.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("back.sty")), readWholeFile(dir.path("start.sty")));

    ASSERT_EQ(run({"export-palettes", dir.path("start.sty"), dir.path("table.bmp")}), 0);
    EXPECT_EQ(run({"import-raw-tiles", dir.path("start.sty"), dir.path("table.bmp"), dir.path("no.sty")}), 1);
    EXPECT_TRUE(err.contains("error: tile graphics must be an 8 bit bitmap"));
    EXPECT_FALSE(QFile::exists(dir.path("no.sty")));
}

} // namespace
