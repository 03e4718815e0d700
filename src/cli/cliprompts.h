#pragma once

#include "prompts.h"

class QTextStream;

// The command line's answers: a message goes to the error stream and marks the command as
// failed; every question is answered No or Cancel, since a batch run cannot ask anyone.
class CliPrompts final : public Prompts {
public:
    explicit CliPrompts(QTextStream &err) : err_(err) {}

    bool failed() const { return failed_; }

    void message(const QString &text) override;
    Answer confirm(const QString &) override { return Answer::No; }
    Answer confirmWithCancel(const QString &) override { return Answer::Cancel; }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
    std::optional<QString> openFileName(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> saveFileName(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> folder(const QString &) override { return std::nullopt; }

private:
    QTextStream &err_;
    bool failed_ = false;
};
