#pragma once

#include <QImage>
#include <QWidget>

// Shows an image stretched to a fixed size (a whole multiple of it as zoomed pixels) and reports where the
// mouse points while a button is held: on the press and on every move until the release.
class StretchedImageView : public QWidget {
    Q_OBJECT
public:
    explicit StretchedImageView(QWidget *parent = nullptr);

    void setImage(const QImage &image, const QSize &shownSize);

signals:
    void pointedAt(int x);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage image_;
    bool dragging_ = false;
};
