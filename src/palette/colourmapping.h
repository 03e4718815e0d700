#pragma once

#include "bitmapfile.h"
#include "styledocument.h"

#include <QList>
#include <QRgb>
#include <QString>
#include <optional>

class Log;
class Prompts;

// The palette that will show an imported bitmap's pixels, and how the messages name it and the
// graphic ("palette 40", "tile 5").
struct ColourTarget {
    QList<QRgb> colours;
    QString palette;
    QString graphic;
};

// Physical palette `palette` of the document as the target that shows `graphic`.
ColourTarget paletteTarget(const StyleDocument &doc, int palette, const QString &graphic);

// An import that keeps the palette a graphic shows copies indexes, but paint programs number a
// picture's colours in an order of their own. Where the file's colour table differs from
// `target` in an entry its pixels use, each pixel takes the index of its colour in the target:
// its own index where the target holds the colour there, else the lowest index other than 0
// holding it (colour 0 is the transparent one), else 0. Colours the target lacks are asked
// about: the nearest colours (squared distance, ties by the same rule), the stored indexes, or
// cancel. Indexes past the file's colour table have no colour to match and are kept.
//
// Returns the bitmap's picture when every used entry matches, else the renumbered picture with
// the target's colours; nothing when the user cancelled. The log tells how many pixels of a
// colour that several entries hold were given which entry. `file` names the bitmap in messages.
std::optional<QImage> matchColours(const LoadedBitmap &bitmap, const QString &file,
                                   const ColourTarget &target, Prompts &prompts, Log &log);
