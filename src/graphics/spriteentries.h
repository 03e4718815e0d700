#pragma once

#include "style/styledocument.h"

#include <QImage>
#include <QPoint>
#include <QStringList>
#include <optional>

// What the editor knows about one sprite entry: its kind and file name, where it lies in the
// page strip, its palette, its picture and the lines of the info panel. Sprite numbers are
// positions in the sprite index; every function takes an existing number.

inline const SpriteEntry &entryOf(const StyleDocument &doc, int sprite) {
    return doc.SpriteIndex[static_cast<std::size_t>(sprite)];
}

// "CAR", "PED", "CODE OBJECT", "MAP OBJECT", "USER OBJECT" or "FONT", from the per-kind counts.
QString SpriteKind(const StyleDocument &doc, int sprite);
// "VYR2_" + kind + "_" + number + ".bmp".
QString SpriteFileName(const StyleDocument &doc, int sprite);

bool isCarSprite(const StyleDocument &doc, int sprite);
// The car a car sprite belongs to: the first record whose sprite sum is one past the sprite (the
// walk stops at the first record with a zero sum); sprite 1 is car 1, and without a match the
// sprite's own number.
int carOfSprite(const StyleDocument &doc, int sprite);

// Whether the entry's pixels lie on its own page of the store: only such sprites are painted,
// hit by the mouse and imported into.
bool spriteOnItsPage(const StyleDocument &doc, const SpriteEntry &entry);
// The highest-numbered sprite on its page whose rectangle in the page strip contains the point.
std::optional<int> spriteAtPoint(const StyleDocument &doc, QPoint point);

// The sprite's physical palette; nothing when its virtual palette is beyond the palette index.
std::optional<int> spritePhysicalPalette(const StyleDocument &doc, int sprite);
// Its 256 colours (MissingPaletteColour throughout without a palette).
QList<QRgb> spriteColours(const StyleDocument &doc, int sprite);
// An 8-bit width x height copy of the sprite's pixel values with its palette; pixels outside the
// store read as 0.
QImage spriteGlyph(const StyleDocument &doc, int sprite);
// The info panel: kind, number, file name, page, x, y, width, height, virtual and physical palette.
QStringList spriteInfo(const StyleDocument &doc, int sprite);
