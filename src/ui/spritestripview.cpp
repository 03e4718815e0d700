#include "spritestripview.h"

#include <QMouseEvent>
#include <QPainter>

SpriteStripView::SpriteStripView(QWidget *parent) : QWidget(parent) {
    setMouseTracking(true);
    setObjectName(QStringLiteral("spriteoverlay"));
}

void SpriteStripView::setImage(const QImage &image) {
    image_ = image;
    setFixedSize(image_.isNull() ? QSize(0, 0) : image_.size());
    update();
}

void SpriteStripView::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), image_, event->rect());
}

void SpriteStripView::mousePressEvent(QMouseEvent *event) {
    emit pressedAt(event->position().toPoint());
}

void SpriteStripView::mouseMoveEvent(QMouseEvent *event) {
    emit pointerAt(event->position().toPoint());
}
