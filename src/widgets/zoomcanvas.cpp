#include "widgets/zoomcanvas.h"

#include "widgets/zoom.h"

#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>

ZoomCanvas::ZoomCanvas(QScrollArea *area, QWidget *picture) : area_(area), picture_(picture) {
    picture_->setParent(this);
    area_->setWidget(this);
    picture_->installEventFilter(this);
    area_->viewport()->installEventFilter(this);
    placeAt(QPoint(0, 0));
}

QPoint ZoomCanvas::origin() const {
    return picture_->mapTo(area_->viewport(), QPoint(0, 0));
}

void ZoomCanvas::placeAt(QPoint origin) {
    const PicturePlacement placed = placePicture(origin, picture_->size(), area_->viewport()->size());
    picture_->move(placed.margin);
    resize(placed.content);
    area_->horizontalScrollBar()->setValue(placed.scroll.x());
    area_->verticalScrollBar()->setValue(placed.scroll.y());
}

void ZoomCanvas::zoomedAround(QPoint anchor, int before, int after) {
    // The picture widget is `after` times its picture's size by now.
    const QSize picture(picture_->width() / after, picture_->height() / after);
    placeAt(zoomedOrigin(origin(), picture, anchor, before, after));
}

void ZoomCanvas::scrollTo(QPoint point, bool vertically) {
    const QPoint at = picture_->pos() + point;
    area_->horizontalScrollBar()->setValue(at.x());
    if (vertically)
        area_->verticalScrollBar()->setValue(at.y());
}

bool ZoomCanvas::eventFilter(QObject *watched, QEvent *event) {
    // A picture or a view that changed its size keeps the picture's top-left where it is; the view's
    // own handling of its new size comes after this, within the room made here.
    if ((watched == picture_ || watched == area_->viewport()) && event->type() == QEvent::Resize)
        placeAt(origin());
    return false;
}
