#pragma once

#include "graphics/deltasheet.h"
#include "style/styledocument.h"

#include <QImage>
#include <QString>
#include <optional>

class Log;
class PictureSource;
class Prompts;

// "D_" + the sprite's file name: the name its delta sheet is offered under.
QString DeltaFileName(const StyleDocument &doc, int sprite);

// "Export deltas": the save dialog preset with the sprite's delta file name; writes the sheet in
// `view` as an 8-bit ".bmp" (or, chosen so, ".png") file. The editor always exports "Draw deltas", the one
// view that reads back through "Import deltas" as the same drawing; other views are pictures to look at.
// Returns the name written, empty when cancelled.
QString exportDeltaSheet(const StyleDocument &doc, int sprite, Prompts &prompts,
                         DeltaView view = DeltaView::Draw);

// "Import deltas": the picture is checked (8 bit, the sheet's width, the sheet's height, in that
// order, each with its message) and its twenty cells become the sprite's deltas 0 to 19 in place of
// the old ones; deltas from 20 on, which the sheet does not show, are kept, and `log` says so. Only
// car sprites have deltas. Returns the sheet to show afterwards ("View changes only"), nothing when
// refused; the document is unchanged then.
std::optional<QImage> importDeltas(StyleDocument &doc, int sprite, const PictureSource &picture,
                                   Prompts &prompts, Log &log);
// The button: refuses a sprite that is no car sprite, then asks for the file (preset with the delta
// file name) and imports it; nothing when cancelled.
std::optional<QImage> importDeltas(StyleDocument &doc, int sprite, Prompts &prompts, Log &log);
