#pragma once

#include <QString>
#include <functional>

class CommandRunner;
class LogPage;
class Prompts;
struct StyleDocument;

// What every room of the main window works with: the document it shows, the runner every change
// to it goes through, the questions to the user (tests replace them), the log page, the window's
// report of an error that escaped a command, and the system's "open with the associated program"
// (tests replace it too).
struct PageContext {
    const StyleDocument &document;
    CommandRunner &runner;
    Prompts *prompts;
    LogPage *log;
    std::function<void(const QString &)> reportError;
    std::function<bool(const QString &)> openFile;

    // Runs a button's handler: an error it throws is shown rather than left to unwind through Qt's
    // event code, which does not clean up after exceptions.
    void attempt(const std::function<void()> &run) const;
    // `click` wrapped by attempt, for connecting to a button.
    std::function<void()> guarded(std::function<void()> click) const;
};
