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

void SpriteStripView::setStrip(SpriteStrip strip) {
    strip_ = std::move(strip);
    fitToImage();
}

void SpriteStripView::repaintSprite(const StyleDocument &doc, int sprite, bool outline) {
    strip_.repaintSprite(doc, sprite, outline);
    update();
}

void SpriteStripView::setZoom(int zoom) {
    zoom_ = zoom;
    fitToImage();
}

void SpriteStripView::fitToImage() {
    setFixedSize(strip_.isNull() ? QSize(0, 0) : strip_.size() * zoom_);
    update();
}

void SpriteStripView::paintEvent(QPaintEvent *event) {
    const QRect shown = event->rect();
    const QRect area(unzoomed(shown.topLeft(), zoom_), unzoomed(shown.bottomRight(), zoom_));
    QPainter painter(this);
    drawZoomed(painter, strip_.painted(area), QPoint(0, 0), zoom_, shown);
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
