#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "support/bitmapbytes.h"
#include "support/tempdir.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

quint16 bitCountOf(const QByteArray &file) {
    return qFromLittleEndian<quint16>(file.constData() + 28);
}

QList<QRgb> greyRamp(int count) {
    QList<QRgb> colours;
    for (int i = 0; i < count; ++i)
        colours.append(qRgb(i, i, i));
    return colours;
}

struct FormatCase {
    const char *name;
    BitmapLayout layout;
    int code;
};

std::vector<FormatCase> formatCases() {
    const QByteArray twoBytes("\x1F\x00\xE0\x03", 4);
    return {
        {"1 bit", {.width = 8, .bitCount = 1, .colours = greyRamp(2), .rows = {"\xA5"}}, Pf1Bit},
        {"4 bit", {.width = 4, .bitCount = 4, .colours = greyRamp(16), .rows = {"\x12\x3F"}}, Pf4Bit},
        {"8 bit", {.width = 2, .colours = greyRamp(256), .rows = {"\x01\xFF"}}, Pf8Bit},
        {"8 bit, OS/2 header",
         {.width = 2, .infoLength = 12, .colours = greyRamp(256), .rows = {"\x01\xFF"}},
         Pf8Bit},
        {"8 bit, run-length",
         {.width = 4, .compression = 1, .colours = greyRamp(256), .rows = {{"\x04\x07\x00\x01", 4}}},
         Pf8Bit},
        {"16 bit, no masks", {.width = 2, .bitCount = 16, .rows = {twoBytes}}, Pf15Bit},
        {"16 bit, 5-5-5 masks",
         {.width = 2,
          .bitCount = 16,
          .compression = 3,
          .masks = {0x7C00, 0x03E0, 0x001F},
          .rows = {twoBytes}},
         Pf15Bit},
        {"16 bit, 5-6-5 masks",
         {.width = 2,
          .bitCount = 16,
          .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F},
          .rows = {twoBytes}},
         Pf16Bit},
        {"16 bit, 5-6-5 masks in a version 5 header",
         {.width = 2,
          .bitCount = 16,
          .compression = 3,
          .infoLength = 124,
          .masks = {0xF800, 0x07E0, 0x001F},
          .rows = {twoBytes}},
         Pf16Bit},
        {"16 bit, other masks",
         {.width = 2,
          .bitCount = 16,
          .compression = 3,
          .masks = {0x0F00, 0x00F0, 0x000F},
          .rows = {twoBytes}},
         PfCustom},
        {"24 bit", {.width = 1, .bitCount = 24, .rows = {"\x01\x02\x03"}}, Pf24Bit},
        {"32 bit", {.width = 1, .bitCount = 32, .rows = {{"\x01\x02\x03\x00", 4}}}, Pf32Bit},
        {"32 bit, standard masks",
         {.width = 1,
          .bitCount = 32,
          .compression = 3,
          .masks = {0xFF0000, 0xFF00, 0xFF},
          .rows = {{"\x01\x02\x03\x00", 4}}},
         Pf32Bit},
    };
}

} // namespace

TEST(BitmapFile, FormatCodeComesFromTheFileHeader) {
    for (const FormatCase &c : formatCases()) {
        SCOPED_TRACE(c.name);
        const LoadedBitmap loaded = decodeBitmap(bitmapBytes(c.layout), QStringLiteral("case.bmp"));
        EXPECT_EQ(loaded.pixelFormatCode, c.code);
        EXPECT_EQ(loaded.image.width(), c.layout.width);
        if (c.layout.bitCount <= 8) {
            EXPECT_EQ(loaded.image.format(), QImage::Format_Indexed8);
            EXPECT_EQ(loaded.image.colorCount(), 256);
        } else {
            EXPECT_NE(loaded.image.format(), QImage::Format_Indexed8);
        }
    }
}

TEST(BitmapFile, PaletteFilesKeepEveryIndex) {
    // Equal colours must not merge indexes, and indexes past a short table must survive.
    const QList<QRgb> twoWhites{qRgb(255, 255, 255), qRgb(255, 255, 255)};
    const LoadedBitmap oneBit = decodeBitmap(
        bitmapBytes({.width = 8, .bitCount = 1, .colours = twoWhites, .rows = {"\xA5"}}), "a.bmp");
    EXPECT_EQ(pixelIndexes(oneBit.image), (QList<int>{1, 0, 1, 0, 0, 1, 0, 1}));

    const LoadedBitmap fourBit = decodeBitmap(bitmapBytes({.width = 4,
                                                           .height = 2,
                                                           .bitCount = 4,
                                                           .colours = QList<QRgb>(16, qRgb(1, 2, 3)),
                                                           .rows = {"\x12\x3F", "\xED\xC0"}}),
                                              "b.bmp");
    EXPECT_EQ(pixelIndexes(fourBit.image), (QList<int>{1, 2, 3, 15, 14, 13, 12, 0}));

    const QList<QRgb> shortTable{qRgb(10, 20, 30), qRgb(10, 20, 30), qRgb(40, 50, 60), qRgb(70, 80, 90)};
    const LoadedBitmap eightBit =
        decodeBitmap(bitmapBytes({.width = 5,
                                  .height = 2,
                                  .colours = shortTable,
                                  .rows = {{"\x00\x01\x02\x03\xC8", 5}, {"\xFF\x01\x00\x09\x04", 5}}}),
                     "c.bmp");
    EXPECT_EQ(eightBit.pixelFormatCode, Pf8Bit);
    EXPECT_EQ(eightBit.image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(pixelIndexes(eightBit.image), (QList<int>{0, 1, 2, 3, 200, 255, 1, 0, 9, 4}));
    QList<QRgb> padded = shortTable;
    padded.resize(256, qRgb(0, 0, 0));
    EXPECT_EQ(eightBit.image.colorTable(), padded);
}

TEST(BitmapFile, EightBitRoundTripKeepsIndexesAndColourTable) {
    TestDir dir;
    // An odd width exercises the row padding; the table has equal neighbours on purpose.
    QImage image(17, 16, QImage::Format_Indexed8);
    QList<QRgb> table;
    QRandomGenerator random(42);
    for (int i = 0; i < 256; ++i)
        table.append(i % 3 == 0 ? qRgb(7, 7, 7) : random.generate() | 0xFF000000u);
    image.setColorTable(table);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.scanLine(y)[x] = uchar(y * image.width() + x);

    const QString path = dir.path("round.bmp");
    saveBitmap8(path, image);
    EXPECT_EQ(bitCountOf(readWholeFile(path)), 8);
    const LoadedBitmap loaded = loadBitmap(path);
    EXPECT_EQ(loaded.pixelFormatCode, Pf8Bit);
    ASSERT_EQ(loaded.image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(loaded.image.colorTable(), table);
    EXPECT_EQ(pixelIndexes(loaded.image), pixelIndexes(image));
}

TEST(BitmapFile, EightBitSaveWithShortTableStaysEightBit) {
    // Qt would write a picture of two colours as a 1-bit file.
    TestDir dir;
    QImage image(3, 1, QImage::Format_Indexed8);
    image.setColorTable({qRgb(1, 1, 1), qRgb(2, 2, 2)});
    image.fill(1);
    const QString path = dir.path("short.bmp");
    saveBitmap8(path, image);
    EXPECT_EQ(bitCountOf(readWholeFile(path)), 8);
    const LoadedBitmap loaded = loadBitmap(path);
    EXPECT_EQ(loaded.image.colorCount(), 256);
    EXPECT_EQ(loaded.image.color(1), qRgb(2, 2, 2));
    EXPECT_EQ(pixelIndexes(loaded.image), (QList<int>{1, 1, 1}));
}

TEST(BitmapFile, TwentyFourBitRoundTrip) {
    TestDir dir;
    QImage image(5, 3, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);

    const QString path = dir.path("true.bmp");
    saveBitmap24(path, image);
    EXPECT_EQ(bitCountOf(readWholeFile(path)), 24);
    const LoadedBitmap loaded = loadBitmap(path);
    EXPECT_EQ(loaded.pixelFormatCode, Pf24Bit);
    EXPECT_EQ(loaded.image.convertToFormat(QImage::Format_RGB32), image);

    // An indexed picture is written as colours too, not with its table.
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(200, 100, 50), qRgb(1, 2, 3)});
    indexed.scanLine(0)[0] = 1;
    indexed.scanLine(0)[1] = 0;
    saveBitmap24(path, indexed);
    EXPECT_EQ(bitCountOf(readWholeFile(path)), 24);
    const QImage colours = loadBitmap(path).image;
    EXPECT_EQ(colours.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(colours.pixel(1, 0), qRgb(200, 100, 50));
}

TEST(BitmapFile, UnreadableFilesThrowNamingTheFile) {
    const QString name = QStringLiteral("broken.bmp");
    auto expectRefused = [&](const QByteArray &bytes) {
        try {
            decodeBitmap(bytes, name);
            ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
        } catch (const EditorError &error) {
            EXPECT_TRUE(error.text().contains(QStringLiteral("\"broken.bmp\""))) << error.what();
        }
    };
    expectRefused(QByteArray());
    expectRefused(QByteArray("GIF89a this is no bitmap"));
    expectRefused(QByteArray("BM"));

    // Cut anywhere, from inside the file header to the last pixel byte.
    const QByteArray whole = bitmapBytes(
        {.width = 3, .height = 2, .colours = greyRamp(256), .rows = {"\x01\x02\x03", "\x04\x05\x06"}});
    for (qsizetype length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        expectRefused(whole.left(length));
    }
    EXPECT_NO_THROW(decodeBitmap(whole, name));
}

TEST(BitmapFile, FileErrorsThrow) {
    TestDir dir;
    EXPECT_THROW(loadBitmap(dir.path("missing.bmp")), EditorError);
    QImage image(1, 1, QImage::Format_Indexed8);
    EXPECT_THROW(saveBitmap8(dir.path("no/such/folder.bmp"), image), EditorError);
    EXPECT_THROW(saveBitmap8(dir.path("rgb.bmp"), QImage(1, 1, QImage::Format_RGB32)), EditorError);
    EXPECT_FALSE(QFile::exists(dir.path("rgb.bmp")));
}
