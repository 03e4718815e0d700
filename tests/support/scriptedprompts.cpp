#include "scriptedprompts.h"

#include <gtest/gtest.h>

template <typename T> T ScriptedPrompts::next(const QString &question, T fallback) {
    shown_.append(question);
    if (replies_.empty() || !std::holds_alternative<T>(replies_.front())) {
        ADD_FAILURE() << "unexpected question: " << question.toStdString();
        return fallback;
    }
    T reply = std::get<T>(replies_.front());
    replies_.pop_front();
    return reply;
}

void ScriptedPrompts::message(const QString &text) {
    shown_.append(text);
    messages_.append(text);
}

Answer ScriptedPrompts::confirm(const QString &text) {
    return next<Answer>(text, Answer::No);
}

Answer ScriptedPrompts::confirmWithCancel(const QString &text) {
    return next<Answer>(text, Answer::Cancel);
}

std::optional<QString> ScriptedPrompts::inputBox(const QString &caption, const QString &prompt,
                                                 const QString &) {
    return next<std::optional<QString>>(caption + QLatin1Char(':') + prompt, std::nullopt);
}

std::optional<QString> ScriptedPrompts::openFileName(const QString &filter, const QString &) {
    return next<std::optional<QString>>(QStringLiteral("open ") + filter, std::nullopt);
}

std::optional<QString> ScriptedPrompts::saveFileName(const QString &filter, const QString &) {
    return next<std::optional<QString>>(QStringLiteral("save ") + filter, std::nullopt);
}

std::optional<QString> ScriptedPrompts::folder(const QString &title) {
    return next<std::optional<QString>>(title, std::nullopt);
}

std::optional<int> ScriptedPrompts::physicalPalette(int) {
    return next<std::optional<int>>(QStringLiteral("palette picker"), std::nullopt);
}

int ScriptedPrompts::importChoice() {
    return next<int>(QStringLiteral("import choice"), 127);
}
