#pragma once

#include "palette/colourramps.h"

#include <QRgb>

// Colour recipes of the sample palettes, written with writeRampPalette.

// The same materials slightly shifted in tint, different for every variant below 343; variant 0
// is the recipe itself.
PaletteRecipe tintedRecipe(const PaletteRecipe &recipe, int variant);

// Body in `body`, tinted glass, grey trim and tyres.
PaletteRecipe carRecipe(QRgb body);

// Colour `i` of a sequence that walks the colour wheel in golden-ratio steps, so neighbours differ.
QRgb wheelColour(int i);
