#pragma once

#include "graphics/tilenumbering.h"
#include "style/styledocument.h"
#include "ui/documentchange.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <optional>

class QPainter;
struct StyleDocument;

// The "Textures" grid: every tile in a 64 x 64 cell, four rows, scrolling sideways only at 1x and
// both ways when zoomed. A press selects a cell; the picture is drawn again only on refresh().
// Surface labels keep their size at every zoom.
class TileGridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TileGridView(QWidget *parent = nullptr);

    void setDocument(const StyleDocument *doc);
    // Draws every cell again from the document, after its tiles, palettes or surfaces changed; the
    // selection is kept when the grid still has its cell.
    void refresh();
    // Draws again only the cells whose tiles `change` names; surface or layout changes draw all.
    void showChange(const DocumentChange &change);

    // Makes the cell current and scrolls it into view; cells outside the grid are ignored.
    void setCurrentCell(int column, int row);
    QPoint currentCell() const { return current_; }
    int currentTile() const;
    int columnCount() const;
    // What the view shows at 1x, labels included.
    const QImage &picture() const;
    // The picture pixel (1x) under a viewport point, off the picture as well.
    QPoint pixelAt(QPoint point) const;
    // Where a cell lies in the viewport, at the zoom and scroll of now.
    QRect cellRect(QPoint cell) const;
    // The cell under a viewport point, or nothing off the grid.
    std::optional<QPoint> cellAt(QPoint point) const;

    int zoom() const { return zoom_; }
    // `anchor`, in viewport coordinates, stays over the same grid pixel. At 1x the grid is as high
    // as its four rows; zoomed in it takes the height it is given.
    void setZoom(int zoom, QPoint anchor = QPoint(0, 0));

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void tileSelected(int tile);
    // The cells moved in the viewport (scroll, zoom, size) or another one became current.
    void cellsMoved();
    // A bitmap or PNG file was dropped on a cell, which became current.
    void pictureDropped(int tile, const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Makes the cell current; `reveal` scrolls it into view. A click selects what the user sees
    // where it is, so it never scrolls.
    void selectCell(QPoint cell, bool reveal);
    // The picture's size at 1x, known without drawing it.
    QSize pictureSize() const;
    // The picture's top-left in the viewport.
    QPoint origin() const;
    // Puts the picture's top-left at `origin`, with scroll room to reach all of it.
    void placeAt(QPoint origin);
    int cellSide() const { return TileSide * zoom_; }
    // Labelled cells drawn again from the tile, with their label at its own size over them.
    void drawLabelsUnscaled(QPainter &painter, const QRect &exposed);

    const StyleDocument *doc_ = nullptr;
    // Brings the picture up to the document when a refresh left it behind.
    void ensurePicture() const;

    // The document as the picture shows it, so that a refresh redraws only the tiles that changed.
    mutable StyleDocument drawn_;
    mutable QImage picture_;
    mutable bool stale_ = false;
    QPoint current_;
    int zoom_ = 1;
    // Blank room before the picture, so that a zoom keeps the pixel under the pointer in place.
    QPoint margin_;
};
