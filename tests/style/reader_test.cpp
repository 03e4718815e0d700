#include "style/stylereader.h"
#include "support/recordingprogress.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"
#include "support/tempdir.h"

#include "platform/editorerror.h"
#include "platform/log.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray filledPage(int fill) {
    return QByteArray(PageBytes, static_cast<char>(fill));
}

struct Reader : ::testing::Test {
    bool read(const QByteArray &bytes) { return readStyle(doc, bytes, prompts, progress, log); }

    StyleDocument doc;
    ScriptedPrompts prompts;
    RecordingProgress progress;
    LineLog log;
};

TEST_F(Reader, RefusesAWrongMagicAndLeavesEverythingAsItWas) {
    ASSERT_TRUE(read(styleFile({{"RECY", u8s({4, 9})}})));
    const StyleDocument before = doc;
    for (const QByteArray &bad : {QByteArray("GBSX\xbc\x02", 6), QByteArray("GBS"), QByteArray()}) {
        EXPECT_FALSE(read(bad + styleFile({{"RECY", u8s({1})}}).mid(6)));
        EXPECT_EQ(prompts.messages().last(),
                  QStringLiteral("punk don't fuck with me! this ain't vyr2 style file!"));
        EXPECT_EQ(progress.statuses.last(), QStringLiteral(" error! "));
        EXPECT_EQ(doc, before);
    }
}

TEST_F(Reader, LogsTheVersionAndEveryChunkAndIgnoresUnknownTags) {
    for (const int version : {0, 700, 65535}) {
        log.clear();
        ASSERT_TRUE(read(styleFile({{"ABCD", QByteArray(5, 'x')}, {"RECY", u8s({12, 5, 255})}}, version)));
        EXPECT_EQ(log.lines(),
                  QStringList({"reading header...",
                               QStringLiteral("version number (ignored if wrong) = %1").arg(version),
                               "found header: ABCD size: 5", "found header: RECY size: 3", NoPalettesMessage,
                               "done !"}));
        ASSERT_EQ(doc.RecycleList.count(), 3);
        EXPECT_EQ(doc.RecycleList[0], 12);
        EXPECT_EQ(doc.RecycleList[1], 5);
        EXPECT_EQ(doc.RecycleList[2], 255);
    }
    EXPECT_TRUE(progress.statuses.contains(QStringLiteral(" reading: RECY ")));
    EXPECT_FALSE(progress.statuses.contains(QStringLiteral(" reading: ABCD ")));
}

TEST_F(Reader, OpenStyleReadsTheFileAndStartsTheLogAfresh) {
    TestDir dir;
    QFile file(dir.path("a.sty"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(styleFile({{"PALB", u16s({1, 2, 3, 4, 5, 6, 7, 8})}}));
    file.close();
    log.append("old line");
    ASSERT_TRUE(opensty(doc, dir.path("a.sty"), prompts, progress, log));
    EXPECT_EQ(log.lines().first(), QStringLiteral("creating memory stream and loading file..."));
    EXPECT_EQ(progress.statuses.first(), QStringLiteral(" init... "));
    EXPECT_EQ(doc.PaletteCounts[7], 8);
    EXPECT_THROW(opensty(doc, dir.path("missing.sty"), prompts, progress, log), EditorError);
}

TEST_F(Reader, FillsTablesAndDerivedValues) {
    SpriteEntry sprite{2 * 65536 + 10 * 256 + 20, 16, 32, 0};
    QByteArray spriteIndex = u16s({20 + 10 * 256, 2}) + u8s({16, 32, 0, 0});
    QByteArray cars =
        u8s({7, 1, 10, 20, 0, 1, 2, 11, 0, 0, 0, 0, 0, 0, 0}) + // 15 bytes, no remaps or doors
        u8s({8, 0, 10, 20, 2, 1, 2, 11, 0xfb, 5, 0, 0, 1, 2, 4, 5, 1, 0x80, 3}) + // remaps, a door
        u8s({9, 2, 10, 20, 0, 1, 2, 11, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(
        read(styleFile({{"PALB", u16s({992, 100, 12, 5, 0, 0, 0, 3})},
                        {"PALX", QByteArray(2000, '\x01')},
                        {"SPRX", spriteIndex},
                        {"PPAL", QByteArray(7 * PageBytes, '\x02')},
                        {"CARI", cars},
                        {"DELX", u16s({3}) + u8s({2, 0}) + u16s({10, 20}) + u16s({4}) + u8s({0, 0})}})));
    EXPECT_EQ(doc.PaletteBases, (std::array<quint16, 8>{0, 992, 1092, 1104, 1109, 1109, 1109, 1109}));
    EXPECT_EQ(doc.PaletteIndexCount(), 1000);
    EXPECT_EQ(doc.PaletteIndex[999], 0x0101);
    EXPECT_EQ(doc.PhysicalPaletteCount, 448);
    ASSERT_EQ(doc.spriteCount(), 1);
    EXPECT_EQ(doc.SpriteIndex[0], sprite);
    EXPECT_EQ(spriteRect(doc.SpriteIndex[0]), QRect(QPoint(532, 10), QPoint(547, 41)));
    ASSERT_EQ(doc.CarCount(), 3);
    EXPECT_EQ(doc.CarInfoTable[0].sprite_sum, 1u);
    EXPECT_EQ(doc.CarInfoTable[1].sprite_sum, 1u);
    EXPECT_EQ(doc.CarInfoTable[2].sprite_sum, 3u);
    EXPECT_EQ(doc.CarInfoTable[1].front_wheel_offset, -5);
    EXPECT_EQ(doc.CarInfoTable[1].remap[1], 5);
    ASSERT_EQ(doc.CarInfoTable[1].num_doors, 1);
    EXPECT_EQ(doc.CarInfoTable[1].doors[0], (DoorPosition{-128, 3}));
    EXPECT_EQ(doc.CarInfoTable[2].model, 9);
    ASSERT_EQ(doc.DeltaIndexCount(), 2);
    EXPECT_EQ(doc.DeltaIndex[0].size[1], 20);
    EXPECT_EQ(doc.DeltaIndex[1].sprite, 4);
    EXPECT_TRUE(progress.statuses.contains(QStringLiteral(" processing: PPAL ")));
}

TEST_F(Reader, ReadsTheSpriteIndexWhereverItStands) {
    const QByteArray index = u16s({5, 0}) + u8s({8, 8, 0, 0});
    const Chunk sprx{"SPRX", index};
    const Chunk sprg{"SPRG", filledPage(3)};
    const Chunk cari{"CARI", u8s({1, 1, 8, 8, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0})};
    StyleDocument first, second;
    ASSERT_TRUE(readStyle(first, styleFile({sprx, sprg, cari}), prompts, progress, log));
    ASSERT_TRUE(readStyle(second, styleFile({sprg, cari, sprx}), prompts, progress, log));
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.SpriteIndex[0].ptr, 5u);
    // A file without a sprite index leaves none behind.
    ASSERT_TRUE(readStyle(first, styleFile({sprg}), prompts, progress, log));
    EXPECT_EQ(first.spriteCount(), 0);
}

TEST_F(Reader, AbsentChunksKeepWhatTheEarlierFileLeft) {
    ASSERT_TRUE(read(styleFile({{"OBJI", "first"},
                                {"TILE", filledPage(7)},
                                {"PPAL", QByteArray(2 * PageBytes, '\x05')},
                                {"SPEC", u16s({5, 7, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0})}})));
    ASSERT_TRUE(read(styleFile({{"RECY", u8s({3})}, {"PPAL", QByteArray(PageBytes, '\x06')}})));
    EXPECT_EQ(doc.ObjectInfo, QByteArray("first"));
    EXPECT_EQ(doc.tilePageCount(), 1);
    EXPECT_EQ(doc.TileStore.scanLine(255)[255], 7);
    // The second palette chunk overwrote page 0 only; page 1 keeps the first file's colours.
    EXPECT_EQ(doc.PhysicalPaletteCount, 64);
    EXPECT_EQ(doc.PhysicalPalettes[0], '\x06');
    EXPECT_EQ(doc.PhysicalPalettes[PageBytes], '\x05');
    EXPECT_EQ(doc.SurfaceColumns[0], QStringList({"5", "7"}));
    EXPECT_EQ(doc.SurfaceColumns[2], QStringList({"9"}));
}

TEST_F(Reader, SplitsTheSurfaceListsIntoNineColumns) {
    ASSERT_TRUE(read(styleFile({{"SPEC", u16s({4, 0, 6, 0, 8, 0})}})));
    EXPECT_EQ(doc.SurfaceColumns[0], QStringList{"4"});
    EXPECT_EQ(doc.SurfaceColumns[2], QStringList{"8"});
    EXPECT_TRUE(doc.SurfaceColumns[3].isEmpty());
    ASSERT_TRUE(
        read(styleFile({{"SPEC", u16s({1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9, 0, 10, 0})}})));
    EXPECT_EQ(doc.SurfaceColumns[8], QStringList{"9"});
    EXPECT_EQ(doc.SurfaceListsCount(), 20);
}

TEST_F(Reader, ReadsAChunkThatRunsPastTheEndAsFarAsTheFileGoes) {
    QByteArray file = styleFile({{"RECY", u8s({1})}, {"TILE", QByteArray(1000, '\x09'), 2 * PageBytes}});
    ASSERT_TRUE(read(file));
    EXPECT_EQ(doc.tilePageCount(), 2);
    EXPECT_EQ(doc.TileStore.scanLine(3)[231], 9);
    EXPECT_EQ(doc.TileStore.scanLine(3)[232], 0);
    EXPECT_TRUE(log.lines().contains(
        QStringLiteral("chunk \"TILE\" runs past the end of the file: 1000 of 131072 bytes read")));
    EXPECT_EQ(log.lines().last(), QStringLiteral("done !"));

    // A header cut short ends the walk without touching what was read.
    ASSERT_TRUE(read(styleFile({{"RECY", u8s({2})}}) + "PAL"));
    EXPECT_EQ(doc.RecycleList[0], 2);
}

} // namespace
