#include "history/documenthistory.h"

#include "sample/samplestyle.h"

#include <QUndoStack>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The window's part: the state shown, which undo and redo replace.
struct History : ::testing::Test {
    History() { shown = makeSampleStyle(); }

    // Runs an edit on the shown state and records it.
    void edit(const QString &name, const std::function<void(StyleDocument &)> &change, int merge = 0) {
        const StyleDocument before = shown;
        change(shown);
        history.record(name, before, shown, merge);
    }

    StyleDocument shown;
    DocumentHistory history{[this] { return shown; },
                            [this](const StyleDocument &s) {
                                shown = s;
                            }};
};

void changeTile(StyleDocument &s, int value) {
    s.TileStore.scanLine(5)[7] = uchar(value);
}

TEST_F(History, UndoAndRedoRestoreEachStepExactly) {
    const StyleDocument start = shown;
    edit("import tile 0", [](StyleDocument &s) { changeTile(s, 99); });
    const StyleDocument afterTile = shown;
    edit("add palettes", [](StyleDocument &s) {
        s.PhysicalPaletteCount += 64;
        s.PhysicalPalettes[0] = char(0x7f);
    });
    const StyleDocument afterPalettes = shown;
    edit("edit car 3", [](StyleDocument &s) { s.CarInfoTable[3].num_doors = 0; });
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
    edit("import tile 0", [](StyleDocument &s) { changeTile(s, 99); });
    // Typed into a free-text view, which keeps its own undo.
    shown.SurfaceColumns[2] << "17";
    const QStringList typed = shown.SurfaceColumns[2];
    history.stack().undo();
    EXPECT_EQ(shown.SurfaceColumns[2], typed);
    EXPECT_NE(shown.TileStore.scanLine(5)[7], 99);
    history.stack().redo();
    EXPECT_EQ(shown.TileStore.scanLine(5)[7], 99);
    EXPECT_EQ(shown.SurfaceColumns[2], typed);
}

// The window reports each edit typed into a free text, as the views do.
void type(DocumentHistory &history, StyleDocument &shown,
          const std::function<void(StyleDocument &)> &typing) {
    const StyleDocument before = shown;
    typing(shown);
    history.followTextEdits(before, shown);
}

TEST_F(History, FreeTextStepsPutBackOnlyTheirLinesWhereverTypingMovedThem) {
    shown.CarScript = {"{ALFA}", "0 {model}", "0 {turbo}", "f0.5 {thrust}", "f1.5 {mass}", "end"};
    const QStringList script = shown.CarScript;
    edit("edit car", [](StyleDocument &s) {
        s.CarScript[2] = "1 {turbo}";
        s.CarScript[4] = "f2.000 {mass}";
    });
    edit("surface for tile 37", [](StyleDocument &s) { s.SurfaceColumns[2] << "37"; });
    const QStringList water = shown.SurfaceColumns[2];

    // Typed since, edit by edit: two lines above the car, a changed last line, and a tile below
    // the step's.
    type(history, shown, [](StyleDocument &d) { d.CarScript.insert(0, "{ comment }"); });
    type(history, shown, [](StyleDocument &d) { d.CarScript.insert(0, ""); });
    type(history, shown, [](StyleDocument &d) { d.CarScript.last() = "end of script"; });
    type(history, shown, [](StyleDocument &d) { d.SurfaceColumns[2] << "12"; });
    QStringList typed = {"", "{ comment }"};
    typed << script;
    typed.last() = "end of script";

    history.stack().undo();
    EXPECT_EQ(shown.SurfaceColumns[2], QStringList(water.mid(0, water.size() - 1)) << "12");
    history.stack().undo();
    EXPECT_EQ(shown.CarScript, typed);
    history.stack().redo();
    QStringList edited = typed;
    edited[4] = "1 {turbo}";
    edited[6] = "f2.000 {mass}";
    EXPECT_EQ(shown.CarScript, edited);

    // A line of the step retyped by the user stays as typed; the step's other line still goes.
    type(history, shown, [](StyleDocument &d) { d.CarScript[6] = "f3 {mass}"; });
    history.stack().undo();
    edited[4] = "0 {turbo}";
    edited[6] = "f3 {mass}";
    EXPECT_EQ(shown.CarScript, edited);
    history.stack().redo();
    edited[4] = "1 {turbo}";
    EXPECT_EQ(shown.CarScript, edited);
}

TEST_F(History, StepsOfOneFieldEditJoinButNotAcrossTheSavedState) {
    const quint8 width = shown.SpriteIndex[2].w;
    for (const int w : {3, 30, 33})
        edit(
            "edit sprite 2", [w](StyleDocument &s) { s.SpriteIndex[2].w = quint8(w); }, 1);
    EXPECT_EQ(history.stack().count(), 1);
    history.stack().setClean();
    edit(
        "edit sprite 2", [](StyleDocument &s) { s.SpriteIndex[2].w = 40; }, 1);
    EXPECT_EQ(history.stack().count(), 2);
    history.stack().undo();
    EXPECT_EQ(shown.SpriteIndex[2].w, 33);
    history.stack().undo();
    EXPECT_EQ(shown.SpriteIndex[2].w, width);
}

// A store of another height, kept whole by its step: one page more than the sample's per `k`.
void growTiles(StyleDocument &s, int k) {
    s.TileStore = makePixelStore((2 + k) * PageSide);
}

TEST_F(History, RowsChangedInAStoreCostOnlyThoseRows) {
    edit("import tile 0", [](StyleDocument &s) {
        changeTile(s, 1);
        s.TileStore.scanLine(9)[0] = 1;
    });
    EXPECT_EQ(history.memoryUsed(), 2 * 5 * PageSide);
    const StyleDocument after = shown;
    // Another command changed other rows meanwhile; undo puts back only the step's own.
    shown.TileStore.scanLine(100)[3] = 77;
    history.stack().undo();
    EXPECT_EQ(shown.TileStore.scanLine(100)[3], 77);
    EXPECT_NE(shown.TileStore.scanLine(9)[0], 1);
    history.stack().redo();
    EXPECT_EQ(shown.TileStore.scanLine(9)[0], 1);
    EXPECT_EQ(shown.TileStore.scanLine(5)[7], 1);
}

TEST_F(History, SharedBuffersCountOnceAndTheOldestStepsGoOverTheLimit) {
    const auto bytes = [](int pages) {
        return qint64(pages) * PageSide * PageSide;
    };
    edit("add tile page", [](StyleDocument &s) { growTiles(s, 1); });
    EXPECT_EQ(history.memoryUsed(), bytes(2) + bytes(3));
    // The second step's before is the first one's after.
    edit("add tile page", [](StyleDocument &s) { growTiles(s, 2); });
    EXPECT_EQ(history.memoryUsed(), bytes(2) + bytes(3) + bytes(4));

    history.stack().setClean();
    const StyleDocument saved = shown;
    // Room for the last two steps: stores of 9, 10 and 11 pages.
    history.setMemoryLimit(bytes(9) + bytes(10) + bytes(11));
    for (int k = 3; k < 10; ++k)
        edit(QStringLiteral("add page %1").arg(k), [k](StyleDocument &s) { growTiles(s, k); });
    EXPECT_EQ(history.memoryUsed(), bytes(9) + bytes(10) + bytes(11));
    EXPECT_EQ(history.stack().count(), 2);
    EXPECT_EQ(history.stack().text(0), "add page 8");
    // The saved state fell out of the history, so no undo can reach it as clean.
    EXPECT_FALSE(history.stack().isClean());
    while (history.stack().canUndo())
        history.stack().undo();
    EXPECT_EQ(shown.tilePageCount(), 9);
    EXPECT_NE(shown, saved);
    EXPECT_FALSE(history.stack().isClean());
}

TEST_F(History, TrimmingKeepsTheSavedStateWhenItIsStillThere) {
    const auto bytes = [](int pages) {
        return qint64(pages) * PageSide * PageSide;
    };
    history.setMemoryLimit(bytes(3) + bytes(4) + bytes(5) + bytes(6));
    for (int k = 1; k < 4; ++k)
        edit("add tile page", [k](StyleDocument &s) { growTiles(s, k); });
    history.stack().setClean();
    edit("add tile page", [](StyleDocument &s) { growTiles(s, 4); });
    EXPECT_EQ(history.stack().count(), 3);
    history.stack().undo();
    EXPECT_TRUE(history.stack().isClean());
    EXPECT_EQ(shown.tilePageCount(), 5);
}

} // namespace
