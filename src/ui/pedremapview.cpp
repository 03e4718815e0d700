#include "ui/pedremapview.h"

#include "cars/pedpicture.h"
#include "cars/pedremap.h"
#include "widgets/stretchedimageview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

PedRemapView::PedRemapView(Prompts *prompts, QWidget *parent)
    : QWidget(parent), prompts_(prompts), picture_(makePedPicture()) {
    auto *title = new QLabel(QStringLiteral("Ped remap viewer"), this);

    number_ = new QSpinBox(this);
    number_->setObjectName(QStringLiteral("pedremap"));
    number_->setRange(PedRemapLowest, PedRemapHighest);
    // Typing 1107 must not try remaps 1, 11 and 110 on the way, each with its own refusal.
    number_->setKeyboardTracking(false);
    connect(number_, &QSpinBox::valueChanged, this, &PedRemapView::remapChanged);

    auto *open = new QPushButton(QStringLiteral("open bmp"), this);
    open->setObjectName(QStringLiteral("btn_pedopen"));
    connect(open, &QPushButton::clicked, this, &PedRemapView::openBmp);
    auto *save = new QPushButton(QStringLiteral("save bmp"), this);
    save->setObjectName(QStringLiteral("btn_pedsave"));
    connect(save, &QPushButton::clicked, this, &PedRemapView::saveBmp);

    pedview_ = new StretchedImageView(this);
    pedview_->setObjectName(QStringLiteral("pedview"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(save);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(number_);
    layout->addLayout(buttons);
    layout->addWidget(pedview_, 0, Qt::AlignLeft);
    layout->addStretch();
    showPicture();
}

void PedRemapView::setDocument(const StyleDocument *doc) {
    doc_ = doc;
    if (doc_ && !fileColours_ && recolourPed(*doc_, picture_, remap()))
        showPicture();
}

void PedRemapView::setRemap(int remap) {
    number_->setValue(remap);
}

int PedRemapView::remap() const {
    return number_->value();
}

void PedRemapView::remapChanged(int remap) {
    if (doc_ && pedRemapChanged(*doc_, picture_, remap, *prompts_)) {
        fileColours_ = false;
        showPicture();
    }
}

void PedRemapView::openBmp() {
    if (pedOpenBmp(picture_, *prompts_)) {
        fileColours_ = true;
        showPicture();
    }
}

void PedRemapView::saveBmp() {
    pedSaveBmp(picture_, *prompts_);
}

void PedRemapView::showPicture() {
    pedview_->setImage(picture_, picture_.size() * 2);
}
