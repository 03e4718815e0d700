#pragma once

#include "platform/prompts.h"

class QTextStream;

// "--colours": what an import does with colours the palette showing the pixels lacks. Match
// refuses the import, the others answer the editor's question.
enum class ColoursOption { Match, Nearest, Indexes };

// The editor's messages break lines with a carriage return, which a terminal takes as "back to
// the start of the line" and so overprints the first line; printed, every break ends a line.
QString terminalLines(QString text);

// The command line's answers: a message goes to the error stream and marks the command as
// failed; every question is answered No or Cancel, since a batch run cannot ask anyone.
class CliPrompts : public DecliningPrompts {
public:
    explicit CliPrompts(QTextStream &err) : err_(err) {}

    bool failed() const { return failed_; }
    void setColours(ColoursOption colours) { colours_ = colours; }

    void message(const QString &text) override;
    // Something the user must know of that does not stop the command, as a "warning: " line.
    void warning(const QString &text);
    // Goes on and prints the text as a warning.
    Answer confirmLoss(const QString &text) override;
    MissingColoursAnswer missingColours(const QString &text) override;

private:
    QTextStream &err_;
    bool failed_ = false;
    ColoursOption colours_ = ColoursOption::Match;
};
