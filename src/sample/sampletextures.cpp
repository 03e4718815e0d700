#include "sample/sampletextures.h"

#include "sample/samplepainting.h"
#include "style/filerecords.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int Side = TileSide;

template <typename F> void paint(Canvas &tile, F &&pixel) {
    for (int y = 0; y < Side; ++y) {
        uchar *row = tile.row(y);
        for (int x = 0; x < Side; ++x)
            row[x] = pixel(x, y);
    }
}

struct Asphalt {
    explicit Asphalt(quint32 s) : seed(s), base(NoiseField::fractal(s)), stains(16, s + 3) {}
    uchar operator()(int x, int y) const {
        float level = 0.25f + 0.2f * base(x, y) + 0.3f * grain(x, y, seed);
        if (stains(x, y) > 0.74f)
            level -= 0.12f; // oil
        return shade(RampA, level);
    }
    quint32 seed;
    NoiseField base, stains;
};

struct Grass {
    explicit Grass(quint32 s) : seed(s), base(NoiseField::fractal(s)) {}
    uchar operator()(int x, int y) const {
        // Blades: grain stretched vertically over a patchy base.
        const float blades = grain(x, y / 3 + (x % 3) * 7, seed);
        return shade(RampA, 0.2f + 0.45f * base(x, y) + 0.45f * blades);
    }
    quint32 seed;
    NoiseField base;
};

struct Water {
    explicit Water(quint32 s) : seed(s), base(NoiseField::fractal(s)) {}
    uchar operator()(int x, int y) const {
        const float n = base(x, y);
        const float wave =
            std::sin(TwoPi * (static_cast<float>(x) / 32 + static_cast<float>(y) / 64) + 5 * n);
        if (wave > 0.9f && grain(x, y, seed) > 0.1f)
            return shade(RampC, 0.85f);
        return shade(RampA, 0.4f + 0.22f * wave + 0.2f * n);
    }
    quint32 seed;
    NoiseField base;
};

void drawBricks(Canvas &tile, int brickW, int brickH, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    const int across = Side / brickW;
    paint(tile, [&](int x, int y) {
        const int row = y / brickH;
        const int shifted = (x + (row % 2) * brickW / 2) % Side;
        const int u = shifted % brickW, v = y % brickH;
        if (u == brickW - 1 || v == brickH - 1)
            return shade(RampB, 0.55f + 0.3f * grain(x, y, seed));
        float level = 0.3f + 0.3f * latticeValue(shifted / brickW % across, row, seed) + 0.15f * n(x, y) +
                      0.15f * grain(x, y, seed);
        if (v == 0 || u == 0)
            level += 0.12f;
        else if (v == brickH - 2)
            level -= 0.1f;
        return shade(RampA, level);
    });
}

void drawHazardBorder(Canvas &tile, int width, uchar bright) {
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            if (x < width || y < width || x >= Side - width || y >= Side - width)
                tile.set(x, y, ((x + y) / 6) % 2 != 0 ? bright : shade(RampC, 0.08f));
}

void drawRivet(Canvas &tile, int cx, int cy) {
    tile.set(cx, cy, shade(RampC, 0.95f));
    tile.set(cx + 1, cy, shade(RampC, 0.7f));
    tile.set(cx, cy + 1, shade(RampC, 0.7f));
    tile.set(cx + 1, cy + 1, shade(RampC, 0.3f));
}

void drawPavement(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed), stains(8, seed + 5);
    paint(tile, [&](int x, int y) {
        const int u = x % 32, v = y % 32;
        if (u == 0 || v == 0)
            return shade(RampB, 0.25f + 0.2f * grain(x, y, seed));
        float level = 0.45f + 0.25f * n(x, y) + 0.15f * grain(x, y, seed);
        if (u == 1 || v == 1)
            level += 0.15f;
        if (stains(x, y) > 0.8f)
            return shade(RampC, level * 0.6f);
        return shade(RampA, level);
    });
}

void drawGrassFlowers(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed), patches(16, seed + 9);
    const Grass grass(seed);
    paint(tile, [&](int x, int y) {
        if (patches(x, y) > 0.7f)
            return shade(RampB, 0.3f + 0.4f * n(x, y) + 0.2f * grain(x, y, seed));
        return grass(x, y);
    });
    constexpr Accent petals[] = {AccYellow, AccWhite, AccPink, AccMagenta};
    for (int cy = 0; cy < Side / 8; ++cy)
        for (int cx = 0; cx < Side / 8; ++cx) {
            const quint32 h = mixHash(cx, cy, seed + 11);
            if (h % 3 != 0)
                continue;
            const int x = cx * 8 + 1 + static_cast<int>(h >> 4) % 5,
                      y = cy * 8 + 1 + static_cast<int>(h >> 8) % 5;
            const uchar petal = accent(petals[(h >> 12) % 4]);
            tile.set(x, y - 1, petal);
            tile.set(x - 1, y, petal);
            tile.set(x + 1, y, petal);
            tile.set(x, y + 1, petal);
            tile.set(x, y, accent(AccGold));
        }
}

void drawDirt(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile,
          [&](int x, int y) { return shade(RampA, 0.3f + 0.45f * n(x, y) + 0.25f * grain(x, y, seed)); });
    SampleRng rng(seed);
    for (int i = 0; i < 14; ++i) {
        const int cx = rng.below(Side), cy = rng.below(Side), r = rng.between(1, 2);
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx)
                if (dx * dx + dy * dy <= r * r)
                    tile.set(cx + dx, cy + dy, shade(RampC, 0.75f - 0.12f * static_cast<float>(dx + dy)));
        tile.set(cx + r, cy + r + 1, shade(RampA, 0.1f));
    }
}

void drawRoadMarking(Canvas &tile, Texture kind, quint32 seed) {
    const Asphalt asphalt(seed);
    const NoiseField worn(4, seed + 7);
    paint(tile, [&](int x, int y) {
        const float wear = worn(x, y) > 0.75f ? 0.3f : 0.0f;
        const float paintLevel = 0.8f + 0.3f * grain(x, y, seed) - wear;
        switch (kind) {
        case Texture::RoadDashed:
            if (x >= 30 && x < 34 && y % 32 < 18)
                return shade(RampC, paintLevel);
            break;
        case Texture::RoadDoubleLine:
            if (x == 28 || x == 29 || x == 34 || x == 35)
                return shade(RampB, paintLevel);
            break;
        case Texture::ZebraCrossing:
            if (y >= 6 && y < 58 && x % 16 < 9)
                return shade(RampC, paintLevel);
            break;
        case Texture::Parking:
            if ((x % 32 < 2 && y < 44) || y == 44 || y == 45)
                return shade(RampC, paintLevel);
            break;
        default:
            break;
        }
        return asphalt(x, y);
    });
}

void drawWaterShore(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed), shoreline(16, seed + 2);
    const Water water(seed);
    paint(tile, [&](int x, int y) {
        const int edge = 28 + static_cast<int>(10 * shoreline(0, y));
        if (x < edge - 3)
            return water(x, y);
        if (x < edge)
            return shade(RampC, 0.7f + 0.4f * grain(x, y, seed));
        const float wet = x < edge + 4 ? 0.2f : 0.0f;
        return shade(RampB, 0.55f + 0.25f * n(x, y) + 0.15f * grain(x, y, seed) - wet);
    });
}

void drawWoodPlanks(Canvas &tile, quint32 seed) {
    const NoiseField knots(8, seed);
    paint(tile, [&](int x, int y) {
        const int plank = y / 8, v = y % 8;
        const int along = (x + (plank % 2) * 16) % 32;
        if (v == 7 || along == 0)
            return shade(RampA, 0.06f);
        if ((v == 2 || v == 5) && (along == 2 || along == 30))
            return shade(RampC, 0.8f);
        const float figure =
            0.12f * std::sin(static_cast<float>(x) * 0.35f + 6 * knots(x, y) + static_cast<float>(plank));
        return shade(RampA, 0.35f + 0.3f * latticeValue(plank, (x + (plank % 2) * 16) / 32 % 2, seed) +
                                figure + 0.08f * grain(x, y, seed));
    });
}

void drawWoodParquet(Canvas &tile, quint32 seed) {
    paint(tile, [&](int x, int y) {
        const int bx = x / 16, by = y / 16;
        const bool upright = (bx + by) % 2 == 0;
        const int u = upright ? x % 16 : y % 16, v = upright ? y % 16 : x % 16;
        if (u % 4 == 3)
            return shade(RampB, 0.15f);
        const int board = u / 4;
        const float figure = 0.08f * std::sin(static_cast<float>(v) * 0.6f + static_cast<float>(board * 3));
        return shade(RampA, 0.35f + 0.3f * latticeValue(bx * 4 + board, by, seed) + figure +
                                0.08f * grain(x, y, seed));
    });
}

void drawMetalPlates(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile, [&](int x, int y) {
        const int u = x % 32, v = y % 32;
        if (u == 0 || v == 0)
            return shade(RampA, 0.85f);
        if (u == 31 || v == 31)
            return shade(RampA, 0.12f);
        const float brushed = 0.1f * grain(x / 6, y, seed);
        return shade(RampA, 0.5f + 0.15f * n(x, y) + brushed);
    });
    for (int py = 0; py < 2; ++py)
        for (int px = 0; px < 2; ++px)
            for (const int ry : {3, 27})
                for (const int rx : {3, 27})
                    drawRivet(tile, px * 32 + rx, py * 32 + ry);
}

void drawMetalTread(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile, [&](int x, int y) {
        const bool flip = (x / 8 + y / 8) % 2 != 0;
        const float u = static_cast<float>(flip ? y % 8 : x % 8) - 3.5f;
        const float v = static_cast<float>(flip ? x % 8 : y % 8) - 3.5f;
        const float base = 0.4f + 0.1f * n(x, y) + 0.06f * grain(x, y, seed);
        if (std::abs(u) * 0.45f + std::abs(v) < 2.2f)
            return shade(RampA, v < 0 ? 0.82f : 0.58f);
        return shade(RampA, base);
    });
}

void drawCobbles(Canvas &tile, quint32 seed) {
    constexpr int Cell = 8, Cells = Side / Cell;
    paint(tile, [&](int x, int y) {
        const int cx = x / Cell, cy = y / Cell;
        float nearest = 1e9f, second = 1e9f;
        int stone = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int gx = (cx + dx + Cells) % Cells, gy = (cy + dy + Cells) % Cells;
                const quint32 h = mixHash(gx, gy, seed);
                const float px = static_cast<float>((cx + dx) * Cell) + 1.5f + static_cast<float>(h % 5);
                const float py =
                    static_cast<float>((cy + dy) * Cell) + 1.5f + static_cast<float>((h >> 8) % 5);
                const float d = std::hypot(px - static_cast<float>(x), py - static_cast<float>(y));
                if (d < nearest) {
                    second = nearest;
                    nearest = d;
                    stone = gy * Cells + gx;
                } else if (d < second) {
                    second = d;
                }
            }
        if (second - nearest < 1.4f)
            return shade(RampB, 0.2f + 0.2f * grain(x, y, seed));
        return shade(RampA, 0.3f + 0.3f * latticeValue(stone, 1, seed) + 0.35f * (1 - nearest / 6) +
                                0.1f * grain(x, y, seed));
    });
}

void drawRoofTiles(Canvas &tile, quint32 seed) {
    paint(tile, [&](int x, int y) {
        const int row = y / 8;
        const int shifted = (x + (row % 2) * 4) % Side;
        const float u = static_cast<float>(shifted % 8) - 3.5f;
        const float v = static_cast<float>(y % 8);
        if (v > 5.0f + 2.0f * (1 - u * u / 12.25f))
            return shade(RampA, 0.08f);
        return shade(RampA, 0.25f + 0.5f * v / 8 + 0.2f * latticeValue(shifted / 8, row, seed) +
                                0.08f * grain(x, y, seed));
    });
}

void drawLiveGrate(Canvas &tile, quint32 seed) {
    paint(tile, [&](int x, int y) {
        if (x % 4 == 0 || y % 4 == 0)
            return shade(RampB, 0.45f + 0.15f * grain(x, y, seed));
        return shade(RampB, 0.12f);
    });
    // A bolt of current from side to side, with a glow around it.
    for (int x = 0; x < Side; ++x) {
        const int phase = x % 16;
        const int centre =
            32 + (phase < 8 ? phase - 4 : 12 - phase) * 2 + static_cast<int>(mixHash(x, 0, seed) % 3) - 1;
        for (int dy = -3; dy <= 3; ++dy)
            tile.set(x, centre + dy, shade(RampA, std::abs(dy) <= 1 ? 0.95f : 0.5f));
    }
    drawHazardBorder(tile, 6, accent(AccYellow));
}

void drawElectricPlatform(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile,
          [&](int x, int y) { return shade(RampA, 0.45f + 0.15f * n(x, y) + 0.06f * grain(x, y, seed)); });
    drawHazardBorder(tile, 5, shade(RampB, 0.85f));
    for (const int r : {9, 53})
        for (const int c : {9, 53})
            drawRivet(tile, c, r);
    // Lightning sign in the middle.
    for (int i = 0; i < 12; ++i) {
        tile.fillRect(34 - i, 20 + i, 4, 1, accent(AccYellow));
        tile.fillRect(34 - i / 2, 32 + i, 4, 1, accent(AccYellow));
    }
}

void drawCorrugatedWall(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed), rust(8, seed + 4);
    paint(tile, [&](int x, int y) {
        if (y == 0)
            return shade(RampA, 0.05f);
        if (rust(x, y) > 0.64f)
            return shade(RampB, 0.3f + 0.4f * n(x, y) + 0.2f * grain(x, y, seed));
        return shade(RampA,
                     0.45f + 0.32f * std::sin(TwoPi * static_cast<float>(x) / 8) + 0.06f * grain(x, y, seed));
    });
}

void drawEarthWall(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile, [&](int x, int y) {
        const float noise = n(x, y);
        const float strata = std::sin(TwoPi * (static_cast<float>(y) / 16 + noise));
        return shade(RampA, 0.35f + 0.18f * strata + 0.2f * noise + 0.2f * grain(x, y, seed));
    });
    for (int cy = 0; cy < 4; ++cy)
        for (int cx = 0; cx < 4; ++cx) {
            const quint32 h = mixHash(cx, cy, seed + 21);
            if (h % 5 > 1)
                continue;
            const int ox = cx * 16 + 4 + static_cast<int>(h >> 4) % 8,
                      oy = cy * 16 + 4 + static_cast<int>(h >> 8) % 8;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -4; dx <= 4; ++dx)
                    if (dx * dx * 9 + dy * dy * 16 <= 144)
                        tile.set(ox + dx, oy + dy, shade(RampC, 0.55f - 0.06f * static_cast<float>(dx + dy)));
        }
}

void drawSand(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile, [&](int x, int y) {
        const float noise = n(x, y);
        const float ripple = std::sin(TwoPi * (static_cast<float>(y) * 6 / 64 + noise));
        return shade(RampA, 0.55f + 0.12f * ripple + 0.15f * noise + 0.15f * grain(x, y, seed));
    });
}

void drawCheckerFloor(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile, [&](int x, int y) {
        if (x % 16 == 0 || y % 16 == 0)
            return shade(RampC, 0.4f);
        const float shift = 0.1f * n(x, y) + 0.04f * grain(x, y, seed);
        if ((x / 16 + y / 16) % 2 == 0)
            return shade(RampA, 0.78f + shift);
        return shade(RampB, 0.3f + shift);
    });
}

void drawHedge(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed), clumps(4, seed + 13);
    paint(tile, [&](int x, int y) {
        const float leaves = clumps(x, y);
        const float g = grain(x, y, seed);
        if (g > 0.42f && leaves > 0.55f)
            return shade(RampA, 0.9f);
        if (mixHash(x, y, seed + 14) % 601 == 0)
            return accent(AccRed); // berries
        return shade(RampA, 0.1f + 0.7f * leaves * n(x, y) + 0.3f * g);
    });
}

void drawRailTrack(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile, [&](int x, int y) {
        const bool leftRail = x >= 16 && x < 19, rightRail = x >= 45 && x < 48;
        if (leftRail || rightRail)
            return shade(RampA, x == 17 || x == 46 ? 0.92f : 0.5f);
        const int v = y % 16;
        if (v >= 3 && v < 11 && x >= 6 && x < 58) {
            if (v == 3 || v == 10)
                return shade(RampB, 0.12f);
            return shade(RampB, 0.35f +
                                    0.12f * std::sin(static_cast<float>(x) * 0.4f + static_cast<float>(y)) +
                                    0.1f * grain(x, y, seed));
        }
        return shade(RampC, 0.3f + 0.5f * (grain(x / 2, y / 2, seed) + 0.5f) * 0.8f + 0.1f * n(x, y));
    });
}

void drawGravelRoof(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile, [&](int x, int y) {
        return shade(RampA, 0.35f + 0.4f * (grain(x / 2, y / 2, seed) + 0.5f) * 0.8f + 0.1f * n(x, y));
    });
    // A round vent with a grille.
    for (int dy = -9; dy <= 9; ++dy)
        for (int dx = -9; dx <= 9; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 > 81)
                continue;
            uchar v = shade(RampB, 0.75f - 0.03f * static_cast<float>(dx + dy));
            if (d2 <= 42)
                v = dy % 3 == 0 ? shade(RampB, 0.5f) : shade(RampB, 0.1f);
            tile.set(40 + dx, 22 + dy, v);
        }
    for (int dx = -9; dx <= 9; ++dx)
        tile.set(41 + dx, 32, shade(RampA, 0.1f)); // shadow
}

void drawFacade(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile, [&](int x, int y) {
        const int u = x % 16, v = y % 16;
        if (u >= 3 && u < 13 && v >= 2 && v < 12) {
            if (u == 3 || u == 12 || v == 2 || v == 11 || u == 8)
                return shade(RampC, 0.8f);
            const bool reflection = (u + v) % 9 < 2;
            return shade(RampB,
                         0.25f + 0.5f * (1 - static_cast<float>(v) / 12) + (reflection ? 0.25f : 0.0f));
        }
        if (v == 12 && u >= 2 && u < 14)
            return shade(RampC, 0.55f);
        return shade(RampA, 0.5f + 0.12f * n(x, y) + 0.08f * grain(x, y, seed));
    });
}

void drawKerb(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed);
    paint(tile, [&](int x, int y) {
        if (x < 40) {
            if (x % 10 == 0 || y % 8 == 0)
                return shade(RampA, 0.2f);
            return shade(RampA, 0.5f + 0.2f * n(x, y) + 0.12f * grain(x, y, seed));
        }
        if (x < 46)
            return shade(RampC, x == 40 ? 0.95f : (x == 45 ? 0.3f : 0.7f) + 0.06f * grain(x, y, seed));
        const float gutter = x < 49 ? 0.1f : 0.0f;
        return shade(RampB, 0.25f + 0.2f * n(x, y) + 0.25f * grain(x, y, seed) - gutter);
    });
}

void drawRustyMetal(Canvas &tile, quint32 seed) {
    const NoiseField n = NoiseField::fractal(seed), patches = NoiseField::fractal(seed + 8);
    paint(tile, [&](int x, int y) {
        const float rust = patches(x, y);
        if (rust > 0.52f)
            return shade(RampB, 0.25f + 1.2f * (rust - 0.52f) + 0.2f * grain(x, y, seed));
        return shade(RampA, 0.5f + 0.15f * n(x, y) + 0.05f * grain(x, y, seed));
    });
    SampleRng rng(seed);
    for (int i = 0; i < 5; ++i) {
        const int x = rng.below(Side), y = rng.below(Side), length = rng.between(6, 16);
        for (int k = 0; k < length; ++k)
            tile.set((x + k) % Side, (y + k / 3) % Side, shade(RampA, 0.85f));
    }
}

const RampColours AsphaltRamp = ramp(18, 18, 20, 125, 125, 130);
const RampColours YellowPaint = ramp(90, 70, 0, 255, 220, 60);
const RampColours WhitePaint = ramp(110, 110, 110, 250, 250, 245);
const RampColours PavingRamp = ramp(70, 68, 62, 210, 205, 192);
const RampColours GrassRamp = ramp(18, 48, 10, 130, 205, 70);
const RampColours SoilRamp = ramp(50, 32, 16, 185, 140, 90);
const RampColours StoneRamp = ramp(55, 55, 58, 225, 222, 215);
const RampColours SteelRamp = ramp(30, 34, 40, 205, 212, 220);
const RampColours RustRamp = ramp(60, 25, 10, 205, 115, 50);
const RampColours WoodRamp = ramp(50, 25, 10, 210, 155, 95);
const RampColours MortarRamp = ramp(70, 70, 65, 215, 210, 200);
const RampColours SandRamp = ramp(100, 85, 45, 245, 228, 175);
const RampColours WaterRamp = ramp(5, 20, 60, 80, 155, 225);
const RampColours FoamRamp = ramp(120, 150, 170, 250, 255, 255);
const RampColours DarkRamp = ramp(8, 8, 10, 90, 90, 95);

} // namespace

void drawTexture(Canvas &tile, Texture kind, quint32 seed) {
    switch (kind) {
    case Texture::Pavement:
        return drawPavement(tile, seed);
    case Texture::Grass:
        return paint(tile, Grass(seed));
    case Texture::GrassFlowers:
        return drawGrassFlowers(tile, seed);
    case Texture::Dirt:
        return drawDirt(tile, seed);
    case Texture::Road:
        return paint(tile, Asphalt(seed));
    case Texture::RoadDashed:
    case Texture::RoadDoubleLine:
    case Texture::ZebraCrossing:
    case Texture::Parking:
        return drawRoadMarking(tile, kind, seed);
    case Texture::Water:
        return paint(tile, Water(seed));
    case Texture::WaterShore:
        return drawWaterShore(tile, seed);
    case Texture::WoodPlanks:
        return drawWoodPlanks(tile, seed);
    case Texture::WoodParquet:
        return drawWoodParquet(tile, seed);
    case Texture::MetalPlates:
        return drawMetalPlates(tile, seed);
    case Texture::MetalTread:
        return drawMetalTread(tile, seed);
    case Texture::RedBricks:
        return drawBricks(tile, 16, 8, seed);
    case Texture::YellowBricks:
        return drawBricks(tile, 32, 8, seed);
    case Texture::StoneBlocks:
        return drawBricks(tile, 32, 16, seed);
    case Texture::Cobbles:
        return drawCobbles(tile, seed);
    case Texture::RoofTiles:
        return drawRoofTiles(tile, seed);
    case Texture::LiveGrate:
        return drawLiveGrate(tile, seed);
    case Texture::ElectricPlatform:
        return drawElectricPlatform(tile, seed);
    case Texture::CorrugatedWall:
        return drawCorrugatedWall(tile, seed);
    case Texture::EarthWall:
        return drawEarthWall(tile, seed);
    case Texture::Sand:
        return drawSand(tile, seed);
    case Texture::CheckerFloor:
        return drawCheckerFloor(tile, seed);
    case Texture::Hedge:
        return drawHedge(tile, seed);
    case Texture::RailTrack:
        return drawRailTrack(tile, seed);
    case Texture::GravelRoof:
        return drawGravelRoof(tile, seed);
    case Texture::Facade:
        return drawFacade(tile, seed);
    case Texture::Kerb:
        return drawKerb(tile, seed);
    case Texture::RustyMetal:
        return drawRustyMetal(tile, seed);
    }
}

PaletteRecipe textureRecipe(Texture kind) {
    switch (kind) {
    case Texture::Pavement:
        return {PavingRamp, ramp(30, 30, 30, 120, 118, 110), ramp(40, 38, 30, 150, 140, 110)};
    case Texture::Grass:
    case Texture::GrassFlowers:
        return {GrassRamp, SoilRamp, ramp(60, 60, 20, 230, 230, 120)};
    case Texture::Dirt:
        return {SoilRamp, ramp(40, 40, 30, 150, 140, 110), StoneRamp};
    case Texture::Road:
    case Texture::RoadDashed:
    case Texture::RoadDoubleLine:
    case Texture::ZebraCrossing:
    case Texture::Parking:
        return {AsphaltRamp, YellowPaint, WhitePaint};
    case Texture::Water:
    case Texture::WaterShore:
        return {WaterRamp, SandRamp, FoamRamp};
    case Texture::WoodPlanks:
    case Texture::WoodParquet:
        return {WoodRamp, ramp(30, 20, 10, 150, 110, 70), StoneRamp};
    case Texture::MetalPlates:
    case Texture::MetalTread:
    case Texture::RustyMetal:
        return {SteelRamp, RustRamp, ramp(40, 40, 45, 245, 245, 250)};
    case Texture::RedBricks:
        return {ramp(60, 15, 10, 215, 95, 60), MortarRamp, StoneRamp};
    case Texture::YellowBricks:
        return {ramp(90, 70, 20, 240, 210, 125), ramp(60, 55, 50, 185, 180, 170), StoneRamp};
    case Texture::StoneBlocks:
        return {ramp(40, 40, 55, 165, 160, 182), ramp(25, 25, 30, 105, 105, 115), StoneRamp};
    case Texture::Cobbles:
        return {ramp(45, 45, 50, 185, 180, 175), ramp(20, 20, 20, 90, 85, 80), StoneRamp};
    case Texture::RoofTiles:
        return {ramp(60, 20, 10, 225, 115, 70), ramp(30, 10, 5, 120, 60, 40), StoneRamp};
    case Texture::LiveGrate:
        return {ramp(10, 30, 80, 205, 245, 255), ramp(15, 15, 20, 125, 130, 140), DarkRamp};
    case Texture::ElectricPlatform:
        return {SteelRamp, ramp(100, 80, 0, 255, 225, 40), DarkRamp};
    case Texture::CorrugatedWall:
        return {ramp(35, 45, 55, 175, 190, 205), RustRamp, StoneRamp};
    case Texture::EarthWall:
        return {ramp(45, 30, 18, 175, 130, 85), SoilRamp, StoneRamp};
    case Texture::Sand:
        return {SandRamp, SoilRamp, StoneRamp};
    case Texture::CheckerFloor:
        return {ramp(120, 120, 120, 250, 250, 245), ramp(10, 10, 30, 75, 75, 115),
                ramp(60, 60, 60, 165, 165, 165)};
    case Texture::Hedge:
        return {ramp(5, 30, 5, 95, 175, 60), SoilRamp, StoneRamp};
    case Texture::RailTrack:
        return {ramp(50, 50, 55, 235, 235, 240), ramp(40, 25, 15, 145, 105, 65),
                ramp(50, 45, 40, 175, 165, 155)};
    case Texture::GravelRoof:
        return {ramp(50, 50, 50, 185, 182, 175), SteelRamp, StoneRamp};
    case Texture::Facade:
        return {ramp(80, 50, 40, 225, 185, 155), ramp(10, 25, 50, 165, 215, 245),
                ramp(40, 40, 40, 245, 245, 245)};
    case Texture::Kerb:
        return {PavingRamp, AsphaltRamp, StoneRamp};
    }
    return {PavingRamp, PavingRamp, PavingRamp};
}

int textureSurfaces(Texture kind) {
    switch (kind) {
    case Texture::Grass:
    case Texture::GrassFlowers:
    case Texture::Dirt:
    case Texture::Sand:
        return 1 << 0;
    case Texture::Hedge:
        return 1 << 0 | 1 << 8; // grass underfoot, a dirt wall to a car
    case Texture::ZebraCrossing:
    case Texture::Parking:
        return 1 << 1;
    case Texture::Water:
    case Texture::WaterShore:
        return 1 << 2;
    case Texture::LiveGrate:
        return 1 << 3;
    case Texture::ElectricPlatform:
        return 1 << 4;
    case Texture::WoodPlanks:
    case Texture::WoodParquet:
        return 1 << 5;
    case Texture::MetalPlates:
    case Texture::MetalTread:
    case Texture::RustyMetal:
        return 1 << 6;
    case Texture::CorrugatedWall:
        return 1 << 7;
    case Texture::EarthWall:
        return 1 << 8;
    default:
        return 0;
    }
}
