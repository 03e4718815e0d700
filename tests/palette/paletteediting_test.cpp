#include "palette/paletteediting.h"

#include "palette/palettelookup.h"
#include "sample/samplestyle.h"
#include "support/scriptedprompts.h"

#include <gtest/gtest.h>

namespace {

struct PaletteEditing : ::testing::Test {
    PaletteEditing() : doc(makeSampleStyle()) {}

    quint32 colour(int palette, int index) const { return directclutacces(doc, palette, index, false); }

    StyleDocument doc;
    ScriptedPrompts prompts;
};

TEST_F(PaletteEditing, RowsNameTheirKindAndPhysicalPalette) {
    doc.PaletteCounts = {992, 100, 12, 5, 0, 0, 0, 3};
    doc.derivePaletteBases();
    doc.PaletteIndex.resize(1112);
    doc.PaletteIndex[5] = 17;
    EXPECT_EQ(palindexRowText(doc, 5), QStringLiteral("5 - 17 (Tile)"));
    EXPECT_EQ(paletteKindOf(doc, 992), PalSprite);
    EXPECT_EQ(paletteKindColour(*paletteKindOf(doc, 992)), qRgb(0, 255, 255));
    EXPECT_EQ(paletteKindOf(doc, 1104), PalPedRemap);
    // Kinds with no palettes own no rows; the last row belongs to the fonts.
    EXPECT_EQ(paletteKindOf(doc, 1109), PalFontRemap);
    EXPECT_TRUE(palindexRowText(doc, 1111).endsWith(QStringLiteral(" (font)")));
    EXPECT_EQ(paletteKindOf(doc, 1112), std::nullopt);
    EXPECT_EQ(palindexRowText(doc, 1112), QString());
}

TEST_F(PaletteEditing, RemapPointsExactlyTheSelectedRowsAtThePickedPalette) {
    const StyleDocument before = doc;
    EXPECT_FALSE(remapPalindexes(doc, {1, 2}, false, prompts));
    EXPECT_TRUE(prompts.shown().isEmpty());

    prompts.queueText(QStringLiteral("7"));
    EXPECT_TRUE(remapPalindexes(doc, {3, 9, 40}, true, prompts));
    EXPECT_TRUE(prompts.shown().first().startsWith(QStringLiteral("You will be asked for a palette clut")));
    EXPECT_EQ(prompts.shown().last(), QStringLiteral("palette picker 0"));
    for (int row = 0; row < doc.PaletteIndexCount(); ++row)
        EXPECT_EQ(doc.PaletteIndex[row], row == 3 || row == 9 || row == 40 ? 7 : before.PaletteIndex[row])
            << row;
    EXPECT_EQ(doc.PhysicalPalettes, before.PhysicalPalettes);
}

TEST_F(PaletteEditing, RemapRefusesPalettesThatDoNotExistOrAreNotNumbers) {
    const StyleDocument before = doc;
    for (const char *picked : {"128", ""}) {
        prompts.queueText(QString::fromLatin1(picked));
        EXPECT_FALSE(remapPalindexes(doc, {3}, true, prompts));
        EXPECT_EQ(doc, before);
    }
    EXPECT_EQ(prompts.messages()[1],
              QStringLiteral("There is no palette 128: this style file has 128 palettes (0 to 127)."));
    EXPECT_EQ(prompts.messages()[3], QStringLiteral("'' is not a valid integer value"));
    prompts.queueText(std::nullopt);
    EXPECT_FALSE(remapPalindexes(doc, {3}, true, prompts));
    EXPECT_EQ(doc, before);
}

TEST_F(PaletteEditing, ViewUnusedMarksExactlyTheUsedPalettes) {
    std::vector<bool> used(doc.PhysicalPaletteCount);
    for (const quint16 p : doc.PaletteIndex)
        used[p] = true;
    const StyleDocument before = doc;
    viewUnusedPalettes(doc);
    for (int p = 0; p < doc.PhysicalPaletteCount; ++p) {
        const quint32 expected = used[p] ? colourValue(255, 0, 255) : directclutacces(before, p, 0, false);
        EXPECT_EQ(colour(p, 0), expected) << p;
        EXPECT_EQ(makeClut1(doc).pixel(p, 0), toRgb(expected)) << p;
        EXPECT_EQ(colour(p, 1), directclutacces(before, p, 1, false));
    }
}

TEST_F(PaletteEditing, TransparencyBlackChangesColourZeroOfEveryPaletteOnly) {
    QByteArray expected = doc.PhysicalPalettes;
    for (int p = 0; p < doc.PhysicalPaletteCount; ++p)
        for (int b = 0; b < 3; ++b)
            expected[physicalColourOffset(p, 0) + b] = 0;
    doc.PhysicalPalettes[physicalColourOffset(5, 0)] = 9;
    doc.PhysicalPalettes[physicalColourOffset(5, 0) + 3] = 7; // the fourth byte stays
    expected[physicalColourOffset(5, 0) + 3] = 7;
    transparencyBlack(doc);
    EXPECT_EQ(doc.PhysicalPalettes, expected);
}

TEST_F(PaletteEditing, AddAndRemoveStepToWholePagesWithinTheLimitsAndClearWhatTheyTouch) {
    const StyleDocument before = doc;
    const auto black = [&](int from, int to) {
        for (int p = from; p < to; ++p)
            for (int c = 0; c < 256; ++c)
                if (colour(p, c) != 0)
                    return false;
        return true;
    };
    prompts.queue(Answer::Yes);
    ASSERT_TRUE(addPalettes(doc, prompts));
    EXPECT_EQ(doc.PhysicalPaletteCount, 192);
    EXPECT_EQ(makeClut1(doc).width(), 192);
    EXPECT_TRUE(
        prompts.shown().last().startsWith("This will increase amount of palettes in vyr2 for 64 palettes,"));
    prompts.queue(Answer::No);
    EXPECT_FALSE(addPalettes(doc, prompts));
    EXPECT_EQ(doc.PhysicalPaletteCount, 192);

    prompts.queue(Answer::Yes);
    ASSERT_TRUE(removePalettes(doc, prompts));
    // Below 128 the sample's sprites show black, which is asked about once more.
    prompts.queue(Answer::Yes);
    prompts.queue(Answer::No);
    EXPECT_FALSE(removePalettes(doc, prompts));
    EXPECT_EQ(doc.PhysicalPaletteCount, 128);
    EXPECT_TRUE(prompts.shown().last().endsWith("would show black. Go on?"));
    prompts.queue(Answer::Yes);
    prompts.queue(Answer::Yes);
    ASSERT_TRUE(removePalettes(doc, prompts));
    EXPECT_EQ(doc.PhysicalPaletteCount, 64);
    EXPECT_FALSE(removePalettes(doc, prompts));
    EXPECT_EQ(prompts.messages().last(),
              QStringLiteral("vyr2 sty file format will not allow you to have less than 64 palettes."));
    // The removed palettes are black, and so they come back.
    EXPECT_TRUE(black(64, 128));
    prompts.queue(Answer::Yes);
    ASSERT_TRUE(addPalettes(doc, prompts));
    EXPECT_TRUE(black(64, 128));
    EXPECT_EQ(doc.PhysicalPalettes.left(65536), before.PhysicalPalettes.left(65536));

    // A count off the 64 grid steps to the next whole page and never below 64 or above 640.
    doc = before;
    doc.PhysicalPaletteCount = 100;
    prompts.queue(Answer::Yes);
    ASSERT_TRUE(addPalettes(doc, prompts));
    EXPECT_EQ(doc.PhysicalPaletteCount, 128);
    EXPECT_TRUE(
        prompts.shown().last().startsWith("This will increase amount of palettes in vyr2 for 28 palettes,"));
    EXPECT_TRUE(black(100, 128));
    EXPECT_EQ(colour(99, 5), directclutacces(before, 99, 5, false));
    doc = before;
    doc.PhysicalPaletteCount = 100;
    prompts.queue(Answer::Yes);
    prompts.queue(Answer::Yes);
    ASSERT_TRUE(removePalettes(doc, prompts));
    EXPECT_EQ(doc.PhysicalPaletteCount, 64);
    EXPECT_EQ(prompts.shown()[prompts.shown().size() - 2],
              QStringLiteral("This will decrease amout of palettes in vyr2 for 36 palettes, are you sure you "
                             "want to do this?"));
    EXPECT_TRUE(black(64, 100));
    EXPECT_EQ(makeClut1(doc).width(), 64);
    doc.PhysicalPaletteCount = 700;
    prompts.queue(Answer::Yes);
    ASSERT_TRUE(removePalettes(doc, prompts));
    EXPECT_EQ(doc.PhysicalPaletteCount, 640);
    doc.PhysicalPaletteCount = 600;
    prompts.queue(Answer::Cancel); // every answer but No goes ahead
    ASSERT_TRUE(addPalettes(doc, prompts));
    EXPECT_EQ(doc.PhysicalPaletteCount, 640);
    EXPECT_FALSE(addPalettes(doc, prompts));
    EXPECT_EQ(prompts.messages().last(),
              QStringLiteral("vyr2 sty tool has internal performance limit allowing "
                             "palette clut to reach maximum 640 palettes."));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

} // namespace
