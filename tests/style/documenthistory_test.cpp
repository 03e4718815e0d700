#include "documenthistory.h"

#include "samplestyle.h"

#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

// The window's part: the state shown, which undo and redo replace.
struct History : ::testing::Test {
    History() {
        shown.doc = makeSampleStyle();
        shown.clut1 = QImage(4, 4, QImage::Format_RGB32);
        shown.clut1.fill(Qt::black);
    }

    // Runs an edit on the shown state and records it.
    void edit(const QString &name, const std::function<void(EditorState &)> &change, int merge = 0) {
        const EditorState before = shown;
        change(shown);
        history.record(name, before, shown, merge);
    }

    EditorState shown;
    DocumentHistory history{[this] { return shown; },
                            [this](const EditorState &s) {
                                shown = s;
                            }};
};

void changeTile(EditorState &s, int value) {
    s.doc.TileStore.scanLine(5)[7] = uchar(value);
}

TEST_F(History, UndoAndRedoRestoreEachStepExactly) {
    const EditorState start = shown;
    edit("import tile 0", [](EditorState &s) { changeTile(s, 99); });
    const EditorState afterTile = shown;
    edit("add palettes", [](EditorState &s) {
        s.doc.PhysicalPaletteCount += 64;
        s.clut1.fill(Qt::white);
    });
    const EditorState afterPalettes = shown;
    edit("edit car 3", [](EditorState &s) { s.doc.CarInfoTable[3].num_doors = 0; });
    QUndoStack &stack = history.stack();
    ASSERT_EQ(stack.count(), 3);
    EXPECT_EQ(stack.undoText(), "edit car 3");

    stack.undo();
    EXPECT_EQ(shown, afterPalettes);
    stack.undo();
    EXPECT_EQ(shown, afterTile);
    stack.undo();
    EXPECT_EQ(shown, start);
    EXPECT_TRUE(stack.isClean());
    stack.redo();
    stack.redo();
    EXPECT_EQ(shown, afterPalettes);
    EXPECT_FALSE(stack.isClean());

    // Equal states record nothing.
    EXPECT_FALSE(history.record("nothing", shown, shown));
    EXPECT_EQ(stack.count(), 3);
}

TEST_F(History, PartsChangedOutsideTheHistorySurviveAnUndo) {
    edit("import tile 0", [](EditorState &s) { changeTile(s, 99); });
    // Typed into a free-text view, which keeps its own undo.
    shown.doc.SurfaceColumns[2] << "17";
    const QStringList typed = shown.doc.SurfaceColumns[2];
    history.stack().undo();
    EXPECT_EQ(shown.doc.SurfaceColumns[2], typed);
    EXPECT_NE(shown.doc.TileStore.scanLine(5)[7], 99);
    history.stack().redo();
    EXPECT_EQ(shown.doc.TileStore.scanLine(5)[7], 99);
    EXPECT_EQ(shown.doc.SurfaceColumns[2], typed);
}

TEST_F(History, StepsOfOneFieldEditJoinButNotAcrossTheSavedState) {
    const quint8 width = shown.doc.SpriteIndex[2].w;
    for (const int w : {3, 30, 33})
        edit(
            "edit sprite 2", [w](EditorState &s) { s.doc.SpriteIndex[2].w = quint8(w); }, 1);
    EXPECT_EQ(history.stack().count(), 1);
    history.stack().setClean();
    edit(
        "edit sprite 2", [](EditorState &s) { s.doc.SpriteIndex[2].w = 40; }, 1);
    EXPECT_EQ(history.stack().count(), 2);
    history.stack().undo();
    EXPECT_EQ(shown.doc.SpriteIndex[2].w, 33);
    history.stack().undo();
    EXPECT_EQ(shown.doc.SpriteIndex[2].w, width);
}

TEST_F(History, SharedBuffersCountOnceAndTheOldestStepsGoOverTheLimit) {
    const qint64 store = shown.doc.TileStore.sizeInBytes();
    edit("import tile 0", [](EditorState &s) { changeTile(s, 1); });
    // Before and after each hold a store; the second step shares its before with the first's after.
    EXPECT_EQ(history.memoryUsed(), 2 * store);
    edit("import tile 1", [](EditorState &s) { changeTile(s, 2); });
    EXPECT_EQ(history.memoryUsed(), 3 * store);

    history.stack().setClean();
    const EditorState saved = shown;
    history.setMemoryLimit(5 * store);
    for (int k = 3; k < 10; ++k)
        edit(QStringLiteral("import tile %1").arg(k), [k](EditorState &s) { changeTile(s, k); });
    EXPECT_LE(history.memoryUsed(), 5 * store);
    EXPECT_EQ(history.stack().count(), 4);
    EXPECT_EQ(history.stack().text(0), "import tile 6");
    // The saved state fell out of the history, so no undo can reach it as clean.
    EXPECT_FALSE(history.stack().isClean());
    while (history.stack().canUndo())
        history.stack().undo();
    EXPECT_EQ(shown.doc.TileStore.scanLine(5)[7], 5);
    EXPECT_NE(shown, saved);
    EXPECT_FALSE(history.stack().isClean());
}

TEST_F(History, TrimmingKeepsTheSavedStateWhenItIsStillThere) {
    const qint64 store = shown.doc.TileStore.sizeInBytes();
    history.setMemoryLimit(4 * store);
    for (int k = 0; k < 3; ++k)
        edit("import tile", [k](EditorState &s) { changeTile(s, k + 1); });
    history.stack().setClean();
    edit("import tile", [](EditorState &s) { changeTile(s, 50); });
    EXPECT_EQ(history.stack().count(), 3);
    history.stack().undo();
    EXPECT_TRUE(history.stack().isClean());
    EXPECT_EQ(shown.doc.TileStore.scanLine(5)[7], 3);
}

} // namespace
