#include "history/documenthistory.h"

#include "platform/imagememory.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <utility>

namespace {

void copyParts(StyleDocument &target, const StyleDocument &source, const DocumentParts &mask) {
    forEachField(target, source, [&](DocumentPart part, auto &x, const auto &y) {
        if (mask.has(part))
            x = y;
    });
}

// Only the masked parts of `state`; the others are left empty so that they cost nothing.
StyleDocument keptParts(const StyleDocument &state, const DocumentParts &mask) {
    StyleDocument kept;
    kept.PhysicalPalettes.clear();
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

qint64 stateBytes(const StyleDocument &state, Seen &seen) {
    qint64 bytes = 0;
    forEachField(state, state, [&](DocumentPart, const auto &x, const auto &) { bytes += bytesOf(x, seen); });
    return bytes;
}

using LineChange = DocumentHistory::LineChange;
using TextChanges = DocumentHistory::TextChanges;

QStringList &textOf(StyleDocument &doc, std::size_t text) {
    return text < SurfaceListCount ? doc.SurfaceColumns[text] : doc.CarScript;
}
const QStringList &textOf(const StyleDocument &doc, std::size_t text) {
    return text < SurfaceListCount ? doc.SurfaceColumns[text] : doc.CarScript;
}
DocumentPart partOfText(std::size_t text) {
    return text < SurfaceListCount ? DocumentPart::SurfaceColumns : DocumentPart::CarScript;
}

// The lines before the first and after the last that differ between two texts.
std::pair<qsizetype, qsizetype> sameEnds(const QStringList &before, const QStringList &after) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return {head, tail};
}

// What a command changed in a text: each run of changed lines when the line count stayed (the car
// editor rewrites lines in place), else the lines from the first to the last that differ.
std::vector<LineChange> lineChanges(const QStringList &before, const QStringList &after) {
    const auto [head, tail] = sameEnds(before, after);
    if (before.size() != after.size())
        return {{int(head), before.mid(head, before.size() - head - tail),
                 after.mid(head, after.size() - head - tail), true}};
    std::vector<LineChange> changes;
    for (qsizetype line = head; line < before.size() - tail;) {
        qsizetype end = line;
        while (end < before.size() - tail && before[end] != after[end])
            ++end;
        if (end > line)
            changes.push_back({int(line), before.mid(line, end - line), after.mid(line, end - line), true});
        line = std::max(end, line + 1);
    }
    return changes;
}

bool holdsAt(const QStringList &text, qsizetype at, const QStringList &lines) {
    if (at < 0 || at + lines.size() > text.size())
        return false;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (text[at + i] != lines[i])
            return false;
    return true;
}

// Puts back the lines each change found (undoing) or left, from the last change up so that the
// earlier ones keep their places. Lines the user has retyped since are left as they are.
void replayChanges(QStringList &text, std::vector<LineChange> &changes, bool undoing) {
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        const QStringList &shown = undoing ? change->after : change->before;
        const QStringList &wanted = undoing ? change->before : change->after;
        if (!change->live || !holdsAt(text, change->at, shown)) {
            change->live = false;
            continue;
        }
        text = text.mid(0, change->at) + wanted + text.mid(change->at + shown.size());
    }
}

// The user's edit of a text: lines `from` up to `to` became `to - from + shift` lines.
struct TextEdit {
    qsizetype from;
    qsizetype to;
    qsizetype shift;
};

std::optional<TextEdit> textEdit(const QStringList &before, const QStringList &after) {
    if (before == after)
        return std::nullopt;
    const auto [head, tail] = sameEnds(before, after);
    return TextEdit{head, before.size() - tail, after.size() - before.size()};
}

qint64 bytesOf(const TextChanges &texts) {
    qint64 bytes = 0;
    for (const std::vector<LineChange> &changes : texts)
        for (const LineChange &change : changes)
            for (const QStringList *lines : {&change.before, &change.after})
                for (const QString &line : *lines)
                    bytes += line.size() * qint64(sizeof(QChar));
    return bytes;
}

using StoreRows = DocumentHistory::StoreRows;
using StoreBands = DocumentHistory::StoreBands;
// The pixel stores a step may keep as bands of rows, in the order of `StoreBands`.
constexpr std::array<DocumentPart, 2> BandedStores{DocumentPart::TileStore, DocumentPart::SpriteStore};

QImage &storeOf(StyleDocument &doc, std::size_t store) {
    return store == 0 ? doc.TileStore : doc.SpriteStore;
}
const QImage &storeOf(const StyleDocument &doc, std::size_t store) {
    return store == 0 ? doc.TileStore : doc.SpriteStore;
}

// The rows from the first to the last that differ between two stores of one shape, before and
// after; nothing when the shapes differ, so the whole stores must be kept.
std::optional<std::pair<StoreRows, StoreRows>> changedRows(const QImage &before, const QImage &after) {
    if (before.isNull() || before.size() != after.size() || before.format() != after.format())
        return std::nullopt;
    const auto differs = [&](int y) {
        return std::memcmp(before.constScanLine(y), after.constScanLine(y),
                           std::size_t(before.bytesPerLine())) != 0;
    };
    int top = 0;
    while (top < before.height() && !differs(top))
        ++top;
    int bottom = before.height();
    while (bottom > top && !differs(bottom - 1))
        --bottom;
    const QRect band(0, top, before.width(), bottom - top);
    if (band.isEmpty())
        return std::pair(StoreRows{top, QImage()}, StoreRows{top, QImage()});
    return std::pair(StoreRows{top, allocated(before.copy(band))},
                     StoreRows{top, allocated(after.copy(band))});
}

qint64 bandBytes(const StoreBands &bands, Seen &seen) {
    qint64 bytes = 0;
    for (const StoreRows &band : bands)
        bytes += bytesOf(band.rows, seen);
    return bytes;
}

class SnapshotCommand final : public QUndoCommand {
public:
    // From the whole states before and after the command.
    SnapshotCommand(DocumentHistory &history, const QString &name, const StyleDocument &before,
                    const StyleDocument &after, int merge)
        : QUndoCommand(name), history_(history), mask_(changedParts(before, after)), merge_(merge) {
        DocumentParts whole = mask_;
        for (std::size_t store = 0; store < BandedStores.size(); ++store) {
            if (!mask_.has(BandedStores[store]))
                continue;
            if (auto rows = changedRows(storeOf(before, store), storeOf(after, store))) {
                beforeBands_[store] = std::move(rows->first);
                afterBands_[store] = std::move(rows->second);
                whole.set(BandedStores[store], false);
            }
        }
        // The free texts keep only their changed lines.
        for (std::size_t text = 0; text < texts_.size(); ++text) {
            if (mask_.has(partOfText(text)))
                texts_[text] = lineChanges(textOf(before, text), textOf(after, text));
        }
        whole.set(DocumentPart::SurfaceColumns, false);
        whole.set(DocumentPart::CarScript, false);
        before_ = keptParts(before, whole);
        after_ = keptParts(after, whole);
        wholeMask_ = whole;
    }

    // The command's work is done before it is recorded, so the redo of the push does nothing.
    void redo() override {
        if (std::exchange(done_, true) && !history_.replaying())
            history_.restore(after_, wholeMask_, afterBands_, texts_, false);
    }
    void undo() override {
        if (!history_.replaying())
            history_.restore(before_, wholeMask_, beforeBands_, texts_, true);
    }
    int id() const override { return merge_ == 0 ? -1 : merge_; }
    bool mergeWith(const QUndoCommand *other) override {
        const auto *next = static_cast<const SnapshotCommand *>(other);
        if (next->text() != text() || next->mask_ != mask_ || next->wholeMask_ != mask_ ||
            wholeMask_ != mask_)
            return false;
        after_ = next->after_;
        return true;
    }

    qint64 bytes(Seen &seen) const {
        return stateBytes(before_, seen) + stateBytes(after_, seen) + bandBytes(beforeBands_, seen) +
               bandBytes(afterBands_, seen) + bytesOf(texts_);
    }

    // Moves this step's changes of `text` past the user's `edit`, which is given in the lines the
    // step left when it is done and in those it found when it is undone; then gives the edit in
    // the lines of the step's other side. A change the edit reaches into stays where it is: its
    // lines no longer match, so undo and redo leave the user's lines alone.
    void follow(std::size_t text, TextEdit &edit, bool done) const {
        std::vector<LineChange> &changes = texts_[text];
        const auto across = [&](qsizetype line) {
            qsizetype moved = 0;
            for (const LineChange &change : changes) {
                const qsizetype here = (done ? change.after : change.before).size();
                const qsizetype there = (done ? change.before : change.after).size();
                if (line < change.at + here)
                    return std::min<qsizetype>(line, change.at) + moved;
                moved += there - here;
            }
            return line + moved;
        };
        const TextEdit other{across(edit.from), across(edit.to), edit.shift};
        for (LineChange &change : changes)
            if (change.at >= edit.to)
                change.at += int(edit.shift);
        edit = other;
    }
    SnapshotCommand *copy() const { return new SnapshotCommand(*this); }

private:
    SnapshotCommand(const SnapshotCommand &other)
        : QUndoCommand(other.text()), history_(other.history_), mask_(other.mask_),
          wholeMask_(other.wholeMask_), before_(other.before_), after_(other.after_),
          beforeBands_(other.beforeBands_), afterBands_(other.afterBands_), texts_(other.texts_),
          merge_(other.merge_) {}

    DocumentHistory &history_;
    DocumentParts mask_;      // every part the command changed
    DocumentParts wholeMask_; // the parts kept whole; the stores changed in rows only are in the bands
    StyleDocument before_;
    StyleDocument after_;
    StoreBands beforeBands_;
    StoreBands afterBands_;
    // Where the changed lines sit follows the user's typing, also in the steps the stack only
    // hands out read-only.
    mutable TextChanges texts_;
    int merge_;
    bool done_ = false;
};

} // namespace

DocumentHistory::DocumentHistory(std::function<StyleDocument()> current,
                                 std::function<void(const StyleDocument &)> apply)
    : current_(std::move(current)), apply_(std::move(apply)) {}

bool DocumentHistory::record(const QString &name, const StyleDocument &before, const StyleDocument &after,
                             int merge) {
    if (changedParts(before, after).none())
        return false;
    stack_.push(new SnapshotCommand(*this, name, before, after, merge));
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

void DocumentHistory::followTextEdits(const StyleDocument &before, const StyleDocument &after) {
    const auto step = [this](int i) {
        return static_cast<const SnapshotCommand *>(stack_.command(i));
    };
    for (std::size_t text = 0; text < std::size_t(TextCount); ++text) {
        const std::optional<TextEdit> edit = textEdit(textOf(before, text), textOf(after, text));
        if (!edit)
            continue;
        // The steps done lie behind the text shown, the newest nearest; the undone ones ahead.
        TextEdit behind = *edit;
        for (int i = stack_.index(); i-- > 0;)
            step(i)->follow(text, behind, true);
        TextEdit ahead = *edit;
        for (int i = stack_.index(); i < stack_.count(); ++i)
            step(i)->follow(text, ahead, false);
    }
}

void DocumentHistory::restore(const StyleDocument &parts, const DocumentParts &mask, const StoreBands &bands,
                              TextChanges &texts, bool undoing) {
    StyleDocument state = current_();
    copyParts(state, parts, mask);
    for (std::size_t store = 0; store < bands.size(); ++store) {
        const StoreRows &band = bands[store];
        QImage &image = storeOf(state, store);
        if (band.top < 0 || band.top + band.rows.height() > image.height())
            continue;
        for (int y = 0; y < band.rows.height(); ++y)
            std::memcpy(writableLine(image, band.top + y), band.rows.constScanLine(y),
                        std::size_t(band.rows.bytesPerLine()));
    }
    for (std::size_t text = 0; text < texts.size(); ++text)
        replayChanges(textOf(state, text), texts[text], undoing);
    apply_(state);
}

void DocumentHistory::trim() {
    if (stack_.count() <= 1 || memoryUsed() <= limit_)
        return;
    // QUndoStack cannot drop its oldest commands, so the kept ones go into a fresh stack.
    std::vector<SnapshotCommand *> kept;
    kept.reserve(std::size_t(stack_.count()));
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
