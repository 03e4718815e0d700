#include "palette/coloradjust.h"

#include "palette/palettelookup.h"

#include <gtest/gtest.h>

namespace {

QImage picture(std::initializer_list<QRgb> colours) {
    QImage image(static_cast<int>(colours.size()), 1, QImage::Format_RGB32);
    int x = 0;
    for (QRgb c : colours)
        image.setPixel(x++, 0, c);
    return image;
}

const QImage Source = picture({qRgb(0, 0, 0), qRgb(200, 30, 128), qRgb(255, 255, 255), qRgb(1, 254, 100)});

TEST(ColourAdjust, OffsetsAreHeldWithinTheByteRange) {
    EXPECT_EQ(adjustColours(Source, 255, 255, 255), picture({~0u, ~0u, ~0u, ~0u}));
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_EQ(adjustColours(Source, -255, -255, -255), picture({black, black, black, black}));
    EXPECT_EQ(adjustColours(Source, 100, -50, 0),
              picture({qRgb(100, 0, 0), qRgb(255, 0, 128), qRgb(255, 205, 255), qRgb(101, 204, 100)}));
    EXPECT_EQ(adjustColours(Source, 0, 0, 0), Source);
}

TEST(ColourAdjust, AnOffsetOnOneChannelLeavesTheOthers) {
    const QImage adjusted = adjustColours(Source, 10, 0, 0);
    for (int x = 0; x < Source.width(); ++x) {
        EXPECT_EQ(qRed(adjusted.pixel(x, 0)), std::min(255, qRed(Source.pixel(x, 0)) + 10));
        EXPECT_EQ(qGreen(adjusted.pixel(x, 0)), qGreen(Source.pixel(x, 0)));
        EXPECT_EQ(qBlue(adjusted.pixel(x, 0)), qBlue(Source.pixel(x, 0)));
    }
}

TEST(ColourAdjust, AcceptsAPictureOfAnotherDepth) {
    const QImage rgb24 = Source.convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(adjustColours(rgb24, 0, 0, -1), adjustColours(Source, 0, 0, -1));
}

class ApplyAdjusted : public ::testing::Test {
protected:
    void SetUp() override {
        doc.PhysicalPaletteCount = 64;
        for (int p = 0; p < 65; ++p)
            for (int c = 0; c < 256; ++c) {
                writetoclut(doc, p, c, colourValue(c, p, 100));
                doc.PhysicalPalettes[physicalColourOffset(p, c) + 3] = '\x09';
            }
    }

    StyleDocument doc;
};

TEST_F(ApplyAdjusted, WritesStoreAndPictureOfEveryCountedPalette) {
    const QImage clut2 = adjustColours(makeClut1(doc), 20, -20, 0);
    applyAdjustedColours(doc, clut2);

    EXPECT_EQ(makeClut1(doc), clut2);
    EXPECT_EQ(directclutacces(doc, 63, 5, false), colourValue(25, 43, 100));
    EXPECT_EQ(doc.PhysicalPalettes[physicalColourOffset(63, 5) + 3], '\x09');
    // Palette 64 is in the store but not in the document.
    EXPECT_EQ(directclutacces(doc, 64, 5, false), colourValue(5, 64, 100));
}

TEST_F(ApplyAdjusted, APictureNarrowerThanTheTableChangesOnlyTheColumnsItHas) {
    applyAdjustedColours(doc, adjustColours(makeClut1(doc).copy(0, 0, 2, 256), 0, 0, 50));
    EXPECT_EQ(directclutacces(doc, 1, 0, false), colourValue(0, 1, 150));
    EXPECT_EQ(directclutacces(doc, 2, 0, false), colourValue(0, 2, 100));
}

} // namespace
