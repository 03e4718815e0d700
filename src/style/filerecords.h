#pragma once

#include <QtGlobal>
#include <array>
#include <cstddef>

// Byte layouts and capacities of the style file. Every integer in the file is little-endian and
// nothing is aligned; the records below are the in-memory form, serialised field by field.

inline constexpr char StyleMagic[4] = {'G', 'B', 'S', 'T'};
inline constexpr quint16 StyleVersion = 700;
inline constexpr int FileHeaderSize = 6;
inline constexpr int ChunkHeaderSize = 8;

inline constexpr int PageSide = 256;
inline constexpr int PageBytes = PageSide * PageSide;
inline constexpr int TileSide = 64;
inline constexpr int TilesPerPage = 16;

inline constexpr int PalettesPerPage = 64;
inline constexpr int PaletteBytes = 1024;
inline constexpr int PaletteStoreCapacity = 704;
inline constexpr int PhysicalPalettesBytes = PaletteStoreCapacity * PaletteBytes; // 11 pages
inline constexpr int PaletteIndexCapacity = 16384;
inline constexpr int PaletteKindCount = 8;
inline constexpr int SpriteKindCount = 6;
inline constexpr int CarInfoCapacity = 256;
inline constexpr int SpriteIndexCapacity = 3001;
inline constexpr int SpriteEntryBytes = 8;
inline constexpr int RecycleListCapacity = 256;
inline constexpr int DeltaIndexCapacity = 65536;
inline constexpr int DeltasPerSprite = 33;
inline constexpr int SurfaceListsCapacity = 65536;
inline constexpr int SurfaceListCount = 9;
// A sprite entry addresses its page with one byte, so no store needs more than 256 pages; the
// tile store is held to the same bound (16 MiB) so a damaged size cannot ask for gigabytes.
inline constexpr int PixelStorePageCapacity = 256;
inline constexpr int CarFixedBytes = 14;

struct ChunkHeader {
    std::array<char, 4> tag{};
    quint32 size = 0;
};

// Palette kinds in "PALB" order.
enum PaletteKind {
    PalTile,
    PalSprite,
    PalCarRemap,
    PalPedRemap,
    PalCodeObjRemap,
    PalMapObjRemap,
    PalUserRemap,
    PalFontRemap
};
// Sprite kinds in "SPRB" order.
enum SpriteKindIndex { SprCar, SprPed, SprCodeObj, SprMapObj, SprUser, SprFont };

struct SpriteEntry {
    quint32 ptr = 0; // page * 65536 + y * 256 + x within the sprite store
    quint8 w = 0;
    quint8 h = 0;
    quint16 pad = 0;

    int x() const { return static_cast<int>(ptr & 0xff); }
    int y() const { return static_cast<int>((ptr >> 8) & 0xff); }
    int page() const { return static_cast<int>((ptr >> 16) & 0xff); }
    bool operator==(const SpriteEntry &) const = default;
};

struct DoorPosition {
    qint8 rx = 0;
    qint8 ry = 0;
    bool operator==(const DoorPosition &) const = default;
};

struct CarInfoRecord {
    quint8 model = 0;
    quint8 sprite = 0;
    quint8 w = 0;
    quint8 h = 0;
    quint8 num_remaps = 0;
    quint8 passengers = 0;
    quint8 wreck = 0;
    quint8 rating = 0;
    qint8 front_wheel_offset = 0;
    qint8 rear_wheel_offset = 0;
    qint8 front_window_offset = 0;
    qint8 rear_window_offset = 0;
    quint8 info_flags = 0;
    quint8 info_flags_2 = 0;
    std::array<quint8, 256> remap{};
    quint8 num_doors = 0;
    std::array<DoorPosition, 256> doors{};
    quint32 sprite_sum = 0; // derived: sum of `sprite` over this record and all before it

    bool operator==(const CarInfoRecord &) const = default;
};

struct DeltaIndexEntry {
    quint16 sprite = 0;
    quint8 delta_count = 0;
    quint8 pad = 0;
    std::array<quint16, DeltasPerSprite> size{};

    bool operator==(const DeltaIndexEntry &) const = default;
};

// The font table written into every file: a font count of 7, then the sprites of each font.
inline constexpr std::array<quint16, 8> FontBaseTable = {7, 144, 144, 144, 1, 1, 145, 144};
