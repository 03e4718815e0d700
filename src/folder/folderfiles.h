#pragma once

#include "folder/madefilecache.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

class Progress;

// The files of a style folder by their names relative to the folder ("tiles/tile_0000.png").
using FolderFiles = std::vector<std::pair<QString, QByteArray>>;

// Takes the files of a folder one by one as they are made. A file costly to make may come as a
// recipe instead: the key of what it is made from and the function that makes it, so that a taker
// that already has the bytes made from that key need not make them again. A taker of bytes alone
// has each recipe made at once.
class FileSink {
public:
    using Bytes = std::function<void(const QString &name, const QByteArray &bytes)>;
    using Recipe = std::function<void(const QString &name, MadeFrom from, std::function<QByteArray()> make)>;

    template <typename Take>
    requires std::is_invocable_v<Take, const QString &, const QByteArray &> FileSink(Take take)
        : bytes_(std::move(take)) {}
    FileSink(Bytes bytes, Recipe recipe) : bytes_(std::move(bytes)), recipe_(std::move(recipe)) {}

    void operator()(const QString &name, const QByteArray &bytes) const { bytes_(name, bytes); }
    void operator()(const QString &name, MadeFrom from, std::function<QByteArray()> make) const {
        if (recipe_)
            recipe_(name, from, std::move(make));
        else
            bytes_(name, make());
    }

private:
    Bytes bytes_;
    Recipe recipe_;
};
// Makes the files of a folder, handing each to the sink.
using FolderMaker = std::function<void(const FileSink &files)>;

// Reads one file of a folder; nothing when it does not exist.
using FolderSource = std::function<std::optional<QByteArray>(const QString &name)>;

// The named file of `source`; throws EditorError naming it when it is missing.
QByteArray requiredFile(const FolderSource &source, const QString &name);

// A style folder as pack sees it: the names of its files and a reader that reads only those. Dot
// files and folders (.git) and the folder extra/ are the user's own: pack neither lists nor reads
// them.
struct FolderContents {
    QStringList names;
    FolderSource read;
};

// Whether pack leaves the file alone whatever its name.
bool isUsersOwnFile(const QString &name);

// The folder on disk, walked without following links. Throws EditorError naming the first
// symbolic link, device, FIFO or socket in it, since pack reads nothing outside the folder, and
// when a file exists but cannot be read.
FolderContents diskFolder(const QString &dir);
// Files held in memory.
FolderContents memoryFolder(const FolderFiles &files);

// Writes the files `make` makes as the folder `dir`, which must not exist or be empty. They are
// made on a thread of their own while the ones made are written, so that encoding and writing
// overlap, and written into a new folder beside `dir` that is renamed to `dir` at the end, so `dir` is
// complete or absent. Each file written is counted on `progress`, whose maximum the caller sets.
// Returns how many files it wrote. Throws EditorError naming the folder otherwise.
int writeFolder(const FolderMaker &make, const QString &dir, Progress &progress);

// What bringing a folder in step with a style changed.
struct FolderUpdate {
    int written = 0;
    int removed = 0;
};

// Brings the existing folder `dir` in step with the files `make` makes (as unpack gives them),
// made as writeFolder makes them: writes each file
// whose bytes differ, each atomically, and removes the files of graphics, palettes, deltas and raw
// chunks the style no longer has. The user's own files are left alone, except that a dot file
// `make` makes is written when the folder has none. Anything else the folder holds is kept for
// pack to name. A folder that does not exist is written as by writeFolder. Throws EditorError
// naming a symbolic link, device or FIFO in the folder before anything is written. Each file
// checked or written is counted on `progress`.
FolderUpdate updateFolder(const FolderMaker &make, const QString &dir, Progress &progress);
