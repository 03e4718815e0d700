#pragma once

#include <QImage>
#include <QtGlobal>
#include <algorithm>
#include <array>

// Drawing helpers of the generated sample styles. Everything is integer-seeded so two runs give
// the same bytes on every machine.

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

// Colour layout shared by every sample palette: 0 is black (transparent in sprites), then three
// ramps from dark to light and sixteen fixed accent colours, so one picture can use three
// materials and a few signal colours.
struct Ramp {
    int first;
    int steps;
};
inline constexpr Ramp RampA{1, 79};
inline constexpr Ramp RampB{80, 80};
inline constexpr Ramp RampC{160, 80};
inline constexpr int FirstAccent = 240;

enum Accent {
    AccWhite,
    AccYellow,
    AccOrange,
    AccRed,
    AccDarkRed,
    AccGreen,
    AccBlue,
    AccCyan,
    AccMagenta,
    AccBrown,
    AccLightGrey,
    AccDarkGrey,
    AccPink,
    AccLime,
    AccNavy,
    AccGold
};

inline uchar shade(Ramp ramp, float level) {
    const float t = std::clamp(level, 0.0f, 1.0f);
    return static_cast<uchar>(ramp.first + static_cast<int>(t * static_cast<float>(ramp.steps - 1) + 0.5f));
}
inline uchar accent(Accent a) {
    return static_cast<uchar>(FirstAccent + a);
}

// A rectangle of an 8-bit image, drawn through its row pointers; writes outside it are dropped.
class Canvas {
public:
    Canvas(QImage &image, int x, int y, int w, int h)
        : bits_(image.bits() + static_cast<qsizetype>(y) * image.bytesPerLine() + x),
          stride_(image.bytesPerLine()), w_(w), h_(h) {}
    explicit Canvas(QImage &image) : Canvas(image, 0, 0, image.width(), image.height()) {}

    int width() const { return w_; }
    int height() const { return h_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    uchar at(int x, int y) const { return contains(x, y) ? bits_[y * stride_ + x] : 0; }
    void set(int x, int y, uchar v) {
        if (contains(x, y))
            bits_[y * stride_ + x] = v;
    }
    uchar *row(int y) { return bits_ + static_cast<qsizetype>(y) * stride_; }
    void fillRect(int x, int y, int w, int h, uchar v) {
        for (int yy = std::max(y, 0); yy < std::min(y + h, h_); ++yy)
            for (int xx = std::max(x, 0); xx < std::min(x + w, w_); ++xx)
                bits_[yy * stride_ + xx] = v;
    }

private:
    uchar *bits_;
    qsizetype stride_;
    int w_;
    int h_;
};
