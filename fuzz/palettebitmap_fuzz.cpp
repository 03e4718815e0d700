// The palette table import and the ped remap viewer's "open bmp" on arbitrary bitmap files.
// Control bytes: mode (bit 0 the ped picture), the ped remap number in two bytes.

#include "cars/pedpicture.h"
#include "cars/pedremap.h"
#include "fuzzsupport.h"
#include "palette/palettelookup.h"
#include "palette/palettetablefile.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "sample/samplestyle.h"

namespace {

const StyleDocument &sample() {
    static const StyleDocument doc = makeSampleStyle();
    return doc;
}

void importTable(const QString &path) {
    FuzzPrompts prompts(path, {});
    StyleDocument doc = sample();
    bool changed = false;
    try {
        changed = importPaletteTable(doc, prompts);
    } catch (const EditorError &error) {
        require(!error.text().isEmpty(), "an empty error");
    }
    if (!changed) {
        require(doc == sample(), "a refused palette table changed the document");
        return;
    }
    require(doc.PhysicalPaletteCount > 0 && doc.PhysicalPaletteCount % PalettesPerPage == 0,
            "the imported palette table has no whole pages of palettes");
    require(makeClut1(doc) == loadBitmap(path).image.convertToFormat(QImage::Format_RGB32),
            "the palettes do not show the imported picture");
    requireConsistent(doc);
}

void openPed(const QString &path, int remap) {
    FuzzPrompts prompts(path, {});
    const QImage original = makePedPicture();
    QImage picture = original;
    if (!pedOpenBmp(picture, prompts)) {
        require(picture == original, "a refused ped picture replaced the shown one");
        return;
    }
    require(picture.format() == QImage::Format_Indexed8 && picture.colorCount() == 256,
            "the opened ped picture is not 8 bit with a full colour table");
    const QImage opened = picture;
    pedRemapChanged(sample(), picture, remap, prompts);
    require(picture.size() == opened.size() && picture.format() == QImage::Format_Indexed8,
            "a ped remap changed the picture's size");
    for (int y = 0; y < picture.height(); ++y)
        require(std::equal(picture.constScanLine(y), picture.constScanLine(y) + picture.width(),
                           opened.constScanLine(y)),
                "a ped remap changed the picture's indexes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const FuzzInput input(data, size, 3);
    if (!input.valid)
        return 0;
    const QString path = writeInputFile(input.file, QStringLiteral(".bmp"));
    if (input.at(0) & 1)
        openPed(path, (input.at(1) << 8 | input.at(2)) - 16);
    else
        importTable(path);
    return 0;
}
