#pragma once

#include "graphics/deltasheet.h"
#include "style/styledocument.h"
#include "ui/documentchange.h"

#include <QWidget>

class DrawingPanel;
class CommandRunner;
class Prompts;
class QPlainTextEdit;
class QScrollArea;
class StretchedImageView;
class ZoomCanvas;

// The "Deltas" page: the delta sheet of the selected car sprite, stretched to a size the zoom
// buttons change, with its three views and the sheet's export and import.
class DeltasPage : public QWidget {
    Q_OBJECT
public:
    explicit DeltasPage(QWidget *parent = nullptr);

    // The page shows `document` and changes it only through `runner`.
    void setDocument(const StyleDocument *document);
    void setRunner(CommandRunner *runner);
    void setPrompts(Prompts *prompts);
    // The window's log page, where the import reports the deltas it kept.
    void setLogView(QPlainTextEdit *log) { log_ = log; }

    // The "Deltas" button: the sheet of `sprite` at its own size, in "Draw deltas".
    void open(int sprite);
    void showView(DeltaView view);

    int sprite() const { return sprite_; }
    DrawingPanel *drawing() const { return drawing_; }
    const QImage &sheet() const { return sheet_; }
    QSize shownSize() const { return shown_; }
    // How many times the sheet's size it is shown; `anchor`, in the view's viewport, stays over
    // the same sheet pixel.
    int zoom() const;
    void setZoom(int factor, QPoint anchor = QPoint(0, 0));

    // Shows the current view again, after the document changed.
    void refresh();
    // Refreshes after a change made elsewhere to the shown sprite or its deltas.
    void showChange(const DocumentChange &change);

private:
    void show(const QImage &sheet);
    void exportClick();
    void importClick();

    const StyleDocument *document_ = nullptr;
    CommandRunner *runner_ = nullptr;
    Prompts *prompts_ = nullptr;
    QPlainTextEdit *log_ = nullptr;
    int sprite_ = -1;
    QImage sheet_;
    DeltaView shownView_ = DeltaView::Draw;
    QSize shown_;
    QScrollArea *scroll_;
    StretchedImageView *view_;
    ZoomCanvas *canvas_;
    DrawingPanel *drawing_;
};
