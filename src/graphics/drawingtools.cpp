#include "graphics/drawingtools.h"

#include "graphics/spritepicture.h"
#include "graphics/tilenumbering.h"
#include "platform/editorerror.h"
#include "platform/imagememory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Pointer positions far off the picture still give a line through it; keeping them within this
// bound keeps the number of steps small without moving any pixel inside the picture.
constexpr int PointBound = 1 << 16;

QPoint bounded(QPoint p) {
    return QPoint(std::clamp(p.x(), -PointBound, PointBound), std::clamp(p.y(), -PointBound, PointBound));
}

// Both corners included, whichever way round they are given.
QRect spanned(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QImage markImage(QSize size) {
    QImage marks = makeImage(size, QImage::Format_Grayscale8);
    marks.fill(0);
    return marks;
}

} // namespace

PictureEdit::PictureEdit(const QImage &picture, const QImage &erased)
    : original_(picture), erased_(erased), picture_(picture), marks_(markImage(picture.size())) {
    if (picture.format() != QImage::Format_Indexed8)
        throw EditorError(QStringLiteral("Only 8-bit pictures can be drawn on."));
    if (!erased_.isNull() &&
        (erased_.format() != QImage::Format_Indexed8 || erased_.size() != picture.size()))
        throw EditorError(
            QStringLiteral("What the eraser brings back must be an 8-bit picture of the same size."));
    pressPicture_ = picture_;
    pressMarks_ = marks_;
}

void PictureEdit::restart() {
    picture_ = pressPicture_;
    marks_ = pressMarks_;
}

void PictureEdit::plot(int x, int y, uchar index, PixelMark mark) {
    if (x < 0 || y < 0 || x >= picture_.width() || y >= picture_.height())
        return;
    writableLine(picture_, y)[x] =
        mark == PixelMark::Erased && !erased_.isNull() ? erased_.constScanLine(y)[x] : index;
    writableLine(marks_, y)[x] = static_cast<uchar>(mark);
}

void PictureEdit::line(QPoint from, QPoint to, uchar index, PixelMark mark) {
    from = bounded(from);
    to = bounded(to);
    const int dx = std::abs(to.x() - from.x()), dy = -std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1, sy = from.y() < to.y() ? 1 : -1;
    int x = from.x(), y = from.y(), error = dx + dy;
    for (;;) {
        plot(x, y, index, mark);
        if (x == to.x() && y == to.y())
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void PictureEdit::rectangle(QPoint from, QPoint to, bool filled) {
    const QRect whole = spanned(bounded(from), bounded(to));
    if (filled) {
        const QRect area = whole & picture_.rect();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                plot(x, y, index_, PixelMark::Drawn);
        return;
    }
    line(whole.topLeft(), whole.topRight(), index_, PixelMark::Drawn);
    line(whole.bottomLeft(), whole.bottomRight(), index_, PixelMark::Drawn);
    line(whole.topLeft(), whole.bottomLeft(), index_, PixelMark::Drawn);
    line(whole.topRight(), whole.bottomRight(), index_, PixelMark::Drawn);
}

void PictureEdit::fill(QPoint at) {
    if (!picture_.rect().contains(at))
        return;
    const int width = picture_.width(), height = picture_.height();
    const uchar target = picture_.pixelIndex(at);
    std::vector<bool> seen(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::vector<QPoint> pending{at};
    // Each pixel of the area is taken once: the original picture decides the area, so filling
    // with the index it already has still marks every pixel of it as drawn.
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        const std::size_t visited = static_cast<std::size_t>(p.y()) * width + p.x();
        if (seen[visited] || pressPicture_.constScanLine(p.y())[p.x()] != target)
            continue;
        seen[visited] = true;
        plot(p.x(), p.y(), index_, PixelMark::Drawn);
        if (p.x() > 0)
            pending.emplace_back(p.x() - 1, p.y());
        if (p.x() + 1 < width)
            pending.emplace_back(p.x() + 1, p.y());
        if (p.y() > 0)
            pending.emplace_back(p.x(), p.y() - 1);
        if (p.y() + 1 < height)
            pending.emplace_back(p.x(), p.y() + 1);
    }
}

void PictureEdit::begin(DrawTool tool, uchar index, QPoint at) {
    pressPicture_ = picture_;
    pressMarks_ = marks_;
    tool_ = tool;
    index_ = index;
    press_ = last_ = at;
    switch (tool) {
    case DrawTool::Pencil:
    case DrawTool::Line:
        line(at, at, index, PixelMark::Drawn);
        break;
    case DrawTool::Eraser:
        line(at, at, 0, PixelMark::Erased);
        break;
    case DrawTool::Rectangle:
    case DrawTool::FilledRectangle:
        rectangle(at, at, tool == DrawTool::FilledRectangle);
        break;
    case DrawTool::Fill:
        fill(at);
        break;
    case DrawTool::Eyedropper:
    case DrawTool::Select:
        break;
    }
}

void PictureEdit::beginMove(QRect selection, QPoint at) {
    lift_ = selection & picture_.rect();
    lifted_ = copyPixels(picture_, lift_);
    moved_ = lift_;
    pressPicture_ = picture_;
    pressMarks_ = marks_;
    tool_ = DrawTool::Select;
    press_ = last_ = at;
}

void PictureEdit::moveTo(QPoint at) {
    switch (tool_) {
    case DrawTool::Pencil:
        line(last_, at, index_, PixelMark::Drawn);
        break;
    case DrawTool::Eraser:
        line(last_, at, 0, PixelMark::Erased);
        break;
    case DrawTool::Line:
        restart();
        line(press_, at, index_, PixelMark::Drawn);
        break;
    case DrawTool::Rectangle:
    case DrawTool::FilledRectangle:
        restart();
        rectangle(press_, at, tool_ == DrawTool::FilledRectangle);
        break;
    case DrawTool::Select:
        if (lift_.isEmpty())
            break;
        restart();
        erase(lift_);
        moved_ = lift_.translated(bounded(at) - bounded(press_));
        paste(lifted_, moved_.topLeft());
        break;
    case DrawTool::Fill:
    case DrawTool::Eyedropper:
        break;
    }
    last_ = at;
}

bool PictureEdit::changed() const {
    for (int y = 0; y < picture_.height(); ++y)
        if (std::memcmp(picture_.constScanLine(y), original_.constScanLine(y),
                        static_cast<std::size_t>(picture_.width())) != 0)
            return true;
    return false;
}

void PictureEdit::erase(QRect area) {
    area &= picture_.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            plot(x, y, 0, PixelMark::Erased);
}

void PictureEdit::paste(const QImage &piece, QPoint at) {
    if (piece.format() != QImage::Format_Indexed8)
        throw EditorError(QStringLiteral("Only 8-bit pixels can be pasted into a drawing."));
    const QRect area = QRect(at, piece.size()) & picture_.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *source = piece.constScanLine(y - at.y());
        for (int x = area.left(); x <= area.right(); ++x)
            plot(x, y, source[x - at.x()], PixelMark::Drawn);
    }
}

void PictureEdit::flip(QRect area, Qt::Orientation orientation) {
    area &= picture_.rect();
    if (area.isEmpty())
        return;
    const QImage piece = copyPixels(picture_, area);
    paste(allocated(piece.mirrored(orientation == Qt::Horizontal, orientation == Qt::Vertical)),
          area.topLeft());
}

QRect pixelSpan(QPoint a, QPoint b, QSize size) {
    return spanned(bounded(a), bounded(b)) & QRect(QPoint(0, 0), size);
}

std::optional<uchar> pickIndex(const QImage &picture, QPoint at) {
    if (picture.format() != QImage::Format_Indexed8 || !picture.rect().contains(at))
        return std::nullopt;
    return picture.constScanLine(at.y())[at.x()];
}

QImage copyPixels(const QImage &picture, QRect area) {
    return allocated(picture.copy(area & picture.rect()));
}

std::array<bool, 256> usedIndexes(const QImage &picture) {
    std::array<bool, 256> used{};
    if (picture.format() != QImage::Format_Indexed8)
        return used;
    for (int y = 0; y < picture.height(); ++y) {
        const uchar *line = picture.constScanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            used[line[x]] = true;
    }
    return used;
}

QRect graphicStoreRect(const StyleDocument &doc, Graphic graphic) {
    if (graphic.kind == GraphicKind::Sprite)
        return spriteRect(checkedSprite(doc, graphic.number));
    if (graphic.number < 0 || graphic.number >= tileCount(doc.TileStore))
        throw EditorError(QStringLiteral("There is no tile %1; the store holds %2 tiles.")
                              .arg(graphic.number)
                              .arg(tileCount(doc.TileStore)));
    return QRect(tileOrigin(graphic.number), QSize(TileSide, TileSide));
}

bool storeDrawing(StyleDocument &doc, Graphic graphic, const QImage &picture) {
    const QRect place = graphicStoreRect(doc, graphic);
    if (picture.format() != QImage::Format_Indexed8 || picture.size() != place.size())
        throw EditorError(QStringLiteral("A drawing on %1 must be an 8-bit picture of %2*%3 pixels.")
                              .arg(graphic.name())
                              .arg(place.width())
                              .arg(place.height()));
    // The pages stand side by side in the sprite view but stacked in the store.
    const int storeTop =
        graphic.kind == GraphicKind::Sprite ? place.x() / PageSide * PageSide + place.y() : place.y();
    const int storeLeft = graphic.kind == GraphicKind::Sprite ? place.x() % PageSide : place.x();
    QImage &store = graphic.kind == GraphicKind::Sprite ? doc.SpriteStore : doc.TileStore;
    bool changed = false;
    for (int y = 0; y < picture.height(); ++y) {
        const uchar *source = picture.constScanLine(y);
        if (std::memcmp(store.constScanLine(storeTop + y) + storeLeft, source,
                        static_cast<std::size_t>(picture.width())) == 0)
            continue;
        std::memcpy(writableLine(store, storeTop + y) + storeLeft, source,
                    static_cast<std::size_t>(picture.width()));
        changed = true;
    }
    return changed;
}

QString drawingStepName(Graphic graphic) {
    return QStringLiteral("draw on ") + graphic.name();
}

QString drawingPointerReadout(QPoint pixel, std::optional<uchar> index) {
    const QString at = QStringLiteral("X: %1, Y: %2").arg(pixel.x()).arg(pixel.y());
    return index ? at + QStringLiteral(", index: %1").arg(*index) : at;
}
