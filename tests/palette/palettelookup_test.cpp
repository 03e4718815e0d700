#include "palette/palettelookup.h"

#include "support/scriptedprompts.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>

namespace {

uchar byteAt(const StyleDocument &doc, int offset) {
    return static_cast<uchar>(doc.PhysicalPalettes[offset]);
}

void setEntry(StyleDocument &doc, int offset, std::initializer_list<int> bytes) {
    for (int b : bytes)
        doc.PhysicalPalettes[offset++] = static_cast<char>(b);
}

QImage indexedImage(int width, int height, int firstIndex) {
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorCount(256);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = static_cast<uchar>(firstIndex + y * width + x);
    return image;
}

TEST(PaletteLookup, EntriesAreBlueGreenRedAndTheFourthByteIsNeverWritten) {
    StyleDocument doc;
    const int at = physicalColourOffset(5, 7);
    setEntry(doc, at, {16, 32, 48, 0x77});

    const quint32 plain = directclutacces(doc, 5, 7, false);
    EXPECT_EQ(redOf(plain), 48);
    EXPECT_EQ(greenOf(plain), 32);
    EXPECT_EQ(blueOf(plain), 16);
    EXPECT_EQ(directclutacces(doc, 5, 7, true), 0x302010u);

    setEntry(doc, at, {0, 0, 0});
    writetoclut(doc, 5, 7, plain);
    EXPECT_EQ(byteAt(doc, at), 16);
    EXPECT_EQ(byteAt(doc, at + 1), 32);
    EXPECT_EQ(byteAt(doc, at + 2), 48);
    EXPECT_EQ(byteAt(doc, at + 3), 0x77);
}

TEST(PaletteLookup, WritesLandOnTheirPageAndTouchNoNeighbour) {
    struct Case {
        int palette, colour, offset;
    };
    for (const Case c : {Case{63, 255, 65532}, Case{64, 0, 65536}, Case{127, 1, 65536 + 256 + 252},
                         Case{703, 255, PhysicalPalettesBytes - 4}}) {
        StyleDocument doc;
        writetoclut(doc, c.palette, c.colour, colourValue(1, 2, 3));
        QByteArray expected(PhysicalPalettesBytes, '\0');
        expected[c.offset] = 3;
        expected[c.offset + 1] = 2;
        expected[c.offset + 2] = 1;
        EXPECT_EQ(doc.PhysicalPalettes, expected) << c.palette << "/" << c.colour;
    }
}

TEST(PaletteLookup, PalettesOutsideTheStoreAreNeitherReadNorWritten) {
    StyleDocument doc;
    doc.PhysicalPalettes.fill('\x55');
    const StyleDocument before = doc;
    for (int palette : {-1, PaletteStoreCapacity, INT_MAX, INT_MIN}) {
        EXPECT_EQ(directclutacces(doc, palette, 0, false), MissingPaletteColour);
        writetoclut(doc, palette, 0, colourValue(1, 2, 3));
    }
    writetoclut(doc, 0, 256, colourValue(1, 2, 3));
    writetoclut(doc, 0, -1, colourValue(1, 2, 3));
    EXPECT_EQ(doc, before);
    // Beyond the document's count but inside the store: whatever the store holds.
    EXPECT_EQ(directclutacces(doc, PaletteStoreCapacity - 1, 0, false), 0x555555u);
}

TEST(PaletteLookup, ThePaletteTablePictureShowsAWrittenColour) {
    StyleDocument doc;
    doc.PhysicalPaletteCount = 64;
    writetoclut(doc, 3, 9, colourValue(10, 20, 30));
    EXPECT_EQ(makeClut1(doc).pixel(3, 9), qRgb(10, 20, 30));
    // A palette past the picture's width still reaches the store.
    writetoclut(doc, 64, 0, colourValue(40, 50, 60));
    EXPECT_EQ(directclutacces(doc, 64, 0, false), colourValue(40, 50, 60));
    EXPECT_EQ(makeClut1(doc).width(), 64);
    writetoclut(doc, 63, 255, colourValue(70, 80, 90));
    EXPECT_EQ(makeClut1(doc).pixel(63, 255), qRgb(70, 80, 90));
}

TEST(PaletteLookup, PaletteTablePictureShowsEveryStoredColour) {
    StyleDocument doc;
    doc.PhysicalPaletteCount = 128;
    for (int p = 0; p < 129; ++p)
        for (int c = 0; c < 256; c += 17)
            writetoclut(doc, p, c, colourValue(p, c, p ^ c));
    const QImage clut1 = makeClut1(doc);
    ASSERT_EQ(clut1.size(), QSize(128, 256));
    for (int p = 0; p < 128; ++p)
        for (int c = 0; c < 256; ++c)
            ASSERT_EQ(fromRgb(clut1.pixel(p, c)), directclutacces(doc, p, c, false)) << p << "/" << c;

    doc.PhysicalPaletteCount = 0;
    EXPECT_TRUE(makeClut1(doc).isNull());
}

TEST(PaletteLookup, ChangePaletteKeepsIndexesEvenWhenColoursRepeat) {
    StyleDocument doc;
    // All colours of palette 2 are black but 200, which is red.
    writetoclut(doc, 2, 200, colourValue(255, 0, 0));
    QImage image = indexedImage(16, 16, 0);
    const QImage before = image.copy();

    const QList<QRgb> table = ClutToPal(doc, 2);
    changepalette(image, table);

    EXPECT_EQ(image.colorTable(), table);
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(std::memcmp(image.constScanLine(y), before.constScanLine(y), 16), 0) << y;
    // Index 0 shows colour 0 of its palette, opaque, like every other index.
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(200 % 16, 200 / 16), qRgb(255, 0, 0));
}

TEST(PaletteLookup, RawPixelCopyRefusesImagesThatAreNot8Bit) {
    const QImage rgb(4, 4, QImage::Format_RGB32);
    QImage indexed = indexedImage(4, 4, 0);
    const QImage before = indexed.copy();

    ScriptedPrompts prompts;
    rawpixelcopy(rgb, indexed, 0, 0, prompts);
    EXPECT_EQ(prompts.messages(), QStringList{"rawpixelcopy from error, not 8 bit image!"});
    EXPECT_EQ(indexed, before);

    ScriptedPrompts both;
    QImage target(4, 4, QImage::Format_RGB32);
    rawpixelcopy(rgb, target, 0, 0, both);
    EXPECT_EQ(both.messages(), (QStringList{"rawpixelcopy from error, not 8 bit image!",
                                            "rawpixelcopy to error, not 8 bit image!"}));

    ScriptedPrompts toOnly;
    rawpixelcopy(indexed, target, 0, 0, toOnly);
    EXPECT_EQ(toOnly.messages(), QStringList{"rawpixelcopy to error, not 8 bit image!"});
}

TEST(PaletteLookup, RawPixelCopyPlacesAtTheOffsetAndClipsAtEveryEdge) {
    const QImage source = indexedImage(3, 2, 1); // rows 1 2 3 / 4 5 6
    struct Case {
        int rowOffset, columnOffset;
        QByteArray expected; // the 4x3 target, row by row
    };
    const Case cases[] = {
        {1, 1,
         QByteArray("\0\0\0\0"
                    "\0\1\2\3"
                    "\0\4\5\6",
                    12)},
        {-1, -2,
         QByteArray("\6\0\0\0"
                    "\0\0\0\0"
                    "\0\0\0\0",
                    12)},
        {2, 3,
         QByteArray("\0\0\0\0"
                    "\0\0\0\0"
                    "\0\0\0\1",
                    12)},
        {3, 0, QByteArray(12, '\0')},
        {0, -3, QByteArray(12, '\0')},
        {INT_MAX, INT_MAX, QByteArray(12, '\0')},
        {INT_MIN, INT_MIN, QByteArray(12, '\0')},
    };
    for (const Case &c : cases) {
        QImage target(4, 3, QImage::Format_Indexed8);
        target.fill(0);
        ScriptedPrompts prompts;
        rawpixelcopy(source, target, c.rowOffset, c.columnOffset, prompts);
        QByteArray got;
        for (int y = 0; y < 3; ++y)
            got.append(reinterpret_cast<const char *>(target.constScanLine(y)), 4);
        EXPECT_EQ(got.toHex(), c.expected.toHex()) << c.rowOffset << "," << c.columnOffset;
        EXPECT_TRUE(prompts.messages().isEmpty());
    }
}

TEST(PaletteLookup, GraphicsFindTheirVirtualPaletteAfterTheKindsBeforeThem) {
    StyleDocument doc;
    doc.PaletteCounts = {992, 10, 5, 3, 0, 0, 0, 0};
    doc.PaletteIndex.resize(1010);
    doc.PaletteIndex[992] = 17;

    EXPECT_EQ(tileVirtualPalette(7), 7);
    EXPECT_EQ(spriteVirtualPalette(doc, 0), 992);
    EXPECT_EQ(carRemapVirtualPalette(doc, 1), 1003);
    EXPECT_EQ(pedRemapVirtualPalette(doc, 2), 1009);

    EXPECT_EQ(physicalPaletteOf(doc, spriteVirtualPalette(doc, 0)), 17);
    EXPECT_EQ(physicalPaletteOf(doc, 1009), 0);
    EXPECT_EQ(physicalPaletteOf(doc, 1010), std::nullopt);
    EXPECT_EQ(physicalPaletteOf(doc, -1), std::nullopt);
}

} // namespace
