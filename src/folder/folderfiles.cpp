#include "folder/folderfiles.h"

#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/filelinks.h"
#include "platform/progress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <unordered_set>

QByteArray requiredFile(const FolderSource &source, const QString &name) {
    std::optional<QByteArray> bytes = source(name);
    if (!bytes)
        throw EditorError(QStringLiteral("%1: missing from the folder; nothing was written.").arg(name));
    return std::move(*bytes);
}

bool isUsersOwnFile(const QString &name) {
    // Asked of every file of the folder, so without splitting the name.
    return name == QLatin1String("extra") || name.startsWith(QLatin1String("extra/")) ||
           name.startsWith(QLatin1Char('.')) || name.contains(QLatin1String("/."));
}

namespace {

// Adds the regular files under `folder` (named relative to the root) to `names`.
void walk(const QDir &root, const QString &folder, QStringList &names) {
    const QFileInfoList entries =
        QDir(root.filePath(folder))
            .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString name =
            folder.isEmpty() ? entry.fileName() : folder + QLatin1Char('/') + entry.fileName();
        if (isUsersOwnFile(name))
            continue;
        if (isLink(entry))
            throw EditorError(QStringLiteral("%1: a symbolic link; the folder commands touch only the "
                                             "folder's own files; nothing was written.")
                                  .arg(name));
        if (entry.isDir())
            walk(root, name, names);
        else if (entry.isFile())
            names.append(name);
        else
            throw EditorError(
                QStringLiteral("%1: not a file (a device, FIFO or socket); nothing was written.").arg(name));
    }
}

// The regular files under `dir`, named relative to it.
QStringList folderNames(const QString &dir) {
    QStringList names;
    walk(QDir(dir), QString(), names);
    return names;
}

} // namespace

FolderContents diskFolder(const QString &dir) {
    const QStringList names = folderNames(dir);
    const std::unordered_set<QString> files(names.begin(), names.end());
    return {names, [dir, files](const QString &name) -> std::optional<QByteArray> {
                if (!files.contains(name))
                    return std::nullopt;
                return readWholeFile(QDir(dir).filePath(name));
            }};
}

FolderContents memoryFolder(const FolderFiles &files) {
    QStringList names;
    QHash<QString, QByteArray> byName;
    for (const auto &[name, bytes] : files) {
        if (isUsersOwnFile(name))
            continue;
        names.append(name);
        byName.insert(name, bytes);
    }
    return {names, [byName](const QString &name) -> std::optional<QByteArray> {
                const auto found = byName.constFind(name);
                return found == byName.cend() ? std::nullopt : std::optional<QByteArray>(*found);
            }};
}

namespace {

// A file on its way from the maker to the taker: its bytes, or the recipe that makes them.
struct MadeFile {
    QString name;
    QByteArray bytes;
    std::optional<MadeFrom> from;
    std::function<QByteArray()> make; // set while the bytes are still to be made
};
using MadeFileTaker = std::function<void(MadeFile &file)>;

// Where the recipes of the files are made: on the maker's thread, or by the taker, which may not
// need to make them at all.
enum class Recipes { MadeByMaker, LeftToTaker };

// Who takes the files still waiting once all are made: the taker alone, since new files written
// into one folder at once wait for each other, or the calling thread too, since reads do not.
enum class Rest { TakerAlone, Shared };

// Hands each file `make` makes to `take` on a thread of its own, in the order made, so that
// making the next file overlaps taking the last; once all are made, with `rest` Shared, the
// calling thread takes the files still waiting too, so that both cores take them, and `take` is
// called from two threads at once. The files are made on the calling thread: under a tight
// address-space limit a second thread gets no heap of its own and every allocation of it becomes
// a system call, and where one fails inside Qt the program may end. An exception from either side
// stops both and comes out here. `prepare`, when given, runs on the taker's thread before any file
// is taken, while the first files are made. Each file taken is counted on `progress`, so that a
// bar shows the files written rather than the ones made ahead of them.
void overlapped(const FolderMaker &make, Recipes recipes, Rest rest, const MadeFileTaker &take,
                Progress &progress, const std::function<void()> &prepare = {}) {
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<MadeFile> made;
    bool takerPrepared = false;
    bool finished = false;
    std::exception_ptr failure; // the taker's
    int taken = 0;
    const auto takeCounted = [&](MadeFile &file) {
        take(file);
        const std::lock_guard lock(mutex);
        progress.setPosition(++taken);
    };
    const auto takeAll = [&] {
        try {
            if (prepare)
                prepare();
            {
                const std::lock_guard lock(mutex);
                takerPrepared = true;
            }
            ready.notify_all();
            for (;;) {
                std::unique_lock lock(mutex);
                ready.wait(lock, [&] { return !made.empty() || finished; });
                if (made.empty())
                    return;
                MadeFile file = std::move(made.front());
                made.pop_front();
                lock.unlock();
                takeCounted(file);
            }
        } catch (...) {
            {
                const std::lock_guard lock(mutex);
                failure = std::current_exception();
            }
            ready.notify_all();
        }
    };
    const auto prepared = [recipes](MadeFile file) {
        if (file.make && recipes == Recipes::MadeByMaker) {
            file.bytes = file.make();
            file.make = nullptr;
        }
        return file;
    };
    std::thread taker;
    try {
        taker = std::thread(takeAll);
    } catch (const std::system_error &) {
        // No thread to be had: each file is taken as it is made.
        if (prepare)
            prepare();
        const auto takeNow = [&](MadeFile file) {
            file = prepared(std::move(file));
            takeCounted(file);
        };
        make(FileSink(
            [&](const QString &name, const QByteArray &bytes) {
                takeNow({name, bytes, {}, {}});
            },
            [&](const QString &name, MadeFrom from, std::function<QByteArray()> recipe) {
                takeNow({name, {}, from, std::move(recipe)});
            }));
        return;
    }
    const auto finish = [&](bool dropRest) {
        {
            const std::lock_guard lock(mutex);
            if (dropRest)
                made.clear();
            finished = true;
        }
        ready.notify_all();
        taker.join();
    };
    const auto hand = [&](MadeFile file) {
        file = prepared(std::move(file));
        {
            const std::lock_guard lock(mutex);
            if (failure)
                std::rethrow_exception(failure);
            made.push_back(std::move(file));
        }
        ready.notify_one();
    };
    // The files the taker has not yet taken, one by one, once it is prepared; nothing when none is
    // left or the taker failed.
    const auto nextWaiting = [&]() -> std::optional<MadeFile> {
        std::unique_lock lock(mutex);
        ready.wait(lock, [&] { return takerPrepared || failure; });
        if (failure || made.empty())
            return std::nullopt;
        MadeFile file = std::move(made.front());
        made.pop_front();
        return file;
    };
    try {
        make(FileSink(
            [&](const QString &name, const QByteArray &bytes) {
                hand({name, bytes, {}, {}});
            },
            [&](const QString &name, MadeFrom from, std::function<QByteArray()> recipe) {
                hand({name, {}, from, std::move(recipe)});
            }));
        if (rest == Rest::Shared)
            while (std::optional<MadeFile> file = nextWaiting())
                takeCounted(*file);
    } catch (...) {
        finish(true);
        throw;
    }
    finish(false);
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace

int writeFolder(const FolderMaker &make, const QString &dir, Progress &progress) {
    // "dir/" as shell completion gives it names the folder dir.
    const QFileInfo target(QDir::cleanPath(dir));
    if (target.exists() && (!target.isDir() || !QDir(dir).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                                  QDir::Hidden | QDir::System)))
        throw EditorError(
            QStringLiteral("\"%1\" exists and is not an empty folder; nothing was written.").arg(dir));
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent))
        throw EditorError(QStringLiteral("The folder \"%1\" could not be created.").arg(parent));
    QTemporaryDir work(parent + QStringLiteral("/.") + target.fileName() + QStringLiteral("-XXXXXX"));
    if (!work.isValid())
        throw EditorError(QStringLiteral("A work folder in \"%1\" could not be created: %2")
                              .arg(parent, work.errorString()));
    // The folder is made inside the private one with the permissions the umask leaves, as any
    // new folder gets.
    const QString built = QDir(work.path()).filePath(QStringLiteral("folder"));
    if (!QDir().mkdir(built))
        throw EditorError(QStringLiteral("A work folder in \"%1\" could not be created.").arg(parent));
    QDir root(built);
    std::unordered_set<QString> made;
    int count = 0;
    MadeFileCache cache(target.absoluteFilePath(), CacheStart::Empty);
    overlapped(
        make, Recipes::MadeByMaker, Rest::TakerAlone,
        [&](MadeFile &madeFile) {
            const QString &name = madeFile.name;
            const QByteArray &bytes = madeFile.bytes;
            ++count;
            if (madeFile.from)
                cache.record(name, *madeFile.from, bytes);
            const QString path = root.filePath(name);
            const QString folder = QFileInfo(path).path();
            if (!made.contains(folder)) {
                if (!root.mkpath(folder))
                    throw EditorError(QStringLiteral("The folder of \"%1\" could not be created.").arg(path));
                made.insert(folder);
            }
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
                throw EditorError(
                    QStringLiteral("\"%1\" could not be written: %2").arg(path, file.errorString()));
        },
        progress);
    if (target.exists())
        QDir().rmdir(target.absoluteFilePath());
    if (!QDir().rename(built, target.absoluteFilePath()))
        throw EditorError(QStringLiteral("The folder \"%1\" could not be put in place.").arg(dir));
    cache.save();
    return count;
}

namespace {

// The names unpack gives the files of a style's graphics, palettes, deltas and raw chunks.
bool isStyleDerived(const QString &name) {
    static const QRegularExpression pattern(
        QStringLiteral("^(tiles/(tile_[0-9]{4,}|rest)\\.png|sprites/(sprite_[0-9]{4,}|pages)\\.png|"
                       "palettes/(palette_[0-9]{3,}\\.pal|palettes\\.png|beyond\\.bin)|"
                       "deltas/(sprite_[0-9]{4,}\\.(png|bin)|store\\.bin)|raw/[^/]+\\.bin)$"));
    return pattern.match(name).hasMatch();
}

} // namespace

FolderUpdate updateFolder(const FolderMaker &make, const QString &dir, Progress &progress) {
    const QFileInfo target(QDir::cleanPath(dir));
    if (!target.exists() && !isLink(target))
        return {writeFolder(make, dir, progress), 0};
    if (isLink(target) || !target.isDir())
        throw EditorError(QStringLiteral("\"%1\" is no folder; nothing was written.").arg(dir));
    const QDir root(target.absoluteFilePath());
    // The folder's path with its separator, which each name is appended to.
    const QString prefix = root.path() + QLatin1Char('/');

    std::mutex shared; // `update`, `kept` and the making of folders, for the two threads that take files
    FolderUpdate update;
    std::unordered_set<QString> kept;
    // Listed and loaded by the taker while the maker makes the first files: the taker lists the
    // folder, and so names a link or FIFO in it, before it writes anything.
    QStringList present;
    std::optional<MadeFileCache> cache;
    const auto prepare = [&] {
        present = folderNames(root.path());
        cache.emplace(root.path(), CacheStart::Load);
    };
    const auto take = [&](MadeFile &made) {
        const QString &name = made.name;
        {
            const std::lock_guard lock(shared);
            kept.insert(name);
        }
        const QString path = prefix + name;
        if (isUsersOwnFile(name)) {
            const QFileInfo info(path);
            if (info.exists() || isLink(info))
                return;
        } else {
            const std::optional<QByteArray> onDisk = readFileIfPresent(path);
            if (made.make) {
                if (onDisk && cache->holds(name, *made.from, *onDisk))
                    return;
                made.bytes = made.make();
                cache->record(name, *made.from, made.bytes);
            }
            if (onDisk == made.bytes)
                return;
        }
        {
            const std::lock_guard lock(shared);
            if (!root.mkpath(QFileInfo(path).path()))
                throw EditorError(QStringLiteral("The folder of \"%1\" could not be created.").arg(path));
        }
        writeWholeFileAtomic(path, made.bytes, Durability::Deferred);
        const std::lock_guard lock(shared);
        ++update.written;
    };
    overlapped(make, Recipes::LeftToTaker, Rest::Shared, take, progress, prepare);
    // Prepared before the first file was taken; a failure to prepare ended `overlapped`.
    if (!cache)
        throw std::logic_error("the folder's cache was not prepared");
    MadeFileCache &madeCache = *cache;
    QSet<QString> emptied;
    for (const QString &name : present) {
        if (kept.contains(name) || !isStyleDerived(name))
            continue;
        if (!QFile::remove(root.filePath(name)))
            throw EditorError(QStringLiteral("\"%1\" could not be removed.").arg(root.filePath(name)));
        madeCache.forget(name);
        ++update.removed;
        emptied.insert(QFileInfo(name).path());
    }
    for (const QString &folder : emptied)
        root.rmdir(folder); // only when nothing else is left in it
    madeCache.save();
    return update;
}
