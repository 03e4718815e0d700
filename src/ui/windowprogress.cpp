#include "windowprogress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

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
    bar_->setMaximum(maximum);
}

void WindowProgress::setPosition(int position) {
    bar_->setValue(position);
}

void WindowProgress::processEvents() {
    if (sinceRepaint_.elapsed() < RepaintIntervalMs)
        return;
    QCoreApplication::processEvents();
    sinceRepaint_.restart();
}
