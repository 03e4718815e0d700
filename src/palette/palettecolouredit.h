#pragma once

#include "style/styledocument.h"

#include <QString>

class Prompts;

inline const QString EditColourCaption = QStringLiteral("edit colour");

// "edit colour": asks for colour `colour` of physical palette `palette` as "red,green,blue" (each 0
// to 255, preset with the colour it has) and writes it into the palette and the palette table
// picture; the fourth byte stays. A text that is no such colour is refused with a message. Returns
// whether the colour changed.
bool editPaletteColour(StyleDocument &doc, int palette, int colour, Prompts &prompts);
