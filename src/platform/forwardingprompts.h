#pragma once

#include "platform/prompts.h"

// Passes every question to another Prompts; subclasses answer some of them themselves.
class ForwardingPrompts : public Prompts {
public:
    explicit ForwardingPrompts(Prompts &inner) : inner_(inner) {}

    void message(const QString &text) override { inner_.message(text); }
    Answer confirm(const QString &text) override { return inner_.confirm(text); }
    Answer confirmLoss(const QString &text) override { return inner_.confirmLoss(text); }
    Answer confirmWithCancel(const QString &text) override { return inner_.confirmWithCancel(text); }
    Answer saveDiscardCancel(const QString &text) override { return inner_.saveDiscardCancel(text); }
    std::optional<QString> inputBox(const QString &caption, const QString &prompt,
                                    const QString &preset) override {
        return inner_.inputBox(caption, prompt, preset);
    }
    std::optional<QString> openFileName(FileKind kind, const QString &filter,
                                        const QString &preset) override {
        return inner_.openFileName(kind, filter, preset);
    }
    std::optional<QString> saveFileName(FileKind kind, const QString &filter,
                                        const QString &preset) override {
        return inner_.saveFileName(kind, filter, preset);
    }
    std::optional<QString> folder(const QString &title) override { return inner_.folder(title); }
    std::optional<QString> pickPalette(const QString &preset) override { return inner_.pickPalette(preset); }
    SpriteImportChoice importChoice() override { return inner_.importChoice(); }
    MissingColoursAnswer missingColours(const QString &text) override { return inner_.missingColours(text); }

protected:
    Prompts &inner_;
};
