#pragma once

#include "graphics/drawingtools.h"
#include "style/styledocument.h"

#include <QKeySequence>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class CommandRunner;
class DrawingCanvas;
class PaletteSwatch;
class Prompts;
class QAction;
class QActionGroup;
class QLabel;
class QListWidget;
class QScrollArea;

// The "draw" mode of a page: the tools, the canvas with the selected graphic (or, on the Deltas
// page, the car sprite with its delta layers), the palette swatch beside it and the pointer
// readout. It shows while its "draw" action (key B) is checked. Every stroke goes into the document
// as one step, told by documentEdited.
class DrawingPanel : public QWidget {
    Q_OBJECT
public:
    explicit DrawingPanel(QWidget *parent = nullptr);

    // The panel shows `document` and changes it only through `runner`.
    void setDocument(const StyleDocument *document) { document_ = document; }
    void setRunner(CommandRunner *runner) { runner_ = runner; }
    void setPrompts(Prompts *prompts) { prompts_ = prompts; }
    // The checkable "draw" action with the key B, for the page's tool bar; `page` takes the key.
    QAction *drawAction() const { return draw_; }
    void addDrawKeyTo(QWidget *page);

    // One more canvas with the same drawing, a child of `parent` over another view (the selected
    // sprite in the page strip); it shows while "draw" is checked, and its owner places and zooms it.
    DrawingCanvas *addCanvasIn(QWidget *parent);

    void showGraphic(Graphic graphic);
    // Nothing to draw on (a style without sprites).
    void showNothing();
    // The Deltas page: `sprite` with its deltas as layers, every layer visible when the sprite is new.
    void showDeltaLayers(int sprite);
    // Shows the document again after it changed outside the panel (undo, other commands).
    void refresh();

    int zoom() const;
    void setZoom(int zoom);
    void setTool(DrawTool tool);
    // The delta the strokes go to; -1 when the sprite has none.
    int selectedDelta() const { return delta_; }
    void selectDelta(int delta);
    void setLayerVisible(int delta, bool visible);

    DrawingCanvas *canvas() const { return canvas_; }
    PaletteSwatch *swatch() const { return swatch_; }
    QListWidget *layerList() const { return layers_; }
    QString statusLine() const;
    QString sharingLine() const;
    QString readout() const;

signals:
    void documentEdited(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectCanvas(DrawingCanvas *canvas);
    void clipboardKey(QKeySequence::StandardKey key);
    void storeStroke(const PictureEdit &edit);
    void showPicture();
    void fillLayerList();
    void showIndexes(uchar primary, uchar secondary);
    void editColour(uchar index);
    void copySelection(bool cut);
    void pasteClip();
    void flip(Qt::Orientation orientation);
    void addDeltaClick();
    void removeDeltaClick();
    bool inDeltaMode() const { return deltaSprite_ >= 0; }
    // The graphic the palette and the sharing line are of.
    Graphic shownGraphic() const;
    template <typename Command> void guarded(Command &&command);
    // Runs `operation` through the runner as the step `name`.
    void change(const QString &name, const std::function<void(StyleDocument &)> &operation);

    const StyleDocument *document_ = nullptr;
    CommandRunner *runner_ = nullptr;
    Prompts *prompts_ = nullptr;
    std::optional<Graphic> graphic_;
    int deltaSprite_ = -1;
    int delta_ = -1;
    std::vector<bool> visible_;
    // Pixels copied or cut from a selection, with their indexes.
    QImage clip_;

    QAction *draw_;
    QActionGroup *tools_;
    QAction *addDelta_;
    QAction *removeDelta_;
    QScrollArea *scroll_;
    DrawingCanvas *canvas_;
    // Every canvas of the drawing, the panel's own first, and the one last pressed in.
    std::vector<DrawingCanvas *> canvases_;
    DrawingCanvas *active_;
    PaletteSwatch *swatch_;
    QLabel *status_;
    QLabel *sharing_;
    QLabel *readout_;
    QListWidget *layers_;
};
