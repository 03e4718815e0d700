#pragma once

#include "progress.h"

#include <QElapsedTimer>

class QLabel;
class QProgressBar;

// The loading page's status label and progress bar. The window repaints at most every 15 ms, so
// a long loop is not slowed down by painting after every item.
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
};
