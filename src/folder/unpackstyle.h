#pragma once

#include "folder/folderfiles.h"
#include "style/styledocument.h"

#include <QByteArray>
#include <optional>

// The folder of a style file: style.json, cars.txt, a palette PNG per tile and per sprite with
// the palette that shows it, the palettes as a picture and as JASC text, the delta sheet and
// delta bytes of each car sprite with deltas, the chunks the editor does not know under raw/,
// and the companion car script when there is one. `doc` is `file` as the reader loaded it.
FolderFiles unpackStyle(const StyleDocument &doc, const QByteArray &file,
                        const std::optional<QByteArray> &companionScript);
// The same files handed to `files` one by one as each is made.
void unpackStyle(const StyleDocument &doc, const QByteArray &file,
                 const std::optional<QByteArray> &companionScript, const FileSink &files);
