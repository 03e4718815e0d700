#pragma once

#include <QByteArray>
#include <QRgb>
#include <QtGlobal>
#include <algorithm>

// A palette laid out for drawing: 0 is black (transparent in sprites), then three ramps from dark
// to light and sixteen fixed accent colours, so one picture can use three materials and a few
// signal colours. The generated sample styles and the built-in ped picture are drawn this way.
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

// The colours of one palette in this layout: each ramp runs from `dark` to `light`.
struct RampColours {
    QRgb dark;
    QRgb light;
};

struct PaletteRecipe {
    RampColours a;
    RampColours b;
    RampColours c;
};

// Writes colours 0 to 255 of physical palette `palette` into a store in "PPAL" layout.
void writeRampPalette(QByteArray &store, int palette, const PaletteRecipe &recipe);

// A ramp around one colour: from its deep shadow to its highlight.
RampColours rampAround(QRgb colour);

// Clothes, skin, hair.
PaletteRecipe pedRecipe(QRgb clothes, QRgb skin, QRgb hair);
