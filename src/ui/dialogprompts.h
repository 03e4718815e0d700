#pragma once

#include "platform/prompts.h"

#include <array>
#include <functional>

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
    // The file dialogs open in the folder last chosen for the kind during this run, with a preset
    // name that has no folder of its own joined to it.
    std::optional<QString> openFileName(FileKind kind, const QString &filter, const QString &preset) override;
    std::optional<QString> saveFileName(FileKind kind, const QString &filter, const QString &preset) override;
    std::optional<QString> folder(const QString &title) override;
    std::optional<QString> pickPalette(const QString &preset) override { return palettePicker_(preset); }
    SpriteImportChoice importChoice() override { return importChooser_(); }
    // A message box with the buttons "Use nearest colours", "Keep stored indexes" and "Cancel".
    MissingColoursAnswer missingColours(const QString &text) override;

    // The editor's own dialogs behind the last two questions.
    void setPalettePicker(std::function<std::optional<QString>(const QString &)> picker) {
        palettePicker_ = std::move(picker);
    }
    void setImportChooser(std::function<SpriteImportChoice()> chooser) {
        importChooser_ = std::move(chooser);
    }

private:
    QString startPath(FileKind kind, const QString &preset) const;
    std::optional<QString> chosen(FileKind kind, const QString &name);

    QWidget *parent_;
    // Kept in memory only: the editor has no settings file.
    std::array<QString, FileKindCount> folders_;
    std::function<std::optional<QString>(const QString &)> palettePicker_;
    std::function<SpriteImportChoice()> importChooser_;
};

// "*.bmp|*.bmp" style filters as the file dialogs spell them: "*.bmp (*.bmp)".
QString dialogFilter(const QString &filter);
// A name typed without an extension gets the one of the filter chosen in the dialog ("*.png
// (*.png)"), because the extension decides what a save writes.
QString withFilterExtension(const QString &name, const QString &selectedFilter);
