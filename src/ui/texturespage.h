#pragma once

#include <QWidget>
#include <functional>
#include <vector>

class DrawingPanel;
struct DocumentChange;
class QAction;
class QLineEdit;
class QProgressBar;
class QToolBar;
class TileGridView;
class Twnd_surface;
struct PageContext;

// The "Textures" page: the tile grid, the commands on its current tile and on the tile pages,
// drawing over the current cell, and the file name pattern of the tile exports.
class TexturesPage : public QWidget {
    Q_OBJECT
public:
    explicit TexturesPage(const PageContext &context, QWidget *parent = nullptr);

    // Whether the commands may run (a document with palettes is open).
    void setReady(bool ready);
    // Shows the tiles again; the drawing too unless only the surfaces changed.
    void refresh(bool drawing = true);
    // Redraws what `change` altered of the grid and the drawing.
    void showChange(const DocumentChange &change);
    // The name the export of `tile` proposes; empty when the pattern is not valid.
    QString exportName(int tile) const;
    // Further commands (editing in the paint program, which the window runs), before the drawing's.
    void addCommands(const QList<QAction *> &commands);

    TileGridView *grid() const { return grid_; }
    DrawingPanel *drawing() const { return drawing_; }

signals:
    // The grid's current tile was selected, or a command on it ran (or failed): the info panel
    // describes it.
    void tileSelected(int tile);
    void pictureDropped(int tile, const QString &path);

private:
    // A command on the current tile: afterwards the info panel describes it, also when it failed.
    std::function<void()> tileCommand(void (TexturesPage::*click)());
    void exportClick();
    void importClick();
    void exportAllClick();
    void surfaceClick();
    void addPageClick();
    void removePageClick();

    const PageContext &context_;
    std::vector<QAction *> commands_;
    QToolBar *paintRow_;
    TileGridView *grid_;
    DrawingPanel *drawing_;
    QLineEdit *pattern_;
    QProgressBar *progress_;
    QString exportAllDirectory_;
    Twnd_surface *surface_;
};
