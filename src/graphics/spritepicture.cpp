#include "spritepicture.h"

#include "editorerror.h"
#include "palettelookup.h"

#include <array>

QString SpriteKind(const StyleDocument &doc, int sprite) {
    static const std::array<QString, SpriteKindCount> names = {
        QStringLiteral("CAR"),        QStringLiteral("PED"),         QStringLiteral("CODE OBJECT"),
        QStringLiteral("MAP OBJECT"), QStringLiteral("USER OBJECT"), QStringLiteral("FONT")};
    int end = 0;
    for (int kind = 0; kind + 1 < SpriteKindCount; ++kind) {
        end += doc.SpriteBases[static_cast<std::size_t>(kind)];
        if (sprite < end)
            return names[static_cast<std::size_t>(kind)];
    }
    return names[SprFont];
}

QString SpriteFileName(const StyleDocument &doc, int sprite) {
    return QStringLiteral("VYR2_%1_%2.bmp").arg(SpriteKind(doc, sprite)).arg(sprite);
}

bool isCarSprite(const StyleDocument &doc, int sprite) {
    return inRange(0, doc.SpriteBases[SprCar], sprite);
}

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
    const SpriteEntry &entry = checkedSprite(doc, sprite);
    QImage picture = doc.SpriteStore.copy(entry.x(), entry.page() * PageSide + entry.y(), entry.w, entry.h);
    const int palette = physicalPaletteOf(doc, spriteVirtualPalette(doc, sprite)).value_or(-1);
    changepalette(picture, ClutToPal(doc, palette));
    return picture;
}
