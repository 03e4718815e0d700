#pragma once

#include "platform/bitmapfile.h"
#include "style/styledocument.h"

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
    // The graphic's indexes as it shows them now, when `colours` is the palette it shows: a
    // renumbered pixel of the colour it shows there keeps its index. Null when there are none.
    QImage shown = QImage();
};

// Colour 0 is the transparent one, so an imported pixel takes it only when no other entry will do.
// The entry a pixel of `colour` takes when its own index does not show it: the lowest entry other
// than 0 holding the colour, 0 only when entry 0 alone holds it; nothing when no entry does.
std::optional<int> entryHolding(const QList<QRgb> &colours, QRgb colour);
// For a colour no entry holds: the nearest among the entries other than 0 (squared distance, the
// lowest of equally near ones).
int nearestOpaqueEntry(const QList<QRgb> &colours, QRgb colour);

// Physical palette `palette` of the document as the target that shows `graphic`.
ColourTarget paletteTarget(const StyleDocument &doc, int palette, const QString &graphic);

// An import that keeps the palette a graphic shows copies indexes, but paint programs number a
// picture's colours in an order of their own. Where the file's colour table differs from
// `target` in an entry its pixels use, each pixel takes the index of its colour in the target:
// its own index where the target holds the colour there (0 only when no other entry does), else
// the index the graphic shows there when that shows the colour (`target.shown`), else
// entryHolding. Colours the target lacks are asked about: the nearest colours
// (nearestOpaqueEntry), the stored indexes, or cancel. Indexes past the file's colour table have
// no colour to match and are kept.
//
// A true-colour picture (no indexes) takes for each pixel the index the graphic shows there when
// that shows its colour, else the entry of its colour (entryHolding); a fully transparent pixel
// takes entry 0; there are no stored indexes to keep.
//
// Returns the bitmap's picture when every used entry matches, else the renumbered picture with
// the target's colours; nothing when the user cancelled. The log tells how many pixels of a
// colour that several entries hold were given which entry. `file` names the bitmap in messages.
std::optional<QImage> matchColours(const LoadedBitmap &bitmap, const QString &file,
                                   const ColourTarget &target, Prompts &prompts, Log &log);

// How an import changed which pixels are index 0 (transparent), for two 8-bit pictures of the same
// graphic: "12 pixels become transparent, 424 stop being transparent"; nothing when none changed.
// A paint program that moves another colour to entry 0 makes such a change unasked.
std::optional<QString> transparencyChange(const QImage &before, const QImage &after);
