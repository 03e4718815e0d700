#include "graphics/deltaunit.h"

#include "palette/palettelookup.h"
#include "platform/editorerror.h"

#include <algorithm>
#include <cstring>

namespace {

struct Run {
    int position; // 256 * row + column, from the sprite's top left
    int length;
};

void checkEightBit(const QImage &image, const char *role) {
    if (image.format() != QImage::Format_Indexed8)
        throw EditorError(QStringLiteral("The %1 picture of a delta is not 8 bit.").arg(QLatin1String(role)));
}

} // namespace

std::optional<int> findDeltaEntry(const StyleDocument &doc, int sprite) {
    const auto found =
        std::find_if(doc.DeltaIndex.begin(), doc.DeltaIndex.end(),
                     [sprite](const DeltaIndexEntry &entry) { return entry.sprite == sprite; });
    if (found == doc.DeltaIndex.end())
        return std::nullopt;
    return static_cast<int>(found - doc.DeltaIndex.begin());
}

qint64 deltaEntryBytes(const DeltaIndexEntry &entry) {
    qint64 bytes = 0;
    for (int d = 0; d < std::min<int>(entry.delta_count, DeltasPerSprite); ++d)
        bytes += entry.size[static_cast<std::size_t>(d)];
    return bytes;
}

qint64 deltaEntryStart(const StyleDocument &doc, int entry) {
    qint64 start = 0;
    const auto last = doc.DeltaIndex.begin() + std::clamp(entry, 0, doc.DeltaIndexCount());
    for (auto e = doc.DeltaIndex.begin(); e != last; ++e)
        start += deltaEntryBytes(*e);
    return start;
}

QByteArrayView deltaBytes(const StyleDocument &doc, int sprite, int delta) {
    // One pass finds the entry and the bytes of all entries before it.
    qint64 offset = 0;
    for (const DeltaIndexEntry &entry : doc.DeltaIndex) {
        if (entry.sprite == sprite)
            return deltaBytes(doc, entry, offset, delta);
        offset += deltaEntryBytes(entry);
    }
    return {};
}

QByteArrayView deltaBytes(const StyleDocument &doc, const DeltaIndexEntry &entry, qint64 offset, int delta) {
    if (!inRange(0, std::min<int>(entry.delta_count, DeltasPerSprite), delta))
        return {};
    for (int d = 0; d < delta; ++d)
        offset += entry.size[static_cast<std::size_t>(d)];
    const qint64 stored = doc.DeltaStore.size();
    if (offset >= stored)
        return {};
    const qint64 length = std::min<qint64>(entry.size[static_cast<std::size_t>(delta)], stored - offset);
    return QByteArrayView(doc.DeltaStore.constData() + offset, length);
}

void decodeDelta(QByteArrayView delta, QImage &target, QPoint origin, const QRect &clip) {
    checkEightBit(target, "target");
    const QRect area = clip & target.rect();
    if (area.isEmpty())
        return;
    uchar *const pixels = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const auto *bytes = reinterpret_cast<const uchar *>(delta.data());
    const qsizetype size = delta.size();
    quint16 position = 0;
    for (qsizetype at = 0; at + DeltaRunHeaderBytes <= size;) {
        const int skip = bytes[at] | (bytes[at + 1] << 8);
        const int length = bytes[at + 2];
        at += DeltaRunHeaderBytes;
        position = static_cast<quint16>(position + skip);
        const int present = static_cast<int>(std::min<qsizetype>(length, size - at));
        const int row = origin.y() + position / DeltaRasterWidth;
        const int column = origin.x() + position % DeltaRasterWidth;
        const int first = std::max(column, area.left());
        const int last = std::min(column + present, area.right() + 1);
        if (row >= area.top() && row <= area.bottom() && first < last)
            std::memcpy(pixels + row * stride + first, bytes + at + (first - column),
                        static_cast<std::size_t>(last - first));
        at += present;
        position = static_cast<quint16>(position + length);
    }
}

void applyDelta(const StyleDocument &doc, int sprite, int delta, QImage &target, int xOffset, int yOffset) {
    checkEightBit(target, "target");
    if (!inRange(0, doc.SpriteIndex.count(), sprite))
        return;
    const SpriteEntry &entry = doc.SpriteIndex[static_cast<std::size_t>(sprite)];
    const QByteArrayView bytes = deltaBytes(doc, sprite, delta);
    if (!bytes.isEmpty())
        decodeDelta(bytes, target, QPoint(xOffset, yOffset), QRect(xOffset, yOffset, entry.w, entry.h));
}

int encodeDelta(QByteArray &stream, const QImage &unchanged, const QImage &changed) {
    checkEightBit(unchanged, "unchanged");
    checkEightBit(changed, "changed");
    if (unchanged.size() != changed.size())
        throw EditorError(
            QStringLiteral("A delta compares two pictures of one size, not %1*%2 and %3*%4 pixels.")
                .arg(unchanged.width())
                .arg(unchanged.height())
                .arg(changed.width())
                .arg(changed.height()));
    const int width = unchanged.width(), height = unchanged.height();
    if (width > DeltaRasterWidth || height > DeltaRasterWidth)
        throw EditorError(
            QStringLiteral("A delta covers at most 256*256 pixels, not %1*%2.").arg(width).arg(height));

    std::vector<Run> runs;
    qsizetype pixels = 0;
    for (int y = 0; y < height; ++y) {
        const uchar *a = unchanged.constScanLine(y), *b = changed.constScanLine(y);
        if (std::memcmp(a, b, static_cast<std::size_t>(width)) == 0)
            continue;
        for (int x = 0; x < width;) {
            if (a[x] == b[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && a[x] != b[x] && x - start < MaxDeltaRunLength)
                ++x;
            if (runs.size() == MaxDeltaRuns)
                throw EditorError(QStringLiteral("the changes need more than the %1 runs of changed pixels a "
                                                 "delta can hold.")
                                      .arg(MaxDeltaRuns));
            runs.push_back({DeltaRasterWidth * y + start, x - start});
            pixels += x - start;
        }
    }
    const qsizetype bytes = qsizetype(runs.size()) * DeltaRunHeaderBytes + pixels;
    if (bytes > MaxDeltaBytes)
        throw EditorError(QStringLiteral("the changes need %1 bytes, more than the %2 a delta can hold.")
                              .arg(bytes)
                              .arg(MaxDeltaBytes));

    stream.reserve(stream.size() + bytes);
    int end = 0;
    for (const Run &run : runs) {
        const int skip = run.position - end;
        const char header[DeltaRunHeaderBytes] = {
            static_cast<char>(skip & 0xff), static_cast<char>(skip >> 8), static_cast<char>(run.length)};
        stream.append(header, DeltaRunHeaderBytes);
        const int row = run.position / DeltaRasterWidth, column = run.position % DeltaRasterWidth;
        stream.append(reinterpret_cast<const char *>(changed.constScanLine(row) + column), run.length);
        end = run.position + run.length;
    }
    return static_cast<int>(bytes);
}

void replaceSpriteDeltas(StyleDocument &doc, int sprite, const std::vector<QByteArray> &deltas) {
    if (!inRange(0, DeltaIndexCapacity, sprite))
        throw EditorError(
            QStringLiteral("Sprite %1 cannot have deltas: the delta index numbers sprites 0 to %2.")
                .arg(sprite)
                .arg(DeltaIndexCapacity - 1));
    if (deltas.size() > DeltasPerSprite)
        throw EditorError(QStringLiteral("A sprite has at most %1 deltas, not %2.")
                              .arg(DeltasPerSprite)
                              .arg(deltas.size()));
    for (std::size_t d = 0; d < deltas.size(); ++d)
        if (deltas[d].size() > MaxDeltaBytes)
            throw EditorError(QStringLiteral("Delta %1 has %2 bytes, more than the %3 a delta can hold.")
                                  .arg(d)
                                  .arg(deltas[d].size())
                                  .arg(MaxDeltaBytes));

    const std::optional<int> found = findDeltaEntry(doc, sprite);
    DeltaIndexEntry entry;
    entry.sprite = static_cast<quint16>(sprite);
    if (found)
        entry = doc.DeltaIndex[static_cast<std::size_t>(*found)];
    const qint64 start = deltaEntryStart(doc, found.value_or(doc.DeltaIndexCount()));
    const qint64 end = start + (found ? deltaEntryBytes(entry) : 0);
    if (end > doc.DeltaStore.size())
        throw EditorError(
            QStringLiteral("The delta index puts the deltas of sprite %1 at bytes %2 to %3 of the "
                           "delta store, which holds only %4 bytes; they cannot be replaced.")
                .arg(sprite)
                .arg(start)
                .arg(end)
                .arg(doc.DeltaStore.size()));

    entry.delta_count = static_cast<quint8>(deltas.size());
    entry.size.fill(0);
    QByteArray store = doc.DeltaStore.left(start);
    for (std::size_t d = 0; d < deltas.size(); ++d) {
        entry.size[d] = static_cast<quint16>(deltas[d].size());
        store += deltas[d];
    }
    store += QByteArrayView(doc.DeltaStore).sliced(end);

    // The index changes first: appending to a full index throws before anything is replaced.
    if (found)
        doc.DeltaIndex[static_cast<std::size_t>(*found)] = entry;
    else
        doc.DeltaIndex.append(entry);
    doc.DeltaStore = store;
}
