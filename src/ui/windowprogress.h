#pragma once

#include "platform/progress.h"

#include <QElapsedTimer>

class QLabel;
class QProgressBar;

// The loading page's status label and progress bar. The window repaints at most every 15 ms, and
// the bar moves in thousandths of its length, so a loop over a million items is not slowed down by
// the bar's own work for every item.
class WindowProgress final : public Progress {
public:
    WindowProgress(QLabel *status, QProgressBar *bar);

    void setStatus(const QString &text) override;
    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    void processEvents() override;

private:
    QLabel *status_;
    QProgressBar *bar_;
    QElapsedTimer sinceRepaint_;
    int maximum_ = 0;
};
