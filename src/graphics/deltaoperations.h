#pragma once

#include "styledocument.h"

#include <QImage>
#include <QString>
#include <optional>

class Prompts;

// "D_" + the sprite's file name: the name its delta sheet is offered under.
QString DeltaFileName(const StyleDocument &doc, int sprite);

// "Export deltas": the save dialog preset with the sprite's delta file name; writes `sheet` (the
// sheet as shown) as an 8-bit ".bmp" file. Returns the name written, empty when cancelled.
QString exportDeltaSheet(const StyleDocument &doc, int sprite, const QImage &sheet, Prompts &prompts);

// "Import deltas": the open dialog preset with the delta file name, then the bitmap is checked
// (8 bit, the sheet's width, the sheet's height, in that order, each with its message) and its
// twenty cells become the sprite's deltas in place of the old ones. Only car sprites have deltas.
// Returns the sheet to show afterwards ("View changes only"), nothing when cancelled or refused;
// the document is unchanged then.
std::optional<QImage> importDeltas(StyleDocument &doc, int sprite, Prompts &prompts);
