#pragma once

#include "style/styledocument.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QRect>
#include <optional>
#include <vector>

// Delta positions count 256 to a row, whatever the sprite's width, in 16 bits.
inline constexpr int DeltaRasterWidth = 256;
inline constexpr int DeltaRunHeaderBytes = 3;
inline constexpr int MaxDeltaRunLength = 255;
inline constexpr int MaxDeltaRuns = 2001;
inline constexpr int MaxDeltaBytes = 65535;

// The entry holding the deltas of `sprite`; the first one when the index lists it twice.
std::optional<int> findDeltaEntry(const StyleDocument &doc, int sprite);
// Offset in the DeltaStore of the first delta of entry `entry`: the deltas of all entries before it.
qint64 deltaEntryStart(const StyleDocument &doc, int entry);
// Total byte size of the deltas of entry `entry`.
qint64 deltaEntryBytes(const DeltaIndexEntry &entry);

// The bytes of delta `delta` of `sprite`, cut where the store ends; empty when the sprite has no
// such delta.
QByteArrayView deltaBytes(const StyleDocument &doc, int sprite, int delta);
// The same of the index entry `entry`, whose deltas start at `offset` of the store.
QByteArrayView deltaBytes(const StyleDocument &doc, const DeltaIndexEntry &entry, qint64 offset, int delta);

// Draws the runs of one delta with the sprite's top-left pixel at `origin` of the 8-bit `target`.
// Only pixels inside `clip` and the target are written, so damaged data cannot reach beyond the
// sprite; a run cut short by the end of the bytes is drawn as far as it goes.
void decodeDelta(QByteArrayView delta, QImage &target, QPoint origin, const QRect &clip);

// Draws delta `delta` of sprite `sprite` onto the 8-bit `target` with the sprite's top-left pixel
// at the offset, clipped to the sprite's own rectangle there. Nothing is drawn for a sprite
// without that delta.
void applyDelta(const StyleDocument &doc, int sprite, int delta, QImage &target, int xOffset, int yOffset);

// Appends to `stream` the delta that turns the 8-bit `unchanged` into the 8-bit `changed` (same
// size, at most 256 * 256) and returns the number of bytes appended: 0 when they are equal. Runs
// are maximal stretches of differing pixels within a row, at most 255 long. Throws EditorError,
// leaving `stream` as it was, when the changes need more than MaxDeltaRuns runs or
// MaxDeltaBytes bytes.
int encodeDelta(QByteArray &stream, const QImage &unchanged, const QImage &changed);

// Replaces the deltas of `sprite` by `deltas`: their bytes take the place of the sprite's old ones
// in the DeltaStore and every other entry keeps its bytes. A sprite without an entry gets one at
// the end of the index; of two entries the first is used. Throws EditorError, with the document
// unchanged, when there are more than 33 deltas, one is larger than MaxDeltaBytes, or the index
// addresses bytes past the end of the store.
void replaceSpriteDeltas(StyleDocument &doc, int sprite, const std::vector<QByteArray> &deltas);
