#pragma once

#include "cli/cliprompts.h"

#include <deque>
#include <utility>

// Command-line prompts that answer the save and folder dialogs, the input box, the palette picker,
// the sprite import choice and the Yes / No / Cancel questions from the command line, in the order
// queued; once a queue is empty they decline like CliPrompts. Imports are handed their file, so
// nothing is asked to open one.
class ArgumentPrompts final : public CliPrompts {
public:
    using CliPrompts::CliPrompts;

    void queueFileName(const QString &name) { fileNames_.push_back(name); }
    void queuePalette(const QString &number) { palettes_.push_back(number); }
    void queueInput(const QString &text) { inputs_.push_back(text); }
    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    void queueFolder(const QString &folder) { folders_.push_back(folder); }
    void queueChoice(SpriteImportChoice choice) { choice_ = choice; }

    std::optional<QString> saveFileName(FileKind, const QString &, const QString &) override {
        return next(fileNames_);
    }
    std::optional<QString> pickPalette(const QString &) override { return next(palettes_); }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override {
        return next(inputs_);
    }
    std::optional<QString> folder(const QString &) override { return next(folders_); }
    SpriteImportChoice importChoice() override { return std::exchange(choice_, SpriteImportChoice::Cancel); }
    Answer confirm(const QString &text) override;
    Answer confirmWithCancel(const QString &text) override;

private:
    static std::optional<QString> next(std::deque<QString> &queue);
    std::optional<Answer> nextAnswer();

    std::deque<QString> fileNames_;
    std::deque<QString> palettes_;
    std::deque<QString> inputs_;
    std::deque<QString> folders_;
    std::deque<Answer> answers_;
    SpriteImportChoice choice_ = SpriteImportChoice::Cancel;
};
