#include "cars/pedremap.h"

#include "graphics/bitmapchecks.h"
#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/indexedpicture.h"
#include "platform/prompts.h"

namespace {

// The palette of a ped remap, or the reason it has none.
struct RemapLookup {
    std::optional<int> palette;
    QString refusal;
};

RemapLookup lookUp(const StyleDocument &doc, int remap) {
    if (!inRange(PedRemapLowest, PedRemapHighest + 1, remap))
        return {std::nullopt, QStringLiteral("The ped remap number must lie between %1 and %2.")
                                  .arg(PedRemapLowest)
                                  .arg(PedRemapHighest)};
    const int virtualPalette = pedRemapVirtualPalette(doc, remap);
    const std::optional<int> palette = physicalPaletteOf(doc, virtualPalette);
    if (!palette)
        return {std::nullopt, QStringLiteral("List index out of bounds (%1): ped remap %2 needs virtual "
                                             "palette %1, but the palette list holds %3 palettes.")
                                  .arg(virtualPalette)
                                  .arg(remap)
                                  .arg(doc.PaletteIndexCount())};
    if (const QString missing = missingPaletteMessage(doc, *palette); !missing.isEmpty())
        return {std::nullopt, QStringLiteral("Ped remap %1: %2").arg(remap).arg(missing)};
    return {palette, QString()};
}

} // namespace

std::optional<int> pedRemapPalette(const StyleDocument &doc, int remap) {
    return lookUp(doc, remap).palette;
}

bool recolourPed(const StyleDocument &doc, QImage &picture, int remap) {
    const std::optional<int> palette = pedRemapPalette(doc, remap);
    if (!palette)
        return false;
    changepalette(picture, ClutToPal(doc, *palette));
    return true;
}

bool pedRemapChanged(const StyleDocument &doc, QImage &picture, int remap, Prompts &prompts) {
    const RemapLookup lookup = lookUp(doc, remap);
    if (!lookup.palette) {
        prompts.message(lookup.refusal);
        return false;
    }
    changepalette(picture, ClutToPal(doc, *lookup.palette));
    return true;
}

bool pedOpenBmp(QImage &picture, Prompts &prompts) {
    const std::optional<QString> path =
        prompts.openFileName(FileKind::Sprite, IndexedPictureFilter, QString());
    if (!path)
        return false;
    LoadedBitmap bitmap;
    try {
        bitmap = loadPicture(*path);
    } catch (const EditorError &error) {
        prompts.message(error.text());
        return false;
    }
    // Remaps recolour palette indexes, so only a picture made of them can be viewed.
    if (bitmap.pixelFormatCode != Pf8Bit) {
        prompts.message(QStringLiteral("error: bitmap must be 8 bit.\ryour bitmap pixel format is: %1")
                            .arg(bitmap.pixelFormatCode) +
                        (isTrueColour(bitmap) ? QLatin1Char('\r') + TrueColourAdvice : QString()));
        return false;
    }
    picture = bitmap.image;
    return true;
}

bool pedSaveBmp(const QImage &picture, Prompts &prompts) {
    const std::optional<QString> path =
        prompts.saveFileName(FileKind::Sprite, IndexedPictureFilter, QString());
    if (!path)
        return false;
    savePicture8(picturePath(*path), picture);
    return true;
}
