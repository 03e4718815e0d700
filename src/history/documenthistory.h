#pragma once

#include "history/documentpart.h"
#include "style/styledocument.h"

#include <QUndoStack>
#include <array>
#include <functional>

// The undo history of the editor. Each step keeps, before and after, only the parts of the state
// its command changed, and undoing or redoing puts back only those parts: edits made since in
// other parts survive. Of the free texts (surface columns, car script) a step keeps and puts back
// only the lines its command changed, so what the user typed since stays too. The pixel stores and byte
// blocks are implicitly shared, so a step costs only what its command detached; the oldest steps are dropped
// when the steps together hold more than the memory limit.
class DocumentHistory {
public:
    static constexpr qint64 DefaultMemoryLimit = qint64(256) << 20;

    // `current` gives the state shown now, `apply` shows the state after an undo or a redo.
    DocumentHistory(std::function<StyleDocument()> current, std::function<void(const StyleDocument &)> apply);

    QUndoStack &stack() { return stack_; }
    const QUndoStack &stack() const { return stack_; }

    // Records a step that has already been done, from `before` to `after`, named after its
    // command. Nothing is recorded when the two are equal. A step with the same nonzero `merge`
    // key and name as the one before, changing the same parts, joins it. Returns whether the
    // history changed.
    bool record(const QString &name, const StyleDocument &before, const StyleDocument &after, int merge = 0);

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

    // The free texts the user types into: the surface columns 0 to 8 and the car script, 9.
    static constexpr int TextCount = SurfaceListCount + 1;
    // Lines `at` onwards of a free text as a step found them and as it left them. A change whose
    // lines the user has since retyped is given up: from then on the user's lines stand.
    struct LineChange {
        int at = 0;
        QStringList before;
        QStringList after;
        bool live = true;
    };
    using TextChanges = std::array<std::vector<LineChange>, TextCount>;

    // The user edited the free texts from `before` to `after`, outside the history. The steps'
    // changes move with the lines around them, so that undo and redo still find them.
    void followTextEdits(const StyleDocument &before, const StyleDocument &after);

    // For the steps: shows the current state with the parts in `mask` taken from `parts`, the rows
    // of `bands` written into its stores, and the changes of `texts` undone or redone line by line.
    void restore(const StyleDocument &parts, const DocumentParts &mask, const StoreBands &bands,
                 TextChanges &texts, bool undoing);
    bool replaying() const { return replaying_; }

private:
    void trim();

    QUndoStack stack_;
    std::function<StyleDocument()> current_;
    std::function<void(const StyleDocument &)> apply_;
    qint64 limit_ = DefaultMemoryLimit;
    bool replaying_ = false;
};
