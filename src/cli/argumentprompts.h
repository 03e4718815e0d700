#pragma once

#include "cliprompts.h"

#include <deque>

// Command-line prompts that answer the file dialogs and the palette picker with names and numbers
// from the command line, in the order queued; once a queue is empty they decline like CliPrompts.
class ArgumentPrompts final : public CliPrompts {
public:
    using CliPrompts::CliPrompts;

    void queueFileName(const QString &name) { fileNames_.push_back(name); }
    void queuePalette(const QString &number) { palettes_.push_back(number); }

    std::optional<QString> openFileName(const QString &, const QString &) override {
        return next(fileNames_);
    }
    std::optional<QString> saveFileName(const QString &, const QString &) override {
        return next(fileNames_);
    }
    std::optional<QString> pickPalette(const QString &) override { return next(palettes_); }

private:
    static std::optional<QString> next(std::deque<QString> &queue);

    std::deque<QString> fileNames_;
    std::deque<QString> palettes_;
};
