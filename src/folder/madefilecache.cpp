#include "folder/madefilecache.h"

#include "platform/fileio.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <new>
#include <png.h>
#include <zlib.h>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace {

// The encoders' versions: a file made by another zlib or libpng may have other bytes for the same
// picture, so their cache is not this one.
QByteArray cacheFormat() {
    return QByteArrayLiteral("vyr2-sty made files 1; zlib ") + zlibVersion() + " libpng " +
           png_get_libpng_ver(nullptr);
}

// Caches are small; a file far past any folder's is no cache of ours.
constexpr qint64 LargestCache = 64 * 1024 * 1024;

QString cachePath(const QString &folder) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty())
        return QString();
    const QByteArray where = QDir::cleanPath(QFileInfo(folder).absoluteFilePath()).toUtf8();
    return QDir(base).filePath(
        QStringLiteral("vyr2-sty/folders/%1")
            .arg(XXH3_64bits(where.constData(), std::size_t(where.size())), 16, 16, QLatin1Char('0')));
}

} // namespace

quint64 bytesDigest(const QByteArray &bytes) {
    return XXH3_64bits(bytes.constData(), std::size_t(bytes.size()));
}

MadeFrom madeFromBytes(const QByteArray &sources) {
    return {bytesDigest(sources)};
}

MadeFrom madeFromPicture(const QImage &picture, const QByteArray &maker) {
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    const auto add = [&state](const void *data, std::size_t size) {
        XXH3_64bits_update(&state, data, size);
    };
    add(maker.constData(), std::size_t(maker.size()));
    const qint32 shape[] = {picture.width(), picture.height(), qint32(picture.format())};
    add(shape, sizeof shape);
    const QList<QRgb> colours = picture.colorTable();
    add(colours.constData(), std::size_t(colours.size()) * sizeof(QRgb));
    const std::size_t lineBytes = (std::size_t(picture.width()) * std::size_t(picture.depth()) + 7) / 8;
    for (int y = 0; y < picture.height(); ++y)
        add(picture.constScanLine(y), lineBytes);
    return {XXH3_64bits_digest(&state)};
}

// A cache started empty replaces whatever an earlier folder of that name left.
MadeFileCache::MadeFileCache(const QString &folder, CacheStart start)
    : path_(cachePath(folder)), changed_(start == CacheStart::Empty) {
    if (start == CacheStart::Empty || path_.isEmpty() || !isRegularFile(path_) ||
        QFileInfo(path_).size() > LargestCache)
        return;
    QByteArray bytes;
    try {
        bytes = readWholeFile(path_);
    } catch (const EditorError &) {
        return;
    }
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    QByteArray format;
    quint32 count = 0;
    in >> format >> count;
    if (in.status() != QDataStream::Ok || format != cacheFormat())
        return;
    std::unordered_map<QString, Entry> entries;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString name;
        Entry entry;
        in >> name >> entry.key >> entry.size >> entry.digest;
        entries.insert_or_assign(name, entry);
    }
    if (in.status() == QDataStream::Ok && in.atEnd())
        entries_ = std::move(entries);
}

bool MadeFileCache::holds(const QString &name, MadeFrom from, const QByteArray &onDisk) const {
    const Entry entry{from.key, onDisk.size(), bytesDigest(onDisk)};
    const std::lock_guard lock(mutex_);
    const auto found = entries_.find(name);
    return found != entries_.end() && found->second == entry;
}

void MadeFileCache::record(const QString &name, MadeFrom from, const QByteArray &bytes) {
    const Entry entry{from.key, bytes.size(), bytesDigest(bytes)};
    const std::lock_guard lock(mutex_);
    const auto found = entries_.find(name);
    if (found != entries_.end() && found->second == entry)
        return;
    entries_.insert_or_assign(name, entry);
    changed_ = true;
}

void MadeFileCache::forget(const QString &name) {
    const std::lock_guard lock(mutex_);
    changed_ = entries_.erase(name) > 0 || changed_;
}

void MadeFileCache::save() const {
    const std::lock_guard lock(mutex_);
    if (path_.isEmpty() || !changed_)
        return;
    try {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << cacheFormat() << quint32(entries_.size());
        for (const auto &[name, entry] : entries_)
            out << name << entry.key << entry.size << entry.digest;
        if (QDir().mkpath(QFileInfo(path_).path()))
            writeWholeFileAtomic(path_, bytes, Durability::Deferred);
    } catch (const EditorError &) {    // NOLINT(bugprone-empty-catch)
    } catch (const std::bad_alloc &) { // NOLINT(bugprone-empty-catch)
        // The folder is written; only the next update will be slower.
    }
}
