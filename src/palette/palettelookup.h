#pragma once

#include "style/styledocument.h"

#include <QImage>
#include <QList>
#include <QRgb>
#include <optional>

class Prompts;

// Colour values are 24-bit numbers with red in the low byte, green in the middle, blue on top.
constexpr quint32 colourValue(int red, int green, int blue) {
    return quint32(red & 0xff) | (quint32(green & 0xff) << 8) | (quint32(blue & 0xff) << 16);
}
constexpr int redOf(quint32 v) {
    return int(v & 0xff);
}
constexpr int greenOf(quint32 v) {
    return int((v >> 8) & 0xff);
}
constexpr int blueOf(quint32 v) {
    return int((v >> 16) & 0xff);
}
inline QRgb toRgb(quint32 v) {
    return qRgb(redOf(v), greenOf(v), blueOf(v));
}
inline quint32 fromRgb(QRgb c) {
    return colourValue(qRed(c), qGreen(c), qBlue(c));
}

// True when low <= value < high.
constexpr bool inRange(int low, int high, int value) {
    return low <= value && value < high;
}

// Physical palettes outside the store are never read or written; they show as this colour.
inline constexpr quint32 MissingPaletteColour = colourValue(0, 0, 0);
bool isStoredPalette(int palette);

// Colour `colour` of physical palette `palette`. With `swap` red and blue trade places, so the low
// byte is blue: the byte order of a 32-bit pixel row. A palette outside the store gives
// MissingPaletteColour.
quint32 directclutacces(const StyleDocument &doc, int palette, int colour, bool swap);

// Stores the colour's red, green and blue into the entry, leaving its fourth byte alone. Palettes
// outside the store are ignored. The palette table picture is drawn from the store where it is shown.
void writetoclut(StyleDocument &doc, int palette, int colour, quint32 value);

// The 256 colours of physical palette `palette` as a colour table.
QList<QRgb> ClutToPal(const StyleDocument &doc, int palette);

// Gives an 8-bit image the colour table and keeps every pixel's index.
void changepalette(QImage &image, const QList<QRgb> &palette);

// Copies every index of `source` into `target` at the offset; the parts that fall outside the
// target are left out. Both must be 8-bit, or the user is told and nothing is copied.
void rawpixelcopy(const QImage &source, QImage &target, int rowOffset, int columnOffset, Prompts &prompts);

// The palette table picture: one column per physical palette, one row per colour, 32-bit.
QImage makeClut1(const StyleDocument &doc);

// Virtual palette numbers of each kind of graphic.
int tileVirtualPalette(int tile);
int spriteVirtualPalette(const StyleDocument &doc, int sprite);
int carRemapVirtualPalette(const StyleDocument &doc, int remap);
int pedRemapVirtualPalette(const StyleDocument &doc, int remap);

// Why `palette` cannot be used: the file saves PhysicalPaletteCount palettes, so colours written
// past them would be lost and graphics pointed at them would have none. Empty when it can.
QString missingPaletteMessage(const StyleDocument &doc, int palette);

// The palette picker preset with `preset`: the picked physical palette, nothing on cancel. A picked
// text that is no number or no palette of the document is refused with a message, nothing is
// returned and `refused` is set.
std::optional<int> pickStoredPalette(const StyleDocument &doc, const QString &preset, Prompts &prompts,
                                     bool *refused = nullptr);

// The physical palette of a virtual palette; nothing for one beyond the palette index.
std::optional<int> physicalPaletteOf(const StyleDocument &doc, int virtualPalette);
