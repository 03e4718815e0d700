#include "ui/windowpages.h"

#include "cars/carpublishing.h"
#include "platform/systeminfo.h"
#include "ui/deltaspage.h"
#include "ui/drawingpanel.h"
#include "ui/gcipage.h"
#include "ui/graphictransfer.h"
#include "ui/infopanel.h"
#include "ui/logpage.h"
#include "ui/pagecontext.h"
#include "ui/palettespage.h"
#include "ui/palindexpanel.h"
#include "ui/pedremapview.h"
#include "ui/spritelistpage.h"
#include "ui/spritespage.h"
#include "ui/spritestripview.h"
#include "ui/surfacespage.h"
#include "ui/texturespage.h"
#include "ui/tilegridview.h"
#include "ui/toolpanel.h"
#include "widgets/lazypage.h"

#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <new>

WindowPages::WindowPages(const PageContext &context, PaletteTablePicture &clutPicture,
                         GraphicTransfer &transfer, QObject *parent)
    : QObject(parent), context_(context), clutPicture_(clutPicture), transfer_(transfer) {
    makeMainPages();
    makeSidePanel();
    connect(&transfer_, &GraphicTransfer::tileTouched, this, &WindowPages::DrawGrid1SelectCell);
}

void WindowPages::makeMainPages() {
    mainPages_ = new QTabWidget;
    mainPages_->addTab(makeSpritesPage(), QStringLiteral("Sprites"));
    // The other pages are made when first shown: the start pays only for the one on screen.
    texturesTab_ = lazyPage([this] { return makeTexturesPage(); }, [this] { textures_->refresh(); });
    mainPages_->addTab(texturesTab_, QStringLiteral("Textures"));
    surfacesTab_ = lazyPage([this] { return makeSurfacesPage(); }, [this] { surfaces_->refresh(); });
    mainPages_->addTab(surfacesTab_, QStringLiteral("Surfaces"));
    spriteListTab_ =
        lazyPage([this] { return makeSpriteListPage(); }, [this] { spriteListPage_->refresh(); });
    mainPages_->addTab(spriteListTab_, QStringLiteral("sprite list"));
    palettesTab_ = lazyPage([this] { return makePalettesPage(); }, [this] { palettes_->refresh(); });
    mainPages_->addTab(palettesTab_, QStringLiteral("Palettes"));
    gciTab_ = lazyPage([this] { return gci_ = new GciPage(context_); }, [this] { gci_->refresh(); });
    mainPages_->addTab(gciTab_, QStringLiteral("GCI raw editor"));
    // The log gathers lines from the start.
    mainPages_->addTab(context_.log, QStringLiteral("Log"));
    // Working pages without a tab: the delta sheet is reached through the "Deltas" button.
    mainPages_->setTabVisible(mainPages_->addTab(new QWidget, QStringLiteral("invisible")), false);
    addDeltasPage();
}

void WindowPages::makeSidePanel() {
    side_ = new QTabWidget;
    // The panel is at least as wide as its three tabs, so none hides behind scroll arrows.
    side_->tabBar()->setUsesScrollButtons(false);
    info_ = new InfoPanel(context_.document);
    side_->addTab(info_, QStringLiteral("info"));
    palIndexTab_ = lazyPage([this] { return palIndex_ = new PalIndexPanel(context_); },
                            [this] { palIndex_->refresh(); });
    side_->addTab(palIndexTab_, QStringLiteral("pal index"));
    tool_ = new ToolPanel(context_, sprites_);
    connect(tool_, &ToolPanel::tileCommandRan, this,
            [this] { DrawGrid1SelectCell(texturesPage()->grid()->currentTile()); });
    side_->addTab(tool_, QStringLiteral("tool"));
    sprites_->setSpriteSelector(tool_->spriteSelector());
}

QWidget *WindowPages::makeSpritesPage() {
    sprites_ = new SpritesPage;
    sprites_->setDocument(&context_.document);
    sprites_->setPrompts(context_.prompts);
    sprites_->setLogView(context_.log);
    connect(sprites_, &SpritesPage::spriteClicked, this, &WindowPages::spriteClicked);
    connect(sprites_, &SpritesPage::editCarRequested, this, &WindowPages::editCarRequested);
    sprites_->setRunner(&context_.runner);
    transfer_.addSpriteCommands(sprites_);
    return sprites_;
}

QWidget *WindowPages::makeTexturesPage() {
    textures_ = new TexturesPage(context_);
    connect(textures_, &TexturesPage::tileSelected, this, &WindowPages::DrawGrid1SelectCell);
    transfer_.addTileCommands(textures_);
    return textures_;
}

QWidget *WindowPages::makeSpriteListPage() {
    spriteListPage_ = new SpriteListPage;
    spriteListPage_->setDocument(&context_.document, &sprites_->strip()->strip());
    connect(spriteListPage_, &SpriteListPage::publishRequested, this, [this](int sprite) {
        context_.attempt([&] {
            publishCar(context_.document, sprite, *context_.prompts, tempFolder(), context_.openFile);
        });
    });
    connect(spriteListPage_, &SpriteListPage::showSprite, this, [this](int sprite) {
        mainPages_->setCurrentWidget(sprites_);
        sprites_->selectByNumber(sprite);
    });
    return spriteListPage_;
}

QWidget *WindowPages::makeSurfacesPage() {
    surfaces_ = new SurfacesPage;
    surfaces_->setDocument(&context_.document);
    surfaces_->setRunner(&context_.runner);
    return surfaces_;
}

QWidget *WindowPages::makePalettesPage() {
    palettes_ = new PalettesPage(context_, clutPicture_);
    // A press on the palette picture names the ped remap to view.
    connect(palettes_, &PalettesPage::pointedAt, tool_->pedRemap(), &PedRemapView::setRemap);
    return palettes_;
}

void WindowPages::addDeltasPage() {
    deltasTab_ = lazyPage(
        [this] {
            deltas_ = new DeltasPage;
            deltas_->setDocument(&context_.document);
            deltas_->setPrompts(context_.prompts);
            deltas_->setLogView(context_.log);
            deltas_->setRunner(&context_.runner);
            return deltas_;
        },
        [] {});
    // The delta sheet has a tab only while it is shown, so the tab row says where the user is.
    const int deltasTab = mainPages_->addTab(deltasTab_, QStringLiteral("Deltas"));
    mainPages_->setTabVisible(deltasTab, false);
    connect(mainPages_, &QTabWidget::currentChanged, this, [this, deltasTab](int index) {
        if (index != deltasTab)
            mainPages_->setTabVisible(deltasTab, false);
    });
    connect(sprites_, &SpritesPage::deltasRequested, this, [this](int sprite) {
        mainPages_->setTabVisible(mainPages_->indexOf(deltasTab_), true);
        mainPages_->setCurrentWidget(deltasTab_);
        context_.attempt([&] { deltasPage()->open(sprite); });
    });
}

LazyPage *WindowPages::lazyPage(const std::function<QWidget *()> &make, const std::function<void()> &fill) {
    return new LazyPage([this, make, fill] {
        QWidget *page = make();
        enableCommands();
        try {
            fill();
        } catch (const std::bad_alloc &) {
            // As after a load short of memory: the document stays whole, the page shows less. Told
            // once the page is up, not from inside the event that shows it.
            QTimer::singleShot(0, this, &WindowPages::shortOfMemory);
        }
        // What the page shows from the start is not for its text views to undo.
        for (QPlainTextEdit *text : page->findChildren<QPlainTextEdit *>())
            text->document()->clearUndoRedoStacks();
        return page;
    });
}

SpriteListPage *WindowPages::spriteListPage() const {
    spriteListTab_->contents();
    return spriteListPage_;
}

DeltasPage *WindowPages::deltasPage() const {
    deltasTab_->contents();
    return deltas_;
}

TexturesPage *WindowPages::texturesPage() const {
    texturesTab_->contents();
    return textures_;
}

DrawingPanel *WindowPages::tileDrawing() const {
    return texturesPage()->drawing();
}

Twnd_adjust *WindowPages::adjustDialog() const {
    palettesTab_->contents();
    return palettes_->adjustDialog();
}

void WindowPages::setState(bool ready, bool busy) {
    ready_ = ready;
    busy_ = busy;
    enableCommands();
}

void WindowPages::setPrompts(Prompts *prompts) {
    tool_->setPrompts(prompts);
    sprites_->setPrompts(prompts);
    if (deltas_)
        deltas_->setPrompts(prompts);
    if (textures_)
        textures_->drawing()->setPrompts(prompts);
}

void WindowPages::enableCommands() {
    const bool coloured = ready_ && context_.document.PhysicalPaletteCount > 0;
    transfer_.setState(coloured, busy_);
    sprites_->setReady(coloured);
    tool_->setReady(coloured);
    if (textures_)
        textures_->setReady(coloured);
    if (spriteListPage_)
        spriteListPage_->setReady(coloured);
    if (palettes_)
        palettes_->setReady(ready_, coloured);
    if (palIndex_)
        palIndex_->setReady(coloured);
}

void WindowPages::refresh(bool includingStrip) {
    // Importing palettes into a style without them, or undoing that, changes what can be used.
    enableCommands();
    // Pages not made yet show the document as it is when they are.
    if (palettes_)
        palettes_->refresh();
    tool_->refresh();
    if (palIndex_)
        palIndex_->refresh();
    if (textures_)
        textures_->refresh();
    if (surfaces_)
        surfaces_->refresh();
    if (gci_)
        gci_->refresh();
    if (includingStrip)
        sprites_->refresh();
    if (spriteListPage_)
        spriteListPage_->refresh(SpriteListPage::Selection::Keep);
}

void WindowPages::showChange(const DocumentChange &change) {
    enableCommands();
    if (change.palettes() && palettes_)
        palettes_->refresh();
    if (change.palettes() && palIndex_)
        palIndex_->refresh();
    if (change.palettes() || change.sprites())
        tool_->refresh();
    if (textures_)
        textures_->showChange(change);
    if (surfaces_)
        surfaces_->showChange(change);
    if (gci_)
        gci_->showChange(change);
    sprites_->showChange(change);
    if (spriteListPage_)
        spriteListPage_->showChange(change);
    if (deltas_)
        deltas_->showChange(change);
}

void WindowPages::showOpened(Progress &progress) {
    sprites_->showLoaded(progress);
    if (spriteListPage_)
        spriteListPage_->refresh();
    // The text pages' own undo steps belong to the file before.
    for (QPlainTextEdit *page : mainPages_->findChildren<QPlainTextEdit *>())
        page->document()->clearUndoRedoStacks();
}

void WindowPages::DrawGrid1SelectCell(int tile) {
    transfer_.endEditingOtherThan({GraphicKind::Tile, tile});
    TexturesPage *textures = texturesPage();
    textures->drawing()->showGraphic({GraphicKind::Tile, tile});
    info_->describeTile(tile, textures->exportName(tile));
}

void WindowPages::spriteClicked(int sprite) {
    transfer_.endEditingOtherThan({GraphicKind::Sprite, sprite});
    tool_->showSprite(sprite);
    info_->describeSprite(sprite);
}
