// Style files go out as folders and come back through vyr2-sty byte for byte; edits made the way
// modders make them (a paint program, a text editor) change exactly what they edit; a broken
// folder is refused naming the file and field, and nothing is written.

#include "clitest.h"

#include "fileio.h"
#include "folderfiles.h"
#include "log.h"
#include "packstyle.h"
#include "pngbytes.h"
#include "progress.h"
#include "randomstyle.h"
#include "scriptedprompts.h"
#include "stylebytes.h"
#include "stylereader.h"
#include "stylewriter.h"
#include "unpackstyle.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString &path) {
    return readWholeFile(path);
}

void putFile(const QString &path, const QByteArray &bytes) {
    writeWholeFileAtomic(path, bytes, Durability::Deferred);
}

// Offset in a "CARI" payload of byte `field` of record `car`, walking the records as laid out.
qsizetype carFieldOffset(const QByteArray &cari, int car, int field) {
    qsizetype at = 0;
    for (int i = 0; i < car; ++i) {
        const int remaps = uchar(cari[at + 4]);
        const int doors = uchar(cari[at + 14 + remaps]);
        at += 14 + remaps + 1 + 2 * doors;
    }
    return at + field;
}

// Where the deltas of `sprite` start in "DELS", walking the "DELX" entries as laid out.
qsizetype deltaStart(const QByteArray &delx, int sprite) {
    qsizetype start = 0;
    for (qsizetype at = 0; at + 4 <= delx.size();) {
        const int entrySprite = uchar(delx[at]) | uchar(delx[at + 1]) << 8;
        const int count = uchar(delx[at + 2]);
        if (entrySprite == sprite)
            return start;
        for (int d = 0; d < count; ++d)
            start += uchar(delx[at + 4 + 2 * d]) | uchar(delx[at + 5 + 2 * d]) << 8;
        at += 4 + 2 * count;
    }
    return -1;
}

struct Folders : CliTest {
    // `name`.sty written by the sample command, resaved as `name`-resaved.sty and unpacked into
    // the folder `name`.
    void unpackSample(const QString &name, bool large = false) {
        QStringList sample{"sample", "--force"};
        if (large)
            sample << "--large";
        ASSERT_EQ(run(sample << dir.path(name + ".sty")), 0) << err.toStdString();
        ASSERT_EQ(run({"resave", dir.path(name + ".sty"), dir.path(name + "-resaved.sty")}), 0);
        ASSERT_EQ(run({"unpack", dir.path(name + ".sty"), dir.path(name)}), 0) << err.toStdString();
    }
    QByteArray resaved(const QString &name) { return fileBytes(dir.path(name + "-resaved.sty")); }
    // Packs the folder as `out`; the packed bytes, or empty when refused.
    QByteArray pack(const QString &name, const QString &out, QStringList options = {}) {
        if (run(QStringList{"pack", dir.path(name), dir.path(out)} + options) != 0)
            return QByteArray();
        return fileBytes(dir.path(out));
    }
};

TEST_F(Folders, AnUntouchedFolderPacksToTheResavedFileAndKeepsUnknownChunksOnlyWhenAsked) {
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large ? "large sample" : "sample");
        const QString name = large ? QStringLiteral("large") : QStringLiteral("small");
        unpackSample(name, large);
        EXPECT_TRUE(QFileInfo(dir.path(name + "/nyc.gci")).isFile());
        EXPECT_TRUE(QFileInfo(dir.path(name + "/tiles/tile_0000.png")).isFile());
        const QByteArray packed = pack(name, name + "-packed.sty");
        EXPECT_EQ(firstDifference(packed, resaved(name)), -1) << err.toStdString();
    }

    // Two chunks the editor does not know, one with a tag no file name can hold as it is.
    QByteArray file = fileBytes(dir.path("small.sty"));
    const QByteArray odd = QByteArray("a/\0b", 4);
    file += styleFile({{"ZZZZ", "first"}}).mid(FileHeaderSize);
    file += styleFile({{odd.constData(), "second"}}).mid(FileHeaderSize);
    putFile(dir.path("unknown.sty"), file);
    ASSERT_EQ(run({"resave", dir.path("unknown.sty"), dir.path("unknown-resaved.sty")}), 0);
    ASSERT_EQ(run({"unpack", dir.path("unknown.sty"), dir.path("unknown")}), 0) << err.toStdString();
    EXPECT_EQ(fileBytes(dir.path("unknown/raw/ZZZZ.bin")), "first");
    EXPECT_EQ(pack("unknown", "dropped.sty"), resaved("unknown"));
    const QByteArray kept = pack("unknown", "kept.sty", {"--keep-unknown"});
    EXPECT_EQ(kept, resaved("unknown") +
                        styleFile({{"ZZZZ", "first"}, {odd.constData(), "second"}}).mid(FileHeaderSize));

    // A folder that is not empty is never written into.
    EXPECT_EQ(run({"unpack", dir.path("small.sty"), dir.path("small")}), 1);
    EXPECT_TRUE(err.contains("is not an empty folder")) << err.toStdString();
}

TEST_F(Folders, RandomStylesAndEveryPaletteCountComeBackByteForByte) {
    SampleRng rng(16);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        StyleDocument generated = randomStyle(rng);
        StyleDocument saved, loaded;
        SilentProgress progress;
        LineLog log;
        ScriptedPrompts prompts;
        const QByteArray file = serializeStyle(generated, saved, progress, log);
        ASSERT_TRUE(readStyle(loaded, file, prompts, progress, log));
        const QByteArray resavedFile = serializeStyle(loaded, saved, progress, log);

        const QByteArray packed =
            packStyle(memoryFolder(unpackStyle(loaded, file, std::nullopt)), false, prompts, log);
        ASSERT_EQ(firstDifference(packed, resavedFile), -1);
    }
    // Every palette count the store allows, with the slots past the count on the last page of 64
    // holding bytes of their own.
#ifdef VYR2_ASAN
    const int step = 9; // coprime to 64: every place in a page still comes up, at a fraction of the time
#else
    const int step = 1;
#endif
    for (int count = 1; count <= PaletteStoreCapacity; count += step) {
        SCOPED_TRACE(count);
        StyleDocument generated;
        generated.PhysicalPaletteCount = count;
        for (int at = 0; at < count * PaletteBytes; ++at)
            generated.PhysicalPalettes[at] = char(rng.below(256));
        StyleDocument saved, loaded;
        SilentProgress progress;
        LineLog log;
        ScriptedPrompts prompts;
        const QByteArray file = serializeStyle(generated, saved, progress, log);
        ASSERT_TRUE(readStyle(loaded, file, prompts, progress, log));
        const QByteArray packed =
            packStyle(memoryFolder(unpackStyle(loaded, file, std::nullopt)), false, prompts, log);
        ASSERT_EQ(firstDifference(packed, serializeStyle(loaded, saved, progress, log)), -1);
    }
}

TEST_F(Folders, PaintedPicturesAnEditedPaletteAndAnEditedCarChangeExactlyThat) {
    unpackSample("s");
    const auto before = styleChunks(resaved("s"));

    // Tile 3 and sprite 2 painted with a colour their palettes hold, saved the way Pillow saves.
    const auto paint = [&](const QString &file) {
        QImage picture;
        EXPECT_TRUE(picture.load(dir.path("s/" + file)));
        const QList<QRgb> colours = picture.colorTable();
        // An entry whose colour no other entry holds, so its index is the only right one.
        int entry = 1;
        while (colours.count(colours[entry]) > 1)
            ++entry;
        for (int y = 0; y < picture.height() / 2; ++y)
            for (int x = 0; x < picture.width() / 2; ++x)
                picture.setPixel(x, y, uint(entry));
        putFile(dir.path("s/" + file), pillowPng(picture));
        return std::make_pair(picture, entry);
    };
    const auto [tile, tileEntry] = paint("tiles/tile_0003.png");
    const auto [sprite, spriteEntry] = paint("sprites/sprite_0002.png");
    QJsonObject json = QJsonDocument::fromJson(fileBytes(dir.path("s/style.json"))).object();
    QJsonArray cars = json["cars"].toArray();
    QJsonObject car = cars[2].toObject();
    const int passengers = car["passengers"].toInt() + 1;
    car["passengers"] = passengers;
    cars[2] = car;
    json["cars"] = cars;
    putFile(dir.path("s/style.json"), QJsonDocument(json).toJson());
    // Colour 10 of palette 4 in the text palette; the pictures it shows keep their indexes.
    QList<QByteArray> pal = fileBytes(dir.path("s/palettes/palette_004.pal")).split('\n');
    pal[3 + 10] = "1 2 3\r";
    putFile(dir.path("s/palettes/palette_004.pal"), pal.join('\n'));

    const QByteArray packed = pack("s", "edited.sty");
    ASSERT_FALSE(packed.isEmpty()) << err.toStdString();
    auto after = styleChunks(packed);

    // Every pixel of the painted block takes the entry; every other pixel keeps its colour, and
    // its index where its colour is in one entry only.
    const auto expectBlock = [](const QByteArray &store, int top, int left, const QImage &painted, int entry,
                                const QByteArray &old) {
        QByteArray expected = old;
        for (int y = 0; y < painted.height(); ++y)
            for (int x = 0; x < painted.width(); ++x) {
                const qsizetype at = qsizetype(top + y) * 256 + left + x;
                if (y < painted.height() / 2 && x < painted.width() / 2)
                    expected[at] = char(entry);
                else if (painted.colorTable().count(painted.color(uchar(old[at]))) > 1)
                    expected[at] = store[at]; // another entry of the same colour may be taken
            }
        EXPECT_EQ(firstDifference(store, expected), -1);
    };
    expectBlock(after["TILE"], 0, 192, tile, tileEntry, before.at("TILE"));
    const QByteArray sprx = before.at("SPRX");
    const int x = uchar(sprx[2 * 8]), y = uchar(sprx[2 * 8 + 1]), page = uchar(sprx[2 * 8 + 2]);
    expectBlock(after["SPRG"], page * 256 + y, x, sprite, spriteEntry, before.at("SPRG"));

    QByteArray ppal = before.at("PPAL");
    const int colour = 10 * 256 + 4 * 4;
    ppal[colour] = 3; // blue, green, red
    ppal[colour + 1] = 2;
    ppal[colour + 2] = 1;
    EXPECT_EQ(firstDifference(after["PPAL"], ppal), -1);
    QByteArray cari = before.at("CARI");
    cari[carFieldOffset(cari, 2, 5)] = char(passengers);
    EXPECT_EQ(after["CARI"], cari);
    auto rest = before;
    for (const char *tag : {"TILE", "SPRG", "CARI", "PPAL"}) {
        after.erase(tag);
        rest.erase(tag);
    }
    EXPECT_EQ(after, rest);
}

TEST_F(Folders, AnEditedDeltaSheetIsEncodedAgainAndEditedDeltaBytesAreTaken) {
    unpackSample("s");
    // One pixel of cell 0 of sprite 0's sheet takes a colour of the sprite's palette held once.
    QImage sheet;
    ASSERT_TRUE(sheet.load(dir.path("s/deltas/sprite_0000.png")));
    const QList<QRgb> colours = sheet.colorTable();
    int entry = 1;
    while (colours.count(colours[entry]) > 1 || entry == sheet.pixelIndex(1, 1))
        ++entry;
    const QImage original = sheet;
    const QByteArray indexedOriginal = fileBytes(dir.path("s/deltas/sprite_0000.png"));
    sheet.setPixel(1, 1, uint(entry));
    putFile(dir.path("s/deltas/sprite_0000.png"), pillowPng(sheet));
    ASSERT_FALSE(pack("s", "edited.sty").isEmpty()) << err.toStdString();
    EXPECT_NE(styleChunks(fileBytes(dir.path("edited.sty"))).at("DELS"),
              styleChunks(resaved("s")).at("DELS"));

    // The sheet of the packed file shows the painted pixel and every other pixel as before.
    ASSERT_EQ(run({"deltas", dir.path("edited.sty"), "0", dir.path("sheet.bmp")}), 0) << err.toStdString();
    QImage drawn;
    ASSERT_TRUE(drawn.load(dir.path("sheet.bmp")));
    ASSERT_EQ(drawn.size(), original.size());
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            ASSERT_EQ(drawn.pixel(x, y) | 0xFF000000u,
                      (x == 1 && y == 1 ? colours[entry] : original.pixel(x, y)) | 0xFF000000u)
                << x << "," << y;

    // The last byte of sprite 1's deltas changed in its .bin file: exactly that byte of the store.
    QByteArray bytes = fileBytes(dir.path("s/deltas/sprite_0001.bin"));
    ASSERT_FALSE(bytes.isEmpty());
    bytes[bytes.size() - 1] = char(bytes.back() ^ 1);
    putFile(dir.path("s/deltas/sprite_0001.bin"), bytes);
    putFile(dir.path("s/deltas/sprite_0000.png"), indexedOriginal);
    const auto packed = styleChunks(pack("s", "bytes.sty"));
    const auto before = styleChunks(resaved("s"));
    QByteArray dels = before.at("DELS");
    const qsizetype at = deltaStart(before.at("DELX"), 1) + bytes.size() - 1;
    dels[at] = char(dels[at] ^ 1);
    EXPECT_EQ(firstDifference(packed.at("DELS"), dels), -1);
    EXPECT_EQ(packed.at("DELX"), before.at("DELX"));
}

TEST_F(Folders, ABrokenFolderIsRefusedNamingFileAndFieldAndNothingIsWritten) {
    unpackSample("s");
    QImage small(32, 32, QImage::Format_Indexed8);
    small.setColorTable({qRgb(0, 0, 0)});
    small.fill(0);
    QByteArray smallPng, colourPng;
    {
        QImage tile;
        ASSERT_TRUE(tile.load(dir.path("s/tiles/tile_0000.png")));
        QBuffer a(&smallPng), b(&colourPng);
        a.open(QIODevice::WriteOnly);
        b.open(QIODevice::WriteOnly);
        small.save(&a, "PNG");
        tile.convertToFormat(QImage::Format_RGB32).save(&b, "PNG");
    }
    const QByteArray json = fileBytes(dir.path("s/style.json"));
    const auto edited = [&](const char *from, const char *to) {
        QByteArray text = json;
        const qsizetype at = text.indexOf(from);
        EXPECT_GE(at, 0) << from;
        return text.replace(at, qstrlen(from), to);
    };
    const struct {
        const char *file;
        QByteArray bytes;
        const char *expected;
    } cases[] = {
        {"style.json", json.left(json.size() / 2), "style.json: line "},
        {"style.json", edited("\"passengers\": ", "\"passengers\": 300"),
         "style.json: cars[0].passengers: 300"},
        {"style.json", edited("\"w\": ", "\"w\": -"), "style.json: cars[0].w: "},
        {"style.json", edited("\"tile\": [", "\"tile\": [ 1,"), "style.json: palette_index.tile: "},
        {"tiles/tile_0000.png", smallPng,
         "tiles/tile_0000.png: the picture is 32*32 pixels; tile 0 is 64*64"},
        {"sprites/sprite_0001.png", colourPng, "sprites/sprite_0001.png: a true-colour PNG"},
        {"palettes/palette_004.pal", "JASC-PAL\r\n0100\r\n256\r\n1 2 3\r\n",
         "palettes/palette_004.pal: line 5"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        const QString path = dir.path(QStringLiteral("s/") + c.file);
        const QByteArray original = fileBytes(path);
        putFile(path, c.bytes);
        EXPECT_EQ(run({"pack", dir.path("s"), dir.path("out.sty")}), 1);
        EXPECT_TRUE(err.contains(c.expected)) << err.toStdString();
        EXPECT_TRUE(err.contains("nothing was written")) << err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.path("out.sty")));
        putFile(path, original);
    }
    EXPECT_EQ(pack("s", "out.sty"), resaved("s"));
}

} // namespace
