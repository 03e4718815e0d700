#pragma once

#include "graphics/indexedcanvas.h"
#include "palette/colourramps.h"

#include <QImage>
#include <QtGlobal>
#include <algorithm>
#include <array>

// Drawing helpers of the generated sample styles, which draw on a Canvas in the colour layout of
// colourramps.h. Everything is integer-seeded so two runs give the same bytes on every machine.

constexpr float TwoPi = 6.2831853f;

// The two ends of a colour ramp.
inline RampColours ramp(int r0, int g0, int b0, int r1, int g1, int b1) {
    return {qRgb(r0, g0, b0), qRgb(r1, g1, b1)};
}

// xorshift32 with a fixed seed; never seeded from the clock.
class SampleRng {
public:
    explicit SampleRng(quint32 seed) : state_(seed != 0 ? seed : 0x9e3779b9u) {}
    quint32 next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<quint32>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }

private:
    quint32 state_;
};

inline quint32 mixHash(quint32 x, quint32 y, quint32 seed) {
    quint32 h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    return h ^ (h >> 15);
}

// 0..1 for one lattice point.
inline float latticeValue(int x, int y, quint32 seed) {
    return static_cast<float>(mixHash(static_cast<quint32>(x), static_cast<quint32>(y), seed) >> 8) *
           (1.0f / 16777216.0f);
}

// Smooth value noise in 0..1 over one 64 × 64 tile, repeating at its edges so tiles join without
// seams. Computed once per tile: hashing lattice points per pixel is what made generation slow.
class NoiseField {
public:
    static constexpr int Side = 64;

    // Cells of `cell` pixels, a divisor of 64.
    NoiseField(int cell, quint32 seed);
    // Three octaves, cells of 16, 8 and 4 pixels.
    static NoiseField fractal(quint32 seed);

    float operator()(int x, int y) const {
        return values_[static_cast<std::size_t>((y & 63) * Side + (x & 63))];
    }

private:
    NoiseField() = default;
    std::array<float, Side * Side> values_{};
};

// Per-pixel grain, -0.5..0.5.
inline float grain(int x, int y, quint32 seed) {
    return latticeValue(x, y, seed ^ 0x5bd1e995u) - 0.5f;
}
