#pragma once

#include <QByteArray>
#include <QRgb>

// Colour recipes of the sample palettes: each ramp of the shared layout (samplepainting.h) runs
// from `dark` to `light`.
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
void writeSamplePalette(QByteArray &store, int palette, const PaletteRecipe &recipe);

// The same materials slightly shifted in tint, different for every variant below 343; variant 0
// is the recipe itself.
PaletteRecipe tintedRecipe(const PaletteRecipe &recipe, int variant);

// A ramp around one colour: from its deep shadow to its highlight.
RampColours rampAround(QRgb colour);

// Body in `body`, tinted glass, grey trim and tyres.
PaletteRecipe carRecipe(QRgb body);
// Clothes, skin, hair.
PaletteRecipe pedRecipe(QRgb clothes, QRgb skin, QRgb hair);

// Colour `i` of a sequence that walks the colour wheel in golden-ratio steps, so neighbours differ.
QRgb wheelColour(int i);
