#include "ui/twnd_adjust.h"

#include "widgets/dialogbuttons.h"

#include "palette/coloradjust.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

Twnd_adjust::Twnd_adjust(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wnd_adjust"));
    setWindowTitle(QStringLiteral("CLUT brightness"));

    auto *layout = new QVBoxLayout(this);
    auto *bars = new QFormLayout;
    layout->addLayout(bars);
    red_ = addTrackBar(bars, QStringLiteral("RedTrackBar"), QStringLiteral("red"));
    green_ = addTrackBar(bars, QStringLiteral("GreenTrackBar"), QStringLiteral("green"));
    blue_ = addTrackBar(bars, QStringLiteral("BlueTrackBar"), QStringLiteral("blue"));

    clut2View_ = new QLabel(this);
    clut2View_->setObjectName(QStringLiteral("clut2"));
    clut2View_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(clut2View_);

    auto *resetButton = new QPushButton(QStringLiteral("Reset"), this);
    resetButton->setObjectName(QStringLiteral("btn_reset"));
    connect(resetButton, &QPushButton::clicked, this, &Twnd_adjust::reset);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(resetButton);
    buttons->addStretch();
    addOkCancel(this, buttons);
    layout->addLayout(buttons);
}

QSlider *Twnd_adjust::addTrackBar(QFormLayout *bars, const QString &name, const QString &caption) {
    auto *bar = new QSlider(Qt::Horizontal, this);
    bar->setObjectName(name);
    bar->setRange(-255, 255);
    bar->setValue(0);
    bar->setTickInterval(20);
    bar->setTickPosition(QSlider::TicksBothSides);
    connect(bar, &QSlider::valueChanged, this, &Twnd_adjust::recompute);
    bars->addRow(caption, bar);
    return bar;
}

void Twnd_adjust::setSource(const QImage &clut1) {
    clut1_ = clut1;
    recompute();
}

void Twnd_adjust::reset() {
    // One recomputation for all three bars, and one even when they already stood at 0.
    for (QSlider *bar : {red_, green_, blue_}) {
        const QSignalBlocker quiet(bar);
        bar->setValue(0);
    }
    recompute();
}

void Twnd_adjust::recompute() {
    clut2_ = adjustColours(clut1_, red_->value(), green_->value(), blue_->value());
    clut2View_->setPixmap(QPixmap::fromImage(clut2_));
}
