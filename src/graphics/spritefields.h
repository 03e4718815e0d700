#pragma once

#include "style/styledocument.h"

#include <QPoint>
#include <QString>
#include <array>
#include <optional>

// The five number fields beside the selected sprite and the right-button drag: both re-aim the
// sprite's entry at other pixels of the store and never move pixels.

enum class SpriteField { X, Y, Page, Width, Height };
inline constexpr int SpriteFieldCount = 5;
using SpriteFieldTexts = std::array<QString, SpriteFieldCount>;

// The fields' texts for the entry as it is stored.
SpriteFieldTexts spriteFieldTexts(const SpriteEntry &entry);

// The first correction the fields need, checking x, y and page against their upper limits, then
// width and height against 128, then x, y and page against 0, then width and height against 2:
// the field and its replacement text (x and y above 255 become 251, page 255). Nothing when every
// field is in range or when a field that is no number is reached first.
std::optional<std::pair<SpriteField, QString>> spriteFieldCorrection(const SpriteFieldTexts &texts);

// Writes x, y and page into bytes 0, 1 and 2 of the entry's pointer (byte 3 kept), then width and
// height, in that order, stopping silently at the first field that is no number or out of range.
// Returns whether all five were written.
bool applySpriteFields(StyleDocument &doc, int sprite, const SpriteFieldTexts &texts);

// The end of a drag that left the sprite's rectangle at `topLeft` in the page strip: page
// `left div 256`, x `left mod 256` and y `top`, each kept to its byte, so a position above or
// below the pages wraps around modulo 256.
void dropSprite(StyleDocument &doc, int sprite, QPoint topLeft);

// The mouse readout over the page strip: position within the page, and the page.
QString spritePointerReadout(QPoint point);
