#include "ui/twnd_editor.h"

#include "cars/carscript.h"
#include "palette/paletteusage.h"
#include "platform/editorerror.h"
#include "platform/shellopen.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "ui/careditordialog.h"
#include "ui/graphictransfer.h"
#include "ui/infopanel.h"
#include "ui/logpage.h"
#include "ui/twnd_about.h"
#include "ui/twnd_askimport.h"
#include "ui/twnd_clutdialog.h"
#include "ui/windowlog.h"
#include "ui/windowpages.h"
#include "ui/windowprogress.h"
#include "widgets/draggedfile.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <new>

namespace {

const QString Title = QStringLiteral("vyr2 sty tool");

bool isStyleFileUrl(const QMimeData *mime) {
    return draggedFile(mime, StyleExtensions).has_value();
}

} // namespace

QString Twnd_editor::viewsOutOfMemoryMessage(const QString &path) {
    return QStringLiteral("\"%1\" is open, but there is not enough memory to show all of it.")
        .arg(QFileInfo(path).fileName());
}

Twnd_editor::Twnd_editor()
    : history_([this] { return document_; }, [this](const StyleDocument &state) { showState(state); }),
      runner_(document_, history_), dialogPrompts_(std::make_unique<DialogPrompts>(this)),
      context_{document_, runner_, dialogPrompts_.get(), new LogPage, {}, openWithAssociatedProgram},
      transfer_(new GraphicTransfer(context_, this)) {
    setWindowTitle(Title);
    setAcceptDrops(true);
    runner_.setErrorReport([this](const QString &text) { reportError(text); });
    context_.reportError = [this](const QString &text) {
        reportError(text);
    };
    connect(&runner_, &CommandRunner::changed, this, &Twnd_editor::showChange);
    dialogPrompts_->setPalettePicker([this](const QString &preset) { return pickPalette(preset); });
    dialogPrompts_->setImportChooser([this] { return askImportDialog()->choose(); });
    makeCommands();

    pages_ = new WindowPages(context_, clutPicture_, *transfer_, this);
    connect(pages_, &WindowPages::editCarRequested, this,
            [this](int sprite) { attempt([&] { editCar(sprite); }); });
    connect(pages_, &WindowPages::shortOfMemory, this,
            [this] { prompts().message(viewsOutOfMemoryMessage(fileName_)); });
    mainArea_ = new QStackedWidget;
    mainArea_->addWidget(pages_->mainPages());
    mainArea_->addWidget(makeLoadingPage());

    auto *splitter = new QSplitter;
    splitter->addWidget(mainArea_);
    splitter->addWidget(pages_->sidePages());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    resize(837, 462);
    setMinimumHeight(390);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setState(State::Empty);
}

void Twnd_editor::makeCommands() {
    QToolBar *tools = addToolBar(QStringLiteral("file"));
    tools->setMovable(false);
    open_ = tools->addAction(QStringLiteral("open"), this, guard(&Twnd_editor::btn_openClick));
    saveAs_ = tools->addAction(QStringLiteral("save as"), this, guard(&Twnd_editor::btn_saveasClick));
    openGci_ = tools->addAction(QStringLiteral("open GCI"), this, guard(&Twnd_editor::btn_opengciClick));
    saveGci_ = tools->addAction(QStringLiteral("save GCI"), this, guard(&Twnd_editor::btn_savegciClick));
    tools->addAction(QStringLiteral("About"), this, guard(&Twnd_editor::btn_aboutClick));
    undo_ = history_.stack().createUndoAction(this, QStringLiteral("Undo"));
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = history_.stack().createRedoAction(this, QStringLiteral("Redo"));
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // Connected after the stack's own connections, so a load or save keeps them disabled.
    connect(&history_.stack(), &QUndoStack::canUndoChanged, this, &Twnd_editor::updateHistoryActions);
    connect(&history_.stack(), &QUndoStack::canRedoChanged, this, &Twnd_editor::updateHistoryActions);
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    fileOpen_ = file->addAction(QStringLiteral("Open"), this, guard(&Twnd_editor::btn_openClick));
    fileOpen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    fileSave_ = file->addAction(QStringLiteral("Save"), this, guard(&Twnd_editor::saveClick));
    fileSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    fileSaveAs_ = file->addAction(QStringLiteral("Save As"), this, guard(&Twnd_editor::btn_saveasClick));
    fileSaveAs_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    QAction *quit = file->addAction(QStringLiteral("Quit"), this, &QWidget::close);
    // Spelled out: some platforms have no standard key for Quit or Save As.
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu *edit = menuBar()->addMenu(QStringLiteral("Edit"));
    edit->addAction(undo_);
    edit->addAction(redo_);
    tools->addAction(undo_);
    tools->addAction(redo_);
    // Only the mark: the stack also reports this while the window is being taken apart, after the
    // file name is gone.
    connect(&history_.stack(), &QUndoStack::cleanChanged, this, [this] { setWindowModified(isModified()); });
}

QWidget *Twnd_editor::makeLoadingPage() {
    loadingPage_ = new QWidget;
    auto *loading = new QVBoxLayout(loadingPage_);
    status_ = new QLabel(loadingPage_);
    status_->setObjectName(QStringLiteral("loadingstatus"));
    loadingBar_ = new QProgressBar(loadingPage_);
    loadingBar_->setObjectName(QStringLiteral("loadingbar"));
    loadingBar_->setValue(0);
    loading->addStretch();
    loading->addWidget(status_, 0, Qt::AlignHCenter);
    loading->addWidget(loadingBar_);
    loading->addStretch();
    return loadingPage_;
}

SpritesPage *Twnd_editor::spritesPage() const {
    return pages_->spritesPage();
}

SpriteListPage *Twnd_editor::spriteListPage() const {
    return pages_->spriteListPage();
}

DeltasPage *Twnd_editor::deltasPage() const {
    return pages_->deltasPage();
}

TexturesPage *Twnd_editor::texturesPage() const {
    return pages_->texturesPage();
}

DrawingPanel *Twnd_editor::tileDrawing() const {
    return pages_->tileDrawing();
}

QTabWidget *Twnd_editor::mainPages() const {
    return pages_->mainPages();
}

Twnd_caredit *Twnd_editor::carEditor() {
    if (!caredit_)
        caredit_ = new Twnd_caredit(this);
    return caredit_;
}

Twnd_clutdialog *Twnd_editor::clutDialog() {
    if (!clutdialog_)
        clutdialog_ = new Twnd_clutdialog(this);
    return clutdialog_;
}

Twnd_askimport *Twnd_editor::askImportDialog() {
    if (!askimport_)
        askimport_ = new Twnd_askimport(this);
    return askimport_;
}

Twnd_adjust *Twnd_editor::adjustDialog() const {
    return pages_->adjustDialog();
}

Prompts &Twnd_editor::prompts() {
    return *context_.prompts;
}

void Twnd_editor::setPrompts(Prompts *prompts) {
    context_.prompts = prompts;
    pages_->setPrompts(prompts);
}

void Twnd_editor::setFileOpener(std::function<bool(const QString &)> opener) {
    context_.openFile = std::move(opener);
}

std::optional<QString> Twnd_editor::pickPalette(const QString &preset) {
    Twnd_clutdialog *dialog = clutDialog();
    dialog->setPalettes(clut1(), usedPhysicalPalettes(document_));
    dialog->setClutnumber(preset);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog->clutnumber();
}

void Twnd_editor::setState(State state) {
    state_ = state;
    const bool loading = state == State::Loading;
    pages_->mainPages()->setEnabled(state != State::Empty && !loading);
    mainArea_->setCurrentWidget(busy() ? loadingPage_ : static_cast<QWidget *>(pages_->mainPages()));
    // The events processed during a load or save must not start another one or change the document.
    for (QAction *file : {open_, fileOpen_, openGci_, saveGci_})
        file->setEnabled(!busy());
    for (QAction *save : {saveAs_, fileSave_, fileSaveAs_})
        save->setEnabled(!busy() && state != State::Empty);
    updateHistoryActions();
    pages_->setState(state == State::Ready, busy());
}

bool Twnd_editor::busy() const {
    return state_ == State::Loading || state_ == State::Saving;
}

void Twnd_editor::updateHistoryActions() {
    undo_->setEnabled(!busy() && history_.stack().canUndo());
    redo_->setEnabled(!busy() && history_.stack().canRedo());
}

void Twnd_editor::reportError(const QString &text) {
    loadingBar_->setValue(0);
    setState(state_ == State::Empty ? State::Empty : State::Ready);
    prompts().message(text);
}

void Twnd_editor::openArgument(const QStringList &arguments) {
    // A folder or a missing file is refused with the message "open" gives for it.
    if (arguments.size() > 1 && !arguments[1].isEmpty())
        opensty(arguments[1]);
}

void Twnd_editor::opensty(const QString &path) {
    setState(State::Loading);
    WindowProgress progress(status_, loadingBar_);
    progress.setStatus(QStringLiteral(" init... "));
    QCoreApplication::processEvents();
    QString error;
    bool loaded = false;
    {
        WindowLog log(context_.log);
        try {
            // The car script belongs to the window: a folder without one keeps the text shown.
            const QStringList script = document_.CarScript;
            loaded = ::opensty(document_, path, prompts(), progress, log);
            if (loaded) {
                document_.CarScript = script;
                if (loadCompanionScript(document_.CarScript, gciFileName_, path, log))
                    scriptModified_ = false;
            }
        } catch (const EditorError &e) {
            error = e.text();
        } catch (const std::bad_alloc &) {
            error = notEnoughMemoryToOpenMessage(path);
        }
        if (!error.isEmpty()) {
            loaded = false;
            document_ = runner_.committed();
        }
    }
    // A refused file leaves the document, its history and the name "save as" proposes as they were.
    if (loaded) {
        transfer_->stopEditing();
        fileName_ = path;
        history_.reset();
        textModified_ = false;
    }
    runner_.reset();
    updateCaption();
    try {
        pages_->refresh(false);
        if (loaded) {
            progress.setStatus(QStringLiteral(" Drawing sprites... "));
            QCoreApplication::processEvents();
            pages_->showOpened(progress);
        }
    } catch (const std::bad_alloc &) {
        // The document is loaded and Save writes it; only the views are short of it.
        error = loaded ? viewsOutOfMemoryMessage(path) : notEnoughMemoryToOpenMessage(path);
    }
    loadingBar_->setValue(0);
    setState(State::Ready);
    pages_->mainPages()->setCurrentIndex(0);
    if (loaded && document_.PhysicalPaletteCount == 0)
        pages_->info()->setPlainText(NoPalettesMessage);
    if (!error.isEmpty())
        prompts().message(error);
}

bool Twnd_editor::saveAs() {
    return saveDocument(true);
}

bool Twnd_editor::saveDocument(bool choosing) {
    const int page = pages_->mainPages()->currentIndex();
    setState(State::Saving);
    WindowProgress progress(status_, loadingBar_);
    QString saved;
    {
        WindowLog log(context_.log);
        // A failed "save as" leaves the name Save writes as it was.
        QString proposed = fileName_;
        saved = choosing ? saveStyleAs(document_, proposed, prompts(), progress, log)
                         : writeStyle(document_, fileName_, prompts(), progress, log);
    }
    // The file written is the one the next save writes, and the one the caption names.
    if (!saved.isEmpty())
        fileName_ = saved;
    loadingBar_->setValue(0);
    setState(State::Ready);
    pages_->mainPages()->setCurrentIndex(page);
    if (saved.isEmpty())
        return false;
    history_.stack().setClean();
    textModified_ = false;
    updateCaption();
    try {
        pages_->refresh();
    } catch (const std::bad_alloc &) {
        prompts().message(
            QStringLiteral("\"%1\" was saved, but there is not enough memory to show all of it.")
                .arg(QFileInfo(saved).fileName()));
    }
    return true;
}

bool Twnd_editor::mayDiscardChanges() {
    if (scriptModified_) {
        const Answer answer =
            prompts().saveDiscardCancel(QStringLiteral("The car script has changes that were not saved."));
        if (answer == Answer::Cancel || (answer == Answer::Yes && !saveCarScript()))
            return false;
    }
    if (!isModified())
        return true;
    const Answer answer =
        prompts().saveDiscardCancel(QStringLiteral("The style file \"%1\" has changes that were not saved.")
                                        .arg(QFileInfo(fileName_).fileName()));
    if (answer == Answer::Yes)
        return saveAs();
    return answer == Answer::No;
}

void Twnd_editor::btn_openClick() {
    if (!mayDiscardChanges())
        return;
    if (const auto name = prompts().openFileName(FileKind::StyleFile, StyleFileFilter, fileName_))
        opensty(*name);
}

void Twnd_editor::btn_saveasClick() {
    saveAs();
}

void Twnd_editor::saveClick() {
    saveDocument(fileName_.isEmpty());
}

void Twnd_editor::showState(const StyleDocument &state) {
    runner_.show(state);
    updateCaption();
}

void Twnd_editor::command(const QString &name, const std::function<void()> &run) {
    runner_.run(name, [&](StyleDocument &) { run(); });
}

std::function<void()> Twnd_editor::guard(void (Twnd_editor::*click)()) {
    return [this, click] {
        attempt([this, click] { (this->*click)(); });
    };
}

void Twnd_editor::attempt(const std::function<void()> &run) {
    // The rooms' guard: its errors come back to reportError.
    context_.attempt(run);
}

void Twnd_editor::updateCaption() {
    // Names the file Save writes: a refused open leaves it as it was.
    setWindowTitle(fileName_.isEmpty() ? Title
                                       : Title + QStringLiteral(" - ") + QFileInfo(fileName_).fileName() +
                                             QStringLiteral("[*]"));
    setWindowModified(isModified());
}

void Twnd_editor::showChange(const DocumentChange &change) {
    // The script is saved apart from the style: typing into it marks only it as changed.
    if (change.typed && change.script())
        scriptModified_ = true;
    else if (change.typed)
        textModified_ = true;
    updateCaption();
    pages_->showChange(change);
}

bool Twnd_editor::isModified() const {
    return !history_.stack().isClean() || textModified_;
}

void Twnd_editor::editCar(int sprite) {
    const QStringList script = document_.CarScript;
    command(QStringLiteral("edit car"), [&] { carEditor()->editCar(document_, sprite, prompts()); });
    if (document_.CarScript != script)
        scriptModified_ = true;
}

void Twnd_editor::btn_opengciClick() {
    if (scriptModified_ &&
        prompts().confirm(QStringLiteral("The car script has changes that were not saved. Open another one "
                                         "anyway?")) == Answer::No)
        return;
    bool opened = false;
    runner_.replaceText(
        [&](StyleDocument &doc) { opened = openGci(doc.CarScript, gciFileName_, prompts()); });
    if (opened)
        scriptModified_ = false;
}

void Twnd_editor::btn_savegciClick() {
    saveCarScript();
}

bool Twnd_editor::saveCarScript() {
    QString saved;
    // The save writes its new header into the script.
    runner_.replaceText([&](StyleDocument &doc) { saved = saveGci(doc.CarScript, gciFileName_, prompts()); });
    if (saved.isEmpty())
        return false;
    scriptModified_ = false;
    return true;
}

void Twnd_editor::btn_aboutClick() {
    if (!about_)
        about_ = new Twnd_about(this);
    about_->exec();
}

void Twnd_editor::closeEvent(QCloseEvent *event) {
    if (busy() || !mayDiscardChanges())
        event->ignore();
    else
        event->accept();
}

void Twnd_editor::dragEnterEvent(QDragEnterEvent *event) {
    if (!busy() && isStyleFileUrl(event->mimeData()))
        event->acceptProposedAction();
}

void Twnd_editor::dropEvent(QDropEvent *event) {
    if (openDropped(event->mimeData()))
        event->acceptProposedAction();
}

bool Twnd_editor::openDropped(const QMimeData *mime) {
    if (busy() || !isStyleFileUrl(mime) || !mayDiscardChanges())
        return false;
    opensty(mime->urls().first().toLocalFile());
    return true;
}
