#pragma once

#include "style/styledocument.h"

#include <QImage>

// The palette table picture with every red, green and blue shifted by the offsets and held
// within 0..255. Always computed from the unadjusted picture, so offsets never add up.
QImage adjustColours(const QImage &clut1, int dRed, int dGreen, int dBlue);

// Takes the colours of `clut2` as the new colours of every physical palette of the document,
// writing them into the store.
void applyAdjustedColours(StyleDocument &doc, const QImage &clut2);
