#pragma once

#include "graphics/spritefields.h"
#include "style/styledocument.h"
#include "ui/documentchange.h"

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class DrawingCanvas;
class DrawingPanel;
class PictureSource;
class CommandRunner;
class Progress;
class Prompts;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QSpinBox;
class QToolBar;
class SpriteStripView;
class ZoomCanvas;
class TVyr_sprite;

// The "Sprites" page: the page strip with every sprite in its own palette, the selected sprite
// over it, the five fields that re-aim its entry, and the page's commands.
class SpritesPage : public QWidget {
    Q_OBJECT
public:
    explicit SpritesPage(QWidget *parent = nullptr);

    // The page shows `document` and changes it only through `runner`.
    void setDocument(const StyleDocument *document);
    void setRunner(CommandRunner *runner);
    void setPrompts(Prompts *prompts);
    // The log page that the page's imports write to.
    void setLogView(QPlainTextEdit *view) { logView_ = view; }
    // Whether the page's commands may run (a document with palettes is open).
    void setReady(bool ready);

    // Rebuilds the strip quietly and selects the selected sprite again: after loading and after
    // changes made elsewhere.
    void refresh();
    // Refreshes after a change made elsewhere that touched sprites, cars or the selected sprite's
    // deltas.
    void showChange(const DocumentChange &change);
    // After loading a style: the strip, with `progress` counting the sprites, and sprite 0
    // selected.
    void showLoaded(Progress &progress);
    // "redraw overlay": the strip with the button counting the sprites, then the sprite that the
    // sprite selector names is selected.
    void redrawOverlay();
    // The tool tab's sprite number, which "redraw overlay" selects.
    void setSpriteSelector(const QSpinBox *selector) { spriteSelector_ = selector; }
    void selectByNumber(int sprite);
    void selectAtPoint(QPoint point);
    // Runs the sprite click for the selected sprite: picture, palette, fields, buttons.
    void spriteClick();
    // Repaints one sprite into the strip with its red frame, whatever "No border" says.
    void repaintOutlined(int sprite);
    // "import" into `sprite` with the picture already in hand (a dropped file, the clipboard's):
    // every check and question of the button but the file dialog. Returns whether the sprite changed.
    bool importInto(int sprite, const PictureSource &picture);
    // The selected sprite changed outside the page: its pixels in the strip, picture and fields.
    void showSelectedChanged();
    // Further commands, beside the pointer readout.
    void addCommands(const QList<QAction *> &commands);

    // Zoom of the strip and the selected sprite; `anchor`, in the scroll area's viewport, stays over
    // the same strip pixel.
    int zoom() const;
    void setZoom(int zoom, QPoint anchor = QPoint(0, 0));

    int selectedSprite() const { return selected_; }
    const QImage &overlay() const;
    TVyr_sprite *activesprite() const { return activesprite_; }
    SpriteStripView *strip() const { return strip_; }
    DrawingPanel *drawing() const { return drawing_; }
    // The drawing's canvas over the selected sprite in the strip.
    DrawingCanvas *stripCanvas() const { return stripCanvas_; }

signals:
    // After every selection, with the selected sprite's number.
    void spriteClicked(int sprite);
    void editCarRequested(int sprite);
    void deltasRequested(int sprite);

private:
    // Makes the strip anew; its pages are painted as they come into view. With `painted`, the
    // pages that `paintNow` touches are painted at once, and `painted` is told each sprite number.
    // Then selects sprite `select`.
    void build(const std::function<void(int)> &painted, QRect paintNow, int select);
    // Selects `select` again (or nothing, without sprites) after the strip was built or kept.
    void reselect(int select);
    void fieldEdited(SpriteField field);
    void fillFields(const SpriteEntry &entry);
    void placeActiveSprite(const SpriteEntry &entry);
    void spriteDropped(QPoint topLeft);
    void exportClick();
    void importClick();
    void pictureDroppedAt(QPoint point, const QString &path);
    void addPageClick();
    void removePageClick();
    bool hasSelection() const;
    void updateCarButtons();

    const StyleDocument *document_ = nullptr;
    CommandRunner *runner_ = nullptr;
    Prompts *prompts_ = nullptr;
    QPlainTextEdit *logView_ = nullptr;
    const QSpinBox *spriteSelector_ = nullptr;
    bool ready_ = false;
    int selected_ = -1;
    // Set while the page itself fills the fields, so that filling them writes nothing back.
    bool filling_ = false;

    QAction *export_;
    QAction *import_;
    QAction *editCar_;
    QAction *deltas_;
    QAction *redraw_;
    QAction *addPage_;
    QAction *removePage_;
    QToolBar *tools_;
    std::array<QLineEdit *, SpriteFieldCount> fields_{};
    QCheckBox *noBorder_;
    QLabel *readout_;
    QScrollArea *scroll_;
    SpriteStripView *strip_;
    ZoomCanvas *canvas_;
    TVyr_sprite *activesprite_;
    DrawingPanel *drawing_;
    DrawingCanvas *stripCanvas_;
};
