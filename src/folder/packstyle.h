#pragma once

#include "folder/folderfiles.h"

#include <QByteArray>

class Log;
class Prompts;

// Builds the style file of an unpacked folder through the editor's writer. An untouched folder
// gives the bytes a load and save of the unpacked file gives. A tile or sprite PNG whose palette
// is the one it was unpacked with keeps its indexes; another palette is matched colour by colour
// to the palette that shows the graphic, asking `prompts` about missing colours. A delta sheet
// that still shows the stored deltas keeps their bytes; a changed one is encoded again. With
// `keepUnknown` the raw/ chunks follow the last chunk in style.json's order.
// Throws EditorError naming the file and the field or line of the first thing refused, a file the
// folder format does not hold, or a sprite painted in two places differently.
// `unknownChunks`, when given, receives the raw/ chunks as --keep-unknown would append them.
QByteArray packStyle(const FolderContents &folder, bool keepUnknown, Prompts &prompts, Log &log,
                     QByteArray *unknownChunks = nullptr);
