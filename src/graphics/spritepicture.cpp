#include "graphics/spritepicture.h"

#include "palette/palettelookup.h"
#include "platform/editorerror.h"

const SpriteEntry &checkedSprite(const StyleDocument &doc, int sprite) {
    if (!inRange(0, doc.spriteCount(), sprite))
        throw EditorError(QStringLiteral("There is no sprite %1; the sprites are numbered 0 to %2.")
                              .arg(sprite)
                              .arg(doc.spriteCount() - 1));
    const SpriteEntry &entry = doc.SpriteIndex[static_cast<std::size_t>(sprite)];
    if (entry.w == 0 || entry.h == 0)
        throw EditorError(QStringLiteral("Sprite %1 has no pixels: it is %2*%3 pixels.")
                              .arg(sprite)
                              .arg(entry.w)
                              .arg(entry.h));
    if (entry.x() + entry.w > PageSide || entry.y() + entry.h > PageSide ||
        entry.page() >= doc.spritePageCount())
        throw EditorError(
            QStringLiteral("Sprite %1 reaches past the sprite pages, so it has no picture.").arg(sprite));
    return entry;
}

QImage spritePicture(const StyleDocument &doc, int sprite) {
    checkedSprite(doc, sprite);
    return spriteGlyph(doc, sprite);
}
