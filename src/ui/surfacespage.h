#pragma once

#include "style/filerecords.h"
#include "ui/documentchange.h"

#include <QWidget>
#include <array>

class QListWidget;
class QPlainTextEdit;
class CommandRunner;
struct StyleDocument;

// The "Surfaces" page: the surface words as loaded, read-only under "RAW DATA:", and the nine
// surface columns, one tile number per line, whose text goes straight into the document's
// columns as the user types.
class SurfacesPage : public QWidget {
    Q_OBJECT
public:
    explicit SurfacesPage(QWidget *parent = nullptr);

    // The page shows `doc` and writes the columns typed into it only through `runner`.
    void setDocument(const StyleDocument *doc);
    void setRunner(CommandRunner *runner) { runner_ = runner; }
    // Shows the document's words and columns again, after a load, a save or the surface dialog.
    void refresh();
    // Refreshes after a change made elsewhere to the surface lists.
    void showChange(const DocumentChange &change);

private:
    void columnEdited(std::size_t k);

    const StyleDocument *doc_ = nullptr;
    CommandRunner *runner_ = nullptr;
    bool filling_ = false;
    QListWidget *raw_;
    std::array<QPlainTextEdit *, SurfaceListCount> columns_;
};
