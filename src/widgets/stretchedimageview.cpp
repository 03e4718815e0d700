#include "widgets/stretchedimageview.h"

#include "widgets/zoom.h"

#include <QMouseEvent>
#include <QPainter>

StretchedImageView::StretchedImageView(QWidget *parent) : QWidget(parent) {}

void StretchedImageView::setImage(const QImage &image, const QSize &shownSize) {
    image_ = image;
    setFixedSize(shownSize);
    update();
}

void StretchedImageView::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    if (image_.isNull())
        return;
    const int zoom = width() / image_.width();
    if (zoom >= 1 && size() == image_.size() * zoom) {
        drawZoomed(painter, image_, QPoint(0, 0), zoom, event->rect());
        return;
    }
    // Whole columns, no blending: every palette keeps its exact colour on screen.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), image_);
}

void StretchedImageView::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    emit pointedAt(event->position().toPoint().x());
}

void StretchedImageView::mouseMoveEvent(QMouseEvent *event) {
    if (dragging_)
        emit pointedAt(event->position().toPoint().x());
}

void StretchedImageView::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
}
