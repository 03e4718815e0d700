#pragma once

#include "styledocument.h"

#include <vector>

// For every physical palette below PhysicalPaletteCount: whether some virtual palette uses it.
std::vector<bool> usedPhysicalPalettes(const StyleDocument &doc);
