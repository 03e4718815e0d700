#include "ui/tilegridview.h"

#include "graphics/labelfont.h"
#include "graphics/tilegrid.h"
#include "widgets/draggedfile.h"
#include "widgets/zoom.h"

#include <QDropEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

TileGridView::TileGridView(QWidget *parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("DrawGrid1"));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    horizontalScrollBar()->setSingleStep(TileSide);
    verticalScrollBar()->setSingleStep(TileSide);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TileGridView::cellsMoved);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TileGridView::cellsMoved);
}

void TileGridView::setDocument(const StyleDocument *doc) {
    doc_ = doc;
    refresh();
}

void TileGridView::refresh() {
    // Drawn when first shown or asked for: a style is opened on the Sprites page, and a grid of a
    // thousand tiles costs as much as the rest of the opening.
    stale_ = true;
    if (isVisible())
        ensurePicture();
    if (current_.x() >= columnCount())
        current_ = QPoint();
    placeAt(origin());
    viewport()->update();
}

void TileGridView::showChange(const DocumentChange &change) {
    const ChangedItems &tiles = change.items.tiles;
    if (tiles.none() && !change.surfaces())
        return;
    if (stale_ || !isVisible()) {
        // Brought up to the document, by comparison, when it is shown.
        stale_ = true;
        return;
    }
    if (!doc_ || change.surfaces() || tiles.all() || renderedGridColumns(drawn_) != columnCount())
        return refresh();
    redrawTiles(picture_, *doc_, tiles.items());
    drawn_ = *doc_;
    for (const int tile : tiles.items())
        viewport()->update(cellRect(cellOfTile(tile)));
}

void TileGridView::setZoom(int zoom, QPoint anchor) {
    const int before = zoom_;
    if (zoom == before)
        return;
    zoom_ = zoom;
    // At 1x the four rows fit the view exactly, so only the column stays under the pointer; zoomed
    // in it shows as much of them as it has room for.
    setVerticalScrollBarPolicy(zoom_ == 1 ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setSizePolicy(QSizePolicy::Expanding, zoom_ == 1 ? QSizePolicy::Fixed : QSizePolicy::Expanding);
    QPoint to = zoomedOrigin(origin(), pictureSize(), anchor, before, zoom_);
    if (zoom_ == 1)
        to.setY(0);
    placeAt(to);
    viewport()->update();
}

void TileGridView::setCurrentCell(int column, int row) {
    if (column < 0 || column >= columnCount() || row < 0 || row >= TileGridRows)
        return;
    selectCell(QPoint(column, row), true);
}

void TileGridView::selectCell(QPoint cell, bool reveal) {
    current_ = cell;
    const auto show = [](QScrollBar *bar, int start, int side, int shown) {
        if (start < bar->value())
            bar->setValue(start);
        else if (start + side > bar->value() + shown)
            bar->setValue(start + side - shown);
    };
    if (reveal) {
        show(horizontalScrollBar(), margin_.x() + cell.x() * cellSide(), cellSide(), viewport()->width());
        if (zoom_ > 1)
            show(verticalScrollBar(), margin_.y() + cell.y() * cellSide(), cellSide(), viewport()->height());
    }
    viewport()->update();
    emit cellsMoved();
    emit tileSelected(currentTile());
}

int TileGridView::currentTile() const {
    return tileAtCell(current_.x(), current_.y());
}

int TileGridView::columnCount() const {
    return doc_ ? renderedGridColumns(*doc_) : 0;
}

const QImage &TileGridView::picture() const {
    ensurePicture();
    return picture_;
}

void TileGridView::ensurePicture() const {
    if (!stale_)
        return;
    if (!doc_)
        picture_ = QImage();
    else if (!redrawChangedTiles(picture_, drawn_, *doc_))
        picture_ = renderTileGrid(*doc_);
    drawn_ = doc_ ? *doc_ : StyleDocument();
    stale_ = false;
}

QPoint TileGridView::pixelAt(QPoint point) const {
    return unzoomed(point - origin(), zoom_);
}

std::optional<QPoint> TileGridView::cellAt(QPoint point) const {
    const QPoint at = pixelAt(point);
    if (at.x() < 0 || at.y() < 0)
        return std::nullopt;
    const QPoint cell(at.x() / TileSide, at.y() / TileSide);
    if (cell.x() >= columnCount() || cell.y() >= TileGridRows)
        return std::nullopt;
    return cell;
}

QSize TileGridView::sizeHint() const {
    return minimumSizeHint() + QSize(8 * TileSide, 0);
}

QSize TileGridView::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    return QSize(TileSide + frame,
                 TileGridRows * TileSide + horizontalScrollBar()->sizeHint().height() + frame);
}

QSize TileGridView::pictureSize() const {
    return columnCount() > 0 ? QSize(columnCount(), TileGridRows) * TileSide : QSize(0, 0);
}

QPoint TileGridView::origin() const {
    return margin_ - QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TileGridView::paintEvent(QPaintEvent *event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().window());
    const QPoint at = origin();
    drawZoomed(painter, picture(), at, zoom_, event->rect());
    if (columnCount() == 0)
        return;
    if (zoom_ > 1)
        drawLabelsUnscaled(painter, event->rect());
    const QRect cell(at + current_ * cellSide(), QSize(cellSide(), cellSide()));
    painter.setPen(QPen(palette().highlight(), 2));
    painter.drawRect(cell.adjusted(1, 1, -1, -1));
}

void TileGridView::drawLabelsUnscaled(QPainter &painter, const QRect &exposed) {
    if (!doc_)
        return;
    const QRect shown = exposed.translated(-origin());
    const int firstColumn = std::max(0, shown.left() / cellSide());
    const int lastColumn = std::min(columnCount() - 1, shown.right() / cellSide());
    const int firstRow = std::max(0, shown.top() / cellSide());
    const int lastRow = std::min(TileGridRows - 1, shown.bottom() / cellSide());
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row) {
            const QString text = surfaceLabel(*doc_, tileAtCell(column, row));
            if (text.isEmpty())
                continue;
            const QPoint topLeft = origin() + QPoint(column, row) * cellSide();
            drawZoomed(painter, renderTileCell(*doc_, column, row), topLeft, zoom_, exposed);
            QImage label(TileSide, TileSide, QImage::Format_ARGB32);
            label.fill(Qt::transparent);
            drawLabel(label, label.rect(), text);
            painter.drawImage(topLeft, label);
        }
    }
}

void TileGridView::mousePressEvent(QMouseEvent *event) {
    if (const std::optional<QPoint> cell = cellAt(event->position().toPoint()))
        selectCell(*cell, false);
}

void TileGridView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    placeAt(origin());
}

void TileGridView::placeAt(QPoint origin) {
    const QSize shown = pictureSize() * zoom_;
    const QSize view = viewport()->size();
    const PicturePlacement placed = placePicture(origin, shown, view);
    margin_ = placed.margin;
    QScrollBar *across = horizontalScrollBar();
    across->setPageStep(view.width());
    across->setRange(0, std::max(0, placed.content.width() - view.width()));
    across->setValue(placed.scroll.x());
    QScrollBar *down = verticalScrollBar();
    down->setPageStep(view.height());
    down->setRange(0, zoom_ == 1 ? 0 : std::max(0, placed.content.height() - view.height()));
    down->setValue(placed.scroll.y());
    emit cellsMoved();
}

QRect TileGridView::cellRect(QPoint cell) const {
    return QRect(origin() + cell * cellSide(), QSize(cellSide(), cellSide()));
}

void TileGridView::dragEnterEvent(QDragEnterEvent *event) {
    if (draggedFile(event->mimeData(), PictureExtensions))
        event->acceptProposedAction();
}

void TileGridView::dragMoveEvent(QDragMoveEvent *event) {
    if (draggedFile(event->mimeData(), PictureExtensions) && cellAt(event->position().toPoint()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TileGridView::dropEvent(QDropEvent *event) {
    const std::optional<QString> path = draggedFile(event->mimeData(), PictureExtensions);
    const std::optional<QPoint> cell = cellAt(event->position().toPoint());
    if (!path || !cell)
        return;
    event->acceptProposedAction();
    selectCell(*cell, false);
    emit pictureDropped(currentTile(), *path);
}
