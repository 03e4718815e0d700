#include "cli/terminalprogress.h"

#include "platform/terminal.h"

#include <QTextStream>
#include <cstdio>

namespace {

constexpr qint64 QuietMilliseconds = 500;
constexpr qint64 RedrawMilliseconds = 100;
constexpr int BarWidth = 30;

QTextStream &errorStream() {
    static QTextStream err(stderr);
    return err;
}

} // namespace

TerminalProgress &TerminalProgress::instance() {
    static TerminalProgress progress;
    return progress;
}

TerminalProgress::TerminalProgress() : terminal_(standardErrorIsTerminal()) {
    started_.start();
}

void TerminalProgress::setPosition(int position) {
    if (!terminal_ || maximum_ <= 0 || started_.elapsed() < QuietMilliseconds)
        return;
    if (position <= 0 || position >= maximum_) {
        clear();
        return;
    }
    if (shown_ && drawn_.elapsed() < RedrawMilliseconds)
        return;
    const int filled = static_cast<int>(qint64(position) * BarWidth / maximum_);
    errorStream() << '\r' << '[' << QString(filled, QLatin1Char('#'))
                  << QString(BarWidth - filled, QLatin1Char(' ')) << "] " << qint64(position) * 100 / maximum_
                  << "% " << status_ << "\x1b[K" << Qt::flush;
    shown_ = true;
    drawn_.start();
}

void TerminalProgress::clear() {
    if (!shown_)
        return;
    errorStream() << "\r\x1b[K" << Qt::flush;
    shown_ = false;
}
