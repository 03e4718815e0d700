#pragma once

#include "prompts.h"

class QWidget;

// Prompts answered by the user through the standard dialogs, parented to `parent`.
class DialogPrompts final : public Prompts {
public:
    explicit DialogPrompts(QWidget *parent) : parent_(parent) {}

    void message(const QString &text) override;
    Answer confirm(const QString &text) override;
    Answer confirmWithCancel(const QString &text) override;
    Answer saveDiscardCancel(const QString &text) override;
    std::optional<QString> inputBox(const QString &caption, const QString &prompt,
                                    const QString &preset) override;
    std::optional<QString> openFileName(const QString &filter, const QString &preset) override;
    std::optional<QString> saveFileName(const QString &filter, const QString &preset) override;
    std::optional<QString> folder(const QString &title) override;

private:
    QWidget *parent_;
};

// "*.bmp|*.bmp" style filters as the file dialogs spell them: "*.bmp (*.bmp)".
QString dialogFilter(const QString &filter);
