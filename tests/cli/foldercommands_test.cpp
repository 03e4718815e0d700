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
