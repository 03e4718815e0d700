// vyr2-sty diff between the sample and a copy with changes planted in its bytes.

#include "clitest.h"

#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "style/styledocument.h"
#include "style/stylewriter.h"
#include "support/randomstyle.h"
#include "support/stylebytes.h"

#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// Offset of the payload of the first chunk `tag` in the file.
qsizetype payloadOffset(const QByteArray &file, const QByteArray &tag) {
    for (qsizetype at = FileHeaderSize; at + ChunkHeaderSize <= file.size();
         at += ChunkHeaderSize + qFromLittleEndian<quint32>(file.constData() + at + 4))
        if (file.mid(at, 4) == tag)
            return at + ChunkHeaderSize;
    return -1;
}

QString wordList(const QByteArray &payload) {
    QStringList words;
    for (qsizetype at = 0; at + 1 < payload.size(); at += 2)
        words << QString::number(qFromLittleEndian<quint16>(payload.constData() + at));
    return '[' + words.join(", ") + ']';
}

// "#rrggbb" of the palette entry at `at` (blue, green, red, pad).
QString colourAt(const QByteArray &ppal, int at) {
    return QStringLiteral("#%1%2%3")
        .arg(quint8(ppal[at + 2]), 2, 16, QLatin1Char('0'))
        .arg(quint8(ppal[at + 1]), 2, 16, QLatin1Char('0'))
        .arg(quint8(ppal[at]), 2, 16, QLatin1Char('0'));
}

struct StyleDiffCommand : CliTest {
    void SetUp() override {
        ASSERT_EQ(run({"sample", dir.path("a.sty")}), 0) << err.toStdString();
        a = readWholeFile(dir.path("a.sty"));
        chunks = styleChunks(a);
    }

    QByteArray a;
    std::map<QByteArray, QByteArray> chunks;
};

TEST_F(StyleDiffCommand, EachPlantedChangeIsNamedAndTheExitStatusSaysWhetherTheyDiffer) {
    QByteArray b = a;
    const auto edit = [&](const QByteArray &tag, const std::function<void(QByteArray &)> &change) {
        QByteArray payload = styleChunks(b).at(tag);
        change(payload);
        b = withPayload(b, tag, payload);
    };
    // Tile 3 is the fourth 64-pixel column of page 0; its pixel (5, 7) changes.
    const qsizetype tilePixel = 7 * 256 + 3 * 64 + 5;
    const quint8 tileBefore = quint8(chunks.at("TILE")[tilePixel]);
    edit("TILE", [&](QByteArray &p) { p[tilePixel] = char(tileBefore ^ 0x55); });
    // Sprite 4's top-left pixel.
    const QByteArray sprx = chunks.at("SPRX");
    const quint32 sprite4 = qFromLittleEndian<quint32>(sprx.constData() + 4 * 8);
    const int sprite4Width = quint8(sprx[4 * 8 + 4]);
    const int sprite4Height = quint8(sprx[4 * 8 + 5]);
    const qsizetype spritePixel =
        (sprite4 >> 16 & 0xff) * 65536 + (sprite4 >> 8 & 0xff) * 256 + (sprite4 & 0xff);
    const quint8 spriteBefore = quint8(chunks.at("SPRG")[spritePixel]);
    edit("SPRG", [&](QByteArray &p) { p[spritePixel] = char(spriteBefore ^ 0x0F); });
    edit("SPRX", [](QByteArray &p) { p[5 * 8 + 6] = 7; });
    const char *colour9 = chunks.at("PPAL").constData() + physicalColourOffset(9, 200);
    const QString red9 = QString::number(quint8(colour9[2]), 16).rightJustified(2, '0');
    const QString green9 = QString::number(quint8(colour9[1]), 16).rightJustified(2, '0');
    const QString blue9 = QString::number(quint8(colour9[0]), 16).rightJustified(2, '0');
    const QString blue9After = QString::number(quint8(colour9[0]) ^ 1, 16).rightJustified(2, '0');
    edit("PPAL", [](QByteArray &p) { p[physicalColourOffset(9, 200)] ^= 1; });
    const int palx3 = qFromLittleEndian<quint16>(chunks.at("PALX").constData() + 6);
    edit("PALX", [&](QByteArray &p) { qToLittleEndian<quint16>(quint16(palx3 + 1), p.data() + 6); });
    const int passengers = quint8(chunks.at("CARI")[5]);
    edit("CARI", [&](QByteArray &p) { p[5] = char(passengers + 1); });
    edit("OBJI", [](QByteArray &p) { p[0] = char(p[0] ^ 1); });
    edit("RECY", [](QByteArray &p) { p.append(char(250)); });
    edit("DELS", [](QByteArray &p) { p[3] = char(p[3] ^ 1); });
    // The first surface list ("grass") loses its first tile.
    const int grassFirst = qFromLittleEndian<quint16>(chunks.at("SPEC").constData());
    ASSERT_NE(grassFirst, 0);
    edit("SPEC", [](QByteArray &p) { p.remove(0, 2); });
    b += QByteArray("XTRA") + QByteArray::fromHex("02000000") + "hi";
    writeWholeFileAtomic(dir.path("b.sty"), b);

    const int deltaSprite = qFromLittleEndian<quint16>(chunks.at("DELX").constData());
    EXPECT_EQ(run({"diff", dir.path("a.sty"), dir.path("b.sty"), "--png", dir.path("d.png")}), 1)
        << err.toStdString();
    const QStringList expected = {
        "tile 3: pixels differ",
        "sprite 4 pixels differ",
        "sprite 5 pad: 0 -> 7",
        QStringLiteral("palette 9: 1 colour differs: 200 #%1%2%3 -> #%1%2%4")
            .arg(red9, green9, blue9, blue9After),
        QStringLiteral("virtual palette 3: %1 -> %2").arg(palx3).arg(palx3 + 1),
        QStringLiteral("car 0 passengers: %1 -> %2").arg(passengers).arg(passengers + 1),
        QStringLiteral("sprite %1 delta 0: bytes differ").arg(deltaSprite),
        "object info: bytes differ",
        "unknown chunk 0 \"XTRA\": only in the second file",
    };
    for (const QString &line : expected)
        EXPECT_TRUE(out.contains(line + QLatin1Char('\n'))) << line.toStdString() << "\n"
                                                            << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("recycle list: ["))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("surface list \"grass\": [%1, ").arg(grassFirst)))
        << out.toStdString();
    // The recycle list, the surface list and the order of the chunks, which now ends in "XTRA".
    EXPECT_TRUE(out.contains(QStringLiteral(" SPEC -> "))) << out.toStdString();
    EXPECT_EQ(out.count(QLatin1Char('\n')), expected.size() + 3) << out.toStdString();

    // Tile 3, then sprite 4, each before on the left and after on the right of equal columns.
    const QImage picture(dir.path("d.png"));
    const int column = std::max(64, sprite4Width);
    ASSERT_EQ(picture.size(), QSize(2 * column + 12, 4 + 64 + 4 + sprite4Height + 4));
    const auto colour = [&](int palette, int index) {
        const char *entry = chunks.at("PPAL").constData() + physicalColourOffset(palette, index);
        return qRgb(quint8(entry[2]), quint8(entry[1]), quint8(entry[0]));
    };
    // Tile 3 shows virtual palette 3, which the change points at the next physical palette.
    EXPECT_EQ(picture.pixel(4 + 5, 4 + 7), colour(palx3, tileBefore));
    EXPECT_EQ(picture.pixel(8 + column + 5, 4 + 7), colour(palx3 + 1, tileBefore ^ 0x55));

    EXPECT_EQ(run({"diff", dir.path("a.sty"), dir.path("a.sty")}), 0);
    EXPECT_EQ(out, QString());
    EXPECT_EQ(run({"diff", dir.path("a.sty"), dir.path("none.sty")}), 2);
    EXPECT_EQ(run({"diff", dir.path("a.sty")}), 2);
}

TEST_F(StyleDiffCommand, BytesNoTableShowsAreNamedToo) {
    const QByteArray ppal = chunks.at("PPAL");
    const int palettes = int(ppal.size() / 1024);
    ASSERT_EQ(palettes % 64, 0);
    // The sample cut to 24 palettes short of its last page: the page's bytes it still holds include
    // colours 0 to 159 of the palettes past the new count.
    const int count = palettes - 24;
    writeWholeFileAtomic(dir.path("short.sty"), withPayload(a, "PPAL", ppal.left(count * 1024)));
    const QByteArray shortFile = readWholeFile(dir.path("short.sty"));

    // The first page's first pixels no sprite covers, from the sprite index's own bytes.
    const QByteArray sprx = chunks.at("SPRX");
    std::vector<bool> covered(65536);
    for (qsizetype e = 0; e + 8 <= sprx.size(); e += 8) {
        const quint32 ptr = qFromLittleEndian<quint32>(sprx.constData() + e);
        if ((ptr >> 16 & 0xff) != 0)
            continue;
        for (int y = 0; y < quint8(sprx[e + 5]); ++y)
            for (int x = 0; x < quint8(sprx[e + 4]); ++x)
                covered[std::size_t((ptr >> 8 & 0xff) + y) * 256 + (ptr & 0xff) + x] = true;
    }
    std::vector<int> bare;
    for (int at = 0; at < 65536 && bare.size() < 2; ++at)
        if (!covered[std::size_t(at)])
            bare.push_back(at);
    ASSERT_EQ(bare.size(), 2u);

    const QByteArray fonb = chunks.at("FONB");
    QByteArray fonbAfter = fonb;
    fonbAfter[2] = char(fonbAfter[2] ^ 1);
    const int pad0 = quint8(chunks.at("DELX")[3]);

    QString palette34 = QStringLiteral("palette 34: 10 colours differ: ");
    QByteArray ppal34 = ppal;
    for (int c = 0; c < 10; ++c) {
        const int at = physicalColourOffset(34, c);
        const QString before = colourAt(ppal34, at);
        ppal34[at + 2] = char(ppal34[at + 2] ^ 0x80);
        if (c < 8)
            palette34 += QStringLiteral("%1 %2 -> %3, ").arg(c).arg(before, colourAt(ppal34, at));
    }
    palette34 += QStringLiteral("and 2 more");
    const int pastAt = physicalColourOffset(count + 5, 159);
    const QString pastBefore = colourAt(ppal, pastAt);
    QByteArray ppalPast = ppal.left(count * 1024);
    ppalPast[pastAt] = char(ppalPast[pastAt] ^ 0x10);
    const int padAt = physicalColourOffset(1, 0);
    QByteArray ppalPad = ppal;
    ppalPad[padAt + 3] = char(ppalPad[padAt + 3] ^ 2);

    // Delta store bytes past every entry's, and the last chunk claiming two bytes more than the file
    // holds: no table shows either.
    const QByteArray dels = chunks.at("DELS");
    const QByteArray longerDeltas = withPayload(a, "DELS", dels + 'x');
    int lastChunk = -1;
    int objectInfoChunk = -1;
    qsizetype specSizeAt = 0;
    for (qsizetype at = FileHeaderSize; at + ChunkHeaderSize <= a.size();
         at += ChunkHeaderSize + qFromLittleEndian<quint32>(a.constData() + at + 4), ++lastChunk) {
        specSizeAt = at + 4;
        if (a.mid(at, 4) == "OBJI")
            objectInfoChunk = lastChunk + 1;
    }
    // A second object info chunk at the end replaces the first, whose bytes no table then shows.
    const QByteArray twice = a + QByteArray("OBJI") + QByteArray::fromHex("03000000") + "xyz";
    ASSERT_EQ(a.mid(specSizeAt - 4, 4), "SPEC");

    struct Plant {
        QByteArray from;
        std::function<void(QByteArray &)> edit;
        QString line;
    };
    const std::vector<Plant> plants = {
        {a, [](QByteArray &f) { f[4] = char(f[4] ^ 1); }, QStringLiteral("version: 700 -> %1").arg(700 ^ 1)},
        {a, [&](QByteArray &f) { f = withPayload(f, "FONB", fonbAfter); },
         QStringLiteral("font table: %1 -> %2").arg(wordList(fonb), wordList(fonbAfter))},
        {a, [](QByteArray &f) { f[payloadOffset(f, "DELX") + 3] = char(9); },
         QStringLiteral("delta entry 0 pad: %1 -> 9").arg(pad0)},
        {a,
         [&](QByteArray &f) {
             f[payloadOffset(f, "SPRG") + bare[0]] = char(f[payloadOffset(f, "SPRG") + bare[0]] ^ 1);
             f[payloadOffset(f, "SPRG") + bare[1]] = char(f[payloadOffset(f, "SPRG") + bare[1]] ^ 1);
         },
         QStringLiteral("sprite page 0: 2 pixels no sprite covers differ, the first at x %1, y %2")
             .arg(bare[0] % 256)
             .arg(bare[0] / 256)},
        {a, [&](QByteArray &f) { f = withPayload(f, "PPAL", ppal34); }, palette34},
        {shortFile, [&](QByteArray &f) { f = withPayload(f, "PPAL", ppalPast); },
         QStringLiteral("palette %1 (past the count): 1 colour differs: 159 %2 -> %3")
             .arg(count + 5)
             .arg(pastBefore, colourAt(ppalPast, pastAt))},
        {a, [&](QByteArray &f) { f = withPayload(f, "PPAL", ppalPad); },
         QStringLiteral("palette 1: 1 colour differs: 0 %1 (pad %2) -> %1 (pad %3)")
             .arg(colourAt(ppal, padAt))
             .arg(quint8(ppal[padAt + 3]))
             .arg(quint8(ppalPad[padAt + 3]))},
        {longerDeltas, [&](QByteArray &f) { f = withPayload(f, "DELS", dels + 'y'); },
         QStringLiteral("delta store: 1 byte no shown delta holds differs, the first at offset %1")
             .arg(dels.size())},
        {a, [&](QByteArray &f) { f[specSizeAt] = char(f[specSizeAt] + 2); },
         QStringLiteral("chunk %1 \"SPEC\" size: %2 -> %3")
             .arg(lastChunk)
             .arg(chunks.at("SPEC").size())
             .arg(chunks.at("SPEC").size() + 2)},
        {twice, [](QByteArray &f) { f[payloadOffset(f, "OBJI") + 1] ^= 1; },
         QStringLiteral(
             "chunk %1 \"OBJI\" (a later one replaces it): bytes differ from offset 1 of its payload")
             .arg(objectInfoChunk)},
    };
    for (const Plant &plant : plants) {
        QByteArray b = plant.from;
        plant.edit(b);
        writeWholeFileAtomic(dir.path("from.sty"), plant.from);
        writeWholeFileAtomic(dir.path("b.sty"), b);
        EXPECT_EQ(runProgram({"diff", dir.path("from.sty"), dir.path("b.sty")}), 1) << err.toStdString();
        EXPECT_EQ(out.toStdString(), (plant.line + '\n').toStdString());
    }

    // One byte changed anywhere: every byte of the file header and the chunk headers, and bytes
    // spread over each payload. The answer is "differ", or trouble when the changed file is one
    // that no command opens.
    SampleRng rng(23);
    std::vector<qsizetype> places = {0, 3, 4, 5};
    for (qsizetype at = FileHeaderSize; at + ChunkHeaderSize <= a.size();) {
        const qsizetype size = qFromLittleEndian<quint32>(a.constData() + at + 4);
        for (int i = 0; i < ChunkHeaderSize; ++i)
            places.push_back(at + i);
        for (int i = 0; i < 2 && size > 0; ++i)
            places.push_back(at + ChunkHeaderSize + rng.below(int(size)));
        at += ChunkHeaderSize + size;
    }
    for (const qsizetype place : places) {
        QByteArray b = a;
        b[place] = char(b[place] ^ rng.between(1, 255));
        writeWholeFileAtomic(dir.path("b.sty"), b);
        const int status = runProgram({"diff", dir.path("a.sty"), dir.path("b.sty")});
        if (status == 2)
            EXPECT_EQ(runProgram({"info", dir.path("b.sty")}), 1)
                << "byte " << place << " " << err.toStdString();
        else
            EXPECT_EQ(status, 1) << "byte " << place << "\n" << out.toStdString() << err.toStdString();
    }
}

TEST_F(StyleDiffCommand, RandomPairsDifferExactlyWhenTheirSavedBytesDo) {
    SampleRng rng(71);
    SilentProgress progress;
    LineLog log;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        const StyleDocument first = randomStyle(rng);
        StyleDocument second = round % 8 == 0 ? randomStyle(rng) : first;
        // One change, which may or may not reach the saved bytes.
        switch (rng.below(9)) {
        case 0:
            // Past the palette count the store is kept but not saved.
            second.PhysicalPalettes[rng.below(2 * 65536)] ^= char(rng.between(1, 255));
            break;
        case 1:
            if (!second.SpriteStore.isNull())
                second.SpriteStore.scanLine(rng.below(second.SpriteStore.height()))[rng.below(256)] ^= 1;
            break;
        case 2:
            if (!second.TileStore.isNull())
                second.TileStore.scanLine(rng.below(second.TileStore.height()))[rng.below(256)] ^= 4;
            break;
        case 3:
            if (second.SpriteIndex.count() > 0)
                second.SpriteIndex[std::size_t(rng.below(second.SpriteIndex.count()))].ptr ^=
                    1u << rng.below(32);
            break;
        case 4:
            if (second.DeltaIndex.count() > 0)
                second.DeltaIndex[std::size_t(rng.below(second.DeltaIndex.count()))].pad ^= 1;
            break;
        case 5:
            if (!second.DeltaStore.isEmpty())
                second.DeltaStore[rng.below(int(second.DeltaStore.size()))] ^= 1;
            break;
        case 6:
            if (second.CarCount() > 0)
                second.CarInfoTable[std::size_t(rng.below(second.CarCount()))].doors[0].ry ^= 1;
            break;
        case 7:
            // The last sprite entry a byte shorter.
            if (second.SpriteIndexSize > 0)
                --second.SpriteIndexSize;
            break;
        default:
            break;
        }
        StyleDocument saved;
        const QByteArray fileA = serializeStyle(first, saved, progress, log);
        const QByteArray fileB = serializeStyle(second, saved, progress, log);
        writeWholeFileAtomic(dir.path("first.sty"), fileA);
        writeWholeFileAtomic(dir.path("second.sty"), fileB);
        const bool differ = fileA != fileB;
        EXPECT_EQ(runProgram({"diff", dir.path("first.sty"), dir.path("second.sty")}), differ ? 1 : 0)
            << err.toStdString();
        EXPECT_EQ(out.isEmpty(), !differ) << out.toStdString();
    }
}

} // namespace
