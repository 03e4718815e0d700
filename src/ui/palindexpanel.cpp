#include "ui/palindexpanel.h"

#include "palette/paletteediting.h"
#include "ui/commandrunner.h"
#include "ui/pagecontext.h"
#include "ui/palindexdelegate.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

PalIndexPanel::PalIndexPanel(const PageContext &context, QWidget *parent)
    : QWidget(parent), context_(context) {
    auto *layout = new QVBoxLayout(this);
    const auto button = [&](const QString &caption, void (PalIndexPanel::*click)()) {
        auto *b = new QPushButton(caption, this);
        connect(b, &QPushButton::clicked, this, context_.guarded([this, click] { (this->*click)(); }));
        buttons_.push_back(b);
        layout->addWidget(b);
    };
    button(QStringLiteral("remap palindexes"), &PalIndexPanel::remapClick);
    button(QStringLiteral("View unused palettes"), &PalIndexPanel::viewUnusedClick);
    button(QStringLiteral("transparency black"), &PalIndexPanel::transparencyBlackClick);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("palindex"));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setUniformItemSizes(true);
    list_->setItemDelegate(new PalindexDelegate(&context_.document, list_));
    layout->addWidget(list_, 1);
}

void PalIndexPanel::setReady(bool ready) {
    for (QPushButton *b : buttons_)
        b->setEnabled(ready);
}

void PalIndexPanel::refresh() {
    if (list_->count() != context_.document.PaletteIndexCount()) {
        list_->clear();
        for (int row = 0; row < context_.document.PaletteIndexCount(); ++row)
            list_->addItem(QString());
    }
    list_->viewport()->update();
}

void PalIndexPanel::remapClick() {
    std::vector<int> rows;
    for (const QModelIndex &index : list_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    context_.runner.run(QStringLiteral("remap palindexes"), [&](StyleDocument &doc) {
        remapPalindexes(doc, rows, list_->currentRow() >= 0, *context_.prompts);
    });
}

void PalIndexPanel::viewUnusedClick() {
    context_.runner.run(QStringLiteral("View unused palettes"),
                        [](StyleDocument &doc) { viewUnusedPalettes(doc); });
}

void PalIndexPanel::transparencyBlackClick() {
    context_.runner.run(QStringLiteral("transparency black"),
                        [](StyleDocument &doc) { transparencyBlack(doc); });
}
