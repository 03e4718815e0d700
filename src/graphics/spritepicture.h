#pragma once

#include "graphics/spriteentries.h"
#include "style/styledocument.h"

#include <QImage>
#include <QString>

// The sprite's entry, checked: it exists, has pixels and lies inside the sprite pages. Throws
// EditorError naming the sprite otherwise.
const SpriteEntry &checkedSprite(const StyleDocument &doc, int sprite);

// The sprite's picture (spriteGlyph) for a checked sprite.
QImage spritePicture(const StyleDocument &doc, int sprite);
