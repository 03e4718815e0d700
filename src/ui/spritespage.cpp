#include "ui/spritespage.h"

#include "graphics/graphicfile.h"
#include "graphics/spriteentries.h"
#include "graphics/spriteoperations.h"
#include "graphics/spritepages.h"
#include "palette/palettecolouredit.h"
#include "platform/progress.h"
#include "ui/commandrunner.h"
#include "ui/drawingcanvas.h"
#include "ui/drawingpanel.h"
#include "ui/errorguard.h"
#include "ui/selectedsprite.h"
#include "ui/spritestripview.h"
#include "ui/windowlog.h"
#include "widgets/zoom.h"
#include "widgets/zoomcanvas.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <limits>

namespace {

const QString RedrawCaption = QStringLiteral("redraw overlay");
constexpr int FieldEditMerge = 1;

struct FieldLabel {
    const char *name;
    const char *caption;
    const char *hint;
};

constexpr FieldLabel FieldLabels[SpriteFieldCount] = {
    {"spritex", "X:", "x coordinate in page"},
    {"spritey", "Y:", "y coordinate in page"},
    {"spritepage", "page:", "page number\r\nactual y is: \r\n256*pagenumber + Y"},
    {"spritewidth", "width", nullptr},
    {"spriteheight", "height:", nullptr},
};

} // namespace

SpritesPage::SpritesPage(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    auto *row = new QToolBar(this);
    const auto guarded = [this](void (SpritesPage::*click)()) {
        return [this, click] {
            showingErrors(*prompts_, [this, click] { (this->*click)(); });
        };
    };
    export_ = row->addAction(QStringLiteral("export"), this, guarded(&SpritesPage::exportClick));
    import_ = row->addAction(QStringLiteral("import"), this, guarded(&SpritesPage::importClick));
    editCar_ = row->addAction(QStringLiteral("edit car"), this, [this] { emit editCarRequested(selected_); });
    deltas_ = row->addAction(QStringLiteral("Deltas"), this, [this] { emit deltasRequested(selected_); });
    redraw_ = row->addAction(RedrawCaption, this, &SpritesPage::redrawOverlay);
    addPage_ = row->addAction(QStringLiteral("add page"), this, guarded(&SpritesPage::addPageClick));
    addPage_->setToolTip(QStringLiteral("gives another 256 pixels to sprite bitmap"));
    removePage_ = row->addAction(QStringLiteral("remove page"), this, guarded(&SpritesPage::removePageClick));
    removePage_->setToolTip(QStringLiteral("removes 256 pixels from sprite bitmap"));
    layout->addWidget(row);

    auto *fields = new QToolBar(this);
    auto *digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    for (int k = 0; k < SpriteFieldCount; ++k) {
        auto *box = new QWidget(fields);
        auto *boxLayout = new QHBoxLayout(box);
        boxLayout->setContentsMargins(0, 0, 0, 0);
        boxLayout->addWidget(new QLabel(QString::fromLatin1(FieldLabels[k].caption), box));
        auto *field = new QLineEdit(box);
        field->setObjectName(QString::fromLatin1(FieldLabels[k].name));
        field->setValidator(digits);
        field->setMaximumWidth(48);
        if (FieldLabels[k].hint)
            field->setToolTip(QString::fromLatin1(FieldLabels[k].hint));
        boxLayout->addWidget(field);
        fields_[std::size_t(k)] = field;
        connect(field, &QLineEdit::textChanged, this,
                [this, k] { fieldEdited(static_cast<SpriteField>(k)); });
        fields->addWidget(box);
    }
    noBorder_ = new QCheckBox(QStringLiteral("No border"), this);
    noBorder_->setObjectName(QStringLiteral("cb_noborder"));
    noBorder_->setChecked(true);
    fields->addWidget(noBorder_);
    layout->addWidget(fields);
    readout_ = new QLabel(this);
    readout_->setObjectName(QStringLiteral("readout"));
    // The row of the readout has room for commands the tool bars above have not.
    auto *readoutRow = new QHBoxLayout;
    readoutRow->addWidget(readout_, 1);
    tools_ = new QToolBar(this);
    readoutRow->addWidget(tools_);
    layout->addLayout(readoutRow);

    scroll_ = new QScrollArea(this);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    strip_ = new SpriteStripView;
    canvas_ = new ZoomCanvas(scroll_, strip_);
    layout->addWidget(scroll_, 1);
    drawing_ = new DrawingPanel(this);
    layout->addWidget(drawing_, 1);
    tools_->addAction(drawing_->drawAction());
    drawing_->addDrawKeyTo(this);
    connect(drawing_, &DrawingPanel::documentEdited, this, [this](const QString &name) {
        // A stroke changes the selected sprite; a colour, every sprite of its palette.
        if (name != EditColourCaption)
            return showSelectedChanged();
        build({}, QRect(), selected_);
    });
    activesprite_ = new TVyr_sprite(strip_);
    activesprite_->setObjectName(QStringLiteral("activesprite"));
    activesprite_->hide();
    // Drawing happens in place: a canvas of the drawing lies over the selected sprite.
    stripCanvas_ = drawing_->addCanvasIn(strip_);
    stripCanvas_->setObjectName(QStringLiteral("stripcanvas"));
    connect(strip_, &SpriteStripView::pressedAt, this, &SpritesPage::selectAtPoint);
    connect(strip_, &SpriteStripView::pointerAt, this,
            [this](QPoint point) { readout_->setText(spritePointerReadout(point)); });
    connect(activesprite_, &TVyr_sprite::clicked, this, &SpritesPage::spriteClick);
    connect(activesprite_, &TVyr_sprite::doubleClicked, this, [this] {
        if (editCar_->isEnabled())
            emit editCarRequested(selected_);
    });
    connect(activesprite_, &TVyr_sprite::dropped, this, &SpritesPage::spriteDropped);
    connect(strip_, &SpriteStripView::pictureDropped, this, &SpritesPage::pictureDroppedAt);
    connect(activesprite_, &TVyr_sprite::pictureDropped, this, [this](const QString &path) {
        showingErrors(*prompts_, [&] { importInto(selected_, PictureSource::file(path)); });
    });
    addZoomControls(
        this, scroll_, [this] { return zoom(); }, [this](int zoom, QPoint anchor) { setZoom(zoom, anchor); });
    setReady(false);
}

int SpritesPage::zoom() const {
    return strip_->zoom();
}

void SpritesPage::setZoom(int zoom, QPoint anchor) {
    const int before = strip_->zoom();
    if (zoom == before)
        return;
    strip_->setZoom(zoom);
    activesprite_->setZoom(zoom);
    if (hasSelection())
        placeActiveSprite(document_->SpriteIndex[std::size_t(selected_)]);
    canvas_->zoomedAround(anchor, before, zoom);
}

void SpritesPage::setDocument(const StyleDocument *document) {
    document_ = document;
    drawing_->setDocument(document);
}

void SpritesPage::setRunner(CommandRunner *runner) {
    runner_ = runner;
    drawing_->setRunner(runner);
}

void SpritesPage::setPrompts(Prompts *prompts) {
    prompts_ = prompts;
    drawing_->setPrompts(prompts);
}

void SpritesPage::setReady(bool ready) {
    ready_ = ready;
    for (QAction *action : {export_, import_, redraw_, addPage_, removePage_})
        action->setEnabled(ready);
    for (QLineEdit *field : fields_)
        field->setEnabled(ready);
    updateCarButtons();
}

bool SpritesPage::hasSelection() const {
    return document_ && selected_ >= 0 && selected_ < document_->spriteCount();
}

void SpritesPage::updateCarButtons() {
    const bool car = ready_ && hasSelection() && isCarSprite(*document_, selected_);
    editCar_->setEnabled(car && isSignalConnected(QMetaMethod::fromSignal(&SpritesPage::editCarRequested)));
    deltas_->setEnabled(car && isSignalConnected(QMetaMethod::fromSignal(&SpritesPage::deltasRequested)));
}

const QImage &SpritesPage::overlay() const {
    return strip_->image();
}

void SpritesPage::refresh() {
    // Most changes leave the strip's pixels as they were (a tile import, a car field, its undo):
    // making it again would cost more than the change itself.
    if (document_ && strip_->strip().shows(*document_, !noBorder_->isChecked()))
        return reselect(selected_);
    build({}, QRect(), selected_);
}

void SpritesPage::showChange(const DocumentChange &change) {
    if (change.source == this)
        return;
    if (!change.items.sprites.none() || change.sprites() || change.cars() ||
        change.items.deltas.has(selected_))
        refresh();
}

void SpritesPage::showLoaded(Progress &progress) {
    if (!document_)
        return;
    progress.setMaximum(std::max(0, document_->spriteCount() - 1));
    // The pages in view once sprite 0 is selected are painted now, counting the sprites; the
    // others as they come into view.
    QRect inView(QPoint(0, 0), scroll_->viewport()->size() / zoom());
    if (document_->spriteCount() > 0)
        inView.moveLeft(spriteRect(document_->SpriteIndex[0]).left());
    build(
        [&progress](int sprite) {
            progress.setPosition(sprite);
            progress.processEvents();
        },
        inView, 0);
    progress.setPosition(0);
}

void SpritesPage::redrawOverlay() {
    if (!document_)
        return;
    redraw_->setText(QStringLiteral("please wait..."));
    const int last = document_->spriteCount() - 1;
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    build(
        [this, &sinceRepaint, last](int sprite) {
            if (sinceRepaint.elapsed() < 15 && sprite != last)
                return;
            redraw_->setText(QStringLiteral("%1 / %2").arg(sprite).arg(last));
            QCoreApplication::processEvents();
            sinceRepaint.restart();
        },
        QRect(0, 0, std::numeric_limits<int>::max(), PageSide),
        spriteSelector_ ? spriteSelector_->value() : selected_);
}

void SpritesPage::build(const std::function<void(int)> &painted, QRect paintNow, int select) {
    if (!document_)
        return;
    strip_->hide();
    redraw_->setEnabled(false);
    strip_->setStrip(SpriteStrip(*document_, !noBorder_->isChecked()));
    // Painted from the strip's own copy: the events processed meanwhile may change the document.
    if (painted)
        strip_->strip().paintSprites(paintNow, painted);
    redraw_->setText(RedrawCaption);
    redraw_->setEnabled(ready_);
    strip_->show();
    reselect(select);
}

void SpritesPage::reselect(int select) {
    if (document_->spriteCount() == 0) {
        selected_ = -1;
        activesprite_->hide();
        drawing_->showNothing();
        updateCarButtons();
        return;
    }
    selectByNumber(std::clamp(select, 0, document_->spriteCount() - 1));
}

void SpritesPage::selectAtPoint(QPoint point) {
    if (!document_)
        return;
    if (const std::optional<int> sprite = spriteAtPoint(*document_, point)) {
        selected_ = *sprite;
        spriteClick();
    }
}

void SpritesPage::selectByNumber(int sprite) {
    if (!document_ || sprite < 0 || sprite >= document_->spriteCount())
        return;
    selected_ = sprite;
    spriteClick();
    const SpriteEntry &entry = document_->SpriteIndex[std::size_t(sprite)];
    canvas_->scrollTo(QPoint(PageSide * entry.page() + entry.x(), entry.y()) * zoom(), zoom() > 1);
}

void SpritesPage::spriteClick() {
    if (!hasSelection())
        return;
    const StyleDocument &doc = *document_;
    const SpriteEntry &entry = doc.SpriteIndex[std::size_t(selected_)];
    activesprite_->hide();
    activesprite_->setGlyph(spriteGlyph(doc, selected_));
    placeActiveSprite(entry);
    activesprite_->show();
    fillFields(entry);
    updateCarButtons();
    drawing_->showGraphic({GraphicKind::Sprite, selected_});
    emit spriteClicked(selected_);
}

void SpritesPage::placeActiveSprite(const SpriteEntry &entry) {
    const QRect rect = spriteRect(entry);
    activesprite_->setGeometry(QRect(rect.topLeft() * zoom(), rect.size() * zoom()));
    stripCanvas_->setZoom(zoom());
    stripCanvas_->setGeometry(activesprite_->geometry());
    stripCanvas_->raise();
}

void SpritesPage::fillFields(const SpriteEntry &entry) {
    const SpriteFieldTexts texts = spriteFieldTexts(entry);
    filling_ = true;
    for (std::size_t k = 0; k < SpriteFieldCount; ++k)
        fields_[k]->setText(texts[k]);
    filling_ = false;
}

void SpritesPage::fieldEdited(SpriteField) {
    SpriteFieldTexts texts;
    for (std::size_t k = 0; k < SpriteFieldCount; ++k)
        texts[k] = fields_[k]->text();
    if (const auto correction = spriteFieldCorrection(texts)) {
        // The replacement text comes back through this handler.
        fields_[std::size_t(correction->first)]->setText(correction->second);
        return;
    }
    if (filling_ || !hasSelection())
        return;
    // Field edits of one sprite share a merge key, so that typing a number makes one step.
    bool complete = false;
    if (runner_->run(
            QStringLiteral("edit sprite %1").arg(selected_),
            [&](StyleDocument &doc) { complete = applySpriteFields(doc, selected_, texts); }, FieldEditMerge,
            this) &&
        complete)
        placeActiveSprite(document_->SpriteIndex[std::size_t(selected_)]);
}

void SpritesPage::spriteDropped(QPoint topLeft) {
    if (!hasSelection())
        return;
    if (!runner_->run(
            QStringLiteral("move sprite %1").arg(selected_),
            [&](StyleDocument &doc) { dropSprite(doc, selected_, topLeft); }, 0, this))
        return;
    const SpriteEntry &entry = document_->SpriteIndex[std::size_t(selected_)];
    fillFields(entry);
    // Where the entry now points, which differs from the drop point when the position wrapped.
    placeActiveSprite(entry);
}

void SpritesPage::repaintOutlined(int sprite) {
    strip_->repaintSprite(*document_, sprite, true);
}

void SpritesPage::exportClick() {
    if (hasSelection())
        exportSprite(*document_, selected_, *prompts_);
}

void SpritesPage::importClick() {
    if (!hasSelection())
        return;
    WindowLog log(logView_);
    bool imported = false;
    if (!runner_->run(
            QStringLiteral("import sprite %1").arg(selected_),
            [&](StyleDocument &doc) { imported = importSprite(doc, selected_, *prompts_, log); }, 0, this) ||
        !imported)
        return;
    showSelectedChanged();
}

bool SpritesPage::importInto(int sprite, const PictureSource &picture) {
    if (!ready_ || !document_ || sprite < 0 || sprite >= document_->spriteCount())
        return false;
    WindowLog log(logView_);
    bool imported = false;
    if (!runner_->run(
            QStringLiteral("import sprite %1").arg(sprite),
            [&](StyleDocument &doc) {
                imported = importGraphic(doc, {GraphicKind::Sprite, sprite}, picture, *prompts_, log);
            },
            0, this) ||
        !imported)
        return false;
    if (sprite == selected_) {
        showSelectedChanged();
    } else {
        strip_->repaintSprite(*document_, sprite, false);
    }
    return true;
}

void SpritesPage::showSelectedChanged() {
    if (!hasSelection())
        return;
    repaintOutlined(selected_);
    spriteClick();
}

void SpritesPage::pictureDroppedAt(QPoint point, const QString &path) {
    if (!ready_ || !document_)
        return;
    if (const std::optional<int> sprite = spriteAtPoint(*document_, point)) {
        selected_ = *sprite;
        spriteClick();
        showingErrors(*prompts_, [&] { importInto(*sprite, PictureSource::file(path)); });
    }
}

void SpritesPage::addCommands(const QList<QAction *> &commands) {
    tools_->addActions(commands);
}

void SpritesPage::addPageClick() {
    bool added = false;
    if (runner_->run(
            QStringLiteral("add sprite page"),
            [&](StyleDocument &doc) { added = addSpritePage(doc, *prompts_); }, 0, this) &&
        added)
        refresh();
}

void SpritesPage::removePageClick() {
    bool removed = false;
    if (runner_->run(
            QStringLiteral("remove sprite page"),
            [&](StyleDocument &doc) { removed = removeSpritePage(doc, *prompts_); }, 0, this) &&
        removed)
        refresh();
}
