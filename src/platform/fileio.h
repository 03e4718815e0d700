#pragma once

#include <QByteArray>
#include <QString>

// Reads the whole file; throws EditorError with the system's reason when it cannot.
QByteArray readWholeFile(const QString &path);

// Whether a write waits until the bytes are on the disk. Saving the document does; bulk exports of
// hundreds of small files, which can be made again at any time, leave it to the system.
enum class Durability { Synced, Deferred };

// Writes the buffer to a temporary file beside `path` and renames it over `path`, so the target
// is either the old file or the complete new one. Throws EditorError on failure.
void writeWholeFileAtomic(const QString &path, const QByteArray &bytes,
                          Durability durability = Durability::Synced);

// `path` with the extension of its file name replaced by `extension` (".sty"), or with
// `extension` appended when the name has none.
QString withExtension(const QString &path, const QString &extension);
