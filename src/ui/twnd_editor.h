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
class GraphicTransfer;
class QAction;
class QLabel;
class QMimeData;
class QProgressBar;
class QStackedWidget;
class QTabWidget;
class SpriteListPage;
class SpritesPage;
class TexturesPage;
class Twnd_about;
class Twnd_adjust;
class Twnd_askimport;
class Twnd_caredit;
class Twnd_clutdialog;
class WindowPages;

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
    SpritesPage *spritesPage() const;
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
    // The dialogs are made the first time they are needed, so that the start does not pay for them.
    Twnd_caredit *carEditor();
    QTabWidget *mainPages() const;
    // The palette table picture the Palettes page shows.
    const QImage &clut1() { return clutPicture_.picture(document_); }
    Twnd_adjust *adjustDialog() const;
    Twnd_clutdialog *clutDialog();
    Twnd_askimport *askImportDialog();
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
    // A change reached the views: the caption and the marks of unsaved changes follow it.
    void showChange(const DocumentChange &change);
    Prompts &prompts();

    // The menus and the tool bar.
    void makeCommands();
    static QString viewsOutOfMemoryMessage(const QString &path);
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
    WindowPages *pages_;
    QWidget *loadingPage_;
    QLabel *status_;
    QProgressBar *loadingBar_;
    Twnd_clutdialog *clutdialog_ = nullptr;
    Twnd_about *about_ = nullptr;
    Twnd_askimport *askimport_ = nullptr;
    Twnd_caredit *caredit_ = nullptr;
};
