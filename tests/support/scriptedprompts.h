#pragma once

#include "platform/prompts.h"

#include <QStringList>
#include <deque>
#include <functional>

// Prompts for tests: records every text the user would have seen and answers questions from a
// queue. A question with no queued answer of its kind fails the running test.
class ScriptedPrompts final : public Prompts {
public:
    void queue(Answer answer) {
        replies_.push_back({false, answer, false, QString(), SpriteImportChoice::Cancel, {}});
    }
    void queueChoice(SpriteImportChoice choice) {
        replies_.push_back({false, Answer::Cancel, false, QString(), choice, {}});
    }
    // Lets a real dialog answer the sprite import's palette question instead of the queue.
    void setImportChooser(std::function<SpriteImportChoice()> chooser) {
        importChooser_ = std::move(chooser);
    }
    void queueColours(MissingColoursAnswer answer) {
        replies_.push_back({false, Answer::Cancel, false, QString(), SpriteImportChoice::Cancel, answer});
    }
    void queueText(const std::optional<QString> &text) {
        replies_.push_back({true,
                            Answer::Cancel,
                            text.has_value(),
                            text.value_or(QString()),
                            SpriteImportChoice::Cancel,
                            {}});
    }

    // Every message and question text in the order shown.
    const QStringList &shown() const { return shown_; }
    // The plain messages only.
    const QStringList &messages() const { return messages_; }
    // The preset texts of the input boxes and file dialogs in the order shown.
    const QStringList &presets() const { return presets_; }
    bool allAnswersUsed() const { return replies_.empty(); }

    void message(const QString &text) override;
    Answer confirm(const QString &text) override;
    Answer confirmWithCancel(const QString &text) override;
    Answer saveDiscardCancel(const QString &text) override;
    std::optional<QString> inputBox(const QString &caption, const QString &prompt,
                                    const QString &preset) override;
    std::optional<QString> openFileName(FileKind kind, const QString &filter, const QString &preset) override;
    std::optional<QString> saveFileName(FileKind kind, const QString &filter, const QString &preset) override;
    std::optional<QString> folder(const QString &title) override;
    // Answered from queueText: "palette picker " + preset is what the user saw.
    std::optional<QString> pickPalette(const QString &preset) override;
    // Answered from queueChoice.
    SpriteImportChoice importChoice() override;
    // Answered from queueColours; the text is what the user saw.
    MissingColoursAnswer missingColours(const QString &text) override;

private:
    struct Reply {
        bool isText;
        Answer answer;
        bool hasText;
        QString text;
        SpriteImportChoice choice;
        std::optional<MissingColoursAnswer> colours;
    };
    // The next queued reply when it is of the asked kind; nothing (and a test failure) otherwise.
    std::optional<Reply> next(const QString &question, bool wantText);
    std::optional<QString> nextText(const QString &question);

    std::deque<Reply> replies_;
    std::function<SpriteImportChoice()> importChooser_;
    QStringList shown_;
    QStringList messages_;
    QStringList presets_;
};
