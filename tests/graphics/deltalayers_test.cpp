#include "graphics/deltalayers.h"

#include "graphics/deltaunit.h"
#include "graphics/drawingtools.h"
#include "graphics/spriteentries.h"
#include "graphics/spritepicture.h"
#include "platform/editorerror.h"
#include "sample/samplestyle.h"

#include <gtest/gtest.h>
#include <map>
#include <utility>

namespace {

using Changes = std::map<std::pair<int, int>, int>;

// The pixels a delta writes, read by the codec over two backgrounds.
Changes decodedChanges(QByteArrayView bytes, QSize size) {
    QImage zero(size, QImage::Format_Indexed8), one(size, QImage::Format_Indexed8);
    zero.fill(0u);
    one.fill(1u);
    decodeDelta(bytes, zero, QPoint(0, 0), zero.rect());
    decodeDelta(bytes, one, QPoint(0, 0), one.rect());
    Changes changes;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (zero.pixelIndex(x, y) != 0 || one.pixelIndex(x, y) != 1)
                changes[{x, y}] = one.pixelIndex(x, y);
    return changes;
}

struct CarDeltas : ::testing::Test {
    StyleDocument doc = makeSampleStyle();
    const int car = 2;
    QSize size() const { return spritePicture(doc, car).size(); }
    int count() const { return doc.DeltaIndex[std::size_t(*findDeltaEntry(doc, car))].delta_count; }
    QByteArray bytes(const StyleDocument &from, int sprite, int delta) const {
        return deltaBytes(from, sprite, delta).toByteArray();
    }
};

TEST_F(CarDeltas, LayersDrawAsTheGameDrawsTheDeltas) {
    ASSERT_GE(count(), 2);
    const QImage sprite = spritePicture(doc, car);
    const std::vector<DeltaLayer> layers = readDeltaLayers(doc, car);
    ASSERT_EQ(int(layers.size()), count());
    QImage expected = sprite.copy();
    for (int d = 0; d < count(); ++d)
        applyDelta(doc, car, d, expected, 0, 0);
    EXPECT_EQ(composeDeltaLayers(sprite, layers, std::vector<bool>(layers.size(), true)), expected);

    QImage onlySecond = sprite.copy();
    applyDelta(doc, car, 1, onlySecond, 0, 0);
    std::vector<bool> visible(layers.size(), false);
    visible[1] = true;
    EXPECT_EQ(composeDeltaLayers(sprite, layers, visible), onlySecond);
    EXPECT_EQ(composeDeltaLayers(sprite, layers, {}), sprite);
    for (int d = 0; d < count(); ++d)
        EXPECT_EQ(encodeDeltaLayer(layers[std::size_t(d)], {car, d}), bytes(doc, car, d)) << d;
}

TEST_F(CarDeltas, AStrokeBecomesExactlyTheDeltasChanges) {
    const StyleDocument before = doc;
    const int delta = 1;
    const QImage sprite = spritePicture(doc, car);
    const Changes old = decodedChanges(deltaBytes(doc, car, delta), size());
    ASSERT_FALSE(old.empty());
    const auto erasedPixel = old.begin()->first;

    std::vector<DeltaLayer> layers = readDeltaLayers(doc, car);
    std::vector<bool> visible(layers.size(), true);
    const QImage shown = composeDeltaLayers(sprite, layers, visible);
    visible[delta] = false;
    PictureEdit edit(shown, composeDeltaLayers(sprite, layers, visible));
    // A pixel drawn in the sprite's own index is still a change of the delta.
    const int own = sprite.pixelIndex(0, size().height() - 1);
    edit.begin(DrawTool::Pencil, uchar(own), QPoint(0, size().height() - 1));
    edit.begin(DrawTool::Line, 77, QPoint(-4, 2));
    edit.moveTo(QPoint(5, 2));
    edit.begin(DrawTool::Eraser, 0, QPoint(erasedPixel.first, erasedPixel.second));
    ASSERT_TRUE(storeDeltaStroke(doc, {car, delta}, edit.picture(), edit.marks()));

    Changes expected = old;
    expected[{0, size().height() - 1}] = own;
    for (int x = 0; x <= 5; ++x)
        expected[{x, 2}] = 77;
    expected.erase(erasedPixel);
    EXPECT_EQ(decodedChanges(deltaBytes(doc, car, delta), size()), expected);

    // Every other delta and every other sprite's deltas keep their bytes.
    EXPECT_EQ(count(), before.DeltaIndex[std::size_t(*findDeltaEntry(before, car))].delta_count);
    for (int d = 0; d < count(); ++d) {
        if (d != delta) {
            EXPECT_EQ(bytes(doc, car, d), bytes(before, car, d)) << d;
        }
    }
    for (const DeltaIndexEntry &entry : before.DeltaIndex) {
        for (int d = 0; entry.sprite != car && d < entry.delta_count; ++d)
            EXPECT_EQ(bytes(doc, entry.sprite, d), bytes(before, entry.sprite, d));
    }
    EXPECT_EQ(doc.SpriteStore, before.SpriteStore);
    EXPECT_EQ(deltaStepName({car, delta}), "draw on delta 1 of sprite 2");

    // Erasing every change leaves an empty delta.
    layers = readDeltaLayers(doc, car);
    PictureEdit clear(composeDeltaLayers(sprite, layers, {}));
    clear.erase(clear.picture().rect());
    ASSERT_TRUE(storeDeltaStroke(doc, {car, delta}, clear.picture(), clear.marks()));
    EXPECT_TRUE(bytes(doc, car, delta).isEmpty());
    EXPECT_FALSE(storeDeltaStroke(doc, {car, delta}, clear.picture(), clear.marks()));
}

TEST_F(CarDeltas, AStrokeTooLargeForADeltaIsRefusedByNumberWithNothingChanged) {
    // The car's entry made as large as a delta can address: every other pixel of 20 rows needs
    // more runs than a delta holds.
    SpriteEntry &entry = doc.SpriteIndex[std::size_t(car)];
    entry.ptr = 0;
    entry.w = entry.h = 255;
    PictureEdit edit(spritePicture(doc, car));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 255; x += 2)
            edit.begin(DrawTool::Pencil, 5, QPoint(x, y));
    const StyleDocument before = doc;
    try {
        storeDeltaStroke(doc, {car, 1}, edit.picture(), edit.marks());
        FAIL() << "stored";
    } catch (const EditorError &error) {
        EXPECT_TRUE(
            error.text().startsWith("Delta 1 of sprite 2 cannot be stored: the changes need more than "
                                    "the 2001 runs"))
            << error.text().toStdString();
    }
    EXPECT_EQ(doc, before);
    EXPECT_THROW(storeDeltaStroke(doc, {car, count()}, edit.picture(), edit.marks()), EditorError);
    EXPECT_THROW(storeDeltaStroke(doc, {car, 0}, edit.picture().copy(0, 0, 2, 2), edit.marks()), EditorError);
    EXPECT_EQ(doc, before);
}

TEST_F(CarDeltas, AddAndRemoveKeepTheIndexConsistent) {
    const StyleDocument before = doc;
    const int first = count();
    const QByteArray second = bytes(doc, car, 2);
    for (int d = first; d < DeltasPerSprite; ++d)
        EXPECT_EQ(addDelta(doc, car), d);
    EXPECT_EQ(count(), DeltasPerSprite);
    EXPECT_TRUE(bytes(doc, car, DeltasPerSprite - 1).isEmpty());
    EXPECT_EQ(doc.DeltaStore, before.DeltaStore);
    const StyleDocument full = doc;
    EXPECT_THROW(addDelta(doc, car), EditorError);
    EXPECT_EQ(doc, full);

    removeDelta(doc, {car, 1});
    EXPECT_EQ(count(), DeltasPerSprite - 1);
    EXPECT_EQ(bytes(doc, car, 1), second);
    EXPECT_EQ(bytes(doc, car, 0), bytes(before, car, 0));
    EXPECT_THROW(removeDelta(doc, {car, DeltasPerSprite - 1}), EditorError);
    EXPECT_THROW(removeDelta(doc, {car, -1}), EditorError);
    for (const DeltaIndexEntry &entry : before.DeltaIndex) {
        for (int d = 0; entry.sprite != car && d < entry.delta_count; ++d)
            EXPECT_EQ(bytes(doc, entry.sprite, d), bytes(before, entry.sprite, d));
    }

    // A car sprite without deltas gets its entry with the first one: the last entry and its bytes
    // are taken away to make one.
    const DeltaIndexEntry last = doc.DeltaIndex[std::size_t(doc.DeltaIndexCount() - 1)];
    const int bare = last.sprite;
    ASSERT_TRUE(isCarSprite(doc, bare));
    doc.DeltaStore.chop(deltaEntryBytes(last));
    doc.DeltaIndex.erase(std::size_t(doc.DeltaIndexCount() - 1));
    const int entries = doc.DeltaIndexCount();
    EXPECT_EQ(addDelta(doc, bare), 0);
    EXPECT_EQ(doc.DeltaIndexCount(), entries + 1);
    EXPECT_EQ(doc.DeltaIndex[std::size_t(entries)].sprite, bare);
    EXPECT_EQ(doc.DeltaIndex[std::size_t(entries)].delta_count, 1);
    const int notACar = doc.SpriteBases[SprCar];
    const StyleDocument added = doc;
    EXPECT_THROW(addDelta(doc, notACar), EditorError);
    EXPECT_EQ(doc, added);
}

} // namespace
