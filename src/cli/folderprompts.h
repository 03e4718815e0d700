#pragma once

#include "cli/cliprompts.h"
#include "style/styledocument.h"

// The prompts of a batch import from a folder. The caller looks up each graphic's file before its
// import and imports only the graphics the folder holds a file of; every question gets the same
// answer. Any refusal ends the run: it throws EditorError naming the file being imported, so that
// nothing is saved.
class FolderPrompts final : public CliPrompts {
public:
    FolderPrompts(QTextStream &err, const QString &folder) : CliPrompts(err), folder_(folder) {}

    void setAnswer(Answer answer) { answer_ = answer; }
    void setPalette(const std::optional<QString> &palette) { palette_ = palette; }
    void setChoice(SpriteImportChoice choice) { choice_ = choice; }

    // The next graphic's file: the first of `names` the folder holds, nothing when it holds none.
    std::optional<QString> beginGraphic(const QStringList &names);
    // After the last graphic: refusals no longer name a file.
    void endGraphics();
    // How many files the imports were given.
    int filesGiven() const { return filesGiven_; }
    // Ends the run at the current file with `text`.
    [[noreturn]] void stop(const QString &text);

    void message(const QString &text) override { stop(text); }
    Answer confirmWithCancel(const QString &) override { return answer_; }
    std::optional<QString> pickPalette(const QString &) override { return palette_; }
    SpriteImportChoice importChoice() override { return choice_; }

private:
    QString folder_;
    QString file_;
    int filesGiven_ = 0;
    Answer answer_ = Answer::Cancel;
    std::optional<QString> palette_;
    SpriteImportChoice choice_ = SpriteImportChoice::Cancel;
};

// Loads the style file `path` for a batch import from the folder `dir`. False when the file was
// refused or has no palettes; stops the run when `dir` is no folder.
bool loadForBatch(StyleDocument &doc, const QString &path, const QString &dir, FolderPrompts &prompts);
