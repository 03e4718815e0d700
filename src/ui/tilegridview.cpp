#include "tilegridview.h"

#include "tilegrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

TileGridView::TileGridView(QWidget *parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("DrawGrid1"));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    horizontalScrollBar()->setSingleStep(TileSide);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TileGridView::setDocument(const StyleDocument *doc) {
    doc_ = doc;
    refresh();
}

void TileGridView::refresh() {
    if (!doc_)
        picture_ = QImage();
    else if (!redrawChangedTiles(picture_, drawn_, *doc_))
        picture_ = renderTileGrid(*doc_);
    drawn_ = doc_ ? *doc_ : StyleDocument();
    if (current_.x() >= columnCount())
        current_ = QPoint();
    updateScrollRange();
    viewport()->update();
}

void TileGridView::setCurrentCell(int column, int row) {
    if (column < 0 || column >= columnCount() || row < 0 || row >= TileGridRows)
        return;
    current_ = QPoint(column, row);
    QScrollBar *bar = horizontalScrollBar();
    const int left = column * TileSide;
    if (left < bar->value())
        bar->setValue(left);
    else if (left + TileSide > bar->value() + viewport()->width())
        bar->setValue(left + TileSide - viewport()->width());
    viewport()->update();
    emit tileSelected(currentTile());
}

int TileGridView::currentTile() const {
    return tileAtCell(current_.x(), current_.y());
}

int TileGridView::columnCount() const {
    return picture_.width() / TileSide;
}

QSize TileGridView::sizeHint() const {
    return minimumSizeHint() + QSize(8 * TileSide, 0);
}

QSize TileGridView::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    return QSize(TileSide + frame,
                 TileGridRows * TileSide + horizontalScrollBar()->sizeHint().height() + frame);
}

void TileGridView::paintEvent(QPaintEvent *) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().window());
    const int offset = horizontalScrollBar()->value();
    painter.drawImage(QPoint(-offset, 0), picture_);
    if (columnCount() == 0)
        return;
    const QRect cell(current_.x() * TileSide - offset, current_.y() * TileSide, TileSide, TileSide);
    painter.setPen(QPen(palette().highlight(), 2));
    painter.drawRect(cell.adjusted(1, 1, -1, -1));
}

void TileGridView::mousePressEvent(QMouseEvent *event) {
    const QPoint at = event->position().toPoint() + QPoint(horizontalScrollBar()->value(), 0);
    setCurrentCell(at.x() / TileSide, at.y() / TileSide);
}

void TileGridView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void TileGridView::updateScrollRange() {
    QScrollBar *bar = horizontalScrollBar();
    bar->setPageStep(viewport()->width());
    bar->setRange(0, std::max(0, picture_.width() - viewport()->width()));
}
