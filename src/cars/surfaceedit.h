#pragma once

#include "style/styledocument.h"

#include <array>

class Prompts;

// The surface dialog's rules for one tile, on the nine surface columns.

using TileSurfaces = std::array<bool, SurfaceListCount>;

// Which lists hold a line equal to the tile's decimal text.
TileSurfaces surfacesOfTile(const StyleDocument &doc, int tile);

// False, after telling the user, for tile 0: a 0 ends a surface list.
bool tileSurfacesEditable(int tile, Prompts &prompts);

// The dialog's result: an unchecked list loses its first line of the tile, a checked list that
// lacks it gets it appended; every other line, duplicates included, stays. Refuses tile 0 as
// tileSurfacesEditable does. True when a column changed.
bool setTileSurfaces(StyleDocument &doc, int tile, const TileSurfaces &checked, Prompts &prompts);
