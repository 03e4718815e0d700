#pragma once

#include "style/styledocument.h"

#include <QByteArray>
#include <QString>

class Prompts;
class Progress;
class Log;

inline const QString NotAStyleFileMessage =
    QStringLiteral("punk don't fuck with me! this ain't vyr2 style file!");

// Why a style without palettes can only have palettes imported; the load log and the info panel
// show it.
inline const QString NoPalettesMessage = QStringLiteral(
    "The file holds no palettes (its \"PPAL\" chunk is missing or empty): the commands that show or "
    "change colours are unavailable. \"Import\" on the Palettes page reads a palette table "
    "bitmap to supply them.");

// Whether the reader knows chunks of this tag; it skips all others.
bool isKnownTag(const QString &tag);

// A chunk the reader skips: its tag and its bytes (as far as the file goes when it is cut short).
struct UnknownChunkBytes {
    QByteArray tag;
    QByteArray payload;
};
// The chunks of a style file that the reader skips, in file order, walked as the reader walks them.
QList<UnknownChunkBytes> unknownChunkBytes(const QByteArray &file);

// Parses a whole style file into `doc`. The file is parsed into a copy that replaces `doc` only
// when the file is accepted; parts whose chunk is absent keep what `doc` held. Returns false when
// the file was refused; the user has then been told why through `prompts`.
bool readStyle(StyleDocument &doc, const QByteArray &bytes, Prompts &prompts, Progress &progress, Log &log);

// Reads the named file and parses it as above. Throws EditorError when the file cannot be read or
// held in memory whole.
bool opensty(StyleDocument &doc, const QString &path, Prompts &prompts, Progress &progress, Log &log);

// What the user is told when a style file does not fit in the memory left.
QString notEnoughMemoryToOpenMessage(const QString &path);
