#pragma once

#include "graphics/graphicfile.h"
#include "style/styledocument.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <optional>

// The tools of the "draw" mode. Eyedropper and selection do not paint; the rest do.
enum class DrawTool { Pencil, Line, Rectangle, FilledRectangle, Fill, Eyedropper, Eraser, Select };

// What an edit did to a pixel. Layers that keep changes apart from the picture (deltas) read it:
// a drawn pixel becomes a change, an erased one stops being one.
enum class PixelMark : uchar { Untouched = 0, Drawn = 1, Erased = 2 };

// The drawing of one undo step on an 8-bit picture of one graphic. Every write is clipped to the
// picture, so nothing reaches past the graphic whatever the points given.
class PictureEdit {
public:
    // `erased` is what the eraser brings back, pixel for pixel; index 0 everywhere when null.
    explicit PictureEdit(const QImage &picture, const QImage &erased = QImage());

    // A press of a painting tool at `at` (a fill paints there and ignores later moves); the
    // selection tools are the calls below.
    void begin(DrawTool tool, uchar index, QPoint at);
    // The pointer moved on with the button down: pencil and eraser paint the line from the last
    // point, line and rectangles are drawn anew from the press point.
    void moveTo(QPoint at);
    // The press of a move: the pixels of `selection` are lifted, and each moveTo puts them down
    // shifted by the distance from `at`, leaving erased pixels behind.
    void beginMove(QRect selection, QPoint at);

    void erase(QRect area);
    // `piece` with its top-left at `at`; the parts outside the picture are dropped.
    void paste(const QImage &piece, QPoint at);
    void flip(QRect area, Qt::Orientation orientation);

    const QImage &picture() const { return picture_; }
    // One PixelMark per pixel (8-bit grey).
    const QImage &marks() const { return marks_; }
    // The rectangle of the move's pixels where they are now.
    QRect moved() const { return moved_; }
    // Whether an index changed; QImage's own comparison goes by colour, and palettes repeat colours.
    bool changed() const;

private:
    void restart();
    void plot(int x, int y, uchar index, PixelMark mark);
    void line(QPoint from, QPoint to, uchar index, PixelMark mark);
    void rectangle(QPoint from, QPoint to, bool filled);
    void fill(QPoint at);

    QImage original_, erased_, picture_, marks_;
    // Picture and marks at the press, which line, rectangle and move redraw from.
    QImage pressPicture_, pressMarks_;
    DrawTool tool_ = DrawTool::Pencil;
    uchar index_ = 0;
    QPoint press_, last_;
    QImage lifted_;
    QRect lift_, moved_;
};

// The rectangle spanned by two pixels, both included, cut to a picture of `size`; empty when it
// lies outside.
QRect pixelSpan(QPoint a, QPoint b, QSize size);
std::optional<uchar> pickIndex(const QImage &picture, QPoint at);
// The pixels of `area` as a picture of their own with the picture's colours.
QImage copyPixels(const QImage &picture, QRect area);
// Which indexes the picture uses.
std::array<bool, 256> usedIndexes(const QImage &picture);

// The graphic's place in its store; throws EditorError when it has no pixels there.
QRect graphicStoreRect(const StyleDocument &doc, Graphic graphic);
// Writes the drawing back over the graphic's pixels; only the graphic's rectangle is written.
// False when nothing differed. Throws EditorError, the document unchanged, when `picture` is not
// an 8-bit picture of the graphic's size.
bool storeDrawing(StyleDocument &doc, Graphic graphic, const QImage &picture);
// The undo step's name: "draw on sprite 5", "draw on tile 12".
QString drawingStepName(Graphic graphic);
// The pointer readout over a picture being drawn on: "X: 3, Y: 4, index: 17"; without the index
// off the picture.
QString drawingPointerReadout(QPoint pixel, std::optional<uchar> index);
