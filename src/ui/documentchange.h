#pragma once

#include "graphics/changeditems.h"
#include "history/documentpart.h"

class QObject;

// What a change to the document touched, so that each view redraws only what concerns it.
struct DocumentChange {
    DocumentParts parts;
    // The view that made the change and has shown it already; null for the window's commands.
    const QObject *source = nullptr;
    // The user typed into a free text, which changes outside the undo steps.
    bool typed = false;
    // Which tiles, sprites and physical palettes look different now.
    ItemChanges items;

    bool tiles() const { return parts.has(DocumentPart::TileStore); }
    bool sprites() const {
        return parts.has(DocumentPart::SpriteIndex) || parts.has(DocumentPart::SpriteStore) ||
               parts.has(DocumentPart::SpriteBases);
    }
    bool palettes() const {
        return parts.has(DocumentPart::Palettes) || parts.has(DocumentPart::PaletteIndex) ||
               parts.has(DocumentPart::PaletteCounts);
    }
    bool cars() const { return parts.has(DocumentPart::Cars); }
    bool surfaces() const {
        return parts.has(DocumentPart::SurfaceLists) || parts.has(DocumentPart::SurfaceColumns);
    }
    bool deltas() const { return parts.has(DocumentPart::Deltas); }
    bool script() const { return parts.has(DocumentPart::CarScript); }
};
