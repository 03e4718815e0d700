#pragma once

#include <QPlainTextEdit>

// The "Log" page: what loading, saving and imports report, read-only.
class LogPage : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LogPage(QWidget *parent = nullptr);
};
