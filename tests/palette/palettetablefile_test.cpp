#include "palette/palettetablefile.h"

#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "sample/samplestyle.h"
#include "support/bitmapbytes.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// A document of `palettes` palettes whose every store byte, the fourth of each colour included,
// is seeded noise.
StyleDocument noisyDocument(int palettes) {
    StyleDocument doc;
    doc.PhysicalPaletteCount = palettes;
    QRandomGenerator random(384);
    for (char &byte : doc.PhysicalPalettes)
        byte = char(random.bounded(256));
    return doc;
}

QByteArray bitmapOf(int width, int height, quint16 bitCount) {
    BitmapLayout layout{.width = width, .height = height, .bitCount = bitCount};
    if (bitCount == 8)
        layout.colours = QList<QRgb>(256, qRgb(1, 2, 3));
    layout.rows = QList<QByteArray>(height, QByteArray(width * bitCount / 8, '\x11'));
    return bitmapBytes(layout);
}

class PaletteTableFile : public ::testing::Test {
protected:
    QString writeFile(const QString &name, const QByteArray &bytes) {
        const QString path = dir.path(name);
        writeWholeFileAtomic(path, bytes);
        return path;
    }

    TestDir dir;
    ScriptedPrompts prompts;
};

TEST_F(PaletteTableFile, ExportThenImportRestoresEveryPaletteAndThePicture) {
    const StyleDocument original = noisyDocument(384);
    const QImage clut1 = makeClut1(original);
    prompts.queueText(dir.path("table.png"));
    EXPECT_EQ(exportPaletteTable(original, prompts), dir.path("table.bmp"));
    EXPECT_EQ(prompts.shown(), QStringList{"save *.bmp|*.bmp"});

    const LoadedBitmap written = loadBitmap(dir.path("table.bmp"));
    EXPECT_EQ(written.pixelFormatCode, Pf24Bit);
    EXPECT_EQ(written.image.size(), QSize(384, 256));

    // The red, green and blue bytes are cleared; the fourth bytes must survive the import.
    StyleDocument doc = original;
    doc.PhysicalPaletteCount = 64;
    for (int p = 0; p < 384; ++p)
        for (int c = 0; c < 256; ++c)
            writetoclut(doc, p, c, 0);
    prompts.queueText(dir.path("table.bmp"));
    ASSERT_TRUE(importPaletteTable(doc, prompts));
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_TRUE(doc == original);
    EXPECT_EQ(makeClut1(doc), clut1);
}

TEST_F(PaletteTableFile, RefusalsComeInTheirOrderAndChangeNothing) {
    const QString depth =
        "What kind of a joker are you? THE CLUT BITMAP MUST BE 24 BIT, IT STORES PALETTES YOU IDIOT!";
    const QString height = "invalid clut size, height must be 256!";
    const struct {
        int width, height;
        quint16 bits;
        QString message;
    } cases[] = {
        {64, 256, 8, depth},
        {64, 256, 32, depth},
        {100, 255, 8, depth},
        {100, 255, 24, "invalid clut size, width not dividable by 64!\rTry 64."},
        {200, 256, 24, "invalid clut size, width not dividable by 64!\rTry 192."},
        {640, 255, 24, height},
        {768, 256, 24, "invalid clut size, a style file holds at most 704 palettes!\rTry 704."},
    };
    const StyleDocument original = noisyDocument(128);
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
        StyleDocument doc = original;
        ScriptedPrompts asked;
        asked.queueText(writeFile("table.bmp", bitmapOf(c.width, c.height, c.bits)));
        EXPECT_FALSE(importPaletteTable(doc, asked));
        EXPECT_EQ(asked.messages(), QStringList{c.message});
        EXPECT_TRUE(doc == original);
    }
}

TEST_F(PaletteTableFile, TheWholeStoreIsAccepted) {
    StyleDocument doc = noisyDocument(64);
    prompts.queueText(writeFile("table.bmp", bitmapOf(704, 256, 24)));
    ASSERT_TRUE(importPaletteTable(doc, prompts));
    EXPECT_EQ(doc.PhysicalPaletteCount, 704);
    EXPECT_EQ(directclutacces(doc, 703, 255, false), colourValue(0x11, 0x11, 0x11));
    EXPECT_EQ(makeClut1(doc).size(), QSize(704, 256));
}

TEST_F(PaletteTableFile, CancelledDialogsDoNothing) {
    StyleDocument doc = makeSampleStyle();
    const StyleDocument original = doc;
    prompts.queueText(std::nullopt);
    prompts.queueText(std::nullopt);
    EXPECT_TRUE(exportPaletteTable(doc, prompts).isEmpty());
    EXPECT_FALSE(importPaletteTable(doc, prompts));
    EXPECT_EQ(prompts.shown(), (QStringList{"save *.bmp|*.bmp", "open *.bmp|*.bmp"}));
    EXPECT_TRUE(doc == original);
    EXPECT_FALSE(QFile::exists(dir.path("palclut.bmp")));
}

} // namespace
