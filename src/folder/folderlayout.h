#pragma once

#include "style/filerecords.h"

#include <QString>
#include <array>

// Names of the files of an unpacked style folder, relative to the folder.
inline const QString StyleJsonName = QStringLiteral("style.json");
// The JSON Schema of style.json, which style.json names so that an editor checks values as typed.
inline const QString StyleSchemaName = QStringLiteral("style.schema.json");
// How git is to treat the folder's files: pictures and bytes as binary, text with its line ends.
inline const QString GitAttributesName = QStringLiteral(".gitattributes");
inline const QString CarsTextName = QStringLiteral("cars.txt");
inline const QString PaletteTableName = QStringLiteral("palettes/palettes.png");
// The whole sprite store over the grey ramp: the pixels no sprite entry covers live only here.
inline const QString SpritePagesName = QStringLiteral("sprites/pages.png");
// Tile store rows past the last whole page, when the store ends inside a page.
inline const QString TileRestName = QStringLiteral("tiles/rest.png");
// The bytes of the palette slots past the count that the last palette page of the file holds.
inline const QString PalettesBeyondName = QStringLiteral("palettes/beyond.bin");
// The delta store as stored, with the bytes no delta index entry reaches.
inline const QString DeltaStoreName = QStringLiteral("deltas/store.bin");

inline QString numbered(const char *pattern, int number, int digits) {
    return QString::fromLatin1(pattern).arg(number, digits, 10, QLatin1Char('0'));
}
inline QString tilePngName(int tile) {
    return numbered("tiles/tile_%1.png", tile, 4);
}
inline QString spritePngName(int sprite) {
    return numbered("sprites/sprite_%1.png", sprite, 4);
}
inline QString palettePalName(int palette) {
    return numbered("palettes/palette_%1.pal", palette, 3);
}
inline QString deltaSheetName(int sprite) {
    return numbered("deltas/sprite_%1.png", sprite, 4);
}
inline QString deltaBytesName(int sprite) {
    return numbered("deltas/sprite_%1.bin", sprite, 4);
}

// Kind names as the "PALB" and "SPRB" fields are called.
inline const std::array<QString, PaletteKindCount> PaletteKindNames = {
    QStringLiteral("tile"),       QStringLiteral("sprite"),         QStringLiteral("car_remap"),
    QStringLiteral("ped_remap"),  QStringLiteral("code_obj_remap"), QStringLiteral("map_obj_remap"),
    QStringLiteral("user_remap"), QStringLiteral("font_remap")};
inline const std::array<QString, SpriteKindCount> SpriteKindNames = {
    QStringLiteral("car"),     QStringLiteral("ped"),  QStringLiteral("code_obj"),
    QStringLiteral("map_obj"), QStringLiteral("user"), QStringLiteral("font")};
