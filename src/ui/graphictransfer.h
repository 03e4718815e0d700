#pragma once

#include "graphics/graphicfile.h"

#include <QObject>
#include <optional>
#include <vector>

class PaintProgramSession;
class QAction;
class QWidget;
class SpritesPage;
class TexturesPage;
struct PageContext;

// The glue between the selected sprite or tile and the world outside: the clipboard, pictures
// dropped on the tile grid, and the paint program editing one of them. What it brings in changes
// the document through the runner, as one step each.
class GraphicTransfer : public QObject {
    Q_OBJECT
public:
    GraphicTransfer(const PageContext &context, QObject *parent = nullptr);

    // `ready`: a document with palettes is shown, so commands on its graphics may run. `busy`: a
    // load or a save is under way; the paint program's saves wait for its end.
    void setState(bool ready, bool busy);

    // "edit in paint program", "stop editing", Ctrl+C and Ctrl+V on the page's selected graphic.
    void addSpriteCommands(SpritesPage *sprites);
    // The same on the grid's current tile, and pictures dropped on the grid imported there.
    void addTileCommands(TexturesPage *textures);

    // "import" into the graphic with the picture already in hand (a dropped file, the clipboard's).
    void importPicture(Graphic graphic, const PictureSource &picture);
    // Selecting another sprite or tile than the one in the paint program ends that edit.
    void endEditingOtherThan(Graphic selected);
    // Another style was opened: the edit of a graphic of the one before ends.
    void stopEditing();

signals:
    // A command on a tile ran or failed: the drawing and the info panel show the tile again.
    void tileTouched(int tile);

private:
    // The selected sprite or the grid's current tile, when the commands on it may run.
    std::optional<Graphic> selectedGraphic(GraphicKind kind) const;
    // The page's paint program commands and its clipboard shortcuts.
    QList<QAction *> addCommands(QWidget *page, GraphicKind kind);
    void copyGraphic(GraphicKind kind);
    void pasteGraphic(GraphicKind kind);
    void editInPaintProgram(GraphicKind kind);
    // The paint program saved the work file: imported again as one step.
    void paintProgramSaved();

    const PageContext &context_;
    PaintProgramSession *session_;
    bool ready_ = false;
    bool busy_ = false;
    std::vector<QAction *> paintActions_;
    std::vector<QAction *> stopActions_;
    SpritesPage *sprites_ = nullptr;
    TexturesPage *textures_ = nullptr;
};
