#pragma once

#include "style/styledocument.h"

#include <QImage>
#include <optional>

class Prompts;

// Ped remap numbers the viewer's field accepts.
inline constexpr int PedRemapLowest = 0;
inline constexpr int PedRemapHighest = 10000;

// The physical palette ped remap `remap` stands for; nothing when its virtual palette lies beyond
// the palette list or the palette it names lies outside the store.
std::optional<int> pedRemapPalette(const StyleDocument &doc, int remap);

// Gives `picture` (8-bit) the colours of ped remap `remap` without touching its indexes. When the
// remap has no palette (see pedRemapPalette) nothing changes and the result is false.
bool recolourPed(const StyleDocument &doc, QImage &picture, int remap);

// The remap number changed: recolours `picture`, or tells the user why not and keeps its colours.
bool pedRemapChanged(const StyleDocument &doc, QImage &picture, int remap, Prompts &prompts);

// "open bmp": an 8-bit bitmap or palette PNG the user picks replaces `picture`, with the colours of the file.
// Any other file is refused and `picture` stays.
bool pedOpenBmp(QImage &picture, Prompts &prompts);

// "save bmp": `picture` with its current colours as an 8-bit bitmap, or a PNG when the
// chosen name ends in ".png"; any other extension becomes ".bmp". Throws EditorError when the file cannot be
// written.
bool pedSaveBmp(const QImage &picture, Prompts &prompts);
