#include "sample/samplepainting.h"

NoiseField::NoiseField(int cell, quint32 seed) {
    const int period = Side / cell;
    std::array<float, Side> weight{};
    for (int i = 0; i < cell; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(cell);
        weight[static_cast<std::size_t>(i)] = t * t * (3 - 2 * t);
    }
    const float *weights = weight.data();
    for (int cy = 0; cy < period; ++cy)
        for (int cx = 0; cx < period; ++cx) {
            const int nx = (cx + 1) % period, ny = (cy + 1) % period;
            const float v00 = latticeValue(cx, cy, seed), v10 = latticeValue(nx, cy, seed);
            const float v01 = latticeValue(cx, ny, seed), v11 = latticeValue(nx, ny, seed);
            for (int j = 0; j < cell; ++j) {
                const float fy = weights[j];
                float *row = values_.data() + (cy * cell + j) * Side + cx * cell;
                for (int i = 0; i < cell; ++i) {
                    const float fx = weights[i];
                    const float top = v00 + (v10 - v00) * fx, bottom = v01 + (v11 - v01) * fx;
                    row[i] = top + (bottom - top) * fy;
                }
            }
        }
}

NoiseField NoiseField::fractal(quint32 seed) {
    const NoiseField coarse(16, seed), middle(8, seed + 1), fine(4, seed + 2);
    NoiseField sum;
    const float *a = coarse.values_.data(), *b = middle.values_.data(), *c = fine.values_.data();
    float *out = sum.values_.data();
    for (int i = 0; i < Side * Side; ++i)
        out[i] = 0.5f * a[i] + 0.3f * b[i] + 0.2f * c[i];
    return sum;
}
