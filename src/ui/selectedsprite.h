#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

// The selected sprite drawn over the page strip: its picture at the strip's zoom with a light
// top-left and grey bottom-right frame. A left click asks for the sprite to be selected again, a
// double click for its car, and a drag with the right button moves it by whole picture pixels
// until the button is released.
class TVyr_sprite : public QWidget {
    Q_OBJECT
public:
    explicit TVyr_sprite(QWidget *parent = nullptr);

    const QImage &Glyph() const { return glyph_; }
    // Copies the picture and repaints.
    void setGlyph(const QImage &glyph);

    bool dragging() const { return dragging_; }
    int zoom() const { return zoom_; }
    // The strip's zoom; the control's geometry is the owner's to set.
    void setZoom(int zoom);

signals:
    void clicked();
    void doubleClicked();
    // A right-button drag ended with the control's top-left at `topLeft` in strip pixels.
    void dropped(QPoint topLeft);
    // A bitmap or PNG file was dropped on the sprite.
    void pictureDropped(const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QImage glyph_;
    int zoom_ = 1;
    bool dragging_ = false;
    QPoint dragStartCursor_;
    QPoint dragStartPosition_;
};
