#pragma once

#include "log.h"

#include <QPlainTextEdit>

// The log page. Lines gather while an operation runs and reach the page in one update.
class WindowLog final : public Log {
public:
    explicit WindowLog(QPlainTextEdit *view) : view_(view) {}
    ~WindowLog() override { flush(); }

    void append(const QString &line) override { pending_.append(line); }
    void clear() override {
        pending_.clear();
        view_->clear();
    }
    void flush() {
        for (const QString &line : pending_)
            view_->appendPlainText(line);
        pending_.clear();
    }

private:
    QPlainTextEdit *view_;
    QStringList pending_;
};
