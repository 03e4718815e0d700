#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <mutex>
#include <unordered_map>

// A digest of everything a file's bytes are made from: the same key makes the same bytes.
struct MadeFrom {
    quint64 key = 0;
};

// A fast digest of bytes, for recognising a file's contents.
quint64 bytesDigest(const QByteArray &bytes);
// The key of a file made from `sources` alone, which also name how it is made.
MadeFrom madeFromBytes(const QByteArray &sources);
// The key of a file that `maker` (which names the encoding) makes from `picture`: its size, format,
// colour table and pixels.
MadeFrom madeFromPicture(const QImage &picture, const QByteArray &maker);

// What the files of one folder on disk were made from when they were last written, so that bringing
// the folder in step with a style again makes only the files whose key changed or whose bytes on
// disk no longer are the ones made. Kept in the user's cache folder, never in the style folder,
// keyed by the folder's path. A missing, damaged or foreign cache is an empty one: it only ever
// saves work, since every file it vouches for is checked against a digest of its bytes on disk.
// Several threads may ask and record at once.
// Whether a cache starts from what was recorded for the folder, or empty for a folder made anew.
enum class CacheStart { Load, Empty };

class MadeFileCache {
public:
    MadeFileCache(const QString &folder, CacheStart start);

    // Whether `onDisk`, the bytes of the file `name`, are the bytes `from` makes.
    bool holds(const QString &name, MadeFrom from, const QByteArray &onDisk) const;
    // `bytes` were made from `from` and written as `name`.
    void record(const QString &name, MadeFrom from, const QByteArray &bytes);
    void forget(const QString &name);

    // Writes the cache when it changed; a cache that cannot be written is no failure of the command.
    void save() const;

private:
    struct Entry {
        quint64 key = 0;
        qint64 size = 0;
        quint64 digest = 0;
        bool operator==(const Entry &) const = default;
    };
    QString path_;
    mutable std::mutex mutex_; // guards entries_ and changed_
    // A standard map: Qt's hash ends the program when it cannot grow, and this one grows with
    // every file of a folder, also when memory is short.
    std::unordered_map<QString, Entry> entries_;
    bool changed_ = false;
};
