#pragma once

#include "style/styledocument.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

// One delta of a car sprite as a layer over the sprite: which pixels it changes, and to what.
struct DeltaLayer {
    QImage values;  // 8-bit, the sprite's size; meaningful where `changes` is set
    QImage changes; // 8-bit grey, 1 where the delta writes a pixel, 0 elsewhere
};

// A delta number of a sprite, for the messages and step names that name both.
struct SpriteDelta {
    int sprite = 0;
    int delta = 0;
};

// The deltas of `sprite` as layers, in the order the game draws them. Runs past the sprite's
// rectangle are left out, as when they are drawn. Throws EditorError for a sprite without a picture.
std::vector<DeltaLayer> readDeltaLayers(const StyleDocument &doc, int sprite);

// The sprite's picture (its palette included) with the layers whose `visible` entry is set drawn
// over it in order, a later layer over an earlier one.
QImage composeDeltaLayers(const QImage &sprite, const std::vector<DeltaLayer> &layers,
                          const std::vector<bool> &visible);

// The delta bytes that draw exactly the layer's changes. Throws EditorError naming the delta when
// they need more runs or bytes than a delta can hold.
QByteArray encodeDeltaLayer(const DeltaLayer &layer, SpriteDelta which);

// A stroke on delta `which`: the pixels `marks` (PixelMark values) shows drawn become the delta's
// changes with their value in `picture`, those it shows erased stop being changes. The delta alone
// is encoded again; every other delta keeps its bytes. Nothing changes when the encoding is
// refused (EditorError naming the delta). False when the delta's bytes stay the same.
bool storeDeltaStroke(StyleDocument &doc, SpriteDelta which, const QImage &picture, const QImage &marks);

// "add delta": an empty delta after the last. Refused (EditorError) for a sprite that has the
// most deltas a sprite can have, and for a sprite that is no car sprite. Returns the new delta's number.
int addDelta(StyleDocument &doc, int sprite);
// "remove delta": the later deltas move down by one.
void removeDelta(StyleDocument &doc, SpriteDelta which);

// "draw on delta 3 of sprite 12".
QString deltaStepName(SpriteDelta which);
