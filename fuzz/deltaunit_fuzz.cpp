// The delta unit on random delta bytes and index entries: finding a sprite's bytes, drawing them
// clipped, encoding and decoding, and replacing a sprite's deltas in the store.
// Input: 8 control bytes (entry count, sprite choice in two bytes, origin x and y, picture width
// and height, number of new deltas), the entries (sprite, count, 33 sizes; little-endian), then
// the delta store.

#include "fuzzsupport.h"
#include "graphics/deltaunit.h"
#include "platform/editorerror.h"
#include "sample/samplestyle.h"
#include "style/littleendian.h"

namespace {

constexpr qsizetype ControlBytes = 8;
constexpr qsizetype EntryBytes = 3 + 2 * DeltasPerSprite;
constexpr uchar Untouched = 0xA5;

DeltaIndexEntry entryAt(const char *bytes) {
    DeltaIndexEntry entry;
    entry.sprite = readU16(bytes);
    entry.delta_count = static_cast<quint8>(bytes[2]);
    for (int d = 0; d < DeltasPerSprite; ++d)
        entry.size[static_cast<std::size_t>(d)] = readU16(bytes + 3 + 2 * d);
    return entry;
}

bool sameOutside(const QImage &before, const QImage &after, const QRect &allowed) {
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixelIndex(x, y) != after.pixelIndex(x, y) && !allowed.contains(x, y))
                return false;
    return true;
}

QImage filled(QSize size, uchar index) {
    QImage image(size, QImage::Format_Indexed8);
    image.setColorCount(256);
    image.fill(index);
    return image;
}

void checkFoundBytes(const StyleDocument &doc) {
    const char *begin = doc.DeltaStore.constData(), *end = begin + doc.DeltaStore.size();
    for (const DeltaIndexEntry &entry : doc.DeltaIndex) {
        require(findDeltaEntry(doc, entry.sprite).has_value(), "an entry of the index is not found");
        for (int d = 0; d <= entry.delta_count && d <= DeltasPerSprite; ++d) {
            const QByteArrayView bytes = deltaBytes(doc, entry.sprite, d);
            require(bytes.isEmpty() || (bytes.data() >= begin && bytes.data() + bytes.size() <= end),
                    "a delta's bytes lie outside the store");
        }
    }
}

// Drawing is clipped to the clip rectangle and the picture, for the store's bytes as one delta
// and for every delta of every entry.
void checkDrawing(const StyleDocument &doc, const FuzzInput &input) {
    const QSize size(input.at(5) % 80 + 1, input.at(6) % 80 + 1);
    const QImage blank = filled(size, Untouched);
    const QPoint origin(static_cast<qint8>(input.at(3)), static_cast<qint8>(input.at(4)));
    const QRect clip(origin, QSize(size.width() / 2 + 1, size.height() / 2 + 1));
    QImage drawn = blank;
    decodeDelta(doc.DeltaStore, drawn, origin, clip);
    require(sameOutside(blank, drawn, clip), "a delta drew outside its clip rectangle");

    for (const DeltaIndexEntry &entry : doc.DeltaIndex) {
        if (entry.sprite >= doc.SpriteIndex.count())
            continue;
        const SpriteEntry &sprite = doc.SpriteIndex[entry.sprite];
        for (int d = 0; d < entry.delta_count && d < DeltasPerSprite; ++d) {
            QImage target = blank;
            applyDelta(doc, entry.sprite, d, target, origin.x(), origin.y());
            require(sameOutside(blank, target, QRect(origin, QSize(sprite.w, sprite.h))),
                    "a sprite's delta drew outside the sprite");
        }
    }
}

// A delta encoded from two pictures turns the first into the second.
void checkEncoding(const StyleDocument &doc, const FuzzInput &input) {
    if (doc.DeltaStore.isEmpty())
        return;
    const QSize size(input.at(5) % 64 + 1, input.at(6) % 64 + 1);
    QImage unchanged = filled(size, 0), changed = filled(size, 0);
    qsizetype at = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const auto value = static_cast<uchar>(doc.DeltaStore[at++ % doc.DeltaStore.size()]);
            unchanged.setPixel(x, y, value & 1);
            changed.setPixel(x, y, value >> 7);
        }
    QByteArray stream;
    try {
        const int bytes = encodeDelta(stream, unchanged, changed);
        require(bytes == stream.size() && bytes <= MaxDeltaBytes, "an encoded delta has another size");
    } catch (const EditorError &error) {
        require(stream.isEmpty() && !error.text().isEmpty(), "a refused encoding left bytes");
        return;
    }
    decodeDelta(stream, unchanged, QPoint(0, 0), unchanged.rect());
    require(unchanged == changed, "a decoded delta does not give the changed picture");
}

int chosenSprite(const StyleDocument &doc, const FuzzInput &input) {
    if (input.at(1) < 128 && doc.DeltaIndexCount() > 0)
        return doc.DeltaIndex[input.at(2) % doc.DeltaIndexCount()].sprite;
    return ((input.at(1) & 0x7f) << 8 | input.at(2)) - 4;
}

void checkReplacing(const StyleDocument &before, const FuzzInput &input) {
    const int sprite = chosenSprite(before, input);
    std::vector<QByteArray> deltas;
    const QByteArray &store = before.DeltaStore;
    for (int d = 0; d < input.at(7) % 36; ++d)
        deltas.push_back(store.mid((d * 97) % (store.size() + 1), (d * 37 + input.at(7)) % 300));
    StyleDocument after = before;
    try {
        replaceSpriteDeltas(after, sprite, deltas);
    } catch (const EditorError &error) {
        require(after == before && !error.text().isEmpty(), "a refused replacement changed the document");
        return;
    }
    const std::optional<int> found = findDeltaEntry(before, sprite);
    const qint64 oldBytes = found ? deltaEntryBytes(before.DeltaIndex[*found]) : 0;
    qint64 newBytes = 0;
    for (std::size_t d = 0; d < deltas.size(); ++d) {
        require(deltaBytes(after, sprite, int(d)) == deltas[d], "a new delta reads back as other bytes");
        newBytes += deltas[d].size();
    }
    require(after.DeltaStore.size() == store.size() - oldBytes + newBytes, "the store has another size");
    for (const DeltaIndexEntry &entry : before.DeltaIndex) {
        if (entry.sprite == sprite)
            continue;
        for (int d = 0; d < entry.delta_count && d < DeltasPerSprite; ++d)
            require(deltaBytes(before, entry.sprite, d) == deltaBytes(after, entry.sprite, d),
                    "replacing changed another sprite's deltas");
    }
    checkFoundBytes(after);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const FuzzInput input(data, size, ControlBytes);
    if (!input.valid)
        return 0;
    static const StyleDocument sample = makeSampleStyle();
    StyleDocument doc = sample;
    doc.DeltaIndex.clear();
    const qsizetype entries = std::min<qsizetype>(input.at(0), input.file.size() / EntryBytes);
    for (qsizetype e = 0; e < entries; ++e)
        doc.DeltaIndex.append(entryAt(input.file.data() + e * EntryBytes));
    doc.DeltaStore = input.file.sliced(entries * EntryBytes).toByteArray();

    checkFoundBytes(doc);
    checkDrawing(doc, input);
    checkEncoding(doc, input);
    checkReplacing(doc, input);
    return 0;
}
