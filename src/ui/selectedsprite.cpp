#include "ui/selectedsprite.h"

#include "widgets/draggedfile.h"
#include "widgets/zoom.h"

#include <QDropEvent>
#include <QMouseEvent>
#include <QPainter>

TVyr_sprite::TVyr_sprite(QWidget *parent) : QWidget(parent) {
    resize(100, 100);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
}

void TVyr_sprite::setGlyph(const QImage &glyph) {
    glyph_ = glyph.copy();
    update();
}

void TVyr_sprite::setZoom(int zoom) {
    zoom_ = zoom;
    update();
}

void TVyr_sprite::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    drawZoomed(painter, glyph_, QPoint(0, 0), zoom_, event->rect());
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.setPen(Qt::white);
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(0, 0, 0, bottom);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(right, bottom, right, 0);
    painter.drawLine(right, bottom, 0, bottom);
}

void TVyr_sprite::mousePressEvent(QMouseEvent *event) {
    dragStartCursor_ = event->globalPosition().toPoint();
    dragStartPosition_ = pos();
    if (event->button() == Qt::RightButton)
        dragging_ = true;
}

void TVyr_sprite::mouseMoveEvent(QMouseEvent *event) {
    if (dragging_)
        move(dragStartPosition_ +
             unzoomed(event->globalPosition().toPoint() - dragStartCursor_, zoom_) * zoom_);
}

void TVyr_sprite::mouseReleaseEvent(QMouseEvent *event) {
    if (dragging_) {
        dragging_ = false;
        emit dropped(unzoomed(pos(), zoom_));
    } else if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void TVyr_sprite::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

void TVyr_sprite::dragEnterEvent(QDragEnterEvent *event) {
    if (draggedFile(event->mimeData(), PictureExtensions))
        event->acceptProposedAction();
}

void TVyr_sprite::dropEvent(QDropEvent *event) {
    if (const std::optional<QString> path = draggedFile(event->mimeData(), PictureExtensions)) {
        event->acceptProposedAction();
        emit pictureDropped(*path);
    }
}
