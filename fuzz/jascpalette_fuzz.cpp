// The JASC text palette import on arbitrary text. Control byte: the palette the user picks.

#include "fuzzsupport.h"
#include "palette/jascpalette.h"
#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "sample/samplestyle.h"

namespace {

const StyleDocument &sample() {
    static const StyleDocument doc = makeSampleStyle();
    return doc;
}

// Our own export of the palette must read back to the same colours.
void requireExportReadsBack(const StyleDocument &doc, int palette) {
    const QList<QByteArray> lines = textLines(jascPaletteText(doc, palette));
    require(lines.size() == 259, "an exported palette has not 259 lines");
    for (int c = 0; c < 256; ++c)
        require(jascColour(lines[3 + c]) == directclutacces(doc, palette, c, false),
                "an exported colour reads back as another");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const FuzzInput input(data, size, 1);
    if (!input.valid)
        return 0;
    const QByteArray text = input.file.toByteArray();
    const QList<QByteArray> lines = textLines(text);
    for (const QByteArray &line : lines)
        require(!line.contains('\r') && !line.contains('\n'), "a text line holds a line break");

    FuzzPrompts prompts(writeInputFile(input.file, QStringLiteral(".pal")), input.control);
    const int palette = input.at(0) * 4 - 16;
    StyleDocument doc = sample();
    bool changed = false;
    try {
        changed = importJascPalette(doc, prompts);
    } catch (const EditorError &error) {
        require(!error.text().isEmpty(), "an empty error");
    }
    if (!changed) {
        require(doc == sample(), "a refused palette file changed the document");
        return 0;
    }
    require(isStoredPalette(palette), "a palette outside the store was written");
    StyleDocument rest = doc;
    rest.PhysicalPalettes = sample().PhysicalPalettes;
    require(rest == sample(), "a palette file changed more than colours");
    // The colours the file gives, and nothing else, take their places in the store.
    StyleDocument expected = sample();
    const int read = std::min<int>(256, int(lines.size()) - 3);
    for (int c = 0; c < read; ++c)
        writetoclut(expected, palette, c, jascColour(lines[3 + c]));
    require(doc.PhysicalPalettes == expected.PhysicalPalettes, "the store holds other colours than the file");
    requireExportReadsBack(doc, palette);
    return 0;
}
