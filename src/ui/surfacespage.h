#pragma once

#include "filerecords.h"

#include <QWidget>
#include <array>

class QListWidget;
class QPlainTextEdit;
struct StyleDocument;

// The "Surfaces" page: the surface words as loaded, read-only under "RAW DATA:", and the nine
// surface columns, one tile number per line, whose text goes straight into the document's
// columns as the user types.
class SurfacesPage : public QWidget {
    Q_OBJECT
public:
    explicit SurfacesPage(QWidget *parent = nullptr);

    void setDocument(StyleDocument *doc);
    // Shows the document's words and columns again, after a load, a save or the surface dialog.
    void refresh();

signals:
    // A column's text was edited; the tile grid's labels follow it.
    void columnsEdited();

private:
    void columnEdited(std::size_t k);

    StyleDocument *doc_ = nullptr;
    bool filling_ = false;
    QListWidget *raw_;
    std::array<QPlainTextEdit *, SurfaceListCount> columns_;
};
