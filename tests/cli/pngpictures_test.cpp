// Tiles, sprites, the tile store and delta sheets through palette PNG files in vyr2-sty.

#include "clitest.h"

#include "platform/fileio.h"
#include "style/styledocument.h"
#include "support/pngbytes.h"
#include "support/stylebytes.h"

#include <QDir>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

const QByteArray PngSignature = QByteArrayLiteral("\x89PNG\r\n\x1a\n");

struct PngPictures : CliTest {
    void SetUp() override {
        ASSERT_EQ(run({"sample", dir.path("start.sty")}), 0) << err.toStdString();
        start = readWholeFile(dir.path("start.sty"));
    }

    bool isPng(const QString &name) { return readWholeFile(dir.path(name)).startsWith(PngSignature); }

    // The 64 * 64 bytes of tile `tile` in a TILE payload: page by page, four tiles a row.
    static QByteArray tileBytes(const QByteArray &tiles, int tile) {
        const qsizetype origin = (tile / 16) * 65536 + (tile % 16 / 4) * 64 * 256 + (tile % 4) * 64;
        QByteArray bytes;
        for (int y = 0; y < 64; ++y)
            bytes += tiles.mid(origin + y * 256, 64);
        return bytes;
    }

    QByteArray start;
};

TEST_F(PngPictures, EveryKindGoesOutAsPngAndComesBackIndexForIndex) {
    // One tile, with one pixel changed by Qt's own reader and writer, under its own palette.
    ASSERT_TRUE(QDir().mkdir(dir.path("tiles")));
    ASSERT_EQ(run({"export-tiles", dir.path("start.sty"), dir.path("tiles"), "--pattern", "t%d.png"}), 0)
        << err.toStdString();
    ASSERT_TRUE(isPng("tiles/t3.png"));
    QImage tile(dir.path("tiles/t3.png"));
    ASSERT_EQ(tile.format(), QImage::Format_Indexed8);
    tile.setPixel(5, 7, 201);
    ASSERT_TRUE(tile.save(dir.path("edited.png")));
    const int palette = qFromLittleEndian<quint16>(styleChunks(start).at("PALX").constData() + 3 * 2);
    ASSERT_EQ(run({"import-tile", dir.path("start.sty"), "3", dir.path("edited.png"), dir.path("tile.sty"),
                   "--palette", QStringLiteral("map:%1").arg(palette)}),
              0)
        << err.toStdString();
    std::map<QByteArray, QByteArray> expected = styleChunks(start);
    expected.at("TILE")[7 * 256 + 3 * 64 + 5] = char(201);
    EXPECT_EQ(styleChunks(readWholeFile(dir.path("tile.sty"))), expected);

    // The tile store, one sprite and a delta sheet, each back unchanged.
    ASSERT_EQ(run({"export-raw-tiles", dir.path("start.sty"), dir.path("raw.png")}), 0) << err.toStdString();
    ASSERT_TRUE(isPng("raw.png"));
    ASSERT_EQ(run({"import-raw-tiles", dir.path("start.sty"), dir.path("raw.png"), dir.path("raw.sty")}), 0)
        << err.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("raw.sty")), start);

    ASSERT_TRUE(QDir().mkdir(dir.path("sprites")));
    ASSERT_EQ(run({"export-sprites", dir.path("start.sty"), dir.path("sprites"), "--start", "4", "--end", "4",
                   "--png"}),
              0)
        << err.toStdString();
    const QStringList written = QDir(dir.path("sprites")).entryList(QDir::Files);
    ASSERT_EQ(written.size(), 1);
    ASSERT_TRUE(written[0].endsWith(".png") && isPng("sprites/" + written[0]));
    ASSERT_EQ(run({"import-sprite", dir.path("start.sty"), "4", dir.path("sprites/" + written[0]),
                   dir.path("sprite.sty"), "--choice", "pixels-only"}),
              0)
        << err.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("sprite.sty")), start);

    ASSERT_EQ(run({"deltas", dir.path("start.sty"), "4", dir.path("sheet.bmp")}), 0) << err.toStdString();
    ASSERT_EQ(run({"deltas", dir.path("start.sty"), "4", dir.path("sheet.png")}), 0) << err.toStdString();
    ASSERT_TRUE(isPng("sheet.png"));
    ASSERT_EQ(run({"import-deltas", dir.path("start.sty"), "4", dir.path("sheet.bmp"), dir.path("bmp.sty")}),
              0);
    ASSERT_EQ(run({"import-deltas", dir.path("start.sty"), "4", dir.path("sheet.png"), dir.path("png.sty")}),
              0)
        << err.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("png.sty")), readWholeFile(dir.path("bmp.sty")));
}

TEST_F(PngPictures, PalettePngsOfEveryBitDepthImportIndexForIndex) {
    // As Pillow writes them: a palette only as long as the colours used and the fewest bits that
    // hold it, here with a transparent first entry.
    const std::map<QByteArray, QByteArray> before = styleChunks(start);
    for (const int bits : {1, 2, 4, 8}) {
        PalettePngLayout layout{64, 64, bits, {}, QByteArray(1, '\0'), {}};
        // The 8-bit file's pixels also use indexes past its palette of 40 colours.
        for (int c = 0; c < (bits == 8 ? 40 : 1 << bits); ++c)
            layout.palette.append(qRgb(c, 255 - c, 3 * c % 256));
        for (int p = 0; p < 64 * 64; ++p)
            layout.indexes.append(char((p * 7 + p / 64) % (1 << bits)));
        const QString name = dir.path(QStringLiteral("pillow%1.png").arg(bits));
        writeWholeFileAtomic(name, pngFromLayout(layout));
        ASSERT_EQ(run({"import-tile", dir.path("start.sty"), "5", name, dir.path("out.sty"), "--palette",
                       "import:7"}),
                  0)
            << bits << err.toStdString();
        const std::map<QByteArray, QByteArray> after = styleChunks(readWholeFile(dir.path("out.sty")));
        EXPECT_EQ(tileBytes(after.at("TILE"), 5), layout.indexes) << bits;
        EXPECT_EQ(qFromLittleEndian<quint16>(after.at("PALX").constData() + 5 * 2), 7);
        // The file's colours go into palette 7; its other colours stay.
        for (int c = 0; c < 256; ++c) {
            const qsizetype at = physicalColourOffset(7, c);
            const QByteArray entry = after.at("PPAL").mid(at, 3);
            if (c < layout.palette.size())
                EXPECT_EQ(entry,
                          u8s({qBlue(layout.palette[c]), qGreen(layout.palette[c]), qRed(layout.palette[c])}))
                    << bits << " colour " << c;
            else
                EXPECT_EQ(entry, before.at("PPAL").mid(at, 3)) << bits << " colour " << c;
        }
    }

    writeWholeFileAtomic(dir.path("rgb.png"), rgbPngBytes(64, 64, qRgb(1, 2, 3)));
    // An RGB PNG has no palette to import.
    EXPECT_EQ(run({"import-tile", dir.path("start.sty"), "5", dir.path("rgb.png"), dir.path("no.sty"),
                   "--palette", "import:5"}),
              1);
    EXPECT_TRUE(err.contains("your bitmap pixel format is: 6 bit size: 64*64 pixels.\nThis is a true-colour "
                             "file"))
        << err.toStdString();
    writeWholeFileAtomic(dir.path("cut.png"),
                         pngFromLayout({64, 64, 8, {qRgb(0, 0, 0)}, {}, QByteArray(4096, 0)}).left(60));
    EXPECT_EQ(run({"import-tile", dir.path("start.sty"), "5", dir.path("cut.png"), dir.path("no.sty")}), 1);
    EXPECT_TRUE(err.startsWith(QStringLiteral("Cannot read PNG file"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.path("no.sty")));
}

} // namespace
