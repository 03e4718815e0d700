#include "ui/toolpanel.h"

#include "cars/carrecords.h"
#include "graphics/spriteoperations.h"
#include "graphics/tileoperations.h"
#include "ui/commandrunner.h"
#include "ui/logpage.h"
#include "ui/pagecontext.h"
#include "ui/pedremapview.h"
#include "ui/spritespage.h"
#include "ui/windowlog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QVBoxLayout>
#include <exception>

namespace {

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

} // namespace

ToolPanel::ToolPanel(const PageContext &context, SpritesPage *sprites, QWidget *parent)
    : VerticalScrollArea(parent), context_(context), sprites_(sprites) {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *ped = new QGroupBox(QStringLiteral("ped remap"), page);
    auto *pedLayout = new QHBoxLayout(ped);
    pedRemap_ = new PedRemapView(context_.prompts, ped);
    pedLayout->addWidget(pedRemap_);
    layout->addWidget(ped);
    auto *select = new QHBoxLayout;
    spriteSelector_ = spriteSpinner(QStringLiteral("spriteselector"), page);
    select->addWidget(spriteSelector_);
    select->addWidget(button(QStringLiteral("select it"), page, &ToolPanel::selectSpriteClick));
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
    rangeButtons->addWidget(button(QStringLiteral("Export"), rangeBox, &ToolPanel::exportRangeClick));
    // The range export names its files itself, so the format is chosen here.
    rangePng_ = new QCheckBox(QStringLiteral("as PNG"), rangeBox);
    rangePng_->setObjectName(QStringLiteral("rangepng"));
    rangeButtons->addWidget(rangePng_);
    rangeButtons->addWidget(button(QStringLiteral("Import"), rangeBox, &ToolPanel::importRangeClick));
    rangeLayout->addLayout(rangeButtons);
    layout->addWidget(rangeBox);
    layout->addWidget(
        button(QStringLiteral("mirror all door locations"), page, &ToolPanel::mirrorDoorsClick));
    for (const QString &group : {QStringLiteral(" Tiles "), QStringLiteral(" Sprites ")}) {
        auto *box = new QGroupBox(group, page);
        auto *buttons = new QHBoxLayout(box);
        const bool tiles = group == QStringLiteral(" Tiles ");
        QPushButton *exportRaw =
            button(QStringLiteral("export raw"), box,
                   tiles ? &ToolPanel::exportRawTilesClick : &ToolPanel::exportRawSpritesClick, tiles);
        QPushButton *importRaw =
            button(QStringLiteral("import raw"), box,
                   tiles ? &ToolPanel::importRawTilesClick : &ToolPanel::importRawSpritesClick, tiles);
        if (!tiles) {
            exportRaw->setToolTip(QStringLiteral("exports whole sprite pages to a bitmap"));
            importRaw->setToolTip(QStringLiteral("imports whole sprite pages from a bitmap"));
        }
        buttons->addWidget(exportRaw);
        buttons->addWidget(importRaw);
        layout->addWidget(box);
    }
    layout->addStretch();
    setWidget(page);
}

QPushButton *ToolPanel::button(const QString &caption, QWidget *parent, void (ToolPanel::*click)(),
                               bool aboutTiles) {
    auto *b = new QPushButton(caption, parent);
    connect(b, &QPushButton::clicked, this, context_.guarded([this, click, aboutTiles] {
        // The refreshed views select the sprite again; the info panel stays on the grid's tile, also
        // when the command fails.
        const auto describeTile = qScopeGuard([this, aboutTiles] {
            if (aboutTiles)
                emit tileCommandRan();
        });
        (this->*click)();
    }));
    buttons_.push_back(b);
    return b;
}

void ToolPanel::setPrompts(Prompts *prompts) {
    pedRemap_->setPrompts(prompts);
}

void ToolPanel::setReady(bool ready) {
    for (QPushButton *b : buttons_)
        b->setEnabled(ready);
}

void ToolPanel::refresh() {
    pedRemap_->setDocument(&context_.document);
    const int lastSprite = std::max(0, context_.document.spriteCount() - 1);
    for (QSpinBox *selector : {spriteSelector_, rangeStart_, rangeEnd_})
        selector->setMaximum(lastSprite);
}

void ToolPanel::showSprite(int sprite) {
    spriteSelector_->setValue(sprite);
}

void ToolPanel::selectSpriteClick() {
    sprites_->selectByNumber(spriteSelector_->value());
}

void ToolPanel::exportRangeClick() {
    WindowLog log(context_.log);
    exportSpriteRange(
        context_.document, rangeStart_->value(), rangeEnd_->value(), *context_.prompts, log,
        [this](int sprite) {
            QCoreApplication::processEvents();
            sprites_->selectByNumber(sprite);
        },
        rangePng_->isChecked() ? PictureFormat::Png : PictureFormat::Bmp);
}

void ToolPanel::importRangeClick() {
    const int start = rangeStart_->value();
    const int end = std::max(start, rangeEnd_->value());
    WindowLog log(context_.log);
    // The sprites imported before an error stay, as one step; the error is shown after it.
    std::exception_ptr failure;
    context_.runner.run(
        QStringLiteral("import sprites %1 to %2").arg(start).arg(end),
        [&](StyleDocument &doc) {
            try {
                importSpriteRange(
                    doc, start, end, *context_.prompts, log,
                    [this](int sprite) { sprites_->selectByNumber(sprite); },
                    [this](int sprite) {
                        sprites_->repaintOutlined(sprite);
                        sprites_->spriteClick();
                    });
            } catch (...) {
                failure = std::current_exception();
            }
        },
        0, sprites_);
    if (failure)
        std::rethrow_exception(failure);
}

void ToolPanel::mirrorDoorsClick() {
    context_.runner.run(QStringLiteral("mirror all door locations"),
                        [](StyleDocument &doc) { mirrorAllDoorLocations(doc); });
}

void ToolPanel::exportRawTilesClick() {
    exportRawTiles(context_.document, *context_.prompts);
}

void ToolPanel::importRawTilesClick() {
    context_.runner.run(QStringLiteral("import raw tiles"), [&](StyleDocument &doc) {
        WindowLog log(context_.log);
        importRawTiles(doc, *context_.prompts, log);
    });
}

void ToolPanel::exportRawSpritesClick() {
    exportRawSprites(context_.document, *context_.prompts);
}

void ToolPanel::importRawSpritesClick() {
    context_.runner.run(QStringLiteral("import raw sprites"), [&](StyleDocument &doc) {
        WindowLog log(context_.log);
        importRawSprites(doc, *context_.prompts, log);
    });
}
