#include "graphics/deltalayers.h"

#include "graphics/deltaunit.h"
#include "graphics/drawingtools.h"
#include "graphics/spriteentries.h"
#include "graphics/spritepicture.h"
#include "platform/editorerror.h"
#include "platform/imagememory.h"

#include <algorithm>

namespace {

int deltaCount(const StyleDocument &doc, int sprite) {
    const std::optional<int> entry = findDeltaEntry(doc, sprite);
    if (!entry)
        return 0;
    return std::min<int>(doc.DeltaIndex[static_cast<std::size_t>(*entry)].delta_count, DeltasPerSprite);
}

std::vector<QByteArray> storedDeltas(const StyleDocument &doc, int sprite) {
    const int count = deltaCount(doc, sprite);
    std::vector<QByteArray> deltas;
    deltas.reserve(std::size_t(count));
    for (int d = 0; d < count; ++d)
        deltas.push_back(deltaBytes(doc, sprite, d).toByteArray());
    return deltas;
}

QImage filled(QSize size, QImage::Format format, uchar value) {
    QImage image = makeImage(size, format);
    image.fill(value);
    return image;
}

void checkDelta(const StyleDocument &doc, SpriteDelta which) {
    const int count = deltaCount(doc, which.sprite);
    if (which.delta < 0 || which.delta >= count)
        throw EditorError(QStringLiteral("Sprite %1 has no delta %2; it has %3 deltas.")
                              .arg(which.sprite)
                              .arg(which.delta)
                              .arg(count));
}

} // namespace

std::vector<DeltaLayer> readDeltaLayers(const StyleDocument &doc, int sprite) {
    const SpriteEntry &entry = checkedSprite(doc, sprite);
    const QSize size(entry.w, entry.h);
    std::vector<DeltaLayer> layers;
    for (int d = 0; d < deltaCount(doc, sprite); ++d) {
        // Decoded over two backgrounds: a pixel is a change where either shows something else
        // than its background, which also finds changes to the background's own index.
        QImage zero = filled(size, QImage::Format_Indexed8, 0),
               one = filled(size, QImage::Format_Indexed8, 1);
        const QByteArrayView bytes = deltaBytes(doc, sprite, d);
        decodeDelta(bytes, zero, QPoint(0, 0), zero.rect());
        decodeDelta(bytes, one, QPoint(0, 0), one.rect());
        DeltaLayer layer{one, filled(size, QImage::Format_Grayscale8, 0)};
        for (int y = 0; y < size.height(); ++y) {
            const uchar *z = zero.constScanLine(y), *o = one.constScanLine(y);
            uchar *changes = writableLine(layer.changes, y);
            for (int x = 0; x < size.width(); ++x)
                changes[x] = z[x] != 0 || o[x] != 1;
        }
        layers.push_back(layer);
    }
    return layers;
}

QImage composeDeltaLayers(const QImage &sprite, const std::vector<DeltaLayer> &layers,
                          const std::vector<bool> &visible) {
    QImage picture = sprite;
    for (std::size_t d = 0; d < layers.size(); ++d) {
        if (d >= visible.size() || !visible[d])
            continue;
        const DeltaLayer &layer = layers[d];
        for (int y = 0; y < picture.height(); ++y) {
            const uchar *values = layer.values.constScanLine(y), *changes = layer.changes.constScanLine(y);
            uchar *line = nullptr;
            for (int x = 0; x < picture.width(); ++x) {
                if (!changes[x])
                    continue;
                if (!line)
                    line = writableLine(picture, y);
                line[x] = values[x];
            }
        }
    }
    return picture;
}

QByteArray encodeDeltaLayer(const DeltaLayer &layer, SpriteDelta which) {
    // The encoder writes the pixels where two pictures differ: against a picture that differs
    // exactly at the changes, it writes the changes whatever index the sprite has there.
    QImage unchanged = layer.values;
    for (int y = 0; y < unchanged.height(); ++y) {
        const uchar *changes = layer.changes.constScanLine(y);
        uchar *line = writableLine(unchanged, y);
        for (int x = 0; x < unchanged.width(); ++x)
            if (changes[x])
                line[x] ^= 1;
    }
    QByteArray bytes;
    try {
        encodeDelta(bytes, unchanged, layer.values);
    } catch (const EditorError &error) {
        throw EditorError(QStringLiteral("Delta %1 of sprite %2 cannot be stored: %3")
                              .arg(which.delta)
                              .arg(which.sprite)
                              .arg(error.text()));
    }
    return bytes;
}

bool storeDeltaStroke(StyleDocument &doc, SpriteDelta which, const QImage &picture, const QImage &marks) {
    checkDelta(doc, which);
    std::vector<DeltaLayer> layers = readDeltaLayers(doc, which.sprite);
    DeltaLayer &layer = layers[static_cast<std::size_t>(which.delta)];
    if (picture.format() != QImage::Format_Indexed8 || picture.size() != layer.values.size() ||
        marks.size() != layer.values.size())
        throw EditorError(QStringLiteral("A drawing on delta %1 of sprite %2 must be an 8-bit picture of the "
                                         "sprite's size.")
                              .arg(which.delta)
                              .arg(which.sprite));
    for (int y = 0; y < picture.height(); ++y) {
        const uchar *drawn = picture.constScanLine(y), *mark = marks.constScanLine(y);
        uchar *values = writableLine(layer.values, y), *changes = writableLine(layer.changes, y);
        for (int x = 0; x < picture.width(); ++x) {
            if (mark[x] == static_cast<uchar>(PixelMark::Drawn)) {
                values[x] = drawn[x];
                changes[x] = 1;
            } else if (mark[x] == static_cast<uchar>(PixelMark::Erased)) {
                changes[x] = 0;
            }
        }
    }
    std::vector<QByteArray> deltas = storedDeltas(doc, which.sprite);
    QByteArray &bytes = deltas[static_cast<std::size_t>(which.delta)];
    const QByteArray encoded = encodeDeltaLayer(layer, which);
    if (encoded == bytes)
        return false;
    bytes = encoded;
    replaceSpriteDeltas(doc, which.sprite, deltas);
    return true;
}

int addDelta(StyleDocument &doc, int sprite) {
    checkedSprite(doc, sprite);
    if (!isCarSprite(doc, sprite))
        throw EditorError(
            QStringLiteral("Only car sprites have deltas; sprite %1 is no car sprite.").arg(sprite));
    std::vector<QByteArray> deltas = storedDeltas(doc, sprite);
    if (deltas.size() >= DeltasPerSprite)
        throw EditorError(QStringLiteral("Sprite %1 already has %2 deltas, the most a sprite can have.")
                              .arg(sprite)
                              .arg(DeltasPerSprite));
    deltas.emplace_back();
    replaceSpriteDeltas(doc, sprite, deltas);
    return static_cast<int>(deltas.size()) - 1;
}

void removeDelta(StyleDocument &doc, SpriteDelta which) {
    checkDelta(doc, which);
    std::vector<QByteArray> deltas = storedDeltas(doc, which.sprite);
    deltas.erase(deltas.begin() + which.delta);
    replaceSpriteDeltas(doc, which.sprite, deltas);
}

QString deltaStepName(SpriteDelta which) {
    return QStringLiteral("draw on delta %1 of sprite %2").arg(which.delta).arg(which.sprite);
}
