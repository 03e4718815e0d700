#pragma once

#include <QImage>
#include <QWidget>

// The page strip at its own size; the selected sprite's control lies over it as a child.
class SpriteStripView : public QWidget {
    Q_OBJECT
public:
    explicit SpriteStripView(QWidget *parent = nullptr);

    const QImage &image() const { return image_; }
    QImage &image() { return image_; }
    void setImage(const QImage &image);

signals:
    void pressedAt(QPoint point);
    void pointerAt(QPoint point);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QImage image_;
};
