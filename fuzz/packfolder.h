#pragma once

// The folder the pack fuzzer edits: the sample cut down to one tile page, the first sprites and
// one palette page, so each run packs quickly and still has every kind of file.

#include "folder/folderfiles.h"
#include "folder/unpackstyle.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "sample/samplestyle.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"

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

// The files the fuzzer replaces, each the first whose name starts and ends as given; the delta
// folder holds both sheets and bytes, so the ending picks between them.
struct PackFuzzFile {
    const char *start;
    const char *end;
};
inline constexpr PackFuzzFile PackFuzzFiles[] = {
    {"style.json", ""},
    {"tiles/", ".png"},
    {"sprites/sprite_", ".png"},
    {"palettes/palette_", ""},
    {"palettes/palettes.png", ""},
    {"deltas/sprite_", ".png"},
    {"sprites/pages.png", ""},
    {"deltas/sprite_", ".bin"},
};

// The file picked by the fuzzer's first control byte.
inline QString packFuzzTarget(const FolderFiles &folder, quint8 pick) {
    const PackFuzzFile &file = PackFuzzFiles[pick % std::size(PackFuzzFiles)];
    for (const auto &[name, bytes] : folder)
        if (name.startsWith(QLatin1String(file.start)) && name.endsWith(QLatin1String(file.end)))
            return name;
    return QStringLiteral("style.json");
}
