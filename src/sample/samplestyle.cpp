#include "sample/samplestyle.h"

#include "sample/samplepainting.h"
#include "sample/samplepalettes.h"
#include "sample/samplesprites.h"
#include "sample/sampletextures.h"
#include "style/surfacelists.h"

#include <functional>
#include <stdexcept>
#include <vector>

namespace {

struct SampleCar {
    int model;
    CarBody body;
    bool subModel; // shares the sprite of the car before it
};

// What goes into one sample document; the two samples differ only in these figures.
struct SamplePlan {
    int tilePages;
    int physicalPalettes;
    int tilePalettes; // a multiple of TextureCount, so tile t keeps texture t mod TextureCount
    int carPalettes;
    int pedPalettes;
    int fontPalettes;
    std::vector<SampleCar> cars;
    int pedSprites;
    std::vector<ObjectShape> codeObjects, mapObjects, userObjects;
    int glyphs;
    std::array<int, SpriteKindCount> remapCounts; // virtual palettes after the sprite ones
    int spritePages;
    // Each kind is spread over the pages from its first page to the next kind's; kinds with the
    // same first page share that page.
    std::array<int, SpriteKindCount> kindFirstPage;
};

struct SpriteJob {
    QSize size;
    int palette;
    std::function<void(Canvas &)> paint;
};

// First physical palette of each family.
struct PaletteFamilies {
    int car, ped, object, font, remap;
};

PaletteFamilies familiesOf(const SamplePlan &plan) {
    PaletteFamilies f{};
    f.car = plan.tilePalettes;
    f.ped = f.car + plan.carPalettes;
    f.object = f.ped + plan.pedPalettes;
    f.font = f.object + ObjectShapeCount;
    f.remap = f.font + plan.fontPalettes;
    if (f.remap >= plan.physicalPalettes)
        throw std::logic_error("sample plan has no room for remap palettes");
    return f;
}

QRgb bodyColour(int i) {
    constexpr QRgb named[] = {qRgb(160, 30, 40),  qRgb(235, 235, 240), qRgb(250, 200, 30),
                              qRgb(200, 45, 30),  qRgb(40, 150, 70),   qRgb(50, 90, 190),
                              qRgb(60, 190, 190), qRgb(120, 120, 130), qRgb(230, 120, 30)};
    constexpr int namedCount = sizeof(named) / sizeof(named[0]);
    return i < namedCount ? named[i] : wheelColour(i);
}

// Every palette differs from every other, even where materials share a recipe, so a palette
// picker or a palette export shows no two alike.
void writePalettes(StyleDocument &doc, const SamplePlan &plan, const PaletteFamilies &f) {
    doc.PhysicalPaletteCount = plan.physicalPalettes;
    QByteArray &store = doc.PhysicalPalettes;
    for (int p = 0; p < plan.tilePalettes; ++p)
        writeRampPalette(store, p, tintedRecipe(textureRecipe(static_cast<Texture>(p % TextureCount)), p));
    for (int i = 0; i < plan.carPalettes; ++i)
        writeRampPalette(store, f.car + i, carRecipe(bodyColour(i)));
    constexpr QRgb skins[] = {qRgb(240, 195, 160), qRgb(200, 150, 110), qRgb(140, 95, 60), qRgb(95, 60, 40)};
    constexpr QRgb hair[] = {qRgb(40, 30, 20), qRgb(200, 160, 60), qRgb(120, 50, 20), qRgb(90, 90, 90)};
    for (int i = 0; i < plan.pedPalettes; ++i)
        writeRampPalette(store, f.ped + i, pedRecipe(wheelColour(i + 7), skins[i % 4], hair[(i / 4) % 4]));
    for (int i = 0; i < ObjectShapeCount; ++i)
        writeRampPalette(store, f.object + i, tintedRecipe(objectRecipe(static_cast<ObjectShape>(i)), i));
    for (int i = 0; i < plan.fontPalettes; ++i) {
        const QRgb face = i == 0 ? qRgb(255, 215, 90) : wheelColour(i + 3);
        const RampColours grey{qRgb(20, 20, 20), qRgb(200, 200, 200)};
        writeRampPalette(store, f.font + i, {grey, grey, rampAround(face)});
    }
    for (int p = f.remap; p < plan.physicalPalettes; ++p)
        writeRampPalette(store, p, carRecipe(wheelColour(plan.carPalettes + p - f.remap)));
}

void drawTiles(StyleDocument &doc, const SamplePlan &plan) {
    doc.TileStore = makePixelStore(plan.tilePages * PageSide);
    const int tiles = plan.tilePages * TilesPerPage;
    for (int t = 0; t < tiles; ++t) {
        Canvas tile(doc.TileStore, TileSide * (t % 4), TileSide * (t / 4), TileSide, TileSide);
        drawTexture(tile, static_cast<Texture>(t % TextureCount), static_cast<quint32>(t) * 7919u + 1);
        doc.PaletteIndex.append(static_cast<quint16>(t % plan.tilePalettes));
    }
    doc.PaletteCounts[PalTile] = static_cast<quint16>(tiles);
}

// Places sprites on a range of pages in turn, each page filled in shelves from its top left, with
// a one-pixel gap so outlines stay apart.
class PagePacker {
public:
    explicit PagePacker(int pages) : pages_(static_cast<std::size_t>(pages)) {}

    SpriteEntry place(QSize size, int firstPage, int pageCount, int turn) {
        for (int tries = 0; tries < pageCount; ++tries) {
            const int page = firstPage + (turn + tries) % pageCount;
            Shelf next = pages_[static_cast<std::size_t>(page)];
            if (next.x + size.width() > PageSide)
                next = {0, next.y + next.height, 0};
            if (next.y + size.height() > PageSide)
                continue;
            const int x = next.x, y = next.y;
            next.x += size.width() + 1;
            next.height = std::max(next.height, size.height() + 1);
            pages_[static_cast<std::size_t>(page)] = next;
            SpriteEntry entry;
            entry.ptr = static_cast<quint32>(page * PageBytes + y * PageSide + x);
            entry.w = static_cast<quint8>(size.width());
            entry.h = static_cast<quint8>(size.height());
            return entry;
        }
        throw std::logic_error("sample sprites do not fit their pages");
    }

private:
    struct Shelf {
        int x = 0, y = 0, height = 0;
    };
    std::vector<Shelf> pages_;
};

std::array<std::vector<SpriteJob>, SpriteKindCount> spriteJobs(const SamplePlan &plan,
                                                               const PaletteFamilies &f) {
    std::array<std::vector<SpriteJob>, SpriteKindCount> jobs;
    int carSprite = 0;
    for (const SampleCar &car : plan.cars) {
        if (car.subModel)
            continue;
        const CarBody body = car.body;
        jobs[SprCar].push_back(
            {carSpriteSize(body), f.car + carSprite++ % plan.carPalettes, [body](Canvas &c) {
                 drawCar(c, body);
             }});
    }
    for (int i = 0; i < plan.pedSprites; ++i) {
        const int frame = i % PedFrameCount;
        jobs[SprPed].push_back({PedSize, f.ped + (i / PedFrameCount) % plan.pedPalettes, [frame](Canvas &c) {
                                    drawPed(c, frame);
                                }});
    }
    const auto objects = [&](const std::vector<ObjectShape> &shapes, std::vector<SpriteJob> &out) {
        for (const ObjectShape shape : shapes)
            out.push_back({objectSize(shape), f.object + static_cast<int>(shape), [shape](Canvas &c) {
                               drawObject(c, shape);
                           }});
    };
    objects(plan.codeObjects, jobs[SprCodeObj]);
    objects(plan.mapObjects, jobs[SprMapObj]);
    objects(plan.userObjects, jobs[SprUser]);
    for (int i = 0; i < plan.glyphs; ++i)
        jobs[SprFont].push_back({GlyphSize, f.font + (i / GlyphCount) % plan.fontPalettes, [i](Canvas &c) {
                                     drawGlyph(c, i);
                                 }});
    return jobs;
}

void drawSprites(StyleDocument &doc, const SamplePlan &plan, const PaletteFamilies &f) {
    doc.SpriteStore = makePixelStore(plan.spritePages * PageSide);
    PagePacker packer(plan.spritePages);
    const auto jobs = spriteJobs(plan, f);
    for (int kind = 0; kind < SpriteKindCount; ++kind) {
        const int first = plan.kindFirstPage[static_cast<std::size_t>(kind)];
        const int end = kind + 1 < SpriteKindCount ? plan.kindFirstPage[static_cast<std::size_t>(kind) + 1]
                                                   : plan.spritePages;
        const int pages = std::max(1, end - first);
        const std::vector<SpriteJob> &list = jobs[static_cast<std::size_t>(kind)];
        for (std::size_t i = 0; i < list.size(); ++i) {
            const SpriteEntry entry = packer.place(list[i].size, first, pages, static_cast<int>(i));
            Canvas sprite(doc.SpriteStore, entry.x(), entry.page() * PageSide + entry.y(), entry.w, entry.h);
            list[i].paint(sprite);
            doc.SpriteIndex.append(entry);
            doc.PaletteIndex.append(static_cast<quint16>(list[i].palette));
        }
        doc.SpriteBases[static_cast<std::size_t>(kind)] = static_cast<quint16>(list.size());
    }
    doc.SpriteIndexSize = static_cast<quint32>(doc.SpriteIndex.count() * SpriteEntryBytes);
    doc.PaletteCounts[PalSprite] = static_cast<quint16>(doc.SpriteIndex.count());
}

void addRemapPalettes(StyleDocument &doc, const SamplePlan &plan, const PaletteFamilies &f) {
    const int remapPalettes = plan.physicalPalettes - f.remap;
    const int mapShapes = FirstUserObject - FirstMapObject, userShapes = ObjectShapeCount - FirstUserObject;
    for (int kind = 0; kind < SpriteKindCount; ++kind) {
        const int count = plan.remapCounts[static_cast<std::size_t>(kind)];
        for (int r = 0; r < count; ++r) {
            int palette = 0;
            switch (kind) {
            case SprCar:
                palette = f.remap + r % remapPalettes;
                break;
            case SprPed:
                palette = f.ped + r % plan.pedPalettes;
                break;
            case SprCodeObj:
                palette = f.object + r % FirstMapObject;
                break;
            case SprMapObj:
                palette = f.object + FirstMapObject + r % mapShapes;
                break;
            case SprUser:
                palette = f.object + FirstUserObject + r % userShapes;
                break;
            default:
                palette = f.font + r % plan.fontPalettes;
                break;
            }
            doc.PaletteIndex.append(static_cast<quint16>(palette));
        }
        doc.PaletteCounts[static_cast<std::size_t>(PalCarRemap + kind)] = static_cast<quint16>(count);
    }
}

qint8 walkIn(int x) {
    return static_cast<qint8>(x >= 0 ? x + 64 : x - 64);
}

CarInfoRecord carRecord(const SampleCar &car, int carRemaps, SampleRng &rng) {
    const QSize size = carSpriteSize(car.body);
    const CarGeometry g = carGeometry(car.body, size);
    const int centre = size.height() / 2;
    const int halfWidth = (g.right - g.left) / 2;
    const int doorY = (g.doorTop + g.doorBottom) / 2 - centre;

    CarInfoRecord r;
    r.model = static_cast<quint8>(car.model);
    r.sprite = car.subModel ? 0 : 1;
    r.w = static_cast<quint8>(g.right - g.left);
    r.h = static_cast<quint8>(g.bottom - g.top);
    r.passengers = static_cast<quint8>(car.body == CarBody::Bus ? 8 : rng.between(1, 3));
    constexpr quint8 ratings[] = {1, 2, 3, 11, 12, 13, 21, 22, 23};
    r.rating = car.body == CarBody::Police ? 99 : ratings[rng.below(9)];
    r.front_wheel_offset = static_cast<qint8>(g.frontWheel - centre);
    r.rear_wheel_offset = static_cast<qint8>(g.rearWheel - centre);
    r.front_window_offset = static_cast<qint8>(g.windscreenTop - centre);
    r.rear_window_offset = static_cast<qint8>(g.roofEnd - centre);

    switch (car.body) {
    case CarBody::Police:
        r.wreck = 2;
        r.info_flags = 0x02; // emergency lights
        r.info_flags_2 = 0x04;
        break;
    case CarBody::Taxi:
        r.wreck = 3;
        r.info_flags = 0x20; // for-hire lights
        break;
    case CarBody::Bus:
    case CarBody::Truck:
        r.wreck = 7;
        r.info_flags = 0x01; // too high for a ped to jump
        break;
    case CarBody::Van:
        r.wreck = 8;
        r.info_flags = 0x40; // roof decal
        break;
    case CarBody::Sports:
        r.wreck = 3;
        r.info_flags_2 = 0x02; // popup headlights
        break;
    case CarBody::Pickup:
        r.wreck = 1;
        break;
    case CarBody::Bubble:
        r.wreck = 6;
        break;
    case CarBody::Saloon:
        r.wreck = rng.below(4) == 0 ? 99 : 2;
        break;
    }

    // Police cars keep their colours; the others get a few distinct remaps.
    if (car.body != CarBody::Police) {
        r.num_remaps = static_cast<quint8>(rng.between(1, 5));
        const int start = rng.below(carRemaps), step = 1 + rng.below(3);
        for (int k = 0; k < r.num_remaps; ++k)
            r.remap[static_cast<std::size_t>(k)] = static_cast<quint8>((start + k * step) % carRemaps);
    }

    const auto addDoor = [&r](int x, int y) {
        r.doors[r.num_doors++] = {static_cast<qint8>(x), static_cast<qint8>(y)};
    };
    switch (car.body) {
    case CarBody::Bus: // a driver's door, and walk-in doors for the passengers on both sides
        addDoor(-halfWidth, doorY);
        addDoor(walkIn(halfWidth), doorY);
        addDoor(walkIn(halfWidth), size.height() / 4);
        addDoor(walkIn(-halfWidth), size.height() / 4);
        break;
    case CarBody::Bubble: // the door is the whole front
        addDoor(walkIn(0), g.top - centre + 2);
        break;
    case CarBody::Taxi:
        addDoor(-halfWidth, doorY - 4);
        addDoor(halfWidth, doorY - 4);
        addDoor(-halfWidth, doorY + 8);
        addDoor(halfWidth, doorY + 8);
        break;
    default:
        addDoor(-halfWidth, doorY);
        addDoor(halfWidth, doorY);
        break;
    }
    return r;
}

void addCars(StyleDocument &doc, const SamplePlan &plan) {
    SampleRng rng(4242);
    for (const SampleCar &car : plan.cars)
        doc.CarInfoTable.append(carRecord(car, plan.remapCounts[SprCar], rng));
    doc.deriveSpriteSums();
}

// The changed pixels of `after` as runs: u16 skip from the end of the previous run, u8 length,
// the pixels; positions count 256 to a row from the sprite's top left.
QByteArray deltaRuns(const QImage &before, const QImage &after) {
    QByteArray out;
    int end = 0;
    for (int y = 0; y < before.height(); ++y) {
        const uchar *a = before.constScanLine(y), *b = after.constScanLine(y);
        for (int x = 0; x < before.width();) {
            if (a[x] == b[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < before.width() && a[x] != b[x] && x - start < 255)
                ++x;
            const int position = PageSide * y + start, skip = position - end;
            out.append(static_cast<char>(skip & 0xff));
            out.append(static_cast<char>(skip >> 8));
            out.append(static_cast<char>(x - start));
            out.append(reinterpret_cast<const char *>(b + start), x - start);
            end = position + (x - start);
        }
    }
    return out;
}

void addCarDeltas(StyleDocument &doc, const SamplePlan &plan) {
    int sprite = 0;
    for (const SampleCar &car : plan.cars) {
        if (car.subModel)
            continue;
        const SpriteEntry &entry = doc.SpriteIndex[static_cast<std::size_t>(sprite)];
        const QImage before =
            doc.SpriteStore.copy(entry.x(), entry.page() * PageSide + entry.y(), entry.w, entry.h);
        DeltaIndexEntry index;
        index.sprite = static_cast<quint16>(sprite);
        for (const CarChange change : carChanges(car.body)) {
            QImage after = before.copy();
            Canvas canvas(after);
            drawCarChange(canvas, car.body, change);
            const QByteArray runs = deltaRuns(before, after);
            if (runs.isEmpty())
                continue;
            index.size[index.delta_count++] = static_cast<quint16>(runs.size());
            doc.DeltaStore.append(runs);
        }
        doc.DeltaIndex.append(index);
        ++sprite;
    }
}

void addSurfaceLists(StyleDocument &doc) {
    const int tiles = doc.PaletteCounts[PalTile];
    for (int list = 0; list < SurfaceListCount; ++list) {
        // Tile 0 cannot be listed: a 0 word ends a list.
        for (int t = 1; t < tiles; ++t)
            if (textureSurfaces(static_cast<Texture>(t % TextureCount)) & (1 << list))
                doc.SurfaceLists.append(static_cast<quint16>(t));
        doc.SurfaceLists.append(0);
    }
    doc.SurfaceColumns = splitSurfaceLists(doc.SurfaceLists);
}

void addRecycleList(StyleDocument &doc) {
    std::array<bool, 256> recycled{};
    for (const CarInfoRecord &car : doc.CarInfoTable)
        recycled[car.model] = car.rating != 99;
    for (int model = 0; model < 256; ++model)
        if (recycled[static_cast<std::size_t>(model)])
            doc.RecycleList.append(static_cast<quint8>(model));
}

// Object models and how many sprites each uses, as the game's object table lists them.
void addObjectInfo(StyleDocument &doc, const SamplePlan &plan) {
    std::array<int, ObjectShapeCount> sprites{};
    for (const auto *shapes : {&plan.codeObjects, &plan.mapObjects, &plan.userObjects})
        for (const ObjectShape shape : *shapes)
            ++sprites[static_cast<std::size_t>(shape)];
    for (int shape = 0; shape < ObjectShapeCount; ++shape) {
        doc.ObjectInfo.append(static_cast<char>(shape));
        doc.ObjectInfo.append(static_cast<char>(std::min(255, sprites[static_cast<std::size_t>(shape)])));
    }
}

StyleDocument buildSample(const SamplePlan &plan) {
    StyleDocument doc;
    const PaletteFamilies families = familiesOf(plan);
    writePalettes(doc, plan, families);
    drawTiles(doc, plan);
    drawSprites(doc, plan, families);
    addRemapPalettes(doc, plan, families);
    doc.derivePaletteBases();
    addCars(doc, plan);
    addCarDeltas(doc, plan);
    addSurfaceLists(doc);
    addRecycleList(doc);
    addObjectInfo(doc, plan);
    return doc;
}

std::vector<ObjectShape> shapeRange(int first, int end) {
    std::vector<ObjectShape> shapes;
    for (int s = first; s < end; ++s)
        shapes.push_back(static_cast<ObjectShape>(s));
    return shapes;
}

std::vector<ObjectShape> shuffledShapes(int first, int end, int count, quint32 seed) {
    SampleRng rng(seed);
    std::vector<ObjectShape> shapes;
    shapes.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        shapes.push_back(static_cast<ObjectShape>(first + rng.below(end - first)));
    return shapes;
}

} // namespace

StyleDocument makeSampleStyle() {
    SamplePlan plan;
    plan.tilePages = 2;
    plan.physicalPalettes = 128;
    plan.tilePalettes = TextureCount;
    plan.carPalettes = 9;
    plan.pedPalettes = 8;
    plan.fontPalettes = 2;
    plan.cars = {{0, CarBody::Saloon, false},  {12, CarBody::Police, false}, {56, CarBody::Taxi, false},
                 {11, CarBody::Bus, false},    {47, CarBody::Sports, false}, {48, CarBody::Sports, true},
                 {41, CarBody::Pickup, false}, {29, CarBody::Bubble, false}, {68, CarBody::Van, false},
                 {7, CarBody::Truck, false}};
    plan.pedSprites = PedFrameCount;
    plan.codeObjects = shapeRange(0, FirstMapObject);
    plan.mapObjects = shapeRange(FirstMapObject, FirstUserObject);
    plan.userObjects = shapeRange(FirstUserObject, ObjectShapeCount);
    plan.glyphs = GlyphCount;
    plan.remapCounts = {16, 8, 2, 3, 2, 2};
    plan.spritePages = 2;
    plan.kindFirstPage = {0, 0, 1, 1, 1, 1};
    return buildSample(plan);
}

StyleDocument makeLargeSampleStyle() {
    constexpr int cars = 256, pedSprites = 1000, codeObjects = 360, mapObjects = 1000, userObjects = 140;
    SamplePlan plan;
    plan.tilePages = 62;
    plan.physicalPalettes = 640;
    plan.tilePalettes = 10 * TextureCount;
    plan.carPalettes = 128;
    plan.pedPalettes = 32;
    plan.fontPalettes = 8;
    SampleRng rng(2024);
    for (int i = 0; i < cars; ++i) {
        const bool subModel = i % 10 == 9;
        const CarBody body = subModel ? plan.cars.back().body : static_cast<CarBody>(rng.below(CarBodyCount));
        plan.cars.push_back({i, body, subModel});
    }
    const int carSprites = cars - cars / 10;
    plan.pedSprites = pedSprites;
    plan.codeObjects = shuffledShapes(0, FirstMapObject, codeObjects, 11);
    plan.mapObjects = shuffledShapes(FirstMapObject, FirstUserObject, mapObjects, 12);
    plan.userObjects = shuffledShapes(FirstUserObject, ObjectShapeCount, userObjects, 13);
    plan.glyphs = SpriteIndexCapacity - carSprites - pedSprites - codeObjects - mapObjects - userObjects;
    plan.remapCounts = {64, 60, 6, 12, 4, 8};
    plan.spritePages = 64;
    plan.kindFirstPage = {0, 20, 26, 34, 58, 61};
    return buildSample(plan);
}
