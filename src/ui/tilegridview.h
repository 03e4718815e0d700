#pragma once

#include "styledocument.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>

// The "Textures" grid: every tile in a 64 x 64 cell, four rows, scrolling sideways only. A press
// selects a cell; the picture is drawn again only on refresh().
class TileGridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TileGridView(QWidget *parent = nullptr);

    void setDocument(const StyleDocument *doc);
    // Draws every cell again from the document, after its tiles, palettes or surfaces changed; the
    // selection is kept when the grid still has its cell.
    void refresh();

    // Makes the cell current and scrolls it into view; cells outside the grid are ignored.
    void setCurrentCell(int column, int row);
    QPoint currentCell() const { return current_; }
    int currentTile() const;
    int columnCount() const;
    // What the view shows, labels included.
    const QImage &picture() const { return picture_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void tileSelected(int tile);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateScrollRange();

    const StyleDocument *doc_ = nullptr;
    // The document as the picture shows it, so that a refresh redraws only the tiles that changed.
    StyleDocument drawn_;
    QImage picture_;
    QPoint current_;
};
