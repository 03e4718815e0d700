#pragma once

#include "styledocument.h"

#include <QImage>
#include <QUndoStack>
#include <array>
#include <functional>

// What an edit can change: the document and the palette table picture drawn from it.
struct EditorState {
    StyleDocument doc;
    QImage clut1;
    bool operator==(const EditorState &) const = default;
};

// The undo history of the editor. Each step keeps, before and after, only the parts of the state
// its command changed, and undoing or redoing puts back only those parts: edits made since in
// other parts (the free-text views keep their own undo) survive. The pixel stores and byte blocks
// are implicitly shared, so a step costs only what its command detached; the oldest steps are
// dropped when the steps together hold more than the memory limit.
class DocumentHistory {
public:
    static constexpr qint64 DefaultMemoryLimit = qint64(256) << 20;
    static constexpr int PartGroups = 14;
    using PartMask = std::array<bool, PartGroups>;

    // `current` gives the state shown now, `apply` shows the state after an undo or a redo.
    DocumentHistory(std::function<EditorState()> current, std::function<void(const EditorState &)> apply);

    QUndoStack &stack() { return stack_; }
    const QUndoStack &stack() const { return stack_; }

    // Records a step that has already been done, from `before` to `after`, named after its
    // command. Nothing is recorded when the two are equal. A step with the same nonzero `merge`
    // key and name as the one before, changing the same parts, joins it. Returns whether the
    // history changed.
    bool record(const QString &name, const EditorState &before, const EditorState &after, int merge = 0);

    // A new document: no steps, and the state is the saved one.
    void reset();
    void setMemoryLimit(qint64 bytes);
    // The bytes the steps hold, each shared buffer counted once.
    qint64 memoryUsed() const;

    // Rows `top` onwards of a pixel store, kept instead of the whole store by a step that changed
    // only them; `top` is -1 when there are none.
    struct StoreRows {
        int top = -1;
        QImage rows;
    };
    // The tile store's and the sprite store's.
    using StoreBands = std::array<StoreRows, 2>;

    // For the steps: shows the current state with the parts in `mask` taken from `parts` and the
    // rows of `bands` written into its stores.
    void restore(const EditorState &parts, const PartMask &mask, const StoreBands &bands);
    bool replaying() const { return replaying_; }

private:
    void trim();

    QUndoStack stack_;
    std::function<EditorState()> current_;
    std::function<void(const EditorState &)> apply_;
    qint64 limit_ = DefaultMemoryLimit;
    bool replaying_ = false;
};
