#pragma once

#include "styledocument.h"

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
};

// Assembles the complete file in memory: header, then the fourteen chunks in their fixed order,
// logging each chunk. Throws WriteFailure. `doc` is not touched; the recycle list sort and the
// surface rebuild the file was built from are returned through `saved`.
QByteArray serializeStyle(const StyleDocument &doc, StyleDocument &saved, Progress &progress, Log &log);

// Writes the document to `fileName` with its extension made ".sty" (one in any case is kept). On success the
// document takes the sorted recycle list and the rebuilt surface-number list and the saved path is returned;
// on failure the user is told (text + " had occured while writing: " + tag), nothing on disk or in `doc`
// changes, and an empty string is returned.
QString writeStyle(StyleDocument &doc, const QString &fileName, Prompts &prompts, Progress &progress,
                   Log &log);

// "save as": asks for the name (preset `defaultName`, which then keeps the chosen name) and writes.
// Returns the saved path, or an empty string when cancelled or failed.
QString saveStyleAs(StyleDocument &doc, QString &defaultName, Prompts &prompts, Progress &progress, Log &log);
