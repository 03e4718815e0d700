#include "cli/cliprompts.h"

#include "cli/terminalprogress.h"

#include <QTextStream>

QString terminalLines(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void CliPrompts::message(const QString &text) {
    TerminalProgress::instance().clear();
    err_ << terminalLines(text) << Qt::endl;
    failed_ = true;
}

void CliPrompts::warning(const QString &text) {
    TerminalProgress::instance().clear();
    err_ << "warning: " << terminalLines(text) << Qt::endl;
}

Answer CliPrompts::confirmLoss(const QString &text) {
    warning(text);
    return Answer::Yes;
}

MissingColoursAnswer CliPrompts::missingColours(const QString &text) {
    switch (colours_) {
    case ColoursOption::Nearest:
        return MissingColoursAnswer::Nearest;
    case ColoursOption::Indexes:
        return MissingColoursAnswer::KeepIndexes;
    case ColoursOption::Match:
        break;
    }
    message(text + QStringLiteral(" Nothing was imported; --colours nearest takes the nearest colours, "
                                  "--colours indexes the stored indexes."));
    return MissingColoursAnswer::Cancel;
}
