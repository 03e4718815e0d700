#include "graphics/deltasheet.h"

#include "graphics/deltaoperations.h"
#include "graphics/deltaunit.h"
#include "graphics/spritepicture.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "platform/log.h"
#include "sample/samplestyle.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace {

QImage cellOf(const QImage &sheet, QSize sprite, int cell) {
    const QPoint origin = deltaCellOrigin(sprite, cell);
    return sheet.copy(QRect(origin, sprite));
}

bool allIndex(const QImage &image, int index) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelIndex(x, y) != index)
                return false;
    return true;
}

// Index by index, whatever the colour tables say.
bool sameIndexes(const QImage &a, const QImage &b) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), std::size_t(a.width())) != 0)
            return false;
    return true;
}

QImage withDelta(const StyleDocument &doc, int sprite, int delta) {
    QImage picture = spritePicture(doc, sprite);
    applyDelta(doc, sprite, delta, picture, 0, 0);
    return picture;
}

TEST(DeltaSheet, CellsLieInTwoRowsOfTenWithFourPixelGaps) {
    EXPECT_EQ(deltaSheetSize(QSize(32, 60)), QSize(356, 124));
    EXPECT_EQ(deltaCellOrigin(QSize(32, 60), 0), QPoint(0, 0));
    EXPECT_EQ(deltaCellOrigin(QSize(32, 60), 9), QPoint(324, 0));
    EXPECT_EQ(deltaCellOrigin(QSize(32, 60), 13), QPoint(108, 64));
    QList<QRgb> colours(256, qRgb(0, 0, 0));
    colours[17] = qRgb(250, 240, 250);
    colours[30] = qRgb(250, 250, 240);
    EXPECT_EQ(closestToWhite(colours), 17) << "the first of equally near entries";
    colours[200] = qRgb(255, 255, 255);
    EXPECT_EQ(closestToWhite(colours), 200);
}

struct SampleDeltas : ::testing::Test {
    StyleDocument doc = makeSampleStyle();
    int car = 2;
    QSize size() const { return spritePicture(doc, car).size(); }
    int deltaCount() const { return doc.DeltaIndex[std::size_t(*findDeltaEntry(doc, car))].delta_count; }
    int white() const { return closestToWhite(spritePicture(doc, car).colorTable()); }

    QString saved(const QString &name, const QImage &image) {
        saveBitmap8(dir.path(name), image);
        return dir.path(name);
    }
    std::optional<QImage> import(const QString &path) {
        prompts.queueText(path);
        return importDeltas(doc, car, prompts, log);
    }

    TestDir dir;
    ScriptedPrompts prompts;
    LineLog log;
};

TEST_F(SampleDeltas, TheThreeViewsDrawEveryCell) {
    const QImage picture = spritePicture(doc, car);
    const int count = deltaCount();
    ASSERT_GT(count, 0);
    ASSERT_LT(count, DeltaSheetCells);
    const QImage draw = renderDeltaSheet(doc, car, DeltaView::Draw);
    const QImage cars = renderDeltaSheet(doc, car, DeltaView::CarsOnly);
    const QImage changes = renderDeltaSheet(doc, car, DeltaView::ChangesOnly);
    for (const QImage *sheet : {&draw, &cars, &changes}) {
        ASSERT_EQ(sheet->size(), deltaSheetSize(size()));
        ASSERT_EQ(sheet->colorTable(), picture.colorTable());
        // The gap column after cell 0 and the gap row under the first row stay white.
        EXPECT_TRUE(allIndex(sheet->copy(size().width(), 0, DeltaCellGap, sheet->height()), white()));
        EXPECT_TRUE(allIndex(sheet->copy(0, size().height(), sheet->width(), DeltaCellGap), white()));
    }
    for (int cell = 0; cell < DeltaSheetCells; ++cell) {
        EXPECT_TRUE(sameIndexes(cellOf(cars, size(), cell), picture));
        if (cell < count) {
            EXPECT_TRUE(sameIndexes(cellOf(draw, size(), cell), withDelta(doc, car, cell))) << cell;
            EXPECT_FALSE(allIndex(cellOf(changes, size(), cell), white())) << cell;
        } else {
            EXPECT_TRUE(sameIndexes(cellOf(draw, size(), cell), picture)) << cell;
            EXPECT_TRUE(allIndex(cellOf(changes, size(), cell), white())) << cell;
        }
    }
}

TEST_F(SampleDeltas, AnExportedSheetImportedBackDrawsTheSamePixels) {
    const QImage draw = renderDeltaSheet(doc, car, DeltaView::Draw);
    prompts.queueText(dir.path("sheet.tga"));
    const QString path = exportDeltaSheet(doc, car, prompts);
    EXPECT_EQ(path, dir.path("sheet.bmp"));
    EXPECT_EQ(prompts.presets(), QStringList{QStringLiteral("D_VYR2_CAR_2.bmp")});

    const StyleDocument before = doc;
    const std::optional<QImage> shown = import(path);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(prompts.presets().last(), QStringLiteral("D_VYR2_CAR_2.bmp"));
    EXPECT_EQ(doc.DeltaIndex[std::size_t(*findDeltaEntry(doc, car))].delta_count, DeltaSheetCells);
    for (int cell = 0; cell < DeltaSheetCells; ++cell)
        EXPECT_TRUE(sameIndexes(withDelta(doc, car, cell), cellOf(draw, size(), cell))) << cell;
    EXPECT_TRUE(sameIndexes(*shown, renderDeltaSheet(doc, car, DeltaView::ChangesOnly)));
    // Every other sprite draws as before.
    for (const DeltaIndexEntry &entry : before.DeltaIndex)
        for (int d = 0; entry.sprite != car && d < entry.delta_count; ++d)
            EXPECT_EQ(deltaBytes(doc, entry.sprite, d).toByteArray(),
                      deltaBytes(before, entry.sprite, d).toByteArray());
}

TEST_F(SampleDeltas, APlainSheetLeavesTwentyEmptyDeltasAndEveryOtherByte) {
    const StyleDocument before = doc;
    const int e = *findDeltaEntry(doc, car);
    const qint64 start = deltaEntryStart(doc, e), bytes = deltaEntryBytes(doc.DeltaIndex[std::size_t(e)]);
    ASSERT_TRUE(import(saved("cars.bmp", renderDeltaSheet(doc, car, DeltaView::CarsOnly))));
    const DeltaIndexEntry &entry = doc.DeltaIndex[std::size_t(e)];
    EXPECT_EQ(entry.delta_count, 20);
    EXPECT_EQ(deltaEntryBytes(entry), 0);
    EXPECT_EQ(doc.DeltaStore, before.DeltaStore.left(start) + before.DeltaStore.mid(start + bytes));
    EXPECT_EQ(doc.DeltaIndexCount(), before.DeltaIndexCount());
}

TEST_F(SampleDeltas, ImportRefusalsComeInOrderAndChangeNothing) {
    const StyleDocument before = doc;
    const QSize sheet = deltaSheetSize(size());
    QImage wide(sheet.width() + 1, 7, QImage::Format_RGB32);
    wide.fill(Qt::red);
    saveBitmap24(dir.path("wide24.bmp"), wide);
    QImage tall(sheet.width(), sheet.height() + 2, QImage::Format_Indexed8);
    tall.setColorTable(spritePicture(doc, car).colorTable());
    tall.fill(0);
    const QImage narrow = tall.copy(0, 0, sheet.width() - 1, sheet.height() + 2);

    EXPECT_FALSE(import(dir.path("wide24.bmp")));
    EXPECT_FALSE(import(saved("narrow.bmp", narrow)));
    EXPECT_FALSE(import(saved("tall.bmp", tall)));
    EXPECT_EQ(
        prompts.messages(),
        (QStringList{QStringLiteral("pixel format is not 8 bit!\rThis is a true-colour file, which has no "
                                    "palette to write; save it with 256 colours (an 8-bit bitmap or a "
                                    "PNG with a palette) and import it again."),
                     QStringLiteral("bitmap width is not %1pixels!").arg(sheet.width()),
                     QStringLiteral("bitmap height is not %1pixels!").arg(sheet.height())}));
    EXPECT_EQ(doc, before);

    prompts.queueText(std::nullopt);
    EXPECT_FALSE(importDeltas(doc, car, prompts, log)) << "cancelled";
    EXPECT_THROW(import(dir.path("missing.bmp")), EditorError);
    EXPECT_FALSE(importDeltas(doc, doc.SpriteBases[SprCar], prompts, log)) << "not a car";
    EXPECT_EQ(prompts.messages().last(),
              QStringLiteral("Sprite %1 is no car sprite; only car sprites have deltas.")
                  .arg(doc.SpriteBases[SprCar]));
    EXPECT_EQ(doc, before);
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(SampleDeltas, ACellWithTooManyRunsIsRefusedByNumber) {
    car = 3; // the bus: a checkerboard over its 44*104 pixels needs 2288 runs
    ASSERT_GT(size().width() * size().height() / 2, MaxDeltaRuns);
    const StyleDocument before = doc;
    QImage sheet = renderDeltaSheet(doc, car, DeltaView::CarsOnly);
    const QPoint origin = deltaCellOrigin(size(), 13);
    for (int y = 0; y < size().height(); ++y)
        for (int x = y % 2; x < size().width(); x += 2)
            sheet.setPixel(origin.x() + x, origin.y() + y,
                           (sheet.pixelIndex(origin.x() + x, origin.y() + y) + 1) % 256);
    try {
        import(saved("busy.bmp", sheet));
        FAIL() << "a cell of " << size().width() * size().height() / 2 << " runs was accepted";
    } catch (const EditorError &error) {
        EXPECT_TRUE(error.text().startsWith(QStringLiteral("Delta 13 of the sheet cannot be imported")))
            << error.text().toStdString();
    }
    EXPECT_EQ(doc, before);
}

TEST_F(SampleDeltas, ACarWithoutDeltasGetsAnEntryAtTheEnd) {
    const int e = *findDeltaEntry(doc, car);
    StyleDocument without = doc;
    without.DeltaIndex.erase(std::size_t(e));
    without.DeltaStore.remove(deltaEntryStart(doc, e), deltaEntryBytes(doc.DeltaIndex[std::size_t(e)]));
    const QImage draw = renderDeltaSheet(doc, car, DeltaView::Draw);
    EXPECT_TRUE(sameIndexes(renderDeltaSheet(without, car, DeltaView::Draw),
                            renderDeltaSheet(without, car, DeltaView::CarsOnly)));
    doc = without;
    ASSERT_TRUE(import(saved("draw.bmp", draw)));
    EXPECT_EQ(doc.DeltaIndexCount(), without.DeltaIndexCount() + 1);
    EXPECT_EQ(doc.DeltaIndex[std::size_t(doc.DeltaIndexCount() - 1)].sprite, car);
    EXPECT_TRUE(sameIndexes(renderDeltaSheet(doc, car, DeltaView::Draw), draw));
}

TEST_F(SampleDeltas, ASheetWithAnotherPaletteIsMappedByColour) {
    const QImage draw = renderDeltaSheet(doc, car, DeltaView::Draw);
    // The same picture with its colour table turned around: every index changes, no colour does.
    QImage reversed = draw.copy();
    QList<QRgb> table = draw.colorTable();
    std::reverse(table.begin(), table.end());
    reversed.setColorTable(table);
    for (int y = 0; y < reversed.height(); ++y)
        for (int x = 0; x < reversed.width(); ++x)
            reversed.scanLine(y)[x] = uchar(255 - draw.constScanLine(y)[x]);
    const std::vector<QByteArray> deltas = encodeSheetDeltas(doc, car, reversed);
    const std::vector<QByteArray> same = encodeSheetDeltas(doc, car, draw);
    // Sample palettes may repeat a colour, so compare what the deltas draw, not their bytes.
    StyleDocument a = doc, b = doc;
    replaceSpriteDeltas(a, car, deltas);
    replaceSpriteDeltas(b, car, same);
    for (int cell = 0; cell < DeltaSheetCells; ++cell) {
        QImage fromReversed = withDelta(a, car, cell), fromSame = withDelta(b, car, cell);
        for (int y = 0; y < fromSame.height(); ++y)
            for (int x = 0; x < fromSame.width(); ++x)
                ASSERT_EQ(fromReversed.color(fromReversed.pixelIndex(x, y)),
                          fromSame.color(fromSame.pixelIndex(x, y)));
    }
}

TEST(DeltaSheetSprites, SpritesWithoutAPictureAreRefused) {
    StyleDocument doc = makeSampleStyle();
    EXPECT_THROW(renderDeltaSheet(doc, doc.spriteCount(), DeltaView::Draw), EditorError);
    SpriteEntry &entry = doc.SpriteIndex[0];
    entry.ptr = (entry.ptr & 0xffff) | (quint32(doc.spritePageCount()) << 16);
    EXPECT_THROW(renderDeltaSheet(doc, 0, DeltaView::Draw), EditorError);
    entry.ptr = 250;
    EXPECT_THROW(spritePicture(doc, 0), EditorError) << "reaches past column 255";
    entry.ptr = 0;
    entry.w = 0;
    EXPECT_THROW(spritePicture(doc, 0), EditorError);
    EXPECT_EQ(SpriteFileName(doc, 0), QStringLiteral("VYR2_CAR_0.bmp"));
    const int firstCodeObject = doc.SpriteBases[SprCar] + doc.SpriteBases[SprPed];
    EXPECT_EQ(SpriteFileName(doc, firstCodeObject),
              QStringLiteral("VYR2_CODE OBJECT_%1.bmp").arg(firstCodeObject));
    EXPECT_EQ(SpriteKind(doc, doc.spriteCount() - 1), QStringLiteral("FONT"));
}

} // namespace
