#pragma once

#include "style/styledocument.h"

#include <QImage>
#include <QString>
#include <optional>
#include <vector>

class Prompts;

inline constexpr int PaletteStep = 64;
inline constexpr int MinimumPhysicalPalettes = 64;
inline constexpr int MaximumPhysicalPalettes = 640;

// The kind of virtual palette `row` (0 "tile" to 7 "font_remap"), or nothing for a row outside
// every kind's range. Ranges run from a kind's base up to the next base; the last up to the end.
std::optional<int> paletteKindOf(const StyleDocument &doc, int row);
// The label of a kind in the palette list, " (Tile)" ... " (font)", and its text colour.
QString paletteKindLabel(int kind);
QRgb paletteKindColour(int kind);
// The text of one row of the palette list: "5 - 17 (Tile)"; empty for a row outside every kind.
QString palindexRowText(const StyleDocument &doc, int row);

// "remap palindexes": points every selected virtual palette to the physical palette picked by the
// user. Nothing happens without a current row. Returns whether the document changed.
bool remapPalindexes(StyleDocument &doc, const std::vector<int> &selectedRows, bool hasCurrentRow,
                     Prompts &prompts);
// "View unused palettes": colour 0 of every physical palette some virtual palette uses turns magenta.
void viewUnusedPalettes(StyleDocument &doc);
// "transparency black": colour 0 of every physical palette turns black.
void transparencyBlack(StyleDocument &doc);
// ">>" and "<<": up to the next or down to the previous multiple of 64 physical palettes (within
// 64 to 640), after the limit checks and a question. Palettes added or removed are cleared to black.
// Returns whether the document changed.
bool addPalettes(StyleDocument &doc, Prompts &prompts);
bool removePalettes(StyleDocument &doc, Prompts &prompts);
