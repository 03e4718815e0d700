#pragma once

#include "platform/log.h"

#include <QHash>

class QPlainTextEdit;

// The log page. Lines gather while an operation runs and reach the page in one update. A damaged
// file logs up to a line per 8 bytes: the page shows the first lines of each kind (lines that
// differ only in their numbers) and then how many more there were, so it stays quick to fill.
class WindowLog final : public Log {
public:
    static constexpr qsizetype LinesOfOneKind = 1000;

    explicit WindowLog(QPlainTextEdit *view) : view_(view) {}
    ~WindowLog() override { flush(); }

    void append(const QString &line) override;
    void clear() override;

private:
    void flush();

    struct Kind {
        qsizetype seen = 0;
        // Where the kind's last shown line stands in `pending_`.
        qsizetype lastShown = 0;
    };

    QPlainTextEdit *view_;
    QStringList pending_;
    QHash<QString, Kind> kinds_;
};
