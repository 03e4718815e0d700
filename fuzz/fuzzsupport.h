#pragma once

// What the import fuzzers share: an input split into dialog answers and file bytes, a Prompts
// that answers from those bytes, and checks that stop the run with a message when broken.

#include "platform/prompts.h"
#include "style/styledocument.h"

#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <cstdint>

// The first `controlBytes` bytes of an input steer the run; the rest is the file the user opens.
struct FuzzInput {
    QByteArrayView control;
    QByteArrayView file;
    bool valid = false;

    FuzzInput(const uint8_t *data, size_t size, qsizetype controlBytes);
    // Control byte `index`; 0 past the end.
    quint8 at(qsizetype index) const;
};

// Writes `bytes` to the one input file of this process and returns its path.
QString writeInputFile(QByteArrayView bytes, const QString &suffix);

// Answers every dialog from a list of answer bytes (0 once they run out); every open dialog gets
// the input file. Messages must say something.
class FuzzPrompts final : public Prompts {
public:
    FuzzPrompts(const QString &file, QByteArrayView answers) : file_(file), answers_(answers) {}

    int messageCount() const { return messages_; }

    void message(const QString &text) override;
    Answer confirm(const QString &text) override;
    Answer confirmWithCancel(const QString &text) override;
    Answer saveDiscardCancel(const QString &text) override;
    std::optional<QString> inputBox(const QString &caption, const QString &prompt,
                                    const QString &preset) override;
    std::optional<QString> openFileName(FileKind kind, const QString &filter, const QString &preset) override;
    std::optional<QString> saveFileName(FileKind kind, const QString &filter, const QString &preset) override;
    std::optional<QString> folder(const QString &title) override;
    // A palette number from -16 to 996, a text that is no number, or cancel.
    std::optional<QString> pickPalette(const QString &preset) override;
    // Any of the five options or cancel.
    SpriteImportChoice importChoice() override;
    // Nearest, keep indexes or cancel.
    MissingColoursAnswer missingColours(const QString &text) override;

private:
    quint8 next();

    QString file_;
    QByteArrayView answers_;
    qsizetype used_ = 0;
    int messages_ = 0;
};

// Prints `what` and aborts when `holds` is false, so libFuzzer keeps the input.
void require(bool holds, const char *what);

// The document must still be something the editor can save and open again: pixel stores of whole
// pages, counts within their capacities, and a saved file that reads back.
void requireConsistent(const StyleDocument &doc);
