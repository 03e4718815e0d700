// The main window's pages: making each (most when first shown), wiring them to the window's
// commands, and keeping those made in step with the document.
#include "cars/carpublishing.h"
#include "platform/systeminfo.h"
#include "ui/deltaspage.h"
#include "ui/drawingpanel.h"
#include "ui/gcipage.h"
#include "ui/graphictransfer.h"
#include "ui/infopanel.h"
#include "ui/logpage.h"
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
#include "ui/twnd_editor.h"
#include "widgets/lazypage.h"

#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <new>

QTabWidget *Twnd_editor::makeMainPages() {
    log_ = new LogPage;
    context_.log = log_;
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
    gciTab_ = lazyPage([this] { return makeGciPage(); }, [this] { gci_->refresh(); });
    mainPages_->addTab(gciTab_, QStringLiteral("GCI raw editor"));
    // The log gathers lines from the start.
    mainPages_->addTab(log_, QStringLiteral("Log"));
    // Working pages without a tab: the delta sheet is reached through the "Deltas" button.
    mainPages_->setTabVisible(mainPages_->addTab(new QWidget, QStringLiteral("invisible")), false);
    addDeltasPage();
    return mainPages_;
}

QWidget *Twnd_editor::makeSidePanel() {
    auto *side = new QTabWidget;
    // The panel is at least as wide as its three tabs, so none hides behind scroll arrows.
    side->tabBar()->setUsesScrollButtons(false);
    info_ = new InfoPanel(document_);
    side->addTab(info_, QStringLiteral("info"));
    palIndexTab_ = lazyPage([this] { return palIndex_ = new PalIndexPanel(context_); },
                            [this] { palIndex_->refresh(); });
    side->addTab(palIndexTab_, QStringLiteral("pal index"));
    tool_ = new ToolPanel(context_, sprites_);
    connect(tool_, &ToolPanel::tileCommandRan, this,
            [this] { DrawGrid1SelectCell(texturesPage()->grid()->currentTile()); });
    side->addTab(tool_, QStringLiteral("tool"));
    sprites_->setSpriteSelector(tool_->spriteSelector());
    return side;
}

QWidget *Twnd_editor::makeSpritesPage() {
    sprites_ = new SpritesPage;
    sprites_->setDocument(&document_);
    sprites_->setPrompts(context_.prompts);
    sprites_->setLogView(log_);
    connect(sprites_, &SpritesPage::spriteClicked, this, &Twnd_editor::spriteClicked);
    connect(sprites_, &SpritesPage::editCarRequested, this,
            [this](int sprite) { attempt([&] { editCar(sprite); }); });
    sprites_->setRunner(&runner_);
    transfer_->addSpriteCommands(sprites_);
    return sprites_;
}

QWidget *Twnd_editor::makeTexturesPage() {
    textures_ = new TexturesPage(context_);
    connect(textures_, &TexturesPage::tileSelected, this, &Twnd_editor::DrawGrid1SelectCell);
    transfer_->addTileCommands(textures_);
    return textures_;
}

QWidget *Twnd_editor::makeSpriteListPage() {
    spriteListPage_ = new SpriteListPage;
    spriteListPage_->setDocument(&document_, &sprites_->strip()->strip());
    connect(spriteListPage_, &SpriteListPage::publishRequested, this, [this](int sprite) {
        attempt([&] { publishCar(document_, sprite, prompts(), tempFolder(), fileOpener_); });
    });
    connect(spriteListPage_, &SpriteListPage::showSprite, this, [this](int sprite) {
        mainPages_->setCurrentWidget(sprites_);
        sprites_->selectByNumber(sprite);
    });
    return spriteListPage_;
}

QWidget *Twnd_editor::makeSurfacesPage() {
    surfaces_ = new SurfacesPage;
    surfaces_->setDocument(&document_);
    surfaces_->setRunner(&runner_);
    return surfaces_;
}

QWidget *Twnd_editor::makePalettesPage() {
    palettes_ = new PalettesPage(context_, clutPicture_);
    // A press on the palette picture names the ped remap to view.
    connect(palettes_, &PalettesPage::pointedAt, tool_->pedRemap(), &PedRemapView::setRemap);
    return palettes_;
}

QWidget *Twnd_editor::makeGciPage() {
    gci_ = new GciPage(context_);
    return gci_;
}

void Twnd_editor::addDeltasPage() {
    deltasTab_ = lazyPage(
        [this] {
            deltas_ = new DeltasPage;
            deltas_->setDocument(&document_);
            deltas_->setPrompts(context_.prompts);
            deltas_->setLogView(log_);
            deltas_->setRunner(&runner_);
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
        attempt([&] { deltasPage()->open(sprite); });
    });
}

LazyPage *Twnd_editor::lazyPage(const std::function<QWidget *()> &make, const std::function<void()> &fill) {
    return new LazyPage([this, make, fill] {
        QWidget *page = make();
        enableCommands();
        try {
            fill();
        } catch (const std::bad_alloc &) {
            // As after a load short of memory: the document stays whole, the page shows less. Told
            // once the page is up, not from inside the event that shows it.
            QTimer::singleShot(0, this, [this] { prompts().message(viewsOutOfMemoryMessage(fileName_)); });
        }
        // What the page shows from the start is not for its text views to undo.
        for (QPlainTextEdit *text : page->findChildren<QPlainTextEdit *>())
            text->document()->clearUndoRedoStacks();
        return page;
    });
}

SpriteListPage *Twnd_editor::spriteListPage() const {
    spriteListTab_->contents();
    return spriteListPage_;
}

DeltasPage *Twnd_editor::deltasPage() const {
    deltasTab_->contents();
    return deltas_;
}

TexturesPage *Twnd_editor::texturesPage() const {
    texturesTab_->contents();
    return textures_;
}

DrawingPanel *Twnd_editor::tileDrawing() const {
    return texturesPage()->drawing();
}

Twnd_adjust *Twnd_editor::adjustDialog() const {
    palettesTab_->contents();
    return palettes_->adjustDialog();
}

void Twnd_editor::enableCommands() {
    const bool ready = state_ == State::Ready;
    const bool coloured = ready && document_.PhysicalPaletteCount > 0;
    transfer_->setState(coloured, busy());
    sprites_->setReady(coloured);
    tool_->setReady(coloured);
    if (textures_)
        textures_->setReady(coloured);
    if (spriteListPage_)
        spriteListPage_->setReady(coloured);
    if (palettes_)
        palettes_->setReady(ready, coloured);
    if (palIndex_)
        palIndex_->setReady(coloured);
}

void Twnd_editor::refreshViews(bool includingStrip) {
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

void Twnd_editor::showChange(const DocumentChange &change) {
    // The script is saved apart from the style: typing into it marks only it as changed.
    if (change.typed && change.script())
        scriptModified_ = true;
    else if (change.typed)
        textModified_ = true;
    updateCaption();
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

void Twnd_editor::DrawGrid1SelectCell(int tile) {
    transfer_->endEditingOtherThan({GraphicKind::Tile, tile});
    TexturesPage *textures = texturesPage();
    textures->drawing()->showGraphic({GraphicKind::Tile, tile});
    info_->describeTile(tile, textures->exportName(tile));
}

void Twnd_editor::spriteClicked(int sprite) {
    transfer_->endEditingOtherThan({GraphicKind::Sprite, sprite});
    tool_->showSprite(sprite);
    info_->describeSprite(sprite);
}
