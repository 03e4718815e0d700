#include "ui/drawingpanel.h"

#include "ui/commandrunner.h"

#include "graphics/deltalayers.h"
#include "graphics/palettesharing.h"
#include "graphics/spritepicture.h"
#include "palette/palettecolouredit.h"
#include "ui/drawingcanvas.h"
#include "ui/errorguard.h"
#include "widgets/paletteswatch.h"
#include "widgets/zoom.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

struct ToolButton {
    DrawTool tool;
    const char *caption;
};
constexpr ToolButton ToolButtons[] = {
    {DrawTool::Pencil, "pencil"},       {DrawTool::Line, "line"},
    {DrawTool::Rectangle, "rectangle"}, {DrawTool::FilledRectangle, "filled rectangle"},
    {DrawTool::Fill, "fill"},           {DrawTool::Eyedropper, "eyedropper"},
    {DrawTool::Eraser, "eraser"},       {DrawTool::Select, "select"},
};

QString colourNumbers(const QImage &picture, uchar index) {
    const QRgb colour = index < picture.colorCount() ? picture.color(index) : qRgb(0, 0, 0);
    return QStringLiteral("%1 (%2,%3,%4)")
        .arg(index)
        .arg(qRed(colour))
        .arg(qGreen(colour))
        .arg(qBlue(colour));
}

} // namespace

DrawingPanel::DrawingPanel(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("drawing"));
    draw_ = new QAction(QStringLiteral("draw"), this);
    draw_->setCheckable(true);
    draw_->setShortcut(QKeySequence(Qt::Key_B));
    draw_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(draw_, &QAction::toggled, this, [this](bool on) {
        setVisible(on);
        for (DrawingCanvas *canvas : canvases_)
            if (canvas != canvas_) {
                canvas->setVisible(on);
                canvas->raise();
            }
        if (on)
            refresh();
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QToolBar(this);
    tools_ = new QActionGroup(this);
    for (const ToolButton &button : ToolButtons) {
        QAction *action = bar->addAction(QString::fromLatin1(button.caption));
        action->setCheckable(true);
        action->setChecked(button.tool == DrawTool::Pencil);
        action->setData(static_cast<int>(button.tool));
        tools_->addAction(action);
        connect(action, &QAction::triggered, this, [this, tool = button.tool] { setTool(tool); });
    }
    bar->addSeparator();
    bar->addAction(QStringLiteral("flip horizontally"), this, [this] { flip(Qt::Horizontal); });
    bar->addAction(QStringLiteral("flip vertically"), this, [this] { flip(Qt::Vertical); });
    addDelta_ = bar->addAction(QStringLiteral("add delta"), this, [this] { addDeltaClick(); });
    removeDelta_ = bar->addAction(QStringLiteral("remove delta"), this, [this] { removeDeltaClick(); });
    layout->addWidget(bar);

    auto *row = new QHBoxLayout;
    scroll_ = new QScrollArea(this);
    canvas_ = new DrawingCanvas;
    canvas_->setObjectName(QStringLiteral("drawingcanvas"));
    scroll_->setWidget(canvas_);
    row->addWidget(scroll_, 1);
    swatch_ = new PaletteSwatch(this);
    swatch_->setObjectName(QStringLiteral("swatch"));
    row->addWidget(swatch_, 0, Qt::AlignTop);
    auto *side = new QVBoxLayout;
    status_ = new QLabel(this);
    sharing_ = new QLabel(this);
    sharing_->setWordWrap(true);
    readout_ = new QLabel(this);
    readout_->setObjectName(QStringLiteral("drawingreadout"));
    for (QLabel *label : {status_, sharing_, readout_}) {
        label->setMinimumWidth(swatch_->width());
        side->addWidget(label);
    }
    layers_ = new QListWidget(this);
    layers_->setObjectName(QStringLiteral("deltalayers"));
    side->addWidget(layers_, 1);
    side->addStretch();
    row->addLayout(side);
    layout->addLayout(row, 1);
    // The swatch is never squeezed: the page's other views give way.
    setMinimumHeight(bar->sizeHint().height() + swatch_->height() + layout->spacing());

    active_ = canvas_;
    connectCanvas(canvas_);
    connect(swatch_, &PaletteSwatch::indexesChosen, this, &DrawingPanel::showIndexes);
    connect(swatch_, &PaletteSwatch::colourEditRequested, this, &DrawingPanel::editColour);
    connect(layers_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != delta_)
            selectDelta(row);
    });
    connect(layers_, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        setLayerVisible(layers_->row(item), item->checkState() == Qt::Checked);
    });
    // Ctrl + wheel zooms this view; the zoom keys stay the page's, whose view the drawing follows.
    scroll_->viewport()->installEventFilter(this);
    showIndexes(1, 0);
    setVisible(false);
}

bool DrawingPanel::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::Wheel)
        return QWidget::eventFilter(watched, event);
    auto *wheel = static_cast<QWheelEvent *>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier) || wheel->angleDelta().y() == 0)
        return false;
    setZoom(zoom() + (wheel->angleDelta().y() > 0 ? 1 : -1));
    return true;
}

void DrawingPanel::change(const QString &name, const std::function<void(StyleDocument &)> &operation) {
    // The page the panel is on redraws itself when told by documentEdited.
    if (runner_ && runner_->run(name, operation, 0, parentWidget()))
        emit documentEdited(name);
}

void DrawingPanel::addDrawKeyTo(QWidget *page) {
    page->addAction(draw_);
}

void DrawingPanel::connectCanvas(DrawingCanvas *canvas) {
    canvases_.push_back(canvas);
    connect(canvas, &DrawingCanvas::pressed, this, [this, canvas] { active_ = canvas; });
    connect(canvas, &DrawingCanvas::strokeFinished, this, &DrawingPanel::storeStroke);
    connect(canvas, &DrawingCanvas::indexPicked, this, [this](uchar index, bool primary) {
        showIndexes(primary ? index : swatch_->primary(), primary ? swatch_->secondary() : index);
    });
    connect(canvas, &DrawingCanvas::pointerAt, this, [this](QPoint pixel, std::optional<uchar> index) {
        readout_->setText(drawingPointerReadout(pixel, index));
    });
    connect(canvas, &DrawingCanvas::clipboardKey, this, &DrawingPanel::clipboardKey);
}

DrawingCanvas *DrawingPanel::addCanvasIn(QWidget *parent) {
    auto *canvas = new DrawingCanvas(parent);
    canvas->setVisible(draw_->isChecked());
    connectCanvas(canvas);
    return canvas;
}

void DrawingPanel::clipboardKey(QKeySequence::StandardKey key) {
    if (key == QKeySequence::Paste)
        pasteClip();
    else
        copySelection(key == QKeySequence::Cut);
}

template <typename Command> void DrawingPanel::guarded(Command &&command) {
    if (prompts_)
        showingErrors(*prompts_, std::forward<Command>(command));
}

void DrawingPanel::showGraphic(Graphic graphic) {
    graphic_ = graphic;
    deltaSprite_ = -1;
    refresh();
}

void DrawingPanel::showNothing() {
    graphic_.reset();
    deltaSprite_ = -1;
    for (DrawingCanvas *canvas : canvases_)
        canvas->setPicture(QImage());
    sharing_->clear();
    readout_->clear();
}

void DrawingPanel::showDeltaLayers(int sprite) {
    if (sprite != deltaSprite_) {
        visible_.clear();
        delta_ = -1;
    }
    graphic_ = Graphic{GraphicKind::Sprite, sprite};
    deltaSprite_ = sprite;
    refresh();
}

void DrawingPanel::refresh() {
    addDelta_->setVisible(inDeltaMode());
    removeDelta_->setVisible(inDeltaMode());
    layers_->setVisible(inDeltaMode());
    // Hidden, the panel follows the selection only; the picture is read once it shows.
    if (!document_ || !graphic_ || !draw_->isChecked())
        return;
    try {
        if (inDeltaMode())
            fillLayerList();
        showPicture();
    } catch (const EditorError &error) {
        // A graphic that cannot be drawn on (no pixels, outside its page) is said beside the
        // swatch, not in a message at every selection.
        for (DrawingCanvas *canvas : canvases_)
            canvas->setPicture(QImage());
        sharing_->setText(error.text());
    }
}

void DrawingPanel::fillLayerList() {
    const int count = static_cast<int>(readDeltaLayers(*document_, deltaSprite_).size());
    visible_.resize(static_cast<std::size_t>(count), true);
    delta_ = count == 0 ? -1 : std::clamp(delta_, 0, count - 1);
    const QSignalBlocker quiet(layers_);
    layers_->clear();
    for (int d = 0; d < count; ++d) {
        auto *item = new QListWidgetItem(QStringLiteral("delta %1").arg(d), layers_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(visible_[static_cast<std::size_t>(d)] ? Qt::Checked : Qt::Unchecked);
    }
    layers_->setCurrentRow(delta_);
}

void DrawingPanel::showPicture() {
    // A layer's box can change while nothing is shown.
    if (!document_ || !graphic_)
        return;
    if (!inDeltaMode()) {
        // A graphic without pixels in its store is refused here rather than at the first stroke.
        graphicStoreRect(*document_, *graphic_);
        const QImage picture = graphicPicture(*document_, *graphic_);
        for (DrawingCanvas *canvas : canvases_)
            canvas->setPicture(picture);
    } else {
        const QImage sprite = spritePicture(*document_, deltaSprite_);
        const std::vector<DeltaLayer> layers = readDeltaLayers(*document_, deltaSprite_);
        // The delta drawn on shows whatever its box says; the eraser brings back what shows without it.
        std::vector<bool> shown = visible_, without = visible_;
        if (delta_ >= 0) {
            shown[static_cast<std::size_t>(delta_)] = true;
            without[static_cast<std::size_t>(delta_)] = false;
        }
        const QImage picture = composeDeltaLayers(sprite, layers, shown);
        const QImage erased = composeDeltaLayers(sprite, layers, without);
        for (DrawingCanvas *canvas : canvases_)
            canvas->setPicture(picture, erased);
    }
    swatch_->setColours(canvas_->picture().colorTable());
    swatch_->setUsed(usedIndexes(canvas_->picture()));
    sharing_->setText(paletteSharingLine(*document_, shownGraphic()));
    showIndexes(swatch_->primary(), swatch_->secondary());
}

Graphic DrawingPanel::shownGraphic() const {
    return graphic_.value_or(Graphic{GraphicKind::Sprite, 0});
}

int DrawingPanel::zoom() const {
    return canvas_->zoom();
}

void DrawingPanel::setZoom(int zoom) {
    canvas_->setZoom(clampedZoom(zoom));
}

void DrawingPanel::setTool(DrawTool tool) {
    for (DrawingCanvas *canvas : canvases_)
        canvas->setTool(tool);
    for (QAction *action : tools_->actions())
        action->setChecked(action->data().toInt() == static_cast<int>(tool));
}

void DrawingPanel::selectDelta(int delta) {
    delta_ = delta;
    refresh();
}

void DrawingPanel::setLayerVisible(int delta, bool visible) {
    if (delta < 0 || delta >= static_cast<int>(visible_.size()))
        return;
    visible_[static_cast<std::size_t>(delta)] = visible;
    guarded([this] { showPicture(); });
}

void DrawingPanel::showIndexes(uchar primary, uchar secondary) {
    swatch_->setIndexes(primary, secondary);
    for (DrawingCanvas *canvas : canvases_)
        canvas->setIndexes(primary, secondary);
    status_->setText(QStringLiteral("primary %1, secondary %2")
                         .arg(colourNumbers(canvas_->picture(), primary))
                         .arg(colourNumbers(canvas_->picture(), secondary)));
}

QString DrawingPanel::statusLine() const {
    return status_->text();
}

QString DrawingPanel::sharingLine() const {
    return sharing_->text();
}

QString DrawingPanel::readout() const {
    return readout_->text();
}

void DrawingPanel::storeStroke(const PictureEdit &edit) {
    guarded([&] {
        if (inDeltaMode()) {
            if (delta_ < 0)
                throw EditorError(
                    QStringLiteral("Sprite %1 has no delta to draw on; \"add delta\" makes one.")
                        .arg(deltaSprite_));
            const SpriteDelta which{deltaSprite_, delta_};
            change(deltaStepName(which),
                   [&](StyleDocument &doc) { storeDeltaStroke(doc, which, edit.picture(), edit.marks()); });
        } else {
            change(drawingStepName(*graphic_),
                   [&](StyleDocument &doc) { storeDrawing(doc, *graphic_, edit.picture()); });
        }
    });
    // Shown from the document: a refused stroke disappears again.
    refresh();
}

void DrawingPanel::editColour(uchar index) {
    guarded([&] {
        const std::optional<int> palette = graphicPhysicalPalette(*document_, shownGraphic());
        if (!palette)
            throw EditorError(
                QStringLiteral("This graphic shows no stored palette whose colour could be edited."));
        change(EditColourCaption,
               [&](StyleDocument &doc) { editPaletteColour(doc, *palette, index, *prompts_); });
    });
    refresh();
}

void DrawingPanel::copySelection(bool cut) {
    if (active_->picture().isNull())
        return;
    const QRect selection = active_->selection();
    clip_ = copyPixels(active_->picture(), selection);
    for (DrawingCanvas *canvas : canvases_)
        canvas->setClipReady(true);
    if (!cut)
        return;
    PictureEdit edit(active_->picture(), active_->erased());
    edit.erase(selection);
    storeStroke(edit);
}

void DrawingPanel::pasteClip() {
    if (clip_.isNull() || active_->picture().isNull())
        return;
    const QPoint at = active_->selection().isEmpty() ? QPoint(0, 0) : active_->selection().topLeft();
    PictureEdit edit(active_->picture(), active_->erased());
    edit.paste(clip_, at);
    storeStroke(edit);
    // The pasted pixels stay selected, ready to be moved.
    active_->setSelection(QRect(at, clip_.size()));
}

void DrawingPanel::flip(Qt::Orientation orientation) {
    if (active_->picture().isNull())
        return;
    const QRect area = active_->selection().isEmpty() ? active_->picture().rect() : active_->selection();
    PictureEdit edit(active_->picture(), active_->erased());
    edit.flip(area, orientation);
    storeStroke(edit);
}

void DrawingPanel::addDeltaClick() {
    guarded([this] {
        change(QStringLiteral("add delta"),
               [this](StyleDocument &doc) { delta_ = addDelta(doc, deltaSprite_); });
    });
    refresh();
}

void DrawingPanel::removeDeltaClick() {
    guarded([this] {
        if (delta_ < 0)
            throw EditorError(QStringLiteral("Sprite %1 has no delta to remove.").arg(deltaSprite_));
        const int removed = delta_;
        if (runner_ && runner_->run(
                           QStringLiteral("remove delta"),
                           [this, removed](StyleDocument &doc) {
                               removeDelta(doc, {deltaSprite_, removed});
                           },
                           0, parentWidget())) {
            visible_.erase(visible_.begin() + removed);
            emit documentEdited(QStringLiteral("remove delta"));
        }
    });
    refresh();
}
