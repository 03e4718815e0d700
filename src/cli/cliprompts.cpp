#include "cliprompts.h"

#include <QTextStream>

void CliPrompts::message(const QString &text) {
    err_ << text << Qt::endl;
    failed_ = true;
}

void CliPrompts::warning(const QString &text) {
    err_ << "warning: " << text << Qt::endl;
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
