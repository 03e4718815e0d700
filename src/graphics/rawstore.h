#pragma once

#include "platform/indexedpicture.h"
#include "platform/prompts.h"

#include <QImage>
#include <QString>
#include <optional>

class Log;

// "export raw" / "import raw" of a whole pixel store (tiles or sprites): one 8-bit bitmap 256 wide,
// a page of 256 rows after another. The pixels are the stored indexes, so the export writes them
// over the grey ramp and the import brings the file's colours back to it: a paint program that
// renumbers the colours does not scramble the store.

// Writes `store` under the name the user picks; the name written, empty when cancelled.
QString exportRawStore(const QImage &store, FileKind kind, Prompts &prompts);

// The store read from `picture` to replace `current`: 1 to `maxPages` pages, `what` naming the
// store in messages ("tile"). Nothing when refused with `rule` and the picture's shape, or when the
// user cancels the colour question. The log tells how many pixels change transparency.
std::optional<QImage> importRawStore(const QImage &current, const PictureSource &picture, int maxPages,
                                     const QString &what, const QString &rule, Prompts &prompts, Log &log);
