#include "cliprompts.h"

#include <QTextStream>

void CliPrompts::message(const QString &text) {
    err_ << text << Qt::endl;
    failed_ = true;
}
