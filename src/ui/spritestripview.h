#pragma once

#include <QImage>
#include <QWidget>

// The page strip, zoomed; the selected sprite's control lies over it as a child. Points are
// reported in strip pixels whatever the zoom.
class SpriteStripView : public QWidget {
    Q_OBJECT
public:
    explicit SpriteStripView(QWidget *parent = nullptr);

    const QImage &image() const { return image_; }
    QImage &image() { return image_; }
    void setImage(const QImage &image);
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

    QImage image_;
    int zoom_ = 1;
};
