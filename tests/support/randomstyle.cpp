#include "support/randomstyle.h"

#include "style/littleendian.h"

namespace {

quint8 randomByte(SampleRng &rng) {
    return static_cast<quint8>(rng.below(256));
}

quint16 randomWord(SampleRng &rng) {
    return static_cast<quint16>(rng.below(65536));
}

QByteArray randomBytes(SampleRng &rng, int size) {
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = static_cast<char>(randomByte(rng));
    return bytes;
}

// A null store or one of up to `maxPages` pages of random pixels.
QImage randomStore(SampleRng &rng, int maxPages) {
    const int pages = rng.between(0, maxPages);
    if (pages == 0)
        return QImage();
    QImage store = makePixelStore(pages * PageSide);
    for (int y = 0; y < store.height(); ++y) {
        uchar *line = store.scanLine(y);
        for (int x = 0; x < PageSide; ++x)
            line[x] = randomByte(rng);
    }
    return store;
}

CarInfoRecord randomCar(SampleRng &rng) {
    CarInfoRecord car;
    car.model = randomByte(rng);
    car.sprite = randomByte(rng);
    car.w = randomByte(rng);
    car.h = randomByte(rng);
    car.num_remaps = static_cast<quint8>(rng.between(0, 12));
    car.passengers = randomByte(rng);
    car.wreck = randomByte(rng);
    car.rating = randomByte(rng);
    car.front_wheel_offset = static_cast<qint8>(randomByte(rng));
    car.rear_wheel_offset = static_cast<qint8>(randomByte(rng));
    car.front_window_offset = static_cast<qint8>(randomByte(rng));
    car.rear_window_offset = static_cast<qint8>(randomByte(rng));
    car.info_flags = randomByte(rng);
    car.info_flags_2 = randomByte(rng);
    for (int r = 0; r < car.num_remaps; ++r)
        car.remap[static_cast<std::size_t>(r)] = randomByte(rng);
    car.num_doors = static_cast<quint8>(rng.between(0, 6));
    for (int d = 0; d < car.num_doors; ++d)
        car.doors[static_cast<std::size_t>(d)] = {static_cast<qint8>(randomByte(rng)),
                                                  static_cast<qint8>(randomByte(rng))};
    return car;
}

DeltaIndexEntry randomDeltaEntry(SampleRng &rng) {
    DeltaIndexEntry entry;
    entry.sprite = randomWord(rng);
    entry.delta_count = static_cast<quint8>(rng.between(0, DeltasPerSprite));
    entry.pad = randomByte(rng);
    for (int d = 0; d < entry.delta_count; ++d)
        entry.size[static_cast<std::size_t>(d)] = randomWord(rng);
    return entry;
}

} // namespace

StyleDocument randomStyle(SampleRng &rng) {
    StyleDocument doc;
    doc.TileStore = randomStore(rng, 2);
    doc.SpriteStore = randomStore(rng, 2);
    // The file holds the first count * 1024 bytes of the store, which on the last page of 64
    // palettes include slots past the count; the rest of the store is 0.
    doc.PhysicalPaletteCount = rng.between(0, 80);
    for (int at = 0; at < doc.PhysicalPaletteCount * PaletteBytes; ++at)
        doc.PhysicalPalettes[at] = static_cast<char>(randomByte(rng));
    const int virtualPalettes = rng.between(0, 300);
    for (int v = 0; v < virtualPalettes; ++v)
        doc.PaletteIndex.append(static_cast<quint16>(rng.below(PaletteStoreCapacity)));
    for (quint16 &count : doc.PaletteCounts)
        count = randomWord(rng);
    for (quint16 &base : doc.SpriteBases)
        base = randomWord(rng);

    const int sprites = rng.between(0, 60);
    for (int s = 0; s < sprites; ++s)
        doc.SpriteIndex.append({rng.next(), randomByte(rng), randomByte(rng), randomWord(rng)});
    // Now and then the last entry is cut short, as files in the wild have it.
    doc.SpriteIndexSize = quint32(sprites * SpriteEntryBytes - (sprites > 0 ? rng.below(3) * 3 : 0));

    const int cars = rng.between(0, 12);
    for (int c = 0; c < cars; ++c)
        doc.CarInfoTable.append(randomCar(rng));
    doc.deriveSpriteSums();
    const int deltas = rng.between(0, 20);
    for (int d = 0; d < deltas; ++d)
        doc.DeltaIndex.append(randomDeltaEntry(rng));
    doc.DeltaStore = randomBytes(rng, rng.between(0, 2000));
    doc.ObjectInfo = randomBytes(rng, rng.between(0, 200));
    const int recycled = rng.between(0, 20);
    for (int r = 0; r < recycled; ++r)
        doc.RecycleList.append(randomByte(rng));

    // Tile numbers 1 to 65535: a 0 would end its list.
    for (QStringList &column : doc.SurfaceColumns) {
        const int lines = rng.between(0, 15);
        for (int l = 0; l < lines; ++l)
            column.append(QString::number(rng.between(1, 65535)));
    }
    doc.derivePaletteBases();
    return doc;
}

QByteArray damagedStyle(const QByteArray &file, SampleRng &rng) {
    QByteArray bytes = file;
    switch (rng.below(3)) {
    case 0:
        bytes.truncate(rng.below(int(bytes.size())));
        break;
    case 1:
        for (int n = rng.between(1, 8); n > 0; --n)
            bytes[rng.below(int(bytes.size()))] = static_cast<char>(randomByte(rng));
        break;
    default: {
        // Walk the chunk headers and give one of them a size near its own or anything at all.
        QList<qsizetype> sizeFields;
        for (qsizetype at = FileHeaderSize; at + ChunkHeaderSize <= bytes.size();
             at += ChunkHeaderSize + readU32(bytes.constData() + at + 4))
            sizeFields.append(at + 4);
        const qsizetype field = sizeFields[rng.below(int(sizeFields.size()))];
        const quint32 size = readU32(bytes.constData() + field);
        const quint32 changed = rng.below(2) == 0 ? size + quint32(rng.between(-16, 16)) : rng.next();
        storeU32(bytes.data() + field, changed);
        break;
    }
    }
    return bytes;
}
