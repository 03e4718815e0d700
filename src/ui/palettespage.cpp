#include "ui/palettespage.h"

#include "palette/coloradjust.h"
#include "palette/jascpalette.h"
#include "palette/paletteediting.h"
#include "palette/palettetablefile.h"
#include "ui/commandrunner.h"
#include "ui/pagecontext.h"
#include "ui/palettetablepicture.h"
#include "ui/twnd_adjust.h"
#include "widgets/stretchedimageview.h"

#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>

PalettesPage::PalettesPage(const PageContext &context, PaletteTablePicture &picture, QWidget *parent)
    : QWidget(parent), context_(context), picture_(picture), adjust_(new Twnd_adjust(this)) {
    auto *layout = new QVBoxLayout(this);
    auto *tools = new QToolBar(this);
    const auto command = [&](const QString &caption, void (PalettesPage::*click)()) {
        return tools->addAction(caption, this, context_.guarded([this, click] { (this->*click)(); }));
    };
    colouredActions_.push_back(command(QStringLiteral("Export"), &PalettesPage::exportClick));
    importTable_ = command(QStringLiteral("Import"), &PalettesPage::importClick);
    colouredActions_.push_back(command(QStringLiteral("brightness"), &PalettesPage::brightnessClick));
    colouredActions_.push_back(command(QStringLiteral("<<"), &PalettesPage::removePalettesClick));
    colouredActions_.push_back(command(QStringLiteral(">>"), &PalettesPage::addPalettesClick));
    colouredActions_.push_back(command(QStringLiteral("Import .pal"), &PalettesPage::importPalClick));
    colouredActions_.push_back(command(QStringLiteral("Export .pal"), &PalettesPage::exportPalClick));
    layout->addWidget(tools);
    auto *scroll = new QScrollArea(this);
    view_ = new StretchedImageView;
    view_->setObjectName(QStringLiteral("clut1"));
    scroll->setWidget(view_);
    layout->addWidget(scroll, 1);
    connect(view_, &StretchedImageView::pointedAt, this, &PalettesPage::pointedAt);
}

void PalettesPage::setReady(bool open, bool coloured) {
    importTable_->setEnabled(open);
    for (QAction *action : colouredActions_)
        action->setEnabled(coloured);
}

void PalettesPage::refresh() {
    const QImage &picture = picture_.picture(context_.document);
    view_->setImage(picture, picture.size());
}

void PalettesPage::exportClick() {
    exportPaletteTable(context_.document, *context_.prompts);
}

void PalettesPage::importClick() {
    context_.runner.run(QStringLiteral("import palettes"),
                        [&](StyleDocument &doc) { importPaletteTable(doc, *context_.prompts); });
}

void PalettesPage::brightnessClick() {
    adjust_->setSource(picture_.picture(context_.document));
    adjust_->reset();
    if (adjust_->exec() != QDialog::Accepted)
        return;
    context_.runner.run(QStringLiteral("brightness"),
                        [&](StyleDocument &doc) { applyAdjustedColours(doc, adjust_->preview()); });
}

void PalettesPage::addPalettesClick() {
    context_.runner.run(QStringLiteral("add palettes"),
                        [&](StyleDocument &doc) { addPalettes(doc, *context_.prompts); });
}

void PalettesPage::removePalettesClick() {
    context_.runner.run(QStringLiteral("remove palettes"),
                        [&](StyleDocument &doc) { removePalettes(doc, *context_.prompts); });
}

void PalettesPage::importPalClick() {
    context_.runner.run(QStringLiteral("import .pal"),
                        [&](StyleDocument &doc) { importJascPalette(doc, *context_.prompts); });
}

void PalettesPage::exportPalClick() {
    exportJascPalette(context_.document, *context_.prompts);
}
