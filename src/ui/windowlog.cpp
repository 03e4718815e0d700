#include "ui/windowlog.h"

#include <QPlainTextEdit>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The line with every run of digits made one '#'.
QString kindOf(const QString &line) {
    QString kind;
    kind.reserve(line.size());
    bool inNumber = false;
    for (const QChar c : line) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digit)
            kind += c;
        else if (!inNumber)
            kind += QLatin1Char('#');
        inNumber = digit;
    }
    return kind;
}

} // namespace

void WindowLog::append(const QString &line) {
    Kind &kind = kinds_[kindOf(line)];
    if (++kind.seen > LinesOfOneKind)
        return;
    kind.lastShown = pending_.size();
    pending_.append(line);
}

void WindowLog::clear() {
    pending_.clear();
    kinds_.clear();
    view_->clear();
}

void WindowLog::flush() {
    std::vector<std::pair<qsizetype, qsizetype>> summaries; // after which line, how many more
    for (const Kind &kind : std::as_const(kinds_))
        if (kind.seen > LinesOfOneKind)
            summaries.emplace_back(kind.lastShown, kind.seen - LinesOfOneKind);
    // From the last line back, so the positions before stay valid.
    std::sort(summaries.rbegin(), summaries.rend());
    for (const auto &[after, more] : summaries)
        pending_.insert(after + 1, QStringLiteral("... and %1 more like this").arg(more));
    if (!pending_.isEmpty())
        view_->appendPlainText(pending_.join(QLatin1Char('\n')));
    pending_.clear();
    kinds_.clear();
}
