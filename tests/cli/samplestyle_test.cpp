#include "sample/samplestyle.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "style/surfacelists.h"
#include "support/scriptedprompts.h"

#include "platform/log.h"
#include "platform/progress.h"

#include <QSet>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <numeric>
#include <set>

namespace {

// Both samples are built once; they take a moment and every test only reads them.
const StyleDocument &sample() {
    static const StyleDocument doc = makeSampleStyle();
    return doc;
}
const StyleDocument &largeSample() {
    static const StyleDocument doc = makeLargeSampleStyle();
    return doc;
}

struct Samples : ::testing::TestWithParam<bool> {
    const StyleDocument &doc() const { return GetParam() ? largeSample() : sample(); }
};

TEST_P(Samples, SpritesLieInsideTheirPagesWithoutOverlap) {
    const StyleDocument &d = doc();
    ASSERT_EQ(d.SpriteIndex.count(), d.spriteCount());
    std::vector<int> owner(static_cast<std::size_t>(d.spritePageCount()) * PageBytes, -1);
    for (int s = 0; s < d.spriteCount(); ++s) {
        const SpriteEntry &e = d.SpriteIndex[static_cast<std::size_t>(s)];
        ASSERT_GT(e.w, 0) << s;
        ASSERT_GT(e.h, 0) << s;
        ASSERT_LT(e.page(), d.spritePageCount()) << s;
        ASSERT_LE(e.x() + e.w, PageSide) << s;
        ASSERT_LE(e.y() + e.h, PageSide) << s;
        ASSERT_EQ(e.ptr >> 24, 0u) << s;
        bool painted = false;
        for (int y = 0; y < e.h; ++y) {
            const int row = e.page() * PageSide + e.y() + y;
            const uchar *pixels = d.SpriteStore.constScanLine(row) + e.x();
            for (int x = 0; x < e.w; ++x) {
                int &cell = owner[static_cast<std::size_t>(row * PageSide + e.x() + x)];
                ASSERT_EQ(cell, -1) << "sprite " << s << " overlaps sprite " << cell;
                cell = s;
                painted = painted || pixels[x] != 0;
            }
        }
        EXPECT_TRUE(painted) << "sprite " << s << " is blank";
    }
}

TEST_P(Samples, VirtualPalettesCoverEveryGraphicWithExistingPalettes) {
    const StyleDocument &d = doc();
    const int total = std::accumulate(d.PaletteCounts.begin(), d.PaletteCounts.end(), 0);
    EXPECT_EQ(d.PaletteIndexCount(), total);
    for (const quint16 count : d.PaletteCounts)
        EXPECT_GT(count, 0);
    EXPECT_EQ(d.PaletteCounts[PalTile], d.tilePageCount() * TilesPerPage);
    EXPECT_EQ(d.PaletteCounts[PalSprite], d.spriteCount());
    for (const quint16 physical : d.PaletteIndex)
        ASSERT_LT(physical, d.PhysicalPaletteCount);
    StyleDocument derived = d;
    derived.derivePaletteBases();
    EXPECT_EQ(derived.PaletteBases, d.PaletteBases);
}

TEST_P(Samples, PhysicalPalettesAreDistinctWithBlackFirst) {
    const StyleDocument &d = doc();
    QSet<QByteArray> palettes;
    for (int p = 0; p < d.PhysicalPaletteCount; ++p) {
        QByteArray colours;
        for (int c = 0; c < 256; ++c)
            colours.append(d.PhysicalPalettes.constData() + physicalColourOffset(p, c), 3);
        EXPECT_EQ(colours.left(3), QByteArray(3, '\0')) << "palette " << p;
        palettes.insert(colours);
    }
    EXPECT_EQ(palettes.size(), d.PhysicalPaletteCount);
    // Nothing past the count: a reload would not keep it.
    const QByteArray rest = d.PhysicalPalettes.mid(d.PhysicalPaletteCount * PaletteBytes);
    EXPECT_EQ(rest.count('\0'), rest.size());
}

TEST_P(Samples, EverySpriteKindIsPresent) {
    const StyleDocument &d = doc();
    for (const quint16 count : d.SpriteBases)
        EXPECT_GT(count, 0);
    EXPECT_EQ(std::accumulate(d.SpriteBases.begin(), d.SpriteBases.end(), 0), d.spriteCount());
    EXPECT_EQ(d.SpriteIndexSize, static_cast<quint32>(SpriteEntryBytes * d.spriteCount()));
}

TEST_P(Samples, TilesAreDistinctTextures) {
    const StyleDocument &d = doc();
    const int tiles = std::min<int>(32, d.PaletteCounts[PalTile]);
    QSet<QByteArray> kinds;
    for (int t = 0; t < tiles; ++t) {
        QByteArray pixels;
        for (int y = 0; y < TileSide; ++y)
            pixels.append(reinterpret_cast<const char *>(d.TileStore.constScanLine(TileSide * (t / 4) + y)) +
                              TileSide * (t % 4),
                          TileSide);
        EXPECT_GE(QSet<char>(pixels.begin(), pixels.end()).size(), 8) << "tile " << t << " is nearly flat";
        kinds.insert(pixels);
    }
    EXPECT_EQ(kinds.size(), tiles);
}

TEST_P(Samples, CarsUseTheFirstSpritesWithValidRemapsAndDoors) {
    const StyleDocument &d = doc();
    ASSERT_GE(d.CarCount(), 4);
    int sprites = 0;
    bool subModel = false, walkIn = false, plainDoor = false, remaps = false;
    std::set<int> models;
    for (int i = 0; i < d.CarCount(); ++i) {
        const CarInfoRecord &car = d.CarInfoTable[static_cast<std::size_t>(i)];
        sprites += car.sprite;
        EXPECT_EQ(car.sprite_sum, static_cast<quint32>(sprites)) << "car " << i;
        subModel = subModel || (i > 0 && car.sprite == 0);
        EXPECT_TRUE(models.insert(car.model).second) << "model " << int(car.model) << " twice";
        remaps = remaps || car.num_remaps > 0;
        for (int r = 0; r < car.num_remaps; ++r)
            EXPECT_LT(car.remap[static_cast<std::size_t>(r)], d.PaletteCounts[PalCarRemap]) << "car " << i;
        // The collision box, the wheel and window marks and the doors lie on the car's picture;
        // a sub-model's sprite is the one before it, which its sprite_sum also names.
        const SpriteEntry &picture = d.SpriteIndex[car.sprite_sum - 1];
        EXPECT_GT(car.w, 0);
        EXPECT_LE(car.w, picture.w) << "car " << i;
        EXPECT_LE(car.h, picture.h) << "car " << i;
        for (const int offset :
             {car.front_wheel_offset, car.rear_wheel_offset, car.front_window_offset, car.rear_window_offset})
            EXPECT_LE(std::abs(offset), car.h / 2) << "car " << i;
        for (int k = 0; k < car.num_doors; ++k) {
            const DoorPosition door = car.doors[static_cast<std::size_t>(k)];
            const bool walking = door.rx >= 64 || door.rx <= -64;
            (walking ? walkIn : plainDoor) = true;
            const int x = walking ? door.rx - (door.rx > 0 ? 64 : -64) : door.rx;
            EXPECT_LE(std::abs(x), car.w / 2) << "car " << i << " door " << k;
            EXPECT_LE(std::abs(door.ry), car.h / 2) << "car " << i << " door " << k;
        }
    }
    EXPECT_EQ(sprites, d.SpriteBases[SprCar]);
    EXPECT_NE(d.CarInfoTable[0].sprite, 0);
    EXPECT_TRUE(subModel);
    EXPECT_TRUE(walkIn);
    EXPECT_TRUE(plainDoor);
    EXPECT_TRUE(remaps);
}

// Reads one delta's runs and checks each stays on one row inside the sprite and that the delta
// changes the sprite's picture.
void expectRunsInside(const StyleDocument &d, const QByteArray &delta, const SpriteEntry &sprite,
                      const std::string &what) {
    int at = 0, position = 0, changed = 0;
    while (at < delta.size()) {
        ASSERT_LE(at + 3, delta.size()) << what << ": run header cut short";
        const int skip = static_cast<uchar>(delta[at]) | static_cast<uchar>(delta[at + 1]) << 8;
        const int length = static_cast<uchar>(delta[at + 2]);
        ASSERT_GE(length, 1) << what;
        position += skip;
        ASSERT_LT(position / PageSide, sprite.h) << what;
        ASSERT_LE(position % PageSide + length, sprite.w) << what;
        ASSERT_LE(at + 3 + length, delta.size()) << what << ": pixels cut short";
        const uchar *row =
            d.SpriteStore.constScanLine(sprite.page() * PageSide + sprite.y() + position / PageSide) +
            sprite.x();
        for (int k = 0; k < length; ++k)
            changed += row[position % PageSide + k] != static_cast<uchar>(delta[at + 3 + k]);
        at += 3 + length;
        position += length;
    }
    EXPECT_GT(changed, 0) << what << " repeats the sprite's own pixels";
}

TEST_P(Samples, DeltasAreRunStreamsInsideTheirCarSprites) {
    const StyleDocument &d = doc();
    ASSERT_GT(d.DeltaIndexCount(), 0);
    int offset = 0;
    std::set<int> sprites;
    for (const DeltaIndexEntry &entry : d.DeltaIndex) {
        ASSERT_LT(entry.sprite, d.SpriteBases[SprCar]);
        EXPECT_TRUE(sprites.insert(entry.sprite).second) << "sprite " << entry.sprite << " has two entries";
        ASSERT_GT(entry.delta_count, 0);
        ASSERT_LE(entry.delta_count, DeltasPerSprite);
        for (int k = entry.delta_count; k < DeltasPerSprite; ++k)
            EXPECT_EQ(entry.size[static_cast<std::size_t>(k)], 0);
        const SpriteEntry &sprite = d.SpriteIndex[entry.sprite];
        for (int k = 0; k < entry.delta_count; ++k) {
            const int size = entry.size[static_cast<std::size_t>(k)];
            ASSERT_GT(size, 0);
            ASSERT_LE(offset + size, d.DeltaStoreSize());
            expectRunsInside(d, d.DeltaStore.mid(offset, size), sprite,
                             "sprite " + std::to_string(entry.sprite) + " delta " + std::to_string(k));
            offset += size;
        }
    }
    EXPECT_EQ(offset, d.DeltaStoreSize());
}

TEST_P(Samples, ListsMeetTheFileRules) {
    const StyleDocument &d = doc();
    for (int i = 1; i < d.RecycleList.count(); ++i)
        EXPECT_LT(d.RecycleList[static_cast<std::size_t>(i - 1)], d.RecycleList[static_cast<std::size_t>(i)]);
    EXPECT_GT(d.RecycleList.count(), 0);

    ASSERT_GT(d.SurfaceListsCount(), 0);
    EXPECT_EQ(std::count(d.SurfaceLists.begin(), d.SurfaceLists.end(), 0), SurfaceListCount);
    EXPECT_EQ(d.SurfaceLists[static_cast<std::size_t>(d.SurfaceListsCount() - 1)], 0);
    for (const quint16 tile : d.SurfaceLists)
        EXPECT_LT(tile, d.PaletteCounts[PalTile]);
    EXPECT_EQ(d.SurfaceColumns, splitSurfaceLists(d.SurfaceLists));
    for (const QStringList &column : d.SurfaceColumns)
        EXPECT_FALSE(column.isEmpty());

    EXPECT_GE(d.ObjectInfo.size(), 24);
    EXPECT_LE(d.ObjectInfo.size(), 100);
}

TEST_P(Samples, SaveAndReloadGiveTheSameBytesAndDocument) {
    SilentProgress progress;
    LineLog log;
    StyleDocument saved;
    const QByteArray bytes = serializeStyle(doc(), saved, progress, log);
    StyleDocument reloaded;
    ScriptedPrompts prompts;
    ASSERT_TRUE(readStyle(reloaded, bytes, prompts, progress, log));
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_TRUE(reloaded == doc());
    StyleDocument again;
    EXPECT_EQ(serializeStyle(reloaded, again, progress, log), bytes);
}

INSTANTIATE_TEST_SUITE_P(NormalAndLarge, Samples, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Large" : "Normal"; });

TEST(SampleStyle, HasTheFiguresOfTheStartFile) {
    const StyleDocument &d = sample();
    EXPECT_EQ(d.tilePageCount(), 2);
    EXPECT_EQ(d.PhysicalPaletteCount, 128);
    EXPECT_EQ(d.spritePageCount(), 2);
    EXPECT_EQ(d.DeltaIndexCount(), d.SpriteBases[SprCar]);
    std::set<int> pages;
    for (const SpriteEntry &e : d.SpriteIndex)
        pages.insert(e.page());
    EXPECT_EQ(pages.size(), 2u);
}

TEST(SampleStyle, LargeHasTheFiguresOfTheBenchmarkFile) {
    const StyleDocument &d = largeSample();
    EXPECT_EQ(d.tilePageCount(), 62);
    EXPECT_EQ(d.PhysicalPaletteCount, 640);
    EXPECT_EQ(d.spriteCount(), SpriteIndexCapacity);
    EXPECT_EQ(d.spritePageCount(), 64);
    EXPECT_EQ(d.CarCount(), CarInfoCapacity);
    EXPECT_GE(d.DeltaIndexCount(), 100);
    std::set<int> pages;
    for (const SpriteEntry &e : d.SpriteIndex)
        pages.insert(e.page());
    EXPECT_EQ(pages.size(), 64u) << "every page holds sprites";
}

TEST(SampleStyle, IsTheSameOnEveryCall) {
    EXPECT_TRUE(makeSampleStyle() == sample());
    EXPECT_TRUE(makeLargeSampleStyle() == largeSample());
}

} // namespace
