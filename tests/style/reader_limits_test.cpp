#include "style/stylereader.h"
#include "support/recordingprogress.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"

#include "platform/log.h"

#include <gtest/gtest.h>

namespace {

struct Damaged {
    const char *name;
    Chunk chunk;
    const char *expected; // the refusal message
};

QByteArray cars(int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += u8s({i % 87, 1, 10, 20, 0, 1, 2, 11, 0, 0, 0, 0, 0, 0, 0});
    return out;
}

QByteArray deltaEntries(int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += u16s({i}) + u8s({0, 0});
    return out;
}

class ReaderLimits : public ::testing::TestWithParam<Damaged> {};

// Every table keeps its capacity: a payload that would overrun one is refused as a whole, with the
// chunk and the limit named, and the document is left exactly as it was.
TEST_P(ReaderLimits, RefusesTheFileAndKeepsTheDocument) {
    StyleDocument doc;
    ScriptedPrompts prompts;
    RecordingProgress progress;
    LineLog log;
    ASSERT_TRUE(readStyle(doc, styleFile({{"RECY", u8s({1, 2})}, {"OBJI", "keep"}, {"CARI", cars(2)}}),
                          prompts, progress, log));
    const StyleDocument before = doc;

    EXPECT_FALSE(readStyle(doc, styleFile({{"OBJI", "new"}, GetParam().chunk}), prompts, progress, log));
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().first().toStdString(), GetParam().expected);
    EXPECT_EQ(progress.statuses.last(), QStringLiteral(" error! "));
    EXPECT_EQ(doc, before);
    EXPECT_NE(log.lines().last(), QStringLiteral("done !"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryTable, ReaderLimits,
    ::testing::Values(
        Damaged{"PalettesBeyondTheStore",
                {"PPAL", QByteArray(720896 + 1024, '\0')},
                "chunk \"PPAL\" has 721920 bytes, more than the 720896 bytes (704 palettes) of the palette "
                "store; "
                "the file was not opened."},
        Damaged{"TooManyVirtualPalettes",
                {"PALX", QByteArray(2 * 16385, '\0')},
                "chunk \"PALX\" has 16385 virtual palettes, more than the 16384 the palette index holds; the "
                "file "
                "was not opened."},
        Damaged{"TooManySprites",
                {"SPRX", QByteArray(8 * 3002, '\0')},
                "chunk \"SPRX\" has 24016 bytes, more than the 3001 sprites (24008 bytes) the sprite index "
                "holds; "
                "the file was not opened."},
        Damaged{"RecycleListTooLong",
                {"RECY", QByteArray(257, '\x01')},
                "chunk \"RECY\" has 257 entries, more than the 256 the recycle list holds; the file was not "
                "opened."},
        Damaged{
            "SurfaceListsTooLong",
            {"SPEC", QByteArray(2 * 65537, '\x01')},
            "chunk \"SPEC\" has 65537 words, more than the 65536 the surface lists hold; the file was not "
            "opened."},
        Damaged{"TooManyDeltas",
                {"DELX", u16s({1}) + u8s({34, 0}) + QByteArray(68, '\0')},
                "chunk \"DELX\" entry 0 has 34 deltas, more than the 33 a sprite can have; the file was not "
                "opened."},
        Damaged{"DeltaSizesPastThePayload",
                {"DELX", deltaEntries(1) + u16s({1}) + u8s({2, 0}) + u16s({5})},
                "chunk \"DELX\" entry 1 runs past the end of the chunk; the file was not opened."},
        Damaged{"DeltaHeaderPastThePayload",
                {"DELX", deltaEntries(1) + u8s({1, 0})},
                "chunk \"DELX\" entry 1 runs past the end of the chunk; the file was not opened."},
        Damaged{
            "TooManyDeltaEntries",
            {"DELX", deltaEntries(65537)},
            "chunk \"DELX\" has more than the 65536 entries the delta index holds; the file was not opened."},
        Damaged{"TooManyCars",
                {"CARI", cars(257)},
                "chunk \"CARI\" has more than the 256 cars the car table holds; the file was not opened."},
        Damaged{"CarRemapsPastThePayload",
                {"CARI", cars(1) + u8s({1, 1, 10, 20, 5, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1})},
                "chunk \"CARI\" car 1 runs past the end of the chunk; the file was not opened."},
        Damaged{"CarDoorsPastThePayload",
                {"CARI", u8s({1, 1, 10, 20, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2, 5, 5, 6})},
                "chunk \"CARI\" car 0 runs past the end of the chunk; the file was not opened."},
        Damaged{"CarFixedPartCut",
                {"CARI", u8s({1, 1, 10})},
                "chunk \"CARI\" car 0 runs past the end of the chunk; the file was not opened."},
        Damaged{
            "TilesNotWholeRows",
            {"TILE", QByteArray(300, '\0')},
            "chunk \"TILE\" has 300 bytes, which is not a whole number of 256-pixel rows; the file was not "
            "opened."},
        Damaged{
            "SpritePagesNotWholeRows",
            {"SPRG", QByteArray(255, '\0')},
            "chunk \"SPRG\" has 255 bytes, which is not a whole number of 256-pixel rows; the file was not "
            "opened."},
        Damaged{"TilePagesBeyondTheStore",
                {"TILE", QByteArray(), 257LL * 65536},
                "chunk \"TILE\" has 65792 rows, more than the 256 pages (65536 rows) a pixel store holds; "
                "the file "
                "was not opened."},
        Damaged{
            "PaletteCountsTooLong",
            {"PALB", QByteArray(18, '\0')},
            "chunk \"PALB\" has 18 bytes, more than the 16 bytes of its table; the file was not opened."}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
