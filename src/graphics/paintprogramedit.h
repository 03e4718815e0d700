#pragma once

#include "graphics/graphicfile.h"
#include "platform/prompts.h"

#include <QByteArray>
#include <QString>
#include <optional>

// A sprite or tile handed to a paint program through a work file, and imported again each time
// the program saves it. The palette questions of the import are asked at the first import that
// needs them and the answers reused at every later one, so saving in the paint program does not
// bring up the same questions again. Nobody is waiting at the editor when the other program saves,
// so refusals go to the log instead of a message box.
class PaintProgramEdit {
public:
    PaintProgramEdit(Graphic graphic, const QString &workFile);

    // Writes the graphic's picture to the work file, with the checks of "export"; false (with the
    // reason shown) when it has no picture to write.
    bool writeWorkFile(const StyleDocument &doc, Prompts &prompts);
    // The work file changed: imports it when its bytes differ from those last seen. Returns whether
    // the document changed; a file that is refused, cannot be read (also one still being written)
    // or a cancelled question leaves the document as it was and says why in `log`.
    bool reimport(StyleDocument &doc, Prompts &prompts, Log &log);

    Graphic graphic() const { return graphic_; }
    const QString &workFile() const { return workFile_; }

private:
    friend class RememberingPrompts;

    Graphic graphic_;
    QString workFile_;
    QByteArray lastSeen_;
    std::optional<Answer> tileAnswer_;
    std::optional<SpriteImportChoice> spriteChoice_;
    std::optional<QString> palette_;
    std::optional<MissingColoursAnswer> missingColours_;
};
