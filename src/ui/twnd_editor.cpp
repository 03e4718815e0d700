#include "ui/twnd_editor.h"

#include "cars/carpublishing.h"
#include "cars/carrecords.h"
#include "cars/carscript.h"
#include "graphics/graphicfile.h"
#include "graphics/spriteentries.h"
#include "graphics/spriteoperations.h"
#include "graphics/tilegrid.h"
#include "graphics/tilenumbering.h"
#include "graphics/tileoperations.h"
#include "graphics/tilepattern.h"
#include "palette/coloradjust.h"
#include "palette/jascpalette.h"
#include "palette/paletteediting.h"
#include "palette/palettelookup.h"
#include "palette/palettetablefile.h"
#include "palette/paletteusage.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "platform/shellopen.h"
#include "platform/systeminfo.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "ui/careditordialog.h"
#include "ui/deltaspage.h"
#include "ui/dialogprompts.h"
#include "ui/drawingcanvas.h"
#include "ui/drawingpanel.h"
#include "ui/paintprogramsession.h"
#include "ui/palindexdelegate.h"
#include "ui/pedremapview.h"
#include "ui/spritelistpage.h"
#include "ui/spritespage.h"
#include "ui/surfacespage.h"
#include "ui/tilegridview.h"
#include "ui/twnd_about.h"
#include "ui/twnd_adjust.h"
#include "ui/twnd_askimport.h"
#include "ui/twnd_clutdialog.h"
#include "ui/twnd_surface.h"
#include "ui/windowlog.h"
#include "ui/windowprogress.h"
#include "widgets/draggedfile.h"
#include "widgets/stretchedimageview.h"
#include "widgets/textrefresh.h"
#include "widgets/verticalscrollarea.h"
#include "widgets/zoom.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>
#include <new>

namespace {

const QString Title = QStringLiteral("vyr2 sty tool");

QWidget *captionField(const QString &caption, QWidget *field, QWidget *parent) {
    auto *box = new QWidget(parent);
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(caption, box));
    layout->addWidget(field);
    return box;
}

// A sprite number; its maximum follows the loaded style.
QSpinBox *spriteSpinner(const QString &name, QWidget *parent) {
    auto *spinner = new QSpinBox(parent);
    spinner->setObjectName(name);
    spinner->setMaximum(0);
    return spinner;
}

const QString EditInPaintProgramCaption = QStringLiteral("edit in paint program");
const QString PictureMimeType = QStringLiteral("image/bmp");
// How messages about a pasted picture name it.
const QString ClipboardName = QStringLiteral("the clipboard");

QString viewsOutOfMemoryMessage(const QString &path) {
    return QStringLiteral("\"%1\" is open, but there is not enough memory to show all of it.")
        .arg(QFileInfo(path).fileName());
}

bool isStyleFileUrl(const QMimeData *mime) {
    return draggedFile(mime, StyleExtensions).has_value();
}

} // namespace

Twnd_editor::Twnd_editor()
    : paintSession_(new PaintProgramSession(this)),
      history_([this] { return document_; }, [this](const StyleDocument &state) { showState(state); }),
      runner_(document_, history_), dialogPrompts_(std::make_unique<DialogPrompts>(this)),
      prompts_(dialogPrompts_.get()), fileOpener_(openWithAssociatedProgram), adjust_(new Twnd_adjust(this)),
      clutdialog_(new Twnd_clutdialog(this)), about_(new Twnd_about(this)), surface_(new Twnd_surface(this)),
      askimport_(new Twnd_askimport(this)), caredit_(new Twnd_caredit(this)) {
    setWindowTitle(Title);
    setAcceptDrops(true);
    runner_.setErrorReport([this](const QString &text) { reportError(text); });
    connect(&runner_, &CommandRunner::changed, this, &Twnd_editor::showChange);
    connect(paintSession_, &PaintProgramSession::saved, this,
            [this] { attempt([this] { paintProgramSaved(); }); });
    connect(paintSession_, &PaintProgramSession::editingChanged, this, [this](bool editing) {
        for (QAction *stop : stopEditing_)
            stop->setEnabled(editing);
    });
    dialogPrompts_->setPalettePicker([this](const QString &preset) { return pickPalette(preset); });
    dialogPrompts_->setImportChooser([this] { return askimport_->choose(); });

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

    mainPages_ = new QTabWidget;
    mainPages_->addTab(makeSpritesPage(), QStringLiteral("Sprites"));
    mainPages_->addTab(makeTexturesPage(), QStringLiteral("Textures"));
    mainPages_->addTab(makeSurfacesPage(), QStringLiteral("Surfaces"));
    mainPages_->addTab(makeSpriteListPage(), QStringLiteral("sprite list"));
    mainPages_->addTab(makePalettesPage(), QStringLiteral("Palettes"));
    gciText_ = new QPlainTextEdit;
    gciText_->setObjectName(QStringLiteral("gcitext"));
    gciText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(gciText_, &QPlainTextEdit::textChanged, this, [this] {
        if (showingScript_)
            return;
        document_.CarScript = viewLines(gciText_);
        scriptModified_ = true;
        keepTextEdits();
    });
    mainPages_->addTab(gciText_, QStringLiteral("GCI raw editor"));
    log_ = new QPlainTextEdit;
    log_->setObjectName(QStringLiteral("log"));
    log_->setReadOnly(true);
    sprites_->setLogView(log_);
    mainPages_->addTab(log_, QStringLiteral("Log"));
    // Working pages without a tab: the delta sheet is reached through the "Deltas" button.
    mainPages_->setTabVisible(mainPages_->addTab(new QWidget, QStringLiteral("invisible")), false);
    deltas_ = new DeltasPage;
    deltas_->setDocument(&document_);
    deltas_->setPrompts(prompts_);
    deltas_->setLogView(log_);
    deltas_->setRunner(&runner_);
    // The delta sheet has a tab only while it is shown, so the tab row says where the user is.
    const int deltasTab = mainPages_->addTab(deltas_, QStringLiteral("Deltas"));
    mainPages_->setTabVisible(deltasTab, false);
    connect(mainPages_, &QTabWidget::currentChanged, this, [this, deltasTab](int index) {
        if (index != deltasTab)
            mainPages_->setTabVisible(deltasTab, false);
    });
    connect(sprites_, &SpritesPage::deltasRequested, this, [this](int sprite) {
        mainPages_->setTabVisible(mainPages_->indexOf(deltas_), true);
        mainPages_->setCurrentWidget(deltas_);
        attempt([&] { deltas_->open(sprite); });
    });

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

    mainArea_ = new QStackedWidget;
    mainArea_->addWidget(mainPages_);
    mainArea_->addWidget(loadingPage_);

    auto *side = new QTabWidget;
    // The panel is at least as wide as its three tabs, so none hides behind scroll arrows.
    side->tabBar()->setUsesScrollButtons(false);
    side->addTab(makeInfoPage(), QStringLiteral("info"));
    side->addTab(makePalIndexPage(), QStringLiteral("pal index"));
    side->addTab(makeToolPage(), QStringLiteral("tool"));
    sprites_->setSpriteSelector(spriteSelector_);

    auto *splitter = new QSplitter;
    splitter->addWidget(mainArea_);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    resize(837, 462);
    setMinimumHeight(390);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // A press on the palette picture names the ped remap to view.
    connect(clutView_, &StretchedImageView::pointedAt, pedRemap_, &PedRemapView::setRemap);
    setState(State::Empty);
}

QWidget *Twnd_editor::makeSpritesPage() {
    sprites_ = new SpritesPage;
    sprites_->setDocument(&document_);
    sprites_->setPrompts(prompts_);
    connect(sprites_, &SpritesPage::spriteClicked, this, &Twnd_editor::spriteClicked);
    connect(sprites_, &SpritesPage::editCarRequested, this,
            [this](int sprite) { attempt([&] { editCar(sprite); }); });
    sprites_->setRunner(&runner_);
    auto *paint = new QAction(EditInPaintProgramCaption, sprites_);
    connect(paint, &QAction::triggered, this, guard(&Twnd_editor::editSpriteInPaintProgram));
    readyActions_.push_back(paint);
    sprites_->addCommands({paint, stopEditingAction(sprites_)});
    addClipboardCommands(sprites_, GraphicKind::Sprite);
    return sprites_;
}

QWidget *Twnd_editor::makeTexturesPage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    tileGrid_ = new TileGridView(page);
    tileGrid_->setDocument(&document_);
    connect(tileGrid_, &TileGridView::tileSelected, this, &Twnd_editor::DrawGrid1SelectCell);
    connect(tileGrid_, &TileGridView::pictureDropped, this, [this](int tile, const QString &path) {
        attempt([&] { importPicture({GraphicKind::Tile, tile}, PictureSource::file(path)); });
    });
    layout->addWidget(tileGrid_);

    // The tool rows sit right under the grid: at 1x the room left over is below them, zoomed in
    // the grid takes it.
    auto *commands = new QToolBar(page);
    const auto command = [&](QToolBar *row, const QString &caption, void (Twnd_editor::*click)()) {
        readyActions_.push_back(row->addAction(caption, this, tileGuard(click)));
    };
    command(commands, QStringLiteral("export"), &Twnd_editor::btn_exporttileClick);
    command(commands, QStringLiteral("import"), &Twnd_editor::btn_importtileClick);
    command(commands, QStringLiteral("Export all"), &Twnd_editor::btn_exportalltilesClick);
    command(commands, QStringLiteral("Surface"), &Twnd_editor::btn_surfaceClick);
    command(commands, QStringLiteral("add page"), &Twnd_editor::btn_addtilepageClick);
    command(commands, QStringLiteral("remove page"), &Twnd_editor::btn_removetilepageClick);
    layout->addWidget(commands);
    auto *paintRow = new QToolBar(page);
    command(paintRow, EditInPaintProgramCaption, &Twnd_editor::editTileInPaintProgram);
    paintRow->addAction(stopEditingAction(page));
    layout->addWidget(paintRow);
    tileDrawing_ = new DrawingPanel(page);
    tileDrawing_->setDocument(&document_);
    tileDrawing_->setRunner(&runner_);
    paintRow->addAction(tileDrawing_->drawAction());
    tileDrawing_->addDrawKeyTo(page);
    layout->addWidget(tileDrawing_, 1);
    // Drawing happens in place, over the current cell of the grid.
    DrawingCanvas *cellCanvas = tileDrawing_->addCanvasIn(tileGrid_->viewport());
    cellCanvas->setObjectName(QStringLiteral("cellcanvas"));
    connect(tileGrid_, &TileGridView::cellsMoved, cellCanvas, [this, cellCanvas] {
        cellCanvas->setZoom(tileGrid_->zoom());
        cellCanvas->setGeometry(tileGrid_->cellRect(tileGrid_->currentCell()));
    });
    // Not in a tool bar, which would fold them away in a narrow window.
    auto *exportRow = new QHBoxLayout;
    tilefileformat_ = new QLineEdit(DefaultTilePattern, page);
    tilefileformat_->setObjectName(QStringLiteral("tilefileformat"));
    tilefileformat_->setMinimumWidth(tilefileformat_->fontMetrics().horizontalAdvance(DefaultTilePattern) +
                                     tilefileformat_->fontMetrics().averageCharWidth() * 3);
    exportRow->addWidget(tilefileformat_);
    tileProgress_ = new QProgressBar(page);
    tileProgress_->setValue(0);
    exportRow->addWidget(tileProgress_, 1);
    layout->addLayout(exportRow);
    auto *below = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
    layout->addItem(below);

    addClipboardCommands(page, GraphicKind::Tile);
    addZoomControls(
        page, tileGrid_, [this] { return tileGrid_->zoom(); },
        [this, layout, below](int zoom, QPoint anchor) {
            tileGrid_->setZoom(zoom, anchor);
            below->changeSize(0, 0, QSizePolicy::Minimum,
                              zoom == 1 ? QSizePolicy::Expanding : QSizePolicy::Fixed);
            layout->invalidate();
        });
    return page;
}

QWidget *Twnd_editor::makeSurfacesPage() {
    surfaces_ = new SurfacesPage;
    surfaces_->setDocument(&document_);
    surfaces_->setRunner(&runner_);
    return surfaces_;
}

QWidget *Twnd_editor::makeSpriteListPage() {
    spriteListPage_ = new SpriteListPage;
    spriteListPage_->setDocument(&document_, &sprites_->overlay());
    connect(spriteListPage_, &SpriteListPage::publishRequested, this, [this](int sprite) {
        attempt([&] { publishCar(document_, sprite, prompts(), tempFolder(), fileOpener_); });
    });
    connect(spriteListPage_, &SpriteListPage::showSprite, this, [this](int sprite) {
        mainPages_->setCurrentWidget(sprites_);
        sprites_->selectByNumber(sprite);
    });
    return spriteListPage_;
}

QWidget *Twnd_editor::makePalettesPage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *tools = new QToolBar(page);
    readyActions_.push_back(
        tools->addAction(QStringLiteral("Export"), this, guard(&Twnd_editor::btn_exportclutClick)));
    importClut_ = tools->addAction(QStringLiteral("Import"), this, guard(&Twnd_editor::btn_importclutClick));
    readyActions_.push_back(
        tools->addAction(QStringLiteral("brightness"), this, guard(&Twnd_editor::btn_clutbrightnessClick)));
    readyActions_.push_back(
        tools->addAction(QStringLiteral("<<"), this, guard(&Twnd_editor::btn_removepalettesClick)));
    readyActions_.push_back(
        tools->addAction(QStringLiteral(">>"), this, guard(&Twnd_editor::btn_addpalettesClick)));
    readyActions_.push_back(
        tools->addAction(QStringLiteral("Import .pal"), this, guard(&Twnd_editor::btn_importpalClick)));
    readyActions_.push_back(
        tools->addAction(QStringLiteral("Export .pal"), this, guard(&Twnd_editor::btn_exportpalClick)));
    layout->addWidget(tools);
    auto *scroll = new QScrollArea(page);
    clutView_ = new StretchedImageView;
    clutView_->setObjectName(QStringLiteral("clut1"));
    scroll->setWidget(clutView_);
    layout->addWidget(scroll, 1);
    return page;
}

QWidget *Twnd_editor::makeInfoPage() {
    info_ = new QPlainTextEdit;
    info_->setObjectName(QStringLiteral("info"));
    info_->setReadOnly(true);
    return info_;
}

QWidget *Twnd_editor::makePalIndexPage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    const auto button = [&](const QString &caption, void (Twnd_editor::*click)()) {
        auto *b = new QPushButton(caption, page);
        connect(b, &QPushButton::clicked, this, guard(click));
        readyWidgets_.push_back(b);
        layout->addWidget(b);
    };
    button(QStringLiteral("remap palindexes"), &Twnd_editor::btn_remaptilepalClick);
    button(QStringLiteral("View unused palettes"), &Twnd_editor::btn_viewunusedClick);
    button(QStringLiteral("transparency black"), &Twnd_editor::btn_nukepalsClick);
    palindex_ = new QListWidget(page);
    palindex_->setObjectName(QStringLiteral("palindex"));
    palindex_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    palindex_->setUniformItemSizes(true);
    palindex_->setItemDelegate(new PalindexDelegate(&document_, palindex_));
    layout->addWidget(palindex_, 1);
    return page;
}

QWidget *Twnd_editor::makeToolPage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *ped = new QGroupBox(QStringLiteral("ped remap"), page);
    auto *pedLayout = new QHBoxLayout(ped);
    pedRemap_ = new PedRemapView(prompts_, ped);
    pedLayout->addWidget(pedRemap_);
    layout->addWidget(ped);
    const auto button = [&](const QString &caption, QWidget *parent, void (Twnd_editor::*click)(),
                            bool aboutTiles = false) {
        auto *b = new QPushButton(caption, parent);
        connect(b, &QPushButton::clicked, this, aboutTiles ? tileGuard(click) : guard(click));
        readyWidgets_.push_back(b);
        return b;
    };
    auto *select = new QHBoxLayout;
    spriteSelector_ = spriteSpinner(QStringLiteral("spriteselector"), page);
    select->addWidget(spriteSelector_);
    select->addWidget(button(QStringLiteral("select it"), page, &Twnd_editor::btn_selectspriteClick));
    layout->addLayout(select);
    auto *rangeBox = new QGroupBox(QStringLiteral("Range of sprites"), page);
    auto *rangeLayout = new QVBoxLayout(rangeBox);
    auto *range = new QHBoxLayout;
    rangeStart_ = spriteSpinner(QStringLiteral("rangestart"), rangeBox);
    rangeEnd_ = spriteSpinner(QStringLiteral("rangeend"), rangeBox);
    connect(rangeStart_, &QSpinBox::valueChanged, this, [this](int start) {
        if (rangeEnd_->value() < start)
            rangeEnd_->setValue(start);
    });
    range->addWidget(captionField(QStringLiteral("Start:"), rangeStart_, rangeBox));
    range->addWidget(captionField(QStringLiteral("End:"), rangeEnd_, rangeBox));
    rangeLayout->addLayout(range);
    auto *rangeButtons = new QHBoxLayout;
    rangeButtons->addWidget(button(QStringLiteral("Export"), rangeBox, &Twnd_editor::btn_exportrangeClick));
    // The range export names its files itself, so the format is chosen here.
    rangePng_ = new QCheckBox(QStringLiteral("as PNG"), rangeBox);
    rangePng_->setObjectName(QStringLiteral("rangepng"));
    rangeButtons->addWidget(rangePng_);
    rangeButtons->addWidget(button(QStringLiteral("Import"), rangeBox, &Twnd_editor::btn_importrangeClick));
    rangeLayout->addLayout(rangeButtons);
    layout->addWidget(rangeBox);
    layout->addWidget(
        button(QStringLiteral("mirror all door locations"), page, &Twnd_editor::btn_mirrordoorsClick));
    for (const QString &group : {QStringLiteral(" Tiles "), QStringLiteral(" Sprites ")}) {
        auto *box = new QGroupBox(group, page);
        auto *buttons = new QHBoxLayout(box);
        const bool tiles = group == QStringLiteral(" Tiles ");
        QPushButton *exportRaw = button(
            QStringLiteral("export raw"), box,
            tiles ? &Twnd_editor::btn_exportrawtilesClick : &Twnd_editor::btn_exportrawspritesClick, tiles);
        QPushButton *importRaw = button(
            QStringLiteral("import raw"), box,
            tiles ? &Twnd_editor::btn_importrawtilesClick : &Twnd_editor::btn_importrawspritesClick, tiles);
        if (!tiles) {
            exportRaw->setToolTip(QStringLiteral("exports whole sprite pages to a bitmap"));
            importRaw->setToolTip(QStringLiteral("imports whole sprite pages from a bitmap"));
        }
        buttons->addWidget(exportRaw);
        buttons->addWidget(importRaw);
        layout->addWidget(box);
    }
    layout->addStretch();
    auto *scroll = new VerticalScrollArea;
    scroll->setWidget(page);
    return scroll;
}

Prompts &Twnd_editor::prompts() {
    return *prompts_;
}

void Twnd_editor::setPrompts(Prompts *prompts) {
    prompts_ = prompts;
    pedRemap_->setPrompts(prompts);
    sprites_->setPrompts(prompts);
    deltas_->setPrompts(prompts);
    tileDrawing_->setPrompts(prompts);
}

std::optional<QString> Twnd_editor::pickPalette(const QString &preset) {
    clutdialog_->setPalettes(clut1(), usedPhysicalPalettes(document_));
    clutdialog_->setClutnumber(preset);
    if (clutdialog_->exec() != QDialog::Accepted)
        return std::nullopt;
    return clutdialog_->clutnumber();
}

void Twnd_editor::setState(State state) {
    state_ = state;
    const bool loading = state == State::Loading;
    mainPages_->setEnabled(state != State::Empty && !loading);
    mainArea_->setCurrentWidget(busy() ? loadingPage_ : static_cast<QWidget *>(mainPages_));
    // The events processed during a load or save must not start another one or change the document.
    for (QAction *file : {open_, fileOpen_, openGci_, saveGci_})
        file->setEnabled(!busy());
    for (QAction *save : {saveAs_, fileSave_, fileSaveAs_})
        save->setEnabled(!busy() && state != State::Empty);
    updateHistoryActions();
    enableCommands();
}

bool Twnd_editor::busy() const {
    return state_ == State::Loading || state_ == State::Saving;
}

void Twnd_editor::updateHistoryActions() {
    undo_->setEnabled(!busy() && history_.stack().canUndo());
    redo_->setEnabled(!busy() && history_.stack().canRedo());
}

void Twnd_editor::enableCommands() {
    const bool ready = state_ == State::Ready;
    const bool coloured = ready && document_.PhysicalPaletteCount > 0;
    for (QAction *action : readyActions_)
        action->setEnabled(coloured);
    for (QWidget *widget : readyWidgets_)
        widget->setEnabled(coloured);
    sprites_->setReady(coloured);
    spriteListPage_->setReady(coloured);
    importClut_->setEnabled(ready);
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
        WindowLog log(log_);
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
        paintSession_->stop();
        fileName_ = path;
        history_.reset();
        textModified_ = false;
    }
    runner_.reset();
    updateCaption();
    try {
        refreshViews(false);
        if (loaded) {
            progress.setStatus(QStringLiteral(" Drawing sprites... "));
            QCoreApplication::processEvents();
            sprites_->showLoaded(progress);
            spriteListPage_->refresh();
            // The text pages' own undo steps belong to the file before.
            for (QPlainTextEdit *page : mainPages_->findChildren<QPlainTextEdit *>())
                page->document()->clearUndoRedoStacks();
        }
    } catch (const std::bad_alloc &) {
        // The document is loaded and Save writes it; only the views are short of it.
        error = loaded ? viewsOutOfMemoryMessage(path) : notEnoughMemoryToOpenMessage(path);
    }
    loadingBar_->setValue(0);
    setState(State::Ready);
    mainPages_->setCurrentIndex(0);
    if (loaded && document_.PhysicalPaletteCount == 0)
        info_->setPlainText(NoPalettesMessage);
    if (!error.isEmpty())
        prompts().message(error);
}

bool Twnd_editor::saveAs() {
    return saveDocument(true);
}

bool Twnd_editor::saveDocument(bool choosing) {
    const int page = mainPages_->currentIndex();
    setState(State::Saving);
    WindowProgress progress(status_, loadingBar_);
    QString saved;
    {
        WindowLog log(log_);
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
    mainPages_->setCurrentIndex(page);
    if (saved.isEmpty())
        return false;
    history_.stack().setClean();
    textModified_ = false;
    updateCaption();
    try {
        refreshViews();
    } catch (const std::bad_alloc &) {
        prompts().message(
            QStringLiteral("\"%1\" was saved, but there is not enough memory to show all of it.")
                .arg(QFileInfo(saved).fileName()));
    }
    return true;
}

void Twnd_editor::refreshViews(bool includingStrip) {
    // Importing palettes into a style without them, or undoing that, changes what can be used.
    enableCommands();
    clutView_->setImage(clut1(), clut1().size());
    pedRemap_->setDocument(&document_);
    if (palindex_->count() != document_.PaletteIndexCount()) {
        palindex_->clear();
        for (int row = 0; row < document_.PaletteIndexCount(); ++row)
            palindex_->addItem(QString());
    }
    palindex_->viewport()->update();
    tileGrid_->refresh();
    tileDrawing_->refresh();
    surfaces_->refresh();
    showingScript_ = true;
    showLines(gciText_, document_.CarScript);
    showingScript_ = false;
    const int lastSprite = std::max(0, document_.spriteCount() - 1);
    for (QSpinBox *selector : {spriteSelector_, rangeStart_, rangeEnd_})
        selector->setMaximum(lastSprite);
    if (includingStrip)
        sprites_->refresh();
    spriteListPage_->refresh(SpriteListPage::Selection::Keep);
}

void Twnd_editor::showChange(const DocumentChange &change) {
    if (change.typed) {
        textModified_ = true;
        updateCaption();
    }
    enableCommands();
    if (change.palettes()) {
        clutView_->setImage(clut1(), clut1().size());
        if (palindex_->count() != document_.PaletteIndexCount()) {
            palindex_->clear();
            for (int row = 0; row < document_.PaletteIndexCount(); ++row)
                palindex_->addItem(QString());
        }
        palindex_->viewport()->update();
    }
    if (change.palettes() || change.sprites())
        pedRemap_->setDocument(&document_);
    if (change.tiles() || change.palettes() || change.surfaces())
        tileGrid_->refresh();
    if (change.tiles() || change.palettes())
        tileDrawing_->refresh();
    if ((change.tiles() || change.surfaces()) && change.source != surfaces_)
        surfaces_->refresh();
    if (change.script()) {
        showingScript_ = true;
        showLines(gciText_, document_.CarScript);
        showingScript_ = false;
    }
    if (change.sprites()) {
        const int lastSprite = std::max(0, document_.spriteCount() - 1);
        for (QSpinBox *selector : {spriteSelector_, rangeStart_, rangeEnd_})
            selector->setMaximum(lastSprite);
    }
    const bool spriteViews = change.sprites() || change.palettes() || change.cars() || change.deltas();
    if (spriteViews && change.source != sprites_)
        sprites_->refresh();
    if (spriteViews)
        spriteListPage_->refresh(SpriteListPage::Selection::Keep);
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

void Twnd_editor::btn_clutbrightnessClick() {
    adjust_->setSource(clut1());
    adjust_->reset();
    if (adjust_->exec() != QDialog::Accepted)
        return;
    command(QStringLiteral("brightness"), [&] { applyAdjustedColours(document_, adjust_->preview()); });
}

void Twnd_editor::showState(const StyleDocument &state) {
    document_ = state;
    runner_.reset();
    refreshViews();
    deltas_->refresh();
    updateCaption();
}

void Twnd_editor::command(const QString &name, const std::function<void()> &run) {
    runner_.run(name, [&](StyleDocument &) { run(); });
    updateCaption();
}

std::function<void()> Twnd_editor::guard(void (Twnd_editor::*click)()) {
    return [this, click] {
        attempt([this, click] { (this->*click)(); });
    };
}

std::function<void()> Twnd_editor::tileGuard(void (Twnd_editor::*click)()) {
    return [this, click] {
        attempt([this, click] {
            // The refreshed views select the sprite again; the info panel stays on the grid's cell,
            // also when the command fails.
            const auto describeTile = qScopeGuard([this] { DrawGrid1SelectCell(tileGrid_->currentTile()); });
            (this->*click)();
        });
    };
}

void Twnd_editor::attempt(const std::function<void()> &run) {
    try {
        run();
    } catch (const EditorError &e) {
        reportError(e.text());
    } catch (const std::bad_alloc &) {
        reportError(QStringLiteral("There is not enough memory for this command."));
    }
}

void Twnd_editor::commit(const QString &name, const QObject *source) {
    runner_.record(name, 0, source);
    updateCaption();
}

void Twnd_editor::keepTextEdits() {
    runner_.keepTextEdits();
}

void Twnd_editor::updateCaption() {
    // Names the file Save writes: a refused open leaves it as it was.
    setWindowTitle(fileName_.isEmpty() ? Title
                                       : Title + QStringLiteral(" - ") + QFileInfo(fileName_).fileName() +
                                             QStringLiteral("[*]"));
    setWindowModified(isModified());
}

bool Twnd_editor::isModified() const {
    return !history_.stack().isClean() || textModified_;
}

void Twnd_editor::btn_addpalettesClick() {
    command(QStringLiteral("add palettes"), [&] { addPalettes(document_, prompts()); });
}

void Twnd_editor::btn_removepalettesClick() {
    command(QStringLiteral("remove palettes"), [&] { removePalettes(document_, prompts()); });
}

void Twnd_editor::btn_remaptilepalClick() {
    std::vector<int> rows;
    for (const QModelIndex &index : palindex_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    command(QStringLiteral("remap palindexes"),
            [&] { remapPalindexes(document_, rows, palindex_->currentRow() >= 0, prompts()); });
}

void Twnd_editor::btn_exportclutClick() {
    exportPaletteTable(document_, prompts());
}

void Twnd_editor::btn_importclutClick() {
    command(QStringLiteral("import palettes"), [&] { importPaletteTable(document_, prompts()); });
}

void Twnd_editor::btn_exportpalClick() {
    exportJascPalette(document_, prompts());
}

void Twnd_editor::btn_importpalClick() {
    command(QStringLiteral("import .pal"), [&] { importJascPalette(document_, prompts()); });
}

void Twnd_editor::DrawGrid1SelectCell(int tile) {
    endEditingOtherThan({GraphicKind::Tile, tile});
    tileDrawing_->showGraphic({GraphicKind::Tile, tile});
    QString error;
    const std::optional<TilePattern> pattern = TilePattern::parse(tilefileformat_->text(), error);
    info_->setPlainText(tileInfo(document_, tile, pattern ? pattern->format(tile) : QString()));
}

void Twnd_editor::btn_exporttileClick() {
    exportTile(document_, tileGrid_->currentTile(), tilefileformat_->text(), prompts());
}

void Twnd_editor::btn_importtileClick() {
    const int tile = tileGrid_->currentTile();
    command(QStringLiteral("import tile %1").arg(tile), [&] {
        WindowLog log(log_);
        importTile(document_, tile, tilefileformat_->text(), prompts(), log);
    });
}

void Twnd_editor::btn_exportalltilesClick() {
    WindowProgress progress(new QLabel, tileProgress_);
    exportAllTiles(document_, tilefileformat_->text(), exportAllDirectory_, prompts(), progress,
                   [this](int tile) {
                       const QPoint cell = cellOfTile(tile);
                       tileGrid_->setCurrentCell(cell.x(), cell.y());
                   });
    tileProgress_->setValue(0);
}

void Twnd_editor::btn_surfaceClick() {
    const int tile = tileGrid_->currentTile();
    command(QStringLiteral("surface for tile %1").arg(tile),
            [&] { surface_->edit(document_, tile, prompts()); });
}

void Twnd_editor::btn_addtilepageClick() {
    command(QStringLiteral("add tile page"), [&] { addTilePage(document_, prompts()); });
}

void Twnd_editor::btn_removetilepageClick() {
    command(QStringLiteral("remove tile page"), [&] { removeTilePage(document_, prompts()); });
}

void Twnd_editor::btn_exportrawtilesClick() {
    exportRawTiles(document_, prompts());
}

void Twnd_editor::btn_importrawtilesClick() {
    command(QStringLiteral("import raw tiles"), [&] {
        WindowLog log(log_);
        importRawTiles(document_, prompts(), log);
    });
}

void Twnd_editor::btn_viewunusedClick() {
    command(QStringLiteral("View unused palettes"), [&] { viewUnusedPalettes(document_); });
}

void Twnd_editor::btn_nukepalsClick() {
    command(QStringLiteral("transparency black"), [&] { transparencyBlack(document_); });
}

void Twnd_editor::spriteClicked(int sprite) {
    endEditingOtherThan({GraphicKind::Sprite, sprite});
    spriteSelector_->setValue(sprite);
    info_->setPlainText(spriteInfoPanel(document_, sprite).join(QLatin1Char('\n')));
}

void Twnd_editor::editCar(int sprite) {
    const QStringList script = document_.CarScript;
    command(QStringLiteral("edit car"), [&] { caredit_->editCar(document_, sprite, prompts()); });
    if (document_.CarScript != script)
        scriptModified_ = true;
}

void Twnd_editor::btn_mirrordoorsClick() {
    command(QStringLiteral("mirror all door locations"), [&] { mirrorAllDoorLocations(document_); });
}

void Twnd_editor::btn_opengciClick() {
    if (scriptModified_ &&
        prompts().confirm(QStringLiteral("The car script has changes that were not saved. Open another one "
                                         "anyway?")) == Answer::No)
        return;
    if (openGci(document_.CarScript, gciFileName_, prompts())) {
        scriptModified_ = false;
        keepTextEdits();
        refreshViews();
    }
}

void Twnd_editor::btn_savegciClick() {
    saveCarScript();
}

bool Twnd_editor::saveCarScript() {
    if (saveGci(document_.CarScript, gciFileName_, prompts()).isEmpty())
        return false;
    scriptModified_ = false;
    keepTextEdits();
    refreshViews();
    return true;
}

void Twnd_editor::btn_selectspriteClick() {
    sprites_->selectByNumber(spriteSelector_->value());
}

void Twnd_editor::btn_exportrangeClick() {
    WindowLog log(log_);
    exportSpriteRange(
        document_, rangeStart_->value(), rangeEnd_->value(), prompts(), log,
        [this](int sprite) {
            QCoreApplication::processEvents();
            sprites_->selectByNumber(sprite);
        },
        rangePng_->isChecked() ? PictureFormat::Png : PictureFormat::Bmp);
}

void Twnd_editor::btn_importrangeClick() {
    const int start = rangeStart_->value();
    const int end = std::max(start, rangeEnd_->value());
    WindowLog log(log_);
    try {
        importSpriteRange(
            document_, start, end, prompts(), log, [this](int sprite) { sprites_->selectByNumber(sprite); },
            [this](int sprite) {
                sprites_->repaintOutlined(sprite);
                sprites_->spriteClick();
            });
    } catch (...) {
        // The sprites imported before the error stay, as one step.
        commit(QStringLiteral("import sprites %1 to %2").arg(start).arg(end), sprites_);
        throw;
    }
    commit(QStringLiteral("import sprites %1 to %2").arg(start).arg(end), sprites_);
}

void Twnd_editor::btn_exportrawspritesClick() {
    exportRawSprites(document_, prompts());
}

void Twnd_editor::btn_importrawspritesClick() {
    command(QStringLiteral("import raw sprites"), [&] {
        WindowLog log(log_);
        importRawSprites(document_, prompts(), log);
    });
}

void Twnd_editor::btn_aboutClick() {
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

QAction *Twnd_editor::stopEditingAction(QWidget *page) {
    auto *stop = new QAction(QStringLiteral("stop editing"), page);
    stop->setEnabled(false);
    connect(stop, &QAction::triggered, paintSession_, &PaintProgramSession::stop);
    stopEditing_.push_back(stop);
    return stop;
}

void Twnd_editor::addClipboardCommands(QWidget *page, GraphicKind kind) {
    const auto shortcut = [this, page](const QString &name, QKeySequence::StandardKey key,
                                       void (Twnd_editor::*run)(GraphicKind), GraphicKind kind) {
        auto *action = new QAction(name, page);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this,
                [this, run, kind] { attempt([&] { (this->*run)(kind); }); });
        page->addAction(action);
    };
    shortcut(QStringLiteral("Copy"), QKeySequence::Copy, &Twnd_editor::copyGraphic, kind);
    shortcut(QStringLiteral("Paste"), QKeySequence::Paste, &Twnd_editor::pasteGraphic, kind);
}

std::optional<Graphic> Twnd_editor::selectedGraphic(GraphicKind kind) const {
    if (state_ != State::Ready || document_.PhysicalPaletteCount == 0)
        return std::nullopt;
    if (kind == GraphicKind::Sprite) {
        const int sprite = sprites_->selectedSprite();
        if (sprite < 0 || sprite >= document_.spriteCount())
            return std::nullopt;
        return Graphic{kind, sprite};
    }
    if (tileGrid_->columnCount() == 0)
        return std::nullopt;
    return Graphic{kind, tileGrid_->currentTile()};
}

void Twnd_editor::copyGraphic(GraphicKind kind) {
    const std::optional<Graphic> graphic = selectedGraphic(kind);
    if (!graphic)
        return;
    const QImage picture = graphicPicture(document_, *graphic);
    if (picture.isNull()) {
        prompts().message(QStringLiteral("The %1 has no picture to copy.").arg(graphic->name()));
        return;
    }
    // The bitmap keeps the indexes and the palette for programs that take one; the plain picture
    // is for those that only take true colour.
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    auto *mime = new QMimeData;
    mime->setData(PictureMimeType, bitmap);
    mime->setImageData(picture.convertToFormat(QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void Twnd_editor::pasteGraphic(GraphicKind kind) {
    const std::optional<Graphic> graphic = selectedGraphic(kind);
    if (!graphic)
        return;
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    const QByteArray bitmap = mime ? mime->data(PictureMimeType) : QByteArray();
    // Paint programs offer a true-colour bitmap beside other forms: only an 8-bit one is taken as it
    // is; any other picture goes through the rule for pictures of more colours.
    std::optional<LoadedBitmap> decoded;
    QString unreadable = QStringLiteral("The clipboard holds no picture.");
    if (!bitmap.isEmpty()) {
        try {
            decoded = decodeBitmap(bitmap, ClipboardName);
        } catch (const EditorError &error) {
            // Another form of the picture may still be read; if not, this says why.
            unreadable = error.text();
        }
    }
    if (decoded && decoded->image.format() == QImage::Format_Indexed8 && decoded->pixelFormatCode == Pf8Bit) {
        importPicture(*graphic, PictureSource::picture(*decoded, ClipboardName));
        return;
    }
    QImage picture = mime && mime->hasImage() ? qvariant_cast<QImage>(mime->imageData()) : QImage();
    if (picture.isNull() && decoded)
        picture = decoded->image;
    if (picture.isNull()) {
        prompts().message(unreadable);
        return;
    }
    QString refusal;
    const std::optional<PictureSource> eightBit = pictureToImport(picture, ClipboardName, refusal);
    if (!eightBit) {
        prompts().message(refusal);
        return;
    }
    importPicture(*graphic, *eightBit);
}

void Twnd_editor::importPicture(Graphic graphic, const PictureSource &picture) {
    if (state_ != State::Ready || document_.PhysicalPaletteCount == 0)
        return;
    if (graphic.kind == GraphicKind::Sprite) {
        sprites_->importInto(graphic.number, picture);
        return;
    }
    const auto describeTile = qScopeGuard([this] { DrawGrid1SelectCell(tileGrid_->currentTile()); });
    command(QStringLiteral("import tile %1").arg(graphic.number), [&] {
        WindowLog log(log_);
        importGraphic(document_, graphic, picture, prompts(), log);
    });
}

void Twnd_editor::editSpriteInPaintProgram() {
    if (const std::optional<Graphic> graphic = selectedGraphic(GraphicKind::Sprite))
        paintSession_->start(document_, *graphic, prompts(), fileOpener_);
}

void Twnd_editor::editTileInPaintProgram() {
    if (const std::optional<Graphic> graphic = selectedGraphic(GraphicKind::Tile))
        paintSession_->start(document_, *graphic, prompts(), fileOpener_);
}

void Twnd_editor::endEditingOtherThan(Graphic selected) {
    const std::optional<Graphic> edited = paintSession_->graphic();
    if (edited && edited->kind == selected.kind && edited->number != selected.number)
        paintSession_->stop();
}

void Twnd_editor::paintProgramSaved() {
    const std::optional<Graphic> graphic = paintSession_->graphic();
    if (!graphic)
        return;
    // While a load, a save or another command's dialog is under way, the document is theirs.
    if (busy() || QApplication::activeModalWidget()) {
        paintSession_->retryLater();
        return;
    }
    bool changed = false;
    {
        WindowLog log(log_);
        changed = paintSession_->reimport(document_, prompts(), log);
    }
    if (!changed)
        return;
    const QString name = QStringLiteral("%1 from the paint program").arg(graphic->name());
    if (graphic->kind == GraphicKind::Sprite) {
        sprites_->showSelectedChanged();
        commit(name, sprites_);
    } else {
        commit(name);
        DrawGrid1SelectCell(graphic->number);
    }
}
