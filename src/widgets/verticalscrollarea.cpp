#include "widgets/verticalscrollarea.h"

#include <QScrollBar>
#include <algorithm>

VerticalScrollArea::VerticalScrollArea(QWidget *parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QSize VerticalScrollArea::minimumSizeHint() const {
    const QSize area = QScrollArea::minimumSizeHint();
    if (!widget())
        return area;
    // Room for the scroll bar whether it shows or not, so showing it never hides a control.
    const int width =
        widget()->minimumSizeHint().width() + verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
    return QSize(std::max(area.width(), width), area.height());
}

QSize VerticalScrollArea::sizeHint() const {
    return QSize(minimumSizeHint().width(), QScrollArea::sizeHint().height());
}
