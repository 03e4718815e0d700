#pragma once

#include "sample/samplepalettes.h"

class Canvas;

// The 64 × 64 textures of the sample tile pages, in tile order: tile t of a sample shows texture
// t mod TextureCount, so tile 0 (which no surface list can name) is plain pavement.
enum class Texture {
    Pavement,
    Grass,
    GrassFlowers,
    Dirt,
    Road,
    RoadDashed,
    RoadDoubleLine,
    ZebraCrossing,
    Water,
    WaterShore,
    WoodPlanks,
    WoodParquet,
    MetalPlates,
    MetalTread,
    RedBricks,
    YellowBricks,
    Cobbles,
    RoofTiles,
    LiveGrate,
    ElectricPlatform,
    CorrugatedWall,
    EarthWall,
    Sand,
    CheckerFloor,
    Hedge,
    Parking,
    RailTrack,
    GravelRoof,
    StoneBlocks,
    Facade,
    Kerb,
    RustyMetal,
};
inline constexpr int TextureCount = 32;

void drawTexture(Canvas &tile, Texture kind, quint32 seed);
PaletteRecipe textureRecipe(Texture kind);
// The surface lists (bit k for list k + 1) a tile of this texture belongs to.
int textureSurfaces(Texture kind);
