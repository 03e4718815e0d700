#include "ui/logpage.h"

LogPage::LogPage(QWidget *parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("log"));
    setReadOnly(true);
}
