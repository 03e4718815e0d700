#pragma once

#include "prompts.h"

class QTextStream;

// The command line's answers: a message goes to the error stream and marks the command as
// failed; every question is answered No or Cancel, since a batch run cannot ask anyone.
class CliPrompts : public DecliningPrompts {
public:
    explicit CliPrompts(QTextStream &err) : err_(err) {}

    bool failed() const { return failed_; }

    void message(const QString &text) override;

private:
    QTextStream &err_;
    bool failed_ = false;
};
