#include "palette/coloradjust.h"

#include "palette/palettelookup.h"
#include "platform/imagememory.h"

#include <algorithm>

namespace {

int shifted(int value, int offset) {
    return offset > 0 ? std::min(255, value + offset) : std::max(0, value + offset);
}

} // namespace

QImage adjustColours(const QImage &clut1, int dRed, int dGreen, int dBlue) {
    const QImage source = allocated(clut1.convertToFormat(QImage::Format_RGB32));
    QImage adjusted = makeImage(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(adjusted.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            out[x] = qRgb(shifted(qRed(in[x]), dRed), shifted(qGreen(in[x]), dGreen),
                          shifted(qBlue(in[x]), dBlue));
    }
    return adjusted;
}

void applyAdjustedColours(StyleDocument &doc, const QImage &clut2) {
    const QImage colours = allocated(clut2.convertToFormat(QImage::Format_RGB32));
    // A picture smaller than the palette table leaves the palettes it does not cover alone.
    const int palettes = std::min({doc.PhysicalPaletteCount, PaletteStoreCapacity, colours.width()});
    const int rows = std::min(256, colours.height());
    for (int y = 0; y < rows; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(colours.constScanLine(y));
        for (int x = 0; x < palettes; ++x)
            writetoclut(doc, x, y, fromRgb(row[x]));
    }
}
