#include "support/scriptedprompts.h"

#include <gtest/gtest.h>

std::optional<ScriptedPrompts::Reply> ScriptedPrompts::next(const QString &question, bool wantText) {
    shown_.append(question);
    if (replies_.empty() || replies_.front().isText != wantText) {
        ADD_FAILURE() << "unexpected question: " << question.toStdString();
        return std::nullopt;
    }
    Reply reply = replies_.front();
    replies_.pop_front();
    return reply;
}

std::optional<QString> ScriptedPrompts::nextText(const QString &question) {
    const std::optional<Reply> reply = next(question, true);
    if (!reply || !reply->hasText)
        return std::nullopt;
    return reply->text;
}

void ScriptedPrompts::message(const QString &text) {
    shown_.append(text);
    messages_.append(text);
}

Answer ScriptedPrompts::confirm(const QString &text) {
    const std::optional<Reply> reply = next(text, false);
    return reply ? reply->answer : Answer::No;
}

Answer ScriptedPrompts::confirmWithCancel(const QString &text) {
    const std::optional<Reply> reply = next(text, false);
    return reply ? reply->answer : Answer::Cancel;
}

Answer ScriptedPrompts::saveDiscardCancel(const QString &text) {
    const std::optional<Reply> reply = next(text, false);
    return reply ? reply->answer : Answer::Cancel;
}

std::optional<QString> ScriptedPrompts::inputBox(const QString &caption, const QString &prompt,
                                                 const QString &preset) {
    presets_.append(preset);
    return nextText(caption + QLatin1Char(':') + prompt);
}

std::optional<QString> ScriptedPrompts::openFileName(FileKind, const QString &filter, const QString &preset) {
    presets_.append(preset);
    return nextText(QStringLiteral("open ") + filter);
}

std::optional<QString> ScriptedPrompts::saveFileName(FileKind, const QString &filter, const QString &preset) {
    presets_.append(preset);
    return nextText(QStringLiteral("save ") + filter);
}

std::optional<QString> ScriptedPrompts::folder(const QString &title) {
    return nextText(title);
}

std::optional<QString> ScriptedPrompts::pickPalette(const QString &preset) {
    return nextText(QStringLiteral("palette picker ") + preset);
}

MissingColoursAnswer ScriptedPrompts::missingColours(const QString &text) {
    const std::optional<Reply> reply = next(text, false);
    if (reply && !reply->colours)
        ADD_FAILURE() << "no colours answer queued for: " << text.toStdString();
    return reply && reply->colours ? *reply->colours : MissingColoursAnswer::Cancel;
}

SpriteImportChoice ScriptedPrompts::importChoice() {
    if (importChooser_) {
        shown_.append(QStringLiteral("import choice"));
        return importChooser_();
    }
    const std::optional<Reply> reply = next(QStringLiteral("import choice"), false);
    return reply ? reply->choice : SpriteImportChoice::Cancel;
}
