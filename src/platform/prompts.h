#pragma once

#include <QString>
#include <cstddef>
#include <optional>

enum class Answer { Yes, No, Cancel };

// The answers of the sprite import's palette question. The values are the choice dialog's result
// codes, which is also how the command line numbers them.
enum class SpriteImportChoice {
    ImportIntoChosen = 1,
    ChangePaletteOnly = 2,
    PaletteHack = 3,
    PixelsOnly = 4,
    ImportOverCurrent = 5,
    Cancel = 127,
};
// What a file dialog is for: each kind opens in the folder the user last chose for it.
enum class FileKind { StyleFile, Tile, Sprite, Palette, CarScript };
inline constexpr std::size_t FileKindCount = 5;

// What an import does with pixels whose colours the palette that will show them lacks.
enum class MissingColoursAnswer { Nearest, KeepIndexes, Cancel };

// Everything the core asks the user goes through this interface: real dialogs in the editor,
// scripted answers in tests, command-line options in vyr2-sty.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A plain message with one OK button.
    virtual void message(const QString &text) = 0;
    // Yes / No question; callers proceed on every answer but No.
    virtual Answer confirm(const QString &text) = 0;
    // A Yes / No question whose text says what going on would cost; only Yes goes on. Batch runs
    // go on and print the text as a warning.
    virtual Answer confirmLoss(const QString &text) { return confirm(text); }
    // Yes / No / Cancel question.
    virtual Answer confirmWithCancel(const QString &text) = 0;
    // Unsaved changes: Yes saves them, No discards them, Cancel keeps the document open.
    virtual Answer saveDiscardCancel(const QString &text) = 0;
    // One-line input box; nothing when the user cancels.
    virtual std::optional<QString> inputBox(const QString &caption, const QString &prompt,
                                            const QString &preset) = 0;
    // File dialogs for a kind of file, with a filter such as "*.bmp|*.bmp" and a preset name;
    // nothing on cancel.
    virtual std::optional<QString> openFileName(FileKind kind, const QString &filter,
                                                const QString &preset) = 0;
    virtual std::optional<QString> saveFileName(FileKind kind, const QString &filter,
                                                const QString &preset) = 0;
    // Folder browser (file-system folders only); nothing on cancel.
    virtual std::optional<QString> folder(const QString &title) = 0;
    // Palette picker: shows every physical palette with `preset` (a palette number as text) picked;
    // the picked number as text on OK (possibly empty), nothing on cancel.
    virtual std::optional<QString> pickPalette(const QString &preset) = 0;
    // The sprite import's palette question.
    virtual SpriteImportChoice importChoice() = 0;
    // `text` says which colours of a bitmap the palette that will show it lacks; the answer is
    // to take the nearest colours, to keep the stored indexes, or to cancel the import.
    virtual MissingColoursAnswer missingColours(const QString &text) = 0;
};

// Answers every question No or Cancel and shows nothing: for batch runs that cannot ask anyone.
class DecliningPrompts : public Prompts {
public:
    void message(const QString &) override {}
    Answer confirm(const QString &) override { return Answer::No; }
    Answer confirmWithCancel(const QString &) override { return Answer::Cancel; }
    Answer saveDiscardCancel(const QString &) override { return Answer::Cancel; }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
    std::optional<QString> openFileName(FileKind, const QString &, const QString &) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(FileKind, const QString &, const QString &) override {
        return std::nullopt;
    }
    std::optional<QString> folder(const QString &) override { return std::nullopt; }
    std::optional<QString> pickPalette(const QString &) override { return std::nullopt; }
    SpriteImportChoice importChoice() override { return SpriteImportChoice::Cancel; }
    MissingColoursAnswer missingColours(const QString &) override { return MissingColoursAnswer::Cancel; }
};
