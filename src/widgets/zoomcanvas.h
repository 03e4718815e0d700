#pragma once

#include <QWidget>

class QScrollArea;

// What a scroll area scrolls through around a zoomed picture widget: blank room beside the picture
// lets a zoom keep the picture pixel under the pointer in place, also while the picture is smaller
// than the view. The picture widget keeps its own coordinates, so its hit tests need no offset.
class ZoomCanvas : public QWidget {
public:
    // Becomes `area`'s widget and holds `picture`.
    ZoomCanvas(QScrollArea *area, QWidget *picture);

    // The picture's top-left in the area's viewport.
    QPoint origin() const;
    // Puts the picture's top-left at `origin` of the viewport, with room to scroll to all of it.
    void placeAt(QPoint origin);
    // After the picture's zoom went from `before` to `after`, keeps the picture pixel under `anchor`
    // (viewport coordinates) under it.
    void zoomedAround(QPoint anchor, int before, int after);
    // Scrolls the picture's screen pixel `point` as near to the view's top-left as the content allows;
    // `vertically` false leaves the vertical scroll alone.
    void scrollTo(QPoint point, bool vertically);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QScrollArea *area_;
    QWidget *picture_;
};
