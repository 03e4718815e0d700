#include "ui/spritestripview.h"

#include "widgets/draggedfile.h"
#include "widgets/zoom.h"

#include <QDropEvent>
#include <QMouseEvent>
#include <QPainter>

SpriteStripView::SpriteStripView(QWidget *parent) : QWidget(parent) {
    setMouseTracking(true);
    setObjectName(QStringLiteral("spriteoverlay"));
    setAcceptDrops(true);
}

void SpriteStripView::setImage(const QImage &image) {
    image_ = image;
    fitToImage();
}

void SpriteStripView::setZoom(int zoom) {
    zoom_ = zoom;
    fitToImage();
}

void SpriteStripView::fitToImage() {
    setFixedSize(image_.isNull() ? QSize(0, 0) : image_.size() * zoom_);
    update();
}

void SpriteStripView::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    drawZoomed(painter, image_, QPoint(0, 0), zoom_, event->rect());
}

void SpriteStripView::mousePressEvent(QMouseEvent *event) {
    emit pressedAt(unzoomed(event->position().toPoint(), zoom_));
}

void SpriteStripView::mouseMoveEvent(QMouseEvent *event) {
    emit pointerAt(unzoomed(event->position().toPoint(), zoom_));
}

void SpriteStripView::dragEnterEvent(QDragEnterEvent *event) {
    if (draggedFile(event->mimeData(), PictureExtensions))
        event->acceptProposedAction();
}

void SpriteStripView::dragMoveEvent(QDragMoveEvent *event) {
    if (draggedFile(event->mimeData(), PictureExtensions))
        event->acceptProposedAction();
}

void SpriteStripView::dropEvent(QDropEvent *event) {
    if (const std::optional<QString> path = draggedFile(event->mimeData(), PictureExtensions)) {
        event->acceptProposedAction();
        emit pictureDropped(unzoomed(event->position().toPoint(), zoom_), *path);
    }
}
