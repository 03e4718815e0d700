#include "graphics/spriteentries.h"
#include "graphics/spriteoperations.h"
#include "graphics/tilenumbering.h"
#include "graphics/tileoperations.h"
#include "graphics/tilepattern.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "platform/log.h"
#include "sample/samplestyle.h"
#include "support/oddbitmaps.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

QList<int> storeIndexes(const QImage &store, int left, int top, int width, int height) {
    QList<int> indexes;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            indexes.append(store.constScanLine(y)[x]);
    return indexes;
}

// The file's colours replace the first entries of the palette; the rest keep theirs.
QList<QRgb> expectedPalette(const QList<QRgb> &before, const QList<QRgb> &fileColours) {
    QList<QRgb> colours = fileColours;
    colours += before.mid(fileColours.size());
    return colours;
}

bool trueColour(const OddBitmap &file) {
    return file.pixelFormatCode >= Pf15Bit && file.pixelFormatCode <= Pf32Bit;
}

// A 4-bit or true-colour file also gets told in plain words what to do about it.
QString formatRefusal(const QString &size, const OddBitmap &file) {
    QString advice;
    if (file.pixelFormatCode == Pf4Bit)
        advice =
            QStringLiteral("\rThis is a 16-colour bitmap; save it with 256 colours (8 bits per pixel) and "
                           "import it again.");
    else if (trueColour(file))
        advice =
            QStringLiteral("\rThis is a true-colour file, which has no palette to write; save it with 256 "
                           "colours (an 8-bit bitmap or a PNG with a palette) and import it again.");
    return QStringLiteral("error: bitmap must be 8 bit size: %1 pixels.\ryour bitmap pixel format is: %2 bit "
                          "size: %1 pixels.")
               .arg(size)
               .arg(file.pixelFormatCode) +
           advice;
}

struct OddImports : ::testing::Test {

    // A refused file throws with the reader's message and changes nothing.
    void expectRefused(const OddBitmap &file, const std::function<bool()> &import) {
        try {
            import();
            ADD_FAILURE() << "imported";
        } catch (const EditorError &error) {
            EXPECT_TRUE(error.text().endsWith(file.refusal)) << error.what();
        }
        EXPECT_EQ(doc, original);
    }

    StyleDocument doc = makeSampleStyle();
    const StyleDocument original = doc;
    LineLog log;
    TestDir dir;
};

TEST_F(OddImports, TileImportTakesEveryEightBitKindAndRefusesTheRest) {
    constexpr int tile = 5;
    constexpr int palette = 40;
    const QPoint origin = tileOrigin(tile);
    const std::vector<OddBitmap> files = oddBitmaps(TileSide, TileSide);
    writeOddBitmaps(files, dir.path(QString()));
    int imported = 0;
    for (const OddBitmap &file : files) {
        SCOPED_TRACE(file.name.toStdString());
        doc = original;
        ScriptedPrompts prompts;
        prompts.queueText(dir.path(file.name));
        const auto import = [&] {
            return importTile(doc, tile, DefaultTilePattern, prompts, log);
        };
        if (!file.refusal.isEmpty()) {
            expectRefused(file, import);
            continue;
        }
        if (file.pixelFormatCode != Pf8Bit) {
            // A true-colour file is read by colour unless its colours would be written.
            if (trueColour(file))
                prompts.queue(Answer::Yes);
            EXPECT_FALSE(import());
            EXPECT_EQ(prompts.messages(), QStringList{formatRefusal("64*64", file)});
            EXPECT_EQ(doc, original);
            continue;
        }
        prompts.queue(Answer::Yes);
        prompts.queueText(QString::number(palette));
        ASSERT_TRUE(import());
        EXPECT_TRUE(prompts.messages().isEmpty());
        EXPECT_EQ(storeIndexes(doc.TileStore, origin.x(), origin.y(), TileSide, TileSide), file.indexes);
        EXPECT_EQ(ClutToPal(doc, palette), expectedPalette(ClutToPal(original, palette), file.fileColours));
        ++imported;
    }
    EXPECT_EQ(imported, 13);
}

TEST_F(OddImports, SpriteImportWritesOnlyTheFilesColoursAndCopiesItsIndexes) {
    int sprite = 0;
    const auto fits = [&](const SpriteEntry &e) {
        return e.w >= 4 && e.h >= 2 && spriteOnItsPage(doc, e);
    };
    while (sprite < int(doc.SpriteIndex.size()) && !fits(doc.SpriteIndex[std::size_t(sprite)]))
        ++sprite;
    ASSERT_LT(sprite, int(doc.SpriteIndex.size()));
    const SpriteEntry entry = doc.SpriteIndex[std::size_t(sprite)];
    const std::optional<int> palette = physicalPaletteOf(doc, spriteVirtualPalette(doc, sprite));
    ASSERT_TRUE(palette);
    const std::vector<OddBitmap> files = oddBitmaps(entry.w, entry.h);
    writeOddBitmaps(files, dir.path(QString()));
    for (const OddBitmap &file : files) {
        SCOPED_TRACE(file.name.toStdString());
        doc = original;
        ScriptedPrompts prompts;
        prompts.queueText(dir.path(file.name));
        const auto import = [&] {
            return importSprite(doc, sprite, prompts, log);
        };
        if (!file.refusal.isEmpty()) {
            expectRefused(file, import);
            continue;
        }
        if (file.pixelFormatCode != Pf8Bit) {
            if (trueColour(file))
                prompts.queueChoice(SpriteImportChoice::ImportOverCurrent);
            EXPECT_FALSE(import());
            EXPECT_EQ(prompts.messages(),
                      QStringList{formatRefusal(QStringLiteral("%1*%2").arg(entry.w).arg(entry.h), file)});
            EXPECT_EQ(doc, original);
            continue;
        }
        prompts.queueChoice(SpriteImportChoice::ImportOverCurrent);
        ASSERT_TRUE(import());
        EXPECT_EQ(storeIndexes(doc.SpriteStore, entry.x(), entry.page() * 256 + entry.y(), entry.w, entry.h),
                  file.indexes);
        EXPECT_EQ(ClutToPal(doc, *palette), expectedPalette(ClutToPal(original, *palette), file.fileColours));
    }
}

} // namespace
