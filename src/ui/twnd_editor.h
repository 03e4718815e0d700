#pragma once

#include "history/documenthistory.h"
#include "style/styledocument.h"
#include "ui/commandrunner.h"
#include "ui/dialogprompts.h"
#include "ui/pagecontext.h"
#include "ui/palettetablepicture.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class DeltasPage;
class DrawingPanel;
class GciPage;
class GraphicTransfer;
class InfoPanel;
class LazyPage;
class LogPage;
class PalIndexPanel;
class PalettesPage;
class QAction;
class QLabel;
class QMimeData;
class QProgressBar;
class QStackedWidget;
class QTabWidget;
class SpriteListPage;
class SpritesPage;
class SurfacesPage;
class TexturesPage;
class ToolPanel;
class Twnd_about;
class Twnd_adjust;
class Twnd_askimport;
class Twnd_caredit;
class Twnd_clutdialog;

// The editor's main window: owns the document, its file life cycle and the runner every change goes
// through, and frames the pages that show it: menus, tool bar and the page control.
class Twnd_editor : public QMainWindow {
    Q_OBJECT
public:
    enum class State { Empty, Loading, Ready, Saving };

    Twnd_editor();

    // Opens a style file exactly as the "open" button does once a name is chosen.
    void opensty(const QString &path);
    // The first command-line argument: opened when it names an existing file.
    void openArgument(const QStringList &arguments);
    // Opens a dropped ".sty" file; false for anything else.
    bool openDropped(const QMimeData *mime);

    // An error escaped a command: the controls of the ready (or empty) state come back, then the
    // user sees the error's text.
    void reportError(const QString &text);

    State state() const { return state_; }
    SpritesPage *spritesPage() const { return sprites_; }
    // Pages made when first shown are made when asked for.
    SpriteListPage *spriteListPage() const;
    DeltasPage *deltasPage() const;
    TexturesPage *texturesPage() const;
    DrawingPanel *tileDrawing() const;
    const StyleDocument &document() const { return document_; }
    // Whether the style has changes that were not saved: the history is away from the saved state,
    // or a free-text view was edited.
    bool isModified() const;
    DocumentHistory &history() { return history_; }
    CommandRunner &runner() { return runner_; }
    bool isScriptModified() const { return scriptModified_; }
    Twnd_caredit *carEditor() const { return caredit_; }
    QTabWidget *mainPages() const { return mainPages_; }
    // The palette table picture the Palettes page shows.
    const QImage &clut1() { return clutPicture_.picture(document_); }
    Twnd_adjust *adjustDialog() const;
    Twnd_clutdialog *clutDialog() const { return clutdialog_; }
    Twnd_askimport *askImportDialog() const { return askimport_; }
    // Replaces the dialogs answered by the user, for tests.
    void setPrompts(Prompts *prompts);
    // Replaces the system's "open with the associated program", for tests.
    void setFileOpener(std::function<bool(const QString &)> opener);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void btn_openClick();
    void btn_saveasClick();
    // A tile of the grid was selected, or a command on it ran: the drawing and the info panel show it.
    void DrawGrid1SelectCell(int tile);
    // Runs a command on the document through the runner: one undoable step named `name`, or the
    // state as it was before it when it fails.
    void command(const QString &name, const std::function<void()> &run);
    // A handler for a button: errors it throws are shown (attempt) rather than left to unwind
    // through Qt's event code, which does not clean up after exceptions.
    std::function<void()> guard(void (Twnd_editor::*click)());
    void attempt(const std::function<void()> &run);
    // Undo and redo: the state becomes the shown one.
    void showState(const StyleDocument &state);
    void updateCaption();
    void btn_aboutClick();
    // Every selection of a sprite: the tool tab's selector and the info panel follow.
    void spriteClicked(int sprite);
    // "edit car" and a double click on the selected sprite.
    void editCar(int sprite);
    void btn_opengciClick();
    void btn_savegciClick();
    // "save GCI"; false when nothing was saved.
    bool saveCarScript();

    // Asks what to do with unsaved changes; false when the user keeps the document open.
    bool mayDiscardChanges();
    bool saveAs();
    // Save: the open style file written in place, through the same atomic write as "save as".
    void saveClick();
    // Writes the document to a name the user chooses, or to the open file's name.
    bool saveDocument(bool choosing);
    std::optional<QString> pickPalette(const QString &preset);
    void setState(State state);
    // A load or a save is running.
    bool busy() const;
    void updateHistoryActions();
    // Enables the commands for the state and for whether the document has palettes.
    void enableCommands();
    // Shows the document in every view; the page strip is rebuilt unless the change came from it.
    void refreshViews(bool includingStrip = true);
    // Shows a change in the views it concerns.
    void showChange(const DocumentChange &change);
    Prompts &prompts();

    // The menus and the tool bar.
    void makeCommands();
    QTabWidget *makeMainPages();
    // The info, pal index and tool tabs.
    QWidget *makeSidePanel();
    // A tab whose page `make` makes, and `fill` shows the document on, when it is first shown.
    LazyPage *lazyPage(const std::function<QWidget *()> &make, const std::function<void()> &fill);
    static QString viewsOutOfMemoryMessage(const QString &path);
    QWidget *makeSpritesPage();
    QWidget *makeTexturesPage();
    QWidget *makeSurfacesPage();
    QWidget *makeSpriteListPage();
    QWidget *makePalettesPage();
    QWidget *makeGciPage();
    // The delta sheet and its tab, shown only while the sheet is.
    void addDeltasPage();
    QWidget *makeLoadingPage();

    StyleDocument document_;
    DocumentHistory history_;
    QString fileName_;
    CommandRunner runner_;
    PaletteTablePicture clutPicture_;
    bool textModified_ = false;
    // The car script is saved on its own, so its changes are tracked on their own.
    bool scriptModified_ = false;
    QString gciFileName_;
    State state_ = State::Empty;

    std::unique_ptr<DialogPrompts> dialogPrompts_;
    std::function<bool(const QString &)> fileOpener_;
    PageContext context_;
    // The clipboard, dropped pictures and the paint program.
    GraphicTransfer *transfer_;

    QAction *open_;
    QAction *saveAs_;
    QAction *fileOpen_;
    QAction *fileSave_;
    QAction *fileSaveAs_;
    QAction *openGci_;
    QAction *saveGci_;
    QAction *undo_;
    QAction *redo_;
    QStackedWidget *mainArea_;
    QTabWidget *mainPages_;
    QWidget *loadingPage_;
    QLabel *status_;
    QProgressBar *loadingBar_;
    LogPage *log_;
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
    Twnd_clutdialog *clutdialog_;
    Twnd_about *about_;
    Twnd_askimport *askimport_;
    Twnd_caredit *caredit_;
};
