#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The files of a style folder by their names relative to the folder ("tiles/tile_0000.png").
using FolderFiles = std::vector<std::pair<QString, QByteArray>>;

// Reads one file of a folder; nothing when it does not exist.
using FolderSource = std::function<std::optional<QByteArray>(const QString &name)>;

// The named file of `source`; throws EditorError naming it when it is missing.
QByteArray requiredFile(const FolderSource &source, const QString &name);

// Reads the files of the folder on disk. Throws EditorError when a file exists but cannot be read.
FolderSource diskFolder(const QString &dir);

// Writes the files as the folder `dir`, which must not exist or be empty: they are written into a
// new folder beside it that is renamed to `dir` at the end, so `dir` is complete or absent.
// Throws EditorError naming the folder otherwise.
void writeFolder(const FolderFiles &files, const QString &dir);
