#pragma once

#include <QObject>
#include <functional>

class DeltasPage;
class DrawingPanel;
class GciPage;
class GraphicTransfer;
class InfoPanel;
class LazyPage;
class PalIndexPanel;
class PalettesPage;
class PaletteTablePicture;
class Progress;
class Prompts;
class QTabWidget;
class QWidget;
class SpriteListPage;
class SpritesPage;
class SurfacesPage;
class TexturesPage;
class ToolPanel;
class Twnd_adjust;
struct DocumentChange;
struct PageContext;

// The main window's page control: the main pages and the side pages, each made (most when first
// shown) and wired to the others, their commands enabled for the window's state, and those made
// kept in step with the document.
class WindowPages : public QObject {
    Q_OBJECT
public:
    // The log page is the context's.
    WindowPages(const PageContext &context, PaletteTablePicture &clutPicture, GraphicTransfer &transfer,
                QObject *parent = nullptr);

    QTabWidget *mainPages() const { return mainPages_; }
    // The info, pal index and tool tabs.
    QTabWidget *sidePages() const { return side_; }
    InfoPanel *info() const { return info_; }
    SpritesPage *spritesPage() const { return sprites_; }
    // Pages made when first shown are made when asked for.
    SpriteListPage *spriteListPage() const;
    DeltasPage *deltasPage() const;
    TexturesPage *texturesPage() const;
    DrawingPanel *tileDrawing() const;
    Twnd_adjust *adjustDialog() const;

    // `ready`: a document is shown and no load or save runs; `busy`: a load or a save runs.
    void setState(bool ready, bool busy);
    // The questions to the user were replaced (tests do).
    void setPrompts(Prompts *prompts);
    // Shows the document in every page made; the sprite strip too unless `includingStrip` is false.
    void refresh(bool includingStrip = true);
    // Shows a change in the pages it concerns.
    void showChange(const DocumentChange &change);
    // A style was opened: the sprites are drawn, reporting to `progress`, and the text pages' own
    // undo steps, which belong to the file before, go.
    void showOpened(Progress &progress);
    // A tile of the grid was selected, or a command on it ran: the drawing and the info panel show it.
    void DrawGrid1SelectCell(int tile);

signals:
    // "edit car" and a double click on the selected sprite.
    void editCarRequested(int sprite);
    // A page made when first shown could not show all of the document for want of memory.
    void shortOfMemory();

private:
    // Enables the commands for the state and for whether the document has palettes.
    void enableCommands();
    // A tab whose page `make` makes, and `fill` shows the document on, when it is first shown.
    LazyPage *lazyPage(const std::function<QWidget *()> &make, const std::function<void()> &fill);
    void makeMainPages();
    void makeSidePanel();
    QWidget *makeSpritesPage();
    QWidget *makeTexturesPage();
    QWidget *makeSurfacesPage();
    QWidget *makeSpriteListPage();
    QWidget *makePalettesPage();
    // The delta sheet and its tab, shown only while the sheet is.
    void addDeltasPage();
    // Every selection of a sprite: the tool tab's selector and the info panel follow.
    void spriteClicked(int sprite);

    const PageContext &context_;
    PaletteTablePicture &clutPicture_;
    GraphicTransfer &transfer_;
    bool ready_ = false;
    bool busy_ = false;

    QTabWidget *mainPages_;
    QTabWidget *side_;
    SpritesPage *sprites_;
    // The pages made when first shown are null until then.
    LazyPage *texturesTab_;
    TexturesPage *textures_ = nullptr;
    LazyPage *surfacesTab_;
    SurfacesPage *surfaces_ = nullptr;
    LazyPage *spriteListTab_;
    SpriteListPage *spriteListPage_ = nullptr;
    LazyPage *palettesTab_;
    PalettesPage *palettes_ = nullptr;
    LazyPage *gciTab_;
    GciPage *gci_ = nullptr;
    LazyPage *deltasTab_;
    DeltasPage *deltas_ = nullptr;
    InfoPanel *info_;
    LazyPage *palIndexTab_;
    PalIndexPanel *palIndex_ = nullptr;
    ToolPanel *tool_;
};
