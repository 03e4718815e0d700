#include "clitest.h"
#include "support/tempdir.h"

#include "platform/fileio.h"
#include "style/stylereader.h"
#include "support/stylebytes.h"

#include <QDir>
#include <QImage>
#include <QTextStream>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

struct PaletteCommands : CliTest {
    void SetUp() override { ASSERT_EQ(run({"sample", dir.path("start.sty")}), 0) << err.toStdString(); }
};

TEST_F(PaletteCommands, PaletteTableRoundTripKeepsEveryByte) {
    ASSERT_EQ(run({"export-palettes", dir.path("start.sty"), dir.path("table")}), 0) << err.toStdString();
    EXPECT_EQ(out, QStringLiteral("saved to \"%1\"\n").arg(dir.path("table.bmp")));
    ASSERT_EQ(run({"import-palettes", dir.path("start.sty"), dir.path("table.bmp"), dir.path("back.sty"),
                   "--verbose"}),
              0)
        << err.toStdString();
    EXPECT_TRUE(out.contains("saved chunk \"PPAL\""));
    EXPECT_EQ(readWholeFile(dir.path("back.sty")), readWholeFile(dir.path("start.sty")));
}

TEST_F(PaletteCommands, TextPaletteRoundTripKeepsEveryByte) {
    ASSERT_EQ(run({"export-pal", dir.path("start.sty"), "3", dir.path("three")}), 0) << err.toStdString();
    EXPECT_TRUE(readWholeFile(dir.path("three.pal")).startsWith("JASC-PAL\r\n"));
    ASSERT_EQ(run({"import-pal", dir.path("start.sty"), "3", dir.path("three.pal"), dir.path("back.sty")}), 0)
        << err.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("back.sty")), readWholeFile(dir.path("start.sty")));

    ASSERT_EQ(run({"import-pal", dir.path("start.sty"), "4", dir.path("three.pal"), dir.path("four.sty")}),
              0);
    EXPECT_NE(readWholeFile(dir.path("four.sty")), readWholeFile(dir.path("start.sty")));
}

TEST_F(PaletteCommands, RefusalsFailWithTheirMessageAndWriteNothing) {
    writeWholeFileAtomic(dir.path("weed.pal"), "jasc-pal\r\n0100\r\n256\r\n");
    EXPECT_EQ(run({"import-pal", dir.path("start.sty"), "0", dir.path("weed.pal"), dir.path("out.sty")}), 1);
    EXPECT_EQ(err, "This is not a 256-color jasc palette.. it looks more like weed to me.\n");

    ASSERT_EQ(run({"export-pal", dir.path("start.sty"), "0", dir.path("zero.pal")}), 0);
    EXPECT_EQ(run({"import-palettes", dir.path("start.sty"), dir.path("zero.pal"), dir.path("out.sty")}), 1);
    EXPECT_FALSE(err.isEmpty()) << "a text file is no bitmap";
    EXPECT_EQ(run({"export-pal", dir.path("start.sty"), "seven", dir.path("x.pal")}), 1);
    EXPECT_EQ(err, "'seven' is not a valid integer value\n");
    EXPECT_EQ(run({"export-pal", dir.path("start.sty"), "3"}), 2);
    EXPECT_EQ(err, "export-pal: missing OUT.pal; see: vyr2-sty help export-pal\n");
    EXPECT_FALSE(QFile::exists(dir.path("out.sty")));
    EXPECT_FALSE(QFile::exists(dir.path("x.pal")));
}

// The sample saves 128 palettes; a number past them would be written where no save reaches.
TEST_F(PaletteCommands, EveryCommandRefusesAPaletteTheFileDoesNotHave) {
    ASSERT_EQ(run({"export-pal", dir.path("start.sty"), "127", dir.path("last")}), 0) << err.toStdString();
    ASSERT_EQ(run({"export-tiles", dir.path("start.sty"), dir.path("")}), 0) << err.toStdString();
    ASSERT_EQ(run({"export-sprites", dir.path("start.sty"), dir.path(""), "--start", "2", "--end", "2"}), 0);
    const QString tile = dir.path("VYR2_TILE_1.bmp"), car = dir.path("VYR2_CAR_2.bmp");
    const std::pair<int, QStringList> commands[] = {
        {128, {"export-pal", dir.path("start.sty"), "128", dir.path("x.pal")}},
        {128, {"import-pal", dir.path("start.sty"), "128", dir.path("last.pal"), dir.path("out.sty")}},
        {128,
         {"import-tile", dir.path("start.sty"), "1", tile, dir.path("out.sty"), "--palette", "import:128"}},
        {200, {"import-tile", dir.path("start.sty"), "1", tile, dir.path("out.sty"), "--palette", "map:200"}},
        {128,
         {"import-sprite", dir.path("start.sty"), "2", car, dir.path("out.sty"), "--choice", "into-chosen",
          "--palette", "128"}},
        {703,
         {"import-sprite", dir.path("start.sty"), "2", car, dir.path("out.sty"), "--choice", "palette-hack",
          "--palette", "703"}},
    };
    for (const auto &[palette, command] : commands) {
        SCOPED_TRACE(command.join(' ').toStdString());
        EXPECT_EQ(run(command), 1);
        EXPECT_EQ(err,
                  QStringLiteral("There is no palette %1: this style file has 128 palettes (0 to 127).\n")
                      .arg(palette));
    }
    EXPECT_FALSE(QFile::exists(dir.path("out.sty")));
    EXPECT_FALSE(QFile::exists(dir.path("x.pal")));
}

TEST_F(PaletteCommands, PaletteCountsStepToWholePagesAndStylesWithoutPalettesCanImportThem) {
    // The sample's palettes cut to 100 in the file: 100 palettes of 1024 bytes.
    const QByteArray start = readWholeFile(dir.path("start.sty"));
    std::vector<Chunk> hundred, bare;
    const std::map<QByteArray, QByteArray> chunks = styleChunks(start);
    for (const auto &[tag, payload] : chunks) {
        hundred.push_back({tag.constData(), tag == "PPAL" ? payload.left(100 * 1024) : payload});
        if (tag != "PPAL")
            bare.push_back({tag.constData(), payload});
    }
    writeWholeFileAtomic(dir.path("hundred.sty"), styleFile(hundred));
    writeWholeFileAtomic(dir.path("bare.sty"), styleFile(bare));
    const auto paletteBytes = [&](const char *name) {
        return styleChunks(readWholeFile(dir.path(name))).at("PPAL").size();
    };

    // What a count of 64 leaves black, read from the file: tile t shows virtual palette t, sprite s
    // the one past the tiles' count plus s.
    const QByteArray palx = chunks.at("PALX"), palb = chunks.at("PALB");
    const auto word = [](const QByteArray &bytes, qsizetype at) {
        return qFromLittleEndian<quint16>(bytes.constData() + 2 * at);
    };
    const qsizetype tiles = chunks.at("TILE").size() / (64 * 64), sprites = chunks.at("SPRX").size() / 8;
    int pointing = 0, blackTiles = 0, blackSprites = 0;
    for (qsizetype v = 0; v < palx.size() / 2; ++v) {
        const bool past = word(palx, v) >= 64;
        pointing += past;
        blackTiles += past && v < tiles;
        blackSprites += past && v >= word(palb, 0) && v < word(palb, 0) + sprites;
    }
    ASSERT_GT(blackTiles + blackSprites, 0);
    const QString shrinking = QStringLiteral("warning: %1 virtual palettes would point past the 64 physical "
                                             "palettes the file then keeps: %2 tiles and %3 sprites would "
                                             "show black. Go on?\n")
                                  .arg(pointing)
                                  .arg(blackTiles)
                                  .arg(blackSprites);

    ASSERT_EQ(run({"add-palettes", dir.path("hundred.sty"), dir.path("more.sty")}), 0) << err.toStdString();
    EXPECT_EQ(paletteBytes("more.sty"), 128 * 1024);
    EXPECT_EQ(err, QString()) << "no virtual palette points past 128";
    ASSERT_EQ(run({"remove-palettes", dir.path("hundred.sty"), dir.path("fewer.sty")}), 0)
        << err.toStdString();
    EXPECT_EQ(paletteBytes("fewer.sty"), 64 * 1024);
    EXPECT_EQ(err, shrinking);
    // A palette table of 64 columns shrinks the palettes the same way.
    ASSERT_EQ(run({"export-palettes", dir.path("start.sty"), dir.path("wide.bmp")}), 0);
    ASSERT_TRUE(QImage(dir.path("wide.bmp")).copy(0, 0, 64, 256).save(dir.path("narrow.bmp"), "BMP"));
    ASSERT_EQ(run({"import-palettes", dir.path("start.sty"), dir.path("narrow.bmp"), dir.path("cut.sty")}), 0)
        << err.toStdString();
    EXPECT_EQ(paletteBytes("cut.sty"), 64 * 1024);
    EXPECT_EQ(err, shrinking);
    EXPECT_EQ(run({"remove-palettes", dir.path("fewer.sty"), dir.path("none.sty")}), 1);
    EXPECT_EQ(err, "vyr2 sty file format will not allow you to have less than 64 palettes.\n");

    ASSERT_EQ(run({"info", dir.path("bare.sty")}), 0) << err.toStdString();
    EXPECT_TRUE(out.contains(NoPalettesMessage + '\n'));
    EXPECT_TRUE(out.contains("physical palettes: 0\n"));
    ASSERT_EQ(run({"sprite-info", dir.path("bare.sty"), "2"}), 0) << err.toStdString();
    // What the window disables without palettes is refused with its reason, nothing written.
    const QString none = dir.path("bare.sty"), bmp = dir.path("wide.bmp"), to = dir.path("to.sty");
    const QStringList refused[] = {
        {"export-palettes", none, dir.path("t.bmp")},
        {"add-palettes", none, to},
        {"remove-palettes", none, to},
        {"export-pal", none, "0", dir.path("t.pal")},
        {"import-pal", none, "0", dir.path("t.pal"), to},
        {"export-tiles", none, dir.path("")},
        {"import-tile", none, "0", bmp, to},
        {"export-raw-tiles", none, dir.path("t.bmp")},
        {"import-raw-tiles", none, bmp, to},
        {"export-sprites", none, dir.path("")},
        {"import-sprite", none, "2", bmp, to, "--choice", "pixels-only"},
        {"deltas", none, "2", dir.path("t.bmp")},
        {"import-deltas", none, "2", bmp, to},
        {"publish-car", none, "2", dir.path("t")},
        {"car-info", none, "2"},
        {"mirror-doors", none, to},
    };
    const QStringList before = QDir(dir.path("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QStringList &command : refused) {
        SCOPED_TRACE(command.join(' ').toStdString());
        EXPECT_EQ(run(command), 1);
        EXPECT_TRUE(err.endsWith(NoPalettesMessage + '\n')) << err.toStdString();
    }
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    ASSERT_EQ(run({"export-palettes", dir.path("start.sty"), dir.path("table.bmp")}), 0);
    ASSERT_EQ(run({"import-palettes", dir.path("bare.sty"), dir.path("table.bmp"), dir.path("back.sty")}), 0)
        << err.toStdString();
    EXPECT_EQ(styleChunks(readWholeFile(dir.path("back.sty"))), chunks);
}

} // namespace
