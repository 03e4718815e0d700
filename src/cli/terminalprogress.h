#pragma once

#include "platform/progress.h"

#include <QElapsedTimer>
#include <QString>

class QTextStream;

// The progress of a long command as a bar on standard error, drawn only when that is a terminal
// and only once the command has run for half a second, so that short commands and scripts see
// nothing. One per process: the time counts from the command's start.
class TerminalProgress final : public Progress {
public:
    static TerminalProgress &instance();

    void setStatus(const QString &text) override { status_ = text.trimmed(); }
    void setMaximum(int maximum) override { maximum_ = maximum; }
    void setPosition(int position) override;
    void processEvents() override {}
    // Clears the bar, before the command's own output or at its end.
    void clear();

private:
    TerminalProgress();

    bool terminal_;
    QElapsedTimer started_;
    QElapsedTimer drawn_;
    bool shown_ = false;
    QString status_;
    int maximum_ = 0;
};
