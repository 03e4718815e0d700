#pragma once

// The folder the pack fuzzer edits: the sample cut down to one tile page, the first sprites and
// one palette page, so each run packs quickly and still has every kind of file.

#include "folderfiles.h"
#include "log.h"
#include "progress.h"
#include "prompts.h"
#include "samplestyle.h"
#include "stylereader.h"
#include "stylewriter.h"
#include "unpackstyle.h"

#include <algorithm>
#include <iterator>

inline FolderFiles packFuzzFolder() {
    StyleDocument doc = makeSampleStyle();
    doc.TileStore = doc.TileStore.copy(0, 0, PageSide, PageSide);
    doc.SpriteIndex.resize(std::min<std::size_t>(doc.SpriteIndex.size(), 12));
    doc.SpriteIndexSize = quint32(doc.SpriteIndex.count() * SpriteEntryBytes);
    doc.PhysicalPaletteCount = PalettesPerPage;
    StyleDocument saved, loaded;
    SilentProgress progress;
    LineLog log;
    DecliningPrompts prompts;
    const QByteArray file = serializeStyle(doc, saved, progress, log);
    readStyle(loaded, file, prompts, progress, log);
    return unpackStyle(loaded, file, std::nullopt);
}

// The files the fuzzer replaces, picked by its first control byte.
inline QString packFuzzTarget(const FolderFiles &folder, quint8 pick) {
    static const char *const prefixes[] = {
        "style.json",     "tiles/",           "sprites/sprite_", "palettes/palette_", "palettes/palettes.png",
        "deltas/sprite_", "sprites/pages.png"};
    const QString prefix = QString::fromLatin1(prefixes[pick % std::size(prefixes)]);
    for (const auto &[name, bytes] : folder)
        if (name.startsWith(prefix))
            return name;
    return QStringLiteral("style.json");
}
