#include "ui/texturespage.h"
#include "ui/documentchange.h"

#include "graphics/tilegrid.h"
#include "graphics/tileoperations.h"
#include "graphics/tilepattern.h"
#include "ui/commandrunner.h"
#include "ui/drawingcanvas.h"
#include "ui/drawingpanel.h"
#include "ui/logpage.h"
#include "ui/pagecontext.h"
#include "ui/tilegridview.h"
#include "ui/twnd_surface.h"
#include "ui/windowlog.h"
#include "ui/windowprogress.h"
#include "widgets/zoom.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <QToolBar>
#include <QVBoxLayout>

TexturesPage::TexturesPage(const PageContext &context, QWidget *parent)
    : QWidget(parent), context_(context), surface_(new Twnd_surface(this)) {
    auto *layout = new QVBoxLayout(this);
    grid_ = new TileGridView(this);
    grid_->setDocument(&context_.document);
    connect(grid_, &TileGridView::tileSelected, this, &TexturesPage::tileSelected);
    connect(grid_, &TileGridView::pictureDropped, this, &TexturesPage::pictureDropped);
    layout->addWidget(grid_);

    // The tool rows sit right under the grid: at 1x the room left over is below them, zoomed in
    // the grid takes it.
    auto *commands = new QToolBar(this);
    const auto command = [&](const QString &caption, void (TexturesPage::*click)()) {
        commands_.push_back(commands->addAction(caption, this, tileCommand(click)));
    };
    command(QStringLiteral("export"), &TexturesPage::exportClick);
    command(QStringLiteral("import"), &TexturesPage::importClick);
    command(QStringLiteral("Export all"), &TexturesPage::exportAllClick);
    command(QStringLiteral("Surface"), &TexturesPage::surfaceClick);
    command(QStringLiteral("add page"), &TexturesPage::addPageClick);
    command(QStringLiteral("remove page"), &TexturesPage::removePageClick);
    layout->addWidget(commands);
    paintRow_ = new QToolBar(this);
    layout->addWidget(paintRow_);
    drawing_ = new DrawingPanel(this);
    drawing_->setDocument(&context_.document);
    drawing_->setRunner(&context_.runner);
    drawing_->setPrompts(context_.prompts);
    paintRow_->addAction(drawing_->drawAction());
    drawing_->addDrawKeyTo(this);
    layout->addWidget(drawing_, 1);
    // Drawing happens in place, over the current cell of the grid.
    DrawingCanvas *cellCanvas = drawing_->addCanvasIn(grid_->viewport());
    cellCanvas->setObjectName(QStringLiteral("cellcanvas"));
    connect(grid_, &TileGridView::cellsMoved, cellCanvas, [this, cellCanvas] {
        cellCanvas->setZoom(grid_->zoom());
        cellCanvas->setGeometry(grid_->cellRect(grid_->currentCell()));
    });
    // Not in a tool bar, which would fold them away in a narrow window.
    auto *exportRow = new QHBoxLayout;
    pattern_ = new QLineEdit(DefaultTilePattern, this);
    pattern_->setObjectName(QStringLiteral("tilefileformat"));
    pattern_->setMinimumWidth(pattern_->fontMetrics().horizontalAdvance(DefaultTilePattern) +
                              pattern_->fontMetrics().averageCharWidth() * 3);
    exportRow->addWidget(pattern_);
    progress_ = new QProgressBar(this);
    progress_->setValue(0);
    exportRow->addWidget(progress_, 1);
    layout->addLayout(exportRow);
    auto *below = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
    layout->addItem(below);

    addZoomControls(
        this, grid_, [this] { return grid_->zoom(); },
        [this, layout, below](int zoom, QPoint anchor) {
            grid_->setZoom(zoom, anchor);
            below->changeSize(0, 0, QSizePolicy::Minimum,
                              zoom == 1 ? QSizePolicy::Expanding : QSizePolicy::Fixed);
            layout->invalidate();
        });
}

std::function<void()> TexturesPage::tileCommand(void (TexturesPage::*click)()) {
    return context_.guarded([this, click] {
        // The refreshed views select the sprite again; the info panel stays on the grid's cell,
        // also when the command fails.
        const auto describeTile = qScopeGuard([this] { emit tileSelected(grid_->currentTile()); });
        (this->*click)();
    });
}

void TexturesPage::addCommands(const QList<QAction *> &commands) {
    paintRow_->insertActions(drawing_->drawAction(), commands);
}

void TexturesPage::setReady(bool ready) {
    for (QAction *action : commands_)
        action->setEnabled(ready);
}

void TexturesPage::refresh(bool drawing) {
    grid_->refresh();
    if (drawing)
        drawing_->refresh();
}

void TexturesPage::showChange(const DocumentChange &change) {
    grid_->showChange(change);
    if (change.tiles() || change.palettes())
        drawing_->refresh();
}

QString TexturesPage::exportName(int tile) const {
    QString error;
    const std::optional<TilePattern> pattern = TilePattern::parse(pattern_->text(), error);
    return pattern ? pattern->format(tile) : QString();
}

void TexturesPage::exportClick() {
    exportTile(context_.document, grid_->currentTile(), pattern_->text(), *context_.prompts);
}

void TexturesPage::importClick() {
    const int tile = grid_->currentTile();
    context_.runner.run(QStringLiteral("import tile %1").arg(tile), [&](StyleDocument &doc) {
        WindowLog log(context_.log);
        importTile(doc, tile, pattern_->text(), *context_.prompts, log);
    });
}

void TexturesPage::exportAllClick() {
    QLabel status;
    WindowProgress progress(&status, progress_);
    exportAllTiles(context_.document, pattern_->text(), exportAllDirectory_, *context_.prompts, progress,
                   [this](int tile) {
                       const QPoint cell = cellOfTile(tile);
                       grid_->setCurrentCell(cell.x(), cell.y());
                   });
    progress_->setValue(0);
}

void TexturesPage::surfaceClick() {
    const int tile = grid_->currentTile();
    context_.runner.run(QStringLiteral("surface for tile %1").arg(tile),
                        [&](StyleDocument &doc) { surface_->edit(doc, tile, *context_.prompts); });
}

void TexturesPage::addPageClick() {
    context_.runner.run(QStringLiteral("add tile page"),
                        [&](StyleDocument &doc) { addTilePage(doc, *context_.prompts); });
}

void TexturesPage::removePageClick() {
    context_.runner.run(QStringLiteral("remove tile page"),
                        [&](StyleDocument &doc) { removeTilePage(doc, *context_.prompts); });
}
