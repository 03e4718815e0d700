#include "graphics/deltasheet.h"

#include "graphics/deltaunit.h"
#include "graphics/spritepicture.h"
#include "palette/colourmapping.h"
#include "platform/editorerror.h"
#include "platform/imagememory.h"

#include <array>
#include <cstring>

namespace {

int squaredDistance(QRgb a, QRgb b) {
    const int red = qRed(a) - qRed(b), green = qGreen(a) - qGreen(b), blue = qBlue(a) - qBlue(b);
    return red * red + green * green + blue * blue;
}

int nearestColour(const QList<QRgb> &colours, QRgb colour) {
    int best = 0;
    for (int c = 1; c < colours.size(); ++c)
        if (squaredDistance(colours[c], colour) < squaredDistance(colours[best], colour))
            best = c;
    return best;
}

// Sheet index -> sprite index for pixels that no longer show what the cell showed at export.
std::array<uchar, 256> colourMap(const QList<QRgb> &sheet, const QList<QRgb> &sprite) {
    std::array<uchar, 256> map{};
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = i < sheet.size() ? sheet[i] : qRgb(0, 0, 0);
        map[static_cast<std::size_t>(i)] =
            static_cast<uchar>(entryHolding(sprite, colour).value_or(nearestOpaqueEntry(sprite, colour)));
    }
    return map;
}

bool sameColour(QRgb a, QRgb b) {
    return ((a ^ b) & 0xFFFFFFu) == 0;
}

} // namespace

QSize deltaSheetSize(QSize sprite) {
    return {DeltaSheetColumns * sprite.width() + (DeltaSheetColumns - 1) * DeltaCellGap,
            DeltaSheetRows * sprite.height() + (DeltaSheetRows - 1) * DeltaCellGap};
}

QPoint deltaCellOrigin(QSize sprite, int cell) {
    return {(sprite.width() + DeltaCellGap) * (cell % DeltaSheetColumns),
            (sprite.height() + DeltaCellGap) * (cell / DeltaSheetColumns)};
}

int closestToWhite(const QList<QRgb> &colours) {
    return colours.isEmpty() ? 0 : nearestColour(colours, qRgb(255, 255, 255));
}

QImage renderDeltaSheet(const StyleDocument &doc, int sprite, DeltaView view) {
    const QImage picture = spritePicture(doc, sprite);
    const QSize size = picture.size();
    QImage sheet = makeImage(deltaSheetSize(size), QImage::Format_Indexed8);
    sheet.setColorTable(picture.colorTable());
    sheet.fill(static_cast<uint>(closestToWhite(picture.colorTable())));
    for (int cell = 0; cell < DeltaSheetCells; ++cell) {
        const QPoint origin = deltaCellOrigin(size, cell);
        if (view != DeltaView::ChangesOnly)
            for (int y = 0; y < size.height(); ++y)
                std::memcpy(sheet.scanLine(origin.y() + y) + origin.x(), picture.constScanLine(y),
                            static_cast<std::size_t>(size.width()));
        if (view != DeltaView::CarsOnly)
            applyDelta(doc, sprite, cell, sheet, origin.x(), origin.y());
    }
    return sheet;
}

std::vector<QByteArray> encodeSheetDeltas(const StyleDocument &doc, int sprite, const QImage &sheet) {
    const QImage picture = spritePicture(doc, sprite);
    const QSize size = picture.size();
    if (sheet.format() != QImage::Format_Indexed8 || sheet.size() != deltaSheetSize(size))
        throw EditorError(
            QStringLiteral("A delta sheet of a %1*%2 sprite is an 8-bit picture of %3*%4 pixels.")
                .arg(size.width())
                .arg(size.height())
                .arg(deltaSheetSize(size).width())
                .arg(deltaSheetSize(size).height()));
    const QList<QRgb> sheetColours = sheet.colorTable();
    const QList<QRgb> spriteColours = picture.colorTable();
    const std::array<uchar, 256> map = colourMap(sheetColours, spriteColours);
    const QImage shown = renderDeltaSheet(doc, sprite, DeltaView::Draw);
    QImage cell = makeImage(size, QImage::Format_Indexed8);
    std::vector<QByteArray> deltas(DeltaSheetCells);
    for (int c = 0; c < DeltaSheetCells; ++c) {
        const QPoint origin = deltaCellOrigin(size, c);
        for (int y = 0; y < size.height(); ++y) {
            const uchar *from = sheet.constScanLine(origin.y() + y) + origin.x();
            const uchar *was = shown.constScanLine(origin.y() + y) + origin.x();
            uchar *to = cell.scanLine(y);
            // A paint program may renumber the sheet; a pixel still showing its colour keeps its
            // index, so a colour held twice (one of them transparent entry 0) stays as it was.
            for (int x = 0; x < size.width(); ++x)
                to[x] =
                    from[x] < sheetColours.size() && sameColour(sheetColours[from[x]], spriteColours[was[x]])
                        ? was[x]
                        : map[from[x]];
        }
        try {
            encodeDelta(deltas[static_cast<std::size_t>(c)], picture, cell);
        } catch (const EditorError &error) {
            throw EditorError(
                QStringLiteral("Delta %1 of the sheet cannot be imported: %2").arg(c).arg(error.text()));
        }
    }
    return deltas;
}
