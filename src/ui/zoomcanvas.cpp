#include "zoomcanvas.h"

#include "zoom.h"

#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>

ZoomCanvas::ZoomCanvas(QScrollArea *area, QWidget *picture) : area_(area), picture_(picture) {
    picture_->setParent(this);
    area_->setWidget(this);
    picture_->installEventFilter(this);
    placeAt(QPoint(0, 0));
}

QPoint ZoomCanvas::origin() const {
    return picture_->mapTo(area_->viewport(), QPoint(0, 0));
}

void ZoomCanvas::placeAt(QPoint origin) {
    // The largest the view can be, so that a scroll bar coming or going never cuts the scroll short.
    const PicturePlacement placed = placePicture(origin, picture_->size(), area_->maximumViewportSize());
    picture_->move(placed.margin);
    resize(placed.content);
    area_->horizontalScrollBar()->setValue(placed.scroll.x());
    area_->verticalScrollBar()->setValue(placed.scroll.y());
}

void ZoomCanvas::zoomedAround(QPoint anchor, int before, int after) {
    placeAt(zoomedOrigin(origin(), anchor, before, after));
}

void ZoomCanvas::scrollTo(QPoint point, bool vertically) {
    const QPoint at = picture_->pos() + point;
    area_->horizontalScrollBar()->setValue(at.x());
    if (vertically)
        area_->verticalScrollBar()->setValue(at.y());
}

bool ZoomCanvas::eventFilter(QObject *watched, QEvent *event) {
    // A picture that changed its size keeps its top-left where it is.
    if (watched == picture_ && event->type() == QEvent::Resize)
        placeAt(origin());
    return false;
}
