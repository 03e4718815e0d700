#pragma once

#include "styledocument.h"

#include <QImage>
#include <QString>

// The kind of sprite `sprite` by the sprite counts per kind: "CAR", "PED", "CODE OBJECT",
// "MAP OBJECT", "USER OBJECT" or "FONT".
QString SpriteKind(const StyleDocument &doc, int sprite);
// "VYR2_" + kind + "_" + number + ".bmp", the name its bitmap is offered under.
QString SpriteFileName(const StyleDocument &doc, int sprite);
bool isCarSprite(const StyleDocument &doc, int sprite);

// The sprite's entry, checked: it exists, has pixels and lies inside the sprite pages. Throws
// EditorError naming the sprite otherwise.
const SpriteEntry &checkedSprite(const StyleDocument &doc, int sprite);

// An 8-bit copy of the sprite's pixels with the 256 colours of its physical palette; a sprite
// without a palette index entry gets MissingPaletteColour throughout.
QImage spritePicture(const StyleDocument &doc, int sprite);
