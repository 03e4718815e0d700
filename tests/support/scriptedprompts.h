#pragma once

#include "prompts.h"

#include <QStringList>
#include <deque>
#include <variant>

// Prompts for tests: records every text the user would have seen and answers questions from a
// queue. A question with no queued answer of its kind fails the running test.
class ScriptedPrompts final : public Prompts {
public:
    using Reply = std::variant<Answer, std::optional<QString>, std::optional<int>, int>;

    void queue(Answer answer) { replies_.push_back(answer); }
    void queueText(std::optional<QString> text) { replies_.push_back(std::move(text)); }
    void queuePalette(std::optional<int> palette) { replies_.push_back(palette); }
    void queueImportChoice(int choice) { replies_.push_back(choice); }

    // Every message and question text in the order shown.
    const QStringList &shown() const { return shown_; }
    // The plain messages only.
    const QStringList &messages() const { return messages_; }
    bool allAnswersUsed() const { return replies_.empty(); }

    void message(const QString &text) override;
    Answer confirm(const QString &text) override;
    Answer confirmWithCancel(const QString &text) override;
    std::optional<QString> inputBox(const QString &caption, const QString &prompt,
                                    const QString &preset) override;
    std::optional<QString> openFileName(const QString &filter, const QString &preset) override;
    std::optional<QString> saveFileName(const QString &filter, const QString &preset) override;
    std::optional<QString> folder(const QString &title) override;
    std::optional<int> physicalPalette(int preset) override;
    int importChoice() override;

private:
    template <typename T> T next(const QString &question, T fallback);

    std::deque<Reply> replies_;
    QStringList shown_;
    QStringList messages_;
};
