#include "graphics/deltaunit.h"

#include "platform/editorerror.h"
#include "sample/samplestyle.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QImage filled(int width, int height, int value) {
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorCount(256);
    image.fill(static_cast<uint>(value));
    return image;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values)
        out.append(static_cast<char>(v));
    return out;
}

QImage decoded(const QImage &before, const QByteArray &delta) {
    QImage after = before.copy();
    decodeDelta(delta, after, QPoint(0, 0), after.rect());
    return after;
}

// Runs of a scan that splits nothing at 255, for checking the encoder's refusals independently.
int maximalStretches(const QImage &a, const QImage &b) {
    int runs = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixelIndex(x, y) != b.pixelIndex(x, y) &&
                (x == 0 || a.pixelIndex(x - 1, y) == b.pixelIndex(x - 1, y)))
                ++runs;
    return runs;
}

TEST(DeltaCodec, OneRunIsSixBytesAtItsPosition) {
    const QImage sprite = filled(16, 8, 1);
    const QByteArray delta = bytes({0x03, 0x02, 0x03, 7, 8, 9});
    const QImage after = decoded(sprite, delta);
    EXPECT_EQ(after.pixelIndex(3, 2), 7);
    EXPECT_EQ(after.pixelIndex(4, 2), 8);
    EXPECT_EQ(after.pixelIndex(5, 2), 9);
    QImage expected = sprite.copy();
    expected.setPixel(3, 2, 7);
    expected.setPixel(4, 2, 8);
    expected.setPixel(5, 2, 9);
    EXPECT_EQ(after, expected);

    QByteArray stream("prefix");
    EXPECT_EQ(encodeDelta(stream, sprite, after), 6);
    EXPECT_EQ(stream, QByteArray("prefix") + delta);
    QByteArray none;
    EXPECT_EQ(encodeDelta(none, sprite, sprite), 0);
    EXPECT_TRUE(none.isEmpty());
}

TEST(DeltaCodec, SkipsCountFromTheEndOfThePreviousRunAndRowsAre256Wide) {
    const QImage sprite = filled(32, 8, 1);
    QImage two = sprite.copy();
    two.setPixel(10, 0, 5);
    two.setPixel(12, 0, 6);
    QByteArray delta;
    EXPECT_EQ(encodeDelta(delta, sprite, two), 8);
    EXPECT_EQ(delta, bytes({10, 0, 1, 5, 1, 0, 1, 6}));

    // A stretch from the last column of row 4 on into row 5 is two runs.
    QImage wrap = sprite.copy();
    wrap.setPixel(29, 4, 2);
    wrap.setPixel(30, 4, 2);
    wrap.setPixel(31, 4, 2);
    wrap.setPixel(0, 5, 3);
    delta.clear();
    ASSERT_EQ(encodeDelta(delta, sprite, wrap), 3 + 3 + 3 + 1);
    const int secondSkip = 256 * 5 - (256 * 4 + 32);
    EXPECT_EQ(delta, bytes({(256 * 4 + 29) & 0xff, (256 * 4 + 29) >> 8, 3, 2, 2, 2, secondSkip & 0xff,
                            secondSkip >> 8, 1, 3}));
    EXPECT_EQ(decoded(sprite, delta), wrap);
}

TEST(DeltaCodec, PositionsWrapAt16BitsAndRunsStayOnTheirRow) {
    const QImage sprite = filled(64, 4, 0);
    // Second run: 300 + 1 + 65535 wraps back onto 300, so (44, 1) is written twice.
    QImage after = decoded(sprite, bytes({0x2c, 0x01, 1, 0xaa, 0xff, 0xff, 1, 0xbb}));
    EXPECT_EQ(after.pixelIndex(44, 1), 0xbb);
    QImage expected = sprite.copy();
    expected.setPixel(44, 1, 0xbb);
    EXPECT_EQ(after, expected);

    // A run starting at column 62 of a 64-wide sprite goes on past the edge, not onto row 1.
    after = decoded(sprite, bytes({62, 0, 4, 1, 2, 3, 4}));
    expected = sprite.copy();
    expected.setPixel(62, 0, 1);
    expected.setPixel(63, 0, 2);
    EXPECT_EQ(after, expected);
}

TEST(DeltaCodec, DamagedDeltasNeverWriteOutsideTheClip) {
    // A sprite cell in the middle of a bigger picture: everything around it stays 9.
    const QImage target = filled(40, 20, 9);
    const QRect cell(10, 5, 8, 4);
    const QList<QByteArray> damaged = {
        bytes({0, 0, 20, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}), // longer than a row
        bytes({0x00, 0x05, 3, 1, 1, 1}),                                               // row 5 of 4
        bytes({0xff, 0xff, 3, 1, 1, 1}), // column 255 of row 255
        bytes({2, 0, 200, 1, 1}),        // cut short
        bytes({2, 0}),                   // half a header
    };
    for (const QByteArray &delta : damaged) {
        QImage drawn = target.copy();
        decodeDelta(delta, drawn, cell.topLeft(), cell);
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (!cell.contains(x, y)) {
                    ASSERT_EQ(drawn.pixelIndex(x, y), 9)
                        << delta.toHex().constData() << " at " << x << "," << y;
                }
    }
    QImage cut = target.copy();
    decodeDelta(bytes({2, 0, 200, 1, 4}), cut, cell.topLeft(), cell);
    EXPECT_EQ(cut.pixelIndex(12, 5), 1);
    EXPECT_EQ(cut.pixelIndex(13, 5), 4);
    EXPECT_EQ(cut.pixelIndex(14, 5), 9);
}

TEST(DeltaCodec, StretchesLongerThan255BecomeSeveralRuns) {
    const QImage before = filled(256, 3, 0);
    QImage after = filled(256, 3, 0);
    for (int x = 0; x < 256; ++x)
        after.setPixel(x, 1, x == 0 ? 255 : x);
    QByteArray delta;
    ASSERT_EQ(encodeDelta(delta, before, after), 3 + 255 + 3 + 1);
    EXPECT_EQ(delta.left(3), bytes({0, 1, 255}));
    EXPECT_EQ(delta.mid(258, 3), bytes({0, 0, 1}));
    EXPECT_EQ(decoded(before, delta), after);

    const QImage all = filled(256, 256, 1);
    delta.clear();
    EXPECT_THROW(encodeDelta(delta, filled(256, 256, 0), all), EditorError)
        << "67072 bytes are more than a delta holds";
    EXPECT_EQ(encodeDelta(delta, filled(256, 100, 0), filled(256, 100, 1)), 100 * (6 + 256));
    EXPECT_EQ(decoded(filled(256, 100, 0), delta), filled(256, 100, 1));
}

TEST(DeltaCodec, RandomChangesDecodeToTheChangedPicture) {
    QRandomGenerator random(20240607);
    const QList<QSize> sizes = {{1, 1}, {7, 3}, {32, 60}, {64, 128}, {255, 40}, {256, 256}};
    const QList<int> permille = {0, 3, 30, 200, 500, 1000};
    for (const QSize size : sizes) {
        for (const int chance : permille) {
            QImage before(size, QImage::Format_Indexed8);
            before.setColorCount(256);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    before.scanLine(y)[x] = uchar(random.bounded(256));
            QImage after = before.copy();
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    if (int(random.bounded(1000)) < chance)
                        after.scanLine(y)[x] = uchar(before.scanLine(y)[x] ^ (1 + random.bounded(255)));
            QByteArray delta("x");
            try {
                const int written = encodeDelta(delta, before, after);
                ASSERT_EQ(written, delta.size() - 1);
                ASSERT_LE(maximalStretches(before, after), MaxDeltaRuns);
                ASSERT_EQ(decoded(before, delta.mid(1)), after) << size.width() << "x" << size.height();
            } catch (const EditorError &error) {
                EXPECT_EQ(delta, QByteArray("x")) << "a refusal appends nothing";
                const bool tooManyRuns = maximalStretches(before, after) > MaxDeltaRuns;
                EXPECT_TRUE(tooManyRuns || error.text().contains(QStringLiteral("65535")))
                    << error.text().toStdString();
            }
        }
    }
}

TEST(DeltaCodec, RefusesWhatItCannotEncode) {
    QImage checker = filled(128, 64, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = y % 2; x < 128; x += 2)
            checker.setPixel(x, y, 1);
    QByteArray delta;
    try {
        encodeDelta(delta, filled(128, 64, 0), checker);
        FAIL() << "4096 runs were accepted";
    } catch (const EditorError &error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("2001"))) << error.text().toStdString();
    }
    EXPECT_TRUE(delta.isEmpty());
    // Exactly 2001 runs still fit.
    QImage limit = filled(128, 64, 0);
    for (int run = 0; run < MaxDeltaRuns; ++run)
        limit.setPixel(run % 64 * 2, run / 64, 1);
    EXPECT_EQ(encodeDelta(delta, filled(128, 64, 0), limit), MaxDeltaRuns * 4);

    EXPECT_THROW(encodeDelta(delta, filled(8, 8, 0), filled(8, 9, 0)), EditorError);
    EXPECT_THROW(encodeDelta(delta, filled(257, 1, 0), filled(257, 1, 1)), EditorError);
    EXPECT_THROW(encodeDelta(delta, filled(8, 8, 0), filled(8, 8, 0).convertToFormat(QImage::Format_RGB32)),
                 EditorError);
}

// Three entries with known bytes: sprite 4 (two deltas), sprite 9 (one), sprite 4 again.
StyleDocument threeEntries() {
    StyleDocument doc;
    DeltaIndexEntry a, b, c;
    a.sprite = 4;
    a.delta_count = 2;
    a.size[0] = 4;
    a.size[1] = 5;
    b.sprite = 9;
    b.delta_count = 1;
    b.size[0] = 6;
    c.sprite = 4;
    c.delta_count = 1;
    c.size[0] = 4;
    doc.DeltaIndex.append(a);
    doc.DeltaIndex.append(b);
    doc.DeltaIndex.append(c);
    doc.DeltaStore = bytes({0, 0, 1, 11, 1, 0, 2, 12, 13, 2, 0, 3, 21, 22, 23, 0, 0, 1, 31, 0xee});
    return doc;
}

TEST(DeltaStore, DeltasAreFoundThroughTheFirstEntryOfTheirSprite) {
    const StyleDocument doc = threeEntries();
    EXPECT_EQ(findDeltaEntry(doc, 4), 0);
    EXPECT_EQ(findDeltaEntry(doc, 9), 1);
    EXPECT_FALSE(findDeltaEntry(doc, 5));
    EXPECT_EQ(deltaEntryStart(doc, 1), 9);
    EXPECT_EQ(deltaEntryStart(doc, 3), 19);
    EXPECT_EQ(deltaBytes(doc, 4, 1).toByteArray(), bytes({1, 0, 2, 12, 13}));
    EXPECT_EQ(deltaBytes(doc, 9, 0).toByteArray(), bytes({2, 0, 3, 21, 22, 23}));
    EXPECT_TRUE(deltaBytes(doc, 4, 2).isEmpty());
    EXPECT_TRUE(deltaBytes(doc, 9, -1).isEmpty());
    EXPECT_TRUE(deltaBytes(doc, 5, 0).isEmpty());

    StyleDocument cut = doc;
    cut.DeltaStore.truncate(12);
    EXPECT_EQ(deltaBytes(cut, 9, 0).toByteArray(), bytes({2, 0, 3})) << "cut where the store ends";
    cut.DeltaStore.truncate(9);
    EXPECT_TRUE(deltaBytes(cut, 9, 0).isEmpty());
}

TEST(DeltaStore, ReplacingOneSpritesDeltasKeepsEveryOtherByte) {
    StyleDocument doc = threeEntries();
    replaceSpriteDeltas(doc, 4, {bytes({7, 7, 7}), QByteArray(), bytes({8})});
    EXPECT_EQ(doc.DeltaIndex[0].delta_count, 3);
    EXPECT_EQ(doc.DeltaIndex[0].size[0], 3);
    EXPECT_EQ(doc.DeltaIndex[0].size[1], 0);
    EXPECT_EQ(doc.DeltaIndex[0].size[2], 1);
    EXPECT_EQ(doc.DeltaIndex[0].size[3], 0);
    EXPECT_EQ(doc.DeltaStore, bytes({7, 7, 7, 8}) + threeEntries().DeltaStore.mid(9));
    EXPECT_EQ(deltaBytes(doc, 9, 0).toByteArray(), bytes({2, 0, 3, 21, 22, 23}));
    EXPECT_EQ(doc.DeltaIndex[1], threeEntries().DeltaIndex[1]);
    EXPECT_EQ(doc.DeltaIndex[2], threeEntries().DeltaIndex[2]);

    // The middle entry: the bytes before and after stay, shifted.
    doc = threeEntries();
    replaceSpriteDeltas(doc, 9, std::vector<QByteArray>(20));
    EXPECT_EQ(doc.DeltaIndex[1].delta_count, 20);
    EXPECT_EQ(doc.DeltaStore, threeEntries().DeltaStore.left(9) + threeEntries().DeltaStore.mid(15));

    // A sprite without an entry gets one at the end; its deltas follow all others.
    doc = threeEntries();
    replaceSpriteDeltas(doc, 12, {bytes({5, 0, 1, 99})});
    ASSERT_EQ(doc.DeltaIndexCount(), 4);
    EXPECT_EQ(doc.DeltaIndex[3].sprite, 12);
    EXPECT_EQ(doc.DeltaStore, threeEntries().DeltaStore.left(19) + bytes({5, 0, 1, 99, 0xee}));
    EXPECT_EQ(deltaBytes(doc, 12, 0).toByteArray(), bytes({5, 0, 1, 99}));
}

TEST(DeltaStore, ReplacingIsRefusedWithTheDocumentUnchanged) {
    const StyleDocument original = threeEntries();
    StyleDocument doc = original;
    EXPECT_THROW(replaceSpriteDeltas(doc, 4, std::vector<QByteArray>(34)), EditorError);
    EXPECT_THROW(replaceSpriteDeltas(doc, 4, {QByteArray(65536, 'x')}), EditorError);
    EXPECT_THROW(replaceSpriteDeltas(doc, -1, {}), EditorError);
    EXPECT_THROW(replaceSpriteDeltas(doc, 65536, {}), EditorError);
    EXPECT_EQ(doc, original);
    doc.DeltaStore.truncate(12);
    const StyleDocument cut = doc;
    EXPECT_THROW(replaceSpriteDeltas(doc, 9, {}), EditorError) << "its bytes run past the store";
    EXPECT_THROW(replaceSpriteDeltas(doc, 12, {}), EditorError) << "the end of the index lies past the store";
    EXPECT_EQ(doc, cut);
}

TEST(DeltaStore, SampleDeltasDrawOnlyInsideTheirSprite) {
    const StyleDocument doc = makeSampleStyle();
    ASSERT_GT(doc.DeltaIndexCount(), 0);
    for (const DeltaIndexEntry &entry : doc.DeltaIndex) {
        const SpriteEntry &sprite = doc.SpriteIndex[entry.sprite];
        QImage target = filled(sprite.w + 20, sprite.h + 20, 0);
        for (int d = 0; d < entry.delta_count; ++d)
            applyDelta(doc, entry.sprite, d, target, 10, 10);
        int changed = 0;
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                if (target.pixelIndex(x, y) != 0) {
                    ++changed;
                    ASSERT_TRUE(QRect(10, 10, sprite.w, sprite.h).contains(x, y));
                }
        EXPECT_GT(changed, 0) << "sprite " << entry.sprite;
    }
}

} // namespace
