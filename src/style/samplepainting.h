#pragma once

#include <QImage>
#include <QtGlobal>
#include <algorithm>

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

// Smooth value noise in 0..1 with cells of `cell` pixels, repeating every 64 pixels so tiles join
// without seams.
inline float tileNoise(int x, int y, int cell, quint32 seed) {
    const int period = 64 / cell;
    const int cx = x / cell, cy = y / cell;
    float fx = static_cast<float>(x % cell) / static_cast<float>(cell);
    float fy = static_cast<float>(y % cell) / static_cast<float>(cell);
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    const int x0 = cx % period, x1 = (cx + 1) % period;
    const int y0 = cy % period, y1 = (cy + 1) % period;
    const float top =
        latticeValue(x0, y0, seed) + (latticeValue(x1, y0, seed) - latticeValue(x0, y0, seed)) * fx;
    const float bottom =
        latticeValue(x0, y1, seed) + (latticeValue(x1, y1, seed) - latticeValue(x0, y1, seed)) * fx;
    return top + (bottom - top) * fy;
}

// Three octaves of tileNoise, 0..1.
inline float tileFractal(int x, int y, quint32 seed) {
    return 0.5f * tileNoise(x, y, 16, seed) + 0.3f * tileNoise(x, y, 8, seed + 1) +
           0.2f * tileNoise(x, y, 4, seed + 2);
}

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
