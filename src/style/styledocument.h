#pragma once

#include "style/boundedtable.h"
#include "style/filerecords.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QStringList>
#include <array>

// The whole content of one style file in memory. A plain value: copying it is cheap because the
// byte blocks and pixel stores are implicitly shared, which gives all-or-nothing loading and
// snapshot undo. Member names follow the file model.
struct StyleDocument {
    // Physical palettes in "PPAL" layout; always the full store of 704 palettes.
    QByteArray PhysicalPalettes = QByteArray(PhysicalPalettesBytes, '\0');
    int PhysicalPaletteCount = 0;
    // Virtual palette -> physical palette; its size is the virtual palette count.
    BoundedTable<quint16, PaletteIndexCapacity> PaletteIndex;
    std::array<quint16, PaletteKindCount> PaletteCounts{};
    std::array<quint16, PaletteKindCount> PaletteBases{}; // derived from PaletteCounts

    BoundedTable<CarInfoRecord, CarInfoCapacity> CarInfoTable;
    std::array<quint16, SpriteKindCount> SpriteBases{};

    // Sprite entries; the last one may be partial when the index size is not a multiple of 8,
    // in which case only its first bytes are part of the file.
    BoundedTable<SpriteEntry, SpriteIndexCapacity> SpriteIndex;
    quint32 SpriteIndexSize = 0;

    BoundedTable<quint8, RecycleListCapacity> RecycleList;
    BoundedTable<DeltaIndexEntry, DeltaIndexCapacity> DeltaIndex;
    QByteArray DeltaStore;
    QByteArray ObjectInfo;

    // The surface-number list as loaded (shown read-only) and the nine editable surface columns,
    // one decimal tile number per line; the columns are rebuilt into the list on save.
    BoundedTable<quint16, SurfaceListsCapacity> SurfaceLists;
    std::array<QStringList, SurfaceListCount> SurfaceColumns;

    // Car physics script text, line by line.
    QStringList CarScript;

    // 8-bit stores, 256 pixels wide, pages of 256 rows stacked; null while empty.
    QImage TileStore;
    QImage SpriteStore;

    int PaletteIndexCount() const { return PaletteIndex.count(); }
    int CarCount() const { return CarInfoTable.count(); }
    int DeltaIndexCount() const { return DeltaIndex.count(); }
    int DeltaStoreSize() const { return static_cast<int>(DeltaStore.size()); }
    int SurfaceListsCount() const { return SurfaceLists.count(); }
    int spriteCount() const { return static_cast<int>(SpriteIndexSize / SpriteEntryBytes); }
    int tilePageCount() const { return TileStore.height() / PageSide; }
    int spritePageCount() const { return SpriteStore.height() / PageSide; }

    void derivePaletteBases();
    // Recomputes `sprite_sum` of every car record.
    void deriveSpriteSums();

    bool operator==(const StyleDocument &) const = default;
};

// Rectangle of a sprite in the page strip (pages side by side), right and bottom exclusive.
QRect spriteRect(const SpriteEntry &entry);

// Byte offset of colour `colour` of physical palette `palette` in PhysicalPalettes.
constexpr int physicalColourOffset(int palette, int colour) {
    return (palette / PalettesPerPage) * PageBytes + colour * PageSide + (palette % PalettesPerPage) * 4;
}

// The pixel stores' own colour table: entry i is red, green and blue i.
QList<QRgb> greyRamp();
// An 8-bit pixel store of `rows` rows with the grey ramp as its colour table, its first bytes
// `first` and the rest 0; throws std::bad_alloc when it cannot be made.
QImage makePixelStore(int rows, QByteArrayView first = {});
