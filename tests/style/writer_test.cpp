#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "support/recordingprogress.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"
#include "support/tempdir.h"

#include "platform/fileio.h"
#include "platform/log.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray patternedPage(int seed) {
    QByteArray p(PageBytes, '\0');
    for (int i = 0; i < PageBytes; ++i)
        p[i] = static_cast<char>((i * 7 + seed) % 251);
    return p;
}

const QByteArray Fonts = u16s({7, 144, 144, 144, 1, 1, 145, 144});
const QByteArray Cars = u8s({3, 1, 10, 20, 2, 1, 2, 11, 0xfb, 5, 1, 2, 1, 2, 4, 5, 2, 0x80, 3, 70, 0xf0}) +
                        u8s({4, 0, 10, 20, 0, 1, 2, 11, 0, 0, 0, 0, 0, 0, 0});
const QByteArray Deltas = u16s({0}) + u8s({2, 0}) + u16s({4, 6}) + u16s({1}) + u8s({0, 0});
const QByteArray Surfaces = u16s({5, 7, 0, 0, 9, 0, 0, 0, 0, 11, 12, 0, 0, 0});

// A file that a load and a save reproduce exactly: version 700, the fourteen chunks in the
// writer's order, whole pages, the fixed font table, a sorted recycle list and nine surface lists.
std::vector<Chunk> canonicalChunks() {
    return {{"TILE", patternedPage(1) + patternedPage(2)},
            {"PPAL", patternedPage(3)},
            {"SPRB", u16s({1, 1, 0, 0, 0, 0})},
            {"FONB", Fonts},
            {"DELX", Deltas},
            {"DELS", QByteArray("\0\0\1\x05\0\0\2\x06\x07\x08", 10)},
            {"PALX", u16s({0, 1, 2, 63, 5})},
            {"OBJI", "object info"},
            {"RECY", u8s({2, 9, 200})},
            {"SPRG", patternedPage(4)},
            {"SPRX", u16s({0, 0}) + u8s({16, 16, 0, 0}) + u16s({16, 0}) + u8s({8, 8, 1, 2})},
            {"PALB", u16s({32, 2, 1, 1, 1, 1, 1, 1})},
            {"CARI", Cars},
            {"SPEC", Surfaces}};
}

struct Writer : ::testing::Test {
    StyleDocument load(const QByteArray &bytes) {
        StyleDocument doc;
        EXPECT_TRUE(readStyle(doc, bytes, prompts, progress, log));
        return doc;
    }
    QByteArray save(StyleDocument &doc) {
        const QString saved = writeStyle(doc, dir.path("out"), prompts, progress, log);
        EXPECT_EQ(saved, dir.path("out.sty"));
        return readWholeFile(saved);
    }

    TestDir dir;
    ScriptedPrompts prompts;
    RecordingProgress progress;
    LineLog log;
};

TEST_F(Writer, ReproducesACanonicalFileByteForByte) {
    const QByteArray original = styleFile(canonicalChunks());
    StyleDocument doc = load(original);
    EXPECT_EQ(firstDifference(save(doc), original), -1);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(progress.maximum, 14);
    EXPECT_EQ(progress.position, 0);
    EXPECT_EQ(progress.statuses.last(), QStringLiteral(" saved "));
}

TEST_F(Writer, LogsEveryChunkWithItsEndOffset) {
    StyleDocument doc = load(styleFile(canonicalChunks()));
    const QByteArray bytes = save(doc);
    const QStringList &lines = log.lines();
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[0], QStringLiteral("creating memory stream..."));
    EXPECT_EQ(lines[1], QStringLiteral("saved chunk \"TILE\" offset: %1 size: 131072").arg(6 + 8 + 131072));
    EXPECT_EQ(
        lines[4],
        QStringLiteral("saved chunk \"FONB\" offset: %1 size: 16").arg(6 + 4 * 8 + 131072 + 65536 + 12 + 16));
    EXPECT_EQ(lines[14], QStringLiteral("saved chunk \"SPEC\" offset: %1 size: 28").arg(bytes.size()));
    EXPECT_EQ(
        lines[15],
        QStringLiteral("file saved to \"%1\" size: %2 Bytes").arg(dir.path("out.sty")).arg(bytes.size()));
    EXPECT_EQ(lines[16], QStringLiteral("memorystream freed."));
}

TEST_F(Writer, RewritesOrderFontsAndUnknownChunks) {
    std::vector<Chunk> shuffled = canonicalChunks();
    std::reverse(shuffled.begin(), shuffled.end());
    shuffled[10].payload = u16s({1, 2}); // "FONB" of other content
    shuffled.insert(shuffled.begin() + 3, Chunk{"ZZZZ", "dropped"});
    StyleDocument doc = load(styleFile(shuffled, 12));
    EXPECT_EQ(firstDifference(save(doc), styleFile(canonicalChunks())), -1);
}

TEST_F(Writer, SortsTheRecycleListBeforeWritingIt) {
    std::vector<Chunk> chunks = canonicalChunks();
    chunks[8].payload = u8s({30, 5, 30, 7});
    StyleDocument doc = load(styleFile(chunks));
    const QByteArray bytes = save(doc);
    chunks[8].payload = u8s({5, 7, 30, 30});
    EXPECT_EQ(firstDifference(bytes, styleFile(chunks)), -1);
    ASSERT_EQ(doc.RecycleList.count(), 4);
    EXPECT_EQ(doc.RecycleList[1], 7);
    EXPECT_EQ(doc.RecycleList[3], 30);
}

TEST_F(Writer, KeepsOnlyWholeWordsOfAnOddPaletteIndexAndWritesEmptyTables) {
    StyleDocument doc = load(styleFile({{"PALX", u8s({1, 0, 2, 0, 9})}}));
    EXPECT_EQ(doc.PaletteIndexCount(), 2);
    const StyleDocument again = load(save(doc));
    EXPECT_EQ(again.PaletteIndexCount(), 2);
    EXPECT_EQ(again.PaletteIndex[1], 2);
    EXPECT_TRUE(log.lines().contains(
        QStringLiteral("saved chunk \"CARI\" offset: %1 size: 0").arg(6 + 13 * 8 + 12 + 16 + 4 + 16)));
    EXPECT_TRUE(log.lines().contains(
        QStringLiteral("saved chunk \"DELX\" offset: %1 size: 0").arg(6 + 5 * 8 + 12 + 16)));
}

TEST_F(Writer, RebuildsNineSurfaceListsAndKeepsAPartialSpriteIndex) {
    StyleDocument doc = load(styleFile(
        {{"SPEC", u16s({4, 0, 6, 0, 8, 0})}, {"SPRX", u16s({1, 2}) + u8s({3, 4, 5, 6}) + u16s({7, 8})}}));
    EXPECT_EQ(doc.spriteCount(), 1);
    doc.SurfaceColumns[8].append("40");
    const StyleDocument again = load(save(doc));
    EXPECT_EQ(again.SurfaceListsCount(), 3 + 9 + 1);
    EXPECT_EQ(again.SurfaceColumns[8], QStringList{"40"});
    EXPECT_EQ(doc.SurfaceLists, again.SurfaceLists);
    EXPECT_EQ(again.SpriteIndexSize, 12u);
    EXPECT_EQ(again.SpriteIndex[1].ptr, 7u + (8u << 16));
}

TEST_F(Writer, ConversionErrorsStopTheSaveAndWriteNothing) {
    StyleDocument doc = load(styleFile(canonicalChunks()));
    for (const auto &[line, text] : {std::pair{"abc", "'abc' is not a valid integer value"},
                                     std::pair{" 12", "' 12' is not a valid integer value"},
                                     std::pair{"", "'' is not a valid integer value"}}) {
        doc.SurfaceColumns[3] = QStringList{"14", line};
        const StyleDocument before = doc;
        EXPECT_EQ(writeStyle(doc, dir.path("bad.sty"), prompts, progress, log), QString());
        EXPECT_EQ(prompts.messages().last(), QString::fromLatin1(text) + " had occured while writing: SPEC");
        EXPECT_FALSE(QFile::exists(dir.path("bad.sty")));
        EXPECT_EQ(doc, before);
        EXPECT_EQ(progress.position, 0);
    }
}

TEST_F(Writer, RefusesTileZeroInASurfaceList) {
    StyleDocument doc = load(styleFile(canonicalChunks()));
    for (const char *zero : {"0", "65536"}) {
        doc.SurfaceColumns[2] = QStringList{"3", zero};
        EXPECT_EQ(writeStyle(doc, dir.path("zero.sty"), prompts, progress, log), QString());
        EXPECT_EQ(
            prompts.messages().last(),
            QStringLiteral("tile 0 cannot be stored in the \"water\" surface list: a 0 ends the list and "
                           "would move every list after it. Remove the line \"%1\". had occured while "
                           "writing: SPEC")
                .arg(zero));
        EXPECT_FALSE(QFile::exists(dir.path("zero.sty")));
    }
    // Other numbers keep their low 16 bits, as every text value going into a file field does.
    doc.SurfaceColumns[2] = QStringList{"65537", "-1"};
    const StyleDocument again = load(save(doc));
    EXPECT_EQ(again.SurfaceColumns[2], QStringList({"1", "65535"}));
}

TEST_F(Writer, ChangesTheExtensionToSty) {
    StyleDocument doc = load(styleFile(canonicalChunks()));
    for (const auto &[chosen, written] :
         {std::pair{"plain", "plain.sty"}, std::pair{"other.bmp", "other.sty"},
          std::pair{"kept.sty", "kept.sty"}, std::pair{"a.b.c", "a.b.sty"}}) {
        EXPECT_EQ(writeStyle(doc, dir.path(chosen), prompts, progress, log), dir.path(written));
        EXPECT_TRUE(QFile::exists(dir.path(written)));
    }
}

TEST_F(Writer, AFailedFileWriteKeepsTheOldFileAndSaysSo) {
    StyleDocument doc = load(styleFile(canonicalChunks()));
    EXPECT_EQ(writeStyle(doc, dir.path("no/such/folder/x"), prompts, progress, log), QString());
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().first().endsWith(" had occured while writing: SPEC"));

    writeWholeFileAtomic(dir.path("old.sty"), "old contents");
    doc.SurfaceColumns[0] = QStringList{"x"};
    EXPECT_EQ(writeStyle(doc, dir.path("old.sty"), prompts, progress, log), QString());
    EXPECT_EQ(readWholeFile(dir.path("old.sty")), QByteArray("old contents"));
}

TEST_F(Writer, SaveAsAsksForTheNameAndRemembersIt) {
    StyleDocument doc = load(styleFile(canonicalChunks()));
    QString defaultName = dir.path("opened.sty");
    prompts.queueText(std::nullopt);
    EXPECT_EQ(saveStyleAs(doc, defaultName, prompts, progress, log), QString());
    EXPECT_EQ(defaultName, dir.path("opened.sty"));
    prompts.queueText(dir.path("chosen.txt"));
    EXPECT_EQ(saveStyleAs(doc, defaultName, prompts, progress, log), dir.path("chosen.sty"));
    EXPECT_EQ(defaultName, dir.path("chosen.txt"));
    EXPECT_EQ(prompts.shown(), QStringList({"save *.sty|*.sty", "save *.sty|*.sty"}));
}

} // namespace
