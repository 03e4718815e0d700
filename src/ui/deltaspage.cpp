#include "ui/deltaspage.h"

#include "graphics/deltaoperations.h"
#include "graphics/spriteentries.h"
#include "ui/commandrunner.h"
#include "ui/drawingpanel.h"
#include "ui/errorguard.h"
#include "ui/windowlog.h"
#include "widgets/stretchedimageview.h"
#include "widgets/zoom.h"
#include "widgets/zoomcanvas.h"

#include <QAction>
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

DeltasPage::DeltasPage(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    auto *tools = new QToolBar(this);
    const auto guarded = [this](const std::function<void()> &command) {
        return [this, command] {
            showingErrors(*prompts_, command);
        };
    };
    tools->addAction(ExportDeltasCaption, this, guarded([this] { exportClick(); }));
    tools->addAction(ImportDeltasCaption, this, guarded([this] { importClick(); }));
    tools->addAction(DrawDeltasCaption, this, guarded([this] { showView(DeltaView::Draw); }));
    tools->addAction(ViewCarsOnlyCaption, this, guarded([this] { showView(DeltaView::CarsOnly); }));
    tools->addAction(ViewChangesOnlyCaption, this, guarded([this] { showView(DeltaView::ChangesOnly); }));
    // The buttons double and halve the zoom, within the whole zooms the wheel and keys step through.
    const auto middle = [this] {
        return scroll_->viewport()->rect().center();
    };
    QAction *in = tools->addAction(style()->standardIcon(QStyle::SP_ArrowUp), QString(), this,
                                   [this, middle] { setZoom(clampedZoom(zoom() * 2), middle()); });
    in->setObjectName(QStringLiteral("zoomin"));
    in->setToolTip(QStringLiteral("zoom in"));
    QAction *out = tools->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QString(), this,
                                    [this, middle] { setZoom(clampedZoom(zoom() / 2), middle()); });
    out->setObjectName(QStringLiteral("zoomout"));
    out->setToolTip(QStringLiteral("zoom out"));
    layout->addWidget(tools);
    scroll_ = new QScrollArea(this);
    view_ = new StretchedImageView;
    view_->setObjectName(QStringLiteral("deltasheet"));
    canvas_ = new ZoomCanvas(scroll_, view_);
    layout->addWidget(scroll_, 1);
    drawing_ = new DrawingPanel(this);
    tools->addAction(drawing_->drawAction());
    drawing_->addDrawKeyTo(this);
    connect(drawing_, &DrawingPanel::documentEdited, this, [this] { showView(shownView_); });
    layout->addWidget(drawing_, 1);
    addZoomControls(
        this, scroll_, [this] { return zoom(); }, [this](int zoom, QPoint anchor) { setZoom(zoom, anchor); });
}

void DeltasPage::setDocument(const StyleDocument *document) {
    document_ = document;
    drawing_->setDocument(document);
}

void DeltasPage::setRunner(CommandRunner *runner) {
    runner_ = runner;
    drawing_->setRunner(runner);
}

void DeltasPage::setPrompts(Prompts *prompts) {
    prompts_ = prompts;
    drawing_->setPrompts(prompts);
}

int DeltasPage::zoom() const {
    if (sheet_.isNull() || !shown_.isValid())
        return MinZoom;
    return clampedZoom(shown_.width() / sheet_.width());
}

void DeltasPage::setZoom(int factor, QPoint anchor) {
    const int before = zoom();
    if (sheet_.isNull() || factor == before)
        return;
    shown_ = sheet_.size() * factor;
    view_->setImage(sheet_, shown_);
    canvas_->zoomedAround(anchor, before, factor);
}

void DeltasPage::open(int sprite) {
    sprite_ = sprite;
    drawing_->showDeltaLayers(sprite);
    shown_ = QSize();
    showView(DeltaView::Draw);
    canvas_->placeAt(QPoint(0, 0));
}

void DeltasPage::refresh() {
    if (document_ && sprite_ >= 0 && sprite_ < document_->spriteCount() && isCarSprite(*document_, sprite_))
        showingErrors(*prompts_, [this] {
            showView(shownView_);
            drawing_->refresh();
        });
}

void DeltasPage::showChange(const DocumentChange &change) {
    if (change.source != this && (change.items.deltas.has(sprite_) || change.items.sprites.has(sprite_)))
        refresh();
}

void DeltasPage::showView(DeltaView view) {
    if (!document_ || sprite_ < 0)
        return;
    shownView_ = view;
    show(renderDeltaSheet(*document_, sprite_, view));
}

void DeltasPage::show(const QImage &sheet) {
    sheet_ = sheet;
    if (!shown_.isValid())
        shown_ = sheet_.size();
    view_->setImage(sheet_, shown_);
}

void DeltasPage::exportClick() {
    if (document_ && sprite_ >= 0)
        exportDeltaSheet(*document_, sprite_, *prompts_);
}

void DeltasPage::importClick() {
    if (!document_ || sprite_ < 0)
        return;
    WindowLog log(log_);
    std::optional<QImage> changes;
    if (runner_->run(
            QStringLiteral("import deltas for sprite %1").arg(sprite_),
            [&](StyleDocument &doc) { changes = importDeltas(doc, sprite_, *prompts_, log); }, 0, this) &&
        changes) {
        shownView_ = DeltaView::ChangesOnly;
        show(*changes);
    }
}
