#pragma once

#include "style/styledocument.h"

#include <QByteArray>
#include <QString>

class Prompts;
class Progress;
class Log;

inline const QString StyleFileFilter = QStringLiteral("*.sty|*.sty");

// Thrown while a chunk is being assembled or the file written; `tag` names that chunk.
struct WriteFailure {
    QString text;
    QString tag;

    // What the user is told.
    QString message() const { return text + QStringLiteral(" had occured while writing: ") + tag; }
};

// Assembles the complete file in memory: header, then the fourteen chunks in their fixed order,
// logging each chunk. Throws WriteFailure. `doc` is not touched; the recycle list sort and the
// surface rebuild the file was built from are returned through `saved`.
QByteArray serializeStyle(const StyleDocument &doc, StyleDocument &saved, Progress &progress, Log &log);

// Writes the assembled bytes of a style file to `path` as one file. Throws WriteFailure with the
// system's reason, naming the chunk whose bytes did not all reach the file, or "SPEC" when the file
// as a whole failed (it could not be created, synced or put in place).
void writeStyleFile(const QString &path, const QByteArray &file);

// Writes the document to `fileName` with its extension made ".sty" (one in any case is kept). On
// success the document
// takes the sorted recycle list and the rebuilt surface-number list and the saved path is
// returned; on failure (a chunk that cannot be written, or too little memory to assemble the
// file) the user is told, nothing on disk or in `doc` changes, and an empty string is returned.
QString writeStyle(StyleDocument &doc, const QString &fileName, Prompts &prompts, Progress &progress,
                   Log &log);

// "save as": asks for the name (preset `defaultName`, which then keeps the chosen name) and writes.
// Returns the saved path, or an empty string when cancelled or failed.
QString saveStyleAs(StyleDocument &doc, QString &defaultName, Prompts &prompts, Progress &progress, Log &log);
