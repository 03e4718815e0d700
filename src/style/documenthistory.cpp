#include "documenthistory.h"

#include <set>
#include <utility>

namespace {

using PartMask = DocumentHistory::PartMask;

// Every part of the state a command may change, in one list so that comparing, copying and
// measuring cannot miss one. Parts that belong together (a palette store and its picture) share
// a group and change together.
template <typename A, typename B, typename F> void forEachPart(A &a, B &b, F &&f) {
    f(0, a.doc.PhysicalPalettes, b.doc.PhysicalPalettes);
    f(0, a.doc.PhysicalPaletteCount, b.doc.PhysicalPaletteCount);
    f(0, a.clut1, b.clut1);
    f(1, a.doc.PaletteIndex, b.doc.PaletteIndex);
    f(2, a.doc.PaletteCounts, b.doc.PaletteCounts);
    f(2, a.doc.PaletteBases, b.doc.PaletteBases);
    f(3, a.doc.CarInfoTable, b.doc.CarInfoTable);
    f(4, a.doc.SpriteBases, b.doc.SpriteBases);
    f(5, a.doc.SpriteIndex, b.doc.SpriteIndex);
    f(5, a.doc.SpriteIndexSize, b.doc.SpriteIndexSize);
    f(6, a.doc.RecycleList, b.doc.RecycleList);
    f(7, a.doc.DeltaIndex, b.doc.DeltaIndex);
    f(7, a.doc.DeltaStore, b.doc.DeltaStore);
    f(8, a.doc.ObjectInfo, b.doc.ObjectInfo);
    f(9, a.doc.SurfaceLists, b.doc.SurfaceLists);
    f(10, a.doc.SurfaceColumns, b.doc.SurfaceColumns);
    f(11, a.doc.CarScript, b.doc.CarScript);
    f(12, a.doc.TileStore, b.doc.TileStore);
    f(13, a.doc.SpriteStore, b.doc.SpriteStore);
}

PartMask changedParts(const EditorState &before, const EditorState &after) {
    PartMask changed{};
    forEachPart(before, after, [&](int group, const auto &x, const auto &y) {
        if (!(x == y))
            changed[std::size_t(group)] = true;
    });
    return changed;
}

void copyParts(EditorState &target, const EditorState &source, const PartMask &mask) {
    forEachPart(target, source, [&](int group, auto &x, const auto &y) {
        if (mask[std::size_t(group)])
            x = y;
    });
}

// Only the masked parts of `state`; the others are left empty so that they cost nothing.
EditorState keptParts(const EditorState &state, const PartMask &mask) {
    EditorState kept;
    kept.doc.PhysicalPalettes.clear();
    copyParts(kept, state, mask);
    return kept;
}

using Seen = std::set<const void *>;

template <typename T> qint64 bytesOf(const T &, Seen &) {
    return 0;
}
qint64 bytesOf(const QByteArray &bytes, Seen &seen) {
    return !bytes.isEmpty() && seen.insert(bytes.constData()).second ? bytes.size() : 0;
}
qint64 bytesOf(const QImage &image, Seen &seen) {
    return !image.isNull() && seen.insert(image.constBits()).second ? image.sizeInBytes() : 0;
}
template <typename T, std::size_t N> qint64 bytesOf(const BoundedTable<T, N> &table, Seen &) {
    return qint64(table.size() * sizeof(T));
}
qint64 bytesOf(const QStringList &lines, Seen &) {
    qint64 bytes = 0;
    for (const QString &line : lines)
        bytes += line.size() * qint64(sizeof(QChar));
    return bytes;
}
template <std::size_t N> qint64 bytesOf(const std::array<QStringList, N> &columns, Seen &seen) {
    qint64 bytes = 0;
    for (const QStringList &column : columns)
        bytes += bytesOf(column, seen);
    return bytes;
}

qint64 stateBytes(const EditorState &state, Seen &seen) {
    qint64 bytes = 0;
    forEachPart(state, state, [&](int, const auto &x, const auto &) { bytes += bytesOf(x, seen); });
    return bytes;
}

class SnapshotCommand final : public QUndoCommand {
public:
    SnapshotCommand(DocumentHistory &history, const QString &name, const PartMask &mask, EditorState before,
                    EditorState after, int merge)
        : QUndoCommand(name), history_(history), mask_(mask), before_(std::move(before)),
          after_(std::move(after)), merge_(merge) {}

    // The command's work is done before it is recorded, so the redo of the push does nothing.
    void redo() override {
        if (std::exchange(done_, true) && !history_.replaying())
            history_.restore(after_, mask_);
    }
    void undo() override {
        if (!history_.replaying())
            history_.restore(before_, mask_);
    }
    int id() const override { return merge_ == 0 ? -1 : merge_; }
    bool mergeWith(const QUndoCommand *other) override {
        const auto *next = static_cast<const SnapshotCommand *>(other);
        if (next->text() != text() || next->mask_ != mask_)
            return false;
        after_ = next->after_;
        return true;
    }

    qint64 bytes(Seen &seen) const { return stateBytes(before_, seen) + stateBytes(after_, seen); }
    SnapshotCommand *copy() const {
        return new SnapshotCommand(history_, text(), mask_, before_, after_, merge_);
    }

private:
    DocumentHistory &history_;
    PartMask mask_;
    EditorState before_;
    EditorState after_;
    int merge_;
    bool done_ = false;
};

} // namespace

DocumentHistory::DocumentHistory(std::function<EditorState()> current,
                                 std::function<void(const EditorState &)> apply)
    : current_(std::move(current)), apply_(std::move(apply)) {}

bool DocumentHistory::record(const QString &name, const EditorState &before, const EditorState &after,
                             int merge) {
    const PartMask mask = changedParts(before, after);
    if (mask == PartMask{})
        return false;
    stack_.push(
        new SnapshotCommand(*this, name, mask, keptParts(before, mask), keptParts(after, mask), merge));
    trim();
    return true;
}

void DocumentHistory::reset() {
    stack_.clear();
    stack_.setClean();
}

void DocumentHistory::setMemoryLimit(qint64 bytes) {
    limit_ = bytes;
    trim();
}

qint64 DocumentHistory::memoryUsed() const {
    Seen seen;
    qint64 bytes = 0;
    for (int i = 0; i < stack_.count(); ++i)
        bytes += static_cast<const SnapshotCommand *>(stack_.command(i))->bytes(seen);
    return bytes;
}

void DocumentHistory::restore(const EditorState &parts, const PartMask &mask) {
    EditorState state = current_();
    copyParts(state, parts, mask);
    apply_(state);
}

void DocumentHistory::trim() {
    if (stack_.count() <= 1 || memoryUsed() <= limit_)
        return;
    // QUndoStack cannot drop its oldest commands, so the kept ones go into a fresh stack.
    std::vector<SnapshotCommand *> kept;
    for (int i = 0; i < stack_.count(); ++i)
        kept.push_back(static_cast<const SnapshotCommand *>(stack_.command(i))->copy());
    const int index = stack_.index();
    const int clean = stack_.cleanIndex();
    std::size_t dropped = 0;
    {
        Seen seen;
        qint64 bytes = 0;
        for (std::size_t i = kept.size(); i-- > 0;) {
            bytes += kept[i]->bytes(seen);
            if (bytes > limit_ && i + 1 < kept.size()) {
                dropped = i + 1;
                break;
            }
        }
    }
    replaying_ = true;
    stack_.clear();
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i < dropped)
            delete kept[i];
        else
            stack_.push(kept[i]);
    }
    const int shift = int(dropped);
    if (clean >= shift) {
        stack_.setIndex(clean - shift);
        stack_.setClean();
    } else {
        stack_.resetClean();
    }
    stack_.setIndex(std::max(0, index - shift));
    replaying_ = false;
}
