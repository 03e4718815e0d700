#pragma once

#include "style/styledocument.h"

#include <vector>

class Prompts;

// For every physical palette below PhysicalPaletteCount: whether some virtual palette uses it.
std::vector<bool> usedPhysicalPalettes(const StyleDocument &doc);

// Before the physical palette count becomes `count`: when virtual palettes would point past it, asks
// once more, naming how many tiles and sprites would then show black. True to go on.
bool confirmPaletteCount(const StyleDocument &doc, int count, Prompts &prompts);
