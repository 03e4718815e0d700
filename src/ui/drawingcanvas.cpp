#include "ui/drawingcanvas.h"

#include "widgets/zoom.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

DrawingCanvas::DrawingCanvas(QWidget *parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

void DrawingCanvas::setPicture(const QImage &picture, const QImage &erased) {
    picture_ = picture;
    erased_ = erased;
    selection_ &= picture_.rect();
    edit_.reset();
    setFixedSize(sizeHint());
    update();
}

void DrawingCanvas::setZoom(int zoom) {
    zoom_ = std::max(1, zoom);
    setFixedSize(sizeHint());
    update();
}

void DrawingCanvas::setIndexes(uchar primary, uchar secondary) {
    primary_ = primary;
    secondary_ = secondary;
}

void DrawingCanvas::setSelection(QRect selection) {
    selection_ = selection & picture_.rect();
    update();
}

QSize DrawingCanvas::sizeHint() const {
    return picture_.size() * zoom_;
}

QPoint DrawingCanvas::pixelAt(QPoint point) const {
    return unzoomed(point, zoom_);
}

bool DrawingCanvas::event(QEvent *event) {
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        for (const QKeySequence::StandardKey standard :
             {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste}) {
            if (!key->matches(standard) || selection_.isEmpty() ||
                (standard == QKeySequence::Paste && !clipReady_))
                continue;
            event->accept();
            if (event->type() == QEvent::KeyPress)
                emit clipboardKey(standard);
            return true;
        }
    }
    return QWidget::event(event);
}

void DrawingCanvas::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    const QImage &shown = edit_ ? edit_->picture() : picture_;
    drawZoomed(painter, shown, QPoint(0, 0), zoom_, event->rect());
    const QRect marked = edit_ && tool_ == DrawTool::Select && !spanning_ ? edit_->moved() : selection_;
    if (!marked.isEmpty()) {
        painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(marked.topLeft() * zoom_, marked.size() * zoom_).adjusted(0, 0, -1, -1));
    }
}

void DrawingCanvas::mousePressEvent(QMouseEvent *event) {
    if (picture_.isNull() || edit_ || spanning_ ||
        (event->button() != Qt::LeftButton && event->button() != Qt::RightButton))
        return;
    emit pressed();
    const QPoint pixel = pixelAt(event->position().toPoint());
    const bool primary = event->button() == Qt::LeftButton;
    if (tool_ == DrawTool::Eyedropper || event->modifiers() & Qt::AltModifier) {
        if (const std::optional<uchar> index = pickIndex(picture_, pixel))
            emit indexPicked(*index, primary);
        return;
    }
    if (tool_ == DrawTool::Select) {
        if (selection_.contains(pixel)) {
            edit_.emplace(picture_, erased_);
            edit_->beginMove(selection_, pixel);
        } else {
            spanning_ = true;
            press_ = pixel;
            selection_ = pixelSpan(pixel, pixel, picture_.size());
            update();
        }
        return;
    }
    edit_.emplace(picture_, erased_);
    edit_->begin(tool_, primary ? primary_ : secondary_, pixel);
    update();
}

void DrawingCanvas::mouseMoveEvent(QMouseEvent *event) {
    const QPoint pixel = pixelAt(event->position().toPoint());
    emit pointerAt(pixel, pickIndex(edit_ ? edit_->picture() : picture_, pixel));
    if (spanning_) {
        selection_ = pixelSpan(press_, pixel, picture_.size());
        update();
    } else if (edit_) {
        edit_->moveTo(pixel);
        update();
    }
}

void DrawingCanvas::mouseReleaseEvent(QMouseEvent *event) {
    if (spanning_) {
        spanning_ = false;
        selection_ = pixelSpan(press_, pixelAt(event->position().toPoint()), picture_.size());
        update();
        return;
    }
    if (!edit_)
        return;
    const PictureEdit done = *edit_;
    edit_.reset();
    if (tool_ == DrawTool::Select)
        selection_ = done.moved() & picture_.rect();
    update();
    emit strokeFinished(done);
}
