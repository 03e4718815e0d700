#include "graphics/paintprogramedit.h"

#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/forwardingprompts.h"
#include "platform/log.h"

#include <QFile>

// Asks each palette question once and answers it from then on; a cancel is not kept, so the next
// save asks again.
class RememberingPrompts : public ForwardingPrompts {
public:
    RememberingPrompts(Prompts &inner, PaintProgramEdit &edit, Log &log)
        : ForwardingPrompts(inner), edit_(edit), log_(log) {}

    void message(const QString &text) override { log_.append(text); }
    Answer confirmWithCancel(const QString &text) override {
        if (!edit_.tileAnswer_)
            edit_.tileAnswer_ = inner_.confirmWithCancel(text);
        return *edit_.tileAnswer_;
    }
    SpriteImportChoice importChoice() override {
        if (edit_.spriteChoice_)
            return *edit_.spriteChoice_;
        const SpriteImportChoice choice = inner_.importChoice();
        if (choice != SpriteImportChoice::Cancel)
            edit_.spriteChoice_ = choice;
        return choice;
    }
    std::optional<QString> pickPalette(const QString &preset) override {
        if (!edit_.palette_)
            edit_.palette_ = inner_.pickPalette(preset);
        return edit_.palette_;
    }
    MissingColoursAnswer missingColours(const QString &text) override {
        if (edit_.missingColours_)
            return *edit_.missingColours_;
        const MissingColoursAnswer answer = inner_.missingColours(text);
        if (answer != MissingColoursAnswer::Cancel)
            edit_.missingColours_ = answer;
        return answer;
    }

private:
    PaintProgramEdit &edit_;
    Log &log_;
};

PaintProgramEdit::PaintProgramEdit(Graphic graphic, const QString &workFile)
    : graphic_(graphic), workFile_(workFile) {}

bool PaintProgramEdit::writeWorkFile(const StyleDocument &doc, Prompts &prompts) {
    const QString written = exportGraphicFile(doc, graphic_, workFile_, prompts);
    if (written.isEmpty())
        return false;
    workFile_ = written;
    lastSeen_ = readWholeFile(workFile_);
    return true;
}

bool PaintProgramEdit::reimport(StyleDocument &doc, Prompts &prompts, Log &log) {
    QFile file(workFile_);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes == lastSeen_)
        return false;
    lastSeen_ = bytes;
    const QString prefix = QStringLiteral("%1 from the paint program: ").arg(graphic_.name());
    StyleDocument changed = doc;
    LineLog lines;
    try {
        RememberingPrompts remembering(prompts, *this, lines);
        // The bytes just compared, not a second read that the paint program may be writing.
        const PictureSource picture = PictureSource::picture(decodePicture(bytes, workFile_), workFile_);
        const bool imported = importGraphic(changed, graphic_, picture, remembering, lines);
        for (const QString &line : lines.lines())
            log.append(prefix + line);
        if (!imported) {
            log.append(prefix + QStringLiteral("not imported."));
            return false;
        }
    } catch (const EditorError &error) {
        for (const QString &line : lines.lines())
            log.append(prefix + line);
        log.append(prefix + error.text());
        return false;
    }
    doc = std::move(changed);
    log.append(prefix + QStringLiteral("imported."));
    return true;
}
