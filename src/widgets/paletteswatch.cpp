#include "widgets/paletteswatch.h"

#include <QMouseEvent>
#include <QPainter>

PaletteSwatch::PaletteSwatch(QWidget *parent) : QWidget(parent) {
    setFixedSize(sizeHint());
}

void PaletteSwatch::setColours(const QList<QRgb> &colours) {
    colours_ = colours;
    update();
}

void PaletteSwatch::setUsed(const std::array<bool, 256> &used) {
    used_ = used;
    update();
}

void PaletteSwatch::setIndexes(uchar primary, uchar secondary) {
    primary_ = primary;
    secondary_ = secondary;
    update();
}

QPoint PaletteSwatch::cellCentre(int index) const {
    return QPoint((index % 16) * Cell + Cell / 2, (index / 16) * Cell + Cell / 2);
}

QSize PaletteSwatch::sizeHint() const {
    return QSize(16 * Cell, 16 * Cell);
}

int PaletteSwatch::indexAt(QPoint point) const {
    if (point.x() < 0 || point.y() < 0 || point.x() >= 16 * Cell || point.y() >= 16 * Cell)
        return -1;
    return point.y() / Cell * 16 + point.x() / Cell;
}

void PaletteSwatch::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    for (int index = 0; index < 256; ++index) {
        const QRect cell((index % 16) * Cell, (index / 16) * Cell, Cell, Cell);
        const QColor colour(index < colours_.size() ? colours_[index] : qRgb(0, 0, 0));
        painter.fillRect(cell, colour);
        // Marks in the colour that stands out on the cell.
        const QColor mark = colour.lightness() < 128 ? Qt::white : Qt::black;
        painter.setPen(mark);
        if (index == 0) {
            painter.drawLine(cell.topLeft(), cell.bottomRight());
            painter.drawLine(cell.topRight(), cell.bottomLeft());
        }
        if (used_[static_cast<std::size_t>(index)])
            painter.fillRect(QRect(cell.center() - QPoint(1, 1), QSize(3, 3)), mark);
    }
    painter.setBrush(Qt::NoBrush);
    const auto frame = [&](int index, const QPen &pen) {
        painter.setPen(pen);
        painter.drawRect(QRect((index % 16) * Cell, (index / 16) * Cell, Cell - 1, Cell - 1));
    };
    frame(secondary_, QPen(Qt::white, 1, Qt::DashLine));
    frame(primary_, QPen(Qt::red, 2));
}

void PaletteSwatch::mousePressEvent(QMouseEvent *event) {
    const int index = indexAt(event->position().toPoint());
    if (index < 0)
        return;
    if (event->button() == Qt::LeftButton)
        primary_ = static_cast<uchar>(index);
    else if (event->button() == Qt::RightButton)
        secondary_ = static_cast<uchar>(index);
    else
        return;
    update();
    emit indexesChosen(primary_, secondary_);
}

void PaletteSwatch::mouseDoubleClickEvent(QMouseEvent *event) {
    const int index = indexAt(event->position().toPoint());
    if (index >= 0 && event->button() == Qt::LeftButton)
        emit colourEditRequested(static_cast<uchar>(index));
}
