#pragma once

#include "graphics/spritepages.h"

#include <QWidget>

// The page strip, zoomed; the selected sprite's control lies over it as a child. Points are
// reported in strip pixels whatever the zoom.
class SpriteStripView : public QWidget {
    Q_OBJECT
public:
    explicit SpriteStripView(QWidget *parent = nullptr);

    // The whole strip, painted.
    const QImage &image() const { return strip_.paintedWhole(); }
    // The strip as painted so far; its pages are painted as they come into view.
    const SpriteStrip &strip() const { return strip_; }
    void setStrip(SpriteStrip strip);
    // Paints `sprite` of `doc` over the strip, outlined when `outline`, and shows it.
    void repaintSprite(const StyleDocument &doc, int sprite, bool outline);
    int zoom() const { return zoom_; }
    void setZoom(int zoom);

signals:
    void pressedAt(QPoint point);
    void pointerAt(QPoint point);
    // A bitmap or PNG file was dropped at `point`.
    void pictureDropped(QPoint point, const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void fitToImage();

    SpriteStrip strip_;
    int zoom_ = 1;
};
