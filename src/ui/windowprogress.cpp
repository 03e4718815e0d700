#include "ui/windowprogress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <cstdlib>

namespace {
constexpr int RepaintIntervalMs = 15;
}

WindowProgress::WindowProgress(QLabel *status, QProgressBar *bar) : status_(status), bar_(bar) {
    sinceRepaint_.start();
}

void WindowProgress::setStatus(const QString &text) {
    status_->setText(text);
}

void WindowProgress::setMaximum(int maximum) {
    maximum_ = maximum;
    bar_->setMaximum(maximum);
}

void WindowProgress::setPosition(int position) {
    const int step = std::max(1, maximum_ / 1000);
    if (position != 0 && position != maximum_ && std::abs(position - bar_->value()) < step)
        return;
    // The bar repaints itself at once for a new value; with updates off it waits for the next
    // processEvents, like the rest of the window.
    bar_->setUpdatesEnabled(false);
    bar_->setValue(position);
    bar_->setUpdatesEnabled(true);
}

void WindowProgress::processEvents() {
    if (sinceRepaint_.elapsed() < RepaintIntervalMs)
        return;
    QCoreApplication::processEvents();
    sinceRepaint_.restart();
}
