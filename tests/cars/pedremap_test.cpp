#include "cars/pedremap.h"

#include "cars/pedpicture.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// 992 tile, 100 sprite and 12 car remap palettes put ped remap r at virtual palette 1104 + r. The
// list ends at 1110; remap 3 points at physical palette 5 and remap 5 at the first palette past
// the 64 the file has.
StyleDocument remapDocument() {
    StyleDocument doc;
    doc.PaletteCounts[PalTile] = 992;
    doc.PaletteCounts[PalSprite] = 100;
    doc.PaletteCounts[PalCarRemap] = 12;
    doc.PaletteCounts[PalPedRemap] = 6;
    for (int v = 0; v < 1110; ++v)
        doc.PaletteIndex.append(static_cast<quint16>(v % 64));
    doc.PaletteIndex[1107] = 5;
    doc.PaletteIndex[1109] = 64;
    doc.PhysicalPaletteCount = 64;
    for (int p = 0; p < 64; ++p)
        for (int c = 0; c < 256; ++c)
            writetoclut(doc, p, c, colourValue(c, p * 4, 255 - c));
    return doc;
}

QByteArray indexesOf(const QImage &image) {
    QByteArray bytes;
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char *>(image.constScanLine(y)), image.width());
    return bytes;
}

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int c = 0; c < 256; ++c)
        table.append(qRgb(255 - c, c / 2, c));
    image.setColorTable(table);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = static_cast<uchar>(x * 7 + y * 13);
    return image;
}

TEST(PedPicture, IsEightBitWithClothesSkinAndHairInTheirOwnRuns) {
    const QImage picture = makePedPicture();
    ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
    ASSERT_EQ(picture.colorCount(), 256);
    const QByteArray indexes = indexesOf(picture);
    const auto uses = [&](int low, int high) {
        return std::any_of(indexes.begin(), indexes.end(),
                           [&](char i) { return inRange(low, high, static_cast<uchar>(i)); });
    };
    EXPECT_TRUE(uses(0, 1));
    EXPECT_TRUE(uses(1, 80));
    EXPECT_TRUE(uses(80, 160));
    EXPECT_TRUE(uses(160, 240));
    EXPECT_FALSE(uses(240, 256));
}

TEST(PedRemap, RemapTakesThePhysicalPaletteAfterTilesSpritesAndCarRemaps) {
    const StyleDocument doc = remapDocument();
    EXPECT_EQ(pedRemapPalette(doc, 3), 5);
    EXPECT_EQ(pedRemapPalette(doc, 0), 1104 % 64);

    ScriptedPrompts prompts;
    QImage picture = makePedPicture();
    const QByteArray before = indexesOf(picture);
    ASSERT_TRUE(pedRemapChanged(doc, picture, 3, prompts));
    EXPECT_EQ(picture.colorTable(), ClutToPal(doc, 5));
    EXPECT_EQ(indexesOf(picture), before);
    EXPECT_TRUE(prompts.shown().isEmpty());

    ASSERT_TRUE(recolourPed(doc, picture, 4));
    EXPECT_EQ(picture.colorTable(), ClutToPal(doc, 1108 % 64));
    EXPECT_EQ(indexesOf(picture), before);
}

TEST(PedRemap, RemapsWithoutAPaletteAreRefusedAndKeepTheColours) {
    const StyleDocument doc = remapDocument();
    const struct {
        int remap;
        const char *message;
    } cases[] = {
        {6, "List index out of bounds (1110): ped remap 6 needs virtual palette 1110, but the palette "
            "list holds 1110 palettes."},
        {5, "Ped remap 5: There is no palette 64: this style file has 64 palettes (0 to 63)."},
        {10001, "The ped remap number must lie between 0 and 10000."},
        {-1, "The ped remap number must lie between 0 and 10000."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.remap);
        ScriptedPrompts prompts;
        QImage picture = makePedPicture();
        const QImage before = picture.copy();
        EXPECT_FALSE(pedRemapPalette(doc, c.remap));
        EXPECT_FALSE(pedRemapChanged(doc, picture, c.remap, prompts));
        EXPECT_EQ(prompts.messages(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(picture, before);
        EXPECT_FALSE(recolourPed(doc, picture, c.remap));
        EXPECT_EQ(picture, before);
    }
}

TEST(PedBitmaps, SaveForcesTheExtensionAndOpenGivesBackIndexesAndColours) {
    TestDir dir;
    const QImage picture = gradient(30, 20);
    ScriptedPrompts prompts;
    prompts.queueText(dir.path(QStringLiteral("peds.txt")));
    ASSERT_TRUE(pedSaveBmp(picture, prompts));
    EXPECT_FALSE(QFile::exists(dir.path(QStringLiteral("peds.txt"))));
    ASSERT_TRUE(QFile::exists(dir.path(QStringLiteral("peds.bmp"))));

    QImage opened = makePedPicture();
    prompts.queueText(dir.path(QStringLiteral("peds.bmp")));
    ASSERT_TRUE(pedOpenBmp(opened, prompts));
    EXPECT_EQ(opened.size(), QSize(30, 20));
    EXPECT_EQ(indexesOf(opened), indexesOf(picture));
    EXPECT_EQ(opened.colorTable(), picture.colorTable());
    EXPECT_EQ(prompts.shown(), (QStringList{QStringLiteral("save *.bmp|*.bmp|*.png|*.png"),
                                            QStringLiteral("open *.bmp|*.bmp|*.png|*.png")}));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST(PedBitmaps, OpenRefusesFilesThatAreNoEightBitBitmapAndKeepsThePicture) {
    TestDir dir;
    const QString text = dir.path(QStringLiteral("notes.bmp"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just some words");
    file.close();
    const QString rgb = dir.path(QStringLiteral("rgb.bmp"));
    saveBitmap24(rgb, gradient(8, 8));
    // Sixteen colours go out as a 4-bit file.
    QImage sixteen = gradient(8, 8);
    sixteen.setColorCount(16);
    sixteen.fill(3);
    const QString four = dir.path(QStringLiteral("four.bmp"));
    ASSERT_TRUE(sixteen.save(four, "BMP"));

    const struct {
        QString path;
        QString message;
    } cases[] = {
        {text, QStringLiteral("Cannot read bitmap file \"%1\": it is not a Windows bitmap.").arg(text)},
        {dir.path(QStringLiteral("missing.bmp")), QString()},
        {rgb,
         QStringLiteral("error: bitmap must be 8 bit.\ryour bitmap pixel format is: 6\rThis is a true-colour "
                        "file, which has no palette to write; save it with 256 colours (an 8-bit bitmap or a "
                        "PNG with a palette) and import it again.")},
        {four, QStringLiteral("error: bitmap must be 8 bit.\ryour bitmap pixel format is: 2")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        ScriptedPrompts prompts;
        QImage picture = makePedPicture();
        const QImage before = picture.copy();
        prompts.queueText(c.path);
        EXPECT_FALSE(pedOpenBmp(picture, prompts));
        ASSERT_EQ(prompts.messages().size(), 1);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(prompts.messages().front(), c.message);
        }
        EXPECT_EQ(picture, before);
    }
}

} // namespace
