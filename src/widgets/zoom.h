#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

class QAbstractScrollArea;
class QPainter;
class QWidget;

// Whole-number zoom of the picture views: every picture pixel becomes a square of `zoom` screen
// pixels, never blended, so each one keeps its exact colour.
inline constexpr int MinZoom = 1;
inline constexpr int MaxZoom = 8;
// From this zoom on a one-pixel line marks the left and top edge of every picture pixel.
inline constexpr int PixelGridZoom = 4;
inline constexpr QRgb PixelGridColour = 0xff808080;

int clampedZoom(int zoom);
// The picture pixel under screen point `point` of a picture drawn from (0, 0) at `zoom`.
QPoint unzoomed(QPoint point, int zoom);

// Paints the part of `image` (its top-left at `origin`, `zoom` times its size) that lies in
// `exposed`, with the pixel grid from PixelGridZoom on. Only the exposed picture pixels are scaled,
// so a repaint costs the same on the largest style as on the smallest.
void drawZoomed(QPainter &painter, const QImage &image, QPoint origin, int zoom, const QRect &exposed);

// Where the top-left of a picture `picture` pixels large at `origin` (view coordinates) goes when its
// zoom changes from `before` to `after` around `anchor`: the picture pixel under the anchor stays
// under it; off the picture, the nearest edge stays where it is.
QPoint zoomedOrigin(QPoint origin, QSize picture, QPoint anchor, int before, int after);

// How a picture of `shown` screen pixels with its top-left at `origin` of a `view`-sized view lies in
// the content a scroll area scrolls through: `margin` blank pixels before it, scrolled by `scroll`,
// all of it `content` large. A picture smaller than the view keeps its offset; the scroll bars reach
// all of the picture and take it back to the view's edge.
struct PicturePlacement {
    QPoint margin;
    QPoint scroll;
    QSize content;
};
PicturePlacement placePicture(QPoint origin, QSize shown, QSize view);

// Ctrl + wheel over `area` zooms around the pointer; Ctrl++, Ctrl+- and Ctrl+0 (back to 1x) zoom
// around the middle of the view while the focus is on `page`. `setZoom` gets the new zoom and the
// viewport point to keep in place.
void addZoomControls(QWidget *page, QAbstractScrollArea *area, const std::function<int()> &zoom,
                     const std::function<void(int, QPoint)> &setZoom);
