#pragma once

#include "graphics/drawingtools.h"

#include <QImage>
#include <QKeySequence>
#include <QWidget>
#include <optional>

// One graphic's 8-bit picture, zoomed, drawn on with the mouse: the left button paints with the
// primary index, the right one with the secondary; Alt+click picks the index under the pointer in
// any tool. A press-drag-release is one PictureEdit, handed over when the button is released.
class DrawingCanvas : public QWidget {
    Q_OBJECT
public:
    explicit DrawingCanvas(QWidget *parent = nullptr);

    // `erased` is what the eraser brings back (index 0 when null).
    void setPicture(const QImage &picture, const QImage &erased = QImage());
    const QImage &picture() const { return picture_; }
    const QImage &erased() const { return erased_; }
    void setZoom(int zoom);
    int zoom() const { return zoom_; }
    void setTool(DrawTool tool) { tool_ = tool; }
    DrawTool tool() const { return tool_; }
    void setIndexes(uchar primary, uchar secondary);

    QRect selection() const { return selection_; }
    void setSelection(QRect selection);
    // Whether Ctrl+V has pixels to paste over the selection.
    void setClipReady(bool ready) { clipReady_ = ready; }

    QSize sizeHint() const override;
    // The picture pixel under a point of the widget, off the picture too.
    QPoint pixelAt(QPoint point) const;

signals:
    // Any press: the canvas is the one the user works in.
    void pressed();
    void strokeFinished(const PictureEdit &edit);
    // Alt+click or the eyedropper: the left button picks the primary index, the right the secondary.
    void indexPicked(uchar index, bool primary);
    // The pointer is over `pixel`, which holds `index` (none off the picture).
    void pointerAt(QPoint pixel, std::optional<uchar> index);
    // Ctrl+C, Ctrl+X or Ctrl+V with a selection; without one the keys stay the page's, for the
    // whole graphic.
    void clipboardKey(QKeySequence::StandardKey key);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage picture_, erased_;
    int zoom_ = 1;
    DrawTool tool_ = DrawTool::Pencil;
    uchar primary_ = 1, secondary_ = 0;
    std::optional<PictureEdit> edit_;
    // The selection tool's rectangle being spanned, and where the press was.
    bool spanning_ = false;
    QPoint press_;
    QRect selection_;
    bool clipReady_ = false;
};
