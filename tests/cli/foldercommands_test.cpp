// Style files go out as folders and come back through vyr2-sty byte for byte; edits made the way
// modders make them (a paint program, a text editor) change exactly what they edit; a broken
// folder is refused naming the file and field, and nothing is written.

#include "clitest.h"

#include "folder/folderfiles.h"
#include "folder/packstyle.h"
#include "folder/unpackstyle.h"
#include "graphics/spriteentries.h"
#include "palette/palettelookup.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "support/pngbytes.h"
#include "support/randomstyle.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
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

// Every file under `root` by its name relative to it; what is under .git left out.
std::map<QString, QByteArray> filesUnder(const QString &root) {
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString name = QDir(root).relativeFilePath(it.next());
        if (!name.startsWith(QLatin1String(".git/")))
            files[name] = readWholeFile(it.filePath());
    }
    return files;
}

const QDateTime LongAgo = QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);

// Dates every file under `root` long ago, so that a file written since stands out.
void dateLongAgo(const QString &root) {
    for (const auto &[name, bytes] : filesUnder(root)) {
        QFile file(QDir(root).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(LongAgo, QFileDevice::FileModificationTime));
    }
}
QStringList writtenSince(const QString &root) {
    QStringList written;
    for (const auto &[name, bytes] : filesUnder(root))
        if (QFileInfo(QDir(root).filePath(name)).lastModified() != LongAgo)
            written.append(name);
    return written;
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

TEST_F(Folders, RandomStylesAndPaletteCountsAtEveryPlaceInAPageComeBackByteForByte) {
    // pack(unpack(f)) against the file the reader and writer make of f.
    const auto comesBack = [](const StyleDocument &generated) {
        StyleDocument saved, loaded;
        SilentProgress progress;
        LineLog log;
        ScriptedPrompts prompts;
        const QByteArray file = serializeStyle(generated, saved, progress, log);
        EXPECT_TRUE(readStyle(loaded, file, prompts, progress, log));
        const QByteArray packed =
            packStyle(memoryFolder(unpackStyle(loaded, file, std::nullopt)), false, prompts, log);
        return firstDifference(packed, serializeStyle(loaded, saved, progress, log));
    };
    SampleRng rng(16);
    for (int round = 0; round < 200; ++round)
        ASSERT_EQ(comesBack(randomStyle(rng)), -1) << "round " << round;
    // Palette counts across the whole store, with the slots past the count on the last page of 64
    // holding bytes of their own. A step coprime to 64 puts the count at every place in a page and
    // on every page, at a ninth of the time of every count; the fullest store comes last.
    for (int count = 1;; count = std::min(count + 9, PaletteStoreCapacity)) {
        StyleDocument generated;
        generated.PhysicalPaletteCount = count;
        for (int at = 0; at < count * PaletteBytes; ++at)
            generated.PhysicalPalettes[at] = char(rng.below(256));
        ASSERT_EQ(comesBack(generated), -1) << count << " palettes";
        if (count == PaletteStoreCapacity)
            break;
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

    // The last byte of sprite 1's deltas changed in its .bin file of a fresh folder: exactly that
    // byte of the store.
    ASSERT_EQ(run({"unpack", dir.path("s.sty"), dir.path("t")}), 0) << err.toStdString();
    QByteArray bytes = fileBytes(dir.path("t/deltas/sprite_0001.bin"));
    ASSERT_FALSE(bytes.isEmpty());
    bytes[bytes.size() - 1] = char(bytes.back() ^ 1);
    putFile(dir.path("t/deltas/sprite_0001.bin"), bytes);
    const auto packed = styleChunks(pack("t", "bytes.sty"));
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
        {"style.json", edited("{\"n\": 1, \"x\"", "{\"n\": 2, \"x\""),
         "style.json: sprites[1].n: 2, but the entry is number 1"},
        {"style.json", edited("\"$schema\": \"style.schema.json\"", "\"$schema\": 5"),
         "style.json: $schema: "},
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

// A pixel index of an 8-bit PNG of the folder.
int pngIndex(const QString &path, int x, int y) {
    QImage picture;
    EXPECT_TRUE(picture.load(path));
    return picture.pixelIndex(x, y);
}

// `path` with the pixel at x, y given another index, its palette kept whole.
void repaint(const QString &path, int x, int y, int index) {
    QImage picture;
    ASSERT_TRUE(picture.load(path));
    ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
    picture.setPixel(x, y, uint(index));
    PalettePngLayout layout{picture.width(), picture.height(), 8, picture.colorTable(), {}, {}};
    for (int row = 0; row < picture.height(); ++row)
        layout.indexes +=
            QByteArray(reinterpret_cast<const char *>(picture.constScanLine(row)), picture.width());
    putFile(path, pngFromLayout(layout));
}

QJsonObject styleJsonOf(const QString &folder) {
    return QJsonDocument::fromJson(readWholeFile(folder + "/style.json")).object();
}

void putStyleJson(const QString &folder, const QJsonObject &root) {
    putFile(folder + "/style.json", QJsonDocument(root).toJson());
}

TEST_F(Folders, AFolderFromAStrangerIsRefusedByNameAndPackReadsNothingOutsideIt) {
    unpackSample("s");
    const QString s = dir.path("s");
    const QJsonObject json = styleJsonOf(s);
    putFile(dir.path("secret"), "the key to everything");
    const QJsonObject sprite5 = json["sprites"].toArray()[5].toObject();
    const int x5 = sprite5["x"].toInt(), y5 = sprite5["y"].toInt(), page5 = sprite5["page"].toInt();
    // A line before the first colour of palette 3's text.
    const auto firstColourLine = [&](const QByteArray &line) {
        QByteArray pal = readWholeFile(s + "/palettes/palette_003.pal");
        putFile(s + "/palettes/palette_003.pal", pal.insert(pal.indexOf("256\r\n") + 5, line + "\r\n"));
    };
    const auto withCar0 = [&](const char *key, const QJsonValue &value) {
        QJsonObject root = json;
        QJsonArray cars = root["cars"].toArray();
        QJsonObject car = cars[0].toObject();
        car[key] = value;
        cars[0] = car;
        root["cars"] = cars;
        return root;
    };
    const struct {
        const char *fault;
        std::function<void()> plant;
        QString expected;
    } faults[] = {
        {"the sprite pages missing", [&] { QFile::remove(s + "/sprites/pages.png"); },
         "sprites/pages.png: missing from the folder; nothing was written.\n"},
        {"the delta store a link to a file outside",
         [&] {
             QFile::remove(s + "/deltas/store.bin");
             QFile::link(dir.path("secret"), s + "/deltas/store.bin");
         },
         "deltas/store.bin: a symbolic link; the folder commands touch only the folder's own files; nothing "
         "was written.\n"},
        {"the raw folder a link", [&] { QFile::link(dir.path(QString()), s + "/raw"); },
         "raw: a symbolic link; the folder commands touch only the folder's own files; nothing was "
         "written.\n"},
        {"a tile a FIFO",
         [&] {
             QFile::remove(s + "/tiles/tile_0005.png");
             QProcess::execute("mkfifo", {s + "/tiles/tile_0005.png"});
         },
         "tiles/tile_0005.png: not a file (a device, FIFO or socket); nothing was written.\n"},
        {"a colour past its field", [&] { firstColourLine("300 -1 99999999999"); },
         "palettes/palette_003.pal: line 4: \"300 -1 99999999999\" is not three numbers of 0 to 255 (red "
         "green "
         "blue); nothing was written.\n"},
        {"a colour in words", [&] { firstColourLine("red green blue"); },
         "palettes/palette_003.pal: line 4: \"red green blue\" is not three numbers"},
        {"an unknown chunk tagged as a known one",
         [&] {
             QJsonObject root = json;
             root["unknown_chunks"] = QJsonArray{QJsonObject{{"tag", "CARI"}, {"file", "raw/CARI.bin"}}};
             putStyleJson(s, root);
         },
         "style.json: unknown_chunks[0].tag: \"CARI\" is a chunk the editor writes itself; nothing was "
         "written.\n"},
        {"a number past every field", [&] { putStyleJson(s, withCar0("passengers", 1e300)); },
         "style.json: cars[0].passengers: 1e+300 is outside 0 to 255; nothing was written.\n"},
        {"a misspelt field", [&] { putStyleJson(s, withCar0("pasengers", 3)); },
         "style.json: cars[0].pasengers: no such field; is it misspelt?; nothing was written.\n"},
        {"a misspelt surface list",
         [&] {
             QJsonObject root = json;
             QJsonObject surfaces = root["surfaces"].toObject();
             surfaces["Water"] = QJsonArray{5};
             root["surfaces"] = surfaces;
             putStyleJson(s, root);
         },
         "style.json: surfaces.Water: no such surface list; is it misspelt?; nothing was written.\n"},
        {"a tile the style does not have",
         [&] { QFile::copy(s + "/tiles/tile_0001.png", s + "/tiles/tile_0032.png"); },
         "tiles/tile_0032.png: a file the style folder does not hold; move it under extra/ if it is yours; "
         "nothing was written.\n"},
        {"a sprite misnamed",
         [&] { QFile::copy(s + "/sprites/sprite_0002.png", s + "/sprites/sprite_2.png"); },
         "sprites/sprite_2.png: a file the style folder does not hold"},
        {"the pages painted under a sprite",
         [&] {
             const QString pages = s + "/sprites/pages.png";
             repaint(pages, x5 + 1, page5 * 256 + y5 + 1,
                     (pngIndex(pages, x5 + 1, page5 * 256 + y5 + 1) + 1) % 256);
         },
         "sprites/pages.png: the pixels of sprite 5 differ from those unpacked; paint "
         "sprites/sprite_0005.png "
         "instead (the pages keep only the pixels no sprite covers); nothing was written.\n"},
        {"two sprites on the same pixels painted differently",
         [&] {
             QJsonObject root = json;
             QJsonArray sprites = root["sprites"].toArray();
             QJsonObject moved = sprite5; // sprite 6 now covers sprite 5's pixels
             moved["n"] = 6;
             sprites[6] = moved;
             root["sprites"] = sprites;
             putStyleJson(s, root);
             QFile::remove(s + "/sprites/sprite_0006.png");
             QFile::copy(s + "/sprites/sprite_0005.png", s + "/sprites/sprite_0006.png");
             const QString five = s + "/sprites/sprite_0005.png", six = s + "/sprites/sprite_0006.png";
             repaint(five, 0, 0, (pngIndex(five, 0, 0) + 1) % 256);
             repaint(six, 0, 0, (pngIndex(six, 0, 0) + 2) % 256);
         },
         "sprites/sprite_0006.png: sprite 6 and sprite 5 (sprites/sprite_0005.png) cover the same pixels and "
         "are "
         "painted differently there; paint them alike or only one of them; nothing was written.\n"},
    };
    for (const auto &f : faults) {
        SCOPED_TRACE(f.fault);
        QDir(s).removeRecursively();
        ASSERT_EQ(runProgram({"unpack", dir.path("s.sty"), s + "/"}), 0)
            << "a trailing slash names the folder";
        f.plant();
        EXPECT_EQ(runProgram({"pack", s, dir.path("out.sty")}), 1);
        EXPECT_TRUE(err.startsWith(f.expected)) << err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.path("out.sty")));
    }

    // The user's own files are left alone; a graphic pointed at another palette keeps its indexes;
    // a car sprite moved one pixel right takes its pixels along and keeps its deltas.
    QDir(s).removeRecursively();
    ASSERT_EQ(runProgram({"unpack", dir.path("s.sty"), s}), 0);
    QDir(s).mkpath("extra/notes");
    QDir(s).mkpath(".git");
    putFile(s + "/extra/notes/todo.txt", "repaint the taxi");
    putFile(s + "/.gitattributes", "*.png binary\n");
    putFile(s + "/.git/config", "[core]\n");
    QJsonObject root = json;
    QJsonObject index = root["palette_index"].toObject();
    QJsonArray tiles = index["tile"].toArray();
    QJsonObject tile3 = tiles[3].toObject();
    const int palette = (tile3["palette"].toInt() + 1) % root["physical_palettes"].toInt();
    tile3["palette"] = palette;
    tiles[3] = tile3;
    index["tile"] = tiles;
    root["palette_index"] = index;
    QJsonArray sprites = root["sprites"].toArray();
    QJsonObject sprite0 = sprites[0].toObject();
    ASSERT_EQ(sprite0["x"].toInt(), 0);
    ASSERT_GT(sprites[1].toObject()["x"].toInt(), sprite0["w"].toInt()) << "room to move right";
    sprite0["x"] = 1;
    sprites[0] = sprite0;
    root["sprites"] = sprites;
    putStyleJson(s, root);
    QImage sprite;
    ASSERT_TRUE(sprite.load(s + "/sprites/sprite_0000.png"));
    ASSERT_EQ(runProgram({"pack", s, dir.path("out.sty")}), 0) << err.toStdString();
    const auto packed = styleChunks(readWholeFile(dir.path("out.sty")));
    const auto before = styleChunks(resaved("s"));
    EXPECT_EQ(packed.at("TILE"), before.at("TILE"));
    QByteArray palx = before.at("PALX");
    palx[6] = char(palette & 0xff);
    palx[7] = char(palette >> 8);
    EXPECT_EQ(packed.at("PALX"), palx);
    const QByteArray sprg = packed.at("SPRG");
    for (int y = 0; y < sprite.height(); ++y)
        for (int x = 0; x < sprite.width(); ++x)
            ASSERT_EQ(uchar(sprg[y * 256 + 1 + x]), sprite.pixelIndex(x, y)) << x << "," << y;
    EXPECT_EQ(packed.at("DELS"), before.at("DELS"));
}

TEST_F(Folders, ADeltaSheetTouchedAfterItsSpriteWasRepaintedPutsTheDeltasOverTheNewSprite) {
    unpackSample("s");
    const QString spritePng = dir.path("s/sprites/sprite_0000.png"),
                  sheetPng = dir.path("s/deltas/sprite_0000.png");
    QImage sprite, sheet;
    ASSERT_TRUE(sprite.load(spritePng));
    ASSERT_TRUE(sheet.load(sheetPng));
    const QImage oldSprite = sprite, oldSheet = sheet;
    // A colour the palette holds once, so no reading can take it for another entry.
    const QList<QRgb> colours = sprite.colorTable();
    int entry = 1;
    while (colours.count(colours[entry]) > 1)
        ++entry;
    for (int x = 0; x < sprite.width(); ++x)
        sprite.setPixel(x, 2, uint(entry));
    putFile(spritePng, pillowPng(sprite));
    sheet.setPixel(1, 1, uint(entry));
    putFile(sheetPng, pillowPng(sheet));
    ASSERT_EQ(runProgram({"pack", dir.path("s"), dir.path("new.sty")}), 0) << err.toStdString();

    // Each cell of the packed file's sheet: the new body, with every pixel a delta changed on the
    // old body (and the one painted) over it.
    ASSERT_EQ(runProgram({"deltas", dir.path("new.sty"), "0", dir.path("sheet.bmp")}), 0)
        << err.toStdString();
    QImage drawn;
    ASSERT_TRUE(drawn.load(dir.path("sheet.bmp")));
    ASSERT_EQ(drawn.size(), oldSheet.size());
    for (int cell = 0; cell < 20; ++cell) {
        const int left = cell % 10 * (sprite.width() + 4), top = cell / 10 * (sprite.height() + 4);
        for (int y = 0; y < sprite.height(); ++y)
            for (int x = 0; x < sprite.width(); ++x) {
                const QRgb old = oldSheet.pixel(left + x, top + y);
                const QRgb expected = cell == 0 && x == 1 && y == 1  ? colours[entry]
                                      : old != oldSprite.pixel(x, y) ? old
                                                                     : sprite.pixel(x, y);
                ASSERT_EQ(drawn.pixel(left + x, top + y) | 0xFF000000u, expected | 0xFF000000u)
                    << "cell " << cell << " at " << x << "," << y;
            }
    }
    // The deltas stay the size of what they change, not of the body.
    EXPECT_LE(styleChunks(readWholeFile(dir.path("new.sty"))).at("DELS").size(),
              styleChunks(resaved("s")).at("DELS").size() + 8);
}

TEST_F(Folders, UnpackUpdateWritesOnlyWhatChangedAndPackLeavesTheFolderAsItsFileUnpacks) {
    unpackSample("s");
    const QString s = dir.path("s");
    // The user's own files, and files of a tile and a delta the style does not have.
    putFile(dir.path("s/.gitattributes"), "mine\n");
    QDir(s).mkpath("extra");
    QDir(s).mkpath(".git");
    putFile(dir.path("s/extra/notes.txt"), "notes");
    putFile(dir.path("s/.git/HEAD"), "ref");
    putFile(dir.path("s/tiles/tile_0999.png"), fileBytes(dir.path("s/tiles/tile_0000.png")));
    putFile(dir.path("s/deltas/sprite_0999.bin"), "stale");
    dateLongAgo(s);
    ASSERT_EQ(runProgram({"unpack", "--update", dir.path("s.sty"), s}), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("0 files written, 2 removed")) << out.toStdString();
    EXPECT_EQ(writtenSince(s), QStringList());
    EXPECT_FALSE(QFileInfo::exists(dir.path("s/tiles/tile_0999.png")));
    EXPECT_FALSE(QFileInfo::exists(dir.path("s/deltas/sprite_0999.bin")));
    const auto users = [&](const std::map<QString, QByteArray> &files) {
        std::map<QString, QByteArray> mine = files;
        for (const char *name : {".gitattributes", "extra/notes.txt"}) {
            EXPECT_EQ(mine.count(name), 1u) << name;
            mine.erase(name);
        }
        return mine;
    };
    const auto unpackedAs = [&](const QString &file) {
        QDir(dir.path("fresh")).removeRecursively();
        EXPECT_EQ(runProgram({"unpack", dir.path(file), dir.path("fresh")}), 0) << err.toStdString();
        auto files = filesUnder(dir.path("fresh"));
        files.erase(".gitattributes");
        return files;
    };

    // Tile 3 imported into the style file: the folder ends as the new file unpacks, and only the
    // files that differ from before were written.
    ASSERT_EQ(runProgram({"import-tile", dir.path("s.sty"), "3", dir.path("s/tiles/tile_0007.png"),
                          dir.path("imported.sty"), "--colours", "indexes"}),
              0)
        << err.toStdString();
    const auto before = filesUnder(s);
    dateLongAgo(s);
    ASSERT_EQ(runProgram({"unpack", "--update", dir.path("imported.sty"), s}), 0) << err.toStdString();
    const auto expected = unpackedAs("imported.sty");
    EXPECT_EQ(users(filesUnder(s)), expected);
    QStringList changed;
    for (const auto &[name, bytes] : expected)
        if (before.count(name) == 0 || before.at(name) != bytes)
            changed.append(name);
    EXPECT_TRUE(changed.contains("tiles/tile_0003.png"));
    EXPECT_EQ(writtenSince(s), changed);
    EXPECT_EQ(fileBytes(dir.path("s/.gitattributes")), "mine\n");

    // Palette 4 edited in its text file and packed: the folder shows what the packed file holds,
    // so a second unpack --update writes nothing, and an edit of the same palette through the
    // palette picture is judged against that pack.
    QList<QByteArray> pal = fileBytes(dir.path("s/palettes/palette_004.pal")).split('\n');
    pal[3 + 10] = "1 2 3\r";
    putFile(dir.path("s/palettes/palette_004.pal"), pal.join('\n'));
    ASSERT_FALSE(pack("s", "first.sty").isEmpty()) << err.toStdString();
    EXPECT_TRUE(out.contains("updated")) << out.toStdString();
    EXPECT_EQ(users(filesUnder(s)), unpackedAs("first.sty"));
    dateLongAgo(s);
    ASSERT_EQ(runProgram({"unpack", "--update", dir.path("first.sty"), s}), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("0 files written, 0 removed")) << out.toStdString();
    EXPECT_EQ(writtenSince(s), QStringList());

    QImage table;
    ASSERT_TRUE(table.load(dir.path("s/palettes/palettes.png")));
    EXPECT_EQ(table.pixel(4, 10) & 0xFFFFFFu, 0x010203u);
    table = table.convertToFormat(QImage::Format_RGB32);
    table.setPixel(4, 11, qRgb(4, 5, 6));
    ASSERT_TRUE(table.save(dir.path("s/palettes/palettes.png")));
    ASSERT_EQ(runProgram({"pack", s, dir.path("second.sty")}), 0) << err.toStdString();
    const QByteArray ppal = styleChunks(fileBytes(dir.path("second.sty"))).at("PPAL");
    // Palettes are stored interleaved in pages of 64: colour c of palette p at c * 256 + p * 4.
    EXPECT_EQ(ppal.mid(10 * 256 + 4 * 4, 3), QByteArray("\x03\x02\x01", 3));
    EXPECT_EQ(ppal.mid(11 * 256 + 4 * 4, 3), QByteArray("\x06\x05\x04", 3));
}

TEST_F(Folders, AFolderBroughtInStepAgainAndAgainEndsAsItsStyleUnpacksWhateverItsCacheHolds) {
    // unpack --update skips encoding the pictures whose sources it made before; whatever the
    // user's cache holds, the folder must end as a fresh unpack of the style.
    const QString cache = dir.path("cache");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    ASSERT_EQ(run({"sample", dir.path("s.sty")}), 0) << err.toStdString();
    StyleDocument doc, saved;
    SilentProgress progress;
    LineLog log;
    ScriptedPrompts prompts;
    ASSERT_TRUE(readStyle(doc, fileBytes(dir.path("s.sty")), prompts, progress, log));
    const QString s = dir.path("s");
    ASSERT_EQ(run({"unpack", dir.path("s.sty"), s}), 0) << err.toStdString();
    const auto cacheFiles = [&] {
        QStringList files;
        QDirIterator it(cache, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        return files;
    };
    ASSERT_EQ(cacheFiles().size(), 1);

    // A car sprite with deltas, to reach its delta sheet through the sprite, its palette and its
    // delta bytes.
    int car = -1;
    qsizetype deltaAt = 0, firstDelta = 0;
    for (const DeltaIndexEntry &entry : doc.DeltaIndex) {
        if (entry.delta_count > 0 && isCarSprite(doc, entry.sprite)) {
            car = entry.sprite;
            firstDelta = entry.size[0];
            break;
        }
        for (int d = 0; d < entry.delta_count; ++d)
            deltaAt += entry.size[std::size_t(d)];
    }
    ASSERT_GE(car, 0);
    const SpriteEntry sprite = doc.SpriteIndex[std::size_t(car)];
    const int carPalette = *physicalPaletteOf(doc, spriteVirtualPalette(doc, car));
    const std::vector<std::pair<const char *, std::function<void()>>> edits{
        {"a colour of the car's palette",
         [&] {
             doc.PhysicalPalettes[physicalColourOffset(carPalette, 40)] ^= 0x55;
         }},
        {"a byte of the car's first delta",
         [&] {
             doc.DeltaStore[deltaAt + firstDelta - 1] ^= 0x0F;
         }},
        {"a pixel of the car",
         [&] {
             uchar *line = doc.SpriteStore.scanLine(sprite.page() * 256 + sprite.y() + sprite.h / 2);
             line[sprite.x() + sprite.w / 2] ^= 0x21;
         }},
        {"a pixel of tile 5",
         [&] {
             doc.TileStore.scanLine(70)[5 * 64 % 256 + 3] ^= 0x11;
         }},
        {"nothing",
         [] {
         }},
    };
    for (std::size_t round = 0; round < edits.size(); ++round) {
        SCOPED_TRACE(edits[round].first);
        edits[round].second();
        putFile(dir.path("s.sty"), serializeStyle(doc, saved, progress, log));
        // Between the rounds the folder and the cache are handled carelessly: a picture overwritten
        // by another of its size, the cache cut short, then filled with rubbish.
        if (round == 1)
            putFile(dir.path("s/tiles/tile_0002.png"), fileBytes(dir.path("s/tiles/tile_0001.png")));
        if (round == 2)
            putFile(cacheFiles().first(), fileBytes(cacheFiles().first()).left(100));
        if (round == 3)
            putFile(cacheFiles().first(), QByteArray(5000, 'x'));
        ASSERT_EQ(run({"unpack", "--update", dir.path("s.sty"), s}), 0) << err.toStdString();
        QDir(dir.path("fresh")).removeRecursively();
        ASSERT_EQ(run({"unpack", dir.path("s.sty"), dir.path("fresh")}), 0) << err.toStdString();
        ASSERT_EQ(filesUnder(s), filesUnder(dir.path("fresh")));
    }

    // No cache to be had (its place is a file): the folder is still brought in step.
    QDir(cache).removeRecursively();
    putFile(cache, "not a folder");
    doc.PhysicalPalettes[physicalColourOffset(carPalette, 41)] ^= 0x55;
    putFile(dir.path("s.sty"), serializeStyle(doc, saved, progress, log));
    ASSERT_EQ(run({"unpack", "--update", dir.path("s.sty"), s}), 0) << err.toStdString();
    QDir(dir.path("fresh")).removeRecursively();
    ASSERT_EQ(run({"unpack", dir.path("s.sty"), dir.path("fresh")}), 0) << err.toStdString();
    EXPECT_EQ(filesUnder(s), filesUnder(dir.path("fresh")));
    qunsetenv("XDG_CACHE_HOME");
}

TEST_F(Folders, AStyleEditedOutsideTheFolderShowsInGitAsExactlyTheFilesItChanged) {
    const QString git = QStandardPaths::findExecutable("git");
    if (git.isEmpty())
        GTEST_SKIP() << "git is not installed";
    unpackSample("s");
    const QString s = dir.path("s");
    const auto runGit = [&](const QStringList &args) {
        QProcess process;
        process.setWorkingDirectory(s);
        process.start(git,
                      QStringList{"-c", "user.name=t", "-c", "user.email=t@t", "-c", "core.autocrlf=false"} +
                          args);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0)
            << args.join(' ').toStdString() << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    runGit({"init", "-q"});
    runGit({"add", "-A"});
    runGit({"commit", "-q", "-m", "unpacked"});
    // The .pal files keep their CRLF line ends through git, and PNGs diff as binary.
    EXPECT_EQ(runGit({"check-attr", "text", "palettes/palette_000.pal"}),
              "palettes/palette_000.pal: text: unset\n");
    EXPECT_EQ(runGit({"check-attr", "diff", "tiles/tile_0000.png"}), "tiles/tile_0000.png: diff: unset\n");

    ASSERT_EQ(runProgram({"import-tile", dir.path("s.sty"), "3", dir.path("s/tiles/tile_0007.png"),
                          dir.path("s.sty"), "--colours", "indexes"}),
              0)
        << err.toStdString();
    ASSERT_EQ(runProgram({"unpack", "--update", dir.path("s.sty"), s}), 0) << err.toStdString();
    QStringList status = runGit({"status", "--porcelain"}).split('\n', Qt::SkipEmptyParts);
    status.removeAll(" M style.json"); // the palette digests change only when the tile's palette does
    EXPECT_EQ(status, QStringList{" M tiles/tile_0003.png"});
    EXPECT_EQ(runGit({"diff", "--numstat", "tiles/tile_0003.png"}), "-\t-\ttiles/tile_0003.png\n");
    // What pack makes of the committed folder leaves it as it is.
    runGit({"commit", "-q", "-a", "-m", "imported"});
    ASSERT_EQ(runProgram({"pack", s, dir.path("packed.sty")}), 0) << err.toStdString();
    ASSERT_EQ(runProgram({"unpack", "--update", dir.path("packed.sty"), s}), 0) << err.toStdString();
    EXPECT_EQ(runGit({"status", "--porcelain"}), QString());
}

TEST_F(Folders, StyleJsonPutsEachEntryOnALineOfItsOwnAndFollowsItsSchema) {
    unpackSample("s");
    const QString text = QString::fromUtf8(fileBytes(dir.path("s/style.json")));
    const QJsonObject json = QJsonDocument::fromJson(text.toUtf8()).object();
    EXPECT_EQ(json["$schema"].toString(), "style.schema.json");
    // A diff hunk of an entry is the line that names it.
    const auto lines = [&](const char *pattern) {
        return text.count(
            QRegularExpression(QString::fromLatin1(pattern), QRegularExpression::MultilineOption));
    };
    EXPECT_EQ(
        lines(
            R"(^        \{"n": \d+, "x": \d+, "y": \d+, "page": \d+, "ptr_byte_3": \d+, "w": \d+, "h": \d+, )"
            R"("pad": \d+, "pixels_check": "[^"]*"\},?$)"),
        json["sprites"].toArray().size());
    EXPECT_EQ(lines(R"(^        \{"n": \d+, "sprite": \d+, "pad": \d+, "sizes": \[[\d, ]*\]\},?$)"),
              json["deltas"].toArray().size());
    qsizetype indexEntries = 0, doors = 0;
    for (const QJsonValue list : json["palette_index"].toObject())
        indexEntries += list.toArray().size();
    for (const QJsonValue car : json["cars"].toArray())
        doors += car.toObject()["doors"].toArray().size();
    EXPECT_EQ(lines(R"(^            \{"n": \d+, "palette": \d+\},?$)"), indexEntries);
    EXPECT_GT(doors, 0);
    EXPECT_EQ(lines(R"(^                \[-?\d+, -?\d+\],?$)"), doors);

    // The schema read by an independent validator when one is installed; else its fields are
    // style.json's.
    const QJsonObject schema = QJsonDocument::fromJson(fileBytes(dir.path("s/style.schema.json"))).object();
    QProcess probe;
    probe.start("python3", {"-c", "import jsonschema"});
    if (!probe.waitForFinished(60000) || probe.exitStatus() != QProcess::NormalExit ||
        probe.exitCode() != 0) {
        EXPECT_EQ(schema["properties"].toObject().keys(), json.keys());
        return;
    }
    QProcess python;
    python.start("python3",
                 {"-c",
                  "import json, sys, jsonschema\n"
                  "schema = json.load(open(sys.argv[1]))\n"
                  "jsonschema.validators.validator_for(schema).check_schema(schema)\n"
                  "style = json.load(open(sys.argv[2]))\n"
                  "jsonschema.validate(style, schema)\n"
                  "style['cars'][0]['passengers'] = 256\n"
                  "try:\n    jsonschema.validate(style, schema)\nexcept jsonschema.ValidationError:\n"
                  "    print('refused')\n",
                  dir.path("s/style.schema.json"), dir.path("s/style.json")});
    ASSERT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    EXPECT_EQ(python.readAllStandardOutput(), "refused\n");
}

} // namespace
